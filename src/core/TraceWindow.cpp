#include "TraceWindow.h"

#include "CommLog.h"
#include "WindowPlacement.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

TraceWindow::TraceWindow(TraceModel &model, QWidget *parent)
    : QWidget(parent), m_model(model)
{
    setObjectName(&model == &TraceModel::log() ? QStringLiteral("frmLog") : QStringLiteral("frmLogErr"));
    setWindowTitle(model.caption());
    m_setPos = new QPushButton(QStringLiteral("Set Pos"), this);
    m_setPos->setObjectName(QStringLiteral("cmdSetPos"));
    m_setPos->setGeometry(0, 0, 60, 20);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtLog"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(m_setPos, &QPushButton::clicked, this, [this] { SaveWindowPlacement(placementWidget()); });
    // Many lines can come in one turn of the event loop: the text is rebuilt once after them.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &TraceWindow::refresh);
    connect(&m_model, &TraceModel::changed, &m_refresh, qOverload<>(&QTimer::start));
    connect(&m_model, &TraceModel::cleared, &m_refresh, qOverload<>(&QTimer::start));
    resize(600, 300);
    refresh();
}

QWidget *TraceWindow::placementWidget()
{
    return parentWidget() && parentWidget()->inherits("QMdiSubWindow") ? parentWidget() : this;
}

void TraceWindow::refresh()
{
    m_text->setPlainText(m_model.lines().join(u'\n'));
}

void TraceWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // txtLog is 300 twips narrower and 777 twips lower than the window, below "Set Pos".
    const int w = width() - twipsToPixels(this, 300);
    const int h = height() - twipsToPixels(this, 777);
    m_text->setGeometry(0, m_setPos->height() + 2, qMax(0, w), qMax(0, h));
}
