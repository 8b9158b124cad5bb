#include "UserSession.h"

#include "Accounts.h"
#include "BrowseWindow.h"
#include "Globals.h"
#include "Settings.h"
#include "SignInDialog.h"

#include <QCoreApplication>

namespace {

UserSession::DialogProvider &dialogProvider()
{
    static UserSession::DialogProvider provider;
    return provider;
}

const QString kConnection = QStringLiteral("Connection");

} // namespace

QStringList BrowseSpec::fields() const
{
    QStringList out;
    for (const QString &f : PropFieldList.split(u',', Qt::SkipEmptyParts)) {
        const QString name = f.trimmed();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

void ProgramClass::newbrowse()
{
    if (!session || !session->SQLConnection())
        return;
    BrowseWindow::open(session->SQLConnection(), Browse, staffAllowEdit, StaffAllowDelete);
}

void KaldraClassesLib::LoadRevenues()
{
    m_revenues.clear();
    Connection *c = m_session->SQLConnection();
    if (!c)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."));
    Recordset rs = c->open(QStringLiteral("SELECT * FROM RADIOLOGY..tbRadiologyRevenues WITH (NOLOCK)"));
    static const QStringList columns{QStringLiteral("RevenueID"),        QStringLiteral("Description"),
                                     QStringLiteral("RequestTableName"), QStringLiteral("ResultTableName"),
                                     QStringLiteral("HistoryTableName"), QStringLiteral("ExamTableName"),
                                     QStringLiteral("ExamCodeField")};
    for (; !rs.eof(); rs.moveNext()) {
        QStringList row;
        for (const QString &name : columns)
            row << (rs.columnIndex(name) >= 0 ? rs.field(name) : QString());
        m_revenues << row;
    }
}

QString KaldraClassesLib::GetRadiologyRevenue(int column, int row) const
{
    if (row < 0 || row >= m_revenues.size() || column < 0 || column >= m_revenues[row].size())
        return QString();
    return m_revenues[row][column];
}

void UserSession::setDialogProvider(DialogProvider provider)
{
    dialogProvider() = std::move(provider);
}

namespace {

// The session's connection must close while the application still exists (the SQL
// drivers' registry is gone by the time static objects are destroyed).
void releaseSession()
{
    gblUser.reset();
}

} // namespace

UserSession::UserSession()
{
    static const bool registered = [] {
        qAddPostRoutine(releaseSession);
        return true;
    }();
    Q_UNUSED(registered);
}
UserSession::~UserSession() = default;

ConnectionParams UserSession::storedConnectionParams()
{
    ConnectionParams p;
    p.server = ReadSetting(kAppCurrentUser, kConnection, QStringLiteral("Server"));
    p.database = ReadSetting(kAppCurrentUser, kConnection, QStringLiteral("Database"));
    p.user = ReadSetting(kAppCurrentUser, kConnection, QStringLiteral("User"));
    p.password = ReadSetting(kAppCurrentUser, kConnection, QStringLiteral("Password"));
    return p;
}

bool UserSession::signIn(const ConnectionParams &params, const QString &userName, const QString &password)
{
    m_signedIn = false;
    m_lastError.clear();
    m_connection.reset();
    try {
        std::unique_ptr<Connection> c = openConnection(params);
        if (!checkOperator(*c, userName, password)) {
            m_lastError = QStringLiteral("Invalid user name or password.");
            return false;
        }
        m_connection = std::move(c);
        m_userName = userName;
        m_signedIn = true;
        return true;
    } catch (const DbError &e) {
        m_lastError = e.description();
        return false;
    }
}

void UserSession::LoginUser(const QString &userName, const QString &password)
{
    signIn(storedConnectionParams(), userName, password);
}

void UserSession::ShowMain()
{
    DialogEntries entries;
    entries.connection = storedConnectionParams();
    entries.userName = ReadSetting(kAppProgram, QStringLiteral("Options"), QStringLiteral("UserName"));
    entries.error = m_lastError;
    for (;;) {
        const bool confirmed = dialogProvider() ? dialogProvider()(entries) : SignInDialog::ask(entries);
        if (!confirmed) {
            m_connection.reset();
            m_signedIn = false;
            return;
        }
        if (signIn(entries.connection, entries.userName, entries.password)) {
            // The component keeps the parameters that worked for the next start.
            WriteSetting(kAppCurrentUser, kConnection, QStringLiteral("Server"), entries.connection.server);
            WriteSetting(kAppCurrentUser, kConnection, QStringLiteral("Database"), entries.connection.database);
            WriteSetting(kAppCurrentUser, kConnection, QStringLiteral("User"), entries.connection.user);
            WriteSetting(kAppCurrentUser, kConnection, QStringLiteral("Password"), entries.connection.password);
            return;
        }
        entries.error = m_lastError;
    }
}

QString UserSession::ServerName() const
{
    return m_connection ? m_connection->serverName() : QString();
}

bool checkOperator(Connection &connection, const QString &userName, const QString &password)
{
    if (userName.isEmpty())
        return false;
    Recordset rs = connection.open(
        QStringLiteral("SELECT PasswordSalt, PasswordHash, PasswordIterations FROM Password..tbpasswordmain "
                       "WITH (NOLOCK) WHERE LoginName = ") + sqlStr(userName));
    if (rs.eof()) {
        hospitaldb::verifyPassword(password, QString(), QString(), 120000); // same time either way
        return false;
    }
    return hospitaldb::verifyPassword(password, rs.field(QStringLiteral("PasswordSalt")),
                                      rs.field(QStringLiteral("PasswordHash")),
                                      rs.field(QStringLiteral("PasswordIterations")).toInt());
}
