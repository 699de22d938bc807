#pragma once
// The outcome of one battle under the two attack rules, apart from the map: how many armies
// each side loses when `attackers` committed armies fight `defenders`.

#include <QtGlobal>

struct BattleResult {
    qint32 attackerLosses = 0;
    qint32 defenderLosses = 0;
    qint32 rounds = 0;
};

// The experience a player fights with: the troop experience percentage when that option is
// on, otherwise 100.
int battleExperience(int player);

// "1-for-1": strength is armies x experience / 100; the stronger side wins, the defender at
// equal strength. The loser loses every army in the battle; the winner loses the loser's
// strength in its own armies, rounded up, but never its last army in the battle.
BattleResult fightOneForOne(int attackers, int defenders, int attackerExperience, int defenderExperience);

// "Dice-like": rounds of up to 3 attacking dice against up to 2 defending dice, compared in
// pairs high to low (die x experience); a tie costs the attacker. Rounds go on until the
// committed armies are spent or the defenders are.
BattleResult fightDiceLike(int attackers, int defenders, int attackerExperience, int defenderExperience);

// The game is played by "1-for-1" (`attackRule` 'j'), not by "Dice-like".
bool oneForOneRule();

// The battle under the rule of the game (`attackRule`).
BattleResult fightBattle(int attackers, int defenders, int attackerExperience, int defenderExperience);
