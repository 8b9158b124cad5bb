#pragma once
// The program's one way to the hospital's databases: a Connection that sends T-SQL text and
// returns Recordsets fetched whole. Two backends: SQL Server through ODBC, and the embedded
// hospital. Every failure is a DbError carrying the database's own description.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <stdexcept>

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    QString description() const { return m_description; }

private:
    QString m_description;
};

// Text values go into statements only through sqlStr, integers only through sqlInt.
// sqlStr("O'Brien") is the literal 'O''Brien' with its quotes.
QString sqlStr(const QString &value);
QString sqlInt(qint64 value);

// A result fetched whole on the client: the row count is known before any row is read,
// fields are found by name without regard to case, and a null reads as the empty text.
// It has a current row (starting at the first) for the callers that walk it.
class Recordset {
public:
    Recordset() = default;
    Recordset(QStringList columns, QList<QVariantList> rows);

    int recordCount() const { return int(m_rows.size()); }
    int fieldCount() const { return int(m_columns.size()); }
    const QStringList &columnNames() const { return m_columns; }
    const QList<QVariantList> &rows() const { return m_rows; }
    int columnIndex(const QString &name) const; // -1 when there is no such column

    bool eof() const { return m_pos >= m_rows.size(); }
    void moveNext() { if (m_pos < m_rows.size()) ++m_pos; }
    void moveFirst() { m_pos = 0; }
    int position() const { return int(m_pos); }

    // The current row's field as text ("" for null). Throws DbError for an unknown column
    // or when there is no current row.
    QString field(const QString &name) const { return text(m_pos, name); }
    QString field(int column) const { return text(m_pos, column); }
    QVariant value(const QString &name) const { return raw(m_pos, columnOrThrow(name)); }
    bool isNull(const QString &name) const { return value(name).isNull(); }

    // Random access by row.
    QString text(qsizetype row, const QString &name) const { return text(row, columnOrThrow(name)); }
    QString text(qsizetype row, int column) const;

    // How a database value reads as text: null is empty, dates as 'YYYY-MM-DD HH:MM:SS.mmm'.
    static QString toText(const QVariant &value);

private:
    int columnOrThrow(const QString &name) const;
    QVariant raw(qsizetype row, int column) const;

    QStringList m_columns;
    QList<QVariantList> m_rows;
    QHash<QString, int> m_index; // lower-case name -> first column of that name
    qsizetype m_pos = 0;
};

class Connection {
public:
    virtual ~Connection() = default;

    virtual Recordset open(const QString &sql) = 0;
    virtual void execute(const QString &sql) = 0;
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;

    // Seconds a statement may run before it fails; 0 waits without limit.
    virtual void setCommandTimeout(int seconds) = 0;
    virtual QString connectionString() const = 0;
    virtual QString serverName() const = 0;
};

// The connection parameters of the operator's session.
struct ConnectionParams {
    QString server;
    QString database;
    QString user;
    QString password;

    // An empty server, or one that names an existing directory, is the embedded hospital.
    bool isEmbedded() const;
    QString embeddedDirectory() const; // empty server: $XDG_DATA_HOME/relayon/hospital
};

// Opens the backend the parameters choose. Throws DbError when the database cannot be reached.
std::unique_ptr<Connection> openConnection(const ConnectionParams &params);
