// The T-SQL the program sends, translated into SQLite for the embedded hospital.
//
// The text is cut into tokens and parsed into the parts of a statement: select cores with their
// TOP, compounds, table sources, and expression trees (parsed with T-SQL precedence) that carry
// a static type, so that '+' becomes concatenation or addition by what its operands are. The
// SQLite text is written from those parts. Whatever the parser does not know is an SqlError
// naming it; nothing unknown is passed through.

#include "TsqlTranslator.h"

#include "Hospital.h"
#include "TsqlDates.h"

#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace hospitaldb {

namespace {

// ---------------------------------------------------------------------------------------------
// Tokens

enum class Tk { End, Word, Quoted, String, Number, Variable, Symbol };

struct Token {
    Tk kind = Tk::End;
    QString text;  // Word, Number, Variable, Symbol: as written; Quoted: the name without its
                   // brackets or quotes; String: what stands between the apostrophes, with
                   // doubled apostrophes kept as they are
    QString upper; // Word: upper case, for keyword comparisons
    bool national = false; // String written N'...'
    qsizetype pos = 0;
};

[[noreturn]] void unsupported(const QString &source, qsizetype pos, const QString &what)
{
    QString at = source.mid(pos, 40).simplified();
    if (pos + 40 < source.size())
        at += QStringLiteral("...");
    throw SqlError(QStringLiteral("T-SQL not supported by the embedded hospital: ") + what
                   + QStringLiteral(" (at \"") + at + QStringLiteral("\")"));
}

// A name beginning with '#' is a temporary table, which the hospital does not have.
bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'@' || c == u'$';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

std::vector<Token> tokenize(const QString &s)
{
    std::vector<Token> out;
    out.reserve(s.size() / 4 + 4);
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (i < n && s[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            // Block comments nest in T-SQL.
            const qsizetype start = i;
            int depth = 0;
            while (i < n) {
                if (s[i] == u'/' && i + 1 < n && s[i + 1] == u'*') {
                    ++depth;
                    i += 2;
                } else if (s[i] == u'*' && i + 1 < n && s[i + 1] == u'/') {
                    --depth;
                    i += 2;
                    if (depth == 0)
                        break;
                } else {
                    ++i;
                }
            }
            if (depth != 0)
                unsupported(s, start, QStringLiteral("unterminated comment"));
            continue;
        }

        Token t;
        t.pos = i;
        const bool national = (c == u'N' || c == u'n') && i + 1 < n && s[i + 1] == u'\'';
        if (c == u'\'' || national) {
            qsizetype j = i + (national ? 2 : 1);
            const qsizetype contentStart = j;
            for (;;) {
                if (j >= n)
                    unsupported(s, i, QStringLiteral("unterminated string literal"));
                if (s[j] == u'\'') {
                    if (j + 1 < n && s[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            t.kind = Tk::String;
            t.national = national;
            t.text = s.mid(contentStart, j - contentStart);
            i = j + 1;
        } else if (c == u'[' || c == u'"') {
            const QChar close = c == u'[' ? QChar(u']') : QChar(u'"');
            qsizetype j = i + 1;
            QString name;
            for (;;) {
                if (j >= n)
                    unsupported(s, i, QStringLiteral("unterminated quoted name"));
                if (s[j] == close) {
                    if (j + 1 < n && s[j + 1] == close) {
                        name += close;
                        j += 2;
                        continue;
                    }
                    break;
                }
                name += s[j];
                ++j;
            }
            t.kind = Tk::Quoted;
            t.text = name;
            i = j + 1;
        } else if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(s[i + 1]))) {
            qsizetype j = i;
            while (j < n && isDigit(s[j]))
                ++j;
            if (j < n && s[j] == u'.') {
                ++j;
                while (j < n && isDigit(s[j]))
                    ++j;
            }
            // An exponent carries its own sign: 1e+5 is one number, not an addition.
            if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (s[k] == u'+' || s[k] == u'-'))
                    ++k;
                if (k < n && isDigit(s[k])) {
                    while (k < n && isDigit(s[k]))
                        ++k;
                    j = k;
                }
            }
            t.kind = Tk::Number;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (c == u'@') {
            qsizetype j = i + 1;
            while (j < n && (isWordChar(s[j])))
                ++j;
            t.kind = Tk::Variable;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(s[j]))
                ++j;
            t.kind = Tk::Word;
            t.text = s.mid(i, j - i);
            t.upper = t.text.toUpper();
            i = j;
        } else {
            t.kind = Tk::Symbol;
            const QChar d = i + 1 < n ? s[i + 1] : QChar();
            if ((c == u'<' && (d == u'>' || d == u'=')) || (c == u'>' && d == u'=')
                || (c == u'!' && (d == u'=' || d == u'<' || d == u'>'))) {
                t.text = s.mid(i, 2);
                i += 2;
            } else {
                t.text = QString(c);
                ++i;
            }
        }
        out.push_back(std::move(t));
    }
    Token end;
    end.pos = n;
    out.push_back(end);
    return out;
}

// T-SQL's reserved words: never a bare alias, never a procedure's name; a statement that
// begins with one is a statement, not a procedure call.
const QSet<QString> &reservedWords()
{
    static const QSet<QString> words = [] {
        const char *list[] = {
            "ADD", "ALL", "ALTER", "AND", "ANY", "AS", "ASC", "AUTHORIZATION", "BACKUP", "BEGIN",
            "BETWEEN", "BREAK", "BROWSE", "BULK", "BY", "CASCADE", "CASE", "CHECK", "CHECKPOINT",
            "CLOSE", "CLUSTERED", "COALESCE", "COLLATE", "COLUMN", "COMMIT", "COMPUTE",
            "CONSTRAINT", "CONTAINS", "CONTAINSTABLE", "CONTINUE", "CONVERT", "CREATE", "CROSS",
            "CURRENT", "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP", "CURRENT_USER",
            "CURSOR", "DATABASE", "DBCC", "DEALLOCATE", "DECLARE", "DEFAULT", "DELETE", "DENY",
            "DESC", "DISK", "DISTINCT", "DISTRIBUTED", "DOUBLE", "DROP", "DUMP", "ELSE", "END",
            "ERRLVL", "ESCAPE", "EXCEPT", "EXEC", "EXECUTE", "EXISTS", "EXIT", "EXTERNAL", "FETCH",
            "FILE", "FILLFACTOR", "FOR", "FOREIGN", "FREETEXT", "FREETEXTTABLE", "FROM", "FULL",
            "FUNCTION", "GOTO", "GRANT", "GROUP", "HAVING", "HOLDLOCK", "IDENTITY",
            "IDENTITY_INSERT", "IDENTITYCOL", "IF", "IN", "INDEX", "INNER", "INSERT", "INTERSECT",
            "INTO", "IS", "JOIN", "KEY", "KILL", "LEFT", "LIKE", "LINENO", "LOAD", "MERGE",
            "NATIONAL", "NOCHECK", "NONCLUSTERED", "NOT", "NULL", "NULLIF", "OF", "OFF", "OFFSETS",
            "ON", "OPEN", "OPENDATASOURCE", "OPENQUERY", "OPENROWSET", "OPENXML", "OPTION", "OR",
            "ORDER", "OUTER", "OVER", "PERCENT", "PIVOT", "PLAN", "PRIMARY", "PRINT", "PROC",
            "PROCEDURE", "PUBLIC", "RAISERROR", "READ", "READTEXT", "RECONFIGURE", "REFERENCES",
            "REPLICATION", "RESTORE", "RESTRICT", "RETURN", "REVERT", "REVOKE", "RIGHT",
            "ROLLBACK", "ROWCOUNT", "ROWGUIDCOL", "RULE", "SAVE", "SCHEMA", "SECURITYAUDIT",
            "SELECT", "SESSION_USER", "SET", "SETUSER", "SHUTDOWN", "SOME", "STATISTICS",
            "SYSTEM_USER", "TABLE", "TABLESAMPLE", "TEXTSIZE", "THEN", "TO", "TOP", "TRAN",
            "TRANSACTION", "TRIGGER", "TRUNCATE", "TRY_CONVERT", "TSEQUAL", "UNION", "UNIQUE",
            "UNPIVOT", "UPDATE", "UPDATETEXT", "USE", "USER", "VALUES", "VARYING", "VIEW",
            "WAITFOR", "WHEN", "WHERE", "WHILE", "WITH", "WITHIN", "WRITETEXT",
            // not reserved, but they begin statements
            "THROW", "GO"};
        QSet<QString> set;
        for (const char *w : list)
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

bool isReserved(const Token &t)
{
    return t.kind == Tk::Word && reservedWords().contains(t.upper);
}

// A name as SQLite reads it: bracketed and double-quoted names keep their quotes (as "x"), bare
// names stay bare unless SQLite takes them for a keyword.
QString quoteName(const QString &name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

bool isSqliteKeyword(const QString &word)
{
    const QByteArray utf8 = word.toUtf8();
    return sqlite3_keyword_check(utf8.constData(), int(utf8.size())) != 0;
}

struct NamePart {
    QString text;
    bool quoted = false;
    bool empty() const { return text.isEmpty() && !quoted; }
};

// Letters, digits and '_', not beginning with a digit: what SQLite reads as a bare name.
bool isPlainName(const QString &name)
{
    if (name.isEmpty() || isDigit(name[0]))
        return false;
    for (QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'_'))
            return false;
    }
    return true;
}

QString emitName(const NamePart &p)
{
    if (p.quoted || !isPlainName(p.text) || isSqliteKeyword(p.text))
        return quoteName(p.text);
    return p.text;
}

// ---------------------------------------------------------------------------------------------
// Expressions

enum class Ty { Unknown, Text, Number, Date, Null };

// SQLite's operator precedence, higher binds tighter.
enum Prec {
    PrecOr = 10,
    PrecAnd = 20,
    PrecNot = 30,
    PrecEquality = 35, // = <> IS IN LIKE BETWEEN
    PrecRelational = 40, // < <= > >=
    PrecAdd = 60,
    PrecMul = 70,
    PrecConcat = 80,
    PrecUnary = 90,
    PrecPrimary = 100
};

struct Ex {
    QString sql;
    int prec = PrecPrimary;
    Ty ty = Ty::Unknown;
    bool numberLiteral = false;
};

QString operand(const Ex &e, int minPrec)
{
    return e.prec < minPrec ? u'(' + e.sql + u')' : e.sql;
}

// A left-associative binary operator.
Ex binary(const Ex &l, const QString &op, const Ex &r, int prec, Ty ty)
{
    Ex e;
    e.sql = operand(l, prec) + u' ' + op + u' ' + operand(r, prec + 1);
    e.prec = prec;
    e.ty = ty;
    return e;
}

// ---------------------------------------------------------------------------------------------
// Select statements

struct SelectStmt;

struct SelectCore {
    QString body;                // SELECT ... [FROM ...] [WHERE ...]
    std::optional<QString> top;  // the row count of TOP n
};

struct SelectTerm {
    bool parenthesized = false;
    SelectCore core;                    // when not parenthesized
    std::shared_ptr<SelectStmt> inner;  // when parenthesized
};

struct SelectStmt {
    std::vector<SelectTerm> terms;
    std::vector<QString> operators; // between terms: UNION, UNION ALL
    QString orderBy;
};

bool isPlainCore(const SelectStmt &s)
{
    return s.terms.size() == 1 && !s.terms[0].parenthesized && !s.terms[0].core.top
           && s.orderBy.isEmpty();
}

// SQLite knows no TOP, and LIMIT belongs to a whole compound; a compound part with a row limit
// or its own ORDER BY becomes a subquery of its own.
QString emitSelect(const SelectStmt &s)
{
    if (s.terms.size() == 1) {
        const SelectTerm &t = s.terms[0];
        if (t.parenthesized) {
            const QString inner = emitSelect(*t.inner);
            if (s.orderBy.isEmpty())
                return inner;
            return QStringLiteral("SELECT * FROM (") + inner + QStringLiteral(") ORDER BY ")
                   + s.orderBy;
        }
        QString out = t.core.body;
        if (!s.orderBy.isEmpty())
            out += QStringLiteral(" ORDER BY ") + s.orderBy;
        if (t.core.top)
            out += QStringLiteral(" LIMIT ") + *t.core.top;
        return out;
    }
    QString out;
    for (size_t i = 0; i < s.terms.size(); ++i) {
        if (i > 0)
            out += u' ' + s.operators[i - 1] + u' ';
        const SelectTerm &t = s.terms[i];
        if (t.parenthesized) {
            if (isPlainCore(*t.inner))
                out += t.inner->terms[0].core.body;
            else
                out += QStringLiteral("SELECT * FROM (") + emitSelect(*t.inner) + u')';
        } else if (t.core.top) {
            out += QStringLiteral("SELECT * FROM (") + t.core.body + QStringLiteral(" LIMIT ")
                   + *t.core.top + u')';
        } else {
            out += t.core.body;
        }
    }
    if (!s.orderBy.isEmpty())
        out += QStringLiteral(" ORDER BY ") + s.orderBy;
    return out;
}

// ---------------------------------------------------------------------------------------------
// The parser

class Parser {
public:
    explicit Parser(const QString &source) : m_src(source), m_tokens(tokenize(source)) {}

    TranslatedStatement translate();

private:
    // token access
    const Token &peek(size_t k = 0) const
    {
        const size_t i = std::min(m_pos + k, m_tokens.size() - 1);
        return m_tokens[i];
    }
    Token take()
    {
        const Token &t = m_tokens[m_pos];
        if (m_pos + 1 < m_tokens.size())
            ++m_pos;
        return t;
    }
    bool atEnd() const { return peek().kind == Tk::End; }
    bool isWord(const char *upper, size_t k = 0) const
    {
        const Token &t = peek(k);
        return t.kind == Tk::Word && t.upper == QLatin1String(upper);
    }
    bool isSymbol(const char *sym, size_t k = 0) const
    {
        const Token &t = peek(k);
        return t.kind == Tk::Symbol && t.text == QLatin1String(sym);
    }
    bool takeWord(const char *upper)
    {
        if (!isWord(upper))
            return false;
        take();
        return true;
    }
    bool takeSymbol(const char *sym)
    {
        if (!isSymbol(sym))
            return false;
        take();
        return true;
    }
    void expectWord(const char *upper)
    {
        if (!takeWord(upper))
            fail(QStringLiteral("expected ") + QLatin1String(upper) + QStringLiteral(", found ")
                 + describe(peek()));
    }
    void expectSymbol(const char *sym)
    {
        if (!takeSymbol(sym))
            fail(QStringLiteral("expected '") + QLatin1String(sym) + QStringLiteral("', found ")
                 + describe(peek()));
    }
    [[noreturn]] void fail(const QString &what) const { unsupported(m_src, peek().pos, what); }
    [[noreturn]] void failAt(const Token &t, const QString &what) const
    {
        unsupported(m_src, t.pos, what);
    }
    static QString describe(const Token &t)
    {
        switch (t.kind) {
        case Tk::End:
            return QStringLiteral("the end of the statement");
        case Tk::String:
            return QStringLiteral("a string literal");
        case Tk::Quoted:
            return u'[' + t.text + u']';
        default:
            return u'\'' + t.text + u'\'';
        }
    }

    // names
    std::vector<NamePart> parseObjectName();
    NamePart takeNamePart();
    QString canonicalDatabase(const NamePart &p, const Token &at) const;
    QString tableName(const std::vector<NamePart> &name, const Token &at) const;
    QString functionName(const std::vector<NamePart> &name, const Token &at) const;
    QString parseAlias(bool allowString);

    // statements
    QString parseSelectStatement();
    SelectStmt parseSelect();
    SelectTerm parseSelectTerm();
    SelectCore parseSelectCore();
    QString parseSelectItem();
    QString parseFrom();
    QString parseTableSource();
    void parseTableHints();
    QString parseOrderBy();
    QString parseInsert();
    QString parseUpdate();
    QString parseDelete();
    void parseProcedureCall(TranslatedStatement &out);

    // expressions
    Ex parseExpr();
    Ex parseOr();
    Ex parseAnd();
    Ex parseNot();
    Ex parsePredicate();
    Ex parseAdditive();
    Ex parseMultiplicative();
    Ex parseUnary();
    Ex parsePrimary();
    Ex parseCase();
    Ex parseFunction(const std::vector<NamePart> &name, const Token &at);
    Ex parseConvert(bool isCast);
    Ex stringLiteral(const Token &t) const;
    QList<Ex> parseArguments();

    const QString &m_src;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
};

// ---- names

NamePart Parser::takeNamePart()
{
    const Token &t = peek();
    if (t.kind == Tk::Quoted) {
        NamePart p{t.text, true};
        take();
        return p;
    }
    if (t.kind == Tk::Word && !isReserved(t)) {
        NamePart p{t.text, false};
        take();
        return p;
    }
    fail(QStringLiteral("expected a name, found ") + describe(t));
}

// a, a.b, a.b.c, a..c: empty parts stand for the default schema.
std::vector<NamePart> Parser::parseObjectName()
{
    std::vector<NamePart> parts;
    parts.push_back(takeNamePart());
    while (isSymbol(".")) {
        take();
        if (isSymbol(".")) {
            parts.push_back(NamePart{});
            continue;
        }
        parts.push_back(takeNamePart());
    }
    return parts;
}

QString Parser::canonicalDatabase(const NamePart &p, const Token &at) const
{
    for (const QString &db : Hospital::databaseNames()) {
        if (db.compare(p.text, Qt::CaseInsensitive) == 0)
            return db;
    }
    failAt(at, QStringLiteral("database ") + p.text);
}

bool isDefaultSchema(const NamePart &p)
{
    return p.empty() || p.text.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0;
}

// Radiology..tbX, Radiology.dbo.tbX and [Radiology]..[tbX] are the table tbX of the attached
// database Radiology; dbo.tbX and tbX are looked up by SQLite over all databases.
QString Parser::tableName(const std::vector<NamePart> &name, const Token &at) const
{
    if (name.back().empty())
        failAt(at, QStringLiteral("a name without its object"));
    switch (name.size()) {
    case 1:
        return emitName(name[0]);
    case 2:
        if (!isDefaultSchema(name[0]))
            failAt(at, QStringLiteral("schema ") + name[0].text);
        return emitName(name[1]);
    case 3:
        if (!isDefaultSchema(name[1]))
            failAt(at, QStringLiteral("schema ") + name[1].text);
        return canonicalDatabase(name[0], at) + u'.' + emitName(name[2]);
    default:
        failAt(at, QStringLiteral("a name of more than three parts"));
    }
}

// Functions of the hospital's databases are registered with SQLite under their own names.
QString Parser::functionName(const std::vector<NamePart> &name, const Token &at) const
{
    tableName(name, at); // validates database and schema
    return emitName(name.back());
}

// [AS] alias, or nothing.
QString Parser::parseAlias(bool allowString)
{
    const bool as = takeWord("AS");
    const Token &t = peek();
    if (t.kind == Tk::Quoted || (t.kind == Tk::Word && !isReserved(t))) {
        const NamePart p = takeNamePart();
        return QStringLiteral(" AS ") + emitName(p);
    }
    if (allowString && t.kind == Tk::String) {
        const QString name = QString(t.text).replace(QStringLiteral("''"), QStringLiteral("'"));
        take();
        return QStringLiteral(" AS ") + quoteName(name);
    }
    if (as)
        fail(QStringLiteral("expected an alias after AS, found ") + describe(t));
    return QString();
}

// ---- statements

TranslatedStatement Parser::translate()
{
    TranslatedStatement out;
    const Token &first = peek();
    if (first.kind == Tk::End)
        fail(QStringLiteral("an empty statement"));

    if (isWord("EXEC") || isWord("EXECUTE")) {
        take();
        parseProcedureCall(out);
    } else if (isReserved(first)) {
        if (first.upper == u"SELECT")
            out.sql = parseSelectStatement();
        else if (first.upper == u"INSERT")
            out.sql = parseInsert();
        else if (first.upper == u"UPDATE")
            out.sql = parseUpdate();
        else if (first.upper == u"DELETE")
            out.sql = parseDelete();
        else
            fail(QStringLiteral("statement ") + first.upper);
    } else if (isSymbol("(")) {
        out.sql = parseSelectStatement();
    } else if (first.kind == Tk::Word || first.kind == Tk::Quoted) {
        parseProcedureCall(out);
    } else {
        fail(QStringLiteral("a statement beginning with ") + describe(first));
    }

    if (takeSymbol(";") && !atEnd())
        fail(QStringLiteral("several statements in one text"));
    if (!atEnd())
        fail(QStringLiteral("unexpected ") + describe(peek()));
    return out;
}

QString Parser::parseSelectStatement()
{
    return emitSelect(parseSelect());
}

SelectStmt Parser::parseSelect()
{
    SelectStmt s;
    s.terms.push_back(parseSelectTerm());
    while (isWord("UNION")) {
        take();
        s.operators.push_back(takeWord("ALL") ? QStringLiteral("UNION ALL")
                                              : QStringLiteral("UNION"));
        s.terms.push_back(parseSelectTerm());
    }
    if (isWord("EXCEPT") || isWord("INTERSECT"))
        fail(peek().upper);
    if (isWord("ORDER"))
        s.orderBy = parseOrderBy();
    return s;
}

SelectTerm Parser::parseSelectTerm()
{
    SelectTerm t;
    if (takeSymbol("(")) {
        t.parenthesized = true;
        t.inner = std::make_shared<SelectStmt>(parseSelect());
        expectSymbol(")");
        return t;
    }
    t.core = parseSelectCore();
    return t;
}

SelectCore Parser::parseSelectCore()
{
    SelectCore core;
    expectWord("SELECT");
    QString body = QStringLiteral("SELECT ");
    if (takeWord("DISTINCT"))
        body += QStringLiteral("DISTINCT ");
    else
        takeWord("ALL");
    if (isWord("TOP")) {
        take();
        const bool paren = takeSymbol("(");
        const Token &n = peek();
        bool digitsOnly = n.kind == Tk::Number;
        for (QChar c : n.text)
            digitsOnly = digitsOnly && isDigit(c);
        if (!digitsOnly)
            fail(QStringLiteral("TOP with ") + describe(n));
        core.top = n.text;
        take();
        if (paren)
            expectSymbol(")");
        if (isWord("PERCENT"))
            fail(QStringLiteral("TOP ... PERCENT"));
        if (isWord("WITH") && peek(1).kind == Tk::Word && peek(1).upper == u"TIES")
            fail(QStringLiteral("TOP ... WITH TIES"));
    }
    QStringList items;
    do {
        items << parseSelectItem();
    } while (takeSymbol(","));
    body += items.join(QStringLiteral(", "));
    if (isWord("INTO"))
        fail(QStringLiteral("SELECT ... INTO"));
    if (takeWord("FROM"))
        body += QStringLiteral(" FROM ") + parseFrom();
    if (takeWord("WHERE"))
        body += QStringLiteral(" WHERE ") + parseExpr().sql;
    if (isWord("GROUP"))
        fail(QStringLiteral("GROUP BY"));
    if (isWord("HAVING"))
        fail(QStringLiteral("HAVING"));
    if (isWord("OPTION") || isWord("FOR"))
        fail(peek().upper);
    core.body = body;
    return core;
}

QString Parser::parseSelectItem()
{
    const Token &t = peek();
    if (isSymbol("*")) {
        take();
        return QStringLiteral("*");
    }
    // t.* and [t].*
    if ((t.kind == Tk::Word || t.kind == Tk::Quoted) && isSymbol(".", 1) && isSymbol("*", 2)
        && !isReserved(t)) {
        const NamePart p = takeNamePart();
        take();
        take();
        return emitName(p) + QStringLiteral(".*");
    }
    // alias = expression
    if ((t.kind == Tk::Quoted || t.kind == Tk::String || (t.kind == Tk::Word && !isReserved(t)))
        && isSymbol("=", 1)) {
        QString alias;
        if (t.kind == Tk::String)
            alias = quoteName(QString(t.text).replace(QStringLiteral("''"), QStringLiteral("'")));
        else
            alias = emitName(NamePart{t.text, t.kind == Tk::Quoted});
        take();
        take();
        const Ex e = parseExpr();
        return e.sql + QStringLiteral(" AS ") + alias;
    }
    const Ex e = parseExpr();
    return e.sql + parseAlias(true);
}

QString Parser::parseFrom()
{
    QString out = parseTableSource();
    for (;;) {
        if (takeSymbol(",")) {
            out += QStringLiteral(", ") + parseTableSource();
            continue;
        }
        QString join;
        if (isWord("JOIN")) {
            join = QStringLiteral("JOIN");
        } else if (isWord("INNER") && isWord("JOIN", 1)) {
            take();
            join = QStringLiteral("INNER JOIN");
        } else if (isWord("LEFT")) {
            take();
            takeWord("OUTER");
            if (!isWord("JOIN"))
                fail(QStringLiteral("expected JOIN, found ") + describe(peek()));
            join = QStringLiteral("LEFT OUTER JOIN");
        } else if (isWord("CROSS") && isWord("JOIN", 1)) {
            take();
            join = QStringLiteral("CROSS JOIN");
        } else if (isWord("RIGHT") || isWord("FULL") || isWord("CROSS") || isWord("INNER")
                   || isWord("OUTER")) {
            fail(peek().upper + QStringLiteral(" join"));
        } else {
            break;
        }
        take(); // JOIN
        out += u' ' + join + u' ' + parseTableSource();
        if (join != u"CROSS JOIN") {
            expectWord("ON");
            out += QStringLiteral(" ON ") + parseExpr().sql;
        }
    }
    return out;
}

QString Parser::parseTableSource()
{
    QString out;
    if (takeSymbol("(")) {
        out = u'(' + emitSelect(parseSelect()) + u')';
        expectSymbol(")");
        out += parseAlias(false);
        return out;
    }
    const Token at = peek();
    const std::vector<NamePart> name = parseObjectName();
    if (isSymbol("(") && !(peek(1).kind == Tk::Word && peek(1).upper == u"NOLOCK")) {
        // a table function: laboratory.dbo.fn_LabSplit('a,b', ',')
        take();
        QStringList args;
        for (const Ex &e : parseArguments())
            args << e.sql;
        expectSymbol(")");
        out = functionName(name, at) + u'(' + args.join(QStringLiteral(", ")) + u')';
    } else {
        out = tableName(name, at);
    }
    parseTableHints();
    out += parseAlias(false);
    parseTableHints();
    return out;
}

// WITH (NOLOCK) and (NOLOCK) are dropped: SQLite readers never block on a writer here.
void Parser::parseTableHints()
{
    const bool with = isWord("WITH") && isSymbol("(", 1);
    const bool bare = isSymbol("(") && peek(1).kind == Tk::Word && peek(1).upper == u"NOLOCK";
    if (!with && !bare)
        return;
    if (with)
        take();
    take(); // (
    do {
        const Token &h = peek();
        if (!(h.kind == Tk::Word && h.upper == u"NOLOCK"))
            fail(QStringLiteral("table hint ") + describe(h));
        take();
    } while (takeSymbol(","));
    expectSymbol(")");
}

QString Parser::parseOrderBy()
{
    expectWord("ORDER");
    expectWord("BY");
    QStringList items;
    do {
        QString item = parseExpr().sql;
        if (takeWord("ASC"))
            item += QStringLiteral(" ASC");
        else if (takeWord("DESC"))
            item += QStringLiteral(" DESC");
        items << item;
    } while (takeSymbol(","));
    return items.join(QStringLiteral(", "));
}

QString Parser::parseInsert()
{
    expectWord("INSERT");
    takeWord("INTO");
    const Token at = peek();
    QString out = QStringLiteral("INSERT INTO ") + tableName(parseObjectName(), at);
    if (takeSymbol("(")) {
        QStringList cols;
        do {
            cols << emitName(takeNamePart());
        } while (takeSymbol(","));
        expectSymbol(")");
        out += QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + u')';
    }
    if (takeWord("VALUES")) {
        QStringList rows;
        do {
            expectSymbol("(");
            QStringList values;
            for (const Ex &e : parseArguments())
                values << e.sql;
            if (values.isEmpty())
                fail(QStringLiteral("an empty VALUES row"));
            expectSymbol(")");
            rows << u'(' + values.join(QStringLiteral(", ")) + u')';
        } while (takeSymbol(","));
        out += QStringLiteral(" VALUES ") + rows.join(QStringLiteral(", "));
    } else if (isWord("SELECT") || isSymbol("(")) {
        out += u' ' + parseSelectStatement();
    } else {
        fail(QStringLiteral("INSERT with ") + describe(peek()));
    }
    return out;
}

QString Parser::parseUpdate()
{
    expectWord("UPDATE");
    if (isWord("TOP"))
        fail(QStringLiteral("UPDATE TOP"));
    const Token at = peek();
    QString out = QStringLiteral("UPDATE ") + tableName(parseObjectName(), at);
    parseTableHints();
    expectWord("SET");
    QStringList sets;
    do {
        const Token colAt = peek();
        const std::vector<NamePart> col = parseObjectName();
        if (col.size() != 1)
            failAt(colAt, QStringLiteral("a qualified column in SET"));
        expectSymbol("=");
        sets << emitName(col[0]) + QStringLiteral(" = ") + parseExpr().sql;
    } while (takeSymbol(","));
    out += QStringLiteral(" SET ") + sets.join(QStringLiteral(", "));
    if (isWord("FROM"))
        fail(QStringLiteral("UPDATE ... FROM"));
    if (takeWord("WHERE"))
        out += QStringLiteral(" WHERE ") + parseExpr().sql;
    return out;
}

// DELETE table WHERE ... is DELETE FROM table WHERE ...
QString Parser::parseDelete()
{
    expectWord("DELETE");
    if (isWord("TOP"))
        fail(QStringLiteral("DELETE TOP"));
    takeWord("FROM");
    const Token at = peek();
    QString out = QStringLiteral("DELETE FROM ") + tableName(parseObjectName(), at);
    parseTableHints();
    if (isWord("FROM"))
        fail(QStringLiteral("DELETE ... FROM"));
    if (takeWord("WHERE"))
        out += QStringLiteral(" WHERE ") + parseExpr().sql;
    return out;
}

// [EXEC] name 'text', N'text', 12, -1.5, NULL, @param = value
void Parser::parseProcedureCall(TranslatedStatement &out)
{
    const Token at = peek();
    const std::vector<NamePart> name = parseObjectName();
    if (name.back().empty())
        failAt(at, QStringLiteral("a procedure name without its object"));
    out.isProcedureCall = true;
    out.procedure = name.back().text;
    switch (name.size()) {
    case 1:
        break;
    case 2:
        if (!isDefaultSchema(name[0]))
            failAt(at, QStringLiteral("schema ") + name[0].text);
        break;
    case 3:
        if (!isDefaultSchema(name[1]))
            failAt(at, QStringLiteral("schema ") + name[1].text);
        out.procedureDatabase = canonicalDatabase(name[0], at);
        break;
    default:
        failAt(at, QStringLiteral("a procedure name of more than three parts"));
    }

    if (atEnd() || isSymbol(";"))
        return;
    do {
        if (peek().kind == Tk::Variable && isSymbol("=", 1)) {
            take();
            take();
        }
        const Token &t = peek();
        if (t.kind == Tk::String) {
            out.arguments << QVariant(QString(t.text).replace(QStringLiteral("''"),
                                                               QStringLiteral("'")));
            take();
        } else if (isWord("NULL")) {
            out.arguments << QVariant();
            take();
        } else {
            bool negative = false;
            if (isSymbol("-") || isSymbol("+")) {
                negative = take().text == u"-";
            }
            const Token &num = peek();
            if (num.kind != Tk::Number)
                fail(QStringLiteral("procedure argument ") + describe(num));
            const QString text = negative ? u'-' + num.text : num.text;
            bool ok = false;
            const qint64 i = text.toLongLong(&ok);
            if (ok)
                out.arguments << QVariant(i);
            else
                out.arguments << QVariant(text.toDouble());
            take();
        }
    } while (takeSymbol(","));
}

// ---- expressions

QList<Ex> Parser::parseArguments()
{
    QList<Ex> args;
    if (isSymbol(")"))
        return args;
    do {
        args << parseExpr();
    } while (takeSymbol(","));
    return args;
}

Ex Parser::parseExpr()
{
    return parseOr();
}

Ex Parser::parseOr()
{
    Ex l = parseAnd();
    while (takeWord("OR"))
        l = binary(l, QStringLiteral("OR"), parseAnd(), PrecOr, Ty::Number);
    return l;
}

Ex Parser::parseAnd()
{
    Ex l = parseNot();
    while (takeWord("AND"))
        l = binary(l, QStringLiteral("AND"), parseNot(), PrecAnd, Ty::Number);
    return l;
}

Ex Parser::parseNot()
{
    if (takeWord("NOT")) {
        const Ex e = parseNot();
        return Ex{QStringLiteral("NOT ") + operand(e, PrecNot), PrecNot, Ty::Number};
    }
    return parsePredicate();
}

Ex Parser::parsePredicate()
{
    const Ex l = parseAdditive();
    const Token &t = peek();
    if (t.kind == Tk::Symbol) {
        const QString op = t.text;
        int prec = 0;
        if (op == u"=" || op == u"<>" || op == u"!=")
            prec = PrecEquality;
        else if (op == u"<" || op == u">" || op == u"<=" || op == u">=")
            prec = PrecRelational;
        else if (op == u"!<" || op == u"!>")
            fail(QStringLiteral("operator ") + op);
        if (prec) {
            take();
            const Ex r = parseAdditive();
            return binary(l, op, r, prec, Ty::Number);
        }
        return l;
    }
    if (t.kind != Tk::Word)
        return l;

    const QString left = operand(l, PrecEquality + 1);
    if (isWord("IS")) {
        take();
        const bool negated = takeWord("NOT");
        expectWord("NULL");
        return Ex{left + (negated ? QStringLiteral(" IS NOT NULL") : QStringLiteral(" IS NULL")),
                  PrecEquality, Ty::Number};
    }
    const bool negated = isWord("NOT")
                         && (isWord("BETWEEN", 1) || isWord("IN", 1) || isWord("LIKE", 1));
    if (negated)
        take();
    const QString notText = negated ? QStringLiteral(" NOT") : QString();
    if (takeWord("BETWEEN")) {
        const Ex lo = parseAdditive();
        expectWord("AND");
        const Ex hi = parseAdditive();
        return Ex{left + notText + QStringLiteral(" BETWEEN ") + operand(lo, PrecEquality + 1)
                      + QStringLiteral(" AND ") + operand(hi, PrecEquality + 1),
                  PrecEquality, Ty::Number};
    }
    if (takeWord("IN")) {
        expectSymbol("(");
        QString list;
        if (isWord("SELECT")) {
            list = parseSelectStatement();
        } else {
            QStringList items;
            for (const Ex &e : parseArguments())
                items << e.sql;
            if (items.isEmpty())
                fail(QStringLiteral("an empty IN list"));
            list = items.join(QStringLiteral(", "));
        }
        expectSymbol(")");
        return Ex{left + notText + QStringLiteral(" IN (") + list + u')', PrecEquality, Ty::Number};
    }
    if (takeWord("LIKE")) {
        const Ex pattern = parseAdditive();
        QString sql = left + notText + QStringLiteral(" LIKE ") + operand(pattern, PrecEquality + 1);
        if (takeWord("ESCAPE"))
            sql += QStringLiteral(" ESCAPE ") + operand(parseAdditive(), PrecEquality + 1);
        return Ex{sql, PrecEquality, Ty::Number};
    }
    return l;
}

// '+' is concatenation between texts and addition between numbers; which one is decided here
// when an operand's type is known, and at run time by tsql_add otherwise.
Ex Parser::parseAdditive()
{
    Ex l = parseMultiplicative();
    for (;;) {
        const Token op = peek();
        if (!(isSymbol("+") || isSymbol("-")))
            return l;
        take();
        const Ex r = parseMultiplicative();
        if (l.ty == Ty::Date || r.ty == Ty::Date)
            failAt(op, QStringLiteral("date arithmetic with '") + op.text + u'\'');
        if (op.text == u"-") {
            l = binary(l, QStringLiteral("-"), r, PrecAdd, Ty::Number);
        } else if (l.ty == Ty::Text || r.ty == Ty::Text) {
            l = binary(l, QStringLiteral("||"), r, PrecConcat, Ty::Text);
        } else if (l.ty == Ty::Number && r.ty == Ty::Number) {
            l = binary(l, QStringLiteral("+"), r, PrecAdd, Ty::Number);
        } else {
            l = Ex{QStringLiteral("tsql_add(") + l.sql + QStringLiteral(", ") + r.sql + u')',
                   PrecPrimary, Ty::Unknown};
        }
    }
}

Ex Parser::parseMultiplicative()
{
    Ex l = parseUnary();
    while (isSymbol("*") || isSymbol("/") || isSymbol("%")) {
        const Token op = take();
        const Ex r = parseUnary();
        if (l.ty == Ty::Date || r.ty == Ty::Date)
            failAt(op, QStringLiteral("date arithmetic with '") + op.text + u'\'');
        l = binary(l, op.text, r, PrecMul, Ty::Number);
    }
    return l;
}

Ex Parser::parseUnary()
{
    if (isSymbol("-") || isSymbol("+")) {
        const Token op = take();
        const Ex e = parseUnary();
        if (op.text == u"+")
            return e;
        if (e.ty == Ty::Date)
            failAt(op, QStringLiteral("date arithmetic with '-'"));
        // "- -1" must not become the comment "--1".
        const QString inner = e.sql.startsWith(u'-') ? u'(' + e.sql + u')' : operand(e, PrecUnary);
        Ex out{u'-' + inner, e.numberLiteral ? PrecPrimary : PrecUnary, Ty::Number,
               e.numberLiteral};
        return out;
    }
    if (isSymbol("~"))
        fail(QStringLiteral("operator ~"));
    return parsePrimary();
}

// A string literal; a month/day/year date becomes the stored ISO form so that it compares
// with stored dates as SQL Server's datetime comparison does.
Ex Parser::stringLiteral(const Token &t) const
{
    Ex e;
    e.ty = Ty::Text;
    if (t.text.contains(u'/')) {
        if (const auto date = tsqldates::parseMonthDayYear(t.text)) {
            e.sql = u'\'' + tsqldates::formatIso(*date) + u'\'';
            return e;
        }
    }
    e.sql = u'\'' + t.text + u'\'';
    return e;
}

Ex Parser::parsePrimary()
{
    const Token t = peek();
    switch (t.kind) {
    case Tk::Number:
        take();
        return Ex{t.text, PrecPrimary, Ty::Number, true};
    case Tk::String:
        take();
        return stringLiteral(t);
    case Tk::Variable:
        fail(QStringLiteral("variable ") + t.text);
    case Tk::End:
        fail(QStringLiteral("an incomplete expression"));
    case Tk::Symbol:
        if (t.text == u"(") {
            take();
            if (isWord("SELECT")) {
                const QString sub = parseSelectStatement();
                expectSymbol(")");
                return Ex{u'(' + sub + u')', PrecPrimary, Ty::Unknown};
            }
            const Ex e = parseExpr();
            expectSymbol(")");
            return Ex{u'(' + e.sql + u')', PrecPrimary, e.ty, false};
        }
        fail(QStringLiteral("unexpected ") + describe(t));
    case Tk::Word:
        if (t.upper == u"NULL") {
            take();
            return Ex{QStringLiteral("NULL"), PrecPrimary, Ty::Null};
        }
        if (t.upper == u"CASE")
            return parseCase();
        if (t.upper == u"CAST" && isSymbol("(", 1))
            return parseConvert(true);
        if (t.upper == u"CONVERT")
            return parseConvert(false);
        if (t.upper == u"EXISTS") {
            take();
            expectSymbol("(");
            const QString sub = parseSelectStatement();
            expectSymbol(")");
            return Ex{QStringLiteral("EXISTS (") + sub + u')', PrecPrimary, Ty::Number};
        }
        if (isReserved(t)) {
            if (isSymbol("(", 1))
                fail(QStringLiteral("function ") + t.upper);
            fail(QStringLiteral("unexpected ") + t.upper);
        }
        break;
    case Tk::Quoted:
        break;
    }

    const std::vector<NamePart> name = parseObjectName();
    if (isSymbol("("))
        return parseFunction(name, t);
    if (name.size() > 3)
        failAt(t, QStringLiteral("a column name of more than three parts"));
    QStringList parts;
    for (const NamePart &p : name) {
        if (p.empty())
            failAt(t, QStringLiteral("a column name with an empty part"));
        parts << emitName(p);
    }
    return Ex{parts.join(u'.'), PrecPrimary, Ty::Unknown};
}

Ex Parser::parseCase()
{
    expectWord("CASE");
    QString sql = QStringLiteral("CASE");
    if (!isWord("WHEN"))
        sql += u' ' + parseExpr().sql;
    std::optional<Ty> ty;
    auto merge = [&ty](Ty t) {
        if (t == Ty::Null)
            return;
        if (!ty)
            ty = t;
        else if (*ty != t)
            ty = Ty::Unknown;
    };
    if (!isWord("WHEN"))
        fail(QStringLiteral("CASE without WHEN"));
    while (takeWord("WHEN")) {
        sql += QStringLiteral(" WHEN ") + parseExpr().sql;
        expectWord("THEN");
        const Ex then = parseExpr();
        merge(then.ty);
        sql += QStringLiteral(" THEN ") + then.sql;
    }
    if (takeWord("ELSE")) {
        const Ex otherwise = parseExpr();
        merge(otherwise.ty);
        sql += QStringLiteral(" ELSE ") + otherwise.sql;
    }
    expectWord("END");
    sql += QStringLiteral(" END");
    return Ex{sql, PrecPrimary, ty.value_or(Ty::Null)};
}

// CONVERT(type, value[, style]) and CAST(value AS type) become
// tsql_convert('<kind>', <length or NULL>, value, <style or NULL>).
Ex Parser::parseConvert(bool isCast)
{
    take(); // CAST / CONVERT
    expectSymbol("(");
    Ex value;
    if (isCast) {
        value = parseExpr();
        expectWord("AS");
    }

    const Token typeAt = peek();
    if (typeAt.kind != Tk::Word)
        fail(QStringLiteral("expected a data type, found ") + describe(typeAt));
    take();
    const QString type = typeAt.upper;
    QString kind;
    Ty ty = Ty::Unknown;
    bool sized = false;
    if (type == u"VARCHAR" || type == u"NVARCHAR") {
        kind = QStringLiteral("varchar");
        sized = true;
        ty = Ty::Text;
    } else if (type == u"CHAR" || type == u"NCHAR") {
        kind = QStringLiteral("char");
        sized = true;
        ty = Ty::Text;
    } else if (type == u"INT" || type == u"BIGINT" || type == u"SMALLINT" || type == u"TINYINT") {
        kind = QStringLiteral("int");
        ty = Ty::Number;
    } else if (type == u"DATETIME") {
        kind = QStringLiteral("datetime");
        ty = Ty::Date;
    } else if (type == u"DATE") {
        kind = QStringLiteral("date");
        ty = Ty::Date;
    } else {
        failAt(typeAt, QStringLiteral("data type ") + typeAt.text);
    }
    // CAST and CONVERT to a character type without a length give 30 characters.
    QString length = sized ? QStringLiteral("30") : QStringLiteral("NULL");
    if (takeSymbol("(")) {
        if (!sized)
            failAt(typeAt, QStringLiteral("a length for ") + typeAt.text);
        if (isWord("MAX")) {
            length = QStringLiteral("NULL");
        } else {
            const Token &n = peek();
            bool ok = n.kind == Tk::Number;
            const int v = n.text.toInt(&ok);
            if (!ok || v < 1)
                fail(QStringLiteral("length ") + describe(n));
            length = QString::number(v);
        }
        take();
        expectSymbol(")");
    }

    QString style = QStringLiteral("NULL");
    if (!isCast) {
        expectSymbol(",");
        value = parseExpr();
        if (takeSymbol(",")) {
            const Token &s = peek();
            bool ok = s.kind == Tk::Number;
            const int v = ok ? s.text.toInt(&ok) : 0;
            static const int known[] = {0, 8, 12, 100, 101, 104, 108, 127};
            if (!ok || std::find(std::begin(known), std::end(known), v) == std::end(known))
                fail(QStringLiteral("CONVERT style ") + s.text);
            if (ty != Ty::Text)
                fail(QStringLiteral("CONVERT style to ") + typeAt.text);
            style = QString::number(v);
            take();
        }
    }
    expectSymbol(")");
    return Ex{QStringLiteral("tsql_convert('") + kind + QStringLiteral("', ") + length
                  + QStringLiteral(", ") + value.sql + QStringLiteral(", ") + style + u')',
              PrecPrimary, ty};
}

QString datePart(const Token &t)
{
    if (t.kind != Tk::Word)
        return QString();
    const QString &p = t.upper;
    if (p == u"YEAR" || p == u"YY" || p == u"YYYY")
        return QStringLiteral("year");
    if (p == u"MONTH" || p == u"MM" || p == u"M")
        return QStringLiteral("month");
    if (p == u"DAY" || p == u"DD" || p == u"D")
        return QStringLiteral("day");
    if (p == u"HOUR" || p == u"HH")
        return QStringLiteral("hour");
    if (p == u"MINUTE" || p == u"MI" || p == u"N")
        return QStringLiteral("minute");
    if (p == u"SECOND" || p == u"SS" || p == u"S")
        return QStringLiteral("second");
    return QString();
}

Ex Parser::parseFunction(const std::vector<NamePart> &name, const Token &at)
{
    if (name.size() > 1) {
        // A function of a hospital database: Radiology.dbo.fn_X(...) is fn_X(...).
        const QString fn = functionName(name, at);
        take(); // (
        QStringList args;
        for (const Ex &e : parseArguments())
            args << e.sql;
        expectSymbol(")");
        return Ex{fn + u'(' + args.join(QStringLiteral(", ")) + u')', PrecPrimary, Ty::Unknown};
    }

    const QString fn = name[0].quoted ? QString() : name[0].text.toUpper();
    take(); // (
    if (fn == u"DATEADD") {
        const Token partAt = peek();
        const QString part = datePart(partAt);
        if (part.isEmpty())
            fail(QStringLiteral("DATEADD part ") + describe(partAt));
        take();
        expectSymbol(",");
        const Ex n = parseExpr();
        expectSymbol(",");
        const Ex d = parseExpr();
        expectSymbol(")");
        return Ex{QStringLiteral("tsql_dateadd('") + part + QStringLiteral("', ") + n.sql
                      + QStringLiteral(", ") + d.sql + u')',
                  PrecPrimary, Ty::Date};
    }

    const QList<Ex> args = parseArguments();
    expectSymbol(")");
    auto arity = [&](int n) {
        if (args.size() != n)
            failAt(at, name[0].text + QStringLiteral(" with ") + QString::number(args.size())
                           + QStringLiteral(" arguments"));
    };
    auto call = [&](const QString &sqliteName, Ty ty) {
        QStringList sql;
        for (const Ex &e : args)
            sql << e.sql;
        return Ex{sqliteName + u'(' + sql.join(QStringLiteral(", ")) + u')', PrecPrimary, ty};
    };
    if (fn == u"ISNULL") {
        arity(2);
        const Ty ty = args[0].ty == Ty::Null      ? args[1].ty
                      : args[0].ty == Ty::Unknown ? Ty::Unknown
                                                  : args[0].ty;
        return call(QStringLiteral("IFNULL"), ty);
    }
    if (fn == u"GETDATE") {
        arity(0);
        return call(QStringLiteral("tsql_getdate"), Ty::Date);
    }
    if (fn == u"REPLACE") {
        arity(3);
        return call(QStringLiteral("tsql_replace"), Ty::Text);
    }
    if (fn == u"SUBSTRING") {
        arity(3);
        return call(QStringLiteral("tsql_substring"), Ty::Text);
    }
    if (fn == u"LTRIM") {
        arity(1);
        return call(QStringLiteral("ltrim"), Ty::Text);
    }
    if (fn == u"RTRIM") {
        arity(1);
        return call(QStringLiteral("rtrim"), Ty::Text);
    }
    if (fn == u"CHAR") {
        arity(1);
        return call(QStringLiteral("char"), Ty::Text);
    }
    failAt(at, QStringLiteral("function ") + name[0].text);
}

} // namespace

TranslatedStatement translateTsql(const QString &tsql)
{
    Parser parser(tsql);
    return parser.translate();
}

} // namespace hospitaldb
