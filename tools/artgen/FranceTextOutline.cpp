// The land of the map text France: the mainland's coasts and borders, round its labels.
// Written by tools/authoring/maptext_outlines.py; change the script, not this file.

#include "MapPictures.h"

const MapOutline &franceTextOutline()
{
    static const MapOutline outline = {{
        // Mainland France, from Dunkirk down the Channel and the Atlantic, along the Pyrenees and the Mediterranean, up the Alps and the Rhine
        outlinePolygon({
            {400, -1}, {361, 8}, {349, 62}, {328, 80}, {273, 97}, {268, 115}, {246, 125}, {201, 117},
            {192, 96}, {153, 94}, {173, 131}, {180, 171}, {152, 171}, {104, 178}, {82, 153}, {43, 161},
            {10, 168}, {-1, 186}, {18, 202}, {5, 210}, {34, 225}, {77, 232}, {105, 250}, {127, 265},
            {143, 276}, {149, 301}, {166, 326}, {193, 344}, {196, 379}, {204, 389}, {198, 450}, {194, 499},
            {181, 538}, {173, 548}, {198, 567}, {238, 585}, {293, 589}, {352, 596}, {383, 606}, {448, 610},
            {442, 575}, {463, 552}, {500, 534}, {542, 549}, {567, 546}, {601, 567}, {629, 568}, {656, 543},
            {690, 522}, {700, 498}, {655, 476}, {660, 427}, {668, 409}, {648, 373}, {647, 334}, {608, 344},
            {609, 319}, {641, 292}, {657, 260}, {687, 254}, {689, 222}, {699, 180}, {721, 155}, {682, 144},
            {626, 119}, {587, 115}, {564, 107}, {530, 68}, {497, 82}, {468, 56}, {436, 24}, {400, -1},
        }),
    }, {}};
    return outline;
}
