#pragma once
// The direct storage of a radiology result ("w/o SP" ticked): the result row of the
// department's result table (added or updated), a history row, the request's status flag,
// the nurse log book and the nurse communication file, written through statements on the
// session's connection.

#include "ResultIntake.h"

class Connection;

// Stores one result. The caller owns the transaction; every failure throws (DbError or
// IntakeError) with progress telling the step and field it stood at. Sets gblHospNum,
// gblRequestNum and gblPatientName once the result row is written. A department that is no
// active revenue stores nothing (traced) and is no error.
void StoreResultDirect(Connection &connection, const ResultValues &values, IntakeProgress &progress);

// The report text as the result tables keep it: "~" becomes CR and the file separator (28),
// the text stops before "Radiographer", and the "\X0D\\X0A\" escape becomes CR.
QString StoredReportText(QString report);

// The patient's room for a visit: "OPD" for an outpatient visit (a "B" in the number), else
// the room of the admission; the empty text when there is none or the look-up fails.
QString GetROOMID(Connection &connection, const QString &IDNum);

// The request a result belongs to, in the revenue's request table. Orders leave with the
// placer order number (a numeric request number followed by the request's revenue code,
// 10001XR); when no request carries the number as given, such a number is taken back to
// the request number it was made from. Any other number is used as given.
QString RequestNumberOf(Connection &connection, const QString &requestTable, const QString &given);
