#pragma once
// The HL7 files the program writes: new-order and patient-edit messages prepared by the
// radiology database (request directory, with backups under the backup base's "bak" folder)
// and messages received on a workstation socket (result directory, for the result poll).
//
// Every file is the message followed by CR LF in Latin-1, written under a temporary name
// that does not end in ".hl7", flushed and renamed into place, so the RIS and the result
// poll never read half a file. No error leaves these writers: they report it and set their
// failure flag.

#include <QDateTime>
#include <QString>

#include <functional>

// Set False once the request file is written, True by a failure; otherwise unchanged.
extern bool gblGenerateFailed;     // GenerateHL7File
extern bool gblEditGenerateFailed; // GenerateEditHL7File

void GenerateHL7File(const QString &message, const QString &fileName, const QString &directoryList,
                     const QString &unused1, const QString &unused2);
void GenerateEditHL7File(const QString &message, const QString &fileName, const QString &directoryList,
                         const QString &unused1, const QString &unused2);
// Never replaces a result file that is waiting: a taken name gets "-1", "-2"... before ".hl7".
void SaveResultHL7File(const QString &message, const QString &name);

// The clock the writers name their files by (the workstation's local time); tests set it.
void setHL7FileClock(std::function<QDateTime()> clock); // empty: QDateTime::currentDateTime
