-- Demo hospital, laboratory side of Build_File: sections, examinations, workstations.

INSERT INTO tbVeVodSection (LabsectionID, LabSection, Barcoded) VALUES (1, 'HEMATOLOGY', 1);
INSERT INTO tbVeVodSection (LabsectionID, LabSection, Barcoded) VALUES (2, 'CLINICAL CHEMISTRY', 1);
INSERT INTO tbVeVodSection (LabsectionID, LabSection, Barcoded) VALUES (3, 'SEROLOGY', 1);
INSERT INTO tbVeVodSection (LabsectionID, LabSection, Barcoded) VALUES (4, 'CLINICAL MICROSCOPY', NULL);
INSERT INTO tbVeVodSection (LabsectionID, LabSection, Barcoded) VALUES (5, 'IMMUNOLOGY', 0);

INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('1001', 'COMPLETE BLOOD COUNT', 1);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('1002', 'HEMOGLOBIN', 1);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('1003', 'HEMATOCRIT', 1);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('1004', 'PLATELET COUNT', 1);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('1005', 'WHITE BLOOD CELL COUNT', 1);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('1006', 'DIRECT COOMBS'' TEST', 1);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2001', 'FASTING BLOOD SUGAR', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2002', 'CREATININE', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2003', 'BLOOD UREA NITROGEN', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2004', 'SODIUM', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2005', 'POTASSIUM', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2006', 'SGPT (ALT)', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('2007', 'LIPID PROFILE', 2);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('3001', 'HBSAG SCREENING', 3);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('3002', 'DENGUE NS1 ANTIGEN', 3);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('3003', 'TYPHOID IGM/IGG', 3);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('3004', 'WIDAL TEST', 3);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('4001', 'URINALYSIS', 4);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('4002', 'FECALYSIS', 4);
INSERT INTO tbVeVodExam (LabExamID, LabExam, LabSectionID) VALUES ('5001', 'ANTI-HCV', 5);

-- Two active links with a name and a socket; one inactive; one without a socket (never listed).
INSERT INTO tbVeVodZAZWorkstation (ComputerName, SocketNum, Active, SectionID) VALUES ('LABWS-CHEM', '5002', 1, 2);
INSERT INTO tbVeVodZAZWorkstation (ComputerName, SocketNum, Active, SectionID) VALUES ('LABWS-HEMA', '5001', 1, 1);
INSERT INTO tbVeVodZAZWorkstation (ComputerName, SocketNum, Active, SectionID) VALUES ('LABWS-SERO', '5003', 0, 3);
INSERT INTO tbVeVodZAZWorkstation (ComputerName, SocketNum, Active, SectionID) VALUES ('LABWS-SPARE', NULL, 1, 4);
