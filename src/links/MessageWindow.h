#pragma once
// frmMessageWindow, "HL7 Result Reader and Edit Patient HL7 messages": the message box
// rtbHL7 over the MessageBox engine and the reconnect warning pctReconnect over the
// ServerMonitor (click it or press F5 in the message box to reconnect).

#include <QWidget>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class MessageWindow : public QWidget {
    Q_OBJECT
public:
    static const QString kCaption;

    explicit MessageWindow(QWidget *parent = nullptr);

    QPlainTextEdit *rtbHL7() const { return m_box; }
    QFrame *pctReconnect() const { return m_panel; }
    QWidget *placementWidget();

    // Restores the placement; the polls start here once they exist.
    void creationSteps();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void playAlarm();
    QPlainTextEdit *m_box;
    QFrame *m_panel;
    QLabel *m_panelLabel;
    QPushButton *m_setPos;
};
