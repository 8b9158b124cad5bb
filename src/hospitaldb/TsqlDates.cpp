#include "TsqlDates.h"

namespace hospitaldb::tsqldates {

namespace {

// A small cursor over the text; every reader leaves the position alone when it fails.
struct Cursor {
    QStringView s;
    qsizetype i = 0;

    bool atEnd() const { return i >= s.size(); }
    bool peekIs(char16_t c) const { return i < s.size() && s[i] == c; }
    bool take(char16_t c)
    {
        if (!peekIs(c))
            return false;
        ++i;
        return true;
    }
    qsizetype skipBlanks()
    {
        const qsizetype from = i;
        while (i < s.size() && s[i] == u' ')
            ++i;
        return i - from;
    }
    // Reads between minDigits and maxDigits decimal digits.
    std::optional<int> digits(int minDigits, int maxDigits, int *count = nullptr)
    {
        int n = 0;
        int value = 0;
        while (n < maxDigits && i + n < s.size() && s[i + n] >= u'0' && s[i + n] <= u'9') {
            value = value * 10 + (s[i + n].unicode() - u'0');
            ++n;
        }
        if (n < minDigits)
            return std::nullopt;
        i += n;
        if (count)
            *count = n;
        return value;
    }
};

// Milliseconds from fraction digits: '9' is 900, '99' is 990, '123' is 123.
int fractionToMs(int value, int digitCount)
{
    while (digitCount < 3) {
        value *= 10;
        ++digitCount;
    }
    return value;
}

} // namespace

// The optional ":ss" and ".fff" after the minutes; false when they are malformed. With
// extraDigits, digits beyond the milliseconds are skipped.
static bool takeSeconds(Cursor &c, int &sec, int &ms, bool extraDigits)
{
    if (!c.take(u':'))
        return true;
    const auto ss = c.digits(2, 2);
    if (!ss)
        return false;
    sec = *ss;
    if (c.take(u'.')) {
        int n = 0;
        const auto f = c.digits(1, 3, &n);
        if (!f)
            return false;
        ms = fractionToMs(*f, n);
        while (extraDigits && !c.atEnd() && c.s[c.i] >= u'0' && c.s[c.i] <= u'9')
            ++c.i;
    }
    return true;
}

std::optional<DateTime> parseIso(QStringView text)
{
    Cursor c{text};
    const auto y = c.digits(4, 4);
    if (!y || !c.take(u'-'))
        return std::nullopt;
    const auto mo = c.digits(2, 2);
    if (!mo || !c.take(u'-'))
        return std::nullopt;
    const auto d = c.digits(2, 2);
    if (!d)
        return std::nullopt;
    const QDate date(*y, *mo, *d);
    if (!date.isValid())
        return std::nullopt;
    if (c.atEnd())
        return DateTime{date, QTime(0, 0)};
    if (!c.take(u' ') && !c.take(u'T'))
        return std::nullopt;
    const auto h = c.digits(2, 2);
    if (!h || !c.take(u':'))
        return std::nullopt;
    const auto mi = c.digits(2, 2);
    if (!mi)
        return std::nullopt;
    int sec = 0;
    int ms = 0;
    if (!takeSeconds(c, sec, ms, true))
        return std::nullopt;
    if (!c.atEnd())
        return std::nullopt;
    const QTime time(*h, *mi, sec, ms);
    if (!time.isValid())
        return std::nullopt;
    return DateTime{date, time};
}

std::optional<DateTime> parseMonthDayYear(QStringView text)
{
    Cursor c{text};
    c.skipBlanks();
    const auto mo = c.digits(1, 2);
    if (!mo || !c.take(u'/'))
        return std::nullopt;
    const auto d = c.digits(1, 2);
    if (!d || !c.take(u'/'))
        return std::nullopt;
    const auto y = c.digits(4, 4);
    if (!y)
        return std::nullopt;
    const QDate date(*y, *mo, *d);
    if (!date.isValid())
        return std::nullopt;
    c.skipBlanks();
    if (c.atEnd())
        return DateTime{date, QTime(0, 0)};

    auto h = c.digits(1, 2);
    if (!h || !c.take(u':'))
        return std::nullopt;
    const auto mi = c.digits(2, 2);
    if (!mi)
        return std::nullopt;
    int sec = 0;
    int ms = 0;
    if (!takeSeconds(c, sec, ms, false))
        return std::nullopt;
    c.skipBlanks();
    int hour = *h;
    if (!c.atEnd()) {
        const QChar m = c.s[c.i].toUpper();
        if ((m != u'A' && m != u'P') || c.i + 1 >= c.s.size() || c.s[c.i + 1].toUpper() != u'M')
            return std::nullopt;
        c.i += 2;
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (m == u'P' ? 12 : 0);
        c.skipBlanks();
        if (!c.atEnd())
            return std::nullopt;
    }
    const QTime time(hour, *mi, sec, ms);
    if (!time.isValid())
        return std::nullopt;
    return DateTime{date, time};
}

QString formatIso(const DateTime &value)
{
    return value.date.toString(u"yyyy-MM-dd") + u' ' + value.time.toString(u"HH:mm:ss.zzz");
}

} // namespace hospitaldb::tsqldates
