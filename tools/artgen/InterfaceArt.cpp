#include "InterfaceArt.h"

#include "InterfaceArtParts.h"
#include "state/GameState.h"

#include <array>

void writeInterfaceArt(ArtOutput &out)
{
    writeMenuStrips(out);
    writeRankInsignia(out);
    writeCardPictures(out);
    writeSpriteStrips(out);
}

QImage keyedPicture(int width, int height, QRgb background, const std::function<void(QPainter &)> &draw)
{
    QImage canvas(width, height, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    QImage result(width, height, QImage::Format_ARGB32);
    const QRgb nudged = qRgb(qRed(background) ^ 1, qGreen(background), qBlue(background));
    for (int y = 0; y < height; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        QRgb *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int alpha = qAlpha(in[x]);
            if (alpha < 128) {
                out[x] = background;
                continue;
            }
            // Un-premultiplied colour of the drawn pixel, made opaque.
            const QRgb colour = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
            out[x] = colour == (background | 0xff000000u) ? nudged : colour;
        }
    }
    return result;
}

QColor spriteColour(int colour)
{
    // A player's sprites take the colour the map paints his territories in.
    return QColor::fromRgb(colour >= 1 && colour <= 10 ? startColour(colour) : 0xff808080);
}

QFont interfaceFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
