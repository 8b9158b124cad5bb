// The SQLite functions that translated T-SQL calls: T-SQL's '+', GETDATE, DATEADD, CONVERT and
// CAST, REPLACE and SUBSTRING with SQL Server's behaviour on the hospital's stored forms (dates
// are ISO text 'YYYY-MM-DD HH:MM:SS.mmm'). Failures carry SQL Server's own messages.

#include "Hospital.h"
#include "TsqlDates.h"

#include <QByteArray>
#include <QDateTime>
#include <QtNumeric>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <optional>

namespace hospitaldb {

namespace {

using tsqldates::DateTime;

QString textOf(sqlite3_value *v)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(t, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context *ctx, const QString &message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

bool isNumeric(sqlite3_value *v)
{
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    }
    return false;
}

// tsql_add(a, b): a + b as T-SQL computes it. Text on either side concatenates, two numbers
// add, NULL on either side gives NULL.
void tsqlAdd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_value *a = argv[0];
    sqlite3_value *b = argv[1];
    if (isNumeric(a) && isNumeric(b)) {
        if (sqlite3_value_type(a) == SQLITE_INTEGER && sqlite3_value_type(b) == SQLITE_INTEGER) {
            qint64 sum = 0;
            if (qAddOverflow<qint64>(sqlite3_value_int64(a), sqlite3_value_int64(b), &sum)) {
                resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression "
                                                "to data type bigint."));
                return;
            }
            sqlite3_result_int64(ctx, sum);
        } else {
            sqlite3_result_double(ctx, sqlite3_value_double(a) + sqlite3_value_double(b));
        }
        return;
    }
    const auto *ta = reinterpret_cast<const char *>(sqlite3_value_text(a));
    const int na = sqlite3_value_bytes(a);
    const auto *tb = reinterpret_cast<const char *>(sqlite3_value_text(b));
    const int nb = sqlite3_value_bytes(b);
    QByteArray joined;
    joined.reserve(na + nb);
    joined.append(ta, na);
    joined.append(tb, nb);
    sqlite3_result_text(ctx, joined.constData(), int(joined.size()), SQLITE_TRANSIENT);
}

// tsql_getdate(): the local time as stored, 'YYYY-MM-DD HH:MM:SS.mmm'.
void tsqlGetdate(sqlite3_context *ctx, int, sqlite3_value **)
{
    const QDateTime now = QDateTime::currentDateTime();
    resultText(ctx, tsqldates::formatIso(DateTime{now.date(), now.time()}));
}

const QString &conversionFailed()
{
    static const QString text =
        QStringLiteral("Conversion failed when converting date and/or time from character string.");
    return text;
}

std::optional<DateTime> dateOf(sqlite3_value *v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return std::nullopt;
    const QString text = textOf(v).trimmed();
    if (auto iso = tsqldates::parseIso(text))
        return iso;
    return tsqldates::parseMonthDayYear(text);
}

// tsql_dateadd(part, n, date) with part one of year, month, day, hour, minute, second. Months
// and years that land past the end of a month stay on its last day, as in SQL Server.
void tsqlDateadd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString part = textOf(argv[0]);
    qint64 n = 0;
    switch (sqlite3_value_type(argv[1])) {
    case SQLITE_INTEGER:
        n = sqlite3_value_int64(argv[1]);
        break;
    case SQLITE_FLOAT:
        n = qint64(std::trunc(sqlite3_value_double(argv[1])));
        break;
    default: {
        bool ok = false;
        n = textOf(argv[1]).trimmed().toLongLong(&ok);
        if (!ok) {
            resultError(ctx, QStringLiteral("Conversion failed when converting the varchar value '")
                                 + textOf(argv[1]) + QStringLiteral("' to data type int."));
            return;
        }
    }
    }
    const std::optional<DateTime> d = dateOf(argv[2]);
    if (!d) {
        resultError(ctx, conversionFailed());
        return;
    }
    QDateTime t(d->date, d->time, Qt::UTC);
    if (part == u"year")
        t = t.addYears(int(n));
    else if (part == u"month")
        t = t.addMonths(int(n));
    else if (part == u"day")
        t = t.addDays(n);
    else if (part == u"hour")
        t = t.addSecs(n * 3600);
    else if (part == u"minute")
        t = t.addSecs(n * 60);
    else if (part == u"second")
        t = t.addSecs(n);
    else {
        resultError(ctx, QStringLiteral("DATEADD does not know the date part ") + part);
        return;
    }
    if (!t.isValid() || t.date().year() < 1753 || t.date().year() > 9999) {
        resultError(ctx, QStringLiteral("Adding a value to a 'datetime' column caused an overflow."));
        return;
    }
    resultText(ctx, tsqldates::formatIso(DateTime{t.date(), t.time()}));
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// A date in one of SQL Server's CONVERT styles.
std::optional<QString> formatStyle(const DateTime &d, int style)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QString yyyy = QString::number(d.date.year()).rightJustified(4, u'0');
    const QString mm = twoDigits(d.date.month());
    const QString dd = twoDigits(d.date.day());
    const QString hms = twoDigits(d.time.hour()) + u':' + twoDigits(d.time.minute()) + u':'
                        + twoDigits(d.time.second());
    switch (style) {
    case 0:
    case 100: { // mon dd yyyy hh:miAM, day and hour padded with a blank: "Jan  5 2024  2:05PM"
        const int h12 = d.time.hour() % 12 == 0 ? 12 : d.time.hour() % 12;
        return QString::fromLatin1(months[d.date.month() - 1]) + u' '
               + QString::number(d.date.day()).rightJustified(2, u' ') + u' ' + yyyy + u' '
               + QString::number(h12).rightJustified(2, u' ') + u':' + twoDigits(d.time.minute())
               + (d.time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    case 8:
    case 108:
        return hms;
    case 12:
        return yyyy.right(2) + mm + dd;
    case 101:
        return mm + u'/' + dd + u'/' + yyyy;
    case 104:
        return dd + u'.' + mm + u'.' + yyyy;
    case 127: { // milliseconds are left out when they are zero
        QString out = yyyy + u'-' + mm + u'-' + dd + u'T' + hms;
        if (d.time.msec() != 0)
            out += u'.' + QString::number(d.time.msec()).rightJustified(3, u'0');
        return out;
    }
    default:
        return std::nullopt;
    }
}

// tsql_convert(kind, length, value, style): CONVERT and CAST. kind is varchar, char, int,
// datetime or date; length (characters) and style may be NULL. Stored ISO dates are datetime
// values: converted to text they take the style, style 0 when none is given.
void tsqlConvert(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    sqlite3_value *value = argv[2];
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString kind = textOf(argv[0]);
    const bool hasLength = sqlite3_value_type(argv[1]) != SQLITE_NULL;
    const int length = hasLength ? sqlite3_value_int(argv[1]) : 0;
    const bool hasStyle = sqlite3_value_type(argv[3]) != SQLITE_NULL;
    const int style = hasStyle ? sqlite3_value_int(argv[3]) : 0;

    if (kind == u"varchar" || kind == u"char") {
        QString out;
        if (sqlite3_value_type(value) == SQLITE_TEXT) {
            out = textOf(value);
            if (const auto iso = tsqldates::parseIso(out)) {
                const auto styled = formatStyle(*iso, style);
                if (!styled) {
                    resultError(ctx, QString::number(style)
                                         + QStringLiteral(" is not a valid style number when "
                                                          "converting from datetime to a character "
                                                          "string."));
                    return;
                }
                out = *styled;
            }
        } else {
            out = textOf(value);
        }
        if (hasLength) {
            out.truncate(length);
            if (kind == u"char")
                out = out.leftJustified(length, u' ');
        }
        resultText(ctx, out);
        return;
    }

    if (kind == u"int") {
        switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            sqlite3_result_int64(ctx, sqlite3_value_int64(value));
            return;
        case SQLITE_FLOAT: {
            const double v = std::trunc(sqlite3_value_double(value));
            if (v < double(std::numeric_limits<qint64>::min())
                || v > double(std::numeric_limits<qint64>::max())) {
                resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression "
                                                "to data type int."));
                return;
            }
            sqlite3_result_int64(ctx, qint64(v));
            return;
        }
        default: {
            const QString text = textOf(value);
            const QString trimmed = text.trimmed();
            if (trimmed.isEmpty()) { // SQL Server converts an empty text to 0
                sqlite3_result_int64(ctx, 0);
                return;
            }
            bool ok = false;
            const qint64 v = trimmed.toLongLong(&ok);
            if (!ok) {
                resultError(ctx, QStringLiteral("Conversion failed when converting the varchar "
                                                "value '")
                                     + text + QStringLiteral("' to data type int."));
                return;
            }
            sqlite3_result_int64(ctx, v);
            return;
        }
        }
    }

    if (kind == u"datetime" || kind == u"date") {
        const std::optional<DateTime> d = dateOf(value);
        if (!d) {
            resultError(ctx, conversionFailed());
            return;
        }
        if (kind == u"date")
            resultText(ctx, d->date.toString(u"yyyy-MM-dd"));
        else
            resultText(ctx, tsqldates::formatIso(*d));
        return;
    }

    resultError(ctx, QStringLiteral("CONVERT to an unknown type ") + kind);
}

// tsql_replace(text, pattern, replacement): REPLACE under the hospital's case-insensitive
// collation.
void tsqlReplace(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QString text = textOf(argv[0]);
    const QString pattern = textOf(argv[1]);
    if (!pattern.isEmpty())
        text.replace(pattern, textOf(argv[2]), Qt::CaseInsensitive);
    resultText(ctx, text);
}

// tsql_substring(text, start, length): SUBSTRING counts positions from 1; positions before the
// first character count towards the length but take nothing.
void tsqlSubstring(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const qint64 start = sqlite3_value_int64(argv[1]);
    const qint64 length = sqlite3_value_int64(argv[2]);
    if (length < 0) {
        resultError(ctx, QStringLiteral("Invalid length parameter passed to the substring "
                                        "function."));
        return;
    }
    const QString text = textOf(argv[0]);
    const qint64 first = std::max<qint64>(start, 1);
    const qint64 end = std::min<qint64>(start + length, qint64(text.size()) + 1); // exclusive
    if (end <= first) {
        resultText(ctx, QString());
        return;
    }
    resultText(ctx, text.mid(first - 1, end - first));
}

void add(sqlite3 *db, const char *name, int args, bool deterministic,
         void (*fn)(sqlite3_context *, int, sqlite3_value **))
{
    int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    if (deterministic)
        flags |= SQLITE_DETERMINISTIC;
    const int rc = sqlite3_create_function_v2(db, name, args, flags, nullptr, fn, nullptr, nullptr,
                                              nullptr);
    if (rc != SQLITE_OK)
        throw SqlError(QStringLiteral("cannot register the SQLite function ")
                       + QString::fromLatin1(name) + QStringLiteral(": ")
                       + QString::fromUtf8(sqlite3_errstr(rc)));
}

} // namespace

void registerTsqlFunctions(sqlite3 *db)
{
    if (!db)
        throw SqlError(QStringLiteral("no SQLite connection to register the T-SQL functions on"));
    // Bracketed names become double-quoted ones; a double-quoted name that matches no column
    // must be an error, not a string literal.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int *>(nullptr));

    add(db, "tsql_add", 2, true, tsqlAdd);
    add(db, "tsql_getdate", 0, false, tsqlGetdate);
    add(db, "tsql_dateadd", 3, true, tsqlDateadd);
    add(db, "tsql_convert", 4, true, tsqlConvert);
    add(db, "tsql_replace", 3, true, tsqlReplace);
    add(db, "tsql_substring", 3, true, tsqlSubstring);
}

} // namespace hospitaldb
