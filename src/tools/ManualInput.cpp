#include "ManualInput.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QFile &f)
{
    throw std::runtime_error((f.fileName() + QStringLiteral(": ") + f.errorString()).toStdString());
}

} // namespace

QString ManualInput::defaultFile()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("temp.hl7"));
}

QString ManualInput::processFile(const QString &path)
{
    QFile f(path);
    if (!f.exists()) {
        if (!f.open(QIODevice::WriteOnly))
            fail(f);
        f.close();
    }
    if (!f.open(QIODevice::ReadOnly))
        fail(f);
    QString text = QString::fromLatin1(f.readAll());
    f.close();
    text.remove(QChar(10));
    text.replace(QChar(39), QChar(96));
    const bool ok = handleInput ? handleInput(text) : false;
    return ok ? QStringLiteral("OK") : QStringLiteral("Fail");
}

QString ManualInput::process(const QString &path, const QString &text)
{
    QFile::remove(path);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        fail(f);
    // The text box's line breaks are written as CR LF, so that each line ends a segment once
    // the line feeds are removed.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    lines.replace(u'\n', QStringLiteral("\r\n"));
    const QByteArray bytes = lines.toLatin1() + "\r\n";
    if (f.write(bytes) != bytes.size())
        fail(f);
    f.close();
    return processFile(path);
}
