#include "IntakeConnection.h"

#include "Database.h"
#include "Globals.h"
#include "UserSession.h"

namespace {
Connection *g_connection = nullptr;
bool g_busy = false;
}

Connection &intakeConnection()
{
    if (g_connection)
        return *g_connection;
    if (!gblUser || !gblUser->SQLConnection())
        throw DbError(QStringLiteral("Not connected to the server"));
    return *gblUser->SQLConnection();
}

void setIntakeConnection(Connection *connection)
{
    g_connection = connection;
}

bool &intakeBusy()
{
    return g_busy;
}
