// A map picture as a map file brings it: decoded, its territory regions grown from the label
// points, every territory painted into it with its army number, the player panel drawn, and
// points looked up. Pictures larger than any screen shows are left out: they only cost time.

#include "fuzz_support.h"

#include "state/BuiltinMaps.h"
#include "state/MapPicture.h"

#include <QBuffer>
#include <QImageReader>

namespace {
constexpr qint64 kMostPixels = 4 * 1193 * 790;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    playerCount = 6;
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t] = {(t - 1) % playerCount + 1, t * 37 % 1200};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = inputBytes(data, size);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    if (!declared.isValid() || qint64(declared.width()) * declared.height() > kMostPixels)
        return 0;
    QImage picture;
    if (!reader.read(&picture))
        return 0;
    mapImage = picture.convertToFormat(QImage::Format_RGB32);
    installMapPicture(mapImage);
    for (int t = 1; t <= territoryCount; ++t)
        updateTerritoryDisplay(t, territoryState[t].armies, territoryState[t].owner, t % 2, 0, 1);
    drawPlayerPanel();
    for (int y = -3; y < mapImage.height() + 3; y += 17)
        for (int x = -3; x < mapImage.width() + 3; x += 13) {
            int t = 0;
            territoryAtPoint(x, y, t);
            FUZZ_REQUIRE(t == 999 || (t >= 0 && t <= territoryCount));
        }
    return 0;
}
