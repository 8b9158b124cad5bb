#pragma once
// The radiology revenue table: the active revenues of radiology..tbradiologyrevenues with
// their request, result and history tables, loaded once per start-up.

#include <QList>
#include <QString>

struct RevenueInfo {
    QString RevenueID;        // 0
    QString ResultTableName;  // 1
    QString RequestTableName; // 2
    QString DICOMModality;    // 3
    QString SectionName;      // 4
    QString StatusSWFinField; // 5; "SWFin" when the column is empty
    QString IncludeRevenue;   // 6; quoted codes ready for an IN list
    QString ExcludeRevenue;   // 7
    QString HistoryTableName; // 8

    // The field at its position, for the callers that index the fields.
    QString field(int position) const;
};

class Connection;

// The statement of the load, word for word (with its trailing blank).
inline const QString kLoadRevenuesSql = QStringLiteral(
    "Select Sectionname,RevenueID,ResultTableName,RequestTableName,DICOMModality,* from "
    "radiology..tbradiologyrevenues WITH (NOLOCK) WHERE Active=1 ");

// Replaces gblRevenues with the active revenues of the connection (plus the "RI" row when
// the VESK client option is on) and sets gblRevenueMax. On a failure the rows read so far
// stay, and the error's description is returned ("" on success); LoadRevenues shows it.
QString loadRevenueTable(Connection *connection, bool vesk);

// Loads through the session's connection; a failure shows "LoadRevenues " + description in
// a message box with the program's title and a single OK button.
void LoadRevenues();

// The first row whose RevenueID, in upper case, equals code; nullptr when none does.
const RevenueInfo *FindRevenue(const QString &code);
