// HandleInput: the walk of a result message, the values it derives and the stored-procedure
// statement it sends, on a demo hospital.

#include "IntakeFixture.h"

#include "MessageDef.h"
#include "ResultIntake.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

namespace {

const QString kProcedure = QStringLiteral("spRadio_SaveHL7Result");
const QString kInsFlag = QStringLiteral("Lab_Barcode_SaveInsFlag");

struct Expected {
    QString saveCode = QStringLiteral("XR");
    QString hospNum = QStringLiteral("100201");
    QString idNum = QStringLiteral("240101");
    QString requestNum = QStringLiteral("10001XR");
    QString serviceCode = QStringLiteral("CR88");
    QString serviceText = QStringLiteral("CHEST PA");
    QString doctor = QStringLiteral("1010");
    QString radiologist = QStringLiteral("1001");
    QString report = QStringLiteral("'Both lung fields are clear.\r\nIMPRESSION: Normal chest.'");

    QString call() const
    {
        return QStringLiteral("RADIOLOGY..[spRadio_SaveHL7Result] '%1','%2','%3','%4','%5','%6',"
                              "'01/05/2024 14:05','01/05/2024 13:10','01/05/2024 12:30','%7','%8','%8',%9,"
                              "'DELA CRUZ, JUAN','VILLANUEVA, MARK'")
            .arg(saveCode, hospNum, idNum, requestNum, serviceCode, serviceText, doctor, radiologist, report);
    }
};

ResultMessage ultrasound(const QString &hosp, const QString &visit, const QString &request)
{
    ResultMessage m;
    m.pid = QStringLiteral("PID|||") + hosp + QStringLiteral("||PATIENT^DEMO");
    m.pv1 = QStringLiteral("PV1||I|401||||1010^MERCADO^ELISA||||||||||||") + visit;
    m.orc = QStringLiteral("ORC|RE|") + request + QStringLiteral("|||||||20240105123000");
    m.modality = QStringLiteral("US");
    return m;
}

} // namespace

class TestHandleInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_hospital = std::make_unique<DemoHospital>();
        QVERIFY2(m_hospital->connected(), qPrintable(gblUser->lastError()));
    }
    void cleanupTestCase() { m_hospital.reset(); }
    void init()
    {
        m_hospital->recorder->statements.clear();
        m_hospital->recorder->failOn.clear();
        gblChkRIS = 1;
        SetWithoutSPState(0);
    }

    void walk_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<qint16>("woSP");
        QTest::addColumn<int>("chkRIS");
        QTest::addColumn<QString>("procedureCall"); // empty: nothing stored
        QTest::addColumn<QStringList>("flagCalls");

        const ResultMessage base;
        const Expected xr;
        QTest::newRow("ORU through the procedure") << base.build() << qint16(0) << 1 << xr.call() << QStringList();
        QTest::newRow("leading byte order mark")
            << QStringLiteral("\u00EF\u00BB\u00BF") + base.build() << qint16(0) << 1 << xr.call() << QStringList();

        ResultMessage orm;
        orm.msh.replace(QStringLiteral("ORU^R01"), QStringLiteral("ORM^O01"));
        QTest::newRow("ORM walked, nothing stored") << orm.build() << qint16(0) << 1 << QString() << QStringList();
        QTest::newRow("ACK walked, nothing stored")
            << QStringLiteral("MSH|^~\\&|RIS|MEDAVIS|RELAYON|KALDRA|20240105140509||ACK|MSG0001|P|2.3\rMSA|AA|MSG0001\r")
            << qint16(0) << 1 << QString() << QStringList();
        QTest::newRow("one line without CR") << base.msh << qint16(0) << 1 << QString() << QStringList();

        ResultMessage six = base;
        six.interpreter = QStringLiteral("X^^Y^100199");
        QTest::newRow("radiologist code of six characters cut to four") << six.build() << qint16(0) << 1 << xr.call()
                                                                       << QStringList();
        ResultMessage two = base;
        two.interpreter = QStringLiteral("^^^12");
        Expected xr2 = xr;
        xr2.radiologist = QStringLiteral("12");
        QTest::newRow("radiologist code of two characters") << two.build() << qint16(0) << 1 << xr2.call() << QStringList();

        ResultMessage dx = base;
        dx.modality = QStringLiteral("dx");
        QTest::newRow("modality dx in lower case") << dx.build() << qint16(0) << 1 << xr.call() << QStringList();

        ResultMessage nmr = base;
        nmr.modality = QStringLiteral("NMR");
        Expected mi = xr;
        mi.saveCode = QStringLiteral("MI");
        QTest::newRow("NMR saved as MI") << nmr.build() << qint16(0) << 1 << mi.call() << QStringList();

        Expected us = xr;
        us.saveCode = QStringLiteral("US");
        us.hospNum = QStringLiteral("100204");
        us.idNum = QStringLiteral("240104");
        us.requestNum = QStringLiteral("20001");
        QTest::newRow("US general request") << ultrasound(us.hospNum, us.idNum, us.requestNum).build() << qint16(0) << 1
                                            << us.call() << QStringList();
        Expected ob = us;
        ob.saveCode = QStringLiteral("WC");
        ob.hospNum = QStringLiteral("100211");
        ob.idNum = QStringLiteral("240111");
        ob.requestNum = QStringLiteral("21001");
        QTest::newRow("US obstetric request") << ultrasound(ob.hospNum, ob.idNum, ob.requestNum).build() << qint16(0) << 1
                                              << ob.call() << QStringList();

        QTest::newRow("w/o SP grayed stores nothing") << base.build() << qint16(2) << 1 << QString() << QStringList();

        ResultMessage lab = base;
        lab.extraSegments << QStringLiteral("NTE|6||Hemolysed") << QStringLiteral("NTE|2||Not the last OBX");
        QTest::newRow("laboratory NTE flag on")
            << lab.build() << qint16(0) << 0 << xr.call()
            << QStringList{QStringLiteral("Laboratory..Lab_Barcode_SaveInsFlag 'MEDAVIS','10001XR','','Hemolysed'")};
        QTest::newRow("laboratory NTE flag off (RIS side)") << lab.build() << qint16(0) << 1 << xr.call() << QStringList();

        ResultMessage quote = base;
        quote.reportLines = QStringList{QStringLiteral("O'Brien sign is absent.")};
        Expected quoted = xr;
        quoted.report = QStringLiteral("'O''Brien sign is absent.'");
        QTest::newRow("report with an apostrophe") << quote.build() << qint16(0) << 1 << quoted.call() << QStringList();
    }

    void walk()
    {
        QFETCH(QString, message);
        QFETCH(qint16, woSP);
        QFETCH(int, chkRIS);
        QFETCH(QString, procedureCall);
        QFETCH(QStringList, flagCalls);
        SetWithoutSPState(woSP);
        gblChkRIS = qint16(chkRIS);

        qint16 hmode = -7;
        QVERIFY(HandleInput(message, hmode));

        const QStringList calls = m_hospital->recorder->matching(kProcedure);
        if (procedureCall.isEmpty()) {
            QVERIFY2(calls.isEmpty(), qPrintable(calls.join(u'\n')));
            QVERIFY(gblRequestNum.isEmpty());
        } else {
            QCOMPARE(calls, QStringList{procedureCall});
            QCOMPARE(hmode, qint16(0));
            QVERIFY(!gblRequestNum.isEmpty());
        }
        QCOMPARE(m_hospital->recorder->matching(kInsFlag), flagCalls);
        QVERIFY(MessageDef::instance().input.NTE[3].isEmpty());
    }

    // The procedure stores the result in the request's tables, and the window gets the
    // numbers it files the message under.
    void procedurePathStores()
    {
        qint16 hmode = 0;
        QVERIFY(HandleInput(ResultMessage().build(), hmode));
        QCOMPARE(gblRequestNum, QStringLiteral("10001XR"));
        QCOMPARE(gblHospNum, QStringLiteral("100201"));
        QCOMPARE(m_hospital->value(QStringLiteral("SELECT RadTech FROM Radiology..tbXRResult WHERE RequestNum = '10001'")),
                 QStringLiteral("0460"));
        QCOMPARE(m_hospital->value(QStringLiteral("SELECT SWFin FROM Radiology..tbXRRequest WHERE RequestNum = '10001'")),
                 QStringLiteral("Y"));
    }

    // A message without PV1 must not carry the visit and doctor of the message before it.
    void messageWithoutPV1AfterOneWithPV1()
    {
        qint16 hmode = 0;
        QVERIFY(HandleInput(ResultMessage().build(), hmode));
        ResultMessage noPv1;
        noPv1.pv1.clear();
        Expected e;
        e.idNum.clear();
        e.doctor.clear();
        m_hospital->recorder->statements.clear();
        QVERIFY(HandleInput(noPv1.build(), hmode));
        QCOMPARE(m_hospital->recorder->matching(kProcedure), QStringList{e.call()});
    }

    void failureIsReported()
    {
        m_hospital->recorder->failOn = kProcedure;
        qint16 hmode = 0;
        QVERIFY(!HandleInput(ResultMessage().build(), hmode));
        QVERIFY(gblRequestNum.isEmpty());
        QVERIFY(gblHospNum.isEmpty());
        const QString trace = TraceModel::error().text();
        QVERIFY2(trace.contains(QStringLiteral("HandleInput Simulated failure of the server RADIOLOGY..[spRadio_SaveHL7Result] 'XR'")),
                 qPrintable(trace));
        QVERIFY(MessageBox::instance().text().contains(QStringLiteral("RELAYON HandeInput: ")));
    }

    // A date that is no date stops the message instead of storing garbage.
    void malformedDateFails()
    {
        ResultMessage m;
        m.msh.replace(QStringLiteral("20240105140509"), QStringLiteral("2024130514"));
        qint16 hmode = 0;
        QVERIFY(!HandleInput(m.build(), hmode));
        QVERIFY(m_hospital->recorder->matching(kProcedure).isEmpty());
    }

    // A second message started from an event handler while the first one is walked is
    // refused; the first one goes on undisturbed.
    void secondMessageDuringWalkIsRefused()
    {
        bool inner = true;
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            qint16 h = 0;
            inner = HandleInput(ResultMessage().build(), h);
            ran = true;
        });
        qint16 hmode = 0;
        QVERIFY(HandleInput(ResultMessage().build(), hmode));
        QVERIFY(ran);
        QVERIFY(!inner);
        QCOMPARE(gblRequestNum, QStringLiteral("10001XR"));
        QCOMPARE(m_hospital->recorder->matching(kProcedure).size(), 1);
    }

    void dateTexts_data()
    {
        QTest::addColumn<QString>("hl7");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("exam");
        QTest::newRow("full") << "20240105140509" << "01/05/2024 14:05" << "01/05/2024 14:05:09";
        QTest::newRow("morning hour without leading zero") << "20241231090000" << "12/31/2024 9:00" << "12/31/2024 09:00:00";
        QTest::newRow("date alone is midnight") << "20240105" << "01/05/2024 0:00" << "01/05/2024 00:00:00";
    }
    void dateTexts()
    {
        QFETCH(QString, hl7);
        QFETCH(QString, result);
        QFETCH(QString, exam);
        QCOMPARE(ResultDateText(hl7), result);
        QCOMPARE(ExamDateText(hl7), exam);
    }

private:
    std::unique_ptr<DemoHospital> m_hospital;
};

RELAYON_TEST_MAIN(TestHandleInput)
#include "tst_handleinput.moc"
