#include "rules/Battle.h"

#include "state/GameState.h"
#include "state/Seams.h"

#include <array>

namespace {

// A side without experience (out of the game, or never fought) still fights with its armies;
// a floor of 1 keeps the conversion of losses free of a division by zero.
qint64 experienceOf(int experience)
{
    return qMax(1, experience);
}

// The loser's strength expressed in the winner's armies, rounded up.
qint32 strengthInArmies(int loserArmies, int loserExperience, int winnerExperience)
{
    const qint64 strength = qint64(loserArmies) * experienceOf(loserExperience);
    const qint64 per = experienceOf(winnerExperience);
    return static_cast<qint32>((strength + per - 1) / per);
}

// Throws `count` dice, highest first.
std::array<int, 3> throwDice(int count)
{
    std::array<int, 3> dice{};
    for (int i = 0; i < count; ++i) {
        int die = randomSource().between(1, 6);
        // Insert in place so the dice stay sorted high to low.
        int j = i;
        for (; j > 0 && dice[j - 1] < die; --j)
            dice[j] = dice[j - 1];
        dice[j] = die;
    }
    return dice;
}

} // namespace

int battleExperience(int player)
{
    if (!troopExperienceEnabled || player < 1 || player > kMaxPlayers)
        return 100;
    return troopExperience[player];
}

BattleResult fightOneForOne(int attackers, int defenders, int attackerExperience, int defenderExperience)
{
    BattleResult result;
    if (attackers < 1 || defenders < 1)
        return result;
    result.rounds = 1;
    const qint64 attackStrength = qint64(attackers) * experienceOf(attackerExperience);
    const qint64 defenceStrength = qint64(defenders) * experienceOf(defenderExperience);
    if (attackStrength > defenceStrength) {
        result.defenderLosses = defenders;
        result.attackerLosses =
            qMin(attackers - 1, strengthInArmies(defenders, defenderExperience, attackerExperience));
    } else {
        result.attackerLosses = attackers;
        result.defenderLosses =
            qMin(defenders - 1, strengthInArmies(attackers, attackerExperience, defenderExperience));
    }
    return result;
}

BattleResult fightDiceLike(int attackers, int defenders, int attackerExperience, int defenderExperience)
{
    BattleResult result;
    const qint64 attackWeight = experienceOf(attackerExperience);
    const qint64 defenceWeight = experienceOf(defenderExperience);
    int attacking = qMax(0, attackers);
    int defending = qMax(0, defenders);
    while (attacking > 0 && defending > 0) {
        ++result.rounds;
        const int attackDice = qMin(3, attacking);
        const int defenceDice = qMin(2, defending);
        const std::array<int, 3> attack = throwDice(attackDice);
        const std::array<int, 3> defence = throwDice(defenceDice);
        for (int pair = 0; pair < qMin(attackDice, defenceDice); ++pair) {
            if (attack[pair] * attackWeight > defence[pair] * defenceWeight) {
                --defending;
                ++result.defenderLosses;
            } else {
                --attacking;
                ++result.attackerLosses;
            }
        }
    }
    return result;
}

bool oneForOneRule()
{
    return attackRule == 'j';
}

BattleResult fightBattle(int attackers, int defenders, int attackerExperience, int defenderExperience)
{
    if (oneForOneRule())
        return fightOneForOne(attackers, defenders, attackerExperience, defenderExperience);
    return fightDiceLike(attackers, defenders, attackerExperience, defenderExperience);
}
