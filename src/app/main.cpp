// relayon: signs the operator in with the stored credentials (or the sign-in dialog) and
// loads the radiology revenue table.

#include "Globals.h"
#include "RevenueTable.h"
#include "Settings.h"
#include "UserSession.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    QTextStream out(stdout);

    gblUser = std::make_unique<UserSession>();
    gblUser->PasswordDeptCode = QStringLiteral("3");
    gblUser->LoginUser(ReadSetting(kAppProgram, QStringLiteral("Options"), QStringLiteral("UserName")),
                       ReadSetting(kAppProgram, QStringLiteral("Options"), QStringLiteral("UserPassword")));
    if (!gblUser->Connected())
        gblUser->ShowMain();
    gblLoggedIn = gblUser->Connected();
    LoadRevenues();
    if (!gblLoggedIn)
        return 1;

    out << "RELAYON: signed in to " << gblUser->ServerName() << " as " << gblUser->userName() << '\n';
    for (const RevenueInfo &r : gblRevenues)
        out << "RELAYON: revenue " << r.RevenueID << ": requests in " << r.RequestTableName << ", results in "
            << r.ResultTableName << '\n';
    out.flush();
    return 0;
}
