-- The STATION database of the embedded hospital: the nursing stations' records.

-- The nurse log book: one row per requested examination of a visit.
-- RecordStatus: '' requested, 'W' with result.
CREATE TABLE IF NOT EXISTS tbNurseLogBook (
    LogID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RevenueID TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    ReferenceNum TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    Description TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RequestDate TEXT COLLATE NOCASE,
    RequestBy TEXT COLLATE NOCASE,
    Remarks TEXT COLLATE NOCASE,
    RecordStatus TEXT COLLATE NOCASE DEFAULT '',
    ResultBy TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbNurseLogBook_IDNum ON tbNurseLogBook (IDNum);
CREATE INDEX IF NOT EXISTS ix_tbNurseLogBook_RequestNum ON tbNurseLogBook (RequestNum);

-- Messages between the wards and the departments about a request.
-- RecordStatus: '' open, 'X' answered by a result.
CREATE TABLE IF NOT EXISTS tbNurseCommunicationFile (
    CommID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RevenueID TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    Message TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    RecordStatus TEXT COLLATE NOCASE DEFAULT ''
);
CREATE INDEX IF NOT EXISTS ix_tbNurseCommunicationFile_RequestNum ON tbNurseCommunicationFile (RequestNum);

-- The nursing profile of a visit.
CREATE TABLE IF NOT EXISTS tbNurseProfile (
    IDNum TEXT COLLATE NOCASE PRIMARY KEY,
    HospNum TEXT COLLATE NOCASE,
    BriefHistory TEXT COLLATE NOCASE,
    ChiefComplaint TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE
);
