#include "ResultIntake.h"

#include "IntakeConnection.h"
#include "ResultStorage.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "HL7Header.h"
#include "MessageDef.h"

#include <QCoreApplication>
#include <QDate>
#include <QRegularExpression>
#include <QTime>

QString gblRequestNum;
QString gblHospNum;
QString gblPatientName;

namespace {

qint16 g_withoutSP = 1; // the "w/o SP" box is designed checked

const QString kRadiographerLabel = QStringLiteral("Radiographer  : ");
const QString kResidentLabel = QStringLiteral("Resident  : ");
const QString kRadiologistLabel = QStringLiteral("Radiologist  :");

// The UTF-8 byte order mark read as single-byte text, and as a character.
const QString kLatin1Bom = QStringLiteral("\u00EF\u00BB\u00BF");
const QChar kBom(0xFEFF);

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The pattern "00000000": a number padded with leading zeros to eight digits; any other
// text unchanged.
QString eightDigits(const QString &value)
{
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok || value.trimmed().isEmpty())
        return value;
    const qint64 whole = qRound64(number);
    const QString digits = QString::number(whole < 0 ? -whole : whole).rightJustified(8, u'0');
    return whole < 0 ? u'-' + digits : digits;
}

// Runs one storage as one unit: committed at the end, rolled back on any failure.
template <typename F>
void inTransaction(Connection &connection, F &&store)
{
    connection.beginTrans();
    try {
        store();
        connection.commitTrans();
    } catch (...) {
        try {
            connection.rollbackTrans();
        } catch (const std::exception &) {
            // the failure that got us here is the one to report
        }
        throw;
    }
}

void reportFailure(const QString &description, const IntakeProgress &progress)
{
    TraceError(QStringLiteral("HandleInput ") + description + u' ' + progress.lastStatement + u' ' + progress.lastStep
               + u' ' + progress.lastField);
    DisplayMessage(QStringLiteral("RELAYON HandeInput: "), description);
    WriteCommLog(kRelayon, description, kLogError, kRelayon, kRelayon);
}

// The values of the input set after the walk.
void readInputSet(const SegmentRecords &in, ResultValues &v)
{
    v.messageType = in.MSH[8];
    v.sendingApp = in.MSH[2];
    v.messageTime = in.MSH[6];
    v.hospNum = in.PID[3];
    v.familyName = in.PID[5];
    v.givenName = in.PID[6];
    v.idNum = in.PV1[10];
    v.attendingDoctor = in.PV1[11];
    v.requestNum = in.ORC[2];
    v.transactionTime = in.ORC[9];
    v.serviceCode = in.OBR[44];
    v.serviceText = in.OBR[4];
    v.observationStart = in.OBR[7];
    v.reportStatusTime = in.OBR[22];
    v.modality = in.OBR[24];
    v.interpreter = in.OBR[32];
    v.observer = in.OBX[19];
}

void saveThroughProcedure(Connection &connection, const ResultValues &v, IntakeProgress &progress)
{
    const QString statement = SaveResultStatement(v);
    progress.lastStatement = statement;
    if (TraceEnabled()) {
        TraceLog(statement);
        TraceLog(QStringLiteral("HospNum ") + v.hospNum);
        TraceLog(QStringLiteral("IDNum ") + v.idNum);
        TraceLog(QStringLiteral("ReqNo ") + v.requestNum);
        TraceLog(QStringLiteral("Saving result ") + v.reportText);
    }
    inTransaction(connection, [&] { connection.execute(statement); });
    gblRequestNum = v.requestNum;
    gblHospNum = v.hospNum;
    if (TraceEnabled())
        TraceLog(statement);
}

} // namespace

qint16 WithoutSPState()
{
    return g_withoutSP;
}

void SetWithoutSPState(qint16 state)
{
    g_withoutSP = state;
}

QDateTime IntakeDateTime(QString &hl7DateTime)
{
    if (hl7DateTime.isEmpty())
        hl7DateTime = GetServerDateTime(0);
    const QString year = hl7DateTime.mid(0, 4);
    const QString month = hl7DateTime.mid(4, 2);
    const QString day = hl7DateTime.mid(6, 2);
    const QString hour = hl7DateTime.mid(8, 2);
    const QString minute = hl7DateTime.mid(10, 2);
    const QString second = hl7DateTime.mid(12, 2);
    QDate date;
    if (allDigits(year) && year.size() == 4 && allDigits(month) && allDigits(day))
        date = QDate(year.toInt(), month.toInt(), day.toInt());
    // A date alone is midnight; a time needs its hour and minutes, seconds may be missing.
    QTime time(0, 0, 0);
    if (!hour.isEmpty()) {
        if (allDigits(hour) && allDigits(minute) && (second.isEmpty() || allDigits(second)))
            time = QTime(hour.toInt(), minute.toInt(), second.isEmpty() ? 0 : second.toInt());
        else
            time = QTime();
    }
    if (!date.isValid() || !time.isValid())
        throw IntakeError(QStringLiteral("Type mismatch: '") + hl7DateTime + QStringLiteral("' is no date and time"));
    return QDateTime(date, time);
}

QString ResultDateText(QString hl7DateTime)
{
    return IntakeDateTime(hl7DateTime).toString(QStringLiteral("MM/dd/yyyy H:mm"));
}

QString ExamDateText(QString hl7DateTime)
{
    return IntakeDateTime(hl7DateTime).toString(QStringLiteral("MM/dd/yyyy HH:mm:ss"));
}

QString PlacerRequestNumber(const QString &number)
{
    static const QRegularExpression placer(QStringLiteral("^(\\d+)[A-Za-z][A-Za-z0-9]$"));
    const QRegularExpressionMatch m = placer.match(number);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString CheckRevenue(const QString &HospNum, const QString &IDNum, const QString &RequestNum)
{
    QString statement;
    try {
        Connection &connection = intakeConnection();
        QStringList numbers{RequestNum};
        if (const QString made = PlacerRequestNumber(RequestNum.trimmed()); !made.isEmpty())
            numbers << made;
        for (const QString &number : std::as_const(numbers)) {
            statement = QStringLiteral("select top 1 revenueid from Radiology..tbULRequest WITH (NOLOCK) where RequestNum = ")
                        + sqlStr(number) + QStringLiteral(" and HospNum =") + sqlStr(HospNum)
                        + QStringLiteral(" and IDNum =") + sqlStr(IDNum);
            if (connection.open(statement).recordCount() > 0)
                return QStringLiteral("US");
        }
        for (const QString &number : std::as_const(numbers)) {
            statement = QStringLiteral("select top 1 revenueid from Radiology..tbOBULRequest WITH (NOLOCK)  where RequestNum = ")
                        + sqlStr(number) + QStringLiteral(" and HospNum =") + sqlStr(HospNum)
                        + QStringLiteral(" and IDNum =") + sqlStr(IDNum);
            const Recordset rs = connection.open(statement);
            if (rs.recordCount() > 0)
                return rs.text(0, QStringLiteral("RevenueID"));
        }
        return QStringLiteral("US");
    } catch (const DbError &e) {
        TraceLog(QStringLiteral("CheckRevenue ") + e.description() + u' ' + statement);
        return QString();
    }
}

QString DepartmentCode(const QString &modality, const QString &hospNum, const QString &idNum,
                       const QString &requestNum)
{
    const QString m = modality.toUpper();
    if (m == u"CR" || m == u"RF" || m == u"DX" || m == u"RX" || m == u"DR")
        return QStringLiteral("XR");
    if (m == u"MR")
        return QStringLiteral("MI");
    if (m == u"MG")
        return QStringLiteral("MM");
    if (m == u"NM")
        return QStringLiteral("NU");
    if (m == u"US")
        return CheckRevenue(hospNum, idNum, requestNum);
    return m;
}

QString SaveCode(const QString &departmentCode)
{
    return departmentCode == u"NMR" ? QStringLiteral("MI") : departmentCode;
}

QString SaveResultStatement(const ResultValues &v)
{
    // The observation time: the report status time for the MEDAVIS RIS, else the start.
    const QString observation = gblLISId == u"MEDAVIS" ? v.reportStatusTime : v.observationStart;
    const QStringList args{
        v.saveCode,
        v.hospNum.trimmed(),
        v.idNum.trimmed(),
        v.requestNum.trimmed(),
        v.serviceCode.trimmed(),
        v.serviceText.trimmed(),
        ResultDateText(v.messageTime.trimmed()),
        ResultDateText(observation.trimmed()),
        ResultDateText(v.transactionTime.trimmed()),
        v.attendingDoctor.trimmed(),
        v.radiologistCode.trimmed(),
        v.radiologistCode.trimmed(),
        v.reportText.trimmed(),
        v.radiographer.trimmed(),
        v.resident.trimmed(),
    };
    QString statement = QStringLiteral("RADIOLOGY..[spRadio_SaveHL7Result] ");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i > 0)
            statement += u',';
        statement += sqlStr(args[i]);
    }
    return statement;
}

QString InstrumentFlagStatement(const QString &lisId, const QString &obr2, const QString &noteText)
{
    return QStringLiteral("Laboratory..Lab_Barcode_SaveInsFlag ") + sqlStr(lisId) + u',' + sqlStr(eightDigits(obr2))
           + u',' + sqlStr(QString()) + u',' + sqlStr(noteText);
}

bool HandleInput(const QString &LISData, qint16 &HMode)
{
    IntakeProgress progress;
    ResultValues v;

    // The shared message object holds one message at a time: a call made from an event
    // handler while another message is being walked is refused, not interleaved (and leaves
    // the other call's results alone).
    if (intakeBusy()) {
        reportFailure(QStringLiteral("another message is being handled"), progress);
        return false;
    }
    intakeBusy() = true;
    struct Release {
        ~Release() { intakeBusy() = false; }
    } release;
    gblRequestNum.clear();
    gblHospNum.clear();
    gblPatientName.clear();

    MessageDef &md = MessageDef::instance();
    try {
        const QStringList lines = LISData.split(kCR);
        md.InitSegDetectors();
        // Nothing of the previous message may be read as this one's.
        md.ClearRecords(1);

        if (lines.size() > 1) {
            bool signatureReached = false;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QCoreApplication::processEvents();
                QString line = lines[i];
                if (TraceEnabled())
                    TraceLog(line + u' ' + QString::number(i));
                if (line.startsWith(kLatin1Bom))
                    line.remove(0, kLatin1Bom.size());
                else if (line.startsWith(kBom))
                    line.remove(0, 1);
                if (!md.IsSegment(line))
                    continue;
                md.getSegment(MessageDef::Remove_VT(line), 1);
                const SegmentRecords &in = md.input;
                if (md.CurrentSegment == u"NTE") {
                    if (gblChkRIS != 1 && in.NTE[1] == in.OBX[1]) {
                        const QString statement = InstrumentFlagStatement(gblLISId, in.OBR[2], in.NTE[3]);
                        progress.lastStatement = statement;
                        intakeConnection().execute(statement);
                    }
                } else if (md.CurrentSegment == u"OBX") {
                    const QString value = in.OBX[5].trimmed();
                    if (value.contains(kRadiographerLabel)) {
                        v.radiographer = QString(value).remove(kRadiographerLabel);
                        signatureReached = true;
                    } else if (value.contains(kResidentLabel)) {
                        v.resident = QString(value).remove(kResidentLabel);
                        signatureReached = true;
                    } else if (value.contains(kRadiologistLabel)) {
                        signatureReached = true;
                    } else if (!signatureReached) {
                        v.reportText += value + QStringLiteral("\r\n");
                    }
                }
            }

            readInputSet(md.input, v);
            if (v.messageType == u"ORU") {
                if (v.sendingApp == u"MCC") {
                    v.radiologistCode = v.observer;
                } else {
                    v.radiologistCode = v.interpreter.trimmed();
                    if (v.radiologistCode.isEmpty())
                        TraceLog(QStringLiteral("No Radio for ") + v.requestNum);
                }
                v.radiologistCode = v.radiologistCode.left(4);
                v.itemCode = v.serviceCode.trimmed();
                if (v.itemCode.size() > 2)
                    v.itemCode = v.itemCode.mid(2);
                v.departmentCode = DepartmentCode(v.modality, v.hospNum, v.idNum, v.requestNum);
                // An ultrasound request whose revenue could not be read is kept for another
                // try rather than dropped as a department without tables.
                if (v.departmentCode.isEmpty() && !v.modality.isEmpty())
                    throw IntakeError(QStringLiteral("CheckRevenue failed for request ") + v.requestNum);
                v.saveCode = SaveCode(v.departmentCode);

                HMode = WithoutSPState();
                if (HMode == 0) {
                    saveThroughProcedure(intakeConnection(), v, progress);
                } else if (HMode == 1) {
                    Connection &connection = intakeConnection();
                    inTransaction(connection, [&] { StoreResultDirect(connection, v, progress); });
                }
            }
        }
    } catch (const std::exception &e) {
        QString description;
        if (const auto *db = dynamic_cast<const DbError *>(&e))
            description = db->description();
        else if (const auto *own = dynamic_cast<const IntakeError *>(&e))
            description = own->description();
        else
            description = QString::fromUtf8(e.what());
        // The storage was rolled back: nothing of this message is filed under its names.
        gblRequestNum.clear();
        gblHospNum.clear();
        gblPatientName.clear();
        reportFailure(description, progress);
        return false;
    }

    md.ClearNTE();
    QCoreApplication::processEvents();
    return true;
}
