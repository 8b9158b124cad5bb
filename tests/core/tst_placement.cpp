// Window placement: the stored top carries the tool bar's height less 200 twips and comes
// back 650 twips higher, so a window saved and restored in place moves 10 twips up.

#include "Settings.h"
#include "TestSupport.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QWidget>
#include <QtTest>

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void saveThenRestoreMovesTenTwipsUp();
    void zeroLeftKeepsDesignedLeft();
};

void TestPlacement::saveThenRestoreMovesTenTwipsUp()
{
    QWidget w;
    w.setWindowTitle("Log");
    w.setGeometry(100, 200, 400, 300);
    SaveWindowPlacement(&w, 840);
    const int top = pixelsToTwips(&w, 200);
    QCOMPARE(ReadSetting(kAppFormPlacement, "WindowSize", "Log Top"), QString::number(top + 640));
    QCOMPARE(ReadSetting(kAppFormPlacement, "WindowSize", "Log Width"), QString::number(pixelsToTwips(&w, 400)));
    QCOMPARE(ReadSetting(kAppFormPlacement, "WindowSize", "Log WinState"), QString("0"));

    QWidget again;
    again.setWindowTitle("Log");
    again.setGeometry(0, 0, 50, 50);
    RestoreWindowPlacement(&again);
    QCOMPARE(again.geometry(), QRect(100, twipsToPixels(&w, top - 10), 400, 300));
}

void TestPlacement::zeroLeftKeepsDesignedLeft()
{
    WriteSetting(kAppFormPlacement, "WindowSize", "Error Log Left", "0");
    WriteSetting(kAppFormPlacement, "WindowSize", "Error Log Width", "abc"); // counts as 0
    QWidget w;
    w.setWindowTitle("Error Log");
    w.setGeometry(30, 40, 200, 100);
    RestoreWindowPlacement(&w);
    QCOMPARE(w.geometry(), QRect(30, 40, 200, 100));
}

RELAYON_TEST_MAIN(TestPlacement)
#include "tst_placement.moc"
