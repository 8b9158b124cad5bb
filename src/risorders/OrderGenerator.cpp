#include "OrderGenerator.h"

#include "CommLog.h"
#include "Database.h"
#include "Globals.h"
#include "Settings.h"
#include "Startup.h"
#include "UserSession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>

#include <exception>

namespace {

// The wait pointer while a listing or an order file is worked on (only with a display).
class WaitCursor {
public:
    WaitCursor()
    {
        m_on = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
        if (m_on)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_on = false;
};

QString errorText(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->description();
    return QString::fromLocal8Bit(e.what());
}

} // namespace

QString searchRequestsStatement(const QList<RevenueInfo> &revenues, const RequestSearch &s,
                                const std::function<void(const QString &)> &traceParts)
{
    QString sql;
    for (const RevenueInfo &rev : revenues) {
        if (!s.RevenueID.isEmpty() && s.RevenueID != rev.RevenueID)
            continue;
        QString part = QStringLiteral(" SELECT ") + (s.top10 ? QStringLiteral(" TOP 10  ") : QString())
            + QStringLiteral(" ") + sqlStr(rev.RevenueID) + QStringLiteral(" AS REVENUEID,")
            + QStringLiteral(" HospNum,IDNum,RefNum,RequestNum,TransDate,StatusHl7 ") + QStringLiteral(",")
            + rev.StatusSWFinField + QStringLiteral(" as SWFin, ") + sqlStr(rev.RequestTableName)
            + QStringLiteral(" as RequestTableName ") + QStringLiteral(" FROM  RADIOLOGY..") + rev.RequestTableName
            + QStringLiteral(" WITH (NOLOCK)  ") + QStringLiteral(" WHERE 1=1 AND [RequestNum] <> '' ")
            + QStringLiteral(" AND RevenueID IN (") + rev.IncludeRevenue + QStringLiteral(")");
        if (s.past24Hrs)
            part += QStringLiteral(" AND transdate > dateadd(d,-1, getdate()) ");
        if (s.status == RequestSearch::NotDone)
            part += QStringLiteral(" AND ([StatusHl7]='' or StatusHl7 is null) ");
        else if (s.status == RequestSearch::Done)
            part += QStringLiteral(" AND [StatusHl7]='X' ");
        if (!s.HospNum.isEmpty())
            part += QStringLiteral(" AND [HospNum]=") + sqlStr(s.HospNum) + QStringLiteral(" ");
        if (!s.IDNum.isEmpty())
            part += QStringLiteral(" AND [IDNum]=") + sqlStr(s.IDNum) + QStringLiteral(" ");
        if (!s.RefNum.isEmpty())
            part += QStringLiteral(" AND [RefNum]=") + sqlStr(s.RefNum) + QStringLiteral(" ");
        if (!s.RequestNum.isEmpty())
            part += QStringLiteral(" AND [RequestNum]=") + sqlStr(s.RequestNum) + QStringLiteral(" ");
        if (!s.SWFin.isEmpty())
            part += QStringLiteral(" AND [") + rev.StatusSWFinField + QStringLiteral("]=") + sqlStr(s.SWFin)
                + QStringLiteral(" ");
        if (!s.AfterDate.isEmpty())
            part += QStringLiteral(" AND transdate >= ") + sqlStr(s.AfterDate);
        if (!s.BeforeDate.isEmpty())
            part += QStringLiteral(" AND transdate < ") + sqlStr(s.BeforeDate);
        sql = sql.isEmpty() ? part : sql + QStringLiteral(" UNION ALL ") + part;
        if (traceParts)
            traceParts(sql);
    }
    return sql.isEmpty() ? QString() : sql + QStringLiteral(" ORDER BY TransDate DESC ");
}

const QStringList &OrderGenerator::headers()
{
    static const QStringList h = {"RevenueID", "HospNum", "IDNum", "RefNum", "RequestNum",
                                  "TransDate", "StatusHl7", "SWFin", "Table"};
    return h;
}

OrderGenerator::OrderGenerator(QObject *parent) : QObject(parent)
{
    connectionCheck = [] { return ConnectDB(); };
    Timer1.setInterval(60000);
    tmrAS.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &OrderGenerator::runCycle);
    connect(&tmrAS, &QTimer::timeout, this, &OrderGenerator::autostartTick);
}

OrderGenerator::~OrderGenerator() = default;

Connection *OrderGenerator::connection() const
{
    if (m_connection)
        return m_connection;
    return gblUser ? gblUser->SQLConnection() : nullptr;
}

void OrderGenerator::loadItemFilters()
{
    itemFilters.include = parseItemCodes(ReadSetting(kAppProgram, QStringLiteral("Options"),
                                                     QStringLiteral("txtIncludeItemCodes")));
    itemFilters.exclude = parseItemCodes(ReadSetting(kAppProgram, QStringLiteral("Options"),
                                                     QStringLiteral("txtExcludeItemCodes")));
}

void OrderGenerator::setStatusOption(int index)
{
    m_option = index;
    search.status = index;
    emit filtersChanged();
}

void OrderGenerator::setCurrentRow(int row)
{
    m_current = row;
    emit currentRowChanged(row);
}

void OrderGenerator::clickRow(int row)
{
    const int previous = m_highlighted;
    setCurrentRow(row);
    m_highlighted = row;
    emit highlightChanged(previous, row);
}

void OrderGenerator::yield()
{
    QCoreApplication::processEvents();
}

void OrderGenerator::setGridEnabled(bool on)
{
    m_gridEnabled = on;
    emit stateChanged();
}

void OrderGenerator::showStop(bool on)
{
    m_stopVisible = on;
    emit stateChanged();
}

void OrderGenerator::emptyGrid()
{
    m_rows.clear();
    m_current = -1;
    m_highlighted = -1;
    emit gridChanged();
}

void OrderGenerator::SearchRequests()
{
    WaitCursor wait;
    yield();
    emptyGrid();
    yield();
    QString sql;
    try {
        const bool trace = TraceEnabled();
        sql = searchRequestsStatement(gblRevenues, search, [&](const QString &soFar) {
            if (trace)
                TraceLog(soFar);
        });
        if (sql.isEmpty())
            return; // no revenue passes the revenue filter: an empty listing
        Connection *db = connection();
        if (!db)
            throw DbError(QStringLiteral("No connection"));
        const Recordset rs = db->open(sql);
        QList<QStringList> rows;
        for (int r = 0; r < rs.recordCount(); ++r) {
            QStringList cells;
            for (int c = 0; c <= ColTable && c < rs.fieldCount(); ++c)
                cells << rs.text(r, c);
            while (cells.size() <= ColTable)
                cells << QString();
            rows << cells;
        }
        m_rows = rows;
        if (!m_rows.isEmpty())
            m_current = 0;
    } catch (const std::exception &e) {
        TraceLog(QStringLiteral("Search ") + errorText(e) + QStringLiteral(" ") + sql);
        m_rows.clear();
    }
    emit gridChanged();
}

OrderRequestRow OrderGenerator::rowValues(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const QStringList &c = m_rows.at(row);
    return {c.value(ColRevenueID), c.value(ColHospNum), c.value(ColIDNum), c.value(ColRefNum),
            c.value(ColRequestNum), c.value(ColSWFin), c.value(ColTable)};
}

GenerateOutcome OrderGenerator::generateRow(int row)
{
    WaitCursor wait;
    const GenerateOutcome outcome = GenerateOrderFile(connection(), rowValues(row), itemFilters, m_results);
    emit resultsChanged();
    return outcome;
}

bool OrderGenerator::madeProgress(GenerateOutcome outcome, int row)
{
    if (outcome != GenerateOutcome::Written && outcome != GenerateOutcome::MarkedOnly)
        return false;
    const OrderRequestRow r = rowValues(row);
    const QString key = r.RequestTableName + QLatin1Char('\t') + r.RevenueID + QLatin1Char('\t') + r.RequestNum
        + QLatin1Char('\t') + r.SWFin;
    if (m_handled.contains(key))
        return false;
    m_handled.insert(key);
    return true;
}

int OrderGenerator::ProcessCancelled()
{
    if (gblStopProcessing)
        return 0;
    search.status = RequestSearch::All; // the option buttons stay as they are
    search.SWFin = QStringLiteral("C");
    emit filtersChanged();
    yield();
    SearchRequests();

    for (QStringList &cells : m_rows)
        cells << QString();
    m_cancelMode = true;
    emit stateChanged();
    emit gridChanged();
    yield();

    int progress = 0;
    for (int i = 0; i < m_rows.size() && !gblStopProcessing; ++i) {
        setCurrentRow(i);
        const OrderRequestRow r = rowValues(i);
        if (!r.RequestNum.isEmpty() && r.SWFin == QLatin1String("C")) {
            // The log row of a message holds its placer order number.
            const QString sql = QStringLiteral("Select 1 from Radiology..tbHl7Logs WITH (NOLOCK) WHERE RequestNum=")
                + sqlStr(placerOrderNumber(r.RequestNum, r.RevenueID)) + QStringLiteral(" AND HL7Type='CA'");
            try {
                Connection *db = connection();
                if (!db)
                    throw DbError(QStringLiteral("No connection"));
                if (db->open(sql).recordCount() == 0) {
                    m_rows[i][ColRemarks] = QStringLiteral("for HL7 cancellation");
                    emit gridChanged();
                    if (madeProgress(generateRow(i), i))
                        ++progress;
                } else {
                    m_rows[i][ColRemarks] = QStringLiteral("already created cancel HL7 message");
                    emit gridChanged();
                }
            } catch (const std::exception &e) {
                // Unknown whether the cancel message went out: leave the row for the next pass.
                TraceLog(QStringLiteral("ProcessCancelled ") + errorText(e) + QStringLiteral(" ") + sql);
            }
        }
        yield();
    }
    m_cancelMode = false;
    search.SWFin.clear();
    emit stateChanged();
    emit filtersChanged();
    return progress;
}

void OrderGenerator::runCycle()
{
    if (m_busy)
        return; // a tick while a cycle or a command runs starts nothing
    m_busy = true;
    m_passes = 0;
    m_handled.clear();
    emit stateChanged();
    for (;;) {
        if (!connectionCheck || !connectionCheck())
            break;
        ++m_passes;
        TraceModel::log().clear();
        m_cancelMode = false;
        setGridEnabled(false);

        search.HospNum.clear();
        search.IDNum.clear();
        search.RefNum.clear();
        search.RequestNum.clear();
        search.SWFin.clear();
        search.status = RequestSearch::NotDone;
        emit filtersChanged();

        yield();
        SearchRequests();
        const bool hadRows = !m_rows.isEmpty() && !m_rows.first().value(ColHospNum).isEmpty();

        int progress = 0;
        for (int i = 0; i < m_rows.size() && !gblStopProcessing; ++i) {
            if (m_rows.at(i).value(ColRequestNum).isEmpty())
                continue;
            setCurrentRow(i);
            yield();
            if (i >= m_rows.size())
                break;
            if (madeProgress(generateRow(i), i))
                ++progress;
        }
        progress += ProcessCancelled();

        search.status = RequestSearch::NotDone;
        m_option = RequestSearch::NotDone;
        emit filtersChanged();
        emptyGrid();
        setGridEnabled(true);
        m_workingCaption = QDateTime::currentDateTime().toString(QStringLiteral("M/d/yyyy h:mm:ss AP"));
        m_workingVisible = true;
        emit stateChanged();

        // Again at once while requests were worked off; a pass that changed nothing new
        // (a request that cannot be generated) ends the burst.
        if (gblStopProcessing || !hadRows || progress == 0)
            break;
    }
    m_busy = false;
    emit stateChanged();
    emit cycleFinished();
}

void OrderGenerator::Start()
{
    stopAutostart();
    enterRunning();
    runCycle();
    // Stop pressed during the first cycle has switched the cycle off; it stays off.
    if (!gblStopProcessing)
        Timer1.start();
}

// Stop's display and flag: Start shown, the grid usable, the loops asked to stop.
void OrderGenerator::enterStopped()
{
    gblStopProcessing = true;
    m_gridEnabled = true;
    m_stopVisible = false;
    m_startVisible = true;
    emit stateChanged();
}

// Start's display and flag: Stop shown, the grid locked, the loops allowed to run.
void OrderGenerator::enterRunning()
{
    gblStopProcessing = false;
    m_startVisible = false;
    m_gridEnabled = false;
    showStop(true);
}

void OrderGenerator::Stop()
{
    Timer1.stop();
    enterStopped();
}

void OrderGenerator::ProcessNow()
{
    if (m_busy)
        return;
    enterRunning();
    runCycle();
    enterStopped();
}

void OrderGenerator::Search()
{
    if (m_busy)
        return;
    gblStopProcessing = false;
    SearchRequests();
}

void OrderGenerator::SearchCancelled()
{
    if (m_busy)
        return;
    m_busy = true;
    gblStopProcessing = false;
    m_gridEnabled = false;
    showStop(true);
    ProcessCancelled();
    m_gridEnabled = true;
    m_busy = false;
    showStop(false);
}

void OrderGenerator::ShowHL7()
{
    if (m_busy)
        return;
    m_results.clearFields();
    GetHL7(connection(), rowValues(m_current), itemFilters, m_results);
    emit resultsChanged();
}

GenerateOutcome OrderGenerator::GenerateHL7()
{
    if (m_busy)
        return GenerateOutcome::NothingDone;
    return generateRow(m_current);
}

void OrderGenerator::GenerateListed()
{
    if (m_busy)
        return;
    m_busy = true;
    m_gridEnabled = false;
    showStop(true);
    gblStopProcessing = false;
    for (int i = 0; i < m_rows.size() && !gblStopProcessing; ++i) {
        setCurrentRow(i);
        generateRow(i);
        yield();
    }
    m_gridEnabled = true;
    m_busy = false;
    showStop(false);
}

void OrderGenerator::reportFailure(const QString &description)
{
    DisplayMessage(kSourceRelayon, description);
    WriteCommLog(kRelayon, description, kLogError, kRelayon, kRelayon);
}

void OrderGenerator::SetListedSWFinY()
{
    if (m_busy)
        return;
    m_busy = true;
    m_gridEnabled = false;
    showStop(true);
    gblStopProcessing = false;
    for (int i = 0; i < m_rows.size() && !gblStopProcessing; ++i) {
        setCurrentRow(i);
        const OrderRequestRow r = rowValues(i);
        const QString sql = QStringLiteral("UPDATE RADIOLOGY..") + r.RequestTableName
            + QStringLiteral(" set SWFIN = 'Y' where RequestNum = ") + sqlStr(r.RequestNum)
            + QStringLiteral(" and hospnum=") + sqlStr(r.HospNum) + QStringLiteral(" and IDNUM=") + sqlStr(r.IDNum);
        TraceLog(sql);
        try {
            Connection *db = connection();
            if (!db)
                throw DbError(QStringLiteral("No connection"));
            db->execute(sql);
        } catch (const std::exception &e) {
            reportFailure(errorText(e));
        }
        yield();
    }
    m_gridEnabled = true;
    m_busy = false;
    showStop(false);
}

void OrderGenerator::ResetStatus()
{
    if (m_busy || m_current < 0 || m_current >= m_rows.size())
        return;
    const OrderRequestRow r = rowValues(m_current);
    const QString sql = QStringLiteral("UPDATE RADIOLOGY..") + r.RequestTableName
        + QStringLiteral(" set StatusHl7 = '' where RequestNum = ") + sqlStr(r.RequestNum)
        + QStringLiteral(" and hospnum=") + sqlStr(r.HospNum) + QStringLiteral(" and IDNUM=") + sqlStr(r.IDNum);
    try {
        Connection *db = connection();
        if (!db)
            throw DbError(QStringLiteral("No connection"));
        db->execute(sql);
    } catch (const std::exception &e) {
        reportFailure(errorText(e));
    }
}

void OrderGenerator::stopAutostart()
{
    m_autoStartVisible = false;
    tmrAS.stop();
    emit stateChanged();
}

void OrderGenerator::autostartTick()
{
    --m_autoStart;
    emit countdownChanged(m_autoStart);
    if (m_autoStart <= 0) {
        stopAutostart();
        Start();
    }
}
