#pragma once
// The order file of one listed request ("Generate HL7"): GetHL7 builds the message, which is
// written as <file name>.hl7 into the request directory the RIS reads and as a dated backup
// under the backup base's "bak" folder, and the request is marked as sent (StatusHl7 'X').
// Both files are written under a temporary name and renamed into place, in Latin-1.

#include "OrderMessage.h"

#include <QDateTime>
#include <QString>

#include <functional>

class Connection;

enum class GenerateOutcome {
    Written,     // order file and backup written, request marked
    MarkedOnly,  // skipped by the item filter: marked without a file
    NothingDone, // no request directory, or nothing generated
    Failed       // a file or the marking failed; the request stays pending
};

// Generates the order file of row. Paths: gblRequestDir and gblMoveFileDir.
GenerateOutcome GenerateOrderFile(Connection *connection, const OrderRequestRow &row, const ItemFilters &filters,
                                  OrderResults &results);

// The statements that mark a request as sent, in the order they run, for the shown revenue
// and request number (through the revenue table gblRevenues).
QStringList markRequestStatements(const QString &revenueId, const QString &requestNum);

// The backup folder of a day and the paths of one order's files.
QString backupFolder(const QDateTime &when);
QString orderFilePath(const QString &fileName);
QString backupFilePath(const QDateTime &when, const OrderResults &results);
QString displacedBackupPath(const QDateTime &when, const QString &fileName);

// The clock the backup names are made from (the workstation's local time); tests set it.
void setOrderFileClock(std::function<QDateTime()> clock); // empty: QDateTime::currentDateTime
