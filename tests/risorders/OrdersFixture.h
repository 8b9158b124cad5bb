#pragma once
// A demo hospital on disk, signed in as the demo operator, with the revenue table loaded and
// the request and backup directories in the same temporary directory.

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "Hospital.h"
#include "RevenueTable.h"
#include "Settings.h"
#include "UserSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// True when a line of the "Log" window ends with text (the lines begin with their time).
inline bool traced(const QString &text)
{
    for (const QString &line : TraceModel::log().lines())
        if (line.endsWith(QStringLiteral(" ") + text))
            return true;
    return false;
}

// A connection that fails every statement containing one of the given texts.
class FailingConnection : public Connection {
public:
    explicit FailingConnection(Connection *inner) : m_inner(inner) {}
    QStringList failOn;
    QStringList sent;

    Recordset open(const QString &sql) override { check(sql); return m_inner->open(sql); }
    void execute(const QString &sql) override { check(sql); m_inner->execute(sql); }
    void beginTrans() override { m_inner->beginTrans(); }
    void commitTrans() override { m_inner->commitTrans(); }
    void rollbackTrans() override { m_inner->rollbackTrans(); }
    void setCommandTimeout(int seconds) override { m_inner->setCommandTimeout(seconds); }
    QString connectionString() const override { return m_inner->connectionString(); }
    QString serverName() const override { return m_inner->serverName(); }

private:
    void check(const QString &sql)
    {
        sent << sql;
        for (const QString &text : std::as_const(failOn))
            if (sql.contains(text))
                throw DbError(QStringLiteral("Invalid object name"));
    }
    Connection *m_inner;
};

struct DemoHospital {
    QTemporaryDir dir;

    DemoHospital()
    {
        const QString hospital = QDir(dir.path()).filePath(QStringLiteral("hospital"));
        QDir().mkpath(hospital);
        hospitaldb::Hospital::create(hospital, true);
        WriteSetting(kAppCurrentUser, QStringLiteral("Connection"), QStringLiteral("Server"), hospital);
        gblUser = std::make_unique<UserSession>();
        gblUser->LoginUser(QStringLiteral("operator"), QStringLiteral("relayon"));
        if (!gblUser->Connected())
            qFatal("demo sign-in failed: %s", qPrintable(gblUser->lastError()));
        loadRevenueTable(gblUser->SQLConnection(), false);
        gblRequestDir = QDir(dir.path()).filePath(QStringLiteral("requests"));
        gblMoveFileDir = QDir(dir.path()).filePath(QStringLiteral("move"));
        QDir().mkpath(gblRequestDir);
        QDir().mkpath(QDir(gblMoveFileDir).filePath(QStringLiteral("bak")));
    }
    ~DemoHospital() { gblUser.reset(); }

    Connection *db() const { return gblUser->SQLConnection(); }

    Recordset open(const QString &sql) const { return db()->open(sql); }
    void execute(const QString &sql) const { db()->execute(sql); }
    QString value(const QString &sql) const
    {
        const Recordset rs = open(sql);
        return rs.recordCount() ? rs.text(0, 0) : QString();
    }

    // Gives every request and nurse log book row fixed dates, for byte-exact messages.
    void fixDates() const
    {
        for (const char *table : {"tbXRRequest", "tbUlRequest", "tbOBULRequest", "tbCTRequest", "tbMRIRequest",
                                     "tbMammoMaster", "tbNUCMaster", "tbRequestMaster"})
            execute(QStringLiteral("UPDATE RADIOLOGY..%1 SET TransDate = '01/05/2024 14:05:09'").arg(table));
        execute(QStringLiteral("UPDATE STATION..tbNurseLogBook SET RequestDate = '01/05/2024 13:00:00'"));
    }

    QStringList files(const QString &path = gblRequestDir) const
    {
        return QDir(path).entryList(QDir::Files, QDir::Name);
    }
};
