// Who plays: the number of computer players, the hotseat names, the neutral army of a
// two-player game and the computer players' personalities.

#include "setup/SetupFlow.h"

#include "app/ViewArea.h"
#include "persist/DataStream.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/SetupRules.h"
#include "setup/SetupState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/StatusLine.h"

#include <algorithm>

namespace {

using Result = SetupStepResult;

constexpr int kHotseatNamePause = 500;
// The same answer refused again and again would otherwise ask for ever.
constexpr int kMaxRepeatedQuestions = 100;

const char *const kOrdinals[] = {"", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine", "Ten"};

ChoiceDialogSpec computerCountSpec()
{
    const int suggested = suggestedComputerPlayers();
    ChoiceDialogSpec spec;
    for (int n = 2; n <= 9; ++n) {
        const QString label = n == suggested ? QStringLiteral("> %1 ai players <").arg(n)
                                             : QStringLiteral("%1 ai players  ").arg(n);
        DialogItem &item = spec.addAnswer(label, n - 1);
        item.enabled = computerPlayersOffered(n);
        item.focus = n == suggested;
    }
    spec.addCancel();
    spec.maximised = smallScreen != 0;
    return spec;
}

ChoiceDialogSpec hotseatNameSpec(int player)
{
    ChoiceDialogSpec spec;
    spec.pauseBefore = spec.pauseAfter = kHotseatNamePause;
    spec.addLabel(QStringLiteral("Player %1, your name ?").arg(QLatin1String(kOrdinals[player])));
    // The remembered name, without the padding the settings file keeps.
    spec.addTextField(settingsRecord.hotseatNames[player].trimmed());
    // The field takes no more than the settings and the saved games keep.
    spec.textMaxLength = kStoredTextLength;
    spec.addLabel(QStringLiteral(" "));
    spec.addAnswer(QStringLiteral("+ Add more players"), 1);
    spec.addLabel(QStringLiteral(" "));
    spec.addCancel();
    spec.addLabel(QStringLiteral(" "));
    spec.addButton(QStringLiteral("Proceed"), ButtonRole::AcceptOnly);
    spec.addLabel(QStringLiteral("(When finished entering players)"));
    return spec;
}

ChoiceDialogSpec hotseatCountSpec(int offeredUpTo)
{
    ChoiceDialogSpec spec;
    // "0 ai players" answers 9: the choice slots start at 1.
    spec.addAnswer(QStringLiteral("0 ai players"), 9);
    for (int n = 1; n <= 8; ++n)
        spec.addAnswer(QStringLiteral("%1 ai players").arg(n), n).enabled = n <= offeredUpTo;
    spec.addCancel();
    return spec;
}

} // namespace

void dealNewGame()
{
    playerTable.fill(PlayerRecord{});
    resetGameCounters();
    dealTerritories();
}

Result SetupFlow::askComputerPlayerCount()
{
    const ChoiceOutcome outcome = runChoiceDialog(view_, computerCountSpec());
    if (outcome.result == 0 || outcome.choice < 1 || outcome.choice > 8)
        return leaveAfterCancel();
    aiPlayerCount = outcome.choice + 1;
    return Result::Continue;
}

void SetupFlow::seatComputerPlayers()
{
    humanPlayerCount = 1;
    if (aiPlayerCount >= 2 && aiPlayerCount <= 9)
        playerCount = aiPlayerCount + 1;
    nameComputerPlayersFromSettings(playerCount);
    // The demo's seat 1 is nobody's and does not count as a player of its own.
    if (gameMode == ModeDemo)
        playerCount -= 1;
    dealNewGame();
}

Result SetupFlow::hotseatPlayers()
{
    const int maxPlayers = hotseatMaxPlayers();
    const Result named = askHotseatNames(maxPlayers);
    if (named != Result::Continue)
        return named;
    if (humanPlayerCount == maxPlayers) {
        aiPlayerCount = 0;
    } else {
        const Result counted = askHotseatComputerCount(maxPlayers);
        if (counted != Result::Continue)
            return counted;
    }
    setStatusText(QStringLiteral(" "));
    playerCount = humanPlayerCount + aiPlayerCount;
    if (playerCount == 2) {
        neutralArmyActive = 1;
        playerCount = 3;
        aiPlayerCount = 1;
        interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                              QStringLiteral("A non-attacking neutral army is assigned."));
    }
    for (int p = humanPlayerCount + 1; p <= playerCount && p <= kMaxPlayers; ++p)
        playerName[p] = hotseatComputerName(p);
    dealNewGame();
    return Result::Continue;
}

Result SetupFlow::askHotseatNames(int maxPlayers)
{
    humanPlayerCount = 0;
    bool askAgain = true;
    while (askAgain && humanPlayerCount < maxPlayers) {
        const ChoiceOutcome outcome = runChoiceDialog(view_, hotseatNameSpec(humanPlayerCount + 1));
        if (outcome.result == 0)
            return Result::RestartSetup;
        const QString name = acceptedHotseatName(outcome.text);
        if (!name.isEmpty()) {
            ++humanPlayerCount;
            playerName[humanPlayerCount] = name;
        }
        // "+ Add more players" stores 1; "Proceed" only accepts.
        askAgain = outcome.choice == 1 && !name.isEmpty();
    }
    if (humanPlayerCount < 2)
        return Result::RestartSetup;
    saveHotseatNamesFlag = 1;
    saveSettings();
    saveHotseatNamesFlag = 0;
    return Result::Continue;
}

Result SetupFlow::askHotseatComputerCount(int maxPlayers)
{
    const int offeredUpTo = std::min(maxPlayers - humanPlayerCount, 8);
    for (int asked = 0; asked < kMaxRepeatedQuestions; ++asked) {
        const ChoiceOutcome outcome = runChoiceDialog(view_, hotseatCountSpec(offeredUpTo));
        if (outcome.result == 0 || outcome.choice < 1 || outcome.choice > 9)
            return Result::RestartSetup;
        aiPlayerCount = outcome.choice == 9 ? 0 : outcome.choice;
        const int players = humanPlayerCount + aiPlayerCount;
        if (players >= 2 && players <= maxPlayers)
            return Result::Continue;
    }
    return Result::RestartSetup;
}

void SetupFlow::assignPersonalities()
{
    if (quickLaunch || difficulty <= 0 || neutralArmyActive || playerCount <= humanPlayerCount)
        return;
    // An Unstable player stays Unstable, playing a new personality drawn now.
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (personalitySetting[p] == kPersonalityUnstable)
            personality[p] = kPersonalityUnstable;
    for (int p = 1; p <= kMaxPlayers; ++p) {
        avengeTarget[p] = 0;
        personalitySetting[p] = 0;
        if (randomMixPersonalities)
            personality[p] = randomSource().between(0, kPersonalityUnstable);
        if (personality[p] == kPersonalityUnstable) {
            personalitySetting[p] = kPersonalityUnstable;
            personality[p] = randomSource().between(0, kPersonalityUnstable - 1);
        }
    }
}
