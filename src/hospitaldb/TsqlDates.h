#pragma once
// Date texts of the embedded hospital. Dates are stored as ISO text
// 'YYYY-MM-DD HH:MM:SS.mmm'; the program writes month/day/year literals. Both the
// translator (literals) and the SQLite functions (CONVERT, DATEADD) read and write them here.

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

namespace hospitaldb::tsqldates {

struct DateTime {
    QDate date;
    QTime time; // always valid; midnight for a date without time
};

// 'YYYY-MM-DD', optionally followed by a blank or 'T' and 'HH:MM', 'HH:MM:SS' or
// 'HH:MM:SS.f' (fraction digits beyond milliseconds are dropped).
std::optional<DateTime> parseIso(QStringView text);

// 'M/D/YYYY' with one- or two-digit month and day, optionally followed by blanks and a time
// 'H:MM', 'H:MM:SS' or 'H:MM:SS.f' (one to three fraction digits), optionally followed by AM
// or PM (with or without a blank before it). Surrounding blanks are allowed.
std::optional<DateTime> parseMonthDayYear(QStringView text);

// 'YYYY-MM-DD HH:MM:SS.mmm', the stored form.
QString formatIso(const DateTime &value);

} // namespace hospitaldb::tsqldates
