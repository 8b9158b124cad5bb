#include "SignInDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

SignInDialog::SignInDialog(const UserSession::DialogEntries &entries, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSignIn"));
    setWindowTitle(QStringLiteral("Sign In"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    m_error = new QLabel(entries.error, this);
    m_error->setObjectName(QStringLiteral("lblError"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #a00000"));
    m_error->setVisible(!entries.error.isEmpty());
    layout->addWidget(m_error);

    auto *user = new QFormLayout;
    m_userName = new QLineEdit(entries.userName, this);
    m_userName->setObjectName(QStringLiteral("txtUserName"));
    m_password = new QLineEdit(entries.password, this);
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    user->addRow(QStringLiteral("User name:"), m_userName);
    user->addRow(QStringLiteral("Password:"), m_password);
    layout->addLayout(user);

    auto *box = new QGroupBox(QStringLiteral("Connection"), this);
    auto *conn = new QFormLayout(box);
    m_server = new QLineEdit(entries.connection.server, box);
    m_server->setObjectName(QStringLiteral("txtServer"));
    m_server->setPlaceholderText(QStringLiteral("host, host,port, host\\instance or a hospital directory"));
    m_database = new QLineEdit(entries.connection.database, box);
    m_database->setObjectName(QStringLiteral("txtDatabase"));
    m_dbUser = new QLineEdit(entries.connection.user, box);
    m_dbUser->setObjectName(QStringLiteral("txtDbUser"));
    m_dbPassword = new QLineEdit(entries.connection.password, box);
    m_dbPassword->setObjectName(QStringLiteral("txtDbPassword"));
    m_dbPassword->setEchoMode(QLineEdit::Password);
    conn->addRow(QStringLiteral("Server:"), m_server);
    conn->addRow(QStringLiteral("Database:"), m_database);
    conn->addRow(QStringLiteral("User:"), m_dbUser);
    conn->addRow(QStringLiteral("Password:"), m_dbPassword);
    layout->addWidget(box);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    if (entries.userName.isEmpty())
        m_userName->setFocus();
    else
        m_password->setFocus();
}

UserSession::DialogEntries SignInDialog::entries() const
{
    UserSession::DialogEntries e;
    e.userName = m_userName->text().trimmed();
    e.password = m_password->text();
    e.connection.server = m_server->text().trimmed();
    e.connection.database = m_database->text().trimmed();
    e.connection.user = m_dbUser->text().trimmed();
    e.connection.password = m_dbPassword->text();
    return e;
}

bool SignInDialog::ask(UserSession::DialogEntries &entries)
{
    SignInDialog dialog(entries);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entries = dialog.entries();
    return true;
}
