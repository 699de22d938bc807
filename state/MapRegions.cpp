#include "state/MapRegions.h"

namespace {

int slotOf(QRgb colour)
{
    return static_cast<int>((colour * 0x9E3779B1u) >> 26);
}

const std::vector<RegionRun> kNoRuns;
constexpr quint8 kWall = 255; // a pixel no fill enters

} // namespace

FillableColours::FillableColours()
{
    for (QRgb colour : greyTable) {
        if (colour == 0) {
            hasZero_ = true;
            continue;
        }
        int slot = slotOf(colour);
        while (slots_[slot] != 0 && slots_[slot] != colour)
            slot = (slot + 1) & 63;
        slots_[slot] = colour;
    }
}

bool FillableColours::contains(QRgb colour) const
{
    if (colour == 0)
        return hasZero_;
    for (int slot = slotOf(colour);; slot = (slot + 1) & 63) {
        if (slots_[slot] == colour)
            return true;
        if (slots_[slot] == 0)
            return false;
    }
}

void TerritoryRegions::clear()
{
    width_ = height_ = count_ = 0;
    owner_.clear();
    for (auto &runs : runs_)
        runs.clear();
    bounds_.fill(QRect());
    area_.fill(0);
    labelPoints_.fill(QPoint());
}

void TerritoryRegions::build(const QImage &picture, const std::array<QPoint, kMaxTerritories + 1> &labelPoints,
                             int count)
{
    clear();
    if (picture.isNull())
        return;
    const QImage pixels = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
    width_ = pixels.width();
    height_ = pixels.height();
    count_ = qBound(0, count, kMaxTerritories);
    labelPoints_ = labelPoints;

    // One pass marks every pixel that no fill may enter; pictures come in long runs of one
    // colour, so the last answer is usually the next one too.
    owner_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    const FillableColours fillable;
    QRgb lastColour = 0;
    bool lastFillable = fillable.contains(lastColour);
    for (int y = 0; y < height_; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        quint8 *out = owner_.data() + static_cast<size_t>(y) * width_;
        for (int x = 0; x < width_; ++x) {
            if (row[x] != lastColour) {
                lastColour = row[x];
                lastFillable = fillable.contains(lastColour);
            }
            out[x] = lastFillable ? 0 : kWall;
        }
    }
    for (int t = 1; t <= count_; ++t)
        grow(t);
}

// A span fill over the open pixels: each run is taken whole, and the rows above and below are
// searched for the pieces that continue it.
void TerritoryRegions::grow(int territory)
{
    const QPoint seed = labelPoints_[territory];
    if (seed.x() < 0 || seed.y() < 0 || seed.x() >= width_ || seed.y() >= height_
        || owner_[static_cast<size_t>(seed.y()) * width_ + seed.x()] != 0)
        return;

    const quint8 mark = static_cast<quint8>(territory);
    std::vector<RegionRun> &runs = runs_[territory];
    int left = seed.x(), right = seed.x(), top = seed.y(), bottom = seed.y();
    int area = 0;
    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int y = p.y();
        quint8 *row = owner_.data() + static_cast<size_t>(y) * width_;
        if (row[p.x()] != 0)
            continue;
        int x0 = p.x();
        int x1 = p.x();
        while (x0 > 0 && row[x0 - 1] == 0)
            --x0;
        while (x1 + 1 < width_ && row[x1 + 1] == 0)
            ++x1;
        std::fill(row + x0, row + x1 + 1, mark);
        runs.push_back({y, x0, x1});
        area += x1 - x0 + 1;
        left = qMin(left, x0);
        right = qMax(right, x1);
        top = qMin(top, y);
        bottom = qMax(bottom, y);
        for (int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= height_)
                continue;
            const quint8 *next = owner_.data() + static_cast<size_t>(ny) * width_;
            bool inSpan = false;
            for (int x = x0; x <= x1; ++x) {
                const bool isOpen = next[x] == 0;
                if (isOpen && !inSpan)
                    stack.push_back(QPoint(x, ny));
                inSpan = isOpen;
            }
        }
    }
    bounds_[territory] = QRect(QPoint(left, top), QPoint(right, bottom));
    area_[territory] = area;
}

int TerritoryRegions::territoryAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    const quint8 owner = owner_[static_cast<size_t>(y) * width_ + x];
    return owner == kWall ? 0 : owner;
}

const std::vector<RegionRun> &TerritoryRegions::runs(int territory) const
{
    return territory >= 1 && territory <= count_ ? runs_[territory] : kNoRuns;
}

QRect TerritoryRegions::bounds(int territory) const
{
    return territory >= 1 && territory <= count_ ? bounds_[territory] : QRect();
}

int TerritoryRegions::area(int territory) const
{
    return territory >= 1 && territory <= count_ ? area_[territory] : 0;
}
