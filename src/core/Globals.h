#pragma once
// Process-wide state: written on the user-interface thread only, alive for the whole process.

#include "RevenueTable.h"

#include <QList>
#include <QString>

#include <memory>

class UserSession;

inline const QString kProgramTitle = QStringLiteral("KALDRA HL7 Relayon");
inline const QString kProgramVersion = QStringLiteral("8.1.462");
// Source texts of the message box.
inline const QString kSourceRelayon = QStringLiteral("RELAYON: ");
inline const QString kRelayon = QStringLiteral("RELAYON");

// The signed-in session; its connection is the program's only database connection.
extern std::unique_ptr<UserSession> gblUser;
extern bool gblLoggedIn;
extern bool gblStopProcessing;
extern qint16 gblMsgCount;
extern bool gblWorkstationsFound;
extern bool gblConnectRequested;

// The radiology revenue table and the index of its last row (-1 when empty).
extern QList<RevenueInfo> gblRevenues;
extern qint16 gblRevenueMax;

// Values held from the settings (LoadSettings).
extern qint16 gblAlwaysShowWindow;
extern bool gblAutoStart;
extern bool gblConnectionMode; // True: file transfer; False: socket
extern QString gblRequestDir;
extern QString gblResultDir;
extern bool gblAlarmEnabled;
extern bool gblMoveFile;
extern QString gblMoveFileDir;
extern bool gblAutoReconnect;
extern QString gblLISId;
extern bool gblNumericMsgControlId;
extern QString gblHL7Version;
extern QString gblResultPort;
extern QString gblMessageTypeACK;
extern QString gblAppAckType;
extern QString gblAccAckType;
extern QString gblHostIP;
extern QString gblRequestPort;
extern QString gblCompletedDir;
extern qint16 gblChkLIS;
extern qint16 gblChkRIS;
