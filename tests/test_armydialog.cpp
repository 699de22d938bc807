// The army-count dialog and the card dialogs of a game in the window: the counts offered for
// each question, one answer per question through the buttons and the combo dialog of larger
// counts, the conquest's question from the game loop, the card sets offered and traded, the
// notice of a trade and its closing. Screenshots of both dialogs over the game are written to
// the working folder and, when TARVAN_SCREENSHOT_DIR is set, there too.

#include "test_mapclicks_support.h"

#include "app/ResourceNames.h"
#include "rules/Attack.h"
#include "rules/Cards.h"
#include "rules/TurnFlow.h"

#include <QLabel>

using namespace clicks_test;

namespace {

// Asks the question of a placement of initial armies on territory t with `toPlace` left.
void askPlacement(ViewArea &window, int t, int toPlace)
{
    initialPlacementPhase = 1;
    armiesToPlace = toPlace;
    setTerritory(t, 1, 1);
    clickTerritory(window, t);
}

void giveCards(int player, int artillery, int infantry, int cavalry, int wild)
{
    PlayerRecord &record = playerTable[player];
    record.artillery() = artillery;
    record.infantry() = infantry;
    record.cavalry() = cavalry;
    record.wild() = wild;
    cardDeckCounts[CardArtillery] -= artillery;
    cardDeckCounts[CardInfantry] -= infantry;
    cardDeckCounts[CardCavalry] -= cavalry;
    cardDeckCounts[CardWild] -= wild;
}

QStringList visibleSetTexts(const ViewArea &window)
{
    QStringList texts;
    for (int n = 1; n <= 6; ++n)
        if (window.cardSetButton[n]->isVisibleTo(window.cardDialog))
            texts.append(window.cardSetButton[n]->text());
    return texts;
}

int picturesShown(const ViewArea &window)
{
    int shown = 0;
    for (int n = 3; n <= 7; ++n)
        shown += window.cardTradeLabel[n]->isVisibleTo(window.cardTradeNotice)
                         && !window.cardTradeLabel[n]->pixmap(Qt::ReturnByValue).isNull()
                     ? 1
                     : 0;
    return shown;
}

} // namespace

class TestArmyDialog : public QObject, private ClickFixture {
    Q_OBJECT

private slots:
    void init()
    {
        start(5);
    }

    void cleanup()
    {
        stop();
    }

    // ---- The counts offered ----

    void theCountsOfferedFollowTheQuestion_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("due");   // armies to place, or on the source
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("more");
        QTest::addColumn<QString>("firstText");

        QTest::newRow("placement, 2 left") << "placement" << 2 << 2 << false << "Place 1 army";
        QTest::newRow("territory bonus of 12") << "territories" << 12 << 8 << true << "Place 1 army";
        QTest::newRow("attack from 5") << "attack" << 5 << 4 << false << "Attack with 1 army";
        QTest::newRow("attack from 30") << "attack" << 30 << 8 << true << "Attack with 1 army";
        QTest::newRow("move from 9, allowance 7") << "move" << 9 << 7 << false << "Move 1 army";
    }

    void theCountsOfferedFollowTheQuestion()
    {
        QFETCH(QString, question);
        QFETCH(int, due);
        QFETCH(int, buttons);
        QFETCH(bool, more);
        QFETCH(QString, firstText);

        int most = buttons;
        if (question == QLatin1String("placement")) {
            askPlacement(*window, 1, due);
        } else if (question == QLatin1String("territories")) {
            territoryBonusPhase = 1;
            territoryArmiesDue = due;
            most = due;
            clickTerritory(*window, 1);
        } else if (question == QLatin1String("attack")) {
            askAttack(*window, prepareAttack(due, 1));
            most = due - 1;
        } else {
            const int n = territoryNeighbours[1][1];
            setTerritory(1, 1, due);
            setTerritory(n, 1, 1);
            moveAllowance = 7;
            enterMovePhase();
            clickTerritory(*window, 1);
            clickTerritory(*window, n);
        }
        QVERIFY(armyQuestionOpen(*window));
        QCOMPARE(buttonsOffered(*window), buttons);
        QCOMPARE(moreOffered(*window), more);
        QCOMPARE(window->armyCountButton[1]->text(), firstText);
        QCOMPARE(window->armyCountButton[2]->text(), firstText.replace(QLatin1String("1 army"), QLatin1String("2 armies")));
        // The combo dialog lists every count, the largest first.
        QCOMPARE(window->armyComboItems.size(), most);
        QCOMPARE(window->armyComboItems.first(), QString::number(most));
        QCOMPARE(window->armyComboItems.last(), QStringLiteral("1"));
        QCOMPARE(window->armyCountDialog->windowTitle(), QStringLiteral("Tarvan GX"));
    }

    void aQuestionWithNothingToOfferGoesOnAsCancelled()
    {
        // Nothing is left to place: the click's question answers itself with no armies.
        initialPlacementPhase = 1;
        armiesToPlace = 0;
        pendingPlacementCount = 1;
        selectedTerritory = 1;
        territoryMark[1] = 'j';
        window->showArmyCountDialog(0, 3);
        QVERIFY(!window->armyCountDialog || !window->armyCountDialog->isVisible());
        QCOMPARE(dialogOpen, quint8(0));
        QCOMPARE(pendingPlacementCount, quint8(0));
        QCOMPARE(territoryState[1].armies, 1);
        QCOMPARE(territoryMark[1], 'n');
    }

    // ---- One answer per question ----

    void eachCountButtonAnswersOnce_data()
    {
        QTest::addColumn<int>("count");
        for (int n = 1; n <= 8; ++n)
            QTest::newRow(qPrintable(QStringLiteral("button %1").arg(n))) << n;
    }

    void eachCountButtonAnswersOnce()
    {
        QFETCH(int, count);
        territoryBonusPhase = 1;
        territoryArmiesDue = 20;
        clickTerritory(*window, 1);
        QVERIFY(armyQuestionOpen(*window));
        QCOMPARE(armyCountDialogOpen, quint8(1));

        window->armyCountButton[count]->click();
        QCOMPARE(territoryState[1].armies, 1 + count);
        QCOMPARE(territoryArmiesDue, 20 - count);
        QVERIFY(!window->armyCountDialog->isVisible());
        QCOMPARE(armyCountDialogOpen, quint8(0));
        QCOMPARE(dialogOpen, quint8(0));

        // A late click of the same dialog (a slot reached twice) changes nothing.
        window->legerdlg8();
        window->legerdlg9();
        window->legersokdlg();
        QCOMPARE(territoryState[1].armies, 1 + count);
        QVERIFY(!window->armyComboDialog->isVisible());
    }

    void cancelEscapeAndClosingTheComboAnswerNoArmies_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("combo dialog closed") << "combo";
    }

    void cancelEscapeAndClosingTheComboAnswerNoArmies()
    {
        QFETCH(QString, how);
        const int n = prepareAttack(20, 1);
        askAttack(*window, n);
        QCOMPARE(territoryMark[n], 'j');
        if (how == QLatin1String("cancel")) {
            window->armyCountCancelButton->click();
        } else if (how == QLatin1String("escape")) {
            window->armyCountDialog->reject();
        } else {
            window->armyCountButton[9]->click();
            QVERIFY(window->armyComboDialog->isVisible());
            window->armyComboDialog->reject();
            QVERIFY(!window->armyComboDialog->isVisible());
        }
        QVERIFY(!window->armyCountDialog->isVisible());
        QCOMPARE(dialogOpen, quint8(0));
        QCOMPARE(territoryState[1].armies, 20);
        QCOMPARE(territoryMark[n], 'n');
        QCOMPARE(attackMadeThisTurn, quint8(0));
        // The source stays chosen: another target may be picked.
        QVERIFY(attackTargetPhase);
        QCOMPARE(sourceTerritory, 1);
    }

    void moreHandsTheQuestionToTheComboDialog()
    {
        territoryBonusPhase = 1;
        territoryArmiesDue = 14;
        clickTerritory(*window, 1);
        QVERIFY(moreOffered(*window));

        // A count clicked in the first dialog while the combo dialog is on its way answers
        // nothing, and neither does closing the first dialog.
        int clicks = 0;
        ui.duringPause = [&] {
            if (clicks++ == 0) {
                window->armyCountButton[2]->click();
                window->armyCountDialog->reject();
            }
        };
        window->armyCountButton[9]->click();
        ui.duringPause = nullptr;
        QCOMPARE(ui.pausedMilliseconds, 1000);
        QCOMPARE(territoryState[1].armies, 1);
        QVERIFY(!window->armyCountDialog->isVisible());
        QVERIFY(window->armyComboDialog->isVisible());
        QCOMPARE(window->armyComboDialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialogOpen, quint8(1));
        QCOMPARE(window->armyCombo->count(), 14);
        QCOMPARE(window->armyCombo->currentIndex(), 0);
        QCOMPARE(window->armyCombo->currentText(), QStringLiteral("14"));

        window->armyCombo->setCurrentIndex(window->armyCombo->findText(QStringLiteral("11")));
        window->armyComboOkButton->click();
        QVERIFY(!window->armyComboDialog->isVisible());
        QCOMPARE(dialogOpen, quint8(0));
        QCOMPARE(territoryState[1].armies, 12);
        QCOMPARE(territoryArmiesDue, 3);
    }

    // The game loop plays on while "More" hands the question to the combo dialog: a combo
    // answered at once conquers, and the conquest's move question comes up before the first
    // dialog's own closing. That question stays shown and answers.
    void aMoveQuestionAskedDuringMoreStaysShown()
    {
        const int n = prepareAttack(20, 1);
        askAttack(*window, n);
        QVERIFY(moreOffered(*window));
        int pauses = 0;
        ui.duringPause = [&] {
            if (++pauses != 2)
                return;
            window->armyComboOkButton->click();
            QVERIFY(tickUntil(*window, [&] { return armyQuestionOpen(*window); }, 50));
        };
        window->armyCountButton[9]->click();
        ui.duringPause = nullptr;
        QCoreApplication::processEvents();
        QCOMPARE(territoryState[n].owner, 1);
        QVERIFY(armyQuestionOpen(*window));
        const int source = territoryState[1].armies;
        answerArmies(*window, 3);
        QCOMPARE(territoryState[1].armies, source - 3);
        QCOMPARE(territoryState[n].armies, 4);
        QCOMPARE(dialogOpen, quint8(0));
    }

    // ---- Cards ----

    void theCardSetsAreOfferedWithTheirArmies_data()
    {
        QTest::addColumn<QList<int>>("hand"); // artillery, infantry, cavalry, wild
        QTest::addColumn<QStringList>("sets");

        QTest::newRow("three of a kind") << QList<int>{3, 0, 0, 0} << QStringList{"10 armies: 3 artillery"};
        QTest::newRow("two pairs")
            << QList<int>{2, 2, 0, 0}
            << QStringList{"10 armies: 2 artillery + 2 infantry", "5 armies: 2 artillery", "5 armies: 2 infantry"};
        QTest::newRow("a wild card and one")
            << QList<int>{0, 0, 1, 1} << QStringList{"5 armies: 1 cavalry + 1 wild"};
    }

    void theCardSetsAreOfferedWithTheirArmies()
    {
        QFETCH(QList<int>, hand);
        QFETCH(QStringList, sets);
        giveCards(1, hand[0], hand[1], hand[2], hand[3]);
        openCardTradeDialog();
        QVERIFY(window->cardDialog->isVisible());
        QCOMPARE(cardDialogOpen, quint8(1));
        QCOMPARE(dialogOpen, quint8(1));
        QCOMPARE(visibleSetTexts(*window), sets);
        QVERIFY(window->cardCancelButton->isEnabled());

        // Cancel: nothing is traded.
        window->cardCancelButton->click();
        QVERIFY(!window->cardDialog->isVisible());
        QCOMPARE(cardDialogOpen, quint8(0));
        QCOMPARE(dialogOpen, quint8(0));
        QCOMPARE(handOf(1).total(), hand[0] + hand[1] + hand[2] + hand[3]);
    }

    void aTradedSetIsShownInTheNoticeUntilTheLoopClosesIt_data()
    {
        QTest::addColumn<int>("closingStep"); // 0: the trade's own closing step, else a message step
        QTest::newRow("action step 4") << 0;
        QTest::newRow("message step 102") << 102;
    }

    void aTradedSetIsShownInTheNoticeUntilTheLoopClosesIt()
    {
        QFETCH(int, closingStep);
        giveCards(1, 2, 2, 0, 1);
        openCardTradeDialog();
        QCOMPARE(window->cardSetButton[1]->text(), QStringLiteral("15 armies: 2 artillery + 2 infantry + 1 wild"));
        window->cardSetButton[1]->click();
        QVERIFY(!window->cardDialog->isVisible());
        QCOMPARE(dialogOpen, quint8(0));
        QCOMPARE(handOf(1).total(), 0);
        QCOMPARE(cardArmiesDue, 15);
        QVERIFY(cardBonusPhase);

        // The loop shows the notice with the player, the armies and the cards.
        QVERIFY(tickUntil(*window, [] { return tradeNoticeShown != 0; }, 20));
        QVERIFY(window->cardTradeNotice->isVisible());
        QCOMPARE(window->cardTradeLabel[1]->text(), QStringLiteral("Player 1"));
        QCOMPARE(window->cardTradeLabel[2]->text(), QStringLiteral("gets 15 armies."));
        QCOMPARE(picturesShown(*window), 3);
        QCOMPARE(window->cardTradeNotice->windowTitle(), QStringLiteral("Cards"));
        saveScreenshot(dialogOverGame(*window, *window->cardTradeNotice), QStringLiteral("card-trade-notice.png"));

        if (closingStep == 0) {
            QVERIFY(tickUntil(*window, [] { return tradeNoticeShown == 0; }, 20));
        } else {
            clearStepQueues();
            pushMessageStep(makeStep(closingStep));
            window->gameTick();
            window->gameTick();
            QCOMPARE(tradeNoticeShown, quint8(0));
        }
        QVERIFY(!window->cardTradeNotice->isVisible());
    }

    void aComputerPlayersTradeShowsHisCards()
    {
        cardTradeValues = {0, 0, 0, 3, 0, 10, 2};
        window->showCardTradeBonus();
        QCOMPARE(window->cardTradeLabel[1]->text(), QStringLiteral("Player 2"));
        QCOMPARE(window->cardTradeLabel[2]->text(), QStringLiteral("gets 10 armies."));
        QCOMPARE(picturesShown(*window), 1);
        // Three cards of a kind are fanned out in one picture.
        const QPixmap fan = window->cardTradeLabel[3]->pixmap(Qt::ReturnByValue);
        QVERIFY(fan.width() > QImage(resources::cardPicturePath(CardCavalry)).width());
        QCOMPARE(tradeNoticeShown, quint8(1));
    }

    void aDueTradeCannotBePutOff()
    {
        // Five cards at the start of a turn: the dialog opens and stays until a set is chosen.
        giveCards(1, 2, 2, 1, 0);
        currentPlayer = 1;
        turnStarted = 0;
        beginTurn();
        QVERIFY(cardTradeRequired);
        QVERIFY(window->cardDialog->isVisible());
        QVERIFY(!window->cardCancelButton->isEnabled());
        saveScreenshot(dialogOverGame(*window, *window->cardDialog), QStringLiteral("card-dialog.png"));

        window->cardDialog->reject();
        QCOMPARE(ui.beeps, 1);
        QVERIFY(window->cardDialog->isVisible());
        QCOMPARE(cardDialogOpen, quint8(1));
        QCOMPARE(dialogOpen, quint8(1));

        window->cardSetButton[1]->click();
        QVERIFY(!cardTradeRequired);
        QVERIFY(!window->cardDialog->isVisible());
        QCOMPARE(dialogOpen, quint8(0));
        QVERIFY(handOf(1).total() < 5);
        QVERIFY(cardBonusPhase);
    }
};

TARVAN_TEST_MAIN(TestArmyDialog)
#include "test_armydialog.moc"
