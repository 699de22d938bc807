// The World's land, drawn by hand around its 42 label points at the design size (954 x 632).
// The labels sit where the real places lie, with the Americas drawn narrower, so the coasts
// follow the labels rather than a true projection.

#include "MapPictures.h"

namespace {

MapOutline makeWorld()
{
    MapOutline world;
    // North America, from the Alaskan west coast round the Arctic, down the east coast, round the
    // Gulf and down the isthmus, then back up the Pacific coast.
    world.land.push_back(outlinePolygon({
        {14, 58},   {22, 44},   {40, 36},   {62, 34},   {84, 40},   {100, 46},  {118, 40},  {138, 44},
        {150, 38},  {168, 46},  {180, 58},  {196, 54},  {214, 62},  {228, 74},  {240, 92},  {246, 110},
        {240, 128}, {228, 140}, {218, 150}, {205, 158}, {188, 160}, {176, 172}, {166, 190}, {158, 208},
        {150, 226}, {154, 244}, {146, 254}, {138, 240}, {126, 232}, {108, 236}, {96, 248},  {92, 262},
        {96, 276},  {104, 290}, {116, 304}, {128, 320}, {132, 330}, {118, 332}, {104, 318}, {88, 300},
        {72, 284},  {56, 270},  {40, 258},  {30, 244},  {24, 226},  {22, 206},  {24, 186},  {26, 168},
        {28, 150},  {32, 132},  {30, 118},  {22, 104},  {14, 92},   {10, 76},
    }));
    // Hudson Bay, open to the Arctic.
    world.water.push_back(outlinePolygon({{150, 36}, {190, 38}, {200, 60}, {206, 84}, {198, 100}, {178, 104}, {164, 100},
                                          {150, 88}, {140, 70}, {142, 50}}));
    // Greenland, Baffin Island and the Arctic islands.
    world.land.push_back(outlinePolygon({{288, 22}, {318, 12}, {352, 16}, {374, 26}, {362, 46}, {344, 64}, {324, 82},
                                         {306, 78}, {296, 60}, {284, 40}}));
    world.land.push_back(outlinePolygon({{226, 34}, {254, 38}, {266, 54}, {258, 72}, {242, 68}, {230, 52}}));
    world.land.push_back(outlinePolygon({{104, 18}, {142, 12}, {160, 22}, {150, 30}, {118, 30}}));
    // Cuba.
    world.land.push_back(outlinePolygon({{124, 262}, {150, 262}, {166, 270}, {160, 274}, {130, 270}}));

    // South America.
    world.land.push_back(outlinePolygon({
        {122, 326}, {140, 318}, {160, 322}, {180, 330}, {200, 340}, {222, 356}, {240, 370}, {256, 386},
        {260, 402}, {252, 420}, {242, 440}, {234, 460}, {222, 480}, {212, 500}, {206, 520}, {202, 544},
        {196, 566}, {188, 586}, {178, 604}, {168, 614}, {160, 604}, {156, 584}, {152, 560}, {148, 536},
        {144, 510}, {138, 486}, {132, 464}, {124, 442}, {118, 420}, {112, 398}, {108, 376}, {110, 354},
        {114, 338},
    }));

    // Africa and Madagascar.
    world.land.push_back(outlinePolygon({
        {352, 222}, {372, 214}, {392, 218}, {412, 222}, {440, 226}, {470, 228}, {496, 226}, {512, 230},
        {522, 236}, {526, 252}, {534, 272}, {546, 292}, {560, 306}, {578, 312}, {590, 314}, {578, 332},
        {566, 350}, {556, 372}, {548, 396}, {540, 420}, {530, 444}, {520, 466}, {508, 488}, {496, 508},
        {482, 524}, {466, 530}, {452, 522}, {442, 504}, {436, 480}, {430, 456}, {426, 432}, {420, 408},
        {414, 386}, {404, 370}, {388, 362}, {370, 358}, {354, 350}, {342, 336}, {336, 318}, {334, 298},
        {338, 278}, {344, 258}, {346, 240},
    }));
    world.land.push_back(outlinePolygon({{552, 436}, {572, 442}, {580, 466}, {572, 494}, {554, 506}, {544, 484}, {546, 456}}));

    // Eurasia: from Spain up the Atlantic coast, Norway, the Arctic coast to the Bering Strait,
    // down the Pacific coast to Malaya, round India and Arabia, and back along the Mediterranean.
    world.land.push_back(outlinePolygon({
        {356, 176}, {364, 162}, {366, 152}, {380, 148}, {396, 150}, {410, 146}, {420, 138}, {428, 126},
        {426, 112}, {420, 98},  {426, 84},  {438, 70},  {454, 58},  {472, 50},  {492, 50},  {506, 56},
        {520, 60},  {540, 52},  {570, 46},  {600, 42},  {630, 40},  {660, 34},  {690, 32},  {720, 26},
        {750, 24},  {780, 28},  {810, 34},  {840, 40},  {866, 46},  {888, 54},  {880, 66},  {858, 70},
        {844, 78},  {848, 92},  {842, 108}, {832, 118}, {822, 128}, {812, 136}, {806, 150}, {800, 162},
        {806, 174}, {814, 186}, {802, 192}, {792, 202}, {794, 216}, {788, 232}, {780, 248}, {774, 262},
        {780, 274}, {788, 290}, {784, 306}, {778, 320}, {776, 336}, {770, 344}, {764, 330}, {760, 316},
        {750, 310}, {744, 306}, {732, 298}, {716, 290}, {704, 296}, {698, 308}, {690, 322}, {682, 334},
        {674, 336}, {666, 320}, {658, 300}, {650, 282}, {644, 268}, {634, 258}, {620, 256}, {610, 262},
        {620, 276}, {610, 292}, {596, 300}, {580, 306}, {566, 294}, {554, 274}, {542, 254}, {530, 236},
        {524, 226}, {526, 210}, {520, 204}, {506, 200}, {498, 192}, {490, 196}, {484, 204}, {478, 200},
        {474, 190}, {466, 180}, {458, 174}, {460, 184}, {468, 196}, {474, 206}, {470, 212}, {462, 212},
        {456, 204}, {450, 192}, {440, 182}, {430, 176}, {416, 178}, {404, 180}, {398, 190}, {390, 200},
        {374, 206}, {360, 204}, {354, 190},
    }));
    // Inland seas and bays of Eurasia.
    world.water.push_back(outlinePolygon({{452, 118}, {462, 104}, {466, 88}, {476, 82}, {480, 96}, {474, 108},
                                          {486, 110}, {492, 122}, {480, 130}, {462, 128}, {448, 124}})); // Baltic
    world.water.push_back(outlinePolygon({{494, 166}, {512, 160}, {532, 164}, {536, 176}, {518, 184}, {498, 180}})); // Black Sea
    world.water.push_back(outlinePolygon({{510, 46}, {528, 46}, {534, 70}, {522, 80}, {510, 72}})); // White Sea
    world.water.push_back(outlinePolygon({{416, 106}, {438, 107}, {452, 114}, {454, 124}, {444, 127}, {432, 119},
                                          {416, 116}})); // Skagerrak and Kattegat
    world.water.push_back(outlinePolygon({{558, 150}, {570, 148}, {576, 168}, {568, 186}, {556, 176}})); // Caspian
    world.water.push_back(outlinePolygon({{596, 234}, {612, 240}, {624, 254}, {608, 254}, {592, 244}})); // Persian Gulf
    world.water.push_back(outlinePolygon({{788, 98}, {814, 96}, {822, 112}, {806, 126}, {790, 122}, {782, 108}})); // Okhotsk

    // Islands of Europe and Asia.
    world.land.push_back(outlinePolygon({{344, 74}, {360, 67}, {380, 70}, {386, 84}, {368, 94}, {348, 90}}));  // Iceland
    world.land.push_back(outlinePolygon({{384, 94}, {400, 92}, {406, 104}, {412, 118}, {414, 132}, {400, 140},
                                         {384, 138}, {388, 126}, {380, 114}, {382, 102}}));                   // Britain
    world.land.push_back(outlinePolygon({{364, 108}, {376, 106}, {378, 122}, {366, 126}}));                   // Ireland
    world.land.push_back(outlinePolygon({{846, 148}, {858, 152}, {866, 168}, {870, 188}, {862, 206}, {850, 210},
                                         {842, 196}, {838, 176}, {840, 160}}));                               // Japan
    world.land.push_back(outlinePolygon({{688, 338}, {696, 340}, {698, 352}, {690, 354}}));                   // Ceylon
    world.land.push_back(outlinePolygon({{816, 274}, {824, 278}, {828, 300}, {820, 304}, {814, 290}}));       // Philippines
    world.land.push_back(outlinePolygon({{470, 14}, {486, 12}, {488, 24}, {474, 26}}));                       // Svalbard
    world.land.push_back(outlinePolygon({{556, 28}, {574, 18}, {582, 24}, {566, 38}}));                       // Novaya Zemlya

    // The Indies, New Guinea, Australia and New Zealand.
    world.land.push_back(outlinePolygon({{784, 344}, {806, 336}, {822, 346}, {824, 368}, {812, 382}, {792, 380},
                                         {782, 364}}));                                                       // Borneo
    world.land.push_back(outlinePolygon({{758, 328}, {768, 326}, {786, 346}, {790, 360}, {782, 362}, {764, 342}})); // Sumatra
    world.land.push_back(outlinePolygon({{786, 390}, {812, 388}, {834, 392}, {834, 398}, {810, 398}, {788, 396}})); // Java
    world.land.push_back(outlinePolygon({{834, 350}, {844, 346}, {846, 366}, {838, 372}}));                   // Celebes
    world.land.push_back(outlinePolygon({{864, 384}, {886, 380}, {910, 382}, {934, 392}, {944, 404}, {926, 412},
                                         {904, 410}, {880, 406}, {866, 396}}));                               // New Guinea
    world.land.push_back(outlinePolygon({
        {776, 468}, {796, 456}, {818, 450}, {836, 444}, {850, 452}, {862, 446}, {872, 434}, {880, 444},
        {886, 462}, {900, 474}, {914, 488}, {924, 506}, {922, 528}, {910, 546}, {892, 560}, {868, 566},
        {852, 556}, {836, 550}, {818, 556}, {798, 558}, {780, 548}, {770, 530}, {766, 508}, {768, 488},
    }));                                                                                               // Australia
    world.land.push_back(outlinePolygon({{878, 576}, {892, 576}, {890, 590}, {880, 588}}));                   // Tasmania
    world.land.push_back(outlinePolygon({{934, 540}, {944, 548}, {940, 570}, {928, 566}}));                   // New Zealand
    return world;
}

} // namespace

const MapOutline &worldOutline()
{
    static const MapOutline world = makeWorld();
    return world;
}

const MapOutline *mapOutlineFor(MapFlag flag)
{
    // One line per map whose land is drawn by hand; every other map grows its land from its links.
    switch (flag) {
    case MapWorld:
        return &worldOutline();
    case MapGreatBritain:
        return &greatBritainOutline();
    case MapScandinavia:
        return &scandinaviaOutline();
    case MapRealWorld:
        return &realWorldOutline();
    case MapEurope:
        return &europeOutline();
    case MapNorthAmerica:
        return &northAmericaOutline();
    case MapChina:
        return &chinaOutline();
    case MapJapan:
        return &japanOutline();
    case MapAustralia:
        return &australiaOutline();
    default:
        return nullptr;
    }
}
