#pragma once
// The "Log" and "Error Log" windows (frmLog, frmLogErr): a view over a TraceModel with a
// "Set Pos" button that stores the window's placement.

#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class TraceModel;

class TraceWindow : public QWidget {
    Q_OBJECT
public:
    TraceWindow(TraceModel &model, QWidget *parent = nullptr);

    QPlainTextEdit *txtLog() const { return m_text; }
    void refresh();
    // The widget whose placement is stored: the sub-window frame when inside the main window.
    QWidget *placementWidget();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TraceModel &m_model;
    QPlainTextEdit *m_text;
    QPushButton *m_setPos;
    QTimer m_refresh;
};
