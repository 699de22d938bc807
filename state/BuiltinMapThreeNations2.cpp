#include "state/BuiltinMaps.h"

#include "state/MapFile.h"

// Three Nations, second map: each of the three nations on an island of its own, three
// provinces (continents) each, with straits between the islands.
// Written by tools/authoring/moremaps_threenations2.py, which checks the map's rules;
// change the script, not this file.

namespace {

const char *const kThreeNations2Lines[] = {
    "[map]",
    "ThreeNations2",
    "",
    "[player names]",
    "22 466",
    "",
    "[smilies and codes]",
    "N",
    "",
    "[continents]",
    "4 Varn_Highlands 1 2 3 4 5 6 7 8",
    "4 Varn_Marches 9 10 11 12 13 14 15",
    "4 Varn_Coast 16 17 18 19 20 21 22",
    "5 Ostry_Forest 23 24 25 26 27 28 29 30",
    "4 Ostry_Lakes 31 32 33 34 35 36 37 38",
    "3 Ostry_Plains 39 40 41 42 43 44",
    "4 Sudal_Vineyards 45 46 47 48 49 50 51",
    "4 Sudal_Dunes 52 53 54 55 56 57 58 59",
    "4 Sudal_Hills 60 61 62 63 64 65 66",
    "",
    "[territories]",
    "1 vha 135 124 3 4 17 19 20",
    "2 vhb 64 201 4 5 19",
    "3 vhc 194 158 1 4 6 10 20 22",
    "4 vhd 131 192 1 2 3 5 6 7 19",
    "5 vhe 91 260 2 4 7",
    "6 vhf 216 220 3 4 7 8 10 12 14",
    "7 vhg 151 255 4 5 6 8",
    "8 vhh 197 290 6 7 14 46",
    "9 vma 323 101 10 11 21 22",
    "10 vmb 262 158 3 6 9 11 12 22",
    "11 vmc 334 161 9 10 12 13",
    "12 vmd 292 217 6 10 11 13 14 15 45",
    "13 vme 382 197 11 12 15 23",
    "14 vmf 262 276 6 8 12 15",
    "15 vmg 341 263 12 13 14 28",
    "16 vca 195 23 17 18 20 22",
    "17 vcb 140 57 1 16 19 20",
    "18 vcc 255 18 16 21 22",
    "19 vcd 74 116 1 2 4 17",
    "20 vce 196 91 1 3 16 17 22",
    "21 vcf 304 52 9 18 22",
    "22 vcg 254 93 3 9 10 16 18 20 21",
    "23 ofa 590 162 13 24 25 27 40",
    "24 ofb 656 142 23 26 27 40 42",
    "25 ofc 593 220 23 27 28 48",
    "26 ofd 721 165 24 27 29 34 42 44",
    "27 ofe 660 205 23 24 25 26 28 29",
    "28 off 627 263 15 25 27 29 30",
    "29 ofg 716 238 26 27 28 30 34 38",
    "30 ofh 690 297 28 29 38",
    "31 ola 839 100 32 33 43 44",
    "32 olb 892 120 31 33 35",
    "33 olc 835 172 31 32 34 35 36 37 44",
    "34 old 777 211 26 29 33 37 38 44",
    "35 ole 917 175 32 33 36",
    "36 olf 881 227 33 35 37",
    "37 olg 825 262 33 34 36 38",
    "38 olh 761 296 29 30 34 37 52",
    "39 opa 698 13 41 42",
    "40 opb 630 87 23 24 42",
    "41 opc 751 33 39 42 43 44",
    "42 opd 705 90 24 26 39 40 41 44",
    "43 ope 799 57 31 41 44",
    "44 opf 773 125 26 31 33 34 41 42 43",
    "45 sva 366 355 12 46 47 49",
    "46 svb 309 407 8 45 49 50",
    "47 svc 443 364 45 48 49 51",
    "48 svd 517 358 25 47 51 53",
    "49 sve 399 427 45 46 47 50 51 61",
    "50 svf 342 477 46 49 60 62",
    "51 svg 490 427 47 48 49 53 61",
    "52 sda 617 371 38 53 55",
    "53 sdb 564 418 48 51 52 55 56",
    "54 sdc 710 401 55",
    "55 sdd 647 444 52 53 54 56 57 58",
    "56 sde 584 486 53 55 58 59 64",
    "57 sdf 702 501 55 58",
    "58 sdg 647 529 55 56 57 59",
    "59 sdh 594 561 56 58 64 66",
    "60 sha 314 546 50 62 63",
    "61 shb 452 484 49 51 62 64",
    "62 shc 406 531 50 60 61 63 65",
    "63 shd 378 588 60 62 65",
    "64 she 517 521 56 59 61 65 66",
    "65 shf 467 583 62 63 64 66",
    "66 shg 544 594 59 64 65",
};

// Chains across the map that the computer players' route search starts from.
const std::initializer_list<qint32> kThreeNations2Routes[] = {
    {19, 4, 6, 8, 46, 49, 51, 53, 55, 57},
    {32, 33, 34, 38, 52, 53, 51, 49, 50, 60},
    {40, 23, 25, 48, 51, 61, 62, 65},
    {5, 4, 6, 12, 15, 28, 29, 34, 33, 36},
    {19, 4, 6, 12, 15, 28, 29, 34, 33, 32},
    {60, 50, 49, 51, 53, 55, 57},
    {19, 4, 6, 8, 46, 50, 60},
    {32, 33, 34, 38, 52, 55, 57},
    {4, 6, 12, 15, 28, 29, 34, 33},
    {12, 13, 23, 24, 42},
    {20, 3, 6, 8, 46, 49},
    {27, 25, 48, 53, 55},
    {33, 34, 38, 52, 53, 51, 61, 62},
    {42, 24, 23, 13, 12, 6, 4},
};

} // namespace

const BuiltinMap threeNations2Map = {MapThreeNationsB, "3Nations2",
                                     [] { appendMapLines(kThreeNations2Lines); },
                                     [] { appendRoutes(kThreeNations2Routes); },
                                     threeNationsContinentNames, 22, 466};

void buildThreeNationsMap2()
{
    buildBuiltinMap(threeNations2Map);
}
