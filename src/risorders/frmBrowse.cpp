#include "frmBrowse.h"

#include "WindowPlacement.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
QLineEdit *readOnlyBold(QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setReadOnly(true);
    QFont f = e->font();
    f.setBold(true);
    e->setFont(f);
    return e;
}
} // namespace

frmBrowse::frmBrowse(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("HL7 Order Generator"));
    setObjectName(QStringLiteral("frmBrowse"));

    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->setToolTip(QStringLiteral("Start Generatre Timer"));
    cmdStop = new QPushButton(QStringLiteral("Stop"), this);
    cmdStop->hide();
    lblAAAS = new QLabel(QStringLiteral("Autostarting (click to STOP)"), this);
    lblAAAS->installEventFilter(this);
    lblAutoStart = new QLabel(QStringLiteral("10"), this);
    cmdProcessNow = new QPushButton(QStringLiteral("Process Now"), this);
    cmdSearchCancelled = new QPushButton(QStringLiteral("Process cancelled"), this);
    cmdSearch = new QPushButton(QStringLiteral("&Search"), this);
    cmdSearch->setDefault(true);
    cmdShowHL7 = new QPushButton(QStringLiteral("Show HL7"), this);
    cmdGenerateHL7 = new QPushButton(QStringLiteral("Generate HL7"), this);
    cmdResetStatus = new QPushButton(QStringLiteral("Reset Status"), this);
    SetListedSWFinY = new QPushButton(QStringLiteral("Set Listed SWFin=Y"), this);
    cmdGenerateListed = new QPushButton(QStringLiteral("Generate HL7 for Listed"), this);
    cmdSetPos = new QPushButton(QStringLiteral("Set Pos"), this);
    cmdWorking = new QPushButton(this);
    cmdWorking->setToolTip(QStringLiteral("last run"));
    cmdWorking->setStyleSheet(QStringLiteral("background-color: #00FF00;"));
    cmdWorking->hide();
    lblCount = new QLabel(QStringLiteral("count"), this);
    lblCancelMode = new QLabel(QStringLiteral("CancelMode"), this);
    lblCancelMode->hide();

    auto *frame = new QGroupBox(QStringLiteral("HL7"), this);
    auto *frameLayout = new QHBoxLayout(frame);
    const char *options[3] = {"Not Done", "Done", "All"};
    for (int i = 0; i < 3; ++i) {
        optDone[i] = new QRadioButton(QString::fromLatin1(options[i]), frame);
        frameLayout->addWidget(optDone[i]);
        connect(optDone[i], &QRadioButton::clicked, this, [this, i] { m_engine.setStatusOption(i); });
    }
    optDone[0]->setChecked(true);
    chkPast24Hrs = new QCheckBox(QStringLiteral("Past 24 hours"), this);
    chkPast24Hrs->setChecked(true);
    chkTop100 = new QCheckBox(QStringLiteral("top 10"), this);
    chkTop100->setChecked(true);

    auto *filters = new QGridLayout;
    const QStringList labels = {"HospNum", "IDNum", "RefNum", "RequestNum", "SWFin", "RevenueID", "After Date",
                                "Before Date"};
    QLineEdit **boxes[] = {&txtHospNum, &txtIDNum, &txtRefNum, &txtRequestNum, &txtSWFin, &txtRevenueID,
                           &txtAfterDate, &txtBeforeDate};
    for (int i = 0; i < labels.size(); ++i) {
        *boxes[i] = new QLineEdit(this);
        filters->addWidget(new QLabel(labels[i], this), 0, i);
        filters->addWidget(*boxes[i], 1, i);
    }

    Text1 = new QPlainTextEdit(QStringLiteral("X=Pending\nY=W/Result\nC=Cancelled\n(blank)=Pending"), this);
    Text1->setReadOnly(true);
    Text1->setStyleSheet(QStringLiteral("background-color: #C0C0C0;"));
    Text1->setMaximumHeight(80);
    txtFName = readOnlyBold(this);
    txtHL7RevenueID = readOnlyBold(this);
    txtHL7RequestNum = readOnlyBold(this);
    txtHL7 = new QPlainTextEdit(this);
    txtHL7->setReadOnly(true);
    txtHL7->setLineWrapMode(QPlainTextEdit::NoWrap);

    Grid1 = new QTableWidget(this);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto *buttons = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{cmdStart, cmdStop, lblAAAS, lblAutoStart, cmdProcessNow,
                                                      cmdSearchCancelled, cmdSearch, cmdShowHL7, cmdGenerateHL7,
                                                      cmdResetStatus, SetListedSWFinY, cmdGenerateListed, cmdSetPos,
                                                      cmdWorking, lblCount, lblCancelMode})
        buttons->addWidget(w);
    auto *options2 = new QHBoxLayout;
    options2->addWidget(frame);
    options2->addWidget(chkPast24Hrs);
    options2->addWidget(chkTop100);
    options2->addWidget(Text1);
    auto *result = new QHBoxLayout;
    result->addWidget(txtFName);
    result->addWidget(txtHL7RevenueID);
    result->addWidget(txtHL7RequestNum);
    auto *main = new QVBoxLayout(this);
    main->addLayout(buttons);
    main->addLayout(options2);
    main->addLayout(filters);
    main->addWidget(Grid1, 3);
    main->addLayout(result);
    main->addWidget(txtHL7, 2);

    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdStop, &QPushButton::click);

    connect(cmdStart, &QPushButton::clicked, this, [this] { readFilters(); m_engine.Start(); });
    connect(cmdStop, &QPushButton::clicked, &m_engine, &OrderGenerator::Stop);
    connect(cmdProcessNow, &QPushButton::clicked, this, [this] { readFilters(); m_engine.ProcessNow(); });
    connect(cmdSearchCancelled, &QPushButton::clicked, this, [this] { readFilters(); m_engine.SearchCancelled(); });
    connect(cmdSearch, &QPushButton::clicked, this, [this] { readFilters(); m_engine.Search(); });
    connect(cmdShowHL7, &QPushButton::clicked, &m_engine, &OrderGenerator::ShowHL7);
    connect(cmdGenerateHL7, &QPushButton::clicked, this, [this] { m_engine.GenerateHL7(); });
    connect(cmdResetStatus, &QPushButton::clicked, &m_engine, &OrderGenerator::ResetStatus);
    connect(SetListedSWFinY, &QPushButton::clicked, &m_engine, &OrderGenerator::SetListedSWFinY);
    connect(cmdGenerateListed, &QPushButton::clicked, &m_engine, &OrderGenerator::GenerateListed);
    connect(cmdSetPos, &QPushButton::clicked, this, [this] {
        QWidget *w = parentWidget() && parentWidget()->inherits("QMdiSubWindow") ? parentWidget() : this;
        SaveWindowPlacement(w);
    });
    connect(Grid1, &QTableWidget::cellClicked, this, [this](int row, int) { m_engine.clickRow(row); });

    connect(&m_engine, &OrderGenerator::stateChanged, this, &frmBrowse::showState);
    connect(&m_engine, &OrderGenerator::gridChanged, this, &frmBrowse::showGrid);
    connect(&m_engine, &OrderGenerator::resultsChanged, this, &frmBrowse::showResults);
    connect(&m_engine, &OrderGenerator::filtersChanged, this, &frmBrowse::showFilters);
    connect(&m_engine, &OrderGenerator::countdownChanged, this,
            [this](int s) { lblAutoStart->setText(QString::number(s)); });
    connect(&m_engine, &OrderGenerator::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < Grid1->rowCount())
            Grid1->selectRow(row);
    });
    connect(&m_engine, &OrderGenerator::highlightChanged, this, [this](int previous, int current) {
        if (QTableWidgetItem *p = Grid1->item(previous, 1))
            p->setBackground(Qt::white);
        if (QTableWidgetItem *c = Grid1->item(current, 1))
            c->setBackground(QColor(0xAA, 0xBB, 0xEE));
    });

    RestoreWindowPlacement(this);
    m_engine.loadItemFilters();
    showGrid();
    m_engine.tmrAS.start();
}

void frmBrowse::readFilters()
{
    RequestSearch &s = m_engine.search;
    s.past24Hrs = chkPast24Hrs->isChecked();
    s.top10 = chkTop100->isChecked();
    s.HospNum = txtHospNum->text();
    s.IDNum = txtIDNum->text();
    s.RefNum = txtRefNum->text();
    s.RequestNum = txtRequestNum->text();
    s.SWFin = txtSWFin->text();
    s.RevenueID = txtRevenueID->text();
    s.AfterDate = txtAfterDate->text();
    s.BeforeDate = txtBeforeDate->text();
}

void frmBrowse::showFilters()
{
    const RequestSearch &s = m_engine.search;
    txtHospNum->setText(s.HospNum);
    txtIDNum->setText(s.IDNum);
    txtRefNum->setText(s.RefNum);
    txtRequestNum->setText(s.RequestNum);
    txtSWFin->setText(s.SWFin);
    optDone[qBound(0, m_engine.selectedStatusOption(), 2)]->setChecked(true);
}

void frmBrowse::showState()
{
    cmdStart->setVisible(m_engine.startVisible());
    cmdStop->setVisible(m_engine.stopVisible());
    Grid1->setEnabled(m_engine.gridEnabled());
    lblCancelMode->setVisible(m_engine.cancelModeVisible());
    lblAAAS->setVisible(m_engine.autoStartVisible());
    lblAutoStart->setVisible(m_engine.autoStartVisible());
    cmdWorking->setVisible(m_engine.workingVisible());
    cmdWorking->setText(m_engine.workingCaption());
    const bool idle = !m_engine.busy();
    for (QWidget *w : std::initializer_list<QWidget *>{cmdProcessNow, cmdSearchCancelled, cmdSearch, cmdShowHL7,
                                                      cmdGenerateHL7, cmdResetStatus, SetListedSWFinY,
                                                      cmdGenerateListed})
        w->setEnabled(idle);
}

void frmBrowse::showGrid()
{
    const auto &rows = m_engine.rows();
    QStringList headers = OrderGenerator::headers();
    if (m_engine.cancelModeVisible())
        headers << QString();
    Grid1->clear();
    Grid1->setColumnCount(int(headers.size()));
    Grid1->setHorizontalHeaderLabels(headers);
    Grid1->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size() && c < headers.size(); ++c)
            Grid1->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    Grid1->setColumnWidth(0, twipsToPixels(Grid1, 500));
    Grid1->setColumnWidth(5, twipsToPixels(Grid1, 2200));
    lblCount->setText(QString::number(m_engine.listedCount()));
}

void frmBrowse::showResults()
{
    const OrderResults &r = m_engine.results();
    txtFName->setText(r.FName);
    txtHL7RevenueID->setText(r.HL7RevenueID);
    txtHL7RequestNum->setText(r.HL7RequestNum);
    txtHL7->setPlainText(r.HL7);
}

bool frmBrowse::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblAAAS && event->type() == QEvent::MouseButtonRelease)
        m_engine.stopAutostart();
    return QWidget::eventFilter(watched, event);
}

void frmBrowse::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event); // the layout gives the grid and the message box the room
}
