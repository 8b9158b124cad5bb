-- Demo hospital: staff. The sign-in account of the demo operator is added by the hospital tool.

INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0451', 'SANTOS', 'MARIA CLARA', 'DIAZ', 'RECEPTIONIST', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0452', 'REYES', 'JOHN PAUL', 'MANALO', 'RECEPTIONIST', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0460', 'DELA CRUZ', 'JUAN', 'BAUTISTA', 'RADIOGRAPHER', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0461', 'O''BRIEN', 'KATHLEEN', 'MAE', 'RADIOGRAPHER', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0462', 'NUÑEZ', 'RENÉ', 'SALVADOR', 'RADIOGRAPHER', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0470', 'VILLANUEVA', 'MARK', 'ANTHONY', 'RESIDENT', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0471', 'CASTILLO', 'ANNA', 'LIZA', 'RESIDENT', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0480', 'SANTIAGO', 'ROBERTO', 'LIM', 'RADIOLOGIST', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0481', 'PEÑA', 'JOSÉ', 'RIZAL', 'RADIOLOGIST', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0482', 'O''CONNOR', 'MARGARET', 'ANN', 'RADIOLOGIST', 'RAD', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0490', 'MACARAEG', 'NOEL', 'PAZ', 'NURSE', 'NUR', 1);
INSERT INTO tbpasswordmain (EmployeeID, LastName, FirstName, MiddleName, Position, DeptCode, Active) VALUES ('0491', 'TORRES', 'ALMA', NULL, 'NURSE', 'NUR', 1);
