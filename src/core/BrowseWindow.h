#pragma once
// The session component's simple browse window over one table: find fields, date filter,
// the rows in a grid, and editing, adding and deleting where the browse allows it.

#include "BrowseEngine.h"

#include <QWidget>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableWidget;

class BrowseWindow : public QWidget {
    Q_OBJECT
public:
    BrowseWindow(Connection *connection, const BrowseSpec &browse, bool allowEdit, bool allowDelete,
                 QWidget *parent = nullptr);

    static BrowseWindow *open(Connection *connection, const BrowseSpec &browse, bool allowEdit, bool allowDelete);

    BrowseEngine &engine() { return m_engine; }
    QTableWidget *grid() const { return m_grid; }
    void search();

private:
    void cellEdited(int row, int column);
    void addRow();
    void deleteRow();
    void showError(const QString &text);

    BrowseEngine m_engine;
    QLineEdit *m_find1 = nullptr;
    QLineEdit *m_find2 = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QTableWidget *m_grid = nullptr;
    bool m_filling = false;
};
