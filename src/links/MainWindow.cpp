#include "MainWindow.h"

#include "CommLog.h"
#include "Globals.h"
#include "MainCommands.h"
#include "ServerMonitor.h"
#include "Settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), m_commands(MainCommands::instance())
{
    setObjectName(QStringLiteral("mdiMain"));
    setWindowTitle(kProgramTitle);
    resize(1088, 710); // 16320 x 10650 twips

    m_mdi = new QMdiArea(this);
    m_mdi->setBackground(QColor(0x48, 0x6D, 0xB1));
    setCentralWidget(m_mdi);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addMenuCommand(file, QStringLiteral("mnuConnect"), QStringLiteral("&Connect"), QKeySequence(Qt::CTRL | Qt::Key_F1));
    addMenuCommand(file, QStringLiteral("mnuDisconnect"), QStringLiteral("&Disconnect"), QKeySequence(Qt::CTRL | Qt::Key_F2));
    file->addSeparator();
    addMenuCommand(file, QStringLiteral("mnuTray"), QStringLiteral("Hide to &Tray"), QKeySequence(Qt::CTRL | Qt::Key_T));
    addMenuCommand(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The Build menu is hidden; its commands keep their shortcut keys.
    m_build = menuBar()->addMenu(QStringLiteral("&Build"));
    m_build->menuAction()->setVisible(false);
    for (const auto &[name, text, key] :
         {std::tuple{"mnuWorkstation", "&Workstation", Qt::Key_W}, std::tuple{"mnuExams", "&Examination", Qt::Key_E},
          std::tuple{"mnuInstruments", "&Instrument", Qt::Key_I}, std::tuple{"mnuCodes", "Instrument C&ode", Qt::Key_O},
          std::tuple{"mnuRefRange", "&Reference Range", Qt::Key_R}}) {
        QAction *a = addMenuCommand(m_build, QLatin1String(name), QLatin1String(text), QKeySequence(Qt::CTRL | key));
        addAction(a); // shortcuts work while the menu is hidden
    }

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    addMenuCommand(view, QStringLiteral("mnuMsgWindow"), QStringLiteral("Message Window"), QKeySequence(Qt::CTRL | Qt::Key_M));
    addMenuCommand(view, QStringLiteral("mnuCommLog"), QStringLiteral("Communication &Logs"), QKeySequence(Qt::CTRL | Qt::Key_L));
    QMenu *settings = menuBar()->addMenu(QStringLiteral("Settings"));
    addMenuCommand(settings, QStringLiteral("mnuStartUp"), QStringLiteral("Control Panel"), QKeySequence());
    QAction *search = menuBar()->addAction(QStringLiteral("Search Patient"));
    search->setObjectName(QStringLiteral("mnuSearch"));

    m_toolBar = addToolBar(QStringLiteral("tbrMain"));
    m_toolBar->setObjectName(QStringLiteral("tbrMain"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle *st = style();
    addToolButton(QStringLiteral("Connect"), QStringLiteral("Ctrl+C"), st->standardIcon(QStyle::SP_MediaPlay));
    addToolButton(QStringLiteral("Disconnect"), QStringLiteral("Ctrl+D"), st->standardIcon(QStyle::SP_MediaStop));
    m_buttons << m_toolBar->addSeparator();
    addToolButton(QStringLiteral("Messages"), QStringLiteral("Ctrl+M"), st->standardIcon(QStyle::SP_FileDialogDetailedView));
    addToolButton(QStringLiteral("Log"), QStringLiteral("Ctrl+L"), st->standardIcon(QStyle::SP_FileDialogContentsView));
    addToolButton(QStringLiteral("Hide"), QStringLiteral("Ctrl+T"), st->standardIcon(QStyle::SP_TitleBarMinButton));
    m_buttons << m_toolBar->addSeparator();
    m_buttons << m_toolBar->addSeparator();
    addToolButton(QStringLiteral("Export"), QString(), QIcon());
    addToolButton(QStringLiteral("Exit"), QStringLiteral("Ctrl+X"), st->standardIcon(QStyle::SP_DialogCloseButton));
    auto *spacer = new QWidget(m_toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spacer);
    m_trace = new QCheckBox(QStringLiteral("Trace"), m_toolBar);
    m_trace->setObjectName(QStringLiteral("chkTrace"));
    m_toolBar->addWidget(m_trace);

    m_sbServer = new QLabel(QStringLiteral("Server: "), this);
    m_sbServer->setObjectName(QStringLiteral("sbServer"));
    m_sbMode = new QLabel(QStringLiteral("Mode: "), this);
    m_sbMode->setObjectName(QStringLiteral("sbMode"));
    m_sbHost = new QLabel(QStringLiteral("Host: "), this);
    m_sbHost->setObjectName(QStringLiteral("sbHost"));
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    statusBar()->addWidget(m_sbServer, 1);
    statusBar()->addWidget(m_sbMode, 1);
    statusBar()->addWidget(m_sbHost, 1);

    // Commands.
    connect(action(QStringLiteral("mnuConnect")), &QAction::triggered, &m_commands, &MainCommands::Connect);
    connect(action(QStringLiteral("mnuDisconnect")), &QAction::triggered, &m_commands, &MainCommands::Disconnect);
    connect(action(QStringLiteral("mnuExit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("mnuMsgWindow")), &QAction::triggered, &m_commands, &MainCommands::MessageWindow);
    connect(action(QStringLiteral("mnuCommLog")), &QAction::triggered, &m_commands, &MainCommands::CommunicationLogs);
    connect(m_toolBar, &QToolBar::actionTriggered, this, [this](QAction *a) {
        // A click is dispatched by the button's text.
        const QString text = a->text();
        if (text == u"Connect")
            m_commands.Connect();
        else if (text == u"Disconnect")
            m_commands.Disconnect();
        else if (text == u"Messages")
            m_commands.MessageWindow();
        else if (text == u"Log")
            m_commands.CommunicationLogs();
        else if (text == u"Exit")
            emit exitRequested();
    });
    connect(m_trace, &QCheckBox::clicked, this, [](bool on) {
        SetTraceEnabled(on);
        WriteSetting(kAppProgram, QStringLiteral("HL7Relayon"), QStringLiteral("Trace"), on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    connect(&m_commands, &MainCommands::stateChanged, this, &MainWindow::applyState);
    applyState();
}

QAction *MainWindow::addMenuCommand(QMenu *menu, const QString &name, const QString &text, const QKeySequence &key)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

QAction *MainWindow::addToolButton(const QString &text, const QString &tip, const QIcon &icon)
{
    QAction *a = m_toolBar->addAction(icon, text);
    a->setToolTip(tip);
    m_buttons << a;
    return a;
}

QAction *MainWindow::action(const QString &objectName) const
{
    return findChild<QAction *>(objectName);
}

QAction *MainWindow::toolButton(int position) const
{
    return position >= 1 && position <= m_buttons.size() ? m_buttons[position - 1] : nullptr;
}

void MainWindow::applyState()
{
    const MainCommands &c = m_commands;
    action(QStringLiteral("mnuConnect"))->setEnabled(c.connectMenu);
    toolButton(1)->setEnabled(c.connectButton);
    action(QStringLiteral("mnuDisconnect"))->setEnabled(c.disconnect);
    toolButton(2)->setEnabled(c.disconnect);
    action(QStringLiteral("mnuTray"))->setEnabled(c.tray);
    toolButton(6)->setEnabled(c.tray);
    action(QStringLiteral("mnuExit"))->setEnabled(c.exitMenu);
    action(QStringLiteral("mnuMsgWindow"))->setEnabled(c.messageWindow);
    toolButton(4)->setEnabled(c.messageWindow);
    action(QStringLiteral("mnuCommLog"))->setEnabled(c.commLog);
    toolButton(5)->setEnabled(c.commLog);
    action(QStringLiteral("mnuWorkstation"))->setEnabled(c.build);
    action(QStringLiteral("mnuExams"))->setEnabled(c.build);
    m_build->setEnabled(c.build);
}

void MainWindow::creationSteps()
{
    setWindowTitle(kProgramTitle + u' ' + kProgramVersion);
    bool ok = false;
    const bool trace = ReadSetting(kAppProgram, QStringLiteral("HL7Relayon"), QStringLiteral("Trace"), QStringLiteral("0"))
                           .trimmed()
                           .toInt(&ok) != 0;
    m_trace->setChecked(ok && trace);
    SetTraceEnabled(ok && trace);
    if (!gblConnectionMode && gblAutoStart)
        m_commands.Connect();
}

QMdiSubWindow *MainWindow::addChild(QWidget *child)
{
    QMdiSubWindow *sub = m_mdi->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->move(0, 0);
    return sub;
}

void MainWindow::setStatusTexts(const QString &server, const QString &mode, const QString &host)
{
    m_sbServer->setText(server);
    m_sbMode->setText(mode);
    m_sbHost->setText(host);
}

QString MainWindow::statusText(const QString &key) const
{
    if (key == u"sbServer")
        return m_sbServer->text();
    if (key == u"sbMode")
        return m_sbMode->text();
    if (key == u"sbHost")
        return m_sbHost->text();
    return QString();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Child windows close first, each with its own closing steps; then the process ends.
    m_mdi->closeAllSubWindows();
    gblStopProcessing = true;
    event->accept();
    QApplication::quit();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !gblWorkstationsFound
        && m_commands.showWorkstationWindow)
        m_commands.showWorkstationWindow();
}
