#pragma once
// What the program reports, and where: the communication log files in the program's
// directory, the message window's message box, and the "Log" and "Error Log" trace windows.
// The message box and the trace windows are engines here; their windows bind to them.

#include <QObject>
#include <QStringList>

// The program's directory: $XDG_DATA_HOME/relayon (created on first use).
QString programDirectory();

// Communication log record types.
enum CommLogType { kLogRequest = 1, kLogResult = 2, kLogError = 3, kLogGeneral = 4 };

// The file a record of this type goes to, in the program's directory.
QString commLogFile(int type);

// Appends one record, or nothing when the description is empty or only blanks.
void WriteCommLog(const QString &sender, const QString &description, int type, const QString &socket,
                  const QString &receiver);

// The record text exactly as written (Latin-1 when stored), for the log viewer and tests.
QString commLogRecord(const QString &sender, const QString &description, int type, const QString &socket,
                      const QString &receiver, const QDateTime &when);

// The local date and time format of records and trace lines.
QString generalDateTime(const QDateTime &when);

// The message box of the message window: lines in order, at most kMaxLines (the oldest go).
class MessageBox : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 10000;
    static MessageBox &instance();

    // Adds Message with its source as the message window shows it (HL7 framing characters
    // rendered as <VT>, <FS> and <CR>).
    void display(const QString &source, const QString &message);
    void clear();

    const QStringList &lines() const { return m_lines; }
    QString text() const { return m_lines.join(QStringLiteral("\r\n")); }

    // Every line added is also written to standard output (the program without a display).
    void setEchoToStdout(bool on) { m_echo = on; }

signals:
    void lineAdded(const QString &line);
    void cleared();

private:
    void addLine(const QString &line);
    QStringList m_lines;
    bool m_echo = false;
};

void DisplayMessage(const QString &source, const QString &message);

// A trace window's text: newest line first, except lines appended at the bottom.
class TraceModel : public QObject {
    Q_OBJECT
public:
    static TraceModel &log();   // "Log"
    static TraceModel &error(); // "Error Log"

    static constexpr int kMaxLines = 10000;

    void add(const QString &text, int position);
    void clear();
    QString text() const { return m_lines.join(QStringLiteral("\r\n")); }
    const QStringList &lines() const { return m_lines; }
    QString caption() const { return m_caption; }

signals:
    void changed(); // the window shows itself and its text
    void cleared();

private:
    explicit TraceModel(QString caption) : m_caption(std::move(caption)) {}
    QString m_caption;
    QStringList m_lines; // in the order shown

};

void TraceLog(const QString &text, int position = 0);
void TraceError(const QString &text, int position = 0);

// The main window's "Trace" check box (setting HL7Relayon/Trace): steps of normal work are
// traced only while it is ticked.
bool TraceEnabled();
void SetTraceEnabled(bool on);
