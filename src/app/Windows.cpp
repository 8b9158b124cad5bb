#include "Windows.h"

#include "AppHooks.h"
#include "CommLog.h"
#include "Completion.h"
#include "Feeds.h"
#include "frmBrowse.h"
#include "ResultIntake.h"
#include "HandleInputWindow.h"
#include "MainCommands.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "ServerMonitor.h"
#include "Startup.h"
#include "TraceWindow.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>

namespace windows {

namespace {

QPointer<MainWindow> g_main;
QPointer<MessageWindow> g_message;
QPointer<TraceWindow> g_log;
QPointer<TraceWindow> g_errorLog;
QPointer<HandleInputWindow> g_handleInput;
QPointer<frmBrowse> g_orderGenerator;

TraceWindow *traceWindow(QPointer<TraceWindow> &slot, TraceModel &model)
{
    if (!slot) {
        MainWindow *main = mainWindow();
        slot = new TraceWindow(model);
        QMdiSubWindow *sub = main->addChild(slot);
        RestoreWindowPlacement(sub);
        sub->show();
    }
    return slot;
}

} // namespace

MainWindow *mainWindow()
{
    if (!g_main) {
        g_main = new MainWindow;
        g_main->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(g_main, &MainWindow::exitRequested, [] { QApplication::exit(0); });
        g_main->showMaximized();
        g_main->creationSteps();
    }
    return g_main;
}

MessageWindow *messageWindow()
{
    if (!g_message) {
        MainWindow *main = mainWindow();
        g_message = new MessageWindow;
        QMdiSubWindow *sub = main->addChild(g_message);
        sub->show();
        QObject::connect(g_message, &MessageWindow::manualProcessRequested, [] { handleInputWindow(); });
        MessagePolls &polls = g_message->polls();
        polls.handleInput = [](const QString &text) {
            qint16 mode = 0; // HandleInput takes the state of "w/o SP"
            return HandleInput(text, mode);
        };
        polls.checkRequest = [] { checkRequest(); };
        polls.checkEditPatient = [] { CheckEditPatient(); };
        polls.handleInputComplete = [](const QString &text) { return HandleInputComplete(text); };
        polls.lastResult = [](QString &hospNum, QString &patientName, QString &requestNum) {
            hospNum = gblHospNum;
            patientName = gblPatientName;
            requestNum = gblRequestNum;
        };
        SetWithoutSPState(qint16(g_message->hMode()));
        QObject::connect(g_message->chkWoSP(), &QCheckBox::stateChanged,
                         [](int) { SetWithoutSPState(qint16(g_message->hMode())); });
        g_message->creationSteps();
    }
    return g_message;
}

frmBrowse *orderGenerator()
{
    if (!g_orderGenerator) {
        MainWindow *main = mainWindow();
        g_orderGenerator = new frmBrowse;
        main->addChild(g_orderGenerator)->show();
    }
    QWidget *frame = g_orderGenerator->parentWidget();
    frame->show();
    frame->raise();
    return g_orderGenerator;
}

HandleInputWindow *handleInputWindow()
{
    if (!g_handleInput) {
        MainWindow *main = mainWindow();
        g_handleInput = new HandleInputWindow;
        g_handleInput->engine().handleInput = [](const QString &text) {
            MessagePolls &p = messageWindow()->polls();
            return p.handleInput && p.handleInput(text);
        };
        main->addChild(g_handleInput)->show();
    }
    return g_handleInput;
}

TraceWindow *logWindow()
{
    return traceWindow(g_log, TraceModel::log());
}

TraceWindow *errorLogWindow()
{
    return traceWindow(g_errorLog, TraceModel::error());
}

bool exists(const char *which)
{
    const QString w = QLatin1String(which);
    if (w == u"main")
        return g_main;
    if (w == u"message")
        return g_message;
    return false;
}

void install()
{
    AppHooks &hooks = AppHooks::instance();
    hooks.ensureMainAndMessageWindows = [] { messageWindow(); };
    hooks.showOrderGenerator = [] { orderGenerator(); };
    hooks.startTimers = [] { messageWindow()->polls().StartTimers(); };
    MainCommands::instance().startFilePolls = [] {
        MessagePolls &p = messageWindow()->polls();
        p.tmrGetResult.start();
        p.tmrGetRequests.start();
    };
    hooks.setStatusTexts = [](const QString &server, const QString &mode, const QString &host) {
        mainWindow()->setStatusTexts(server, mode, host);
    };
    // A trace line shows its window (created on first use inside the main window).
    QObject::connect(&TraceModel::log(), &TraceModel::changed, [] { logWindow(); });
    QObject::connect(&TraceModel::error(), &TraceModel::changed, [] { errorLogWindow(); });

    ServerMonitor &monitor = ServerMonitor::instance();
    monitor.testServerConnection = [] { return TestServerConnection(); };
    monitor.runMain = [] { Main(); };
    monitor.startTimers = [] {
        if (AppHooks::instance().startTimers)
            AppHooks::instance().startTimers();
    };

    MainCommands &commands = MainCommands::instance();
    commands.showMessageWindowHook = [](bool show) {
        MessageWindow *w = messageWindow();
        QWidget *frame = w->placementWidget();
        if (show) {
            frame->move(0, 0);
            frame->show();
            w->show();
        } else {
            frame->hide();
        }
    };
    commands.warn = [](const QString &text, const QString &title) {
        QMessageBox::warning(g_main, title, text);
    };
}

void closeAll()
{
    if (g_main) {
        g_main->mdiArea()->closeAllSubWindows();
        delete g_main;
    }
}

} // namespace windows
