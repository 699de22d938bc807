// The interface pictures and the sounds the build makes: every name the game looks for is
// there, at the size the game cuts it by, and every sound the game can play exists.

#include "TestSupport.h"

#include "app/ResourceNames.h"
#include "rules/Sound.h"
#include "state/GameState.h"

#include <QImage>
#include <QSet>
#include <QtEndian>

namespace {

// The share of a picture's pixels that are exactly the given colour.
double shareOf(const QImage &image, QRgb colour)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    qint64 count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += argb.pixel(x, y) == colour ? 1 : 0;
    return double(count) / (argb.width() * argb.height());
}

bool hasOpaquePixels(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 200)
                return true;
    return false;
}

QString runFolder()
{
    return QString::fromLocal8Bit(qgetenv("TARVAN_RUN_DIR"));
}

} // namespace

class TestWindowArt : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(); }

    void menuStripsHoldEveryCell_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("scale"); // a tall strip's cells are this many times higher
        QTest::addColumn<QList<int>>("labelled"); // rows (y of the standard strip) that hold a button
        QList<int> menu1;
        for (int y = 0; y <= 690; y += 30)
            menu1.append(y);
        QList<int> menu2;
        for (int y = 0; y <= 840; y += 30)
            if (y != 270)
                menu2.append(y);
        menu2 << 960 << 990 << 1020;
        const int tall = resources::kTallCellScale;
        QTest::newRow("menu1a") << resources::kMenuStrip1 << QSize(210, 720) << 1 << menu1;
        QTest::newRow("menu1aRed") << resources::kMenuStrip1Red << QSize(210, 720) << 1 << menu1;
        QTest::newRow("menu2a") << resources::kMenuStrip2 << QSize(210, 1050) << 1 << menu2;
        QTest::newRow("menu2aRed") << resources::kMenuStrip2Red << QSize(210, 1050) << 1 << menu2;
        QTest::newRow("menu1aTall") << resources::kMenuStrip1Tall << QSize(210, 720 * tall) << tall << menu1;
        QTest::newRow("menu1aTallRed") << resources::kMenuStrip1TallRed << QSize(210, 720 * tall) << tall << menu1;
        QTest::newRow("menu2aTall") << resources::kMenuStrip2Tall << QSize(210, 1050 * tall) << tall << menu2;
        QTest::newRow("menu2aTallRed") << resources::kMenuStrip2TallRed << QSize(210, 1050 * tall) << tall << menu2;
    }

    // Every button of a strip is as wide as the others, its border whole: the standard cells'
    // buttons end where every wide screen still shows them, the tall cells' fill the cell.
    void menuStripsHoldEveryCell()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(int, scale);
        QFETCH(QList<int>, labelled);
        const QImage strip(path);
        QVERIFY2(!strip.isNull(), qPrintable(path));
        QCOMPARE(strip.size(), size);
        const int right = scale == 1 ? resources::kStripButtonWidth : resources::kStripCellWidth;
        for (int row : labelled) {
            const int y = row * scale;
            const int middle = y + 15 * scale;
            const QString where = QString::number(row);
            QVERIFY2(hasOpaquePixels(strip, QRect(right / 4, y + 5 * scale, right / 2, 20 * scale)), qPrintable(where));
            // The left and right borders, and nothing of the button beyond the right one.
            QVERIFY2(qAlpha(strip.pixel(1 * scale, middle)) > 128, qPrintable(where));
            QVERIFY2(qAlpha(strip.pixel(right - 2 * scale, middle)) > 128, qPrintable(where));
            if (right < strip.width())
                QVERIFY2(!hasOpaquePixels(strip, QRect(right, y, strip.width() - right, 30 * scale)), qPrintable(where));
        }
        // The status bar's Cards is a whole small button of its own, 60 wide.
        if (path == resources::kMenuStrip2 || path == resources::kMenuStrip2Red) {
            const int y = resources::kBarCellY;
            QVERIFY(hasOpaquePixels(strip, QRect(8, y + 8, 44, 14)));
            QVERIFY(qAlpha(strip.pixel(resources::kBarCellWidth - 2, y + 15)) > 128);
            QVERIFY(!hasOpaquePixels(strip, QRect(resources::kBarCellWidth, y, 210 - resources::kBarCellWidth, 30)));
        }
    }

    void redStripDiffersFromTheNormalOne()
    {
        const QImage normal(resources::kMenuStrip2);
        const QImage red(resources::kMenuStrip2Red);
        const QRgb a = normal.pixel(12, 20); // the button body, left of its label
        const QRgb b = red.pixel(12, 20);
        QVERIFY(qRed(b) > qRed(a) + 40);
    }

    void iconAndInsignia()
    {
        QVERIFY(!QImage(resources::kProgramIcon).isNull());
        for (int rank = 1; rank <= 13; ++rank) {
            const QImage insignia(resources::rankInsigniaPath(rank));
            QVERIFY2(!insignia.isNull(), qPrintable(resources::rankInsigniaPath(rank)));
            // A black background, masked out by the rank dialog, around an emblem of its own.
            const double black = shareOf(insignia, 0xff000000);
            QVERIFY(black > 0.3 && black < 0.97);
            QCOMPARE(insignia.pixel(0, 0), 0xff000000u);
        }
        QVERIFY(!QImage(QStringLiteral(":/tifd/Privatea.png")).isNull());
        QVERIFY(!QImage(QStringLiteral(":/tifd/GeneraloftheArmy.png")).isNull());
    }

    void cardPictures()
    {
        QSet<QByteArray> distinct;
        for (int kind : {CardWild, CardCavalry, CardInfantry, CardArtillery}) {
            const QImage card(resources::cardPicturePath(kind));
            QVERIFY(!card.isNull());
            QCOMPARE(card.size(), QSize(resources::kCardWidth, resources::kCardHeight));
            distinct.insert(QByteArray(reinterpret_cast<const char *>(card.constBits()), card.sizeInBytes()));
        }
        QCOMPARE(distinct.size(), 4);
        QVERIFY(!QImage(resources::kCardBack).isNull());
    }

    void spriteStrips_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind = 1; kind <= resources::kSpriteKindCount; ++kind)
            QTest::newRow(resources::kSpriteKinds[kind].stem) << kind;
    }

    void spriteStrips()
    {
        QFETCH(int, kind);
        const resources::SpriteKind &shape = resources::kSpriteKinds[kind];
        for (int colour = 1; colour <= 10; ++colour) {
            const QString path = resources::spriteStripPath(kind, colour);
            const QImage strip(path);
            QVERIFY2(!strip.isNull(), qPrintable(path));
            QCOMPARE(strip.size(), QSize(shape.width * shape.frames, shape.height));
            // Every frame shows something on its masking colour.
            for (int frame = 1; frame <= shape.frames; ++frame) {
                const QImage cell = strip.copy((frame - 1) * shape.width, 0, shape.width, shape.height);
                const double background = shareOf(cell, shape.transparent);
                QVERIFY2(background > 0.2 && background < 0.999,
                         qPrintable(QStringLiteral("%1 frame %2: %3").arg(path).arg(frame).arg(background)));
            }
        }
    }

    void spriteNamesOfTheGame()
    {
        // The names the game uses literally, the orange explosion's exception among them.
        for (const char *path : {":/tifc/heliblauw.png", ":/tifc/rocket0lgrijs.png", ":/tifc/grootgeel2.png",
                                 ":/tifc/nukeoranje.png", ":/tifc/heliklolijf.png", ":/tifc/proproze.png"})
            QVERIFY2(!QImage(QString::fromLatin1(path)).isNull(), path);
        QVERIFY(QImage(QStringLiteral(":/tifc/grootoranje.png")).isNull());
    }

    void soundFilesAreThere()
    {
        QVERIFY(!runFolder().isEmpty());
        for (const QString &name : resources::soundFileNames()) {
            QFile onDisk(QDir(runFolder()).filePath(QStringLiteral("sounds/") + name));
            QVERIFY2(onDisk.open(QIODevice::ReadOnly), qPrintable(onDisk.fileName()));
            const QByteArray bytes = onDisk.readAll();
            QFile copy(QStringLiteral(":/sounds/") + name);
            QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(name));
            QCOMPARE(copy.readAll(), bytes);

            // 16-bit mono PCM, a short effect, not silent.
            QVERIFY(bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WAVEfmt ");
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 20), quint16(1));
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 22), quint16(1));
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 34), quint16(16));
            const quint32 rate = qFromLittleEndian<quint32>(bytes.constData() + 24);
            const quint32 dataBytes = qFromLittleEndian<quint32>(bytes.constData() + 40);
            QCOMPARE(int(dataBytes), bytes.size() - 44);
            const double seconds = dataBytes / 2.0 / rate;
            QVERIFY2(seconds > 0.2 && seconds < 4.0, qPrintable(name));
            int loud = 0;
            for (int i = 44; i + 1 < bytes.size(); i += 2)
                loud += qAbs(qFromLittleEndian<qint16>(bytes.constData() + i)) > 8000 ? 1 : 0;
            QVERIFY2(loud > 50, qPrintable(name));
        }
    }

    void everySoundTheGameCanPlayExists()
    {
        const QStringList made = resources::soundFileNames();
        QSet<QString> asked;
        for (int animations : {0, 1})
            for (int fastest : {0, 1})
                for (int event = 0; event <= 12; ++event)
                    for (int colour = 0; colour <= kMaxPlayers; ++colour)
                        for (int count = 1; count <= 5; ++count) {
                            animationsEnabled = animations;
                            speedFlag96 = fastest;
                            const QString file = soundFileFor(event, colour, count);
                            if (!file.isEmpty())
                                asked.insert(file);
                        }
        QVERIFY(asked.size() >= 20);
        for (const QString &file : asked) {
            QVERIFY2(file.startsWith(QStringLiteral("sounds/")), qPrintable(file));
            QVERIFY2(made.contains(file.mid(7)), qPrintable(file));
        }
    }
};

TARVAN_TEST_MAIN(TestWindowArt)
#include "test_window_art.moc"
