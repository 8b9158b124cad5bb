#pragma once
// The acknowledgement of a received laboratory message (its MSH header with the message
// control id, and its MSA segment) and the two small questions to the database that the
// header and the parsers ask: the server's current date and time, and whether a test is a
// serology test.

#include <QDateTime>
#include <QString>

class Connection;

// The control id of the last header built; kept for the life of the process.
extern QString gblMsgCtrlID;

// The header for a message of MsgType. A non-empty MsgCtrlID is used as it is; otherwise the
// laboratory's control-id counter gives a thirteen-digit id ("C" appended unless numeric ids
// are set), and without a counter the server time "YYYYMMDDhhmm" and gblMsgCount (0 to 60)
// make one. A failing query is reported and the header is built with the local fallback (the
// counter-based id, the workstation's clock), so a received message can still be answered.
QString GetMSH(const QString &MsgType, const QString &MsgCtrlID);
QString GetMSA(const QString &AckCode, const QString &MsgCtrlID);

// The server's date and time by mode: 1 "MM/DD/YYYY hh", 2 "hh", 3 "YYYYMMDDhhmm",
// 4 "M/D/YYYY", 5 "H", any other "YYYYMMDDhhmmss" (24-hour clock). A failing query is
// reported and the workstation's clock is used instead.
QString GetServerDateTime(qint16 mode);
QString formatServerDateTime(const QDateTime &when, qint16 mode);

// True when the laboratory lists the test code as a serology test. Throws DbError.
bool CheckSero(const QString &testCode);

// The connection these queries use: the signed-in session's unless one is set here (null
// returns to the session's). Tests set a connection that fails on demand.
void setHL7Connection(Connection *connection);
Connection *hl7Connection();
