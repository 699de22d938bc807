#include "PalettePicture.h"

#include <QHash>
#include <QVector>

QImage withExactPalette(const QImage &picture)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QHash<QRgb, int> indexOf;
    QVector<QRgb> colours;
    QImage paletted(source.size(), QImage::Format_Indexed8);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *indexes = paletted.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            auto found = indexOf.constFind(row[x]);
            if (found == indexOf.constEnd()) {
                if (colours.size() == 256)
                    return picture;
                found = indexOf.insert(row[x], colours.size());
                colours.append(row[x]);
            }
            indexes[x] = static_cast<uchar>(*found);
        }
    }
    paletted.setColorTable(colours);
    return paletted;
}
