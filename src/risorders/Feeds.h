#pragma once
// The RIS stored-procedure feeds: order and patient-edit messages that the radiology database
// prepares itself, written as order files and marked as sent; and the small database
// operations of the request search (server date, active revenues, resend).

#include "Database.h"

#include <QDateTime>
#include <QString>

// The connection the feeds use: the session's unless one is set here (tests).
void setFeedsConnection(Connection *connection);

void checkRequest();
void CheckEditPatient();
// A failure is shown in the message window and written as an error record (no box: an
// unattended poll must not wait for a click).
void MarkRequestSent(const QString &requestNum, const QString &revenueId);
void MarkEditPatientSent(const QString &sequenceNo);

// These three leave their failures (DbError) to the caller.
QDateTime GetServerDate();
Recordset GetActiveRevenues();
void ResendOrder(const QString &requestNum, const QString &revenueId);
