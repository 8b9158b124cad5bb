#include "Accounts.h"
#include "Hospital.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace hospitaldb {

namespace {

constexpr int kIterations = 120000;
constexpr int kKeyLength = 32;

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kKeyLength);
}

bool equalConstantTime(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

void addUser(Hospital &hospital, const QString &loginName, const QString &password)
{
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), salt.size() / 4);
    const QString saltHex = QString::fromLatin1(salt.toHex());
    const QString hashHex = QString::fromLatin1(derive(password, salt, kIterations).toHex());

    const ResultSet existing = hospital.query(
        QStringLiteral("SELECT 1 FROM Password.tbpasswordmain WHERE LoginName = ?"), {loginName});
    if (!existing.rows.isEmpty()) {
        hospital.exec(QStringLiteral("UPDATE Password.tbpasswordmain SET PasswordSalt = ?, PasswordHash = ?, "
                                     "PasswordIterations = ? WHERE LoginName = ?"),
                      {saltHex, hashHex, kIterations, loginName});
    } else {
        hospital.exec(QStringLiteral("INSERT INTO Password.tbpasswordmain (EmployeeID, LastName, FirstName, "
                                     "LoginName, PasswordSalt, PasswordHash, PasswordIterations) "
                                     "VALUES (?, ?, '', ?, ?, ?, ?)"),
                      {loginName.toUpper(), loginName.toUpper(), loginName, saltHex, hashHex, kIterations});
    }
}

bool verifyPassword(const QString &password, const QString &saltHex, const QString &hashHex, int iterations)
{
    const QByteArray salt = QByteArray::fromHex(saltHex.toLatin1());
    const QByteArray stored = QByteArray::fromHex(hashHex.toLatin1());
    const QByteArray derived = derive(password, salt, qBound(1, iterations, 10000000));
    return !stored.isEmpty() && equalConstantTime(derived, stored);
}

bool checkUser(Hospital &hospital, const QString &loginName, const QString &password)
{
    const ResultSet rs = hospital.query(
        QStringLiteral("SELECT PasswordSalt, PasswordHash, PasswordIterations FROM Password.tbpasswordmain "
                       "WHERE LoginName = ? AND PasswordHash IS NOT NULL"),
        {loginName});
    // Derive even when the name is unknown, so the answer takes as long either way.
    if (rs.rows.isEmpty()) {
        verifyPassword(password, QString(), QString(), kIterations);
        return false;
    }
    return verifyPassword(password, rs.rows[0][0].toString(), rs.rows[0][1].toString(), rs.rows[0][2].toInt());
}

} // namespace hospitaldb
