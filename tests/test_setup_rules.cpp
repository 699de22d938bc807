// The set-up's rules that need no dialog: saved-game names, the start text, the new-armies
// notice, the offered and suggested computer players and the hotseat names.

#include "TestSupport.h"

#include "rules/TurnState.h"
#include "setup/SetupRules.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"

#include "test_data_support.h"

class TestSetupRules : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(); }

    void theStartTextIsMonthDayYearHourMinute()
    {
        const QDateTime moment(QDate(2024, 3, 3), QTime(14, 5));
        QCOMPARE(formatStartText(moment, QLocale(QLocale::English)), QStringLiteral("Mar0320241405"));
    }

    void aSavedGameIsNamedAfterItsMapOrCampaign_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("name");
        QTest::newRow("Internet host") << Setup([] {
            selectMap(MapWorld);
            gameMode = ModeHost;
            internetGame = 1;
        }) << "INT_WorldT.TrvGX";
        QTest::newRow("a joined player's game is named as the host's") << Setup([] {
            selectMap(MapWorld);
            gameMode = ModeClient;
        }) << "LAN_WorldT.TrvGX";
        QTest::newRow("Three Nations campaign") << Setup([] {
            selectMap(MapThreeNations);
            campaignId = CampaignThreeNations;
        }) << "CMPGN_3NatioT.TrvGX";
        QTest::newRow("campaign file before its map") << Setup([] {
            selectMap(MapCustom);
            mapName = QStringLiteral("Ireland");
            campaignId = CampaignFromFile;
            campaignName = QStringLiteral(" Isles ");
        }) << "My_CMPGN_IslesT.TrvGX";
        // A name read from a file never brings a folder into the saved game's name.
        QTest::newRow("folders in a map name") << Setup([] {
            selectMap(MapCustom);
            mapName = QStringLiteral("../up\\x");
        }) << "My.._up_xT.TrvGX";
        QTest::newRow("a map without a word keeps the name") << Setup([] { selectMap(MapThreeNationsB); }) << "";
    }

    void aSavedGameIsNamedAfterItsMapOrCampaign()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, name);
        setup();
        QCOMPARE(composeSaveFileName(QStringLiteral("T")), name);
    }

    void largeMapsAnnounceTheirDivisor_data()
    {
        QTest::addColumn<int>("territories");
        QTest::addColumn<QString>("ending");
        QTest::newRow("90") << 90 << "";
        QTest::newRow("91") << 91 << "more than 90 territories:   territories you own / 4";
        QTest::newRow("121") << 121 << "more than 120 territories:   territories you own / 5";
        QTest::newRow("151") << 151 << "more than 150 territories:   territories you own / 6";
        QTest::newRow("181") << 181 << "more than 180 territories:   territories you own / 7";
        QTest::newRow("200") << 200 << "more than 180 territories:   territories you own / 7";
    }

    void largeMapsAnnounceTheirDivisor()
    {
        QFETCH(int, territories);
        QFETCH(QString, ending);
        const QString notice = newArmiesNotice(territories);
        if (ending.isEmpty()) {
            QVERIFY(notice.isEmpty());
            return;
        }
        QVERIFY(notice.startsWith(QStringLiteral("New armies: Territories you own / 3  \n\nMaps with ")));
        QVERIFY(notice.endsWith(ending));
    }

    void theComputerPlayerCountFitsTheMapAndOptions_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("suggested");
        QTest::addColumn<QList<int>>("offered");
        const QList<int> all{2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("Great Britain") << Setup([] { selectMap(MapGreatBritain); }) << 7 << all;
        QTest::newRow("Swamp II") << Setup([] { selectMap(MapSwampII); }) << 9 << all;
        QTest::newRow("small map file") << Setup([] {
            selectMap(MapCustom);
            territoriesPer12 = 3;
        }) << 2 << all;
        QTest::newRow("large map file") << Setup([] {
            selectMap(MapCustom);
            territoriesPer12 = 8;
        }) << 7 << all;
        QTest::newRow("strongholds, six continents") << Setup([] {
            selectMap(MapWorld);
            strongholdsEnabled = 1;
            continentCount = 6;
        }) << 3 << QList<int>{2, 3, 4, 5};
        QTest::newRow("strongholds, four continents") << Setup([] {
            selectMap(MapSwamp);
            strongholdsEnabled = 1;
            continentCount = 4;
        }) << 2 << QList<int>{2, 3};
        QTest::newRow("strongholds, three continents") << Setup([] {
            selectMap(MapEurope);
            strongholdsEnabled = 1;
            continentCount = 3;
        }) << 3 << QList<int>{2};
        QTest::newRow("strongholds, two continents") << Setup([] {
            selectMap(MapEurope);
            strongholdsEnabled = 1;
            continentCount = 2;
        }) << 3 << QList<int>{};
        QTest::newRow("strongholds, twelve continents") << Setup([] {
            selectMap(MapWorld);
            strongholdsEnabled = 1;
            continentCount = 12;
        }) << 7 << all;
    }

    void theComputerPlayerCountFitsTheMapAndOptions()
    {
        QFETCH(Setup, setup);
        QFETCH(int, suggested);
        QFETCH(QList<int>, offered);
        setup();
        QCOMPARE(suggestedComputerPlayers(), suggested);
        QList<int> shown;
        for (int n = 0; n <= 10; ++n)
            if (computerPlayersOffered(n))
                shown.append(n);
        QCOMPARE(shown, offered);
    }

    void hotseatNamesAreKeptOrDropped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("trimmed") << "  Kim " << "Kim";
        QTest::newRow("a computer player's name") << "pc II" << "apc";
        QTest::newRow("capital Pc") << "Pcx" << "Pcx";
        QTest::newRow("begins with a digit") << "1st" << "";
        QTest::newRow("punctuation") << "!bang" << "";
        QTest::newRow("underscore is above A") << "_x" << "_x";
        QTest::newRow("a computer player's name after a tab") << "\tpc V" << "apc";
    }

    void hotseatNamesAreKeptOrDropped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(acceptedHotseatName(typed), kept);
    }
};

TARVAN_TEST_MAIN(TestSetupRules)
#include "test_setup_rules.moc"
