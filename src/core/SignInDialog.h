#pragma once
// The session component's own modal sign-in and connection dialog.

#include "UserSession.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class SignInDialog : public QDialog {
    Q_OBJECT
public:
    explicit SignInDialog(const UserSession::DialogEntries &entries, QWidget *parent = nullptr);
    UserSession::DialogEntries entries() const;

    // Shows the dialog modally; True and the entries filled when the operator confirmed.
    static bool ask(UserSession::DialogEntries &entries);

private:
    QLineEdit *m_userName;
    QLineEdit *m_password;
    QLineEdit *m_server;
    QLineEdit *m_database;
    QLineEdit *m_dbUser;
    QLineEdit *m_dbPassword;
    QLabel *m_error;
};
