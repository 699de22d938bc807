#include "app/SpriteStrips.h"

#include "app/PictureFiles.h"
#include "app/ResourceNames.h"

#include <QCache>

namespace {

// Costs are counted in KB, so that the budget fits QCache's int.
int costOf(const QImage &picture)
{
    return static_cast<int>((picture.sizeInBytes() + 1023) / 1024);
}

QCache<QString, QImage> &keptStrips()
{
    static QCache<QString, QImage> kept(static_cast<int>(kSpriteStripBudgetBytes / 1024));
    return kept;
}

QImage decodedStrip(int kind, const QString &path)
{
    QImage picture = readPicture(path);
    if (picture.isNull())
        return picture;
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = resources::kSpriteKinds[kind].transparent;
    for (int y = 0; y < picture.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((row[x] | 0xff000000u) == transparent)
                row[x] = 0;
    }
    return picture;
}

} // namespace

QImage spriteStrip(int kind, int colour)
{
    const QString path = resources::spriteStripPath(kind, colour);
    if (const QImage *kept = keptStrips().object(path))
        return *kept;
    const QImage picture = decodedStrip(kind, path);
    if (!picture.isNull())
        keptStrips().insert(path, new QImage(picture), costOf(picture));
    return picture;
}

qint64 spriteStripBytesKept()
{
    return qint64(keptStrips().totalCost()) * 1024;
}
