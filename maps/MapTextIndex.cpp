#include "maps/MapTexts.h"

namespace {

// The names a top-five game may ask for, in the order they are compared. Names with no text
// of ours end in the "Not Found" error.
const struct {
    const char *fileName;
    MapTextFunction text;
} kTopFiveTexts[] = {
    {"MiddleEarth.txt", nullptr},
    {"USA.txt", nullptr},
    {"Europe2.txt", nullptr},
    {"africa.txt", nullptr},
    {"AloneInACrowd.txt", nullptr},
    {"Atlantis2.txt", nullptr},
    {"Atlantis.txt", nullptr},
    {"Doom.txt", nullptr},
    {"DragonWarrior.txt", nullptr},
    {"e2.txt", nullptr},
    {"Hex_gone_crazy.txt", nullptr},
    {"Ireland.txt", nullptr},
    {"Lines.txt", nullptr},
    {"Neighbourhood.txt", nullptr},
    {"OK83.txt", nullptr},
    {"Rings.txt", nullptr},
    {"Romania.txt", nullptr},
    {"coconutz.txt", nullptr},
    {"JustNeedTwo.txt", nullptr},
    {"Russia.txt", nullptr},
    {"WorldII.txt", nullptr},
    {"ParisByNight.txt", nullptr},
    {"France.txt", nullptr},
    {"107.txt", nullptr},
};

} // namespace

MapTextFunction mapTextForFileName(const QString &fileName)
{
    for (const auto &entry : kTopFiveTexts)
        if (fileName == QLatin1String(entry.fileName))
            return entry.text;
    return nullptr;
}
