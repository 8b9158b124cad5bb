-- Demo hospital: a patient flagged as infected (results not exported).

INSERT INTO tbris_infected (requestnum, hospnum, idnum, infection, transdate) VALUES ('10006', 'T000307', '24000307B', 'PULMONARY TUBERCULOSIS', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime', '-50 hours'));
