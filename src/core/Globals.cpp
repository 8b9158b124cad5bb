#include "Globals.h"
#include "UserSession.h"

std::unique_ptr<UserSession> gblUser;
bool gblLoggedIn = false;

QList<RevenueInfo> gblRevenues;
qint16 gblRevenueMax = -1;
