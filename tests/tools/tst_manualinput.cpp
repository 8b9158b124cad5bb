// The "Handle Input" window: a message typed or in a file pushed through the intake by hand.

#include "HandleInputWindow.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestManualInput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingFileIsCreatedEmptyAndAccepted();
    void typedMessageLosesLineFeedsAndApostrophes();
    void invalidPathShowsTheErrorAndProcessesNothing();

private:
    std::unique_ptr<HandleInputWindow> m_window;
    QStringList m_boxes;
    QStringList m_handled;
    QTemporaryDir m_dir;
};

void TestManualInput::init()
{
    m_boxes.clear();
    m_handled.clear();
    m_window = std::make_unique<HandleInputWindow>();
    m_window->showBox = [this](const QString &t) { m_boxes << t; };
    m_window->engine().handleInput = [this](const QString &t) {
        m_handled << t;
        return !t.contains("FAIL");
    };
}

void TestManualInput::missingFileIsCreatedEmptyAndAccepted()
{
    QCOMPARE(m_window->txtFname()->text(), QDir(QDir::tempPath()).filePath("temp.hl7"));
    const QString path = m_dir.filePath("none.hl7");
    m_window->txtFname()->setText(path);
    m_window->cmdProcessFile()->click();
    QVERIFY(QFile::exists(path));
    QCOMPARE(m_handled, QStringList{""});
    QCOMPARE(m_boxes, QStringList{"OK"});
}

void TestManualInput::typedMessageLosesLineFeedsAndApostrophes()
{
    const QString path = m_dir.filePath("typed.hl7");
    m_window->txtFname()->setText(path);
    m_window->txtInput()->setPlainText("MSH|A\r\nOBX|1|TX|||O'Brien\r\nOBX|2|TX|||FAIL");
    m_window->cmdProcess()->click();
    QCOMPARE(m_handled, QStringList{"MSH|A\rOBX|1|TX|||O`Brien\rOBX|2|TX|||FAIL\r"});
    QCOMPARE(m_boxes, QStringList{"Fail"});
}

void TestManualInput::invalidPathShowsTheErrorAndProcessesNothing()
{
    m_window->txtFname()->setText(m_dir.filePath("no/such/dir/x.hl7"));
    m_window->txtInput()->setPlainText("MSH|A");
    m_window->cmdProcess()->click();
    QVERIFY(m_handled.isEmpty());
    QCOMPARE(m_boxes.size(), 1);
    QVERIFY2(m_boxes[0].contains("x.hl7"), qPrintable(m_boxes[0]));
}

RELAYON_TEST_MAIN(TestManualInput)
#include "tst_manualinput.moc"
