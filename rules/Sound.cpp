#include "rules/Sound.h"

#include "state/GameState.h"
#include "state/Seams.h"

namespace {

// The switch that silences an event; 0 when only "all off" does.
int switchFor(int event)
{
    switch (event) {
    case SoundPlacement:
        return SwitchAdd;
    case SoundAttack:
    case SoundConquest:
    case SoundMissile:
    case SoundNuke:
        return SwitchAttack;
    case SoundMove:
        return SwitchMove;
    case SoundPlayerOut:
        return SwitchPlayerOut;
    case SoundNextPlayer:
        return SwitchNextPlayer;
    case SoundContinent:
        return SwitchContinent;
    case SoundVictory:
        return SwitchVictory;
    default:
        return 0;
    }
}

QString placementFile(int colour, int count)
{
    // The helicopters are too slow to be heard at the two fastest speeds.
    if (speedFlag96 || speedFlag160)
        return QString();
    if (!animationsEnabled)
        return QStringLiteral("sounds/plaatsen9.wav");
    if (count > 3 || colour < 1 || colour > kMaxPlayers)
        return QStringLiteral("sounds/helis3.wav");
    return QStringLiteral("sounds/heli%1.wav").arg(colour);
}

} // namespace

QString soundFileFor(int event, int colour, int count)
{
    switch (event) {
    case SoundPlacement:
        return placementFile(colour, count);
    case SoundAttack:
        return QStringLiteral("sounds/aanval2.wav");
    case SoundConquest:
        return QStringLiteral("sounds/aanval3.wav");
    case SoundMove:
        return animationsEnabled ? QStringLiteral("sounds/prop.wav") : QStringLiteral("sounds/schuiven4.wav");
    case SoundPlayerOut:
        return QStringLiteral("sounds/oooh2.wav");
    case SoundNextPlayer:
        return QStringLiteral("sounds/volgendesp3.wav");
    case SoundContinent:
        return QStringLiteral("sounds/wdveroverd.wav");
    case SoundVictory:
        return QStringLiteral("sounds/overwinning.wav");
    case SoundMissile:
        return animationsEnabled ? QStringLiteral("sounds/missile3.wav") : QString();
    case SoundNuke:
        return animationsEnabled ? QStringLiteral("sounds/nuke4.wav") : QString();
    default:
        return QString();
    }
}

void playSound(int event, int colour, int count)
{
    if (soundEnabled[SwitchAllOff])
        return;
    const int own = switchFor(event);
    if (own != 0 && !soundEnabled[own])
        return;
    const QString file = soundFileFor(event, colour, count);
    if (!file.isEmpty())
        interaction().playSoundFile(file);
}
