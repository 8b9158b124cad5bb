#include "Database.h"
#include "EmbeddedConnection.h"
#include "OdbcConnection.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString sqlStr(const QString &value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += u'\'';
    for (const QChar c : value) {
        if (c == u'\'')
            out += u'\'';
        out += c;
    }
    out += u'\'';
    return out;
}

QString sqlInt(qint64 value)
{
    return QString::number(value);
}

Recordset::Recordset(QStringList columns, QList<QVariantList> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
    m_index.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns[i].toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}

int Recordset::columnIndex(const QString &name) const
{
    return m_index.value(name.toLower(), -1);
}

int Recordset::columnOrThrow(const QString &name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal. (") + name + u')');
    return i;
}

QVariant Recordset::raw(qsizetype row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                     "Requested operation requires a current record."));
    if (column < 0 || column >= m_columns.size())
        throw DbError(QStringLiteral("Item cannot be found in the collection corresponding to the "
                                     "requested name or ordinal."));
    const QVariantList &r = m_rows[row];
    return column < r.size() ? r[column] : QVariant();
}

QString Recordset::text(qsizetype row, int column) const
{
    return toText(raw(row, column));
}

QString Recordset::toText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00.000");
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray());
    default:
        return value.toString();
    }
}

bool ConnectionParams::isEmbedded() const
{
    const QString s = server.trimmed();
    return s.isEmpty() || QFileInfo(s).isDir();
}

QString ConnectionParams::embeddedDirectory() const
{
    const QString s = server.trimmed();
    if (!s.isEmpty())
        return s;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("relayon/hospital"));
}

std::unique_ptr<Connection> openConnection(const ConnectionParams &params)
{
    if (params.isEmbedded())
        return std::make_unique<EmbeddedConnection>(params.embeddedDirectory());
    return std::make_unique<OdbcConnection>(params);
}
