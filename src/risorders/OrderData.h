#pragma once
// The data of one radiology order: the request row as the order generator lists it, and
// everything the order message needs, gathered from the hospital databases statement by
// statement. Each look-up is guarded on its own: a failing one is traced and leaves its
// fields empty, and the gathering goes on.

#include <QDateTime>
#include <QList>
#include <QString>

class Connection;

// One entry of an item filter list: a revenue code and an item code ("XR88" is XR, 88).
struct ItemCodeEntry {
    QString revenue;
    QString item;
    bool operator==(const ItemCodeEntry &) const = default;
};

// The entries of a space-separated token list, read from the front; the first empty token
// (a leading blank, two blanks in a row) ends the list.
QList<ItemCodeEntry> parseItemCodes(const QString &text);

struct ItemFilters {
    QList<ItemCodeEntry> include; // Options/txtIncludeItemCodes
    QList<ItemCodeEntry> exclude; // Options/txtExcludeItemCodes
};

// True when the item filter lists keep the request out of the RIS.
bool itemFilterSkips(const ItemFilters &filters, const QString &revenueId, const QString &itemCode);

// The listed request: the grid columns the order message reads.
struct OrderRequestRow {
    QString RevenueID;        // column 0
    QString HospNum;          // 1
    QString IDNum;            // 2
    QString RefNum;           // 3
    QString RequestNum;       // 4
    QString SWFin;            // 7
    QString RequestTableName; // 8
};

struct RadiologyOrderData {
    OrderRequestRow row;
    QString ItemCode;
    QDateTime TransDate;
    QString TransDateText; // as the database gave it
    QString TranDateFormattedA;
    QString TranDateFormattedB;
    QString DateWRequestNum;
    QString Room;
    QString RequestDoctorCode;
    QString Receptionist;
    QString Priority;
    QString ImagingReason;
    QString PatName;
    QString Bdate;
    QString Sex;
    QString Address;
    QString TelNum;
    QString CellNum;
    QString PatientClass;
    QString AccountNum;
    QString BriefHistory;
    QString RequestDate;
    QString Remarks;
    QString Description;
    QString DocName;
    QString Allergies;
    QString Diagnosis;
    QString Company;
    QString EmpName;
};

enum class GatherOutcome { Complete, NotFound, Skipped };

// Gathers the order data of row over connection. Trace lines as the order generator writes
// them ("Error on GetHL7 <step> ..." for a failing look-up).
GatherOutcome gatherOrderData(Connection *connection, const OrderRequestRow &row, const ItemFilters &filters,
                              RadiologyOrderData &data);

// The statements of the gathering, in the order they are sent.
bool isWalkIn(const QString &hospNum);
bool isOutpatientVisit(const QString &idNum);
QString requestStatement(const QString &requestTableName, const QString &requestNum);
QString patientStatement(const QString &hospNum);
QString visitStatement(const QString &idNum);
QString briefHistoryStatement(const QString &idNum);
QString nurseLogBookStatement(const QString &revenueId, const QString &idNum, const QString &itemCode,
                              const QString &refNum);
QString examStatement(const QString &revenueId, const QString &itemCode);
QString doctorStatement(const QString &doctorCode);
QString allergiesStatement(const QString &hospNum);
QString diagnosisStatement(const QString &patientClass, const QString &idNum);
QString companyStatement(const QString &accountNum);
QString staffStatement(const QString &employeeId);
