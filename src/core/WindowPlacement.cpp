#include "WindowPlacement.h"

#include "Settings.h"

#include <QWidget>

namespace {

const QString kSection = QStringLiteral("WindowSize");

int twipsPerPixel(const QWidget *w)
{
    const int dpi = w ? w->logicalDpiX() : 96;
    return dpi > 0 ? qMax(1, 1440 / dpi) : 15;
}

// An absent or non-numeric stored value counts as 0.
int stored(const QString &caption, const char *suffix)
{
    bool ok = false;
    const int v = ReadSetting(kAppFormPlacement, kSection, caption + QLatin1String(suffix)).trimmed().toInt(&ok);
    return ok ? v : 0;
}

void store(const QString &caption, const char *suffix, int value)
{
    WriteSetting(kAppFormPlacement, kSection, caption + QLatin1String(suffix), QString::number(value));
}

} // namespace

int pixelsToTwips(const QWidget *w, int pixels)
{
    return pixels * twipsPerPixel(w);
}

int twipsToPixels(const QWidget *w, int twips)
{
    return twips / twipsPerPixel(w);
}

void SaveWindowPlacement(QWidget *window, int toolBarTwips)
{
    if (!window)
        return;
    const QString caption = window->windowTitle();
    const QRect g = window->isMaximized() ? window->normalGeometry() : window->geometry();
    store(caption, " Width", pixelsToTwips(window, g.width()));
    store(caption, " Height", pixelsToTwips(window, g.height()));
    store(caption, " Left", pixelsToTwips(window, g.x()));
    store(caption, " Top", pixelsToTwips(window, g.y()) + toolBarTwips - 200);
    if (!window->isMinimized())
        store(caption, " WinState", window->isMaximized() ? 2 : 0);
}

void RestoreWindowPlacement(QWidget *window)
{
    if (!window)
        return;
    const QString caption = window->windowTitle();
    QRect g = window->geometry();
    const bool fixedBorder = window->minimumSize() == window->maximumSize();
    if (!fixedBorder) {
        const int width = stored(caption, " Width");
        const int height = stored(caption, " Height");
        if (width > 0)
            g.setWidth(twipsToPixels(window, width));
        if (height > 0)
            g.setHeight(twipsToPixels(window, height));
    }
    const int left = stored(caption, " Left");
    if (left != 0)
        g.moveLeft(twipsToPixels(window, left));
    const int top = stored(caption, " Top");
    if (top != 0)
        g.moveTop(twipsToPixels(window, top - 650));
    window->setGeometry(g);
    if (stored(caption, " WinState") > 0)
        window->showMaximized(); // a stored minimised state comes back maximised
}
