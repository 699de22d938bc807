#pragma once
// With troop experience on, a computer player judges armies by what they are worth in battle:
// while a weighting is open, every territory's armies count as armies x its owner's experience
// / 100 (at least 1). Only judgements run inside one; nothing may move armies meanwhile.

class TroopWeighting {
public:
    // Weights the armies when troop experience is on and no weighting is open yet.
    TroopWeighting();
    // Puts the real armies back and counts every player's army total again from them, so no
    // weighted total outlives the judgement.
    ~TroopWeighting();
    TroopWeighting(const TroopWeighting &) = delete;
    TroopWeighting &operator=(const TroopWeighting &) = delete;

private:
    bool applied_ = false;
};

// The armies territory t is worth to its owner in battle.
int weightedArmies(int armies, int owner);
