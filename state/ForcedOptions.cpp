#include "state/ForcedOptions.h"

#include "state/GameState.h"

#include <optional>

namespace {

// The player's own value of a forced option; empty while it is not forced.
struct ForcedOption {
    quint8 &inUse;
    std::optional<quint8> chosen;

    void force(quint8 value)
    {
        if (!chosen)
            chosen = inUse;
        inUse = value;
    }
    void end()
    {
        if (chosen)
            inUse = *chosen;
        chosen.reset();
    }
    quint8 choice() const { return chosen.value_or(inUse); }
    void choose(quint8 value) { (chosen ? *chosen : inUse) = value; }
};

ForcedOption fast{fastSpeed, {}};
ForcedOption animations{animationsEnabled, {}};

} // namespace

void forceFastSpeed()
{
    fast.force(1);
}

void forceAnimationsOff()
{
    animations.force(0);
}

void endForcedOptions()
{
    fast.end();
    animations.end();
}

quint8 chosenFastSpeed()
{
    return fast.choice();
}

quint8 chosenAnimations()
{
    return animations.choice();
}

void chooseFastSpeed(quint8 on)
{
    fast.choose(on);
}

void chooseAnimations(quint8 on)
{
    animations.choose(on);
}

void resetForcedOptions()
{
    fast.chosen.reset();
    animations.chosen.reset();
}
