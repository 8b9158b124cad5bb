-- The Patient_Data database of the embedded hospital: patients, visits and their histories.

-- Registered patients (hospital numbers of digits).
CREATE TABLE IF NOT EXISTS TBMaster (
    HospNum TEXT COLLATE NOCASE PRIMARY KEY,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    CivilStatus TEXT COLLATE NOCASE,
    HouseStreet TEXT COLLATE NOCASE,
    Barangay TEXT COLLATE NOCASE,
    Town TEXT COLLATE NOCASE,
    Province TEXT COLLATE NOCASE,
    ZipCode TEXT COLLATE NOCASE,
    TelNum TEXT COLLATE NOCASE,
    CellNum TEXT COLLATE NOCASE,
    MSSDiscountExpiry TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE
);

-- Walk-in (cash) patients: hospital numbers beginning with T.
CREATE TABLE IF NOT EXISTS tbCashPatient (
    HospNum TEXT COLLATE NOCASE PRIMARY KEY,
    LastName TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    BirthDate TEXT COLLATE NOCASE,
    Sex TEXT COLLATE NOCASE,
    HouseStreet TEXT COLLATE NOCASE,
    Barangay TEXT COLLATE NOCASE,
    Town TEXT COLLATE NOCASE,
    ZipCode TEXT COLLATE NOCASE,
    TelNum TEXT COLLATE NOCASE,
    CellNum TEXT COLLATE NOCASE,
    TransDate TEXT COLLATE NOCASE
);

-- Inpatient admissions (visit numbers of digits).
CREATE TABLE IF NOT EXISTS tbPatient (
    IDNum TEXT COLLATE NOCASE PRIMARY KEY,
    HospNum TEXT COLLATE NOCASE,
    AdmDate TEXT COLLATE NOCASE,
    DcrDate TEXT COLLATE NOCASE,
    Age TEXT COLLATE NOCASE,
    AccountNum TEXT COLLATE NOCASE,
    RoomID TEXT COLLATE NOCASE,
    AttendingDr TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbPatient_HospNum ON tbPatient (HospNum);

-- Outpatient and emergency visits (visit numbers ending in B); ErNum set for emergency visits.
CREATE TABLE IF NOT EXISTS tbOutPatient (
    IDNum TEXT COLLATE NOCASE PRIMARY KEY,
    HospNum TEXT COLLATE NOCASE,
    AdmDate TEXT COLLATE NOCASE,
    DcrDate TEXT COLLATE NOCASE,
    Age TEXT COLLATE NOCASE,
    AccountNum TEXT COLLATE NOCASE,
    ErNum TEXT COLLATE NOCASE,
    AttendingDr TEXT COLLATE NOCASE
);
CREATE INDEX IF NOT EXISTS ix_tbOutPatient_HospNum ON tbOutPatient (HospNum);

CREATE TABLE IF NOT EXISTS tbPatientHistory (
    IDNum TEXT COLLATE NOCASE PRIMARY KEY,
    HospNum TEXT COLLATE NOCASE,
    AdmDiagnosis TEXT COLLATE NOCASE,
    FinalDiagnosis TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS tbOutPatientHistory (
    IDNum TEXT COLLATE NOCASE PRIMARY KEY,
    HospNum TEXT COLLATE NOCASE,
    AdmDiagnosis TEXT COLLATE NOCASE
);

-- Known allergies of a patient (read by Radiology.dbo.fn_GetAllergiesHL7).
-- AllergyType: HL7 allergy type code (DA drug, FA food, EA environmental, MA miscellaneous);
-- Severity: SV severe, MO moderate, MI mild.
CREATE TABLE IF NOT EXISTS tbPatientAllergy (
    AllergyID INTEGER PRIMARY KEY AUTOINCREMENT,
    HospNum TEXT COLLATE NOCASE NOT NULL,
    AllergyType TEXT COLLATE NOCASE,
    Allergen TEXT COLLATE NOCASE,
    Severity TEXT COLLATE NOCASE,
    Reaction TEXT COLLATE NOCASE,
    IdentifiedDate TEXT COLLATE NOCASE,
    Active INTEGER DEFAULT 1
);
CREATE INDEX IF NOT EXISTS ix_tbPatientAllergy_HospNum ON tbPatientAllergy (HospNum);
