#include "Globals.h"
#include "UserSession.h"

std::unique_ptr<UserSession> gblUser;
bool gblLoggedIn = false;
bool gblStopProcessing = false;
qint16 gblMsgCount = 0;
bool gblWorkstationsFound = true;
bool gblConnectRequested = false;

QList<RevenueInfo> gblRevenues;
qint16 gblRevenueMax = -1;

qint16 gblAlwaysShowWindow = 1;
bool gblAutoStart = false;
bool gblConnectionMode = false;
QString gblRequestDir;
QString gblResultDir;
bool gblAlarmEnabled = false;
bool gblMoveFile = false;
QString gblMoveFileDir;
bool gblAutoReconnect = false;
QString gblLISId = QStringLiteral("ZAZ_LAB");
bool gblNumericMsgControlId = false;
QString gblHL7Version = QStringLiteral("2.3");
QString gblResultPort = QStringLiteral("1987");
QString gblMessageTypeACK = QStringLiteral("ORM^O01");
QString gblAppAckType = QStringLiteral("AL");
QString gblAccAckType = QStringLiteral("ER");
QString gblHostIP;
QString gblRequestPort = QStringLiteral("1988");
QString gblCompletedDir;
qint16 gblChkLIS = 1;
qint16 gblChkRIS = 1;
