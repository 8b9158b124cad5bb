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
    // Ends the process (Main returning without a window).
    std::function<void(int code)> quit;

    static AppHooks &instance();
};
