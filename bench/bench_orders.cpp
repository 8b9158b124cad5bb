// Orders per second through the order generator's cycle: a demo hospital whose pending
// radiology requests are copied (same patient, visit, doctor, examination and nurse log book
// entry, new request numbers) until about N requests are pending, then cycles are run until
// none is left. Once with the main window's trace off and once, on a fresh hospital, with it
// on. Order files and backups go to temporary directories.
//
//   build/bin/bench_orders [requests]     (default 10000)

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "Hospital.h"
#include "OrderGenerator.h"
#include "RevenueTable.h"
#include "Settings.h"
#include "UserSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <memory>

namespace {

QTextStream out(stdout);

const QStringList kRequestTables = {"tbXRRequest", "tbUlRequest", "tbOBULRequest", "tbCTRequest",
                                    "tbMRIRequest", "tbMammoMaster", "tbNUCMaster", "tbRequestMaster"};

// The rows the generator's default listing takes: a request number, no HL7 status, within
// the last 24 hours, and not cancelled (a cancelled row goes out as a cancel message).
QString pendingWhere(bool hasSWFin)
{
    return QStringLiteral(" WHERE RequestNum <> '' AND (StatusHl7 = '' OR StatusHl7 IS NULL)"
                          " AND TransDate > strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime', '-1 day')")
        + (hasSWFin ? QStringLiteral(" AND IFNULL(SWFin, '') <> 'C'") : QString());
}

// Copies the pending demo requests until about target requests are pending; returns the
// number pending.
int addPendingRequests(const QString &dir, int target)
{
    hospitaldb::Hospital h(dir);
    struct Table {
        QString name;
        QStringList columns;
        bool hasSWFin;
        int pending;
    };
    QList<Table> tables;
    int pending = 0;
    for (const QString &name : kRequestTables) {
        Table t{name, {}, false, 0};
        for (const QVariantList &row : h.query(QStringLiteral("PRAGMA Radiology.table_info(") + name + u')').rows) {
            const QString column = row.value(1).toString();
            if (column.compare(QLatin1String("RequestID"), Qt::CaseInsensitive) == 0)
                continue; // the key numbers itself
            t.columns << column;
            t.hasSWFin = t.hasSWFin || column.compare(QLatin1String("SWFin"), Qt::CaseInsensitive) == 0;
        }
        t.pending = h.query(QStringLiteral("SELECT COUNT(*) FROM Radiology.") + name + pendingWhere(t.hasSWFin))
                        .rows.value(0).value(0).toInt();
        pending += t.pending;
        tables << t;
    }
    if (pending == 0)
        qFatal("the demo hospital has no pending request");
    const int copies = std::max(0, int(std::lround(double(target - pending) / pending)));
    h.beginTransaction();
    for (const Table &t : std::as_const(tables)) {
        if (!t.pending)
            continue;
        QStringList quoted, selected;
        for (const QString &c : t.columns) {
            quoted << u'[' + c + u']';
            // A new number per copy: seven digits of copy number before the demo number.
            selected << (c.compare(QLatin1String("RequestNum"), Qt::CaseInsensitive) == 0
                             ? QStringLiteral("printf('%07d', 5000000 + k.n) || r.RequestNum")
                             : QStringLiteral("r.[") + c + u']');
        }
        h.exec(QStringLiteral("WITH RECURSIVE k(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM k WHERE n < ?) "
                              "INSERT INTO Radiology.")
                   + t.name + u'(' + quoted.join(u',') + QStringLiteral(") SELECT ") + selected.join(u',')
                   + QStringLiteral(" FROM k, (SELECT * FROM Radiology.") + t.name + pendingWhere(t.hasSWFin)
                   + QStringLiteral(") AS r"),
               {copies});
    }
    h.commit();
    return pending * (copies + 1);
}

int pendingRequests(Connection *db)
{
    RequestSearch s;
    s.top10 = false;
    return db->open(searchRequestsStatement(gblRevenues, s)).recordCount();
}

struct Run {
    int pendingBefore = 0;
    int pendingAfter = 0;
    int cycles = 0;
    int passes = 0;
    int files = 0;
    double seconds = 0;
};

Run runOnFreshHospital(int target, bool trace)
{
    QTemporaryDir tmp;
    const QString hospital = QDir(tmp.path()).filePath(QStringLiteral("hospital"));
    QDir().mkpath(hospital);
    hospitaldb::Hospital::create(hospital, true);
    addPendingRequests(hospital, target);

    WriteSetting(kAppCurrentUser, QStringLiteral("Connection"), QStringLiteral("Server"), hospital);
    gblUser = std::make_unique<UserSession>();
    gblUser->LoginUser(QStringLiteral("operator"), QStringLiteral("relayon"));
    if (!gblUser->Connected())
        qFatal("demo sign-in failed: %s", qPrintable(gblUser->lastError()));
    loadRevenueTable(gblUser->SQLConnection(), false);
    gblRequestDir = QDir(tmp.path()).filePath(QStringLiteral("requests"));
    gblMoveFileDir = QDir(tmp.path()).filePath(QStringLiteral("move"));
    QDir().mkpath(gblRequestDir);
    QDir().mkpath(QDir(gblMoveFileDir).filePath(QStringLiteral("bak")));
    gblStopProcessing = false;
    TraceModel::log().clear();
    SetTraceEnabled(trace);

    Run r;
    r.pendingBefore = pendingRequests(gblUser->SQLConnection());
    {
        OrderGenerator gen;
        QElapsedTimer t;
        t.start();
        // A cycle repeats its passes while they make progress; a further cycle only when one
        // ended with requests left (it should not).
        do {
            gen.runCycle();
            ++r.cycles;
            r.passes += gen.lastCyclePasses();
            r.pendingAfter = pendingRequests(gblUser->SQLConnection());
        } while (r.pendingAfter > 0 && r.cycles < 5);
        r.seconds = t.nsecsElapsed() / 1e9;
    }
    r.files = int(QDir(gblRequestDir).entryList({QStringLiteral("*.hl7")}, QDir::Files).size());
    SetTraceEnabled(false);
    gblUser.reset();
    return r;
}

void print(const char *label, const Run &r)
{
    const int orders = r.pendingBefore - r.pendingAfter;
    out << label << ": " << orders << " orders (" << r.files << " order files) in "
        << QString::number(r.seconds, 'f', 2) << " s over " << r.cycles << " cycle(s), " << r.passes
        << " passes: " << QString::number(orders / r.seconds, 'f', 1) << " orders/s";
    if (r.pendingAfter)
        out << "  [" << r.pendingAfter << " LEFT PENDING]";
    out << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    // Settings, logs and data of this run stay in a temporary home.
    QTemporaryDir home;
    for (const char *v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(v, (home.path() + u'/' + QLatin1String(v)).toLocal8Bit());
    QCoreApplication app(argc, argv);
    const int target = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10000;

    out << "order generator cycle, about " << target << " pending requests" << Qt::endl;
    print("trace off", runOnFreshHospital(target, false));
    print("trace on ", runOnFreshHospital(target, true));
    return 0;
}
