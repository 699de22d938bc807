#include "app/PictureFiles.h"

#include <QImageReader>

QImage readPicture(const QString &path)
{
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        QImageReader png(path, "png");
        png.setAutoDetectImageFormat(false);
        const QImage picture = png.read();
        if (!picture.isNull())
            return picture;
    }
    return QImage(path);
}
