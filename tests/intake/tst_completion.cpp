// Completion messages: the RIS exam date written into the department's request table, in
// one transaction, on a demo hospital.

#include "IntakeFixture.h"

#include "Completion.h"

#include <QApplication>
#include <QtTest>

namespace {

QString completion(const QString &hosp, const QString &visit, const QString &request, const QString &modality,
                   const QString &obr22, bool withPv1 = true)
{
    QStringList obr(25);
    obr[0] = QStringLiteral("OBR");
    obr[2] = request;
    obr[22] = obr22;
    obr[24] = modality;
    QStringList segments{QStringLiteral("MSH|^~\\&|RIS|MEDAVIS|RELAYON|KALDRA|20240105140509||ORM^O01|C1|P|2.3"),
                         QStringLiteral("PID|||") + hosp};
    if (withPv1)
        segments << QStringLiteral("PV1||I|||||||||||||||||") + visit;
    segments << QStringLiteral("ORC|SC|") + request << obr.join(u'|');
    return segments.join(u'\r') + u'\r';
}

} // namespace

class TestCompletion : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_hospital = std::make_unique<DemoHospital>();
        QVERIFY2(m_hospital->connected(), qPrintable(gblUser->lastError()));
    }
    void cleanup() { m_hospital.reset(); }

    void examDate_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("statementStart");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("request");
        QTest::newRow("CR") << completion("100201", "240101", "10001", "CR", "20240105140509")
                            << "UPDATE Radiology..tbXRRequest " << "tbXRRequest" << "10001";
        QTest::newRow("US general") << completion("100204", "240104", "20001", "US", "20240105140509")
                                    << "UPDATE Radiology..tbUlRequest " << "tbUlRequest" << "20001";
        QTest::newRow("US obstetric") << completion("100211", "240111", "21001", "us", "20240105140509")
                                      << "UPDATE Radiology..tbOBULRequest " << "tbOBULRequest" << "21001";
        QTest::newRow("DX is not mapped") << completion("100201", "240101", "10001", "DX", "20240105140509")
                                          << "UPDATE Radiology..tbRequestMaster " << QString() << QString();
    }
    void examDate()
    {
        QFETCH(QString, message);
        QFETCH(QString, statementStart);
        QFETCH(QString, table);
        QFETCH(QString, request);
        DemoHospital &h = *m_hospital;
        QVERIFY(HandleInputComplete(message));
        const QStringList updates = h.recorder->matching(QStringLiteral("SET RISExamDate"));
        QCOMPARE(updates.size(), 1);
        QVERIFY2(updates[0].startsWith(statementStart + QStringLiteral("\r\nSET RISExamDate = '01/05/2024 14:05:09' WHERE HospNum = '")),
                 qPrintable(updates[0]));
        if (!table.isEmpty())
            QCOMPARE(h.value(QStringLiteral("SELECT RISExamDate FROM Radiology..") + table
                             + QStringLiteral(" WHERE RequestNum = '") + request + u'\''),
                     QStringLiteral("2024-01-05 14:05:09.000"));
    }

    void exactStatement()
    {
        QCOMPARE(ExamDateStatement(QStringLiteral("XR"), QStringLiteral("100201"), QStringLiteral("240101"),
                                   QStringLiteral("O'1"), QStringLiteral("01/05/2024 14:05:09")),
                 QStringLiteral("UPDATE Radiology..tbXRRequest \r\nSET RISExamDate = '01/05/2024 14:05:09' WHERE HospNum = "
                                "'100201' and IDNum = '240101' and RequestNum = 'O''1'"));
    }

    // An empty OBR-22 takes the server's clock.
    void emptyReportTimeIsNow()
    {
        const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
        QVERIFY(HandleInputComplete(completion("100201", "240101", "10001", "CR", QString())));
        const QDateTime stored = QDateTime::fromString(
            m_hospital->value(QStringLiteral("SELECT RISExamDate FROM Radiology..tbXRRequest WHERE RequestNum = '10001'")),
            QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        QVERIFY(stored.isValid());
        QVERIFY(stored >= before && stored <= QDateTime::currentDateTime().addSecs(2));
    }

    // A failing update is rolled back and reported as a failure, so the file is tried again.
    void failingUpdate()
    {
        DemoHospital &h = *m_hospital;
        h.recorder->failOn = QStringLiteral("SET RISExamDate");
        QVERIFY(!HandleInputComplete(completion("100201", "240101", "10001", "CR", "20240105140509")));
        QVERIFY(MessageBox::instance().text().contains(QStringLiteral("Simulated failure of the server")));
        QCOMPARE(h.value(QStringLiteral("SELECT RISExamDate FROM Radiology..tbXRRequest WHERE RequestNum = '10001'")),
                 QString());
        h.recorder->failOn.clear();
        QVERIFY(HandleInputComplete(completion("100201", "240101", "10001", "CR", "20240105140509")));
    }

    // A message without PV1 does not take the visit of the message before it.
    void withoutPV1AfterOneWithPV1()
    {
        DemoHospital &h = *m_hospital;
        QVERIFY(HandleInputComplete(completion("100201", "240101", "10001", "CR", "20240105140509")));
        h.recorder->statements.clear();
        QVERIFY(HandleInputComplete(completion("100201", "240101", "10001", "CR", "20240105140509", false)));
        const QStringList updates = h.recorder->matching(QStringLiteral("SET RISExamDate"));
        QCOMPARE(updates.size(), 1);
        QVERIFY2(updates[0].contains(QStringLiteral("and IDNum = '' and")), qPrintable(updates[0]));
    }

    void oneLineUpdatesNothing()
    {
        QVERIFY(HandleInputComplete(QStringLiteral("MSH|^~\\&|RIS|MEDAVIS|RELAYON|KALDRA|20240105140509||ORM^O01|C1|P|2.3")));
        QVERIFY(m_hospital->recorder->matching(QStringLiteral("RISExamDate")).isEmpty());
    }

private:
    std::unique_ptr<DemoHospital> m_hospital;
};

RELAYON_TEST_MAIN(TestCompletion)
#include "tst_completion.moc"
