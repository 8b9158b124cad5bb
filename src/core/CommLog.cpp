#include "CommLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>

#include <cstdio>

namespace {

bool g_traceEnabled = false;

} // namespace

QString programDirectory()
{
    const QString dir = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                            .filePath(QStringLiteral("relayon"));
    QDir().mkpath(dir);
    return dir;
}

QString commLogFile(int type)
{
    QString name;
    switch (type) {
    case kLogRequest: name = QStringLiteral("Relayon_Request_Log.log"); break;
    case kLogResult: name = QStringLiteral("Relayon_Result_Log.log"); break;
    case kLogError: name = QStringLiteral("Relayon_Error_Log.log"); break;
    default: name = QStringLiteral("Relayon_Log.log"); break;
    }
    return QDir(programDirectory()).filePath(name);
}

QString generalDateTime(const QDateTime &when)
{
    return when.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

QString commLogRecord(const QString &sender, const QString &description, int type, const QString &socket,
                      const QString &receiver, const QDateTime &when)
{
    static const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Sender: ") + sender + crlf + QStringLiteral("Receiver: ") + receiver + crlf
           + QStringLiteral("Type: ") + QString::number(type) + crlf + QStringLiteral("Socket: ") + socket + crlf
           + QStringLiteral("Date / Time: ") + generalDateTime(when) + crlf + QStringLiteral("Description: ") + crlf
           + crlf + description + crlf + QString(81, u'=') + crlf;
}

void WriteCommLog(const QString &sender, const QString &description, int type, const QString &socket,
                  const QString &receiver)
{
    if (description.trimmed().isEmpty())
        return;
    const QString record = commLogRecord(sender, description, type, socket, receiver, QDateTime::currentDateTime());
    QFile f(commLogFile(type));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // nowhere to report a log that cannot be written but the log itself
    f.write(record.toLatin1());
    f.close();
}

// ---------------------------------------------------------------------------------------

MessageBox &MessageBox::instance()
{
    static MessageBox box;
    return box;
}

void MessageBox::addLine(const QString &line)
{
    m_lines.append(line);
    if (m_lines.size() > kMaxLines)
        m_lines.remove(0, m_lines.size() - kMaxLines);
    if (m_echo) {
        const QByteArray bytes = line.toLocal8Bit() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    }
    emit lineAdded(line);
}

void MessageBox::display(const QString &source, const QString &message)
{
    if (message.isEmpty())
        return;
    const QStringList pieces = message.split(QChar(13));
    if (pieces.size() == 1) {
        addLine(source + u' ' + message);
        return;
    }
    // The piece after the last carriage return is not shown.
    QStringList rewritten;
    rewritten.reserve(pieces.size() - 1);
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        const QString &piece = pieces[i];
        if (piece.contains(QChar(11)))
            rewritten << QStringLiteral("<VT>") + piece.mid(1) + QStringLiteral("<CR>");
        else if (piece.contains(QChar(28)))
            rewritten << QStringLiteral("<FS><CR>");
        else
            rewritten << piece + QStringLiteral("<CR>");
        QCoreApplication::processEvents();
    }
    for (QString piece : rewritten) {
        // Every line but the first of an empty box loses its line feeds.
        if (!m_lines.isEmpty())
            piece.remove(QChar(10));
        addLine(source + u' ' + piece);
        QCoreApplication::processEvents();
    }
}

void MessageBox::clear()
{
    m_lines.clear();
    emit cleared();
}

void DisplayMessage(const QString &source, const QString &message)
{
    MessageBox::instance().display(source, message);
}

// ---------------------------------------------------------------------------------------

TraceModel &TraceModel::log()
{
    static TraceModel model(QStringLiteral("Log"));
    return model;
}

TraceModel &TraceModel::error()
{
    static TraceModel model(QStringLiteral("Error Log"));
    return model;
}

void TraceModel::add(const QString &text, int position)
{
    const QString line = generalDateTime(QDateTime::currentDateTime()) + u' ' + text;
    // Bounded like the message box: the oldest lines go, at the end away from the new one.
    if (position == 0) {
        m_lines.prepend(line);
        if (m_lines.size() > kMaxLines)
            m_lines.resize(kMaxLines);
    } else {
        m_lines.append(line);
        if (m_lines.size() > kMaxLines)
            m_lines.remove(0, m_lines.size() - kMaxLines);
    }
    emit changed();
}

void TraceModel::clear()
{
    m_lines.clear();
    emit cleared();
}

void TraceLog(const QString &text, int position)
{
    TraceModel::log().add(text, position);
}

void TraceError(const QString &text, int position)
{
    TraceModel::error().add(text, position);
}

bool TraceEnabled()
{
    return g_traceEnabled;
}

void SetTraceEnabled(bool on)
{
    g_traceEnabled = on;
}
