#pragma once
// Windows that remember where the operator put them: size, position (in twips, relative to
// the main window's client area) and state, under "KALDRAForm", section "WindowSize", keys
// made of the window's caption and " Width", " Height", " Left", " Top", " WinState".

#include <QString>

class QWidget;

// The height of the main window's tool bar in twips, which the stored top includes.
inline constexpr int kMainToolBarTwips = 840;

int pixelsToTwips(const QWidget *w, int pixels);
int twipsToPixels(const QWidget *w, int twips);

// window is the widget whose geometry counts: for a child of the main window, its
// sub-window frame. The caption is the window's title.
void SaveWindowPlacement(QWidget *window, int toolBarTwips = kMainToolBarTwips);
void RestoreWindowPlacement(QWidget *window);
