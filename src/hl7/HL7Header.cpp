#include "HL7Header.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "MessageDef.h"
#include "ServerMonitor.h"
#include "UserSession.h"

QString gblMsgCtrlID;

namespace {

Connection *g_connection = nullptr;

Connection &connectionOrThrow()
{
    Connection *c = hl7Connection();
    if (!c)
        throw DbError(QStringLiteral("Not connected to the database."));
    return *c;
}

// What a failing header query does: the reconnection machinery, the message box and the
// error log. The caller then goes on with its local fallback.
void reportQueryFailure(const QString &description)
{
    ReportServerError(description);
    DisplayMessage(kSourceRelayon, description);
    WriteCommLog(kRelayon, description, kLogError, kRelayon, kRelayon);
}

QDateTime serverDateTimeValue(const Recordset &rs)
{
    const QVariant v = rs.value(QStringLiteral("ServerDateTime"));
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    const QString text = Recordset::toText(v).trimmed();
    for (const QString &format : {QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd HH:mm:ss")}) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid())
            return dt;
    }
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (iso.isValid())
        return iso;
    throw DbError(QStringLiteral("The server's date and time could not be read: ") + text);
}

// The thirteen-digit control id from the laboratory's counter; empty when it has none.
QString counterControlId(Connection &db)
{
    db.execute(QStringLiteral("Laboratory..Lab_Barcode_IncrementControlID"));
    const Recordset rs = db.open(QStringLiteral("Laboratory..Lab_Barcode_GetControlID"));
    if (rs.recordCount() == 0)
        return QString();
    const QString value = rs.text(0, QStringLiteral("MsgCtrlID")).trimmed();
    if (value.isEmpty())
        return QString();
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    QString id = ok && n >= 0 ? QStringLiteral("%1").arg(n, 13, 10, QLatin1Char('0')) : value;
    if (!gblNumericMsgControlId)
        id += u'C';
    return id;
}

// Server time "YYYYMMDDhhmm" and the local counter, which runs from 0 to 60 and round again.
QString fallbackControlId()
{
    const QString t = GetServerDateTime(3);
    const QString id = gblMsgCount < 10 ? t + u'0' + QString::number(gblMsgCount) : t + QString::number(gblMsgCount);
    gblMsgCount = gblMsgCount >= 60 ? 0 : qint16(gblMsgCount + 1);
    return id;
}

} // namespace

void setHL7Connection(Connection *connection)
{
    g_connection = connection;
}

Connection *hl7Connection()
{
    if (g_connection)
        return g_connection;
    return gblUser ? gblUser->SQLConnection() : nullptr;
}

QString formatServerDateTime(const QDateTime &when, qint16 mode)
{
    switch (mode) {
    case 1: return when.toString(QStringLiteral("MM/dd/yyyy HH"));
    case 2: return when.toString(QStringLiteral("HH"));
    case 3: return when.toString(QStringLiteral("yyyyMMddHHmm"));
    case 4: return when.toString(QStringLiteral("M/d/yyyy"));
    case 5: return when.toString(QStringLiteral("H"));
    default: return when.toString(QStringLiteral("yyyyMMddHHmmss"));
    }
}

QString GetServerDateTime(qint16 mode)
{
    QDateTime now;
    try {
        const Recordset rs = connectionOrThrow().open(QStringLiteral("Select getdate() as ServerDateTime"));
        if (rs.recordCount() == 0)
            throw DbError(QStringLiteral("The server returned no date and time."));
        now = serverDateTimeValue(rs);
    } catch (const DbError &e) {
        reportQueryFailure(e.description());
        now = QDateTime::currentDateTime();
    }
    return formatServerDateTime(now, mode);
}

bool CheckSero(const QString &testCode)
{
    const Recordset rs = connectionOrThrow().open(QStringLiteral("Laboratory..Lab_Relayon_CheckSero ") + sqlStr(testCode));
    return rs.recordCount() > 0;
}

QString GetMSH(const QString &MsgType, const QString &MsgCtrlID)
{
    if (!MsgCtrlID.isEmpty()) {
        gblMsgCtrlID = MsgCtrlID;
    } else {
        QString id;
        try {
            id = counterControlId(connectionOrThrow());
        } catch (const DbError &e) {
            reportQueryFailure(e.description());
        }
        gblMsgCtrlID = id.isEmpty() ? fallbackControlId() : id;
    }
    const QString messageTime = GetServerDateTime(0);
    const QString none;
    return MessageDef::instance().Create_MSH(QStringLiteral("MSH"), QStringLiteral("^~\\&"), QStringLiteral("KALDRA"),
                                             none, gblLISId, none, messageTime, none, MsgType, gblMsgCtrlID,
                                             QStringLiteral("P"), gblHL7Version, none, none, gblAccAckType,
                                             gblAppAckType, none, QStringLiteral("8859/1"), none);
}

QString GetMSA(const QString &AckCode, const QString &MsgCtrlID)
{
    const QString none;
    return MessageDef::instance().Create_MSA(QStringLiteral("MSA"), AckCode, MsgCtrlID, none, none, none, none);
}
