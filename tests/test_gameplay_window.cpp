// Whole games played through the window's own calls (map clicks, the game panel's buttons, the
// army-count and card dialogs) while the game loop plays every step and the window is painted
// after each tick: the game panel, the player panel and the status bar as they stand at every
// paint, around the hand-overs, the deciding conquest and a campaign's next map.

#include "test_mapclicks_support.h"
#include "test_setup_support.h"

#include "app/PaintStatusBar.h"
#include "persist/Scores.h"
#include "rules/Attack.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/Seats.h"
#include "setup/SetupFlow.h"
#include "setup/SetupRules.h"
#include "state/Campaign.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/SpriteQueue.h"

#include <QFile>

using namespace clicks_test;

namespace {

constexpr QRgb kLand = 0xffc3c3c3;
constexpr QRgb kSea = 0xff143278;
constexpr int kNextPlayerRow = 7;
constexpr int kAttackRow = 6;
constexpr int kAddRow = 5;

QPoint rowMapPoint(int t)
{
    return QPoint(120 + (t - 1) * 100, 400);
}

// A map file of `count` territories in a row, each next to the one before and after it, in two
// continents (West and East; no bonus on the smallest maps), with its picture: grey squares on a
// blue sea around the label points.
void writeRowMap(const QString &name, int count)
{
    const int west = (count + 1) / 2;
    const QByteArray bonus = count <= 3 ? "0" : "2";
    QByteArray text = "[map]\n" + name.toLatin1()
        + "\n\n[player names]\n20 20\n\n[smilies and codes]\nN\n\n[continents]\n" + bonus + " West";
    for (int t = 1; t <= west; ++t)
        text += ' ' + QByteArray::number(t);
    text += "\n" + bonus + " East";
    for (int t = west + 1; t <= count; ++t)
        text += ' ' + QByteArray::number(t);
    text += "\n\n[territories]\n";
    QImage picture(kDesignPictureWidth, kDesignPictureHeight, QImage::Format_RGB32);
    picture.fill(kSea);
    QPainter painter(&picture);
    for (int t = 1; t <= count; ++t) {
        const QPoint at = rowMapPoint(t);
        text += QStringLiteral("%1 r%2 %3 %4").arg(t).arg(t, 2, 10, QLatin1Char('0')).arg(at.x()).arg(at.y()).toLatin1();
        if (t > 1)
            text += ' ' + QByteArray::number(t - 1);
        if (t < count)
            text += ' ' + QByteArray::number(t + 1);
        text += '\n';
        painter.fillRect(QRect(at - QPoint(40, 40), QSize(80, 80)), QColor(kLand));
    }
    painter.end();
    writeTextFile(name + QStringLiteral(".txt"), text);
    picture.save(QDir::current().filePath(name + QStringLiteral(".png")));
}

bool humanHere(int p)
{
    return isHumanOfThisMachine(p);
}

// What the player panel must show for the map as it is shown now.
QString panelMismatch()
{
    const PlayerPanelContent &panel = playerPanelShown();
    if (panel.toPlay == 0)
        return QString();
    std::array<int, kMaxPlayers + 1> held{}, armies{};
    for (int t = 1; t <= territoryCount; ++t) {
        const int owner = displayedTerritoryState[t].owner;
        if (owner >= 1 && owner <= kMaxPlayers) {
            ++held[owner];
            armies[owner] += displayedTerritoryState[t].armies;
        }
    }
    for (int p = 1; p <= playerCount; ++p)
        if (panel.rows[p].territories != held[p] || panel.rows[p].armies != armies[p]
            || panel.rows[p].name != playerName[p].trimmed())
            return QStringLiteral("row %1 shows %2 %3, the map %4 %5")
                .arg(p)
                .arg(panel.rows[p].territories)
                .arg(panel.rows[p].armies)
                .arg(held[p])
                .arg(armies[p]);
    // From the first prompt of a human's turn on, the panel names him.
    if (turnStarted && humanHere(currentPlayer) && !gameOver && !initialPlacementPhase && panel.toPlay != currentPlayer)
        return QStringLiteral("the panel names player %1 in player %2's turn").arg(panel.toPlay).arg(currentPlayer);
    return QString();
}

// The panel and the status bar against the game state itself, once the map shows it.
QString figuresMismatch()
{
    const PlayerPanelContent &panel = playerPanelShown();
    if (panel.toPlay != currentPlayer)
        return QStringLiteral("the panel names player %1, the game %2").arg(panel.toPlay).arg(currentPlayer);
    for (int p = 1; p <= playerCount; ++p) {
        int armies = 0;
        for (int t = 1; t <= territoryCount; ++t)
            if (territoryState[t].owner == p)
                armies += territoryState[t].armies;
        if (panel.rows[p].territories != playerTable[p].territoriesHeld() || panel.rows[p].armies != armies)
            return QStringLiteral("row %1 shows %2 %3, the game %4 %5")
                .arg(p)
                .arg(panel.rows[p].territories)
                .arg(panel.rows[p].armies)
                .arg(playerTable[p].territoriesHeld())
                .arg(armies);
    }
    QString cards;
    for (int p = 1; p <= playerCount; ++p)
        cards += (p > 1 ? QStringLiteral("  ") : QString()) + QString::number(playerTable[p].cardCount());
    if (!figuresLineText().startsWith(cards))
        return QStringLiteral("status bar %1, cards held %2").arg(figuresLineText(), cards);
    if (lossCount != playerTable[currentPlayer].battleLosses())
        return QStringLiteral("losses shown %1, recorded %2").arg(lossCount).arg(playerTable[currentPlayer].battleLosses());
    return QString();
}

// Cancel, Cards, Move, Add, Attack and Next Player can none of them act. Add keeps its open look
// during a placement, where a press places nothing.
QString openRows()
{
    for (int b = ButtonNext; b <= ButtonCancel; ++b)
        if (inGameButtonEnabled[b])
            return QStringLiteral("button flag %1 set").arg(b);
    for (int id = 92; id <= 97; ++id) {
        if (!gameButtonShownEnabled(id))
            continue;
        if (id == 95 && (initialPlacementPhase || strongholdPhase))
            continue;
        return QStringLiteral("row %1 shown open").arg(id);
    }
    return QString();
}

int territoryOf(int player, const std::function<bool(int)> &accept)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == player && accept(t))
            return t;
    return 0;
}

QList<ScoresRecord> scoresOnFile()
{
    QList<ScoresRecord> records;
    scanScoresFile([&](const ScoresRecord &r) { records.append(r); });
    return records;
}

int cardsInHands()
{
    int held = 0;
    for (int p = 1; p <= kMaxPlayers; ++p)
        held += playerTable[p].cardCount();
    return held;
}

} // namespace

class TestGameplayWindow : public QObject {
    Q_OBJECT

    ClickUi ui;
    setup_test::ScriptedDialogs dialogs;
    std::unique_ptr<ViewArea> window;
    bool pressNextEveryStep = false;
    QStringList problems;

    // A game on a map file set up through the start menu's set-up, its questions answered as a
    // player does: the file chosen, Dice off ("1-for-1"), then three computer players, or the
    // hotseat players named and no computer player.
    void startGame(const QString &file, const QStringList &hotseatNames = {})
    {
        using namespace setup_test;
        ui.fileNames = QStringList{QDir::current().filePath(file)};
        QList<Answer> answers;
        if (!hotseatNames.isEmpty())
            answers << click(QStringLiteral("Hotseat"));
        answers << click(QStringLiteral("Load a Map...")) << options(false, false, false);
        if (hotseatNames.isEmpty())
            answers << click(QStringLiteral("Conquer All")) << click(QStringLiteral("3 ai players  "));
        for (const QString &name : hotseatNames)
            answers << type(name, name == hotseatNames.last() ? QStringLiteral("Proceed")
                                                              : QStringLiteral("+ Add more players"));
        if (!hotseatNames.isEmpty())
            answers << click(QStringLiteral("0 ai players"));
        dialogs.answers = answers;
        menuAction = hotseatNames.isEmpty() ? 21 : 3; // Single Map Game, or Multiplayer
        window->setupNewGame();
        QVERIFY2(dialogs.problems.isEmpty() && dialogs.answers.isEmpty(),
                 qPrintable(dialogs.problems.join(QStringLiteral("; "))));
        QCOMPARE(screenMode, 9);
        paintWindow(*window);
    }

    // One human against one computer player on a map file (a campaign file's first map when
    // `campaign`). The set-up seats at least three players, and three get no armies to place on
    // a map this small, so its steps are made here by its own calls, in its order.
    void startTwoPlayerGame(const QString &file, bool campaign)
    {
        // The map or campaign question, its file chosen.
        mapFilePath = QDir::current().filePath(file);
        useStoredMapPath = 'j';
        if (campaign) {
            campaignId = CampaignFromFile;
            loadCampaign();
            QVERIFY(mapLoadSucceeded);
        }
        loadMap();
        QVERIFY2(mapLoadSucceeded, qPrintable(ui.messageTexts().join(QLatin1Char(' '))));
        // The options question with Dice off.
        attackRule = 'j';
        aiMinAttackArmies = 3;
        // The count question, one computer player named from the settings, and the deal.
        humanPlayerCount = 1;
        playerCount = 2;
        nameComputerPlayersFromSettings(playerCount);
        dealNewGame();
        // The game runs, its player named; play starts on the game screen.
        localGameRunning = 1;
        setupHooks().askNetworkPlayerName(*window);
        screenMode = 9;
        turnStarted = 1;
        startLocalGame();
        paintWindow(*window);
    }

    // One tick of the loop and a paint, as the program runs between clicks; every paint is held
    // against the map it shows, and from the deciding conquest on no turn button may act.
    void step()
    {
        window->gameTick();
        paintWindow(*window);
        const QString panel = panelMismatch();
        if (!panel.isEmpty())
            problems.append(panel);
        if (pressNextEveryStep)
            pressNextToNoEffect();
    }

    template <typename Condition>
    bool runUntil(Condition done, int limit = 3000)
    {
        for (int i = 0; i < limit && problems.isEmpty(); ++i) {
            if (done())
                return true;
            step();
        }
        return done();
    }

    void press(int row)
    {
        paintWindow(*window);
        mouseClickAt(*window, gameButtonPoint(row));
    }

    void pressNextToNoEffect()
    {
        const QString open = openRows();
        if (!open.isEmpty())
            problems.append(open);
        const int player = currentPlayer;
        const int round = placementRound;
        const quint8 placing = initialPlacementPhase;
        const int toPlace = armiesToPlace;
        press(kNextPlayerRow);
        if (messageQueueTypes().contains(23) || currentPlayer != player || placementRound != round
            || initialPlacementPhase != placing || armiesToPlace != toPlace)
            problems.append(QStringLiteral("a Next Player press acted"));
    }

    void answerLargest()
    {
        QVERIFY(armyQuestionOpen(*window));
        answerArmies(*window, largestOffered(*window));
    }

    // The game loop has shown everything the rules did; the figures are then the game's.
    void checkFiguresOfTheGame(const char *moment)
    {
        QVERIFY(runUntil([] { return actionQueueCount == 0; }));
        paintWindow(*window);
        const QString mismatch = figuresMismatch();
        QVERIFY2(mismatch.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(moment), mismatch)));
    }

    // Two players on the two-territory map Duo ("1-for-1"): the human places, adds his three
    // armies and attacks at once, as soon as the buttons let him, with everything but one
    // army. The battle (5 against 3) takes the computer's only territory and decides the game.
    void playDuoToTheDecidingConquest()
    {
        QVERIFY(runUntil([] { return initialPlacementPhase && currentPlayer == 1 && queuesDrained(); }));
        const int home = territoryOf(1, [](int) { return true; });
        const int enemy = home == 1 ? 2 : 1;
        clickTerritory(*window, home);
        answerLargest();
        QVERIFY(runUntil([] { return turnStarted && currentPlayer == 1 && inGameButtonEnabled[ButtonAdd]; }));
        QVERIFY(messageQueueCount > messageQueueIndex); // the turn's own steps are still to play
        press(kAddRow);
        clickTerritory(*window, home);
        answerLargest();
        // With animations the armies come by helicopter, and clicks wait for its landing.
        QVERIFY(runUntil([] { return pendingMoveArmies == 0 && !spriteAnimationActive; }));
        press(kAttackRow);
        clickTerritory(*window, home);
        clickTerritory(*window, enemy);
        QCOMPARE(territoryState[home].armies, 6);
        answerLargest();
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(territoryState[enemy].owner, 1);
        QCOMPARE(territoryState[enemy].armies, 1);
        QCOMPARE(territoryState[home].armies, 2);
    }

private slots:
    void init()
    {
        resetAllGameState(11);
        ui = ClickUi();
        QFile::remove(scoresFileName());
        window = std::make_unique<ViewArea>();
        ui.window = window.get();
        setInteraction(&ui);
        screen_test::useScreen(1366, 768, 340);
        demoRunning = 0;
        gameMode = ModeSinglePlayer;
        animationsEnabled = 0;
        window->resize(1366, 768);
        dialogs = setup_test::ScriptedDialogs();
        dialogs.install();
        pressNextEveryStep = false;
        problems.clear();
        writeRowMap(QStringLiteral("Duo"), 2);
        writeRowMap(QStringLiteral("Trio"), 3);
        writeRowMap(QStringLiteral("Octo"), 8);
        writeTextFile(QStringLiteral("Pair.cmpgn"), "[campaign]\nPair\n\n[maps]\nDuo\nTrio\n");
    }

    void cleanup()
    {
        // What the paints and presses saw wrong is told whatever stopped the test.
        const QStringList seen = problems;
        problems.clear();
        window.reset();
        setChoiceDialogRunner({});
        setInteraction(nullptr);
        setScreenMeasure(nullptr);
        QVERIFY2(seen.isEmpty(), qPrintable(seen.mid(0, 5).join(QLatin1Char('\n'))));
    }

    void theDecidingConquestAsksTheMoveAndTheEndFollowsTheAnswer_data()
    {
        QTest::addColumn<bool>("animations");
        QTest::newRow("animations off") << false;
        QTest::newRow("animations on") << true;
    }

    void theDecidingConquestAsksTheMoveAndTheEndFollowsTheAnswer()
    {
        QFETCH(bool, animations);
        animationsEnabled = animations ? 1 : 0;
        startTwoPlayerGame(QStringLiteral("Duo.txt"), false);
        playDuoToTheDecidingConquest();
        const int home = territoryOf(1, [](int t) { return territoryState[t].armies == 2; });
        const int enemy = home == 1 ? 2 : 1;
        QVERIFY(runUntil([this] { return armyQuestionOpen(*window); }));
        QCOMPARE(largestOffered(*window), 1);
        // Nothing of the end has been played while the question is open.
        QCOMPARE(gameEnded, quint8(0));
        QVERIFY(!ui.soundsPlayed.contains(QStringLiteral("sounds/overwinning.wav")));
        QCOMPARE(scoresOnFile().size(), 1);
        answerArmies(*window, 1);
        QCOMPARE(territoryState[enemy].armies, 2);
        QCOMPARE(territoryState[home].armies, 1);
        QVERIFY(runUntil([] { return gameEnded == 1 && queuesDrained(); }));
        QCOMPARE(displayedTerritoryState[enemy], (TerritoryState{1, 2}));
        QCOMPARE(statusLine, playerName[1].trimmed() + QStringLiteral(" wins the game."));
        // The losses the status bar shows are the losses recorded.
        const QList<ScoresRecord> onFile = scoresOnFile();
        QCOMPARE(onFile.size(), 1);
        QCOMPARE(lossCount, onFile[0].losses);
        QVERIFY(figuresLineText().endsWith(QLatin1Char(' ') + QString::number(onFile[0].losses)));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY(openRows().isEmpty());
    }

    void aWonCampaignMapLeavesNothingThatSkipsTheNextPlacement_data()
    {
        theDecidingConquestAsksTheMoveAndTheEndFollowsTheAnswer_data();
    }

    void aWonCampaignMapLeavesNothingThatSkipsTheNextPlacement()
    {
        QFETCH(bool, animations);
        animationsEnabled = animations ? 1 : 0;
        startTwoPlayerGame(QStringLiteral("Pair.cmpgn"), true);
        QCOMPARE(campaignMapCount, 2);
        playDuoToTheDecidingConquest();
        QVERIFY(cardsInHands() >= 1); // the conquest earned a card
        // From here to the next map's placement no turn button can act at any step played, and a
        // Next Player press changes nothing.
        pressNextEveryStep = true;
        QVERIFY(runUntil([this] { return armyQuestionOpen(*window); }));
        answerArmies(*window, 1);
        QVERIFY(runUntil([] {
            return campaignMapIndex == 2 && initialPlacementPhase && actionQueueCount == 0
                && statusText == placementPrompt(initialArmies);
        }));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(territoryCount, 3);
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(armiesToPlace, initialArmies);
        // The new map begins as a new game does: every card back in the deck.
        QCOMPARE(cardsInHands(), 0);
        QCOMPARE(cardsInPlay(), 53);
        QCOMPARE(playerPanelShown().toPlay, 1);

        pressNextEveryStep = false;
        press(kNextPlayerRow);
        for (int i = 0; i < 40; ++i)
            step();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(initialPlacementPhase, quint8(1));
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(armiesToPlace, initialArmies);
        QCOMPARE(turnsTaken[2], 0);
        QCOMPARE(statusText, placementPrompt(initialArmies));
    }

    // At the fast speeds a computer's turn tells no text of its own: the bar names him rather
    // than keep the human's last prompt.
    void theBarNamesTheComputerWhoseTurnItIs()
    {
        window->setGameSpeedFast();
        startGame(QStringLiteral("Octo.txt"));
        QVERIFY(placeUpToFirstTurn(*window));
        QVERIFY(endHumanTurnByClicks(*window));
        QVERIFY(runUntil([] { return currentPlayer != 2 || statusLine.trimmed() == playerName[2].trimmed() + QStringLiteral(" to play.."); }));
        QCOMPARE(currentPlayer, 2);
    }

    void aHotseatGameShowsItsPlayersAndFiguresAtEveryStep()
    {
        startGame(QStringLiteral("Octo.txt"), {"Ada", "Bo", "Cy", "Di"});
        QCOMPARE(initialArmies, 3);
        // The initial placement, player after player.
        for (int guard = 0; guard < 40 && placementRound != 0; ++guard) {
            QVERIFY(runUntil([] { return placementRound == 0 || (initialPlacementPhase && queuesDrained()); }));
            if (placementRound == 0)
                break;
            const int t = territoryOf(currentPlayer, [](int u) { return territoryState[u].armies < 4; });
            QVERIFY(t != 0);
            clickTerritory(*window, t);
            answerLargest();
            checkFiguresOfTheGame("placement");
        }
        int eliminations = 0;
        int handOvers = 0;
        int previous = 0;
        for (int turn = 0; turn < 80 && !gameOver; ++turn) {
            // The player acts as soon as his turn shows; the turn's own steps may still be queued.
            QVERIFY(runUntil([previous] {
                return currentPlayer != previous && turnStarted && humanHere(currentPlayer) && actionQueueCount == 0;
            }));
            previous = currentPlayer;
            checkFiguresOfTheGame("hand-over");
            ++handOvers;
            const int me = currentPlayer;
            // Everything due goes onto the strongest territory next to an enemy.
            auto front = [me](int t) {
                return neighbourWhere(t, [me](int u) { return territoryState[u].owner != me; }) != 0;
            };
            int strongest = 0;
            for (int t = 1; t <= territoryCount; ++t)
                if (territoryState[t].owner == me && front(t)
                    && (!strongest || territoryState[t].armies > territoryState[strongest].armies))
                    strongest = t;
            QVERIFY(strongest != 0);
            // The continent bonus, then a card trade the hand requires, then its armies.
            for (int bonus = 0; bonus < 6 && (cardDialogOpen || cardBonusPhase || continentBonusPhase); ++bonus) {
                if (cardDialogOpen) {
                    window->cardSetButton[1]->click();
                } else {
                    clickTerritory(*window, strongest);
                    answerLargest();
                }
                QVERIFY(runUntil([] { return queuesDrained(); }));
            }
            if (inGameButtonEnabled[ButtonAdd]) {
                press(kAddRow);
                clickTerritory(*window, strongest);
                answerLargest();
                checkFiguresOfTheGame("placement");
                // Nothing is left to add: the steps still queued do not open Add again.
                QCOMPARE(territoryArmiesDue, 0);
                QVERIFY(runUntil([] { return queuesDrained(); }));
                QVERIFY(!gameButtonShownEnabled(95));
            }
            // Attacks that win ("1-for-1": more armies committed than defend), the weakest
            // player's territories first.
            for (int attack = 0; attack < 20 && !gameOver; ++attack) {
                int source = 0, target = 0, fewest = 999;
                for (int t = 1; t <= territoryCount; ++t) {
                    if (territoryState[t].owner != me)
                        continue;
                    const int u = neighbourWhere(t, [me, t](int v) {
                        return territoryState[v].owner != me && territoryState[t].armies - 1 > territoryState[v].armies;
                    });
                    const int held = u ? playerTable[territoryState[u].owner].territoriesHeld() : 999;
                    if (u && held < fewest) {
                        fewest = held;
                        source = t;
                        target = u;
                    }
                }
                if (!source)
                    break;
                const int victim = territoryState[target].owner;
                QVERIFY2(runUntil([] { return inGameButtonEnabled[ButtonAttack] || attackSourcePhase; }, 50),
                         qPrintable(QStringLiteral("%1 %2 %3").arg(statusText).arg(cardDialogOpen).arg(territoryBonusPhase)));
                if (!attackSourcePhase)
                    press(kAttackRow);
                clickTerritory(*window, source);
                clickTerritory(*window, target);
                answerLargest();
                QCOMPARE(territoryState[target].owner, me);
                // The move question comes when an army can follow.
                if (territoryState[source].armies > 1) {
                    QVERIFY(runUntil([this] { return armyQuestionOpen(*window); }));
                    answerLargest();
                }
                checkFiguresOfTheGame("conquest");
                if (playerTable[victim].territoriesHeld() == 0) {
                    ++eliminations;
                    QCOMPARE(playerPanelShown().rows[victim].territories, 0);
                    QCOMPARE(playerPanelShown().rows[victim].armies, 0);
                    checkFiguresOfTheGame("elimination");
                }
            }
            if (gameOver)
                break;
            QVERIFY(runUntil([] { return gameButtonShownEnabled(97); }));
            // A second press before the first has been played ends no other turn.
            const int following = followingPlayer(me);
            press(kNextPlayerRow);
            press(kNextPlayerRow);
            QVERIFY(openRows().isEmpty());
            QVERIFY(runUntil([] { return turnStarted && !messageQueueTypes().contains(23); }));
            QVERIFY(runUntil([me] { return currentPlayer != me && turnStarted; }));
            QCOMPARE(currentPlayer, following);
            QVERIFY(!messageQueueTypes().contains(23));
        }
        QVERIFY2(gameOver, qPrintable(QStringLiteral("%1 hand-overs, %2 out").arg(handOvers).arg(eliminations)));
        QVERIFY(runUntil([] { return gameEnded == 1 && queuesDrained(); }));
        QVERIFY(eliminations >= 3);
        QVERIFY(handOvers >= 4);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY(openRows().isEmpty());
    }
};

TARVAN_TEST_MAIN(TestGameplayWindow)
#include "test_gameplay_window.moc"
