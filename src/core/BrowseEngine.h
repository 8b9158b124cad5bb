#pragma once
// The work of a browse window, without widgets: lists the rows of one table by its find
// fields and date filter, and adds, edits and deletes rows when the browse allows it.

#include "Database.h"
#include "UserSession.h"

#include <QDate>

class BrowseEngine {
public:
    BrowseEngine(Connection *connection, BrowseSpec browse, bool allowEdit, bool allowDelete);

    const BrowseSpec &browse() const { return m_browse; }
    QStringList fields() const { return m_fields; }
    bool canAdd() const;
    bool canEdit() const;
    bool canDelete() const;

    // Rows whose find fields begin with the texts given (an empty text does not filter) and,
    // with a date filter field, whose date lies on or between the two days.
    QString listStatement(const QString &find1, const QString &find2, const QDate &from, const QDate &to) const;
    Recordset list(const QString &find1, const QString &find2, const QDate &from, const QDate &to);

    void updateField(const QString &id, const QString &field, const QString &value);
    void deleteRow(const QString &id);
    void addRow(const QString &id);

    static constexpr int kMaxRows = 1000;

private:
    QString table() const;
    QString checkedField(const QString &field) const; // throws DbError for a column not browsed

    Connection *m_connection;
    BrowseSpec m_browse;
    QStringList m_fields;
    bool m_allowEdit;
    bool m_allowDelete;
};
