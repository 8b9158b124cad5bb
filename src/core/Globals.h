#pragma once
// Process-wide state: written on the user-interface thread only, alive for the whole process.

#include "RevenueTable.h"

#include <QList>
#include <QString>

#include <memory>

class UserSession;

inline const QString kProgramTitle = QStringLiteral("KALDRA HL7 Relayon");

// The signed-in session; its connection is the program's only database connection.
extern std::unique_ptr<UserSession> gblUser;
extern bool gblLoggedIn;

// The radiology revenue table and the index of its last row (-1 when empty).
extern QList<RevenueInfo> gblRevenues;
extern qint16 gblRevenueMax;
