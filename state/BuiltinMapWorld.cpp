#include "state/BuiltinMaps.h"

#include "state/MapFile.h"

// The World: six continents named and shaped after the real ones, 42 territories placed at the
// real places' latitude and longitude, with the usual sea links (Alaska - Kamchatka, Greenland -
// Iceland, Brazil - North Africa, Central America - Venezuela, Siam - Indonesia).

namespace {

const char *const kWorldLines[] = {
    "[map]",
    "World",
    "",
    "[player names]",
    "262 440",
    "",
    "[smilies and codes]",
    "N",
    "",
    "[continents]",
    "5 North_America 1 2 3 4 5 6 7 8 9",
    "2 South_America 10 11 12 13",
    "3 Africa 14 15 16 17 18 19",
    "5 Europe 20 21 22 23 24 25 26",
    "7 Asia 27 28 29 30 31 32 33 34 35 36 37 38",
    "2 Australia 39 40 41 42",
    "",
    "[territories]",
    "1 ala 53 61 2 4 36",
    "2 nwt 98 72 1 4 5 3",
    "3 grl 318 42 2 5 6 20",
    "4 alb 79 116 1 2 5 7",
    "5 ont 150 117 2 3 4 6 7 8",
    "6 que 213 117 3 5 8",
    "7 wus 52 178 4 5 8 9",
    "8 eus 117 194 5 6 7 9",
    "9 cam 52 244 7 8 10",
    "10 ven 136 343 9 11 12",
    "11 per 175 453 10 12 13",
    "12 bra 217 421 10 11 13 14",
    "13 arg 182 536 11 12",
    "14 naf 376 264 12 15 16 17 25 26",
    "15 egy 492 257 14 17 26 27",
    "16 caf 453 356 14 17 18",
    "17 eaf 531 338 14 15 16 18 19 27",
    "18 zaf 471 491 16 17 19",
    "19 mad 560 470 17 18",
    "20 ice 362 81 3 21 23",
    "21 sca 442 97 20 22 23 24",
    "22 ukr 515 125 21 24 26 27 28 29",
    "23 gbr 393 117 20 21 24 25",
    "24 neu 442 139 21 22 23 25 26",
    "25 weu 385 178 14 23 24 26",
    "26 seu 474 167 14 15 22 24 25 27",
    "27 mea 540 215 15 17 22 26 28 31",
    "28 afg 592 169 22 27 29 30 31",
    "29 ura 613 97 22 28 30 32",
    "30 chi 751 216 28 29 31 32 35 38",
    "31 ind 672 259 27 28 30 38",
    "32 sib 693 87 29 30 33 34 35",
    "33 yak 748 53 32 34 36",
    "34 irk 752 90 32 33 35 36",
    "35 mon 773 141 30 32 34 36 37",
    "36 kam 810 71 1 33 34 35 37",
    "37 jap 851 178 35 36",
    "38 sia 757 285 30 31 39",
    "39 ido 802 367 38 40 41",
    "40 nwg 898 398 39 41 42",
    "41 wau 802 505 39 40 42",
    "42 oau 890 508 40 41",
};
// Chains across the map that the computer players' route search starts from.
const std::initializer_list<qint32> kWorldRoutes[] = {
    {13, 11, 10, 9, 7, 4, 1, 36, 35, 30, 38, 39, 41, 42},
    {19, 18, 16, 14, 25, 23, 20, 3, 2, 1, 36, 37},
    {13, 12, 14, 15, 27, 28, 29, 32, 33, 36, 37},
    {42, 40, 39, 38, 31, 27, 26, 24, 21, 20, 3, 6, 8, 9, 10, 12},
    {41, 39, 38, 30, 35, 34, 33, 36, 1, 2, 5, 8, 9},
    {18, 17, 27, 31, 38, 39, 40},
    {19, 17, 15, 26, 22, 28, 30, 35, 37},
    {12, 14, 26, 27, 31, 30, 32, 34, 36},
    {11, 12, 14, 17, 27, 28, 29, 32, 33},
    {25, 24, 22, 29, 32, 35, 37},
    {23, 21, 22, 28, 31, 38, 39, 41},
    {7, 8, 6, 3, 20, 21, 22, 27, 15, 14, 16, 18, 19},
    {4, 5, 3, 20, 23, 25, 14, 12, 11, 13},
    {42, 41, 39, 38, 30, 28, 22, 24, 26, 15, 17, 19},
    {37, 36, 34, 32, 29, 22, 26, 27, 17, 16, 18},
    {33, 34, 35, 30, 31, 27, 15, 14, 12, 10, 9},
};

const char *const kWorldContinentNames[] = {"North America", "South America", "Africa", "Europe",
                                            "Asia", "Australia", nullptr};

} // namespace

const BuiltinMap worldMap = {MapWorld, "World", [] { appendMapLines(kWorldLines); },
                             [] { appendRoutes(kWorldRoutes); }, kWorldContinentNames, 262, 440};
