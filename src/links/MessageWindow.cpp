#include "MessageWindow.h"

#include "CommLog.h"
#include "Globals.h"
#include "MainCommands.h"
#include "ServerMonitor.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QShortcut>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#ifdef RELAYON_HAVE_MULTIMEDIA
#include <QSoundEffect>
#endif

const QString MessageWindow::kCaption = QStringLiteral("HL7 Result Reader and Edit Patient HL7 messages");

MessageWindow::MessageWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMessageWindow"));
    setWindowTitle(kCaption);
    resize(648, 332); // 9720 x 4980 twips

    const auto button = [this](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        return b;
    };
    m_start = button(QStringLiteral("cmdStartStop1"), QStringLiteral("S&tart"));
    m_stop = button(QStringLiteral("cmdStartStop0"), QStringLiteral("&Stop"));
    m_processNow = button(QStringLiteral("cmdProcessNow"), QStringLiteral("Process Now"));
    m_manual = button(QStringLiteral("cmdManualProcess"), QStringLiteral("Manual Process"));
    auto *esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, m_stop, &QPushButton::click);
    connect(m_start, &QPushButton::clicked, &m_polls, &MessagePolls::start);
    connect(m_stop, &QPushButton::clicked, &m_polls, &MessagePolls::stop);
    connect(m_processNow, &QPushButton::clicked, &m_polls, &MessagePolls::processNow);
    connect(m_manual, &QPushButton::clicked, this, &MessageWindow::manualProcessRequested);
    connect(&m_polls, &MessagePolls::runningChanged, this, &MessageWindow::showRunning);

    m_settings = new QCheckBox(QStringLiteral("Settings"), this);
    m_settings->setObjectName(QStringLiteral("chkSettings"));
    m_woSP = new QCheckBox(QStringLiteral("w/o SP"), this);
    m_woSP->setObjectName(QStringLiteral("chkWoSP"));
    m_woSP->setTristate(true);
    m_woSP->setCheckState(Qt::Checked);
    m_woSP->setStyleSheet(QStringLiteral("QCheckBox { color: white; background: #1c5cb5; }"));
    m_chkShow = new QCheckBox(QStringLiteral("Always show when connected"), this);
    m_chkShow->setObjectName(QStringLiteral("chkShow"));
    m_chkShow->hide();

    m_settingsFrame = new QGroupBox(this);
    m_settingsFrame->hide();
    m_chkRequests = new QCheckBox(QStringLiteral("Process Requests"), m_settingsFrame);
    m_chkRequests->setObjectName(QStringLiteral("chkRequests"));
    m_chkCompleted = new QCheckBox(QStringLiteral("Process Completed"), m_settingsFrame);
    m_chkCompleted->setObjectName(QStringLiteral("chkProcessCompleted"));
    m_chkEdit = new QCheckBox(QStringLiteral("Process Edit"), m_settingsFrame);
    m_chkEdit->setObjectName(QStringLiteral("chkProcessEdit"));
    m_chkEdit->setChecked(true);
    m_chkRequests->setGeometry(8, 8, 200, 20);
    m_chkCompleted->setGeometry(8, 30, 200, 20);
    m_chkEdit->setGeometry(8, 52, 200, 20);
    connect(m_settings, &QCheckBox::toggled, m_settingsFrame, &QWidget::setVisible);
    connect(m_chkRequests, &QCheckBox::clicked, &m_polls, &MessagePolls::setProcessRequests);
    connect(m_chkCompleted, &QCheckBox::clicked, &m_polls, &MessagePolls::setProcessCompleted);
    connect(m_chkEdit, &QCheckBox::clicked, &m_polls, &MessagePolls::setProcessEdit);

    m_flResults = new QListWidget(this);
    m_flResults->setObjectName(QStringLiteral("flResults"));
    connect(&m_polls, &MessagePolls::resultListChanged, this, &MessageWindow::refreshResultList);
    m_polls.playAlarm = [this] { playAlarm(); };
    m_polls.enableDisconnectAndExit = [](bool on) { MainCommands::instance().EnableDisconnectAndExit(on); };

    m_setPos = new QPushButton(QStringLiteral("Set Pos"), this);
    m_setPos->setObjectName(QStringLiteral("cmdSetPos"));
    connect(m_setPos, &QPushButton::clicked, this, [this] { SaveWindowPlacement(placementWidget()); });

    m_box = new QPlainTextEdit(this);
    m_box->setObjectName(QStringLiteral("rtbHL7"));
    m_box->setReadOnly(true);
    m_box->setMaximumBlockCount(MessageBox::kMaxLines);
    m_box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: #313d65; }"));
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSizeF(9.75);
    m_box->setFont(font);
    m_box->installEventFilter(this);
    for (const QString &line : MessageBox::instance().lines())
        m_box->appendPlainText(line);
    connect(&MessageBox::instance(), &MessageBox::lineAdded, m_box, [this](const QString &line) {
        m_box->appendPlainText(line);
        m_box->moveCursor(QTextCursor::End);
    });
    connect(&MessageBox::instance(), &MessageBox::cleared, m_box, &QPlainTextEdit::clear);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("pctReconnect"));
    m_panel->setStyleSheet(QStringLiteral("#pctReconnect { background: #ffc0c0; }"));
    m_panel->setCursor(Qt::PointingHandCursor);
    m_panelLabel = new QLabel(QStringLiteral("Click Me or Press F5 to Re-establish Connection."), m_panel);
    m_panelLabel->setStyleSheet(QStringLiteral("background: black; color: yellow; font-weight: bold;"));
    m_panelLabel->setAlignment(Qt::AlignCenter);
    m_panel->installEventFilter(this);
    m_panelLabel->installEventFilter(this);
    ServerMonitor &monitor = ServerMonitor::instance();
    m_panel->setVisible(monitor.warningVisible());
    connect(&monitor, &ServerMonitor::warningVisibleChanged, m_panel, &QWidget::setVisible);
    connect(&monitor, &ServerMonitor::alarmTick, this, &MessageWindow::playAlarm);
}

QWidget *MessageWindow::placementWidget()
{
    return parentWidget() && parentWidget()->inherits("QMdiSubWindow") ? parentWidget() : this;
}

int MessageWindow::hMode() const
{
    switch (m_woSP->checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    default: return 2;
    }
}

void MessageWindow::showRunning(bool running)
{
    m_start->setVisible(!running);
    m_stop->setVisible(running);
}

void MessageWindow::refreshResultList()
{
    m_flResults->clear();
    m_flResults->addItems(QDir(gblResultDir).entryList({QStringLiteral("*.hl7")}, QDir::Files, QDir::Name));
}

void MessageWindow::creationSteps()
{
    RestoreWindowPlacement(placementWidget());
    m_chkShow->setChecked(gblAlwaysShowWindow != 0);
    refreshResultList();
    if (m_box->isVisible())
        m_box->setFocus();
    if (m_polls.StartTimers() && gblConnectionMode) {
        MainCommands &c = MainCommands::instance();
        c.connectButton = false;
        c.tray = true;
        emit c.stateChanged();
    }
    m_polls.load();
    m_chkRequests->setChecked(m_polls.processRequests);
    m_chkCompleted->setChecked(m_polls.processCompleted);
    m_chkEdit->setChecked(m_polls.processEdit);
}

bool MessageWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5) {
        ServerMonitor::instance().manualReconnect();
        return true;
    }
    if ((watched == m_panel || watched == m_panelLabel) && event->type() == QEvent::MouseButtonRelease) {
        ServerMonitor::instance().manualReconnect();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MessageWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int top = 28;
    int x = 4;
    for (QWidget *w : std::initializer_list<QWidget *>{m_start, m_processNow, m_manual, m_settings, m_woSP}) {
        w->setGeometry(x, 4, 96, 20);
        x += 100;
    }
    m_stop->setGeometry(m_start->geometry());
    m_setPos->setGeometry(width() - 70, 4, 64, 20);
    const int listWidth = 160;
    const int h = qMax(0, height() - top);
    m_flResults->setGeometry(0, top, listWidth, h);
    m_box->setGeometry(listWidth + 4, top, qMax(0, width() - listWidth - 4), h);
    m_settingsFrame->setGeometry(listWidth + 20, top + 20, 220, 80);
    m_panel->setGeometry(width() / 2 - 170, top + 20, 340, 40);
    m_panelLabel->setGeometry(4, 4, 332, 32);
}

void MessageWindow::playAlarm()
{
    // "ringout.wav" of the program's directory, once, without waiting; nothing when missing.
    const QString wav = QDir(programDirectory()).filePath(QStringLiteral("ringout.wav"));
    if (!QFile::exists(wav))
        return;
#ifdef RELAYON_HAVE_MULTIMEDIA
    auto *effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(wav));
    connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    effect->play();
#endif
}
