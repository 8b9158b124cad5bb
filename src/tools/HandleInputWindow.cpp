#include "HandleInputWindow.h"

#include "Globals.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

HandleInputWindow::HandleInputWindow(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHandleInput"));
    setWindowTitle(QStringLiteral("Handle Input"));
    QFont f(QStringLiteral("Segoe UI"));
    f.setPointSizeF(8.25);
    setFont(f);
    resize(553, 299); // about 8295 x 4485 twips

    m_file = new QLineEdit(ManualInput::defaultFile(), this);
    m_file->setObjectName(QStringLiteral("txtFname"));
    m_processFile = new QPushButton(QStringLiteral("Process File"), this);
    m_processFile->setObjectName(QStringLiteral("cmdProcessFile"));
    m_process = new QPushButton(QStringLiteral("Process"), this);
    m_process->setObjectName(QStringLiteral("cmdProcess"));
    m_input = new QPlainTextEdit(this);
    m_input->setObjectName(QStringLiteral("txtInput"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_file, 0, 0);
    grid->addWidget(m_processFile, 0, 1);
    grid->addWidget(m_input, 1, 0, 2, 1);
    grid->addWidget(m_process, 1, 1, Qt::AlignTop);

    showBox = [this](const QString &text) { QMessageBox::information(this, kProgramTitle, text, QMessageBox::Ok); };
    connect(m_processFile, &QPushButton::clicked, this, [this] { run([this] { return m_engine.processFile(m_file->text()); }); });
    connect(m_process, &QPushButton::clicked, this, [this] {
        run([this] { return m_engine.process(m_file->text(), m_input->toPlainText()); });
    });
}

void HandleInputWindow::run(const std::function<QString()> &work)
{
    QString text;
    try {
        text = work();
    } catch (const std::exception &e) {
        text = QString::fromLocal8Bit(e.what());
    }
    showBox(text);
}
