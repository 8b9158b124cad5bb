#include "Feeds.h"
#include "OrderMessage.h"

#include "CommLog.h"
#include "Globals.h"
#include "HL7Files.h"
#include "ServerMonitor.h"
#include "UserSession.h"

#include <QCoreApplication>

#include <exception>

namespace {

Connection *g_connection = nullptr;

Connection *db()
{
    Connection *c = g_connection ? g_connection : (gblUser ? gblUser->SQLConnection() : nullptr);
    if (!c)
        throw DbError(QStringLiteral("No connection"));
    return c;
}

QString errorText(const std::exception &e)
{
    if (const auto *d = dynamic_cast<const DbError *>(&e))
        return d->description();
    return QString::fromLocal8Bit(e.what());
}

void reportMarkFailure(const QString &description)
{
    DisplayMessage(kSourceRelayon, description);
    WriteCommLog(kRelayon, description, kLogError, kRelayon, kRelayon);
}

} // namespace

void setFeedsConnection(Connection *connection)
{
    g_connection = connection;
}

void checkRequest()
{
    try {
        if (TraceEnabled())
            TraceLog(QStringLiteral("checkRequest"));
        const Recordset rs = db()->open(QStringLiteral("RADIOLOGY..spRadioHL7Format '1'"));
        for (int r = 0; r < rs.recordCount(); ++r) {
            QCoreApplication::processEvents();
            const QString fileName = rs.text(r, QStringLiteral("FileName"));
            if (TraceEnabled())
                TraceLog(QStringLiteral("GenerateHL7File FileName:") + fileName + QStringLiteral(" Location:")
                         + gblRequestDir);
            GenerateHL7File(trimSpaces(rs.text(r, QStringLiteral("HL7"))), fileName, gblRequestDir, QString(),
                            QString());
            if (!gblGenerateFailed)
                MarkRequestSent(rs.text(r, QStringLiteral("RequestNum")), rs.text(r, QStringLiteral("RevenueID")));
        }
    } catch (const std::exception &e) {
        const QString text = errorText(e);
        TraceLog(QStringLiteral("checkRequest  ") + text);
        ReportServerError(text);
    }
}

void CheckEditPatient()
{
    try {
        const Recordset rs = db()->open(QStringLiteral("RADIOLOGY..spRadioHL7EditPatient '1'"));
        for (int r = 0; r < rs.recordCount(); ++r) {
            QCoreApplication::processEvents();
            const QString hl7 = trimSpaces(rs.text(r, QStringLiteral("HL7")));
            const QString fileName = rs.text(r, QStringLiteral("FileName"));
            if (TraceEnabled())
                TraceLog(QStringLiteral("Edit Patient Found.") + hl7 + QStringLiteral(" ") + fileName
                         + QStringLiteral(" ") + gblRequestDir);
            GenerateEditHL7File(hl7, fileName, gblRequestDir, QString(), QString());
            if (!gblEditGenerateFailed)
                MarkEditPatientSent(rs.text(r, QStringLiteral("RequestNum")));
        }
    } catch (const std::exception &e) {
        const QString text = errorText(e);
        TraceLog(QStringLiteral("CheckEditPatient ") + text);
        ReportServerError(text);
    }
}

void MarkRequestSent(const QString &requestNum, const QString &revenueId)
{
    try {
        db()->execute(QStringLiteral("RADIOLOGY..spRadioHL7Format '2',") + sqlStr(requestNum) + QStringLiteral(",")
                      + sqlStr(revenueId));
    } catch (const std::exception &e) {
        reportMarkFailure(errorText(e));
    }
}

void MarkEditPatientSent(const QString &sequenceNo)
{
    try {
        db()->execute(QStringLiteral("UPDATE  RADIOLOGY..tbMasterHL7 SET    HL7Status = 'X'  WHERE   SequenceNo = ")
                      + sqlStr(sequenceNo));
    } catch (const std::exception &e) {
        reportMarkFailure(errorText(e));
    }
}

QDateTime GetServerDate()
{
    const Recordset rs = db()->open(QStringLiteral("SELECT GetDate() as ServerDate"));
    if (rs.recordCount() == 0)
        throw DbError(QStringLiteral("No server date"));
    const QString text = rs.text(0, QStringLiteral("serverdate"));
    QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (!when.isValid())
        when = QDateTime::fromString(text, Qt::ISODateWithMs);
    return when;
}

Recordset GetActiveRevenues()
{
    return db()->open(QStringLiteral(
        "SELECT Revenueid + '-' + Description[Description] FROM Radiology..tbradiologyrevenues WHERE active = '1'"));
}

void ResendOrder(const QString &requestNum, const QString &revenueId)
{
    db()->execute(QStringLiteral("RADIOLOGY..spRadioHL7Format '3',") + sqlStr(requestNum) + QStringLiteral(",")
                  + sqlStr(revenueId));
}
