#pragma once
// The colours of the dashed links that join neighbours whose lands do not meet. Each link of a
// picture has a shade of its own, too close to the others for the eye to tell apart, so that a
// program can follow one link where it crosses another. None lies in `greyTable` or among the
// player colours, so no fill ever enters a link.

#include <QColor>

constexpr int kMapLinkShades = 256;

constexpr QRgb mapLinkColour(int link)
{
    return qRgb(0xd0 | ((link >> 4) & 15), 0xe0 | (link & 15), 0xec);
}

// The link whose shade `colour` is, or -1 when it is no link's.
constexpr int mapLinkOf(QRgb colour)
{
    return qAlpha(colour) == 255 && qBlue(colour) == 0xec && (qRed(colour) & 0xf0) == 0xd0
            && (qGreen(colour) & 0xf0) == 0xe0
        ? ((qRed(colour) & 15) << 4) | (qGreen(colour) & 15)
        : -1;
}
