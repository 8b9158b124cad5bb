#pragma once
// frmMessageWindow, "HL7 Result Reader and Edit Patient HL7 messages": the message box
// rtbHL7 over the MessageBox engine and the reconnect warning pctReconnect over the
// ServerMonitor (click it or press F5 in the message box to reconnect).

#include "MessagePolls.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QGroupBox;
class QListWidget;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class MessageWindow : public QWidget {
    Q_OBJECT
public:
    static const QString kCaption;

    explicit MessageWindow(QWidget *parent = nullptr);

    QPlainTextEdit *rtbHL7() const { return m_box; }
    MessagePolls &polls() { return m_polls; }
    // "w/o SP": 0 clear (stored procedure), 1 ticked (direct path), 2 grayed (nothing stored).
    int hMode() const;
    QCheckBox *chkWoSP() const { return m_woSP; }
    QPushButton *cmdStart() const { return m_start; }
    QPushButton *cmdStop() const { return m_stop; }
    QFrame *pctReconnect() const { return m_panel; }
    QWidget *placementWidget();

    // Restores the placement, points the file list at the result directory, starts the polls
    // in file mode and sets the process check boxes from their stored values.
    void creationSteps();

signals:
    void manualProcessRequested(); // "Manual Process": the "Handle Input" window

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void playAlarm();
    void refreshResultList();
    void showRunning(bool running);
    MessagePolls m_polls;
    QPushButton *m_start;
    QPushButton *m_stop;
    QPushButton *m_processNow;
    QPushButton *m_manual;
    QCheckBox *m_settings;
    QCheckBox *m_woSP;
    QCheckBox *m_chkRequests;
    QCheckBox *m_chkCompleted;
    QCheckBox *m_chkEdit;
    QCheckBox *m_chkShow;
    QGroupBox *m_settingsFrame;
    QListWidget *m_flResults;
    QPlainTextEdit *m_box;
    QFrame *m_panel;
    QLabel *m_panelLabel;
    QPushButton *m_setPos;
};
