// The "HL7 Order Generator" window on the demo hospital: captions and defaults, and its
// controls driving the engine.

#include "OrdersFixture.h"
#include "TestSupport.h"
#include "frmBrowse.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

class TestFrmBrowse : public QObject {
    Q_OBJECT
private slots:
    void captionsAndDefaults();
    void searchShowAndGenerate();
};

void TestFrmBrowse::captionsAndDefaults()
{
    DemoHospital h;
    frmBrowse w;
    w.show();
    QCOMPARE(w.windowTitle(), QString("HL7 Order Generator"));
    QCOMPARE(w.cmdStart->toolTip(), QString("Start Generatre Timer"));
    QVERIFY(!w.cmdStop->isVisible());
    QCOMPARE(w.lblAAAS->text(), QString("Autostarting (click to STOP)"));
    QCOMPARE(w.lblAutoStart->text(), QString("10"));
    QVERIFY(w.cmdSearch->isDefault());
    QVERIFY(w.optDone[0]->isChecked());
    QVERIFY(w.chkPast24Hrs->isChecked());
    QCOMPARE(w.chkTop100->text(), QString("top 10"));
    QCOMPARE(w.Text1->toPlainText(), QString("X=Pending\nY=W/Result\nC=Cancelled\n(blank)=Pending"));
    QVERIFY(w.engine().tmrAS.isActive());
    QCOMPARE(w.engine().tmrAS.interval(), 1000);
    QCOMPARE(w.engine().Timer1.interval(), 60000);
    QCOMPARE(w.Grid1->horizontalHeaderItem(8)->text(), QString("Table"));
    // A click on the countdown label stops the autostart.
    QTest::mouseClick(w.lblAAAS, Qt::LeftButton);
    QVERIFY(!w.engine().tmrAS.isActive());
    QVERIFY(!w.lblAAAS->isVisible());
}

void TestFrmBrowse::searchShowAndGenerate()
{
    DemoHospital h;
    frmBrowse w;
    w.show();
    w.engine().stopAutostart();
    w.txtRevenueID->setText("US");
    w.cmdSearch->click();
    QVERIFY(w.Grid1->rowCount() > 0);
    QCOMPARE(w.lblCount->text(), QString::number(w.Grid1->rowCount()));
    QTest::mouseClick(w.Grid1->viewport(), Qt::LeftButton, {},
                      w.Grid1->visualRect(w.Grid1->model()->index(0, 1)).center());
    QCOMPARE(w.engine().currentRow(), 0);
    QCOMPARE(w.Grid1->item(0, 1)->background().color(), QColor(0xAA, 0xBB, 0xEE));
    w.cmdShowHL7->click();
    QVERIFY(w.txtHL7->toPlainText().startsWith("MSH|"));
    QVERIFY(!w.txtFName->text().isEmpty());
    QVERIFY(h.files().isEmpty());
    w.cmdGenerateHL7->click();
    QCOMPARE(h.files(), QStringList{w.txtFName->text() + ".hl7"});
}

RELAYON_TEST_MAIN(TestFrmBrowse)
#include "tst_frmbrowse.moc"
