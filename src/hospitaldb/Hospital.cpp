#include "Hospital.h"
#include "Accounts.h"
#include "TsqlTranslator.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <sqlite3.h>

// The schema scripts are a resource of this static library: nothing refers to it, so it
// is registered by hand before the first use.
static void initSchemaResource()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(hospitalschema);
        return true;
    }();
    Q_UNUSED(done);
}

namespace hospitaldb {

namespace {

QString fileOf(const QString &dir, const QString &database)
{
    return QDir(dir).filePath(database + QStringLiteral(".db"));
}

QString describe(const QSqlError &e)
{
    QString text = e.databaseText();
    if (text.isEmpty())
        text = e.text();
    return text;
}

// Splits a script of SQLite statements at the semicolons that end them (outside literals,
// identifiers and comments), so that each runs on its own.
QStringList splitScript(const QString &script)
{
    QStringList out;
    QString current;
    const int n = script.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = script[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            current += c;
            for (++i; i < n; ++i) {
                current += script[i];
                if (script[i] == close) {
                    if (close != u']' && i + 1 < n && script[i + 1] == close) {
                        current += script[++i];
                        continue;
                    }
                    break;
                }
            }
        } else if (c == u'-' && i + 1 < n && script[i + 1] == u'-') {
            while (i < n && script[i] != u'\n')
                ++i;
            current += u'\n';
        } else if (c == u'/' && i + 1 < n && script[i + 1] == u'*') {
            i += 2;
            while (i + 1 < n && !(script[i] == u'*' && script[i + 1] == u'/'))
                ++i;
            ++i;
            current += u' ';
        } else if (c == u';') {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

// Runs every script of the resource folder whose name is "<database>.sql" or
// "<database>-<topic>.sql" against that database's own file.
void runScripts(const QString &dir, const QString &database, const QString &folder)
{
    QStringList scripts;
    QDirIterator it(QStringLiteral(":/hospitaldb/") + folder, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString base = QFileInfo(path).completeBaseName();
        if (base.compare(database, Qt::CaseInsensitive) == 0
            || base.startsWith(database + u'-', Qt::CaseInsensitive))
            scripts << path;
    }
    scripts.sort();
    if (scripts.isEmpty())
        return;

    const QString name = QStringLiteral("hospital-create-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(fileOf(dir, database));
        if (!db.open())
            throw SqlError(describe(db.lastError()));
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN"));
        for (const QString &path : scripts) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                throw SqlError(QStringLiteral("cannot read ") + path);
            const QStringList statements = splitScript(QString::fromUtf8(f.readAll()));
            for (const QString &s : statements) {
                if (!q.exec(s)) {
                    const QString why = describe(q.lastError());
                    q.exec(QStringLiteral("ROLLBACK"));
                    throw SqlError(QFileInfo(path).fileName() + QStringLiteral(": ") + why
                                   + QStringLiteral(" in: ") + s.left(200));
                }
            }
        }
        q.exec(QStringLiteral("COMMIT"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

const QStringList &Hospital::databaseNames()
{
    static const QStringList names{
        QStringLiteral("Radiology"), QStringLiteral("Laboratory"),  QStringLiteral("STATION"),
        QStringLiteral("Patient_Data"), QStringLiteral("Build_File"), QStringLiteral("Password"),
        QStringLiteral("bac")};
    return names;
}

void Hospital::create(const QString &dir, bool demo)
{
    initSchemaResource();
    if (!QDir().mkpath(dir))
        throw SqlError(QStringLiteral("cannot create the directory ") + dir);
    for (const QString &database : databaseNames())
        runScripts(dir, database, QStringLiteral("schema"));
    if (demo) {
        for (const QString &database : databaseNames())
            runScripts(dir, database, QStringLiteral("schema/demo"));
        // The demo hospital's operator account (a fictional hospital; the README names it).
        Hospital hospital(dir);
        addUser(hospital, QStringLiteral("operator"), QStringLiteral("relayon"));
    }
}

Hospital::Hospital(const QString &dir)
    : m_dir(QDir(dir).absolutePath()),
      m_connectionName(QStringLiteral("hospital-") + QUuid::createUuid().toString(QUuid::Id128))
{
    for (const QString &database : databaseNames()) {
        if (!QFileInfo::exists(fileOf(m_dir, database)))
            throw SqlError(QStringLiteral("Cannot open database \"") + database
                           + QStringLiteral("\": no hospital in ") + m_dir);
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    // The main database is a scratch in-memory one; the hospital's databases are attached.
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!m_db.open())
        throw SqlError(describe(m_db.lastError()));
    for (const QString &database : databaseNames())
        exec(QStringLiteral("ATTACH DATABASE ? AS ") + database, {fileOf(m_dir, database)});
    for (const QString &database : databaseNames()) {
        exec(QStringLiteral("PRAGMA ") + database + QStringLiteral(".journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA ") + database + QStringLiteral(".synchronous=NORMAL"));
    }

    registerTsqlFunctions(handle());
    registerRadiologyObjects(*this);
    registerLaboratoryObjects(*this);
}

Hospital::~Hospital()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

sqlite3 *Hospital::handle() const
{
    const QVariant v = m_db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(v.data());
    return nullptr;
}

QString Hospital::translate(const QString &tsql)
{
    const TranslatedStatement t = translateTsql(tsql);
    return t.isProcedureCall ? QString() : t.sql;
}

ResultSet Hospital::run(const QString &tsql)
{
    // The translation is cached by statement text; a procedure call is remembered as such
    // with an empty translation and parsed again (its arguments are in the text).
    if (m_cacheEnabled) {
        const auto hit = m_cache.constFind(tsql);
        if (hit != m_cache.constEnd() && !hit->isEmpty())
            return runSqlite(*hit, {});
    }
    const TranslatedStatement t = translateTsql(tsql);
    if (t.isProcedureCall) {
        const auto p = m_procedures.constFind(t.procedure.toLower());
        if (p == m_procedures.constEnd())
            throw SqlError(QStringLiteral("Could not find stored procedure '") + t.procedure
                           + QStringLiteral("'."));
        if (m_cacheEnabled)
            m_cache.insert(tsql, QString());
        return (*p)(*this, t.arguments);
    }
    if (m_cacheEnabled)
        m_cache.insert(tsql, t.sql);
    return runSqlite(t.sql, {});
}

ResultSet Hospital::query(const QString &sqliteSql, const QVariantList &binds)
{
    return runSqlite(sqliteSql, binds);
}

void Hospital::exec(const QString &sqliteSql, const QVariantList &binds)
{
    runSqlite(sqliteSql, binds);
}

qint64 Hospital::lastInsertId() const
{
    sqlite3 *h = handle();
    return h ? sqlite3_last_insert_rowid(h) : 0;
}

ResultSet Hospital::runSqlite(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw SqlError(describe(q.lastError()));
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    if (!q.exec())
        throw SqlError(describe(q.lastError()));
    ResultSet rs;
    if (q.isSelect()) {
        const QSqlRecord rec = q.record();
        const int n = rec.count();
        rs.columns.reserve(n);
        for (int i = 0; i < n; ++i)
            rs.columns << rec.fieldName(i);
        while (q.next()) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row << q.value(i);
            rs.rows << row;
        }
        if (q.lastError().isValid())
            throw SqlError(describe(q.lastError()));
    }
    return rs;
}

void Hospital::beginTransaction()
{
    exec(QStringLiteral("BEGIN"));
}

void Hospital::commit()
{
    exec(QStringLiteral("COMMIT"));
}

void Hospital::rollback()
{
    exec(QStringLiteral("ROLLBACK"));
}

void Hospital::registerProcedure(const QString &name, Procedure procedure)
{
    m_procedures.insert(name.toLower(), std::move(procedure));
}

bool Hospital::isProcedure(const QString &name) const
{
    return m_procedures.contains(name.toLower());
}

} // namespace hospitaldb
