#pragma once
// The territory regions of one map picture: which territory every pixel belongs to, grown once
// per picture from the label points over the fillable greys of `greyTable`. Painting fills a
// territory from its runs and the hit test reads a single pixel, so neither floods again.

#include "state/GameState.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>
#include <vector>

// One row piece of a region, x0..x1 inclusive.
struct RegionRun {
    qint32 y;
    qint32 x0;
    qint32 x1;
};

// The fillable colours of `greyTable` as a set that answers in a few instructions per pixel.
class FillableColours {
public:
    FillableColours();
    bool contains(QRgb colour) const;

private:
    std::array<QRgb, 64> slots_{};
    bool hasZero_ = false;
};

class TerritoryRegions {
public:
    // Grows the region of every territory 1..count from labelPoints[t] over the 4-connected
    // fillable pixels that no lower-numbered territory took. A label point off the picture or on
    // a pixel that is not fillable gives an empty region.
    void build(const QImage &picture, const std::array<QPoint, kMaxTerritories + 1> &labelPoints,
               int count);
    void clear();

    bool isEmpty() const { return width_ == 0; }
    QSize size() const { return QSize(width_, height_); }
    int count() const { return count_; }
    // The territory owning pixel (x, y), or 0 for borders, sea and points off the picture.
    int territoryAt(int x, int y) const;
    const std::vector<RegionRun> &runs(int territory) const;
    QRect bounds(int territory) const;
    int area(int territory) const;
    const std::array<QPoint, kMaxTerritories + 1> &labelPoints() const { return labelPoints_; }

private:
    void grow(int territory);

    int width_ = 0;
    int height_ = 0;
    int count_ = 0;
    std::vector<quint8> owner_;
    std::array<std::vector<RegionRun>, kMaxTerritories + 1> runs_;
    std::array<QRect, kMaxTerritories + 1> bounds_;
    std::array<int, kMaxTerritories + 1> area_{};
    std::array<QPoint, kMaxTerritories + 1> labelPoints_{};
};
