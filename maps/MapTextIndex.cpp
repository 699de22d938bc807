#include "maps/MapTexts.h"

#include "state/MapFile.h"

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
    {"e2.txt", mapTextE2},
    {"Hex_gone_crazy.txt", mapTextHex_gone_crazy},
    {"Ireland.txt", mapTextIreland},
    {"Lines.txt", mapTextLines},
    {"Neighbourhood.txt", mapTextNeighbourhood},
    {"OK83.txt", mapTextOK83},
    {"Rings.txt", mapTextRings},
    {"Romania.txt", mapTextRomania},
    {"coconutz.txt", mapTextCoconutz},
    {"JustNeedTwo.txt", mapTextJustNeedTwo},
    {"Russia.txt", mapTextRussia},
    {"WorldII.txt", mapTextWorldII},
    {"ParisByNight.txt", mapTextParisByNight},
    {"France.txt", mapTextFrance},
    {"107.txt", mapText107},
};

} // namespace

MapTextFunction mapTextForFileName(const QString &fileName)
{
    for (const auto &entry : kTopFiveTexts)
        if (fileName == QLatin1String(entry.fileName))
            return entry.text;
    return nullptr;
}
