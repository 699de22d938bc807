// Draws every picture and sound of the game from the game's own data and writes the resource
// list that is compiled into the program. Usage: tarvan_artgen <art folder> <run folder>

#include "ArtOutput.h"
#include "Icons.h"
#include "MapPictures.h"
#include "MapTextFiles.h"
#include "InterfaceArt.h"
#include "Sounds.h"

#include "state/StateReset.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarvan_artgen <art folder> <run folder>\n");
        return 2;
    }
    // The map pictures are drawn from the maps as the game builds them, with its colour tables.
    resetStateSubsystem();
    ArtOutput out(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    out.addResourceImage(QStringLiteral("tifb/Tarvan.ico"), drawProgramIcon(64), "ICO");
    addMapPictures(out);
    addMapTextFiles(out);
    writeInterfaceArt(out);
    writeSounds(out);
    return out.finish() ? 0 : 1;
}
