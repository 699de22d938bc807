#include "MapCanvas.h"

namespace map_canvas {

// Two sweeps: down the picture taking the pixels above and to the left, then back up taking
// those below and to the right.
std::vector<quint8> stepsFrom(int width, int height, const std::vector<quint8> &sources)
{
    std::vector<quint8> steps(sources.size());
    for (size_t p = 0; p < steps.size(); ++p)
        steps[p] = sources[p] ? 0 : 255;
    const auto at = [&](int x, int y) -> int {
        return x >= 0 && y >= 0 && x < width && y < height ? steps[static_cast<size_t>(y) * width + x] : 255;
    };
    for (int y = 0; y < height; ++y) {
        quint8 *row = steps.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (row[x] == 0)
                continue;
            const int best = qMin(qMin(at(x - 1, y), at(x - 1, y - 1)), qMin(at(x, y - 1), at(x + 1, y - 1))) + 1;
            row[x] = static_cast<quint8>(qMin(static_cast<int>(row[x]), best));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        quint8 *row = steps.data() + static_cast<size_t>(y) * width;
        for (int x = width - 1; x >= 0; --x) {
            if (row[x] == 0)
                continue;
            const int best = qMin(qMin(at(x + 1, y), at(x + 1, y + 1)), qMin(at(x, y + 1), at(x - 1, y + 1))) + 1;
            row[x] = static_cast<quint8>(qMin(static_cast<int>(row[x]), best));
        }
    }
    return steps;
}

} // namespace map_canvas
