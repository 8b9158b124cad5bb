#pragma once
// The embedded hospital: seven SQLite files, one per hospital database, attached to one
// SQLite connection under the databases' names. The program talks T-SQL to it; statements
// are translated (and the translation cached by statement text), procedure calls are
// dispatched to the C++ procedures registered below.

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <stdexcept>
#include <type_traits>

struct sqlite3;

namespace hospitaldb {

// A failure of the hospital: its description is what the caller shows and logs.
class SqlError : public std::runtime_error {
public:
    explicit SqlError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    QString description() const { return m_description; }

private:
    QString m_description;
};

// One result, fetched whole.
struct ResultSet {
    QStringList columns;
    QList<QVariantList> rows;
};

class Hospital;

// A stored procedure: receives the literal arguments of the call in order (text as QString,
// numbers as qint64 or double, NULL as a null QVariant) and returns its result set, which is
// empty (no columns) for procedures that return no rows.
using Procedure = std::function<ResultSet(Hospital &, const QVariantList &args)>;

class Hospital {
public:
    // The databases, in the order they are attached.
    static const QStringList &databaseNames();

    // Creates the seven database files in dir with the whole schema; with demo, the demo
    // hospital's data too. Existing files are left as they are (the schema is idempotent).
    static void create(const QString &dir, bool demo);

    // Opens the hospital in dir. Throws SqlError when a file cannot be opened or attached.
    explicit Hospital(const QString &dir);
    ~Hospital();
    Hospital(const Hospital &) = delete;
    Hospital &operator=(const Hospital &) = delete;

    QString directory() const { return m_dir; }

    // Runs one T-SQL statement (or procedure call) and returns its rows. Throws SqlError
    // carrying the database's own description.
    ResultSet run(const QString &tsql);

    // The SQLite text a T-SQL statement becomes (cached). Throws SqlError for a construct
    // the translator does not know.
    QString translate(const QString &tsql);

    // Native SQLite access for the procedures and for the schema. Binds are positional (?).
    ResultSet query(const QString &sqliteSql, const QVariantList &binds = {});
    void exec(const QString &sqliteSql, const QVariantList &binds = {});
    qint64 lastInsertId() const;

    void beginTransaction();
    void commit();
    void rollback();

    // Runs f as one unit inside whatever transaction is open (a savepoint): everything f did
    // is undone when it throws, and the exception goes on. Procedures use this, never BEGIN.
    template <typename F>
    auto atomically(F &&f) -> decltype(f())
    {
        exec(QStringLiteral("SAVEPOINT hospital_unit"));
        try {
            if constexpr (std::is_void_v<decltype(f())>) {
                f();
                exec(QStringLiteral("RELEASE hospital_unit"));
            } else {
                auto result = f();
                exec(QStringLiteral("RELEASE hospital_unit"));
                return result;
            }
        } catch (...) {
            exec(QStringLiteral("ROLLBACK TO hospital_unit"));
            exec(QStringLiteral("RELEASE hospital_unit"));
            throw;
        }
    }

    // Procedures are looked up by their last name part, without regard to case.
    void registerProcedure(const QString &name, Procedure procedure);
    bool isProcedure(const QString &name) const;

    sqlite3 *handle() const;
    QSqlDatabase database() const { return m_db; }

    // Translation cache statistics (for tests and benchmarks).
    int translationCacheSize() const { return m_cache.size(); }
    void setTranslationCacheEnabled(bool enabled) { m_cacheEnabled = enabled; }

private:
    ResultSet runSqlite(const QString &sql, const QVariantList &binds);

    QString m_dir;
    QString m_connectionName;
    QSqlDatabase m_db;
    QHash<QString, QString> m_cache;
    bool m_cacheEnabled = true;
    QHash<QString, Procedure> m_procedures;
};

// Registered by each group of procedures and functions (one file each).
void registerTsqlFunctions(sqlite3 *db);                 // TsqlFunctions.cpp: helpers the translation uses
void registerRadiologyObjects(Hospital &hospital);       // RadiologyProcedures.cpp
void registerLaboratoryObjects(Hospital &hospital);      // LaboratoryProcedures.cpp

} // namespace hospitaldb
