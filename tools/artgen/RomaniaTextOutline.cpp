// The land of the map text Romania: the country's borders and coast, round its labels.
// Written by tools/authoring/maptext_outlines.py; change the script, not this file.

#include "MapPictures.h"

const MapOutline &romaniaTextOutline()
{
    static const MapOutline outline = {{
        // Romania, from its western tip along Hungary, Ukraine and the Prut, the Danube delta and the Black Sea, then up the Danube along Bulgaria and Serbia
        outlinePolygon({
            {32, 296}, {76, 260}, {125, 221}, {150, 182}, {185, 137}, {204, 105}, {227, 80}, {267, 60},
            {300, 57}, {338, 64}, {383, 58}, {431, 85}, {459, 83}, {494, 63}, {529, 53}, {559, 36},
            {591, 15}, {624, 35}, {650, 76}, {683, 125}, {710, 166}, {737, 254}, {728, 318}, {741, 383},
            {805, 382}, {837, 393}, {881, 419}, {866, 458}, {820, 490}, {805, 523}, {801, 546}, {793, 582},
            {788, 604}, {755, 596}, {693, 578}, {657, 558}, {625, 567}, {578, 576}, {550, 583}, {490, 621},
            {445, 608}, {410, 602}, {357, 603}, {304, 602}, {265, 577}, {246, 544}, {244, 497}, {220, 483},
            {184, 493}, {152, 474}, {128, 464}, {132, 435}, {109, 413}, {90, 388}, {78, 363}, {68, 331},
        }),
    }, {}};
    return outline;
}
