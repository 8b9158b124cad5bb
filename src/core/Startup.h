#pragma once
// Start-up: Main signs the operator in, loads the revenue table and the settings (which bring
// up the main window and the message window), makes the backup directory and shows the order
// generator. Main runs again in full after a lost database connection comes back.

#include <QString>

class QDir;

// Returns False when the session is not connected after the sign-in: no window was opened
// and the caller ends the process.
bool Main();
void Login();
bool LoginWithDialog();
void LoadSettings();

// Opens a throw-away connection with the stored parameters; True when it opens.
bool TestServerConnection();
// "Select 1" on the session's connection; on failure signs in again and returns False.
bool ConnectDB();

// Utilities shared by the windows.
QString GetToken(QString &source, const QString &delimiter);
void MakeDirQuiet(const QString &path);
bool PathExists(const QString &path);
