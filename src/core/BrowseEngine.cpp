#include "BrowseEngine.h"

#include <QRegularExpression>

namespace {

// Table and column names come from the program, never from the operator; anything that is
// not a plain name is refused all the same.
bool isPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

// The operator's text is a prefix; wildcards typed into it work as wildcards.
QString likePrefix(const QString &text)
{
    return sqlStr(text + u'%');
}

} // namespace

BrowseEngine::BrowseEngine(Connection *connection, BrowseSpec browse, bool allowEdit, bool allowDelete)
    : m_connection(connection), m_browse(std::move(browse)), m_allowEdit(allowEdit), m_allowDelete(allowDelete)
{
    m_fields = m_browse.fields();
    if (m_fields.isEmpty())
        m_fields << QStringLiteral("*");
}

bool BrowseEngine::canAdd() const
{
    return m_allowEdit && m_browse.PropOperation.contains(u'A', Qt::CaseInsensitive) && !m_browse.PropFieldNameID.isEmpty();
}

bool BrowseEngine::canEdit() const
{
    return m_allowEdit && m_browse.PropOperation.contains(u'E', Qt::CaseInsensitive) && !m_browse.PropFieldNameID.isEmpty();
}

bool BrowseEngine::canDelete() const
{
    return m_allowDelete && m_browse.PropOperation.contains(u'D', Qt::CaseInsensitive) && !m_browse.PropFieldNameID.isEmpty();
}

QString BrowseEngine::table() const
{
    if (!isPlainName(m_browse.PropDatabaseName) || !isPlainName(m_browse.proptable))
        throw DbError(QStringLiteral("Invalid table name: ") + m_browse.PropDatabaseName + QStringLiteral("..")
                      + m_browse.proptable);
    return m_browse.PropDatabaseName + QStringLiteral("..") + m_browse.proptable;
}

QString BrowseEngine::checkedField(const QString &field) const
{
    if (!isPlainName(field))
        throw DbError(QStringLiteral("Invalid column name: ") + field);
    return field;
}

QString BrowseEngine::listStatement(const QString &find1, const QString &find2, const QDate &from,
                                    const QDate &to) const
{
    QStringList columns;
    for (const QString &f : m_fields)
        columns << (f == u"*" ? f : checkedField(f));
    QString sql = QStringLiteral("SELECT TOP ") + sqlInt(kMaxRows) + u' ' + columns.join(QStringLiteral(", "))
                  + QStringLiteral(" FROM ") + table() + QStringLiteral(" WITH (NOLOCK) WHERE 1=1");
    if (!m_browse.PropFindField1.isEmpty() && !find1.isEmpty())
        sql += QStringLiteral(" AND ") + checkedField(m_browse.PropFindField1) + QStringLiteral(" LIKE ") + likePrefix(find1);
    if (!m_browse.PropFindField2.isEmpty() && !find2.isEmpty())
        sql += QStringLiteral(" AND ") + checkedField(m_browse.PropFindField2) + QStringLiteral(" LIKE ") + likePrefix(find2);
    if (!m_browse.PropDateFilterField.isEmpty() && from.isValid() && to.isValid()) {
        const QString field = checkedField(m_browse.PropDateFilterField);
        sql += QStringLiteral(" AND ") + field + QStringLiteral(" >= ")
               + sqlStr(from.toString(QStringLiteral("MM/dd/yyyy"))) + QStringLiteral(" AND ") + field
               + QStringLiteral(" < ") + sqlStr(to.addDays(1).toString(QStringLiteral("MM/dd/yyyy")));
    }
    if (!m_browse.propsort.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + checkedField(m_browse.propsort);
    return sql;
}

Recordset BrowseEngine::list(const QString &find1, const QString &find2, const QDate &from, const QDate &to)
{
    return m_connection->open(listStatement(find1, find2, from, to));
}

void BrowseEngine::updateField(const QString &id, const QString &field, const QString &value)
{
    if (!canEdit())
        throw DbError(QStringLiteral("This list cannot be edited."));
    m_connection->execute(QStringLiteral("UPDATE ") + table() + QStringLiteral(" SET ") + checkedField(field)
                          + QStringLiteral(" = ") + sqlStr(value) + QStringLiteral(" WHERE ")
                          + checkedField(m_browse.PropFieldNameID) + QStringLiteral(" = ") + sqlStr(id));
}

void BrowseEngine::deleteRow(const QString &id)
{
    if (!canDelete())
        throw DbError(QStringLiteral("Rows of this list cannot be deleted."));
    m_connection->execute(QStringLiteral("DELETE FROM ") + table() + QStringLiteral(" WHERE ")
                          + checkedField(m_browse.PropFieldNameID) + QStringLiteral(" = ") + sqlStr(id));
}

void BrowseEngine::addRow(const QString &id)
{
    if (!canAdd())
        throw DbError(QStringLiteral("Rows cannot be added to this list."));
    m_connection->execute(QStringLiteral("INSERT INTO ") + table() + QStringLiteral(" (")
                          + checkedField(m_browse.PropFieldNameID) + QStringLiteral(") VALUES (") + sqlStr(id)
                          + u')');
}
