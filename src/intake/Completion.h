#pragma once
// Completion messages: the RIS reports an examination as performed; its time becomes the
// request's RIS exam date in the request table of the department.

#include <QString>

class Connection;

// Handles one completion message (segments separated by CR) inside one transaction. True
// when the transaction was committed; False after an error (rolled back and reported), so
// that the caller keeps the file and tries it again.
bool HandleInputComplete(const QString &LISData);

// Writes RISExamDate ("mm/dd/yyyy hh:mm:ss") into the request table of the department.
// Modality receives the mapped department code. A failure is shown and logged, and False
// is returned.
bool UpdateRequestExamDate(const QString &HospNum, const QString &IDNum, const QString &RequestNum, QString &Modality,
                           const QString &RISExamDate);

// The department code a completion maps its modality to ("CR" and "RF" to "XR", "MG" to
// "MM", "US" through CheckRevenue), and the start of the statement for that code.
QString CompletionDepartmentCode(const QString &modality, const QString &hospNum, const QString &idNum,
                                 const QString &requestNum);
QString ExamDateStatementStart(const QString &departmentCode);
QString ExamDateStatement(const QString &departmentCode, const QString &HospNum, const QString &IDNum,
                          const QString &RequestNum, const QString &RISExamDate);
