-- Demo hospital, Laboratory database: instruments, codes, examination mappings, specimens,
-- reference ranges (male, female and both), the control counter, serology tests and a few
-- communication messages of the hour the demo hospital was made.

INSERT INTO tbLabInstrument (InstrumentId, InstrumentName) VALUES (1, 'HEMATOLOGY ANALYZER HX-500');
INSERT INTO tbLabInstrument (InstrumentId, InstrumentName) VALUES (2, 'CHEMISTRY ANALYZER CX-220');
INSERT INTO tbLabInstrument (InstrumentId, InstrumentName) VALUES (3, 'IMMUNOASSAY ANALYZER IA-90');
INSERT INTO tbLabInstrument (InstrumentId, InstrumentName) VALUES (4, 'URINE ANALYZER UA-10');

INSERT INTO tbLabInstrumentCode (Code, InstrumentID, InstrumentName) VALUES ('HX5', 1, 'HEMATOLOGY ANALYZER HX-500');
INSERT INTO tbLabInstrumentCode (Code, InstrumentID, InstrumentName) VALUES ('HX500', 1, 'HEMATOLOGY ANALYZER HX-500');
INSERT INTO tbLabInstrumentCode (Code, InstrumentID, InstrumentName) VALUES ('CX2', 2, 'CHEMISTRY ANALYZER CX-220');
INSERT INTO tbLabInstrumentCode (Code, InstrumentID, InstrumentName) VALUES ('IA9', 3, 'IMMUNOASSAY ANALYZER IA-90');
INSERT INTO tbLabInstrumentCode (Code, InstrumentID, InstrumentName) VALUES ('UA1', 4, 'URINE ANALYZER UA-10');

INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('1001', 'CBC', 1, 1, '1');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('1002', 'HGB', 0, 1, '1');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('1003', 'HCT', 0, 1, '1');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('1004', 'PLT', 0, 1, '1');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('1005', 'WBC', 0, 1, '1');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2001', 'GLU', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2002', 'CREA', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2003', 'BUN', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2004', 'NA', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2005', 'K', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2006', 'ALT', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2007', 'LIPID', 1, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('2099', 'HBA1C', 0, 1, '2');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('3001', 'HBSAG', 0, 1, '3');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('3002', 'NS1', 0, 1, '3');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('3004', 'WIDAL', 0, 0, '3');
INSERT INTO tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) VALUES ('4001', 'UA', 1, 1, '4');

INSERT INTO tbLabSpecimen (BarcodeID, SpecimenId, Specimen) VALUES (1, 'WB', 'WHOLE BLOOD');
INSERT INTO tbLabSpecimen (BarcodeID, SpecimenId, Specimen) VALUES (2, 'SER', 'SERUM');
INSERT INTO tbLabSpecimen (BarcodeID, SpecimenId, Specimen) VALUES (3, 'PLA', 'PLASMA');
INSERT INTO tbLabSpecimen (BarcodeID, SpecimenId, Specimen) VALUES (4, 'URI', 'URINE');
INSERT INTO tbLabSpecimen (BarcodeID, SpecimenId, Specimen) VALUES (5, 'CSF', 'CEREBROSPINAL FLUID');
INSERT INTO tbLabSpecimen (BarcodeID, SpecimenId, Specimen) VALUES (12, 'SERC', 'SERUM, CHILLED');

INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (1, 1, '1002', '13.5-17.5', '13.5', '17.5', 'g/dL', 'M', 'T', 'WB', '1', '2026-01-05 08:00:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (2, 1, '1002', '12.0-15.5', '12.0', '15.5', 'g/dL', 'F', 'T', 'WB', '1', '2026-01-05 08:00:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (3, 1, '1003', '41-53', '41', '53', '%', 'M', 'T', 'WB', '1', '2026-01-05 08:00:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (4, 1, '1004', '150-450', '150', '450', 'x10^9/L', '', 'F', 'WB', '1', '2026-01-05 08:00:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (5, 1, '1005', '4.5-11.0', '4.5', '11.0', 'x10^9/L', '', 'F', 'WB', '1', '2026-01-05 08:00:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (6, 2, '2001', '70-110', '70', '110', 'mg/dL', '', 'F', 'SER', '2', '2026-01-06 09:30:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (7, 2, '2002', '0.7-1.3', '0.7', '1.3', 'mg/dL', 'M', 'T', 'SER', '2', '2026-01-06 09:30:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (8, 2, '2002', '0.6-1.1', '0.6', '1.1', 'mg/dL', 'F', 'T', 'SER', '2', '2026-01-06 09:30:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (9, 2, '2005', '3.5-5.1', '3.5', '5.1', 'mmol/L', '', 'F', 'SER', '2', '2026-01-06 09:30:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (10, 3, '3001', 'NON-REACTIVE', '', '', '', '', 'F', 'SER', '2', '2026-01-07 10:00:00.000');
INSERT INTO tbLabReferenceRange (ReferenceID, InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, Sex, EnableSex, SpecimenId, BarcodeID, DateModified)
VALUES (11, 3, '3002', 'NEGATIVE', '', '', '', '', 'F', 'SER', '2', '2026-01-07 10:00:00.000');

INSERT INTO tbLabHL7ControlID (MsgCtrlID) VALUES (12345);

INSERT INTO tbLabSerologyTest (TestCode, Description, Active) VALUES ('HBSAG', 'HEPATITIS B SURFACE ANTIGEN', 1);
INSERT INTO tbLabSerologyTest (TestCode, Description, Active) VALUES ('NS1', 'DENGUE NS1 ANTIGEN', 1);
INSERT INTO tbLabSerologyTest (TestCode, Description, Active) VALUES ('WIDAL', 'WIDAL TEST', 1);
INSERT INTO tbLabSerologyTest (TestCode, Description, Active) VALUES ('HCV', 'ANTI-HCV', 1);
INSERT INTO tbLabSerologyTest (TestCode, Description, Active) VALUES ('VDRL', 'VDRL (RETIRED)', 0);

INSERT INTO tbLabCommMessages (Sender, Receiver, Message, DateReceived)
VALUES ('192.168.10.21 [5001]:', 'RELAYON', char(11) || 'MSH|^~\&|HX500||ZAZ_LAB||20260105080102||ORU^R01|0000000012345C|P|2.3' || char(13)
        || 'OBR|1|00004711|||||||||||||||||||||HM' || char(13) || 'OBX|1|NM|HGB||14.2|g/dL|13.5-17.5||||F' || char(13) || char(28) || char(13),
        strftime('%Y-%m-%d %H:00:05.000', 'now', 'localtime'));
INSERT INTO tbLabCommMessages (Sender, Receiver, Message, DateReceived)
VALUES ('RELAYON', '192.168.10.21 [5001]:', char(11) || 'MSH|^~\&|KALDRA||ZAZ_LAB||20260105080103||ACK|0000000012345C|P|2.3' || char(13)
        || 'MSA|AA|0000000012345C||||' || char(13) || char(28) || char(13),
        strftime('%Y-%m-%d %H:00:06.000', 'now', 'localtime'));
INSERT INTO tbLabCommMessages (Sender, Receiver, Message, DateReceived)
VALUES ('192.168.10.22 [5002]:', 'RELAYON', 'Connection to LABWS-CHEM closed by the peer', '2026-01-05 07:45:00.000');
