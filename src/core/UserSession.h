#pragma once
// The session component: signs the operator in, owns the program's one database connection
// and opens simple browse windows over database tables.
//
// The connection parameters are those of the application "KALDRA Current User", section
// "Connection" (Server, Database, User, Password). The operator's user name and password are
// checked against Password..tbpasswordmain (LoginName, PasswordSalt, PasswordHash,
// PasswordIterations: salted PBKDF2-HMAC-SHA256, compared in constant time).

#include "Database.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

// What a browse window shows: a table of a database, its columns, its find fields, an
// optional date filter and sort, and whether rows may be added, edited or deleted.
struct BrowseSpec {
    QString PropOperation;       // letters: "A" add, "E" edit, "D" delete, "F" find only
    QString PropDatabaseName;
    QString proptable;
    QString propwindowtitle;
    QWidget *propparentwindow = nullptr;
    QString PropFieldNameID;     // the column that identifies a row
    QString PropFieldList;       // comma-separated columns
    QString PropFindField1;
    QString PropFindField2;
    QString PropDateFilterField;
    bool PropFindBeforeListing = false; // list nothing until the operator searches
    QString propsort;
    QString PropFieldSizes;      // comma-separated widths in twips

    void Init() { *this = BrowseSpec(); }
    QStringList fields() const;
};

class UserSession;

struct ProgramClass {
    bool staffAllowEdit = false;
    bool StaffAllowDelete = false;
    BrowseSpec Browse;
    UserSession *session = nullptr;

    // Opens the browse window that Browse describes; nothing is read back.
    void newbrowse();
};

// The component's class library.
class KaldraClassesLib {
public:
    explicit KaldraClassesLib(UserSession *session) { PROGRAM.session = session; m_session = session; }

    bool UseClasses = false;
    void InitWithDB() {}
    ProgramClass PROGRAM;

    // The component's own copy of the radiology revenues, all rows of
    // Radiology..tbradiologyrevenues, columns: 0 RevenueID, 1 Description,
    // 2 RequestTableName, 3 ResultTableName, 4 HistoryTableName, 5 ExamTableName (the exam
    // table of the revenue in Build_File), 6 ExamCodeField (that table's item-code column).
    void LoadRevenues(); // throws DbError
    int tbRadiologyrevenuesSize() const { return int(m_revenues.size()) - 1; }
    QString GetRadiologyRevenue(int column, int row) const;

private:
    UserSession *m_session;
    QList<QStringList> m_revenues;
};

class UserSession : public QObject {
    Q_OBJECT
public:
    // The sign-in dialog, replaceable so that tests can answer it: returns True when the
    // operator confirmed the entries (filled into the arguments), False when cancelled.
    struct DialogEntries {
        ConnectionParams connection;
        QString userName;
        QString password;
        QString error; // shown to the operator
    };
    using DialogProvider = std::function<bool(DialogEntries &)>;
    static void setDialogProvider(DialogProvider provider);

    UserSession();
    ~UserSession() override;

    QString PasswordDeptCode;

    // Opens the connection from the stored parameters and checks the operator; Connected
    // tells the outcome, lastError() why it failed.
    void LoginUser(const QString &userName, const QString &password);
    // The component's own modal sign-in and connection dialog.
    void ShowMain();

    bool Connected() const { return m_connection && m_signedIn; }
    Connection *SQLConnection() const { return m_connection.get(); }
    QString ServerName() const;
    KaldraClassesLib *KALDRAClasses() { return &m_classes; }
    QString lastError() const { return m_lastError; }
    QString userName() const { return m_userName; }

    // The stored connection parameters of "KALDRA Current User".
    static ConnectionParams storedConnectionParams();

private:
    bool signIn(const ConnectionParams &params, const QString &userName, const QString &password);

    std::unique_ptr<Connection> m_connection;
    bool m_signedIn = false;
    QString m_lastError;
    QString m_userName;
    KaldraClassesLib m_classes{this};
};

// Checks an operator against the staff password table over any connection.
bool checkOperator(Connection &connection, const QString &userName, const QString &password);
