// The direct storage of a radiology result ("w/o SP" ticked) on a demo hospital: result
// row, history, status, nursing records, and the one transaction around them.

#include "IntakeFixture.h"

#include "ResultIntake.h"
#include "ResultStorage.h"

#include <QApplication>
#include <QtTest>

class TestResultStorage : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_hospital = std::make_unique<DemoHospital>();
        QVERIFY2(m_hospital->connected(), qPrintable(gblUser->lastError()));
        SetWithoutSPState(1);
    }
    void cleanup() { m_hospital.reset(); }

    // First and second result of one request: one result row, updated; two history rows.
    void firstAndSecondResult()
    {
        DemoHospital &h = *m_hospital;
        qint16 hmode = 0;
        QVERIFY(HandleInput(ResultMessage().build(), hmode));
        QCOMPARE(hmode, qint16(1));
        QCOMPARE(gblRequestNum, QStringLiteral("10001"));
        QCOMPARE(gblHospNum, QStringLiteral("100201"));
        QCOMPARE(gblPatientName, QStringLiteral("SANTOS^ANA"));

        ResultMessage second;
        second.reportLines = QStringList{QStringLiteral("Addendum: small effusion.")};
        QVERIFY(HandleInput(second.build(), hmode));

        const Recordset rs = h.query(QStringLiteral("SELECT * FROM Radiology..tbXRResult WHERE RequestNum = '10001'"));
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.field(QStringLiteral("HospNum")), QStringLiteral("100201"));
        QCOMPARE(rs.field(QStringLiteral("IDNum")), QStringLiteral("240101"));
        QCOMPARE(rs.field(QStringLiteral("ItemCode")), QStringLiteral("88"));
        QCOMPARE(rs.field(QStringLiteral("ExamTaken")), QStringLiteral("CHEST PA"));
        QCOMPARE(rs.field(QStringLiteral("RadCode")), QStringLiteral("1001"));
        QCOMPARE(rs.field(QStringLiteral("VerifyById")), QStringLiteral("1001"));
        QCOMPARE(rs.field(QStringLiteral("RequestDoctorCode")), QStringLiteral("1010"));
        QCOMPARE(rs.field(QStringLiteral("RadTech")), QStringLiteral("0460"));
        QCOMPARE(rs.field(QStringLiteral("RoomID")), QStringLiteral("301-A"));
        QCOMPARE(rs.field(QStringLiteral("ResultDate")), QStringLiteral("2024-01-05 13:10:00.000"));
        // MEDAVIS: verified at the message time
        QCOMPARE(rs.field(QStringLiteral("VerifyDate")), QStringLiteral("2024-01-05 14:05:00.000"));
        QCOMPARE(rs.field(QStringLiteral("ExamDate")), QStringLiteral("2024-01-05 12:30:00.000"));
        QCOMPARE(rs.field(QStringLiteral("Interpretation")), QStringLiteral("Addendum: small effusion."));
        QVERIFY(!rs.field(QStringLiteral("TransDate")).isEmpty());

        const Recordset hist = h.query(
            QStringLiteral("SELECT * FROM Radiology..tbXRResultHistory WHERE RequestNum = '10001' ORDER BY HistoryID"));
        QCOMPARE(hist.recordCount(), 2);
        QCOMPARE(hist.text(0, QStringLiteral("ItemCode")), QStringLiteral("CR88"));
        QCOMPARE(hist.text(0, QStringLiteral("Version")), QStringLiteral("1"));
        QCOMPARE(hist.text(1, QStringLiteral("Version")), QStringLiteral("1"));
        QCOMPARE(hist.text(0, QStringLiteral("Interpretation")),
                 QStringLiteral("Both lung fields are clear.\r\nIMPRESSION: Normal chest."));

        QCOMPARE(h.value(QStringLiteral("SELECT SWFin FROM Radiology..tbXRRequest WHERE RequestNum = '10001'")),
                 QStringLiteral("Y"));
        QCOMPARE(h.value(QStringLiteral("SELECT RecordStatus + '/' + ResultBy FROM STATION..tbNurseLogBook "
                                        "WHERE RequestNum = '10001'")),
                 QStringLiteral("W/1001"));
        QCOMPARE(h.value(QStringLiteral("SELECT RecordStatus FROM STATION..tbNurseCommunicationFile "
                                        "WHERE RequestNum = '10001'")),
                 QStringLiteral("X"));
    }

    // The obstetric ultrasound result goes into the women's table with only its own columns,
    // without history or status; the nursing records are still updated.
    void womensUltrasound()
    {
        DemoHospital &h = *m_hospital;
        ResultMessage m;
        m.pid = QStringLiteral("PID|||100211||GARCIA^LIZA");
        m.pv1 = QStringLiteral("PV1||I|402||||1012^DOC^ONE||||||||||||240111");
        m.orc = QStringLiteral("ORC|RE|21001WC|||||||20240105123000");
        m.serviceCode = QStringLiteral("US21");
        m.serviceText = QStringLiteral("TRANSVAGINAL ULTRASOUND (OB)");
        m.modality = QStringLiteral("US");
        qint16 hmode = 0;
        QVERIFY(HandleInput(m.build(), hmode));

        const Recordset rs = h.query(QStringLiteral("SELECT * FROM Radiology..tbULWomensResultOB WHERE RequestNum = '21001'"));
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.field(QStringLiteral("SonologistID")), QStringLiteral("1001"));
        QCOMPARE(rs.field(QStringLiteral("ResultDate")), QStringLiteral("2024-01-05 13:10:00.000"));
        QVERIFY(rs.field(QStringLiteral("HospNum")).isEmpty());
        QVERIFY(rs.field(QStringLiteral("RadCode")).isEmpty());
        QCOMPARE(h.count(QStringLiteral("SELECT RequestNum FROM Radiology..tbULWomensResultOBHistory WHERE RequestNum = '21001'")), 0);
        QCOMPARE(h.value(QStringLiteral("SELECT RecordStatus FROM STATION..tbNurseLogBook WHERE RequestNum = '21001'")),
                 QStringLiteral("W"));
        QVERIFY(h.recorder->matching(QStringLiteral("tbOBULRequest   SET")).isEmpty());
    }

    void reportText_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("stored");
        QTest::newRow("tilde") << "Normal heart.~Clear lungs." << QStringLiteral("Normal heart.\r\u001CClear lungs.");
        QTest::newRow("cut before Radiographer") << "Normal.\r\nRadiographer: X" << "Normal.\r\n";
        QTest::newRow("radiographer in lower case kept") << "radiographer noted motion" << "radiographer noted motion";
        QTest::newRow("escaped line break") << "Line one\\X0D\\\\X0A\\Line two" << "Line one\rLine two";
    }
    void reportText()
    {
        QFETCH(QString, report);
        QFETCH(QString, stored);
        QCOMPARE(StoredReportText(report), stored);
    }

    // The rewritten report with an apostrophe reaches the table whole.
    void reportRewrittenAndStored()
    {
        ResultMessage m;
        m.reportLines = QStringList{QStringLiteral("O'Brien sign absent.~Radiographer on duty")};
        qint16 hmode = 0;
        QVERIFY(HandleInput(m.build(), hmode));
        QCOMPARE(m_hospital->value(QStringLiteral("SELECT Interpretation FROM Radiology..tbXRResult WHERE RequestNum = '10001'")),
                 QStringLiteral("O'Brien sign absent.\r\u001C"));
    }

    void outpatientVisitIsOPD()
    {
        ResultMessage m;
        m.pid = QStringLiteral("PID|||T000301||REYES^MARK");
        m.pv1 = QStringLiteral("PV1||O|||||1014^ABAD^VICTOR||||||||||||24000301B");
        m.orc = QStringLiteral("ORC|RE|10003XR|||||||20240105123000");
        qint16 hmode = 0;
        QVERIFY(HandleInput(m.build(), hmode));
        QCOMPARE(m_hospital->value(QStringLiteral("SELECT RoomID FROM Radiology..tbXRResult WHERE RequestNum = '10003'")),
                 QStringLiteral("OPD"));
        QCOMPARE(m_hospital->recorder->matching(QStringLiteral("Patient_Data..tbPatient")), QStringList());
    }

    // Not stored, and not taken as handled: the file goes to "failed" instead of away.
    void departmentWithoutRevenueStoresNothingAndFails()
    {
        ResultMessage m;
        m.modality = QStringLiteral("ot");
        qint16 hmode = 0;
        QVERIFY(!HandleInput(m.build(), hmode));
        QVERIFY(TraceModel::log().text().contains(QStringLiteral("Handle input, revenue not found OT")));
        QVERIFY(m_hospital->recorder->matching(QStringLiteral("INSERT")).isEmpty());
        QVERIFY(m_hospital->recorder->matching(QStringLiteral("UPDATE")).isEmpty());
        QVERIFY(gblRequestNum.isEmpty());
    }

    // A failure in the middle (the status update, after the result and history rows) leaves
    // nothing of the result behind, and the report names the step.
    void failureRollsEverythingBack_data()
    {
        QTest::addColumn<QString>("failOn");
        QTest::addColumn<QString>("step");
        QTest::newRow("status update") << "UPDATE  RADIOLOGY..tbXRRequest" << "UPDATE  RADIOLOGY..tbXRRequest";
        QTest::newRow("nurse log book") << "UPDATE STATION..tbNurseLogBook" << "FROM STATION..tbNurseLogBook";
    }
    void failureRollsEverythingBack()
    {
        QFETCH(QString, failOn);
        QFETCH(QString, step);
        DemoHospital &h = *m_hospital;
        h.recorder->failOn = failOn;
        qint16 hmode = 0;
        QVERIFY(!HandleInput(ResultMessage().build(), hmode));
        QCOMPARE(h.count(QStringLiteral("SELECT RequestNum FROM Radiology..tbXRResult WHERE RequestNum = '10001'")), 0);
        QCOMPARE(h.count(QStringLiteral("SELECT RequestNum FROM Radiology..tbXRResultHistory WHERE RequestNum = '10001'")), 0);
        QCOMPARE(h.value(QStringLiteral("SELECT SWFin FROM Radiology..tbXRRequest WHERE RequestNum = '10001'")), QString());
        QVERIFY(gblRequestNum.isEmpty());
        QVERIFY2(TraceModel::error().text().contains(step), qPrintable(TraceModel::error().text()));

        // The same message goes through once the server answers again.
        h.recorder->failOn.clear();
        QVERIFY(HandleInput(ResultMessage().build(), hmode));
        QCOMPARE(h.count(QStringLiteral("SELECT RequestNum FROM Radiology..tbXRResultHistory WHERE RequestNum = '10001'")), 1);
    }

private:
    std::unique_ptr<DemoHospital> m_hospital;
};

RELAYON_TEST_MAIN(TestResultStorage)
#include "tst_resultstorage.moc"
