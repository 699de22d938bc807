#include "state/BuiltinMaps.h"

#include "state/MapFile.h"

// Three Nations, first map: one great land shared by three nations whose borders meet in its
// middle; each nation is three provinces (continents).
// Written by tools/authoring/moremaps_threenations1.py, which checks the map's rules;
// change the script, not this file.

namespace {

const char *const kThreeNations1Lines[] = {
    "[map]",
    "ThreeNations1",
    "",
    "[player names]",
    "778 470",
    "",
    "[smilies and codes]",
    "N",
    "",
    "[continents]",
    "4 Varn_Highlands 1 2 3 4 5 6 7 8 9 10",
    "5 Varn_Marches 11 12 13 14 15 16 17 18 19",
    "5 Varn_Coast 20 21 22 23 24 25 26 27 28 29",
    "5 Ostry_Forest 30 31 32 33 34 35 36 37 38",
    "4 Ostry_Lakes 39 40 41 42 43 44 45 46",
    "5 Ostry_Plains 47 48 49 50 51 52 53 54",
    "4 Sudal_Vineyards 55 56 57 58 59 60 61",
    "4 Sudal_Dunes 62 63 64 65 66 67 68",
    "5 Sudal_Hills 69 70 71 72 73 74 75 76 77 78",
    "",
    "[territories]",
    "1 vha 115 256 2 3 15",
    "2 vhb 178 290 1 3 17 21",
    "3 vhc 116 335 1 2 4 5",
    "4 vhd 65 390 3 5",
    "5 vhe 140 401 3 4 6",
    "6 vhf 168 465 5 7 8 9",
    "7 vhg 105 499 6 9",
    "8 vhh 237 461 6 10 27 29",
    "9 vhi 176 533 6 7 10",
    "10 vhj 246 542 8 9 29",
    "11 vma 193 93 12 13 14",
    "12 vmb 260 65 11 16 30",
    "13 vmc 131 129 11 15",
    "14 vmd 226 153 11 15 16 17 18",
    "15 vme 160 187 1 13 14 17",
    "16 vmf 291 123 12 14 18 32",
    "17 vmg 211 227 2 14 15 18 19",
    "18 vmh 286 190 14 16 17 19 20",
    "19 vmi 269 254 17 18 20 22",
    "20 vca 338 247 18 19 22 23 24 37",
    "21 vcb 231 336 2 22",
    "22 vcc 296 312 19 20 21 24 25",
    "23 vcd 416 272 20 24 26 38 52",
    "24 vce 364 312 20 22 23 25 26",
    "25 vcf 325 369 22 24 27 28",
    "26 vcg 423 349 23 24 28",
    "27 vch 313 434 8 25 28 29 56",
    "28 vci 379 406 25 26 27 55 56",
    "29 vcj 296 497 8 10 27 56 58",
    "30 ofa 327 40 12 31",
    "31 ofb 401 42 30 33",
    "32 ofc 358 125 16 33 37",
    "33 ofd 423 109 31 32 35",
    "34 ofe 549 75 35 36 47",
    "35 off 488 111 33 34 47",
    "36 ofg 620 68 34 39 48",
    "37 ofh 379 191 20 32 38",
    "38 ofi 445 209 23 37 49 52",
    "39 ola 675 115 36 40 48 51",
    "40 olb 712 173 39 41 42 51",
    "41 olc 774 181 40 43 44",
    "42 old 696 243 40 43 51 54 62",
    "43 ole 764 249 41 42 44 46 62",
    "44 olf 825 221 41 43 45 46",
    "45 olg 880 248 44 46 65",
    "46 olh 815 298 43 44 45 64 66",
    "47 opa 543 148 34 35 48 49 50",
    "48 opb 609 137 36 39 47 50 51",
    "49 opc 512 209 38 47 50 52 53",
    "50 opd 583 204 47 48 49 51 53 54",
    "51 ope 649 192 39 40 42 48 50 54",
    "52 opf 483 282 23 38 49 53 69",
    "53 opg 552 264 49 50 52 54 69 70",
    "54 oph 629 257 42 50 51 53 70 72",
    "55 sva 434 441 28 56 57 59",
    "56 svb 373 476 27 28 29 55 58 59",
    "57 svc 498 444 55 60 71 75",
    "58 svd 346 540 29 56",
    "59 sve 436 512 55 56 60",
    "60 svf 519 498 57 59 61 75",
    "61 svg 553 545 60 77",
    "62 sda 728 306 42 43 63 64 72",
    "63 sdb 710 372 62 64 67 72 74",
    "64 sdc 777 357 46 62 63 66 67 68",
    "65 sdd 902 306 45 66",
    "66 sde 854 358 46 64 65 68",
    "67 sdf 744 430 63 64 68",
    "68 sdg 814 417 64 66 67",
    "69 sha 532 328 52 53 70 71 73",
    "70 shb 597 316 53 54 69 72 73",
    "71 shc 512 387 57 69 73",
    "72 shd 662 321 54 62 63 70 74",
    "73 she 580 381 69 70 71 74 75",
    "74 shf 646 390 63 72 73 76",
    "75 shg 572 449 57 60 73 76 77",
    "76 shh 657 456 74 75 77 78",
    "77 shi 616 513 61 75 76 78",
    "78 shj 690 515 76 77",
};

// Chains across the map that the computer players' route search starts from.
const std::initializer_list<qint32> kThreeNations1Routes[] = {
    {13, 11, 14, 18, 20, 23, 52, 53, 54, 42, 62, 64, 68},
    {41, 40, 42, 54, 53, 52, 23, 24, 25, 27, 8, 6, 7},
    {31, 33, 32, 37, 38, 52, 69, 71, 57, 60, 61},
    {4, 3, 2, 17, 18, 20, 23, 52, 53, 54, 42, 43, 44, 45, 65},
    {13, 11, 12, 16, 32, 33, 35, 34, 36, 39, 40, 41},
    {7, 6, 8, 27, 28, 55, 57, 71, 73, 74, 63, 64, 68},
    {13, 15, 1, 3, 5, 6, 7},
    {41, 43, 46, 64, 68},
    {5, 3, 2, 17, 18, 20, 23, 52, 53, 54, 42, 43},
    {14, 16, 32, 33, 35, 47, 50},
    {25, 27, 56, 59},
    {33, 35, 47, 48, 51, 42, 62, 64},
    {43, 42, 54, 70, 73},
    {50, 49, 38, 23, 20, 18, 17, 2, 3, 5},
};

} // namespace

const char *const threeNationsContinentNames[] = {
    "Varn Highlands", "Varn Marches", "Varn Coast", "Ostry Forest", "Ostry Lakes", "Ostry Plains",
    "Sudal Vineyards", "Sudal Dunes", "Sudal Hills", nullptr};

const BuiltinMap threeNations1Map = {MapThreeNations, "3Nations1",
                                     [] { appendMapLines(kThreeNations1Lines); },
                                     [] { appendRoutes(kThreeNations1Routes); },
                                     threeNationsContinentNames, 778, 470};

void buildThreeNationsMap1()
{
    buildBuiltinMap(threeNations1Map);
}
