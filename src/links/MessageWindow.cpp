#include "MessageWindow.h"

#include "CommLog.h"
#include "ServerMonitor.h"
#include "WindowPlacement.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#ifdef RELAYON_HAVE_MULTIMEDIA
#include <QSoundEffect>
#endif

const QString MessageWindow::kCaption = QStringLiteral("HL7 Result Reader and Edit Patient HL7 messages");

MessageWindow::MessageWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMessageWindow"));
    setWindowTitle(kCaption);
    resize(648, 332); // 9720 x 4980 twips

    m_setPos = new QPushButton(QStringLiteral("Set Pos"), this);
    m_setPos->setObjectName(QStringLiteral("cmdSetPos"));
    connect(m_setPos, &QPushButton::clicked, this, [this] { SaveWindowPlacement(placementWidget()); });

    m_box = new QPlainTextEdit(this);
    m_box->setObjectName(QStringLiteral("rtbHL7"));
    m_box->setReadOnly(true);
    m_box->setMaximumBlockCount(MessageBox::kMaxLines);
    m_box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: #313d65; }"));
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSizeF(9.75);
    m_box->setFont(font);
    m_box->installEventFilter(this);
    for (const QString &line : MessageBox::instance().lines())
        m_box->appendPlainText(line);
    connect(&MessageBox::instance(), &MessageBox::lineAdded, m_box, [this](const QString &line) {
        m_box->appendPlainText(line);
        m_box->moveCursor(QTextCursor::End);
    });
    connect(&MessageBox::instance(), &MessageBox::cleared, m_box, &QPlainTextEdit::clear);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("pctReconnect"));
    m_panel->setStyleSheet(QStringLiteral("#pctReconnect { background: #ffc0c0; }"));
    m_panel->setCursor(Qt::PointingHandCursor);
    m_panelLabel = new QLabel(QStringLiteral("Click Me or Press F5 to Re-establish Connection."), m_panel);
    m_panelLabel->setStyleSheet(QStringLiteral("background: black; color: yellow; font-weight: bold;"));
    m_panelLabel->setAlignment(Qt::AlignCenter);
    m_panel->installEventFilter(this);
    m_panelLabel->installEventFilter(this);
    ServerMonitor &monitor = ServerMonitor::instance();
    m_panel->setVisible(monitor.warningVisible());
    connect(&monitor, &ServerMonitor::warningVisibleChanged, m_panel, &QWidget::setVisible);
    connect(&monitor, &ServerMonitor::alarmTick, this, &MessageWindow::playAlarm);
}

QWidget *MessageWindow::placementWidget()
{
    return parentWidget() && parentWidget()->inherits("QMdiSubWindow") ? parentWidget() : this;
}

void MessageWindow::creationSteps()
{
    RestoreWindowPlacement(placementWidget());
    if (m_box->isVisible())
        m_box->setFocus();
}

bool MessageWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5) {
        ServerMonitor::instance().manualReconnect();
        return true;
    }
    if ((watched == m_panel || watched == m_panelLabel) && event->type() == QEvent::MouseButtonRelease) {
        ServerMonitor::instance().manualReconnect();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MessageWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int top = 28;
    m_setPos->setGeometry(width() - 70, 4, 64, 20);
    m_box->setGeometry(0, top, width(), height() - top);
    m_panel->setGeometry(width() / 2 - 170, top + 20, 340, 40);
    m_panelLabel->setGeometry(4, 4, 332, 32);
}

void MessageWindow::playAlarm()
{
    // "ringout.wav" of the program's directory, once, without waiting; nothing when missing.
    const QString wav = QDir(programDirectory()).filePath(QStringLiteral("ringout.wav"));
    if (!QFile::exists(wav))
        return;
#ifdef RELAYON_HAVE_MULTIMEDIA
    auto *effect = new QSoundEffect(this);
    effect->setSource(QUrl::fromLocalFile(wav));
    connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    effect->play();
#endif
}
