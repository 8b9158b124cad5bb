#pragma once
// Operator accounts of the embedded hospital: salted PBKDF2-HMAC-SHA256 hashes in
// Password..tbpasswordmain (LoginName, PasswordSalt, PasswordHash, PasswordIterations).

#include <QString>

namespace hospitaldb {

class Hospital;

// Adds the account, or sets a new password when the login name exists.
void addUser(Hospital &hospital, const QString &loginName, const QString &password);

// True when password hashes to hashHex with the salt and iterations stored beside it;
// compared in constant time. An empty hashHex never matches.
bool verifyPassword(const QString &password, const QString &saltHex, const QString &hashHex, int iterations);

// True when the login name exists and the password matches; compared in constant time.
bool checkUser(Hospital &hospital, const QString &loginName, const QString &password);

} // namespace hospitaldb
