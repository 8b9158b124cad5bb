#pragma once
// What the core's start-up and services make the windows do. The application connects
// these at start-up; the core knows no window. Every hook may be empty (tests, headless).

#include <QString>

#include <functional>

struct AppHooks {
    // The first use of the message window: creates the main window (its creation steps)
    // and then the message window, when they do not exist yet.
    std::function<void()> ensureMainAndMessageWindows;
    // The status bar's three panels.
    std::function<void(const QString &server, const QString &mode, const QString &host)> setStatusTexts;
    // Shows the "HL7 Order Generator" window (brought to the front when it exists).
    std::function<void()> showOrderGenerator;
    // The message window's StartTimers (restarting the polls after a reconnection).
    std::function<void()> startTimers;
    // A message box with the program's title and a single OK button (modal). Empty: the
    // core shows a QMessageBox itself. Tests replace it to read what would be shown.
    std::function<void(const QString &text)> alert;

    static AppHooks &instance();
};

// Shows text in the program's message box (through AppHooks::alert when set).
void Alert(const QString &text);
