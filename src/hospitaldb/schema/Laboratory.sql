-- The laboratory database: instruments and their codes, the examinations mapped to
-- instruments, reference ranges, specimens, the HL7 message control counter, serology tests,
-- instrument flags received with results, and the communication messages of the links.

-- Laboratory instruments (analysers), by name.
CREATE TABLE IF NOT EXISTS tbLabInstrument (
    InstrumentId   INTEGER PRIMARY KEY AUTOINCREMENT,
    InstrumentName TEXT COLLATE NOCASE
);

-- Codes under which an instrument is known. InstrumentName follows the instrument's row so
-- that a plain read of the table shows it (kept by the connection's triggers, see
-- LaboratoryProcedures.cpp).
CREATE TABLE IF NOT EXISTS tbLabInstrumentCode (
    Code           TEXT COLLATE NOCASE,
    InstrumentID   INTEGER,
    InstrumentName TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ixLabInstrumentCode_Code ON tbLabInstrumentCode (Code);

-- Examinations mapped to the code an instrument (LIS) knows them by. ItemID is the
-- examination's LabExamID (Build_File..tbVeVodExam); InstrumentID is the LIS id as text.
CREATE TABLE IF NOT EXISTS tbLabInstrumentExams (
    ItemID             TEXT COLLATE NOCASE,
    InstrumentExamName TEXT COLLATE NOCASE,
    Profile            INTEGER DEFAULT 0,
    Active             INTEGER DEFAULT 1,
    InstrumentID       TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ixLabInstrumentExams ON tbLabInstrumentExams (InstrumentID, ItemID);

-- Specimens; BarcodeID is the number printed on the tube labels.
CREATE TABLE IF NOT EXISTS tbLabSpecimen (
    BarcodeID  INTEGER,
    SpecimenId TEXT COLLATE NOCASE,
    Specimen   TEXT COLLATE NOCASE
);

-- Reference ranges of an examination on an instrument, optionally per sex and specimen.
-- A numeric range has MinVal and MaxVal; a text range has both empty and RefRange only.
CREATE TABLE IF NOT EXISTS tbLabReferenceRange (
    ReferenceID  INTEGER PRIMARY KEY AUTOINCREMENT,
    InstrumentId INTEGER,
    ItemID       TEXT COLLATE NOCASE,
    RefRange     TEXT COLLATE NOCASE,
    MinVal       TEXT COLLATE NOCASE,
    MaxVal       TEXT COLLATE NOCASE,
    Unit         TEXT COLLATE NOCASE,
    Sex          TEXT COLLATE NOCASE,
    EnableSex    TEXT COLLATE NOCASE,
    SpecimenId   TEXT COLLATE NOCASE,
    BarcodeID    TEXT COLLATE NOCASE,
    DateModified TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ixLabReferenceRange ON tbLabReferenceRange (InstrumentId, ItemID);

-- The HL7 message control counter: one row; without it the program numbers its own ids.
CREATE TABLE IF NOT EXISTS tbLabHL7ControlID (
    MsgCtrlID INTEGER NOT NULL DEFAULT 0
);

-- Test codes (as the instruments send them in OBX-3) whose results are serology titres,
-- kept with both components of the value.
CREATE TABLE IF NOT EXISTS tbLabSerologyTest (
    TestCode    TEXT COLLATE NOCASE PRIMARY KEY,
    Description TEXT COLLATE NOCASE,
    Active      INTEGER DEFAULT 1
);

-- Instrument flags (result comments) received with the results of a sample.
CREATE TABLE IF NOT EXISTS tbLabInstrumentFlag (
    FlagID       INTEGER PRIMARY KEY AUTOINCREMENT,
    LISId        TEXT COLLATE NOCASE,
    SampleNo     TEXT COLLATE NOCASE,
    TestCode     TEXT COLLATE NOCASE,
    Flag         TEXT COLLATE NOCASE,
    DateReceived TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ixLabInstrumentFlag ON tbLabInstrumentFlag (SampleNo);

-- Messages exchanged with the laboratory workstations, as the laboratory's own
-- components log them; read by the communication log viewer.
CREATE TABLE IF NOT EXISTS tbLabCommMessages (
    MessageID    INTEGER PRIMARY KEY AUTOINCREMENT,
    Sender       TEXT COLLATE NOCASE,
    Receiver     TEXT COLLATE NOCASE,
    Message      TEXT COLLATE NOCASE,
    DateReceived TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ixLabCommMessages ON tbLabCommMessages (DateReceived);
