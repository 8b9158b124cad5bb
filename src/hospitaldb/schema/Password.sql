-- The Password database of the embedded hospital: the staff and their sign-in data.
-- The sign-in columns hold the hex salt and the hex PBKDF2-HMAC-SHA256 hash (32 bytes) of the
-- password with its iteration count; staff who do not sign in here leave them empty.
CREATE TABLE IF NOT EXISTS tbpasswordmain (
    EmployeeID TEXT COLLATE NOCASE PRIMARY KEY,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    Position TEXT COLLATE NOCASE,
    DeptCode TEXT COLLATE NOCASE,
    Active INTEGER DEFAULT 1,
    LoginName TEXT COLLATE NOCASE,
    PasswordSalt TEXT,
    PasswordHash TEXT,
    PasswordIterations INTEGER
);
CREATE UNIQUE INDEX IF NOT EXISTS ix_tbpasswordmain_LoginName ON tbpasswordmain (LoginName)
    WHERE LoginName IS NOT NULL AND LoginName <> '';
