#include "OrderFiles.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <exception>

namespace {

std::function<QDateTime()> g_clock;

QDateTime now()
{
    return g_clock ? g_clock() : QDateTime::currentDateTime();
}

struct FileError {
    QString description;
};

// Writes the message and CR LF in Latin-1 under a temporary name next to path (the name
// ends in a random suffix, not ".hl7"), then renames it into place.
void writeOrderFile(const QString &path, const QString &message)
{
    const QByteArray bytes = (message + QStringLiteral("\r\n")).toLatin1();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw FileError{f.errorString()};
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw FileError{f.errorString()};
}

// A patient name is part of the backup's file name; a path separator in it stays in the name.
QString fileNamePart(QString text)
{
    return text.replace(QLatin1Char('/'), QLatin1Char('_'));
}

} // namespace

void setOrderFileClock(std::function<QDateTime()> clock)
{
    g_clock = std::move(clock);
}

QString backupFolder(const QDateTime &when)
{
    return QDir(QDir(gblMoveFileDir).filePath(QStringLiteral("bak")))
        .filePath(when.toString(QStringLiteral("yyyy MM dd")));
}

QString orderFilePath(const QString &fileName)
{
    return QDir(gblRequestDir).filePath(fileName + QStringLiteral(".hl7"));
}

QString backupFilePath(const QDateTime &when, const OrderResults &results)
{
    return QDir(backupFolder(when))
        .filePath(results.FName + QStringLiteral(" ") + fileNamePart(results.PatName) + QStringLiteral(" ")
                  + fileNamePart(results.HospNum) + QStringLiteral(".hl7"));
}

QString displacedBackupPath(const QDateTime &when, const QString &fileName)
{
    return QDir(QDir(gblMoveFileDir).filePath(QStringLiteral("bak")))
        .filePath(fileName + when.toString(QStringLiteral("yyyy MM dd HH mm ss")) + QStringLiteral(".hl7"));
}

QStringList markRequestStatements(const QString &revenueId, const QString &requestNum)
{
    QStringList statements;
    for (const RevenueInfo &revenue : std::as_const(gblRevenues)) {
        if (revenue.RevenueID.toUpper() != revenueId)
            continue;
        if (revenue.RequestTableName.toUpper() == QLatin1String("TBREQUESTMASTER")) {
            statements << QStringLiteral("UPDATE RADIOLOGY..tbRequestMaster set StatusHl7 = 'X' WHERE Revenueid =")
                    + sqlStr(revenueId) + QStringLiteral(" AND RequestNum = ") + sqlStr(requestNum);
            break;
        }
        statements << QStringLiteral("UPDATE RADIOLOGY..") + revenue.RequestTableName
                + QStringLiteral(" set StatusHl7 = 'X' where RequestNum = ") + sqlStr(requestNum);
    }
    return statements;
}

GenerateOutcome GenerateOrderFile(Connection *connection, const OrderRequestRow &row, const ItemFilters &filters,
                                  OrderResults &results)
{
    QString path;
    try {
        results.clearFields();
        gblSkipHL7 = false;
        GetHL7(connection, row, filters, results);

        const bool skipped = gblSkipHL7;
        if (!skipped) {
            if (gblRequestDir.trimmed().isEmpty())
                return GenerateOutcome::NothingDone;
            if (results.FName.isEmpty() || results.HL7RevenueID.isEmpty() || results.HL7RequestNum.isEmpty()
                || results.HL7.isEmpty()) {
                TraceLog(QStringLiteral("none generated for ") + row.RequestNum);
                return GenerateOutcome::NothingDone;
            }

            path = orderFilePath(results.FName);
            if (QFile::exists(path))
                TraceLog(QStringLiteral("File already exists")); // replaced by the rename below
            writeOrderFile(path, results.HL7);

            const QDateTime when = now();
            path = backupFolder(when);
            QDir().mkpath(path);

            path = backupFilePath(when, results);
            if (QFile::exists(path)) {
                TraceLog(QStringLiteral("Bak File already exists"));
                const QString displaced = displacedBackupPath(when, results.FName);
                if (!QFile::rename(path, displaced))
                    throw FileError{QStringLiteral("Cannot move ") + path + QStringLiteral(" to ") + displaced};
            }
            writeOrderFile(path, results.HL7);
        }

        for (const QString &sql : markRequestStatements(results.HL7RevenueID, results.HL7RequestNum)) {
            if (!connection)
                throw DbError(QStringLiteral("No connection"));
            connection->execute(sql);
            if (TraceEnabled())
                TraceLog(sql);
        }
        TraceLog(QStringLiteral("Done ") + results.FName);
        return skipped ? GenerateOutcome::MarkedOnly : GenerateOutcome::Written;
    } catch (const FileError &e) {
        TraceLog(QStringLiteral("cmdGenerateHL7_Click ") + e.description + QStringLiteral(" FileName:") + path);
    } catch (const DbError &e) {
        TraceLog(QStringLiteral("cmdGenerateHL7_Click ") + e.description() + QStringLiteral(" FileName:") + path);
    } catch (const std::exception &e) {
        TraceLog(QStringLiteral("cmdGenerateHL7_Click ") + QString::fromLocal8Bit(e.what())
                 + QStringLiteral(" FileName:") + path);
    }
    return GenerateOutcome::Failed;
}
