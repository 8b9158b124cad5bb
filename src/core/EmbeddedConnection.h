#pragma once
// The embedded hospital as a Connection: T-SQL goes through its translator (cached by
// statement text) and procedure calls to its procedures.

#include "Database.h"

namespace hospitaldb { class Hospital; }

class EmbeddedConnection : public Connection {
public:
    explicit EmbeddedConnection(const QString &directory); // throws DbError
    ~EmbeddedConnection() override;

    Recordset open(const QString &sql) override;
    void execute(const QString &sql) override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;
    void setCommandTimeout(int seconds) override;
    QString connectionString() const override;
    QString serverName() const override;

    hospitaldb::Hospital &hospital() { return *m_hospital; }

private:
    std::unique_ptr<hospitaldb::Hospital> m_hospital;
};
