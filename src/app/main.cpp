// relayon: the HL7 interface engine. Start-up runs Main; the process ends when Main finds
// no signed-in session, when the main window closes, or at the tool bar's Exit.

#include "Globals.h"
#include "Startup.h"
#include "CommLog.h"
#include "Windows.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    QApplication::setQuitOnLastWindowClosed(false);

    // Without a display, the message box is also written to standard output.
    if (QApplication::platformName() == u"offscreen" || QApplication::platformName() == u"minimal")
        MessageBox::instance().setEchoToStdout(true);

    programDirectory(); // created at start-up
    windows::install();
    if (!Main())
        return 0; // not signed in: no window was opened
    return app.exec();
}
