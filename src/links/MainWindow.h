#pragma once
// mdiMain: the program's frame. Menus, tool bar and status bar bind to MainCommands.

#include <QMainWindow>

class QAction;
class QCheckBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class MainCommands;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_mdi; }
    // Adds a child window inside the frame (placed at the top left) and returns its frame.
    QMdiSubWindow *addChild(QWidget *child);

    void setStatusTexts(const QString &server, const QString &mode, const QString &host);
    QString statusText(const QString &key) const;

    QAction *action(const QString &objectName) const;
    QAction *toolButton(int position) const; // 1-based, separators included
    QCheckBox *chkTrace() const { return m_trace; }

    // Runs the creation steps that may start work (automatic Connect in socket mode).
    void creationSteps();

signals:
    void exitRequested(); // the tool bar's Exit: end at once

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyState();
    QAction *addMenuCommand(QMenu *menu, const QString &name, const QString &text, const QKeySequence &key);
    QAction *addToolButton(const QString &text, const QString &tip, const QIcon &icon);

    MainCommands &m_commands;
    QMdiArea *m_mdi;
    QToolBar *m_toolBar;
    QList<QAction *> m_buttons;
    QCheckBox *m_trace;
    QLabel *m_sbServer;
    QLabel *m_sbMode;
    QLabel *m_sbHost;
    QMenu *m_build;
};
