-- The Radiology database of the embedded hospital.

-- The radiology revenues (departments): which request, result and history tables belong to
-- which revenue. StatusSWFinField names the request table's status column (SWFin when empty);
-- IncludeRevenue and ExcludeRevenue are lists of quoted revenue codes ('XR','DX') for an IN
-- list. ExamTableName and ExamCodeField name the revenue's exam table in Build_File and its
-- item-code column; the exam name is the column named like the code column without its last
-- two letters (ExamCodeField XRayID: name column XRay).
CREATE TABLE IF NOT EXISTS tbRadiologyRevenues (
    RevenueID TEXT COLLATE NOCASE NOT NULL,
    Description TEXT COLLATE NOCASE,
    SectionName TEXT COLLATE NOCASE,
    RequestTableName TEXT COLLATE NOCASE,
    ResultTableName TEXT COLLATE NOCASE,
    ExamTableName TEXT COLLATE NOCASE,
    ExamCodeField TEXT COLLATE NOCASE,
    HistoryTableName TEXT COLLATE NOCASE,
    DICOMModality TEXT COLLATE NOCASE,
    StatusSWFinField TEXT COLLATE NOCASE,
    IncludeRevenue TEXT COLLATE NOCASE,
    ExcludeRevenue TEXT COLLATE NOCASE,
    GType INTEGER PRIMARY KEY AUTOINCREMENT,
    Form TEXT COLLATE NOCASE,
    DeptNum TEXT COLLATE NOCASE,
    RefNumSuffix TEXT COLLATE NOCASE,
    SortOrder INTEGER,
    Active INTEGER NOT NULL DEFAULT 1,
    Common INTEGER DEFAULT 0,
    LocationID TEXT COLLATE NOCASE,
    ChargeSlipNum TEXT COLLATE NOCASE,
    RequestNum INTEGER DEFAULT 0,
    mainRevenueid TEXT COLLATE NOCASE
);

-- One row per order message built for the RIS (new order NW or cancellation CA).
CREATE TABLE IF NOT EXISTS tbHl7Logs (
    LogID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE,
    IDnum TEXT COLLATE NOCASE,
    Transdate TEXT COLLATE NOCASE,
    RevenueId TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Hospnum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ExportDate TEXT COLLATE NOCASE,
    HL7Type TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbHl7Logs_RequestNum ON tbHl7Logs (RequestNum);

-- The billable radiology examinations of each revenue.
CREATE TABLE IF NOT EXISTS tbBillExamListing (
    RevenueID TEXT COLLATE NOCASE NOT NULL,
    ItemID TEXT COLLATE NOCASE NOT NULL,
    Description TEXT COLLATE NOCASE,
    Amount REAL DEFAULT 0,
    Active INTEGER DEFAULT 1,
    PRIMARY KEY (RevenueID, ItemID)
);

-- Patient-edit messages prepared by the database for the RIS; HL7Status 'X' once written.
CREATE TABLE IF NOT EXISTS tbMasterHL7 (
    SequenceNo INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    FileName TEXT COLLATE NOCASE,
    HL7 TEXT COLLATE NOCASE,
    HL7Status TEXT COLLATE NOCASE DEFAULT '',
    TransDate TEXT COLLATE NOCASE,
    SentDate TEXT COLLATE NOCASE
);

-- Order messages prepared by the database (spRadioHL7Format): waiting while HL7Status is
-- empty, 'X' once the feed has written the file.
CREATE TABLE IF NOT EXISTS tbHL7Queue (
    SequenceNo INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE,
    RevenueID TEXT COLLATE NOCASE,
    FileName TEXT COLLATE NOCASE,
    HL7 TEXT COLLATE NOCASE,
    HL7Status TEXT COLLATE NOCASE DEFAULT '',
    QueuedDate TEXT COLLATE NOCASE,
    SentDate TEXT COLLATE NOCASE
);

-- Request tables. Every radiology revenue keeps its requests in one of these tables (the
-- revenue table names it); they share one layout so that the order generator, the search and
-- the status updates treat them alike. The item code is "code" (ItemID in tbMammoMaster and
-- tbNUCMaster, which fill both), the receptionist "[By]" (UserID in tbMammoMaster). The
-- patient's name, birth date, sex and MSS classification are kept as they were registered
-- when the request was entered (they feed tbRadiologyRequests).

CREATE TABLE IF NOT EXISTS tbRequestMaster (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbRequestMaster_RequestNum ON tbRequestMaster (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbRequestMaster_TransDate ON tbRequestMaster (TransDate);

CREATE TABLE IF NOT EXISTS tbXRRequest (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbXRRequest_RequestNum ON tbXRRequest (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbXRRequest_TransDate ON tbXRRequest (TransDate);

CREATE TABLE IF NOT EXISTS tbUlRequest (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbUlRequest_RequestNum ON tbUlRequest (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbUlRequest_TransDate ON tbUlRequest (TransDate);

CREATE TABLE IF NOT EXISTS tbOBULRequest (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbOBULRequest_RequestNum ON tbOBULRequest (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbOBULRequest_TransDate ON tbOBULRequest (TransDate);

CREATE TABLE IF NOT EXISTS tbCTRequest (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbCTRequest_RequestNum ON tbCTRequest (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbCTRequest_TransDate ON tbCTRequest (TransDate);

CREATE TABLE IF NOT EXISTS tbMRIRequest (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbMRIRequest_RequestNum ON tbMRIRequest (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbMRIRequest_TransDate ON tbMRIRequest (TransDate);

CREATE TABLE IF NOT EXISTS tbMRIRequest1 (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbMRIRequest1_RequestNum ON tbMRIRequest1 (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbMRIRequest1_TransDate ON tbMRIRequest1 (TransDate);

CREATE TABLE IF NOT EXISTS tbMammoMaster (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbMammoMaster_RequestNum ON tbMammoMaster (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbMammoMaster_TransDate ON tbMammoMaster (TransDate);

CREATE TABLE IF NOT EXISTS tbNUCMaster (
    RequestID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    RevenueID TEXT COLLATE NOCASE,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    code TEXT COLLATE NOCASE,
    ItemID TEXT COLLATE NOCASE,
    Quantity INTEGER DEFAULT 1,
    RoomID TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    DoctorName TEXT COLLATE NOCASE,
    [By] TEXT COLLATE NOCASE,
    UserID TEXT COLLATE NOCASE,
    stat INTEGER DEFAULT 0,
    ImagingReason TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    MSSClassification TEXT COLLATE NOCASE,
    StatusHl7 TEXT COLLATE NOCASE DEFAULT '',
    SWFin TEXT COLLATE NOCASE DEFAULT '',
    RISExamDate TEXT COLLATE NOCASE,
    StudyUID TEXT COLLATE NOCASE,
    isImageAvailable INTEGER DEFAULT 0
);
CREATE INDEX IF NOT EXISTS ix_tbNUCMaster_RequestNum ON tbNUCMaster (RequestNum);
CREATE INDEX IF NOT EXISTS ix_tbNUCMaster_TransDate ON tbNUCMaster (TransDate);

-- Result tables, one per revenue group (tbMRIResult serves tbMRIRequest and tbMRIRequest1).
-- Status: 'Y' draft, 'V' verified; isReleased '1' once released to the ward.

CREATE TABLE IF NOT EXISTS tbResultMaster (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbResultMaster_RequestNum ON tbResultMaster (RequestNum);

CREATE TABLE IF NOT EXISTS tbXRResult (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbXRResult_RequestNum ON tbXRResult (RequestNum);

CREATE TABLE IF NOT EXISTS tbULResult (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbULResult_RequestNum ON tbULResult (RequestNum);

CREATE TABLE IF NOT EXISTS tbULWomensResultOB (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbULWomensResultOB_RequestNum ON tbULWomensResultOB (RequestNum);

CREATE TABLE IF NOT EXISTS tbCTResult (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbCTResult_RequestNum ON tbCTResult (RequestNum);

CREATE TABLE IF NOT EXISTS tbMRIResult (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbMRIResult_RequestNum ON tbMRIResult (RequestNum);

CREATE TABLE IF NOT EXISTS tbMammoResult (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbMammoResult_RequestNum ON tbMammoResult (RequestNum);

CREATE TABLE IF NOT EXISTS tbNUCResult (
    ResultID INTEGER PRIMARY KEY AUTOINCREMENT,
    RequestNum TEXT COLLATE NOCASE NOT NULL DEFAULT '',
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    RefNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    ExamTaken TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE,
    ResultDate TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    ExamDate TEXT COLLATE NOCASE,
    RequestDoctorCode TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    VerifyById TEXT COLLATE NOCASE,
    SonologistID TEXT COLLATE NOCASE,
    RadTech TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    InterpretationPureText TEXT COLLATE NOCASE,
    Status TEXT COLLATE NOCASE,
    isReleased TEXT COLLATE NOCASE,
    EditedBy TEXT COLLATE NOCASE,
    TranscribedBy TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbNUCResult_RequestNum ON tbNUCResult (RequestNum);

-- Result history tables: one row per stored report version.

CREATE TABLE IF NOT EXISTS tbResultMasterHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbResultMasterHistory_RequestNum ON tbResultMasterHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbXRResultHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbXRResultHistory_RequestNum ON tbXRResultHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbULResultHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbULResultHistory_RequestNum ON tbULResultHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbULWomensResultOBHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbULWomensResultOBHistory_RequestNum ON tbULWomensResultOBHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbCTResultHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbCTResultHistory_RequestNum ON tbCTResultHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbMRIResultHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbMRIResultHistory_RequestNum ON tbMRIResultHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbMammoResultHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbMammoResultHistory_RequestNum ON tbMammoResultHistory (RequestNum);

CREATE TABLE IF NOT EXISTS tbNUCResultHistory (
    HistoryID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE,
    IDNum TEXT COLLATE NOCASE,
    ItemCode TEXT COLLATE NOCASE,
    RequestNum TEXT COLLATE NOCASE,
    RadCode TEXT COLLATE NOCASE,
    Interpretation TEXT COLLATE NOCASE,
    TranscribedByID TEXT COLLATE NOCASE,
    VerifyByID TEXT COLLATE NOCASE,
    VerifyDate TEXT COLLATE NOCASE,
    Version INTEGER,
    TransDate TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbNUCResultHistory_RequestNum ON tbNUCResultHistory (RequestNum);
-- Every radiology request of every revenue with its exam status, for the request search.
-- Status: 'X' no result yet, 'C' cancelled without result, otherwise the result's own status
-- ('Y' draft, 'V' verified; a result stored from the RIS without a status counts as verified
-- once it has a verify date).
CREATE VIEW IF NOT EXISTS tbRadiologyRequests AS
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbRequestMaster' AS RequestTableName
  FROM tbRequestMaster Q LEFT JOIN tbResultMaster R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbXRRequest' AS RequestTableName
  FROM tbXRRequest Q LEFT JOIN tbXRResult R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbUlRequest' AS RequestTableName
  FROM tbUlRequest Q LEFT JOIN tbULResult R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbOBULRequest' AS RequestTableName
  FROM tbOBULRequest Q LEFT JOIN tbULWomensResultOB R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbCTRequest' AS RequestTableName
  FROM tbCTRequest Q LEFT JOIN tbCTResult R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbMRIRequest' AS RequestTableName
  FROM tbMRIRequest Q LEFT JOIN tbMRIResult R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.code AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.code LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbMRIRequest1' AS RequestTableName
  FROM tbMRIRequest1 Q LEFT JOIN tbMRIResult R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.ItemID AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.ItemID LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbMammoMaster' AS RequestTableName
  FROM tbMammoMaster Q LEFT JOIN tbMammoResult R ON R.RequestNum = Q.RequestNum
UNION ALL
SELECT Q.RequestNum, Q.RevenueID, Q.HospNum, Q.IDNum AS IdNum, Q.RefNum AS refnum,
       Q.TransDate AS transdate, Q.ItemID AS ItemID,
       (SELECT B.Description FROM tbBillExamListing B
         WHERE B.RevenueID = Q.RevenueID AND B.ItemID = Q.ItemID LIMIT 1) AS Description,
       Q.RoomID, Q.RequestDoctorCode, Q.LastName, Q.FirstName, Q.MiddleName,
       Q.BirthDate AS Birthdate, Q.Sex, Q.MSSClassification, Q.SWFin AS swfin, Q.StatusHl7,
       CASE WHEN R.ResultID IS NULL THEN (CASE WHEN Q.SWFin = 'C' THEN 'C' ELSE 'X' END)
            WHEN IFNULL(R.Status, '') <> '' THEN R.Status
            WHEN R.VerifyDate IS NOT NULL THEN 'V' ELSE 'Y' END AS Status,
       R.VerifyDate AS verifydate, R.ResultDate, R.isReleased, R.EditedBy AS editedby,
       R.TranscribedBy AS transcribedby, R.VerifyById AS verifiedby, Q.isImageAvailable,
       'tbNUCMaster' AS RequestTableName
  FROM tbNUCMaster Q LEFT JOIN tbNUCResult R ON R.RequestNum = Q.RequestNum;
