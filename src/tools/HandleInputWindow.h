#pragma once
// frmHandleInput, "Handle Input": a view over ManualInput.

#include "ManualInput.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class HandleInputWindow : public QWidget {
    Q_OBJECT
public:
    explicit HandleInputWindow(QWidget *parent = nullptr);
    ManualInput &engine() { return m_engine; }

    QLineEdit *txtFname() const { return m_file; }
    QPlainTextEdit *txtInput() const { return m_input; }
    QPushButton *cmdProcessFile() const { return m_processFile; }
    QPushButton *cmdProcess() const { return m_process; }

    // Shows a message box with the program's title; replaceable for tests.
    std::function<void(const QString &)> showBox;

private:
    void run(const std::function<QString()> &work);
    ManualInput m_engine;
    QLineEdit *m_file;
    QPlainTextEdit *m_input;
    QPushButton *m_processFile;
    QPushButton *m_process;
};
