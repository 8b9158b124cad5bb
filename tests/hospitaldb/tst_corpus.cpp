// Every statement the program sends, filled with sample values, runs through the translator
// against a fresh demo hospital. A typo in a column name fails here, not in a hospital.

#include "Hospital.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestCorpus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void statement_data();
    void statement();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<hospitaldb::Hospital> m_hospital;
};

void TestCorpus::initTestCase()
{
    QVERIFY(m_dir.isValid());
    hospitaldb::Hospital::create(m_dir.path(), true);
    m_hospital = std::make_unique<hospitaldb::Hospital>(m_dir.path());
}

void TestCorpus::statement_data()
{
    QTest::addColumn<QString>("sql");
    const QDir corpus(QStringLiteral(RELAYON_FIXTURES "/corpus"));
    const QStringList files = corpus.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    int total = 0;
    for (const QString &name : files) {
        QFile f(corpus.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(f.fileName()));
        int lineNo = 0;
        // The corpus files are UTF-8; statements keep Latin-1 letters as the program sends them.
        for (const QByteArray &raw : f.readAll().split('\n')) {
            ++lineNo;
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.isEmpty() || line.startsWith(QStringLiteral("--")))
                continue;
            QTest::newRow(qPrintable(name + u':' + QString::number(lineNo))) << line;
            ++total;
        }
    }
    if (total == 0)
        QTest::newRow("no corpus") << QString();
}

void TestCorpus::statement()
{
    QFETCH(QString, sql);
    if (sql.isEmpty())
        QSKIP("no statements in the corpus");
    // Each statement runs in a transaction that is rolled back, so that the statements see the
    // demo hospital as it was created, whatever the ones before them changed.
    m_hospital->beginTransaction();
    try {
        m_hospital->run(sql);
    } catch (const hospitaldb::SqlError &e) {
        m_hospital->rollback();
        QFAIL(qPrintable(e.description() + QStringLiteral("\n   statement: ") + sql));
    }
    m_hospital->rollback();
}

RELAYON_CORE_TEST_MAIN(TestCorpus)
#include "tst_corpus.moc"
