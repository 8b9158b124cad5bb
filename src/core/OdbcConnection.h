#pragma once
// SQL Server through Qt's ODBC driver and FreeTDS. The statement text is sent unchanged.

#include "Database.h"

#include <QSqlDatabase>

// The ODBC connection string for FreeTDS (TDS 7.4). A server given as "host,port" names the
// port; "host\instance" names an instance that FreeTDS finds through the server's browser.
// Values holding ';', '{', '}' or '=' are enclosed in braces as ODBC requires.
QString odbcConnectionString(const ConnectionParams &params);

class OdbcConnection : public Connection {
public:
    explicit OdbcConnection(const ConnectionParams &params); // throws DbError
    ~OdbcConnection() override;

    Recordset open(const QString &sql) override;
    void execute(const QString &sql) override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    void setCommandTimeout(int seconds) override;
    QString connectionString() const override { return m_connectionString; }
    QString serverName() const override { return m_serverName; }

private:
    Recordset run(const QString &sql, bool wantRows);

    QString m_name;
    QString m_connectionString;
    QString m_serverName;
    QSqlDatabase m_db;
    int m_commandTimeout = 0;
};
