// Result intake through the message window's polls, on a demo hospital.
//
// (a) Throughput: result files per second through MessagePolls::ReadHL7File, once with the
//     stored procedure ("w/o SP" unchecked) and once with direct storage ("w/o SP" checked),
//     each on a fresh hospital. The files are the demo RIS's replies to the order messages of
//     the hospital's requests, several per request (a later result updates the earlier one),
//     all in the result directory with a modification time 5 s old, so they are stable.
// (b) Latency: file mode polls running (StartTimers: timers and the directory watch), one file
//     renamed into the result directory every 50 ms; for each, the time from its rename until
//     HandleInput has stored (committed) its result. Median and 99th percentile.
//
//   build/bin/bench_results [files per storage path] [latency files]   (default 5000 1000)

#include "CommLog.h"
#include "Database.h"
#include "DemoRis.h"
#include "Globals.h"
#include "Hospital.h"
#include "MessagePolls.h"
#include "OrderGenerator.h"
#include "OrderMessage.h"
#include "ResultIntake.h"
#include "RevenueTable.h"
#include "Settings.h"
#include "UserSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

QTextStream out(stdout);

struct ResultFile {
    QString name;
    QByteArray bytes;
};

// A demo hospital signed in as the demo operator, with the result, request, completed and
// filing directories in the same temporary directory.
struct Site {
    QTemporaryDir tmp;
    QString results, requests, completed, moved;

    Site()
    {
        tmp.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_KEEP"));
        const QString hospital = QDir(tmp.path()).filePath(QStringLiteral("hospital"));
        QDir().mkpath(hospital);
        hospitaldb::Hospital::create(hospital, true);
        WriteSetting(kAppCurrentUser, QStringLiteral("Connection"), QStringLiteral("Server"), hospital);
        gblUser = std::make_unique<UserSession>();
        gblUser->LoginUser(QStringLiteral("operator"), QStringLiteral("relayon"));
        if (!gblUser->Connected())
            qFatal("demo sign-in failed: %s", qPrintable(gblUser->lastError()));
        loadRevenueTable(gblUser->SQLConnection(), false);
        results = QDir(tmp.path()).filePath(QStringLiteral("results"));
        requests = QDir(tmp.path()).filePath(QStringLiteral("requests"));
        completed = QDir(tmp.path()).filePath(QStringLiteral("completed"));
        moved = QDir(tmp.path()).filePath(QStringLiteral("moved"));
        for (const QString &d : {results, requests, completed, moved})
            QDir().mkpath(d);
        gblResultDir = results;
        gblRequestDir = requests;
        gblCompletedDir = completed;
        gblMoveFileDir = moved;
        gblMoveFile = true;
        gblStopProcessing = false;
        SetTraceEnabled(false);
    }
    ~Site() { gblUser.reset(); }

    Connection *db() const { return gblUser->SQLConnection(); }

    // The order messages of every request that is not cancelled, as the order generator
    // builds them.
    QList<QByteArray> orders() const
    {
        RequestSearch s;
        s.status = RequestSearch::All;
        s.past24Hrs = false;
        s.top10 = false;
        const Recordset rs = db()->open(searchRequestsStatement(gblRevenues, s));
        QList<QByteArray> orders;
        for (int r = 0; r < rs.recordCount(); ++r) {
            const OrderRequestRow row{rs.text(r, OrderGenerator::ColRevenueID), rs.text(r, OrderGenerator::ColHospNum),
                                      rs.text(r, OrderGenerator::ColIDNum), rs.text(r, OrderGenerator::ColRefNum),
                                      rs.text(r, OrderGenerator::ColRequestNum), rs.text(r, OrderGenerator::ColSWFin),
                                      rs.text(r, OrderGenerator::ColTable)};
            if (row.RequestNum.isEmpty() || row.SWFin == u"C")
                continue;
            OrderResults results;
            gblSkipHL7 = false;
            GetHL7(db(), row, {}, results);
            if (!gblSkipHL7 && !results.HL7.isEmpty())
                orders << results.HL7.toLatin1();
        }
        if (orders.isEmpty())
            qFatal("no order message could be built");
        return orders;
    }

    // count result files, round robin over the requests, each with its own time (a later
    // result of a request carries a later time).
    QList<ResultFile> resultFiles(int count) const
    {
        const QList<QByteArray> order = orders();
        const QDateTime base = QDateTime::currentDateTime().addSecs(-count - 3600);
        QList<ResultFile> files;
        for (int i = 0; i < count; ++i) {
            const hospitaldb::DemoRisReply r =
                hospitaldb::demoRisReplies(order.at(i % order.size()), base.addSecs(i), i);
            if (r.cancelled || r.result.isEmpty())
                qFatal("the demo RIS gave no result");
            // Several results for one request: the sequence keeps the names apart and in order.
            files << ResultFile{QStringLiteral("%1-%2").arg(i, 6, 10, QLatin1Char('0')).arg(r.name), r.result};
        }
        return files;
    }

    // Result rows, and those holding the demo RIS's report.
    QPair<int, int> resultRows() const
    {
        int rows = 0, reports = 0;
        QSet<QString> seen; // a table shared by several revenues counts once
        for (const RevenueInfo &rev : std::as_const(gblRevenues)) {
            if (rev.ResultTableName.isEmpty() || seen.contains(rev.ResultTableName.toUpper()))
                continue;
            seen.insert(rev.ResultTableName.toUpper());
            const QString sql = QStringLiteral("SELECT RequestNum FROM Radiology..") + rev.ResultTableName;
            rows += db()->open(sql).recordCount();
            reports += db()->open(sql + QStringLiteral(" WHERE Interpretation LIKE '%No acute abnormality%'")).recordCount();
        }
        return {rows, reports};
    }
};

// The polls wired as the message window wires them; done sees each HandleInput's outcome.
void wire(MessagePolls &polls, const std::function<void(const QString &, bool)> &done = {})
{
    polls.handleInput = [done](const QString &text) {
        qint16 mode = 0; // HandleInput takes the state of "w/o SP"
        const bool ok = HandleInput(text, mode);
        if (done)
            done(text, ok);
        return ok;
    };
    polls.lastResult = [](QString &hospNum, QString &patientName, QString &requestNum) {
        hospNum = gblHospNum;
        patientName = gblPatientName;
        requestNum = gblRequestNum;
    };
}

void throughput(const char *label, qint16 withoutSP, int count)
{
    Site site;
    SetWithoutSPState(withoutSP);
    const QList<ResultFile> files = site.resultFiles(count);
    const QDateTime old = QDateTime::currentDateTime().addSecs(-5);
    for (const ResultFile &f : files) {
        QFile file(QDir(site.results).filePath(f.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(f.bytes) != f.bytes.size() || !file.flush()
            || !file.setFileTime(old, QFileDevice::FileModificationTime))
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
    const QPair<int, int> before = site.resultRows();
    int handled = 0, failed = 0;
    MessagePolls polls;
    polls.tmrStart.stop();
    wire(polls, [&](const QString &, bool ok) { ok ? ++handled : ++failed; });

    QElapsedTimer t;
    t.start();
    polls.ReadHL7File();
    const double s = t.nsecsElapsed() / 1e9;

    const QPair<int, int> after = site.resultRows();
    const int left = int(QDir(site.results).entryList({QStringLiteral("*.hl7")}, QDir::Files).size());
    const int failedDir = int(QDir(QDir(site.results).filePath(QStringLiteral("failed"))).entryList(QDir::Files).size());
    // Filed under "hospital number, patient name, request number" only when a result was stored.
    int byPatient = 0, byOwnName = 0;
    for (const QString &day : QDir(site.moved).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &name : QDir(QDir(site.moved).filePath(day)).entryList(QDir::Files))
            name.endsWith(QStringLiteral(".HL7"), Qt::CaseSensitive) ? ++byPatient : ++byOwnName;
    out << label << ": " << QString::number((handled + failed) / s, 'f', 1) << " files/s (" << handled + failed
        << " files in " << QString::number(s, 'f', 2) << " s)" << Qt::endl
        << "    HandleInput true " << handled << ", false " << failed << "; " << failedDir << " in failed/, " << left
        << " left; result rows " << before.first << " -> " << after.first << ", with the RIS report " << before.second
        << " -> " << after.second << "; filed as patient " << byPatient << ", under own name " << byOwnName
        << Qt::endl;
}

void latency(int count)
{
    Site site;
    SetWithoutSPState(1);
    gblConnectionMode = true;
    const QList<ResultFile> files = site.resultFiles(count);
    // The text HandleInput receives, to tell which file it was given.
    QHash<QString, int> byText;
    for (int i = 0; i < files.size(); ++i) {
        QString text = QString::fromLatin1(files[i].bytes);
        text.remove(QChar(10));
        text.replace(QChar(39), QChar(96));
        byText.insert(text, i);
    }
    if (byText.size() != files.size())
        qFatal("result texts are not unique");

    QElapsedTimer clock;
    clock.start();
    QList<qint64> renamed(count, -1), stored(count, -1);
    int done = 0, failed = 0;
    QEventLoop loop;
    MessagePolls polls;
    wire(polls, [&](const QString &text, bool ok) {
        const int i = byText.value(text, -1);
        if (i < 0 || !ok) {
            ++failed;
        } else if (stored[i] < 0) {
            stored[i] = clock.nsecsElapsed();
            ++done;
        }
        if (done + failed >= count)
            loop.quit();
    });
    if (!polls.StartTimers())
        qFatal("the polls did not start");

    int next = 0;
    QTimer dropper;
    dropper.setInterval(50);
    QObject::connect(&dropper, &QTimer::timeout, [&] {
        if (next >= count) {
            dropper.stop();
            return;
        }
        const ResultFile &f = files.at(next);
        const QString path = QDir(site.results).filePath(f.name);
        QFile part(path + QStringLiteral(".part"));
        if (!part.open(QIODevice::WriteOnly) || part.write(f.bytes) != f.bytes.size())
            qFatal("cannot write %s", qPrintable(part.fileName()));
        part.close();
        renamed[next] = clock.nsecsElapsed();
        if (!QFile::rename(part.fileName(), path))
            qFatal("cannot rename %s", qPrintable(part.fileName()));
        ++next;
    });
    dropper.start();
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(count * 50 + 60000);
    loop.exec();
    polls.stop();

    QList<double> ms;
    for (int i = 0; i < count; ++i)
        if (renamed[i] >= 0 && stored[i] >= 0)
            ms << (stored[i] - renamed[i]) / 1e6;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms.isEmpty() ? 0.0 : ms.at(std::min<qsizetype>(ms.size() - 1, qsizetype(q * ms.size()))); };
    out << "latency (direct storage, one file every 50 ms): " << ms.size() << " of " << count << " stored, " << failed
        << " failed; rename to stored: median " << QString::number(at(0.5), 'f', 1) << " ms, 99th percentile "
        << QString::number(at(0.99), 'f', 1) << " ms, min " << QString::number(ms.value(0), 'f', 1) << " ms, max "
        << QString::number(ms.isEmpty() ? 0 : ms.last(), 'f', 1) << " ms" << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    // Settings, logs and data of this run stay in a temporary home.
    QTemporaryDir home;
    for (const char *v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(v, (home.path() + u'/' + QLatin1String(v)).toLocal8Bit());
    QCoreApplication app(argc, argv);
    const int perPath = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5000;
    const int latencyFiles = argc > 2 ? std::max(0, QString::fromLocal8Bit(argv[2]).toInt()) : 1000;

    out << "result intake, " << perPath << " files per storage path" << Qt::endl;
    throughput("stored procedure (w/o SP unchecked)", 0, perPath);
    throughput("direct storage   (w/o SP checked)  ", 1, perPath);
    if (latencyFiles)
        latency(latencyFiles);
    return 0;
}
