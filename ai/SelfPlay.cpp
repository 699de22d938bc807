#include "ai/SelfPlay.h"

#include "ai/AiState.h"
#include "ai/ComputerTurn.h"
#include "ai/InitialPlacement.h"
#include "rules/Attack.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "maps/MapTexts.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"
#include "state/Seams.h"
#include "state/StateReset.h"
#include "state/StepQueues.h"

#include <utility>

namespace {

// Steps taken off the queues and not played yet.
std::vector<QueueStep> pendingActions;
std::vector<QueueStep> pendingMessages;

void takeQueuedSteps()
{
    for (int i = 1; i <= actionQueueCount && i <= kActionQueueCapacity; ++i)
        pendingActions.push_back(actionQueue[i]);
    for (int i = 1; i <= messageQueueCount && i <= kMessageQueueCapacity; ++i)
        pendingMessages.push_back(messageQueue[i]);
    clearStepQueues();
}

void playActionStep(const QueueStep &step)
{
    switch (step.type) {
    case 1: {
        const int t = step.arg[1];
        if (t >= 1 && t <= kMaxTerritories)
            displayedTerritoryState[t] = {step.arg[3], step.arg[2]};
        break;
    }
    case 8: {
        // A computer player's initial placement, as the game loop runs it.
        const qint32 saved = currentPlayer;
        if (isValidPlayer(step.arg[1])) {
            currentPlayer = step.arg[1];
            aiInitialPlacement();
        }
        currentPlayer = saved;
        break;
    }
    default:
        break;
    }
}

int settingOf(const SelfPlayOptions &options, int p)
{
    const std::size_t index = static_cast<std::size_t>(p - 1);
    if (index < options.personalities.size())
        return qBound(0, options.personalities[index], static_cast<int>(PersonalityUnstable));
    return (p - 1) % (PersonalityUnstable + 1);
}

void setUpPlayers(const SelfPlayOptions &options)
{
    playerCount = qBound(2, options.players, kMaxPlayers);
    humanPlayerCount = 0;
    humanSeatCount = 0;
    networkSeat = 0;
    gameMode = ModeSinglePlayer;
    demoRunning = 0;
    for (int p = 1; p <= kMaxPlayers; ++p) {
        playerName[p] = QStringLiteral("pc %1").arg(p);
        const int setting = settingOf(options, p);
        personalitySetting[p] = setting;
        personality[p] = setting == PersonalityUnstable ? randomSource().below(PersonalityUnstable) : setting;
        avengeTarget[p] = 0;
    }
}

void setUpOptions(const SelfPlayOptions &options)
{
    attackRule = options.attackRule == 'j' ? 'j' : 'n';
    aiMinAttackArmies = attackRule == 'j' ? 3 : 2;
    strongholdsEnabled = options.strongholds ? 1 : 0;
    troopExperienceEnabled = options.troopExperience ? 1 : 0;
    neutralArmyActive = options.neutralArmy && options.players >= 3 ? 1 : 0;
    animationsEnabled = options.animations ? 1 : 0;
    fastSpeed = options.fastSpeed ? 1 : 0;
    difficulty = options.difficulty;
    missionType = 0;
    topFiveGame = 0;
}

// The file names a top-five game finds a map text under.
const char *const kMapTextNames[] = {"e2.txt",       "Romania.txt",     "107.txt",           "Lines.txt",
                                     "Rings.txt",    "Russia.txt",      "Hex_gone_crazy.txt", "JustNeedTwo.txt",
                                     "France.txt",   "OK83.txt",        "Neighbourhood.txt", "coconutz.txt",
                                     "WorldII.txt",  "Ireland.txt",     "ParisByNight.txt"};

bool loadMapText(MapTextFunction text, const QString &fileName)
{
    mapFileLines.clear();
    text();
    int result = MapFileOk;
    loadMapFile(result);
    if (result != MapFileOk)
        return false;
    applyLoadedMapFile(fileName);
    return true;
}

template <typename T>
void mix(quint64 &hash, T value)
{
    const quint64 v = static_cast<quint64>(static_cast<qint64>(value));
    for (int i = 0; i < 8; ++i) {
        hash ^= (v >> (8 * i)) & 0xff;
        hash *= 1099511628211ull;
    }
}

} // namespace

QStringList builtinMapNames()
{
    QStringList names;
    for (const BuiltinMap *map : allBuiltinMaps())
        names << QLatin1String(map->name);
    return names;
}

bool loadBuiltinMapNamed(const QString &name)
{
    for (const BuiltinMap *map : allBuiltinMaps()) {
        if (name.compare(QLatin1String(map->name), Qt::CaseInsensitive) != 0)
            continue;
        selectMap(map->flag);
        return buildBuiltinMap(*map) == MapFileOk;
    }
    return false;
}

QStringList mapTextNames()
{
    QStringList names;
    for (const char *name : kMapTextNames)
        names << QLatin1String(name);
    return names;
}

QStringList shippedMapNames()
{
    return builtinMapNames() + mapTextNames();
}

bool loadShippedMapNamed(const QString &name)
{
    if (loadBuiltinMapNamed(name))
        return true;
    for (const QString &fileName : mapTextNames()) {
        if (name.compare(fileName, Qt::CaseInsensitive) != 0)
            continue;
        const MapTextFunction text = mapTextForFileName(fileName);
        return text && loadMapText(text, fileName);
    }
    return false;
}

bool applySelfPlayWord(const QString &word, SelfPlayOptions &options)
{
    if (word == QLatin1String("dice"))
        options.attackRule = 'n';
    else if (word == QLatin1String("1for1"))
        options.attackRule = 'j';
    else if (word == QLatin1String("strongholds"))
        options.strongholds = true;
    else if (word == QLatin1String("experience"))
        options.troopExperience = true;
    else if (word == QLatin1String("neutral"))
        options.neutralArmy = true;
    else if (word == QLatin1String("animations"))
        options.animations = true;
    else if (word == QLatin1String("fast"))
        options.fastSpeed = true;
    else if (word == QLatin1String("easy"))
        options.difficulty = 0;
    else if (word.startsWith(QLatin1String("personalities="))) {
        options.personalities.clear();
        for (QChar digit : word.mid(14))
            options.personalities.push_back(digit.digitValue());
    } else
        return false;
    return true;
}

bool startSelfPlayGame(const SelfPlayOptions &options, const std::function<bool()> &loadMap)
{
    resetStateSubsystem();
    resetTurnState();
    resetTurnFlowState();
    resetAttackState();
    resetAiState();
    pendingActions.clear();
    pendingMessages.clear();
    randomSource().seed(options.seed);
    if (!loadMap || !loadMap())
        return false;
    setUpOptions(options);
    setUpPlayers(options);
    dealTerritories();
    startLocalGame();
    return true;
}

int playQueuedActionSteps()
{
    const int held = actionQueueCount;
    takeQueuedSteps();
    std::vector<QueueStep> steps;
    steps.swap(pendingActions);
    for (const QueueStep &step : steps)
        playActionStep(step);
    return held;
}

int playQueuedMessageSteps()
{
    takeQueuedSteps();
    std::vector<QueueStep> steps;
    steps.swap(pendingMessages);
    int turns = 0;
    for (const QueueStep &step : steps) {
        if (step.type == 5 && step.arg[1] == 1 && !gameOver) {
            runComputerTurns();
            ++turns;
        }
    }
    return turns;
}

int selfPlayWinner()
{
    if (!gameOver || noWinner)
        return 0;
    int winner = 0;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p) {
        if (playerOutOfGame(p))
            continue;
        if (winner != 0)
            return 0;
        winner = p;
    }
    return winner;
}

quint64 gameStateHash()
{
    quint64 hash = 1469598103934665603ull;
    for (int t = 1; t <= territoryCount; ++t) {
        mix(hash, territoryState[t].owner);
        mix(hash, territoryState[t].armies);
    }
    for (int p = 1; p <= kMaxPlayers; ++p) {
        for (qint32 field : playerTable[p].f)
            mix(hash, field);
        mix(hash, turnsTaken[p]);
        mix(hash, personality[p]);
    }
    for (qint32 count : cardDeckCounts)
        mix(hash, count);
    mix(hash, routeCount);
    mix(hash, currentPlayer);
    mix(hash, gameOver);
    return hash;
}
