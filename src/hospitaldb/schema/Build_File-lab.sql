-- Build_File tables of the laboratory: sections, examinations and the workstations the
-- program links to.

CREATE TABLE IF NOT EXISTS tbVeVodSection (
    LabsectionID INTEGER PRIMARY KEY,
    LabSection   TEXT COLLATE NOCASE,
    Barcoded     INTEGER
);

CREATE TABLE IF NOT EXISTS tbVeVodExam (
    LabExamID    TEXT COLLATE NOCASE PRIMARY KEY,
    LabExam      TEXT COLLATE NOCASE,
    LabSectionID INTEGER,
    Active       INTEGER DEFAULT 1
);

CREATE TABLE IF NOT EXISTS tbVeVodZAZWorkstation (
    WorkstationID INTEGER PRIMARY KEY AUTOINCREMENT,
    ComputerName  TEXT COLLATE NOCASE,
    SocketNum     TEXT COLLATE NOCASE,
    Active        INTEGER DEFAULT 0,
    SectionID     INTEGER
);
