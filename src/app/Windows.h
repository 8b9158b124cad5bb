#pragma once
// The single instances of the program's windows, each created on first use with its
// creation steps, and the wiring of the core's hooks to them.

class MainWindow;
class HandleInputWindow;
class frmBrowse;
class MessageWindow;
class TraceWindow;

namespace windows {

MainWindow *mainWindow();       // created (with its creation steps) on first use
MessageWindow *messageWindow(); // creates the main window first
HandleInputWindow *handleInputWindow(); // "Handle Input"
frmBrowse *orderGenerator();            // "HL7 Order Generator", brought to the front
TraceWindow *logWindow();       // "Log"
TraceWindow *errorLogWindow();  // "Error Log"
bool exists(const char *which); // "main", "message" (for tests)

// Connects AppHooks, ServerMonitor and MainCommands to the windows and the start-up.
void install();
// Closes every window (tests).
void closeAll();

} // namespace windows
