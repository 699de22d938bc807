// The Load Game button of the main menu and the Save Game entry of the in-game menu.

#include "dialogs/SavedGameDialogs.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PaintStatusBar.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "net/NetResume.h"
#include "persist/DataFolder.h"
#include "persist/SavedGame.h"
#include "persist/SavedGameLoading.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/SetupState.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StatusLine.h"

#include <QDir>
#include <QFileInfo>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QTcpServer>

QHostAddress lobbyListenAddress(QHostAddress::Any);
const char kSavedGameFilter[] = "Tarvan GX games (*.TrvGX)";

namespace {

const QString kTitle = QStringLiteral("Tarvan GX");
const QLatin1String kExtension(".TrvGX");

enum RankSaveChoice { SaveTheGame = 1, StartAllOver = 2 };

QString filter()
{
    return QString::fromLatin1(kSavedGameFilter);
}

// "file not found" when there is no such file; a damaged file, or one that cannot be read, is
// refused by the reader, which says why. Nothing of the running state changes either way.
bool readStoredGame(const QString &path)
{
    bool ok = false;
    bool told = false;
    readSavedGame(path, ok, &told);
    if (!ok && !told)
        interaction().message(MessageIcon::Warning, kTitle, QObject::tr("file not found"));
    return ok;
}

// The address a client reaches this machine at: the first IPv4 address that is not the
// loopback (a look-up of the host's own name may give 127.0.1.1).
QString localAddress()
{
    for (const QHostAddress &address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    return QHostAddress(QHostAddress::LocalHost).toString();
}

QString lobbyStatusText()
{
    if (!internetGame)
        return QStringLiteral("Waiting for others to join...   Hostname:  ") + QHostInfo::localHostName();
    const QString external = settingsRecord.hostExternalIp;
    const QString address = external.left(2) > QLatin1String("  ") ? external.trimmed() : localAddress();
    return QStringLiteral("Waiting for others to join...   Your IP:   ") + address;
}

void listenForPlayers(ViewArea &view)
{
    if (!tcpServer)
        return;
    if (!tcpServer->isListening() && !tcpServer->listen(lobbyListenAddress, static_cast<quint16>(gamePort)))
        interaction().message(MessageIcon::Critical, QObject::tr("Server"),
                              QObject::tr("Unable to start the server: %1.").arg(tcpServer->errorString()));
    QObject::connect(tcpServer, SIGNAL(newConnection()), &view, SLOT(OnAccept()), Qt::UniqueConnection);
}

// A network game's save reopens the host's lobby, with Launch: the players join again and the
// saved game goes on.
void reopenHostLobby(ViewArea &view)
{
    openResumedLobby();
    prepareHostLobby();
    screenMode = 102;
    setStatusText(lobbyStatusText());
    listenForPlayers(view);
    joinedPlayers = 1;
    lobbyOpen = 1;
    networkSeat = 1;
}

// Writes the running game to `path`; a write that fails is said, and the game counts as unsaved.
bool writeGame(const QString &path)
{
    QDir::setCurrent(startFolderPath);
    QString why;
    if (writeSavedGame(path, &why))
        return true;
    interaction().message(MessageIcon::Warning, kTitle,
                          QStringLiteral("The game could not be saved to %1:\n%2.")
                              .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), why));
    return false;
}

// The start of a name that claims another kind of game, as the refusal names it.
QString clashText(const QString &clash)
{
    if (clash.isEmpty())
        return QStringLiteral("\"My\", \"LAN_\", \"INT_\" or \"CMPGN_\"");
    return QLatin1Char('"') + clash + QLatin1Char('"');
}

// The chosen path with a file name that loads as the running game's kind and the extension the
// load dialog looks for; empty (the player told why) when the name claims another kind.
QString pathOfKind(const QString &chosen)
{
    const QFileInfo file(chosen);
    QString typed = file.fileName();
    if (typed.endsWith(kExtension, Qt::CaseInsensitive))
        typed.chop(kExtension.size());
    QString clash;
    const QString name = savedGameNameOfKind(typed, runningGameKind(), &clash);
    if (name.isEmpty()) {
        interaction().message(MessageIcon::Warning, kTitle,
                              QStringLiteral("The game cannot be saved as \"%1\": a saved game whose name "
                                             "begins with %2 is loaded as another kind of game.\n\n"
                                             "Please choose another name.")
                                  .arg(typed, clashText(clash)));
        return QString();
    }
    return file.dir().filePath(name + kExtension);
}

// The first save of a game asks for its name, again after a name that would load as another kind
// of game; a cancelled dialog saves nothing.
bool chooseSaveFile()
{
    QDir::setCurrent(startFolderPath);
    QString proposed = QDir(startFolderPath).filePath(defaultSaveName);
    for (;;) {
        interaction().pause(500);
        const QString chosen = interaction().saveFileName(QStringLiteral("Save Game"), proposed, filter());
        if (chosen.trimmed().isEmpty())
            return false;
        const QString path = pathOfKind(chosen);
        if (path.isEmpty()) {
            proposed = chosen;
            continue;
        }
        if (!writeGame(path))
            return false;
        saveFileName = lastSaveFileName = path;
        gameSaved = 1;
        saveSettings();
        return true;
    }
}

// A game that has a file is saved to it again without a question.
bool saveRunningGame()
{
    if (!gameLoaded && !gameSaved)
        return chooseSaveFile();
    if (!writeGame(saveFileName))
        return false;
    gameSaved = 1;
    return true;
}

// The saves of rank games are counted, fifty at most; the count is in the file it is saved to.
void saveRankGame()
{
    if (savesUsed >= kMaxRankSaves) {
        interaction().message(MessageIcon::Warning, kTitle, QStringLiteral("Sorry, save limit exceeded."));
        return;
    }
    ++savesUsed;
    if (!saveRunningGame()) {
        --savesUsed;
        return;
    }
    saveSettings();
}

// Start all over again: no saves used, an empty scores file (the rank is Private again), and the
// program ends.
void startRankAllOver()
{
    if (!interaction().question(kTitle, QStringLiteral("Are you sure ?")))
        return;
    // The scores first: a file that stays as it was leaves the rank, the count and the game too.
    QString why;
    if (!clearScoresFile(&why)) {
        interaction().message(MessageIcon::Warning, kTitle,
                              QStringLiteral("The scores file %1 could not be emptied:\n%2.\n\n"
                                             "Nothing has been reset; the game goes on.")
                                  .arg(scoresFilePath, why));
        return;
    }
    savesUsed = 0;
    saveSettings();
    rankGame = 0;
    exitReason = ExitProgramClosing;
    quitProgram();
}

int askRankSave(ViewArea &view)
{
    ChoiceDialogSpec spec;
    spec.addLabel(QString::asprintf("%2d / 50 saves used", savesUsed));
    spec.addAnswer(QStringLiteral("Save Game"), SaveTheGame);
    spec.addCancel();
    spec.addLabel(QStringLiteral(" "));
    spec.addLabel(QStringLiteral("Start all over again:"));
    spec.addLabel(QStringLiteral("Reset saves count, Rank = Private,"));
    spec.addLabel(QStringLiteral("Empty scores file"));
    spec.addAnswer(QStringLiteral("Reset"), StartAllOver);
    const ChoiceOutcome outcome = runChoiceDialog(view, spec);
    return outcome.result ? outcome.choice : 0;
}

} // namespace

void ViewArea::loadSavedGame()
{
    const QDateTime loadStarted = interaction().now();
    setStatusText(QStringLiteral(" "));
    QDir::setCurrent(startFolderPath);
    interaction().pause(500);
    const QString path = interaction().openFileName(QStringLiteral("Load Game"), startFolderPath, filter());
    interaction().pause(500);
    if (path.trimmed().isEmpty())
        return;
    if (!readStoredGame(path)) {
        screenMode = 2;
        update();
        return;
    }
    // The stored game goes over a game state at its defaults: nothing of an earlier game stays.
    resetGameDefaults();
    saveFileName = QFileInfo(path).fileName();
    lastSaveFileName = path;
    if (restoreSavedGame(path) != SavedGameRestore::Restored) {
        resetGameDefaults();
        screenMode = 2;
        update();
        return;
    }
    networkPlayerName = playerName[1];
    // Shown for one paint while the restored game is drawn.
    setStatusText2(QStringLiteral("This might take a few seconds..."));
    formatPlayerFigures();
    repaint();
    setStatusText2(QStringLiteral(" "));
    updateWindowTitle();
    update();

    if (!interaction().question(kTitle, QStringLiteral("Do you want to continue this game ?"))) {
        resetGameDefaults();
        queueStepsAfterDeclinedLoad();
        screenMode = 1;
        update();
        return;
    }
    continueSavedGame(loadStarted);
    restartGameTimer();
    if (classifySavedGameName(saveFileName).networkHost()) {
        reopenHostLobby(*this);
    } else {
        resumeLocalGame();
        screenMode = 9;
    }
    updateWindowTitle();
    update();
}

void ViewArea::saveGameDialog()
{
    if (!rankGame) {
        saveRunningGame();
        return;
    }
    switch (askRankSave(*this)) {
    case SaveTheGame:
        saveRankGame();
        break;
    case StartAllOver:
        startRankAllOver();
        break;
    default:
        break;
    }
}
