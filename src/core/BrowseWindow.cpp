#include "BrowseWindow.h"

#include "Globals.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

BrowseWindow::BrowseWindow(Connection *connection, const BrowseSpec &browse, bool allowEdit, bool allowDelete,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), m_engine(connection, browse, allowEdit, allowDelete)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmBrowseTable"));
    setWindowTitle(browse.propwindowtitle);

    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    if (!browse.PropFindField1.isEmpty()) {
        bar->addWidget(new QLabel(browse.PropFindField1 + u':', this));
        m_find1 = new QLineEdit(this);
        m_find1->setObjectName(QStringLiteral("txtFind1"));
        bar->addWidget(m_find1);
        connect(m_find1, &QLineEdit::returnPressed, this, &BrowseWindow::search);
    }
    if (!browse.PropFindField2.isEmpty()) {
        bar->addWidget(new QLabel(browse.PropFindField2 + u':', this));
        m_find2 = new QLineEdit(this);
        m_find2->setObjectName(QStringLiteral("txtFind2"));
        bar->addWidget(m_find2);
        connect(m_find2, &QLineEdit::returnPressed, this, &BrowseWindow::search);
    }
    if (!browse.PropDateFilterField.isEmpty()) {
        bar->addWidget(new QLabel(browse.PropDateFilterField + QStringLiteral(" from:"), this));
        m_from = new QDateEdit(QDate::currentDate(), this);
        m_from->setCalendarPopup(true);
        m_to = new QDateEdit(QDate::currentDate(), this);
        m_to->setCalendarPopup(true);
        bar->addWidget(m_from);
        bar->addWidget(new QLabel(QStringLiteral("to:"), this));
        bar->addWidget(m_to);
    }
    auto *find = new QPushButton(QStringLiteral("&Search"), this);
    find->setObjectName(QStringLiteral("cmdSearch"));
    connect(find, &QPushButton::clicked, this, &BrowseWindow::search);
    bar->addWidget(find);
    if (m_engine.canAdd()) {
        auto *add = new QPushButton(QStringLiteral("&Add"), this);
        add->setObjectName(QStringLiteral("cmdAdd"));
        connect(add, &QPushButton::clicked, this, &BrowseWindow::addRow);
        bar->addWidget(add);
    }
    if (m_engine.canDelete()) {
        auto *del = new QPushButton(QStringLiteral("&Delete"), this);
        del->setObjectName(QStringLiteral("cmdDelete"));
        connect(del, &QPushButton::clicked, this, &BrowseWindow::deleteRow);
        bar->addWidget(del);
    }
    bar->addStretch();
    layout->addLayout(bar);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("grdBrowse"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(m_engine.canEdit() ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                               : QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_grid);
    connect(m_grid, &QTableWidget::cellChanged, this, &BrowseWindow::cellEdited);

    resize(900, 500);
    if (!browse.PropFindBeforeListing)
        search();
}

BrowseWindow *BrowseWindow::open(Connection *connection, const BrowseSpec &browse, bool allowEdit, bool allowDelete)
{
    auto *w = new BrowseWindow(connection, browse, allowEdit, allowDelete, browse.propparentwindow);
    w->show();
    return w;
}

void BrowseWindow::search()
{
    try {
        Recordset rs = m_engine.list(m_find1 ? m_find1->text() : QString(), m_find2 ? m_find2->text() : QString(),
                                     m_from ? m_from->date() : QDate(), m_to ? m_to->date() : QDate());
        m_filling = true;
        m_grid->clear();
        m_grid->setColumnCount(rs.fieldCount());
        m_grid->setHorizontalHeaderLabels(rs.columnNames());
        m_grid->setRowCount(rs.recordCount());
        for (int r = 0; r < rs.recordCount(); ++r)
            for (int c = 0; c < rs.fieldCount(); ++c)
                m_grid->setItem(r, c, new QTableWidgetItem(rs.text(r, c)));
        const QStringList sizes = m_engine.browse().PropFieldSizes.split(u',', Qt::SkipEmptyParts);
        for (int c = 0; c < sizes.size() && c < m_grid->columnCount(); ++c)
            m_grid->setColumnWidth(c, qMax(40, sizes[c].trimmed().toInt() / 15)); // twips to pixels
        m_filling = false;
    } catch (const DbError &e) {
        m_filling = false;
        showError(e.description());
    }
}

namespace {

int indexOfField(const QStringList &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

void BrowseWindow::cellEdited(int row, int column)
{
    if (m_filling)
        return;
    const int idColumn = indexOfField(m_engine.fields(), m_engine.browse().PropFieldNameID);
    if (idColumn < 0 || column == idColumn || !m_grid->item(row, idColumn))
        return;
    try {
        m_engine.updateField(m_grid->item(row, idColumn)->text(), m_grid->horizontalHeaderItem(column)->text(),
                             m_grid->item(row, column)->text());
    } catch (const DbError &e) {
        showError(e.description());
        search();
    }
}

void BrowseWindow::addRow()
{
    bool ok = false;
    const QString id = QInputDialog::getText(this, windowTitle(), m_engine.browse().PropFieldNameID + u':',
                                             QLineEdit::Normal, QString(), &ok);
    if (!ok || id.trimmed().isEmpty())
        return;
    try {
        m_engine.addRow(id.trimmed());
        search();
    } catch (const DbError &e) {
        showError(e.description());
    }
}

void BrowseWindow::deleteRow()
{
    const int idColumn = indexOfField(m_engine.fields(), m_engine.browse().PropFieldNameID);
    const int row = m_grid->currentRow();
    if (idColumn < 0 || row < 0 || !m_grid->item(row, idColumn))
        return;
    const QString id = m_grid->item(row, idColumn)->text();
    if (QMessageBox::question(this, windowTitle(), QStringLiteral("Delete ") + id + u'?',
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    try {
        m_engine.deleteRow(id);
        search();
    } catch (const DbError &e) {
        showError(e.description());
    }
}

void BrowseWindow::showError(const QString &text)
{
    QMessageBox::warning(this, kProgramTitle, text);
}
