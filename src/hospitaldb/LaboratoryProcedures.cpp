// The laboratory database's stored procedures and functions in the embedded hospital.
//
// Every procedure receives the literal arguments of the call (texts, numbers or null) and
// works on the attached Laboratory and Build_File databases with bound values only. Where the
// program leaves the body to the database, the behaviour chosen is written beside the code.

#include "Hospital.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <sqlite3.h>

#include <cstring>
#include <new>

namespace hospitaldb {

namespace {

// ---------------------------------------------------------------------------------------
// Arguments

// A null QString would be bound as NULL: an empty argument must stay an empty text.
QString nonNull(const QString &s)
{
    return s.isNull() ? QStringLiteral("") : s;
}

QString textArg(const QVariantList &args, int i)
{
    if (i >= args.size() || args[i].isNull())
        return QStringLiteral("");
    return nonNull(args[i].toString());
}

// An argument that the procedure uses as an int: a number, or a text holding one (the
// program quotes most ids). Anything else fails the way the hospital's server does.
qint64 intArg(const QVariantList &args, int i, const QString &procedure)
{
    const QString text = textArg(args, i).trimmed();
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok) {
        // A number given as a decimal literal ("2.0") still converts.
        const double d = text.toDouble(&ok);
        if (ok && d == static_cast<double>(static_cast<qint64>(d)))
            return static_cast<qint64>(d);
        throw SqlError(QStringLiteral("Conversion failed when converting the varchar value '") + text
                       + QStringLiteral("' to data type int. (") + procedure + QStringLiteral(")"));
    }
    return value;
}

// The value of an optional id argument: null when empty.
QVariant optionalIntArg(const QVariantList &args, int i, const QString &procedure)
{
    if (textArg(args, i).trimmed().isEmpty())
        return QVariant();
    return intArg(args, i, procedure);
}

void requireArgs(const QVariantList &args, int count, const QString &procedure)
{
    if (args.size() < count)
        throw SqlError(QStringLiteral("Procedure or function '") + procedure
                       + QStringLiteral("' expects parameter #") + QString::number(args.size() + 1)
                       + QStringLiteral(", which was not supplied."));
}

// LIKE pattern for a search text taken literally.
QString likeEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

QString nowIso()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

// A procedure's writes are all or nothing, also inside a transaction of the caller.
template <typename F>
void atomically(Hospital &h, const char *name, F &&work)
{
    const QString savepoint = QString::fromLatin1(name);
    h.exec(QStringLiteral("SAVEPOINT ") + savepoint);
    try {
        work();
    } catch (...) {
        h.exec(QStringLiteral("ROLLBACK TO ") + savepoint);
        h.exec(QStringLiteral("RELEASE ") + savepoint);
        throw;
    }
    h.exec(QStringLiteral("RELEASE ") + savepoint);
}

// ---------------------------------------------------------------------------------------
// Dates as the program writes them into arguments and as CONVERT renders them:
// "MM/DD/YYYY[ h:mm[:ss[.mmm]][AM|PM]]" (style 101, and the log viewer's hour range),
// "Mon dd yyyy hh:miAM" (style 100) and ISO "YYYY-MM-DD[ HH:MM:SS[.mmm]]".
struct ParsedDate {
    QDateTime value;
    bool hasFraction = false;
};

int monthOfName(const QString &name)
{
    static const char *const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    const QByteArray lower = name.left(3).toLower().toLatin1();
    for (int i = 0; i < 12; ++i) {
        if (lower == names[i])
            return i + 1;
    }
    return 0;
}

ParsedDate parseDate(const QString &raw)
{
    static const QRegularExpression mdy(QStringLiteral(
        R"(^(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?\s*([AaPp][Mm])?)?$)"));
    static const QRegularExpression named(QStringLiteral(
        R"(^([A-Za-z]{3})\s+(\d{1,2})\s+(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?\s*([AaPp][Mm])?)?$)"));
    static const QRegularExpression iso(QStringLiteral(
        R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[T\s]+(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?$)"));

    const QString text = raw.trimmed();
    ParsedDate out;
    int y = 0, m = 0, d = 0;
    QRegularExpressionMatch match;
    if ((match = mdy.match(text)).hasMatch()) {
        m = match.captured(1).toInt();
        d = match.captured(2).toInt();
        y = match.captured(3).toInt();
    } else if ((match = named.match(text)).hasMatch()) {
        m = monthOfName(match.captured(1));
        d = match.captured(2).toInt();
        y = match.captured(3).toInt();
    } else if ((match = iso.match(text)).hasMatch()) {
        y = match.captured(1).toInt();
        m = match.captured(2).toInt();
        d = match.captured(3).toInt();
    } else {
        return out;
    }
    const QDate date(y, m, d);
    if (!date.isValid())
        return out;
    int hour = match.captured(4).toInt();
    const int minute = match.captured(5).toInt();
    const int second = match.captured(6).toInt();
    const QString fraction = match.captured(7);
    const int ms = fraction.isEmpty() ? 0 : (fraction + QStringLiteral("00")).left(3).toInt();
    const QString ampm = match.captured(8).toUpper();
    if (!ampm.isEmpty()) {
        if (hour < 1 || hour > 12)
            return out;
        if (ampm == u"PM" && hour < 12)
            hour += 12;
        else if (ampm == u"AM" && hour == 12)
            hour = 0;
    }
    const QTime time(hour, minute, second, ms);
    if (!time.isValid())
        return out;
    out.value = QDateTime(date, time);
    out.hasFraction = !fraction.isEmpty();
    return out;
}

QString isoOf(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

// ---------------------------------------------------------------------------------------
// fn_LabComputeAge(birth date, as-of date): the patient's age as the laboratory prints it on
// a request: completed years followed by "Y" ("46Y"); under one year completed months and
// "M" ("5M"); under one month days and "D" ("12D", "0D" on the day of birth). Birth date
// and as-of date come as CONVERT texts (style 101 and style 100) and ISO texts are taken too.
// NULL when either is NULL or not a date, or when the birth date lies after the as-of date.
QString computeAge(const QDate &birth, const QDate &asOf)
{
    if (!birth.isValid() || !asOf.isValid() || birth > asOf)
        return QString();
    int years = asOf.year() - birth.year();
    if (asOf.month() < birth.month() || (asOf.month() == birth.month() && asOf.day() < birth.day()))
        --years;
    if (years >= 1)
        return QString::number(years) + u'Y';
    int months = (asOf.year() - birth.year()) * 12 + asOf.month() - birth.month();
    if (asOf.day() < birth.day())
        --months;
    if (months >= 1)
        return QString::number(months) + u'M';
    return QString::number(birth.daysTo(asOf)) + u'D';
}

QString sqliteText(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

void fnLabComputeAge(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const ParsedDate birth = parseDate(sqliteText(argv[0]));
    const ParsedDate asOf = parseDate(sqliteText(argv[1]));
    const QString age = computeAge(birth.value.date(), asOf.value.date());
    if (age.isEmpty()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = age.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// ---------------------------------------------------------------------------------------
// fn_LabSplit(text, delimiter): one row per piece of the text cut at every occurrence of
// the delimiter, numbered from 1 in `code`, the piece (untrimmed, empty pieces kept) in
// `strName`. An empty or NULL delimiter gives the whole text as piece 1; a NULL text gives
// no row. An eponymous virtual table whose two hidden columns take the arguments.

struct SplitTable {
    sqlite3_vtab base;
};

struct SplitCursor {
    sqlite3_vtab_cursor base;
    QByteArray text;
    QByteArray delimiter;
    bool textNull = true;
    bool delimiterNull = true;
    QList<QByteArray> pieces;
    qsizetype row = 0;
};

enum SplitColumn { SplitCode = 0, SplitName = 1, SplitText = 2, SplitDelimiter = 3 };

int splitConnect(sqlite3 *db, void *, int, const char *const *, sqlite3_vtab **out, char **)
{
    const int rc = sqlite3_declare_vtab(
        db, "CREATE TABLE x(code INTEGER, strName TEXT, str HIDDEN, delimiter HIDDEN)");
    if (rc != SQLITE_OK)
        return rc;
    auto *table = static_cast<SplitTable *>(sqlite3_malloc(sizeof(SplitTable)));
    if (!table)
        return SQLITE_NOMEM;
    std::memset(table, 0, sizeof(SplitTable));
    *out = &table->base;
    return SQLITE_OK;
}

int splitDisconnect(sqlite3_vtab *vtab)
{
    sqlite3_free(vtab);
    return SQLITE_OK;
}

// The two arguments arrive as equality constraints on the hidden columns; idxNum records
// which are present (bit 1 the text, bit 2 the delimiter), in argv order.
int splitBestIndex(sqlite3_vtab *, sqlite3_index_info *info)
{
    int textAt = -1, delimiterAt = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.iColumn != SplitText && c.iColumn != SplitDelimiter)
            continue;
        if (c.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (!c.usable)
            return SQLITE_CONSTRAINT;
        (c.iColumn == SplitText ? textAt : delimiterAt) = i;
    }
    int next = 1;
    info->idxNum = 0;
    if (textAt >= 0) {
        info->aConstraintUsage[textAt].argvIndex = next++;
        info->aConstraintUsage[textAt].omit = 1;
        info->idxNum |= 1;
    }
    if (delimiterAt >= 0) {
        info->aConstraintUsage[delimiterAt].argvIndex = next++;
        info->aConstraintUsage[delimiterAt].omit = 1;
        info->idxNum |= 2;
    }
    info->estimatedCost = textAt >= 0 ? 10 : 1e9;
    info->estimatedRows = 10;
    return SQLITE_OK;
}

int splitOpen(sqlite3_vtab *, sqlite3_vtab_cursor **out)
{
    auto *cursor = new (std::nothrow) SplitCursor();
    if (!cursor)
        return SQLITE_NOMEM;
    *out = &cursor->base;
    return SQLITE_OK;
}

int splitClose(sqlite3_vtab_cursor *cur)
{
    delete reinterpret_cast<SplitCursor *>(cur);
    return SQLITE_OK;
}

int splitFilter(sqlite3_vtab_cursor *cur, int idxNum, const char *, int argc, sqlite3_value **argv)
{
    auto *c = reinterpret_cast<SplitCursor *>(cur);
    c->pieces.clear();
    c->row = 0;
    c->textNull = c->delimiterNull = true;
    c->text.clear();
    c->delimiter.clear();
    int at = 0;
    auto take = [&](QByteArray &into, bool &isNull) {
        if (at >= argc)
            return;
        sqlite3_value *v = argv[at++];
        if (sqlite3_value_type(v) == SQLITE_NULL)
            return;
        const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
        into = QByteArray(p, sqlite3_value_bytes(v));
        isNull = false;
    };
    if (idxNum & 1)
        take(c->text, c->textNull);
    if (idxNum & 2)
        take(c->delimiter, c->delimiterNull);
    if (c->textNull)
        return SQLITE_OK;
    if (c->delimiter.isEmpty()) {
        c->pieces << c->text;
        return SQLITE_OK;
    }
    qsizetype from = 0;
    for (;;) {
        const qsizetype hit = c->text.indexOf(c->delimiter, from);
        if (hit < 0) {
            c->pieces << c->text.mid(from);
            break;
        }
        c->pieces << c->text.mid(from, hit - from);
        from = hit + c->delimiter.size();
    }
    return SQLITE_OK;
}

int splitNext(sqlite3_vtab_cursor *cur)
{
    ++reinterpret_cast<SplitCursor *>(cur)->row;
    return SQLITE_OK;
}

int splitEof(sqlite3_vtab_cursor *cur)
{
    const auto *c = reinterpret_cast<SplitCursor *>(cur);
    return c->row >= c->pieces.size();
}

int splitColumn(sqlite3_vtab_cursor *cur, sqlite3_context *ctx, int column)
{
    const auto *c = reinterpret_cast<SplitCursor *>(cur);
    auto text = [ctx](const QByteArray &b, bool isNull) {
        if (isNull)
            sqlite3_result_null(ctx);
        else
            sqlite3_result_text(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    };
    switch (column) {
    case SplitCode:
        sqlite3_result_int64(ctx, c->row + 1);
        break;
    case SplitName:
        text(c->pieces[c->row], false);
        break;
    case SplitText:
        text(c->text, c->textNull);
        break;
    default:
        text(c->delimiter, c->delimiterNull);
        break;
    }
    return SQLITE_OK;
}

int splitRowid(sqlite3_vtab_cursor *cur, sqlite3_int64 *rowid)
{
    *rowid = reinterpret_cast<SplitCursor *>(cur)->row + 1;
    return SQLITE_OK;
}

sqlite3_module splitModule()
{
    sqlite3_module m;
    std::memset(&m, 0, sizeof(m));
    m.iVersion = 0;
    m.xCreate = nullptr; // eponymous only: used as fn_LabSplit(text, delimiter)
    m.xConnect = splitConnect;
    m.xBestIndex = splitBestIndex;
    m.xDisconnect = splitDisconnect;
    m.xDestroy = splitDisconnect;
    m.xOpen = splitOpen;
    m.xClose = splitClose;
    m.xFilter = splitFilter;
    m.xNext = splitNext;
    m.xEof = splitEof;
    m.xColumn = splitColumn;
    m.xRowid = splitRowid;
    return m;
}

// ---------------------------------------------------------------------------------------
// HL7 message control counter, serology tests, instrument flags, communication messages

// One counter row in tbLabHL7ControlID. Incrementing advances it by one and wraps to 1
// after thirteen digits (the program formats it to thirteen places). A hospital without the
// row has no counter: the increment changes nothing and GetControlID returns no row, so
// the program numbers its messages itself.
ResultSet incrementControlId(Hospital &h, const QVariantList &)
{
    h.exec(QStringLiteral("UPDATE Laboratory.tbLabHL7ControlID SET MsgCtrlID = "
                          "CASE WHEN MsgCtrlID >= 9999999999999 THEN 1 ELSE MsgCtrlID + 1 END"));
    return {};
}

ResultSet getControlId(Hospital &h, const QVariantList &)
{
    return h.query(QStringLiteral("SELECT MsgCtrlID FROM Laboratory.tbLabHL7ControlID LIMIT 1"));
}

// A row when the test code (trimmed) is an active serology test of tbLabSerologyTest.
ResultSet checkSero(Hospital &h, const QVariantList &args)
{
    return h.query(QStringLiteral("SELECT TestCode, Description FROM Laboratory.tbLabSerologyTest "
                                  "WHERE TestCode = ? AND IFNULL(Active, 1) = 1"),
                   {textArg(args, 0).trimmed()});
}

// (LIS id, sample number, test code, flag text): keeps the flag an instrument sent with a
// result, stamped with the time received. A note without text is not kept.
ResultSet saveInsFlag(Hospital &h, const QVariantList &args)
{
    const QString flag = textArg(args, 3);
    if (flag.trimmed().isEmpty())
        return {};
    h.exec(QStringLiteral("INSERT INTO Laboratory.tbLabInstrumentFlag (LISId, SampleNo, TestCode, Flag, DateReceived) "
                          "VALUES (?, ?, ?, ?, ?)"),
           {textArg(args, 0), textArg(args, 1), textArg(args, 2), flag, nowIso()});
    return {};
}

// (start, end) as "MM/DD/YYYY h:mm:ss": the messages received in that range, both ends
// included (an end without milliseconds covers its whole second), oldest first.
ResultSet getCommMessages(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_GetCommMessages");
    requireArgs(args, 2, procedure);
    const ParsedDate start = parseDate(textArg(args, 0));
    ParsedDate end = parseDate(textArg(args, 1));
    if (!start.value.isValid() || !end.value.isValid())
        throw SqlError(QStringLiteral("Conversion failed when converting date and/or time from character string."));
    if (!end.hasFraction)
        end.value = end.value.addMSecs(999);
    return h.query(QStringLiteral("SELECT Sender, Message, Receiver, DateReceived FROM Laboratory.tbLabCommMessages "
                                  "WHERE DateReceived BETWEEN ? AND ? ORDER BY DateReceived, MessageID"),
                   {isoOf(start.value), isoOf(end.value)});
}

// ---------------------------------------------------------------------------------------
// Instruments and examination mapping

// (mode, id, name): 0 adds an instrument named name and returns its InstrumentId; 1 renames
// instrument id; 2 deletes instrument id together with its instrument codes and its reference
// ranges (the examination mappings are kept: they belong to the LIS id, not to the row).
ResultSet buildInstrument(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_BuildInstrument");
    requireArgs(args, 1, procedure);
    const qint64 mode = intArg(args, 0, procedure);
    const QString name = textArg(args, 2);
    switch (mode) {
    case 0:
        h.exec(QStringLiteral("INSERT INTO Laboratory.tbLabInstrument (InstrumentName) VALUES (?)"), {name});
        return h.query(QStringLiteral("SELECT ? AS InstrumentId"), {h.lastInsertId()});
    case 1:
        h.exec(QStringLiteral("UPDATE Laboratory.tbLabInstrument SET InstrumentName = ? WHERE InstrumentId = ?"),
               {name, intArg(args, 1, procedure)});
        return {};
    case 2: {
        const qint64 id = intArg(args, 1, procedure);
        atomically(h, "lab_build_instrument", [&] {
            h.exec(QStringLiteral("DELETE FROM Laboratory.tbLabInstrumentCode WHERE InstrumentID = ?"), {id});
            h.exec(QStringLiteral("DELETE FROM Laboratory.tbLabReferenceRange WHERE InstrumentId = ?"), {id});
            h.exec(QStringLiteral("DELETE FROM Laboratory.tbLabInstrument WHERE InstrumentId = ?"), {id});
        });
        return {};
    }
    default:
        throw SqlError(procedure + QStringLiteral(": unknown mode ") + QString::number(mode));
    }
}

// (exam code, LIS id, profile, active, instrument id): the mapping of an examination for an
// instrument id is one row per (ItemID, InstrumentID); saving updates that row's LIS id and
// flags when it exists and adds it otherwise. Flags are "1" or anything else for 0.
ResultSet saveExam(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_SaveExam");
    requireArgs(args, 5, procedure);
    const QString code = textArg(args, 0).trimmed();
    const QString lisId = textArg(args, 1).trimmed();
    const int profile = textArg(args, 2).trimmed() == u"1" ? 1 : 0;
    const int active = textArg(args, 3).trimmed() == u"1" ? 1 : 0;
    const QString instrument = textArg(args, 4).trimmed();
    atomically(h, "lab_save_exam", [&] {
        const ResultSet existing = h.query(
            QStringLiteral("SELECT rowid FROM Laboratory.tbLabInstrumentExams WHERE ItemID = ? AND IFNULL(InstrumentID, '') = ?"),
            {code, instrument});
        if (existing.rows.isEmpty()) {
            h.exec(QStringLiteral("INSERT INTO Laboratory.tbLabInstrumentExams (ItemID, InstrumentExamName, Profile, Active, InstrumentID) "
                                  "VALUES (?, ?, ?, ?, ?)"),
                   {code, lisId, profile, active, instrument});
        } else {
            h.exec(QStringLiteral("UPDATE Laboratory.tbLabInstrumentExams SET InstrumentExamName = ?, Profile = ?, Active = ? "
                                  "WHERE ItemID = ? AND IFNULL(InstrumentID, '') = ?"),
                   {lisId, profile, active, code, instrument});
        }
    });
    return {};
}

// Examination search: active examinations whose code is the text or begins with it, or whose
// name contains it (without regard to case), by name. The reference-range search (RR) only
// lists examinations mapped to an instrument, since a reference range belongs to an
// examination on an instrument.
ResultSet searchExams(Hospital &h, const QVariantList &args, bool mappedOnly)
{
    const QString text = likeEscaped(textArg(args, 0).trimmed());
    QString sql = QStringLiteral(
        "SELECT E.LabSectionID AS LabsectionID, E.LabExamID AS LabExamID, E.LabExam AS LabExam "
        "FROM Build_File.tbVeVodExam E WHERE IFNULL(E.Active, 1) = 1 "
        "AND (E.LabExamID LIKE ? ESCAPE '\\' OR E.LabExam LIKE ? ESCAPE '\\')");
    if (mappedOnly)
        sql += QStringLiteral(" AND EXISTS (SELECT 1 FROM Laboratory.tbLabInstrumentExams IE WHERE IE.ItemID = E.LabExamID)");
    sql += QStringLiteral(" ORDER BY E.LabExam, E.LabExamID");
    return h.query(sql, {text + u'%', u'%' + text + u'%'});
}

// ---------------------------------------------------------------------------------------
// Specimens and reference ranges

// (kind, exam code, text): kind 1 finds the specimen whose BarcodeID is the number; kind 0
// the specimens whose code begins with the text or whose name contains it (all of them for
// an empty text). The specimens already used in ranges of the examination come first.
ResultSet searchSpecimen(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_SearchSpecimen");
    requireArgs(args, 3, procedure);
    const qint64 kind = intArg(args, 0, procedure);
    const QString exam = textArg(args, 1).trimmed();
    const QString text = textArg(args, 2).trimmed();
    const QString order = QStringLiteral(
        " ORDER BY EXISTS (SELECT 1 FROM Laboratory.tbLabReferenceRange R WHERE R.ItemID = ? AND R.SpecimenId = S.SpecimenId) DESC, ");
    if (kind == 1) {
        bool ok = false;
        const qint64 barcode = text.toLongLong(&ok);
        if (!ok)
            return h.query(QStringLiteral("SELECT BarcodeID, SpecimenId, Specimen FROM Laboratory.tbLabSpecimen WHERE 0"));
        return h.query(QStringLiteral("SELECT S.BarcodeID, S.SpecimenId, S.Specimen FROM Laboratory.tbLabSpecimen S "
                                      "WHERE S.BarcodeID = ?")
                           + order + QStringLiteral("S.SpecimenId"),
                       {barcode, exam});
    }
    const QString like = likeEscaped(text);
    return h.query(QStringLiteral("SELECT S.BarcodeID, S.SpecimenId, S.Specimen FROM Laboratory.tbLabSpecimen S "
                                  "WHERE S.SpecimenId LIKE ? ESCAPE '\\' OR S.Specimen LIKE ? ESCAPE '\\'")
                       + order + QStringLiteral("S.Specimen, S.SpecimenId"),
                   {like + u'%', u'%' + like + u'%', exam});
}

// Every range with its instrument, examination and specimen names (empty texts for what is
// missing), by instrument, examination, sex.
ResultSet getAllReferenceRange(Hospital &h, const QVariantList &)
{
    return h.query(QStringLiteral(
        "SELECT R.ReferenceID, R.InstrumentId, IFNULL(I.InstrumentName, '') AS InstrumentName, "
        "IFNULL(R.ItemID, '') AS ItemID, IFNULL(E.LabExam, '') AS LabExam, IFNULL(R.RefRange, '') AS RefRange, "
        "IFNULL(R.MinVal, '') AS MinVal, IFNULL(R.MaxVal, '') AS MaxVal, IFNULL(R.Unit, '') AS Unit, "
        "IFNULL(R.Sex, '') AS Sex, IFNULL(R.EnableSex, 'F') AS EnableSex, IFNULL(R.SpecimenId, '') AS SpecimenId, "
        "IFNULL((SELECT S.Specimen FROM Laboratory.tbLabSpecimen S WHERE S.SpecimenId = R.SpecimenId LIMIT 1), '') AS Specimen, "
        "IFNULL(R.BarcodeID, '') AS BarcodeID "
        "FROM Laboratory.tbLabReferenceRange R "
        "LEFT JOIN Laboratory.tbLabInstrument I ON I.InstrumentId = R.InstrumentId "
        "LEFT JOIN Build_File.tbVeVodExam E ON E.LabExamID = R.ItemID "
        "ORDER BY InstrumentName, LabExam, R.ItemID, Sex, R.ReferenceID"));
}

// (mode, instrument id, code, range text, lower, upper, unit, sex, old sex, enable sex,
//  specimen id, barcode id[, old instrument id, reference id]):
// mode 0 adds a range; modes 1 (numeric) and 2 (text) update the range with the reference id,
// or, when no reference id is given, the range of the old instrument id, the code and the old
// sex. A text range (mode 2) keeps no limits; a new range is stored as given.
ResultSet saveInstrumentReferenceRange(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_SaveInstrumentReferenceRange");
    requireArgs(args, 12, procedure);
    const qint64 mode = intArg(args, 0, procedure);
    const qint64 instrument = intArg(args, 1, procedure);
    const QString code = textArg(args, 2).trimmed();
    const QString range = textArg(args, 3).trimmed();
    QString lower = textArg(args, 4).trimmed();
    QString upper = textArg(args, 5).trimmed();
    const QString unit = textArg(args, 6).trimmed();
    const QString sex = nonNull(textArg(args, 7).trimmed().toUpper());
    const QString oldSex = textArg(args, 8).trimmed();
    const QString enable = textArg(args, 9).trimmed().toUpper() == u"T" ? QStringLiteral("T") : QStringLiteral("F");
    const QString specimen = textArg(args, 10).trimmed();
    const QString barcode = textArg(args, 11).trimmed();

    if (mode == 0) {
        h.exec(QStringLiteral("INSERT INTO Laboratory.tbLabReferenceRange (InstrumentId, ItemID, RefRange, MinVal, MaxVal, Unit, "
                              "Sex, EnableSex, SpecimenId, BarcodeID, DateModified) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {instrument, code, range, lower, upper, unit, sex, enable, specimen, barcode, nowIso()});
        return {};
    }
    if (mode != 1 && mode != 2)
        throw SqlError(procedure + QStringLiteral(": unknown mode ") + QString::number(mode));
    requireArgs(args, 14, procedure);
    if (mode == 2)
        lower = upper = QStringLiteral("");
    const QVariantList values{instrument, code, range, lower, upper, unit, sex, enable, specimen, barcode, nowIso()};
    const QString set = QStringLiteral(
        "UPDATE Laboratory.tbLabReferenceRange SET InstrumentId = ?, ItemID = ?, RefRange = ?, MinVal = ?, MaxVal = ?, "
        "Unit = ?, Sex = ?, EnableSex = ?, SpecimenId = ?, BarcodeID = ?, DateModified = ? ");
    const QVariant reference = optionalIntArg(args, 13, procedure);
    if (!reference.isNull()) {
        h.exec(set + QStringLiteral("WHERE ReferenceID = ?"), values + QVariantList{reference});
    } else {
        h.exec(set + QStringLiteral("WHERE InstrumentId = ? AND ItemID = ? AND IFNULL(Sex, '') = ?"),
               values + QVariantList{intArg(args, 12, procedure), code, oldSex});
    }
    return {};
}

// (instrument id, code, sex, reference id): deletes the range with the reference id, or,
// without one, the ranges of the instrument and code with that sex.
ResultSet deleteReferenceRange(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_DeleteReferenceRange");
    requireArgs(args, 3, procedure);
    const QVariant reference = optionalIntArg(args, 3, procedure);
    if (!reference.isNull()) {
        h.exec(QStringLiteral("DELETE FROM Laboratory.tbLabReferenceRange WHERE ReferenceID = ?"), {reference});
    } else {
        h.exec(QStringLiteral("DELETE FROM Laboratory.tbLabReferenceRange WHERE InstrumentId = ? AND ItemID = ? AND IFNULL(Sex, '') = ?"),
               {intArg(args, 0, procedure), textArg(args, 1).trimmed(), textArg(args, 2).trimmed()});
    }
    return {};
}

// (mode, reference id, instrument id, code, sex, ...): the ranges the gender rules compare
// with, columns ReferenceID, InstrumentId, ItemID, Sex, EnableSex, SpecimenId, BarcodeID.
// Mode 0: every range of the examination on the instrument, whatever its sex and specimen.
// Mode 1: the range with the reference id.
// Mode 2: the ranges of the examination on the instrument with exactly the given sex for the
// specimen given as sixth argument.
ResultSet getReferenceGender(Hospital &h, const QVariantList &args)
{
    const QString procedure = QStringLiteral("Lab_Barcode_GetRefenceGender");
    requireArgs(args, 2, procedure);
    const qint64 mode = intArg(args, 0, procedure);
    const QString select = QStringLiteral(
        "SELECT ReferenceID, InstrumentId, ItemID, IFNULL(Sex, '') AS Sex, IFNULL(EnableSex, 'F') AS EnableSex, "
        "IFNULL(SpecimenId, '') AS SpecimenId, IFNULL(BarcodeID, '') AS BarcodeID FROM Laboratory.tbLabReferenceRange ");
    switch (mode) {
    case 0:
        requireArgs(args, 4, procedure);
        return h.query(select + QStringLiteral("WHERE InstrumentId = ? AND ItemID = ? ORDER BY ReferenceID"),
                       {intArg(args, 2, procedure), textArg(args, 3).trimmed()});
    case 1:
        return h.query(select + QStringLiteral("WHERE ReferenceID = ?"), {optionalIntArg(args, 1, procedure)});
    case 2:
        requireArgs(args, 6, procedure);
        return h.query(select + QStringLiteral("WHERE InstrumentId = ? AND ItemID = ? AND IFNULL(Sex, '') = ? "
                                               "AND IFNULL(SpecimenId, '') = ? ORDER BY ReferenceID"),
                       {intArg(args, 2, procedure), textArg(args, 3).trimmed(), textArg(args, 4).trimmed(),
                        textArg(args, 5).trimmed()});
    default:
        throw SqlError(procedure + QStringLiteral(": unknown mode ") + QString::number(mode));
    }
}

// The instrument name of tbLabInstrumentCode follows the instrument: kept by triggers of
// this connection (TEMP triggers may watch and write tables of the attached databases).
void createInstrumentCodeTriggers(Hospital &h)
{
    h.exec(QStringLiteral(
        "CREATE TEMP TRIGGER IF NOT EXISTS trLabInstrumentCode_Insert AFTER INSERT ON Laboratory.tbLabInstrumentCode "
        "BEGIN UPDATE tbLabInstrumentCode SET InstrumentName = "
        "(SELECT InstrumentName FROM tbLabInstrument WHERE InstrumentId = NEW.InstrumentID) WHERE rowid = NEW.rowid; END"));
    h.exec(QStringLiteral(
        "CREATE TEMP TRIGGER IF NOT EXISTS trLabInstrumentCode_Instrument AFTER UPDATE OF InstrumentID ON Laboratory.tbLabInstrumentCode "
        "BEGIN UPDATE tbLabInstrumentCode SET InstrumentName = "
        "(SELECT InstrumentName FROM tbLabInstrument WHERE InstrumentId = NEW.InstrumentID) WHERE rowid = NEW.rowid; END"));
    h.exec(QStringLiteral(
        "CREATE TEMP TRIGGER IF NOT EXISTS trLabInstrument_Rename AFTER UPDATE OF InstrumentName ON Laboratory.tbLabInstrument "
        "BEGIN UPDATE tbLabInstrumentCode SET InstrumentName = NEW.InstrumentName WHERE InstrumentID = NEW.InstrumentId; END"));
}

} // namespace

void registerLaboratoryObjects(Hospital &hospital)
{
    sqlite3 *db = hospital.handle();
    if (!db)
        throw SqlError(QStringLiteral("The laboratory functions need the SQLite connection."));

    static const sqlite3_module split = splitModule();
    if (sqlite3_create_module_v2(db, "fn_LabSplit", &split, nullptr, nullptr) != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
    if (sqlite3_create_function_v2(db, "fn_LabComputeAge", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   fnLabComputeAge, nullptr, nullptr, nullptr)
        != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));

    createInstrumentCodeTriggers(hospital);

    hospital.registerProcedure(QStringLiteral("Lab_Barcode_IncrementControlID"), incrementControlId);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_GetControlID"), getControlId);
    hospital.registerProcedure(QStringLiteral("Lab_Relayon_CheckSero"), checkSero);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_SaveInsFlag"), saveInsFlag);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_GetCommMessages"), getCommMessages);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_BuildInstrument"), buildInstrument);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_SaveExam"), saveExam);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_SearchExams"),
                               [](Hospital &h, const QVariantList &a) { return searchExams(h, a, false); });
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_SearchExamsRR"),
                               [](Hospital &h, const QVariantList &a) { return searchExams(h, a, true); });
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_GetAllReferenceRange"), getAllReferenceRange);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_SearchSpecimen"), searchSpecimen);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_SaveInstrumentReferenceRange"), saveInstrumentReferenceRange);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_DeleteReferenceRange"), deleteReferenceRange);
    hospital.registerProcedure(QStringLiteral("Lab_Barcode_GetRefenceGender"), getReferenceGender);
}

} // namespace hospitaldb
