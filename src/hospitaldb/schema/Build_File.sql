-- The Build_File database of the embedded hospital: the code tables of doctors, insurance
-- companies and radiology examinations (the laboratory code tables are in Build_File-lab.sql).

CREATE TABLE IF NOT EXISTS tbCoDoctor (
    DoctorID TEXT COLLATE NOCASE PRIMARY KEY,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    Specialization TEXT COLLATE NOCASE,
    LicenseNum TEXT COLLATE NOCASE,
    Active INTEGER DEFAULT 1
);

-- Insurance and company accounts: a visit's AccountNum is either the patient's own hospital
-- number (personal account) or one of these.
CREATE TABLE IF NOT EXISTS tbCoCompany (
    AccountNum TEXT COLLATE NOCASE PRIMARY KEY,
    Company TEXT COLLATE NOCASE,
    Address TEXT COLLATE NOCASE,
    ContactPerson TEXT COLLATE NOCASE,
    Active INTEGER DEFAULT 1
);

-- Radiology examination tables, named per revenue by Radiology..tbRadiologyRevenues
-- (ExamTableName, ExamCodeField): code column <Name>ID, name column <Name>.
CREATE TABLE IF NOT EXISTS tbCoXRayExam (
    XRayID TEXT COLLATE NOCASE PRIMARY KEY,
    XRay TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS tbCoUltrasoundExam (
    UltrasoundID TEXT COLLATE NOCASE PRIMARY KEY,
    Ultrasound TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS tbCoCTScanExam (
    CTScanID TEXT COLLATE NOCASE PRIMARY KEY,
    CTScan TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS tbCoMRIExam (
    MRIID TEXT COLLATE NOCASE PRIMARY KEY,
    MRI TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS tbCoMammoExam (
    MammoID TEXT COLLATE NOCASE PRIMARY KEY,
    Mammo TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS tbCoNuclearExam (
    NuclearID TEXT COLLATE NOCASE PRIMARY KEY,
    Nuclear TEXT COLLATE NOCASE
);
CREATE TABLE IF NOT EXISTS tbCoSpecialExam (
    SpecialID TEXT COLLATE NOCASE PRIMARY KEY,
    Special TEXT COLLATE NOCASE
);
