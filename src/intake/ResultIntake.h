#pragma once
// The result intake: HandleInput walks one HL7 result message from the RIS, collects the
// report text, the radiographer, the resident and the radiologist, derives the department
// code that selects the radiology tables, and stores the result through the radiology
// database's stored procedure or directly (ResultStorage.h). The same walk passes the
// laboratory instrument comments (NTE) to the laboratory database.
//
// The storage of one result runs in one transaction: a failure leaves nothing of it behind.

#include <QDateTime>
#include <QString>

#include <stdexcept>

// What the message window reads when it files a processed result: emptied at the start of
// every HandleInput, set only when a result was stored.
extern QString gblRequestNum;
extern QString gblHospNum;
extern QString gblPatientName;

// The message window's "w/o SP" box as the intake sees it: 0 unchecked (stored procedure),
// 1 checked (direct storage, the designed state), 2 grayed (nothing stored). The window
// keeps this value in step with its check box.
qint16 WithoutSPState();
void SetWithoutSPState(qint16 state);

// A failure of the intake's own (a date that is no date, a call while another message is
// being handled); reported like a database failure.
class IntakeError : public std::runtime_error {
public:
    explicit IntakeError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    QString description() const { return m_description; }

private:
    QString m_description;
};

// The values one result message yields (the parsed fields untrimmed, as the message held them).
struct ResultValues {
    QString messageType;       // MSH-9.1
    QString sendingApp;        // MSH-3
    QString messageTime;       // MSH-7
    QString hospNum;           // PID-3.1
    QString familyName;        // PID-5.1
    QString givenName;         // PID-5.2
    QString idNum;             // PV1-19.1, the visit number
    QString attendingDoctor;   // PV1-7.1
    QString requestNum;        // ORC-2
    QString transactionTime;   // ORC-9
    QString serviceCode;       // OBR-4.1
    QString serviceText;       // OBR-4.2
    QString observationStart;  // OBR-7
    QString reportStatusTime;  // OBR-22
    QString modality;          // OBR-24 as sent
    QString interpreter;       // OBR-32, last component
    QString observer;          // OBX-16.1 of the last OBX

    QString reportText;        // OBX values up to the first signature line, each + CR LF
    QString radiographer;
    QString resident;
    QString radiologistCode;   // four characters at most
    QString itemCode;          // the service code without its two-letter modality prefix
    QString departmentCode;    // selects the revenue and its tables
    QString saveCode;          // the department code, "NMR" saved as "MI"
};

// Where a failing storage stood, for the error report.
struct IntakeProgress {
    QString lastStatement;
    QString lastStep = QStringLiteral("START");
    QString lastField;
};

// Handles one result message (segments separated by CR). HMode's incoming value is ignored;
// for an ORU message it receives the "w/o SP" state, which chooses the storage. False when an
// error stopped the processing (reported in the message window, the error trace and the
// error log); True otherwise, also for messages that store nothing.
bool HandleInput(const QString &LISData, qint16 &HMode);

// Orders leave with the placer order number: a numeric request number followed by the
// request's revenue code (10001XR). The request number such a number was made from, or the
// empty text for any other number.
QString PlacerRequestNumber(const QString &number);

// The revenue code of an ultrasound request: "US", or the revenue of an obstetric request;
// the empty text when the look-up fails. The request is found by its number or, for a
// placer order number, by the request number it was made from.
QString CheckRevenue(const QString &HospNum, const QString &IDNum, const QString &RequestNum);

// The department code of a modality (OBR-24), and the code the stored procedure and the
// nurse log book take.
QString DepartmentCode(const QString &modality, const QString &hospNum, const QString &idNum,
                       const QString &requestNum);
QString SaveCode(const QString &departmentCode);

// An HL7 date-time "YYYYMMDD[hhmm[ss]]" as a date-time value; an empty text is first
// replaced by the server's current time (written back). Throws IntakeError for a text that
// is no date.
QDateTime IntakeDateTime(QString &hl7DateTime);
// The date texts the radiology tables receive: "mm/dd/yyyy h:mm" ...
QString ResultDateText(QString hl7DateTime);
// ... and the RIS exam date "mm/dd/yyyy hh:mm:ss".
QString ExamDateText(QString hl7DateTime);

// The statements the walk sends.
QString SaveResultStatement(const ResultValues &v);
QString InstrumentFlagStatement(const QString &lisId, const QString &obr2, const QString &noteText);
