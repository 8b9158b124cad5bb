// The HL7 file writers in temporary directories: replaced request files with dated and
// displaced backups, failures, the directory-list branch, and result files that never
// replace one another.

#include "CommLog.h"
#include "Globals.h"
#include "HL7Files.h"
#include "ServerMonitor.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QDateTime g_now;

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool shown(const QString &line)
{
    return MessageBox::instance().lines().contains(line);
}

bool traced(const QString &text)
{
    for (const QString &line : TraceModel::log().lines())
        if (line.endsWith(u' ' + text))
            return true;
    return false;
}

QString errorLog()
{
    return QString::fromLatin1(readFile(commLogFile(kLogError)));
}

const QString kOrder1 = "MSH|^~\\&|KALDRA|||RIS|20240105140509||ORM^O01|1|P|2.3\r\nPID|1||H001||O'BRIEN^JOS\u00c9";
const QString kOrder2 = "MSH|^~\\&|KALDRA|||RIS|20240105140610||ORM^O01|2|P|2.3\r\nPID|1||H001||O'BRIEN^JOSE";

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newOrderReplacedWithDisplacedBackups();
    void editRequestDatedBackups();
    void missingBackupFolderFails_data();
    void missingBackupFolderFails();
    void emptyRequestDirectoryWritesNothing_data();
    void emptyRequestDirectoryWritesNothing();
    void directoryList();
    void resultFilesNeverReplaceEachOther();
    void resultFileFallsBackToProgramDirectory();

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_requests, m_moveBase, m_results;
};

void TestFiles::initTestCase()
{
    setHL7FileClock([] { return g_now; });
}

void TestFiles::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QDir root(m_tmp->path());
    for (const char *d : {"requests", "move/bak", "results"})
        QVERIFY(root.mkpath(d));
    m_requests = root.filePath("requests");
    m_moveBase = root.filePath("move");
    m_results = root.filePath("results");
    gblRequestDir = m_requests;
    gblMoveFileDir = m_moveBase;
    gblResultDir = m_results;
    gblAutoReconnect = false;
    g_now = QDateTime(QDate(2024, 1, 5), QTime(14, 5, 9));
    MessageBox::instance().clear();
    TraceModel::log().clear();
    SetTraceEnabled(false);
    QFile::remove(commLogFile(kLogError));
}

void TestFiles::cleanup()
{
    ServerMonitor::instance().Show_Warning_Symbol(false);
}

void TestFiles::newOrderReplacedWithDisplacedBackups()
{
    SetTraceEnabled(true);
    gblGenerateFailed = true;
    GenerateHL7File(kOrder1, "R001", gblRequestDir, "", "");
    QVERIFY(!gblGenerateFailed);
    g_now = g_now.addSecs(61);
    GenerateHL7File(kOrder2, "R001", gblRequestDir, "", "");
    // A third order in the same second does not lose the second's backup.
    const QString order3 = kOrder2 + "\r\nNTE|1||third";
    GenerateHL7File(order3, "R001", gblRequestDir, "", "");
    QVERIFY(!gblGenerateFailed);

    // Latin-1, and the message's own last characters followed by CR LF.
    QCOMPARE(readFile(QDir(m_requests).filePath("R001.hl7")), order3.toLatin1() + "\r\n");
    QCOMPARE(filesIn(m_requests), QStringList{"R001.hl7"}); // no temporary file left
    const QDir bak(QDir(m_moveBase).filePath("bak"));
    QCOMPARE(filesIn(bak.path()),
             (QStringList{"R001.hl7", "R0012024 01 05 14 06 10-1.hl7", "R0012024 01 05 14 06 10.hl7"}));
    QCOMPARE(readFile(bak.filePath("R0012024 01 05 14 06 10.hl7")), kOrder1.toLatin1() + "\r\n");
    QVERIFY(readFile(bak.filePath("R0012024 01 05 14 06 10.hl7")).contains("JOS\xc9"));
    QCOMPARE(readFile(bak.filePath("R0012024 01 05 14 06 10-1.hl7")), kOrder2.toLatin1() + "\r\n");
    QCOMPARE(readFile(bak.filePath("R001.hl7")), order3.toLatin1() + "\r\n");

    QVERIFY(shown("RELAYON:  Successfully Generated - > " + QDir(m_requests).filePath("R001.hl7")));
    QVERIFY(shown("RELAYON:  PID|1||H001||O'BRIEN^JOSE<CR>")); // the message itself, shown line by line
    QVERIFY(traced("GenerateHL7File SUB gblRequestDir " + m_requests));
    QVERIFY(traced("GenerateHL7File From Local "));
}

void TestFiles::editRequestDatedBackups()
{
    gblEditGenerateFailed = true;
    GenerateEditHL7File(kOrder1, "E002", gblRequestDir, "", "");
    QVERIFY(!gblEditGenerateFailed);
    g_now = g_now.addSecs(61);
    GenerateEditHL7File(kOrder2, "E002", gblRequestDir, "", "");
    QVERIFY(!gblEditGenerateFailed);

    QCOMPARE(readFile(QDir(m_requests).filePath("E002.hl7")), kOrder2.toLatin1() + "\r\n");
    const QDir folder(QDir(m_moveBase).filePath("bak/2024 01 05"));
    QCOMPARE(filesIn(folder.path()), (QStringList{"edit request E002 .hl7", "edit request E002 2024 01 05 14 06 10.hl7"}));
    QCOMPARE(readFile(folder.filePath("edit request E002 .hl7")), kOrder2.toLatin1() + "\r\n");
    QCOMPARE(readFile(folder.filePath("edit request E002 2024 01 05 14 06 10.hl7")), kOrder1.toLatin1() + "\r\n");
    // Traced whatever the Trace box says.
    QVERIFY(traced("Bak File already exists " + folder.filePath("edit request E002 .hl7")));
    QVERIFY(shown("RELAYON:  Successfully Generated - > " + QDir(m_requests).filePath("E002.hl7")));
}

void TestFiles::missingBackupFolderFails_data()
{
    QTest::addColumn<bool>("edit");
    QTest::newRow("new order") << false;
    QTest::newRow("edit request") << true;
}

void TestFiles::missingBackupFolderFails()
{
    QFETCH(bool, edit);
    QVERIFY(QDir(m_moveBase).rmdir("bak"));
    bool &failed = edit ? gblEditGenerateFailed : gblGenerateFailed;
    failed = false;
    (edit ? GenerateEditHL7File : GenerateHL7File)(kOrder1, "R003", gblRequestDir, "", "");

    // The request file was written; the call still counts as failed, so the feed writes it again.
    QCOMPARE(readFile(QDir(m_requests).filePath("R003.hl7")), kOrder1.toLatin1() + "\r\n");
    QVERIFY(failed);
    const QStringList lines = MessageBox::instance().lines();
    const auto error = std::find_if(lines.begin(), lines.end(), [](const QString &l) {
        return l.startsWith("RELAYON:  Error Generating HL7 File: ");
    });
    QVERIFY(error != lines.end());
    const QString description = error->mid(QString("RELAYON:  Error Generating HL7 File: ").size());
    QVERIFY(!description.isEmpty());
    QVERIFY(errorLog().contains("Sender: RadiologyHL7\r\nReceiver: RadiologyHL7\r\nType: 3\r\nSocket: RadiologyHL7\r\n"));
    QVERIFY(errorLog().contains(description));
    QVERIFY(ServerMonitor::instance().warningVisible());
}

void TestFiles::emptyRequestDirectoryWritesNothing_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("flag");
    QTest::newRow("new order, flag set") << false << true;
    QTest::newRow("new order, flag clear") << false << false;
    QTest::newRow("edit request, flag set") << true << true;
    QTest::newRow("edit request, flag clear") << true << false;
}

void TestFiles::emptyRequestDirectoryWritesNothing()
{
    QFETCH(bool, edit);
    QFETCH(bool, flag);
    gblRequestDir = "  ";
    bool &failed = edit ? gblEditGenerateFailed : gblGenerateFailed;
    failed = flag;
    (edit ? GenerateEditHL7File : GenerateHL7File)(kOrder1, "R004", gblRequestDir, "", "");
    QCOMPARE(failed, flag);
    QCOMPARE(filesIn(m_requests), QStringList{});
    QCOMPARE(filesIn(QDir(m_moveBase).filePath("bak")), QStringList{});
    QVERIFY(MessageBox::instance().lines().isEmpty());
}

void TestFiles::directoryList()
{
    // Without a request directory the list's directories get the file: appended for new
    // orders, replaced for edit requests.
    gblRequestDir.clear();
    QDir root(m_tmp->path());
    QVERIFY(root.mkpath("a") && root.mkpath("b"));
    const QString list = root.filePath("a") + "||" + root.filePath("b");
    GenerateHL7File("ONE", "L1", list, "", "");
    GenerateHL7File("TWO", "L1", list, "", "");
    GenerateEditHL7File("ONE", "L2", list, "", "");
    GenerateEditHL7File("TWO", "L2", list, "", "");
    for (const char *d : {"a", "b"}) {
        QCOMPARE(readFile(QDir(root.filePath(d)).filePath("L1.hl7")), QByteArray("ONE\r\nTWO\r\n"));
        QCOMPARE(readFile(QDir(root.filePath(d)).filePath("L2.hl7")), QByteArray("TWO\r\n"));
        QCOMPARE(filesIn(root.filePath(d)), (QStringList{"L1.hl7", "L2.hl7"}));
    }
    QCOMPARE(filesIn(QDir(m_moveBase).filePath("bak")), QStringList{});
}

void TestFiles::resultFilesNeverReplaceEachOther()
{
    const QString msg = "\vMSH|^~\\&|LAB|||||20240105||ORU^R01|C1|P|2.3\rOBX|1|NM|GLU||5.5|\u00b5mol\r\x1c\r";
    SaveResultHL7File(msg, "C1");
    SaveResultHL7File(msg + "second", "C1");
    SaveResultHL7File(msg + "third", "C1");
    SaveResultHL7File(msg, "");
    SaveResultHL7File(msg, "../x/y");

    QCOMPARE(filesIn(m_results), (QStringList{"01052024140509-.._x_y.hl7", "01052024140509-.hl7",
                                              "01052024140509-C1-1.hl7", "01052024140509-C1-2.hl7",
                                              "01052024140509-C1.hl7"}));
    const QDir dir(m_results);
    QCOMPARE(readFile(dir.filePath("01052024140509-C1.hl7")), msg.toLatin1() + "\r\n");
    QVERIFY(readFile(dir.filePath("01052024140509-C1.hl7")).contains("|\xb5mol"));
    QCOMPARE(readFile(dir.filePath("01052024140509-C1-1.hl7")), (msg + "second").toLatin1() + "\r\n");
    QCOMPARE(readFile(dir.filePath("01052024140509-C1-2.hl7")), (msg + "third").toLatin1() + "\r\n");
    QVERIFY(shown("RELAYON:  Successfully Generated - > " + dir.filePath("01052024140509-C1-2.hl7")));
}

void TestFiles::resultFileFallsBackToProgramDirectory()
{
    gblResultDir = QDir(m_tmp->path()).filePath("no such directory");
    g_now = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58));
    SaveResultHL7File("MSH|x", "C9");
    const QString path = QDir(programDirectory()).filePath("12312024235958-C9.hl7");
    QCOMPARE(readFile(path), QByteArray("MSH|x\r\n"));
    QVERIFY(QFile::remove(path));

    // A result directory that cannot be written (not even by root) is reported, not thrown.
    gblResultDir = "/proc";
    SaveResultHL7File("MSH|x", "C9");
    QVERIFY(std::any_of(MessageBox::instance().lines().begin(), MessageBox::instance().lines().end(),
                        [](const QString &l) { return l.startsWith("RELAYON:  Error Generating HL7 File: "); }));
    QVERIFY(errorLog().contains("Sender: RELAYON\r\nReceiver: RELAYON\r\nType: 3\r\n"));
}

RELAYON_CORE_TEST_MAIN(TestFiles)
#include "tst_files.moc"
