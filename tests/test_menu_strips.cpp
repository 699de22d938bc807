// The menu strips are decoded as the screens first draw from them: the start menu needs its own
// strip and the status bar's, a red strip waits for a press or a marked entry, and the tall
// strips for a compact screen. (One scenario: the strips are the program's, kept once decoded.)

#include "TestSupport.h"
#include "test_screen_support.h"

#include "app/PaintSideMenus.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"

#include <memory>

using namespace screen_test;

namespace {

QStringList decodedStrips()
{
    QStringList names;
    for (bool tall : {false, true})
        for (bool second : {false, true})
            for (bool red : {false, true})
                if (menuStrips().decoded(second, red, tall))
                    names.append(QStringLiteral("%1%2%3").arg(second ? 2 : 1).arg(red ? " red" : "").arg(tall ? " tall" : ""));
    return names;
}

} // namespace

class TestMenuStrips : public QObject {
    Q_OBJECT

private slots:
    void eachStripIsDecodedWhenAScreenFirstDrawsFromIt()
    {
        resetAllGameState();
        ScriptedInteraction scripted;
        auto window = std::make_unique<ViewArea>();
        setInteraction(&scripted);
        const auto paintOn = [&](int width, int height, int widthMM) {
            useScreen(width, height, widthMM);
            displaySizeClass = displaySizeClassFitted(displaySizeClassForScreen(width, height), width, height);
            window->resize(width, height);
            paintWindow(*window);
        };
        demoRunning = 0;
        screenMode = 1;
        paintOn(1920, 1080, 510);
        QCOMPARE(decodedStrips(), (QStringList{"1", "2"}));
        paintOn(1920, 1080, 510);
        QCOMPARE(decodedStrips(), (QStringList{"1", "2"}));

        pressedButton = 14; // Options
        paintOn(1920, 1080, 510);
        QCOMPARE(decodedStrips(), (QStringList{"1", "1 red", "2"}));

        screenMode = 41; // its current speed is marked red
        paintOn(1920, 1080, 510);
        QCOMPARE(decodedStrips(), (QStringList{"1", "1 red", "2", "2 red"}));

        screenMode = 1;
        paintOn(1366, 768, 130);
        QVERIFY(smallScreen);
        QCOMPARE(decodedStrips(), (QStringList{"1", "1 red", "2", "2 red", "1 tall"}));
        setScreenMeasure(nullptr);
        setInteraction(nullptr);
    }
};

TARVAN_TEST_MAIN(TestMenuStrips)
#include "test_menu_strips.moc"
