#pragma once
// Translation of the T-SQL the program sends into SQLite for the embedded hospital.
// Only the constructs the program uses are known; anything else is an error naming it.

#include <QString>
#include <QVariantList>

namespace hospitaldb {

// What a T-SQL statement is: a statement SQLite runs after translation, or a call of a
// stored procedure (with or without EXEC) with literal arguments.
struct TranslatedStatement {
    bool isProcedureCall = false;
    QString sql;            // the SQLite text (statement) when !isProcedureCall
    QString procedure;      // last part of the procedure's name (call)
    QString procedureDatabase; // first part of its name, may be empty (call)
    QVariantList arguments; // literal arguments in order: QString, qint64, double or null (call)
};

// Throws SqlError with a description that names the construct it could not translate.
TranslatedStatement translateTsql(const QString &tsql);

} // namespace hospitaldb
