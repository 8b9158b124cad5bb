#pragma once
// The radiology order message (ORM^O01, version 2.3.1) of one listed request: GetHL7 gathers
// the order data, builds the message in the medavis or the Novarad variant, derives the
// placer order number and the file name, and adds the request's row to Radiology..tbHl7Logs.
// It writes no file and marks nothing.

#include "OrderData.h"

#include <QString>

class Connection;

// Set when the item filter keeps the last request out of the RIS; the order file writing
// clears it before GetHL7 and reads it after.
extern bool gblSkipHL7;

// What GetHL7 shows (the four result fields) and keeps for the backup file name.
struct OrderResults {
    QString FName;         // txtFName
    QString HL7RevenueID;  // txtHL7RevenueID
    QString HL7RequestNum; // txtHL7RequestNum
    QString HL7;           // txtHL7
    QString PatName;       // kept patient name
    QString HospNum;       // kept hospital number

    void clearFields() { FName.clear(); HL7RevenueID.clear(); HL7RequestNum.clear(); HL7.clear(); }
};

QString modalityCode(const QString &revenueId);
// The request number, with the revenue appended when the request number is numeric.
QString placerOrderNumber(const QString &requestNum, const QString &revenueId);
QString orderControl(const QString &swfin); // "CA" for a cancelled request, else "NW"
QString orderFileName(const QString &revenueId, const QString &requestNum, const QString &swfin);

// The medavis variant (with DG1 and IN1) when the VESK or the Medavis client option is set.
bool medavisVariant();

// The message text: segments ended by CR LF, the OBR by CR FS CR.
QString buildOrderMessage(const RadiologyOrderData &data, bool medavis);

// The log row of a built message (skipped: empty request number and type, no date).
QString hl7LogStatement(const RadiologyOrderData &data, bool skipped, const QDateTime &exportDate);

// Builds the order message of row into results (the caller clears the four fields first).
// Always returns the empty text.
QString GetHL7(Connection *connection, const OrderRequestRow &row, const ItemFilters &filters,
               OrderResults &results);

// The text without its leading and trailing blanks (spaces only; tabs and line breaks stay).
QString trimSpaces(const QString &text);
