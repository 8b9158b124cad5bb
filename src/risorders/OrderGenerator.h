#pragma once
// The order generator's engine: the listing of radiology requests over all revenues, the
// timed cycle that turns pending requests into order files and sends the cancel messages,
// the autostart countdown and the commands of the "HL7 Order Generator" window. It has no
// widgets; frmBrowse binds its controls to it.

#include "OrderFiles.h"
#include "RevenueTable.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>

class Connection;

// The filters of the listing, as the window's controls hold them.
struct RequestSearch {
    enum Status { NotDone = 0, Done = 1, All = 2 };
    int status = NotDone;
    bool past24Hrs = true; // "Past 24 hours"
    bool top10 = true;     // "top 10"
    QString HospNum, IDNum, RefNum, RequestNum, SWFin, RevenueID, AfterDate, BeforeDate;
};

// The listing statement over the revenues; "" when no revenue passes the revenue filter.
// traceParts receives the statement built so far after each revenue.
QString searchRequestsStatement(const QList<RevenueInfo> &revenues, const RequestSearch &search,
                                const std::function<void(const QString &)> &traceParts = {});

class OrderGenerator : public QObject {
    Q_OBJECT
public:
    // Grid columns.
    enum Column { ColRevenueID = 0, ColHospNum, ColIDNum, ColRefNum, ColRequestNum, ColTransDate, ColStatusHl7,
                  ColSWFin, ColTable, ColRemarks };
    static const QStringList &headers();

    explicit OrderGenerator(QObject *parent = nullptr);
    ~OrderGenerator() override;

    // The connection statements go over: the session's unless one is set (tests).
    void setConnection(Connection *connection) { m_connection = connection; }
    Connection *connection() const;
    // The connection check at the start of each cycle (ConnectDB unless replaced).
    std::function<bool()> connectionCheck;

    // Filters (the window writes them before a command).
    RequestSearch search;
    int selectedStatusOption() const { return m_option; } // optDone index
    void setStatusOption(int index);

    ItemFilters itemFilters;
    void loadItemFilters(); // Options/txtIncludeItemCodes, Options/txtExcludeItemCodes

    // The listing: data rows of nine columns (ten in the cancellation pass).
    const QList<QStringList> &rows() const { return m_rows; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    int highlightedRow() const { return m_highlighted; }
    void clickRow(int row); // returns the previous highlight through highlightChanged
    int listedCount() const { return int(m_rows.size()); }

    const OrderResults &results() const { return m_results; }

    // Window state.
    bool busy() const { return m_busy; }
    bool gridEnabled() const { return m_gridEnabled; }
    bool startVisible() const { return m_startVisible; }
    bool stopVisible() const { return m_stopVisible; }
    bool cancelModeVisible() const { return m_cancelMode; }
    bool workingVisible() const { return m_workingVisible; }
    QString workingCaption() const { return m_workingCaption; }
    bool autoStartVisible() const { return m_autoStartVisible; }
    int autoStartCount() const { return m_autoStart; }

    QTimer Timer1; // the cycle, 60000 ms
    QTimer tmrAS;  // the autostart countdown, 1000 ms

    // Commands.
    void SearchRequests();
    int ProcessCancelled();
    void runCycle();
    void Start();
    void Stop();
    void ProcessNow();
    void Search();
    void SearchCancelled();  // "Process cancelled"
    void ShowHL7();
    GenerateOutcome GenerateHL7();
    void GenerateListed();
    void SetListedSWFinY();
    void ResetStatus();
    void stopAutostart();    // click on "Autostarting (click to STOP)"

    // Passes of the last cycle (a cycle repeats while a pass made progress).
    int lastCyclePasses() const { return m_passes; }

signals:
    void stateChanged();      // buttons, labels, grid enabled, cancel mode
    void gridChanged();       // rows replaced or a remark written
    void currentRowChanged(int row);
    void highlightChanged(int previous, int current);
    void resultsChanged();    // the four result fields
    void filtersChanged();    // filter boxes and status option
    void countdownChanged(int seconds);
    void cycleFinished();

private:
    void enterStopped();
    void enterRunning();
    void yield();
    void setGridEnabled(bool on);
    void showStop(bool on);
    void emptyGrid();
    OrderRequestRow rowValues(int row) const;
    GenerateOutcome generateRow(int row);
    bool madeProgress(GenerateOutcome outcome, int row);
    void reportFailure(const QString &description);
    void autostartTick();

    Connection *m_connection = nullptr;
    int m_option = RequestSearch::NotDone;
    QList<QStringList> m_rows;
    int m_current = -1;
    int m_highlighted = -1;
    OrderResults m_results;
    bool m_busy = false;
    bool m_gridEnabled = true;
    bool m_startVisible = true;
    bool m_stopVisible = false;
    bool m_cancelMode = false;
    bool m_workingVisible = false;
    QString m_workingCaption;
    bool m_autoStartVisible = true;
    int m_autoStart = 10;
    int m_passes = 0;
    QSet<QString> m_handled; // requests generated or marked in the running burst
};
