-- The bac database of the embedded hospital: infection control.
-- Radiology requests of patients flagged as infected; their results are not exported.
CREATE TABLE IF NOT EXISTS tbris_infected (
    requestnum TEXT COLLATE NOCASE PRIMARY KEY,
    hospnum TEXT COLLATE NOCASE,
    idnum TEXT COLLATE NOCASE,
    infection TEXT COLLATE NOCASE,
    transdate TEXT COLLATE NOCASE
);
