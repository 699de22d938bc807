#pragma once
// Window tests on a display of a chosen size: the screen the window's constructor and the paint
// handler measure, the window painted into an image, and screenshots of it.

#include "app/PaintLayout.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"

#include <QDir>
#include <QImage>

namespace screen_test {

inline ScreenInfo &fakeScreen()
{
    static ScreenInfo screen;
    return screen;
}

inline ScreenInfo measureFakeScreen()
{
    return fakeScreen();
}

// A display of this size from now on; one narrower than 140 mm gets the compact layout.
inline void useScreen(int width, int height, int widthMM)
{
    fakeScreen().available = QRect(0, 0, width, height);
    fakeScreen().widthMM = widthMM;
    fakeScreen().fullHeight = height;
    setScreenMeasure(measureFakeScreen);
    applyScreenInfo(fakeScreen());
}

inline QImage paintWindow(ViewArea &window)
{
    QImage image(window.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    window.render(&image);
    return image;
}

// Into the working folder and, when TARVAN_SCREENSHOT_DIR is set, there too.
inline void saveScreenshot(const QImage &image, const QString &name)
{
    image.save(QDir::current().filePath(name));
    const QByteArray folder = qgetenv("TARVAN_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(folder)).filePath(name));
}

} // namespace screen_test
