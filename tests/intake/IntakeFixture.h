#pragma once
// What the intake tests share: a demo hospital signed in as the program would be, a
// connection that records every statement and fails on a chosen one, and result and
// completion messages built from a few named fields.

#include "TestSupport.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "IntakeConnection.h"
#include "RevenueTable.h"
#include "Settings.h"
#include "UserSession.h"

#include "Hospital.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Delegates to the session's connection, keeps every statement, and throws a DbError for
// the first statement that contains failOn.
class RecordingConnection : public Connection {
public:
    explicit RecordingConnection(Connection &inner) : m_inner(inner) {}
    QStringList statements;
    QString failOn;

    Recordset open(const QString &sql) override
    {
        check(sql);
        return m_inner.open(sql);
    }
    void execute(const QString &sql) override
    {
        check(sql);
        m_inner.execute(sql);
    }
    void beginTrans() override { m_inner.beginTrans(); }
    void commitTrans() override { m_inner.commitTrans(); }
    void rollbackTrans() override { m_inner.rollbackTrans(); }
    void setCommandTimeout(int seconds) override { m_inner.setCommandTimeout(seconds); }
    QString connectionString() const override { return m_inner.connectionString(); }
    QString serverName() const override { return m_inner.serverName(); }

    QStringList matching(const QString &part) const { return statements.filter(part); }

private:
    void check(const QString &sql)
    {
        statements << sql;
        if (!failOn.isEmpty() && sql.contains(failOn))
            throw DbError(QStringLiteral("Simulated failure of the server"));
    }
    Connection &m_inner;
};

// A fresh demo hospital, signed in, with the revenue table loaded and the intake working
// through a recording connection.
struct DemoHospital {
    QTemporaryDir dir;
    std::unique_ptr<RecordingConnection> recorder;

    DemoHospital()
    {
        hospitaldb::Hospital::create(dir.path(), true);
        WriteSetting(kAppCurrentUser, QStringLiteral("Connection"), QStringLiteral("Server"), dir.path());
        gblUser = std::make_unique<UserSession>();
        gblUser->LoginUser(QStringLiteral("operator"), QStringLiteral("relayon"));
        loadRevenueTable(gblUser->SQLConnection(), false);
        recorder = std::make_unique<RecordingConnection>(*gblUser->SQLConnection());
        setIntakeConnection(recorder.get());
        gblLISId = QStringLiteral("MEDAVIS");
        gblChkRIS = 1;
        TraceModel::log().clear();
        TraceModel::error().clear();
        MessageBox::instance().clear();
    }
    ~DemoHospital()
    {
        setIntakeConnection(nullptr);
        recorder.reset();
        gblUser.reset();
    }
    bool connected() const { return gblUser && gblUser->Connected(); }
    Recordset query(const QString &sql) const { return gblUser->SQLConnection()->open(sql); }
    QString value(const QString &sql) const
    {
        const Recordset rs = query(sql);
        return rs.recordCount() > 0 ? rs.text(0, 0) : QStringLiteral("<no row>");
    }
    int count(const QString &sql) const { return query(sql).recordCount(); }
};

// A radiology result message; every field has a value of demo request 10001 (chest PA of
// ANA SANTOS, visit 240101) and can be changed before building.
struct ResultMessage {
    QString msh = QStringLiteral("MSH|^~\\&|RIS|MEDAVIS|RELAYON|KALDRA|20240105140509||ORU^R01|MSG0001|P|2.3");
    QString pid = QStringLiteral("PID|||100201||SANTOS^ANA^REYES");
    QString pv1 = QStringLiteral("PV1||I|301-A||||1010^MERCADO^ELISA||||||||||||240101");
    QString orc = QStringLiteral("ORC|RE|10001XR|||||||20240105123000");
    QString serviceCode = QStringLiteral("CR88");
    QString serviceText = QStringLiteral("CHEST PA");
    QString observationStart = QStringLiteral("20240105130000");
    QString reportStatusTime = QStringLiteral("20240105131000");
    QString modality = QStringLiteral("CR");
    QString interpreter = QStringLiteral("1001^^DR MANALO^1001");
    QStringList reportLines{QStringLiteral("Both lung fields are clear."), QStringLiteral("IMPRESSION: Normal chest.")};
    QString radiographer = QStringLiteral("DELA CRUZ, JUAN");
    QString resident = QStringLiteral("VILLANUEVA, MARK");
    QStringList extraSegments; // after the OBX lines

    QString obr() const
    {
        QStringList p(33);
        p[0] = QStringLiteral("OBR");
        p[1] = QStringLiteral("1");
        p[2] = QStringLiteral("10001XR");
        p[4] = serviceCode + u'^' + serviceText;
        p[7] = observationStart;
        p[22] = reportStatusTime;
        p[24] = modality;
        p[32] = interpreter;
        return p.join(u'|');
    }
    QStringList obx() const
    {
        QStringList lines;
        int n = 0;
        auto add = [&](const QString &value) {
            lines << QStringLiteral("OBX|%1|TX|%2||%3||||||F").arg(++n).arg(serviceCode, value);
        };
        for (const QString &l : reportLines)
            add(l);
        add(QStringLiteral("Radiographer  : ") + radiographer);
        add(QStringLiteral("Resident  : ") + resident);
        add(QStringLiteral("Radiologist  : DR MANALO"));
        add(QStringLiteral("Signed electronically")); // after the signature: not report text
        return lines;
    }
    QString build() const
    {
        QStringList segments{msh, pid};
        if (!pv1.isEmpty())
            segments << pv1;
        segments << orc << obr() << obx() << extraSegments;
        return segments.join(u'\r') + u'\r';
    }
};
