#include "Completion.h"
#include "ResultStorage.h"

#include "IntakeConnection.h"
#include "ResultIntake.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "MessageDef.h"
#include "ServerMonitor.h"

#include <QCoreApplication>

namespace {

QString descriptionOf(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->description();
    if (const auto *own = dynamic_cast<const IntakeError *>(&e))
        return own->description();
    return QString::fromUtf8(e.what());
}

void showAndLog(const QString &description)
{
    DisplayMessage(kSourceRelayon, description);
    WriteCommLog(kRelayon, description, kLogError, kRelayon, kRelayon);
}

} // namespace

QString CompletionDepartmentCode(const QString &modality, const QString &hospNum, const QString &idNum,
                                 const QString &requestNum)
{
    const QString m = modality.toUpper();
    if (m == u"CR" || m == u"RF")
        return QStringLiteral("XR");
    if (m == u"MG")
        return QStringLiteral("MM");
    if (m == u"US")
        return CheckRevenue(hospNum, idNum, requestNum);
    return m;
}

QString ExamDateStatementStart(const QString &departmentCode)
{
    const QString &c = departmentCode;
    if (c == u"XR")
        return QStringLiteral("UPDATE Radiology..tbXRRequest ");
    if (c == u"US")
        return QStringLiteral("UPDATE Radiology..tbUlRequest ");
    if (c == u"CT")
        return QStringLiteral("UPDATE Radiology..tbCTRequest ");
    if (c == u"MR" || c == u"MI")
        return QStringLiteral("UPDATE Radiology..tbMRIRequest ");
    if (c == u"MM" || c == u"MG")
        return QStringLiteral("UPDATE Radiology..tbMammoMaster ");
    if (c == u"WC")
        return QStringLiteral("UPDATE Radiology..tbOBULRequest ");
    if (c == u"NU")
        return QStringLiteral("UPDATE Radiology..tbNUCMaster ");
    return QStringLiteral("UPDATE Radiology..tbRequestMaster ");
}

QString ExamDateStatement(const QString &departmentCode, const QString &HospNum, const QString &IDNum,
                          const QString &RequestNum, const QString &RISExamDate)
{
    return ExamDateStatementStart(departmentCode) + QStringLiteral("\r\n") + QStringLiteral("SET RISExamDate = ")
           + sqlStr(RISExamDate) + QStringLiteral(" ") + QStringLiteral("WHERE HospNum = ") + sqlStr(HospNum)
           + QStringLiteral(" and IDNum = ") + sqlStr(IDNum) + QStringLiteral(" and RequestNum = ") + sqlStr(RequestNum);
}

bool UpdateRequestExamDate(const QString &HospNum, const QString &IDNum, const QString &RequestNum, QString &Modality,
                           const QString &RISExamDate)
{
    try {
        const QString sent = Modality;
        Modality = CompletionDepartmentCode(Modality, HospNum, IDNum, RequestNum);
        // An ultrasound request whose revenue could not be read is not filed under another
        // department's table.
        if (Modality.isEmpty() && !sent.isEmpty())
            throw IntakeError(QStringLiteral("CheckRevenue failed for request ") + RequestNum);
        // The RIS answers with the placer order number (request number and revenue); the
        // request table knows the request number.
        const QString table = ExamDateStatementStart(Modality).mid(QStringLiteral("UPDATE ").size()).trimmed();
        const QString requestNum = RequestNumberOf(intakeConnection(), table, RequestNum);
        intakeConnection().execute(ExamDateStatement(Modality, HospNum, IDNum, requestNum, RISExamDate));
        return true;
    } catch (const std::exception &e) {
        showAndLog(descriptionOf(e));
        return false;
    }
}

bool HandleInputComplete(const QString &LISData)
{
    if (intakeBusy()) {
        showAndLog(QStringLiteral("another message is being handled"));
        return false;
    }
    intakeBusy() = true;
    struct Release {
        ~Release() { intakeBusy() = false; }
    } release;
    MessageDef &md = MessageDef::instance();
    Connection *connection = nullptr;
    bool inTransaction = false;
    try {
        const QStringList lines = LISData.split(kCR);
        // Nothing of the previous completion may be read as this one's.
        md.ClearRecords(2);
        connection = &intakeConnection();
        connection->beginTrans();
        inTransaction = true;
        if (lines.size() > 1) {
            for (const QString &line : lines) {
                QCoreApplication::processEvents();
                if (md.IsSegment(line))
                    md.getSegment(MessageDef::Remove_VT(line), 2);
            }
            SegmentRecords &c = md.completion;
            const QString examDate = ExamDateText(c.OBR[22]);
            if (!UpdateRequestExamDate(c.PID[3], c.PV1[10], c.ORC[2], c.OBR[24], examDate)) {
                // Shown and logged already; the file stays for another try.
                connection->rollbackTrans();
                return false;
            }
        }
        connection->commitTrans();
        return true;
    } catch (const std::exception &e) {
        const QString description = descriptionOf(e);
        if (inTransaction) {
            try {
                connection->rollbackTrans();
            } catch (const std::exception &) {
                // the failure that got us here is the one to report
            }
        }
        if (dynamic_cast<const DbError *>(&e))
            ReportServerError(description);
        showAndLog(description);
        return false;
    }
}
