#include "OdbcConnection.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUuid>

#include <sql.h>
#include <sqlext.h>

namespace {

constexpr int kLoginTimeoutSeconds = 15;

QString odbcValue(const QString &value)
{
    static const QString special = QStringLiteral(";{}=");
    bool needsBraces = value.startsWith(u' ') || value.endsWith(u' ');
    for (const QChar c : value)
        needsBraces = needsBraces || special.contains(c);
    if (!needsBraces)
        return value;
    QString v = value;
    v.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + v + u'}';
}

QString describe(const QSqlError &e)
{
    QString text = e.databaseText().trimmed();
    if (text.isEmpty())
        text = e.driverText().trimmed();
    if (text.isEmpty())
        text = e.text().trimmed();
    return text;
}

} // namespace

QString odbcConnectionString(const ConnectionParams &params)
{
    QString host = params.server.trimmed();
    QString port;
    const int comma = int(host.lastIndexOf(u','));
    if (comma >= 0) {
        port = host.mid(comma + 1).trimmed();
        host = host.left(comma).trimmed();
    }
    QString s = QStringLiteral("DRIVER={FreeTDS};SERVER=") + odbcValue(host) + u';';
    if (!port.isEmpty())
        s += QStringLiteral("PORT=") + odbcValue(port) + u';';
    s += QStringLiteral("DATABASE=") + odbcValue(params.database) + u';';
    s += QStringLiteral("UID=") + odbcValue(params.user) + u';';
    s += QStringLiteral("PWD=") + odbcValue(params.password) + u';';
    s += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    return s;
}

OdbcConnection::OdbcConnection(const ConnectionParams &params)
    : m_name(QStringLiteral("odbc-") + QUuid::createUuid().toString(QUuid::Id128)),
      m_connectionString(odbcConnectionString(params)),
      m_serverName(params.server.trimmed())
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw DbError(QStringLiteral("The ODBC driver of Qt (libqt6sql6-odbc) is not installed."));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    m_db.setDatabaseName(m_connectionString);
    m_db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                               .arg(kLoginTimeoutSeconds));
    if (!m_db.open()) {
        const QString why = describe(m_db.lastError());
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DbError(why);
    }
}

OdbcConnection::~OdbcConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

Recordset OdbcConnection::run(const QString &sql, bool wantRows)
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(describe(q.lastError()));
    if (m_commandTimeout > 0) {
        const QVariant h = q.result()->handle();
        if (h.isValid() && (qstrcmp(h.typeName(), "SQLHANDLE") == 0 || qstrcmp(h.typeName(), "void*") == 0)) {
            SQLHANDLE stmt = *static_cast<const SQLHANDLE *>(h.data());
            SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT,
                           reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_commandTimeout)), 0);
        }
    }
    if (!q.exec())
        throw DbError(describe(q.lastError()));
    if (!wantRows)
        return {};
    // A procedure may send row counts before its rows: take the first result with columns.
    do {
        const QSqlRecord rec = q.record();
        if (!q.isSelect() || rec.isEmpty())
            continue;
        QStringList columns;
        for (int i = 0; i < rec.count(); ++i)
            columns << rec.fieldName(i);
        QList<QVariantList> rows;
        while (q.next()) {
            QVariantList row;
            row.reserve(columns.size());
            for (int i = 0; i < columns.size(); ++i)
                row << q.value(i);
            rows << row;
        }
        if (q.lastError().isValid())
            throw DbError(describe(q.lastError()));
        return Recordset(std::move(columns), std::move(rows));
    } while (q.nextResult());
    if (q.lastError().isValid())
        throw DbError(describe(q.lastError()));
    return {};
}

Recordset OdbcConnection::open(const QString &sql)
{
    return run(sql, true);
}

void OdbcConnection::execute(const QString &sql)
{
    run(sql, false);
}

void OdbcConnection::beginTrans()
{
    if (!m_db.transaction())
        throw DbError(describe(m_db.lastError()));
}

void OdbcConnection::commitTrans()
{
    if (!m_db.commit())
        throw DbError(describe(m_db.lastError()));
}

void OdbcConnection::rollbackTrans()
{
    if (!m_db.rollback())
        throw DbError(describe(m_db.lastError()));
}

void OdbcConnection::setCommandTimeout(int seconds)
{
    // Applied to every statement through the driver's query-timeout attribute.
    m_commandTimeout = qMax(0, seconds);
}
