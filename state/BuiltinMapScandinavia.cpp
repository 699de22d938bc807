#include "state/BuiltinMaps.h"

#include "state/MapFile.h"

// Scandinavia: Norway, Sweden, Finland, Denmark, Iceland with the Faroes, the Baltic states and
// Russia's north-west, by their real regions. Labels stand at real places inside their
// regions; links follow the real borders and the ferries and bridges of the Baltic and the
// North Atlantic.
// Written by tools/authoring/moremaps_scandinavia.py, which checks the map's rules;
// change the script, not this file.

namespace {

const char *const kScandinaviaLines[] = {
    "[map]",
    "Scandinavia",
    "",
    "[player names]",
    "240 20",
    "",
    "[smilies and codes]",
    "N",
    "",
    "[continents]",
    "2 Iceland 1 2 3 4 5 6",
    "3 Northern_Norway 7 8 9 10 11",
    "4 Western_Norway 12 13 14 15 16 17",
    "4 Eastern_Norway 18 19 20 21 22 23",
    "5 Norrland 24 25 26 27 28 29 30",
    "4 Svealand 31 32 33 34 35 36",
    "5 Gotaland 37 38 39 40 41 42 43 44",
    "3 Lapland 45 46 47 48",
    "6 Finland 49 50 51 52 53 54 55 56 57",
    "3 Denmark 58 59 60 61 62 63",
    "2 Estonia 64 65 66",
    "3 Latvia 67 68 69 70",
    "3 Lithuania 71 72 73 74 75",
    "2 Russian_North 76 77 78",
    "",
    "[territories]",
    "1 wfj 37 203 2 4",
    "2 rey 53 255 1 3 4",
    "3 sel 89 264 2 5",
    "4 akr 107 208 1 2 5",
    "5 egi 162 225 3 4 6",
    "6 far 283 328 5 16",
    "7 fmk 782 56 8 45 78",
    "8 tro 695 83 7 9 24 45",
    "9 lof 618 116 8 10",
    "10 bod 635 154 9 11 24",
    "11 hgl 599 198 10 12 26",
    "12 ntr 582 248 11 13 28",
    "13 trd 554 287 12 14 22 23 28",
    "14 mor 505 309 13 15 23",
    "15 sog 494 348 14 16 23",
    "16 ber 485 384 6 15 17 19",
    "17 rog 488 431 16 18 19",
    "18 agd 513 445 17 19 58",
    "19 tel 526 412 16 17 18 20 21 23",
    "20 osl 560 392 19 21 22 23",
    "21 ost 571 421 19 20 34 37",
    "22 inn 569 360 13 20 23 28 31 34",
    "23 opp 532 346 13 14 15 19 20 22",
    "24 kir 707 133 8 10 25 26 45",
    "25 lul 732 199 24 26 27 46",
    "26 lyc 657 231 11 24 25 27 28",
    "27 ume 704 260 25 26 29 49",
    "28 jam 616 292 12 13 22 26 29 30 31",
    "29 vnl 663 304 27 28 30",
    "30 gav 649 345 28 29 31 32",
    "31 dal 615 367 22 28 30 32 34 35",
    "32 upp 665 394 30 31 33 35 57",
    "33 sto 674 421 32 36 41 57",
    "34 var 594 404 21 22 31 35 37",
    "35 ore 629 419 31 32 34 36 37 38",
    "36 sod 652 433 33 35 38",
    "37 got 583 461 21 34 35 38 39 42 58",
    "38 ogl 632 451 35 36 37 39 40",
    "39 smd 620 487 37 38 40 42 43 44",
    "40 kal 647 495 38 39 41 44",
    "41 gtl 681 482 33 40 68",
    "42 hal 596 500 37 39 43",
    "43 skn 607 532 39 42 44 62 63",
    "44 ble 630 521 39 40 43 73",
    "45 ina 814 96 7 8 24 46 78",
    "46 lap 795 160 25 45 47 48 78",
    "47 oul 804 230 46 48 49 53",
    "48 kai 839 252 46 47 54 55 77",
    "49 vas 740 296 27 47 50 51 53",
    "50 tam 762 343 49 51 52 53",
    "51 tku 739 377 49 50 52 57",
    "52 hki 782 383 50 51 53 56 64",
    "53 jyv 793 319 47 49 50 52 54",
    "54 kuo 823 299 48 53 55 56",
    "55 kar 864 299 48 54 77",
    "56 kym 823 365 52 54 76 77",
    "57 ala 704 390 32 33 51",
    "58 aal 546 497 18 37 59",
    "59 mid 535 526 58 60",
    "60 syd 529 556 59 61",
    "61 fyn 555 556 60 62",
    "62 sjl 579 548 43 61 63",
    "63 brn 624 563 43 62",
    "64 tal 781 426 52 65 66",
    "65 tar 809 451 64 69 76",
    "66 saa 743 451 64 68",
    "67 rig 770 507 68 69 70 74",
    "68 kur 731 507 41 66 67 73 74",
    "69 vid 798 487 65 67 70",
    "70 lat 814 526 67 69 71",
    "71 vil 790 578 70 72 74",
    "72 kau 765 568 71 73 74 75",
    "73 kla 732 543 44 68 72 74 75",
    "74 sia 759 534 67 68 71 72 73",
    "75 kgd 720 576 72 73",
    "76 spb 879 404 56 65 77",
    "77 rka 911 299 48 55 56 76 78",
    "78 kol 908 113 7 45 46 77",
};

// Chains across the map that the computer players' route search starts from.
const std::initializer_list<qint32> kScandinaviaRoutes[] = {
    {1, 4, 5, 6, 16, 19, 21, 37, 39, 44, 73, 72, 71},
    {78, 45, 24, 26, 28, 13, 14, 15, 16, 6, 5, 3},
    {9, 8, 24, 26, 28, 22, 34, 37, 58, 59, 60},
    {2, 3, 5, 6, 16, 15, 14, 13, 28, 26, 24, 45, 78, 77},
    {1, 4, 5, 6, 16, 15, 14, 13, 28, 26, 24, 45, 78},
    {3, 5, 6, 16, 19, 21, 37, 39, 44, 73, 72, 71},
    {1, 2, 3},
    {78, 77, 76, 65, 69, 70, 71},
    {3, 5, 6, 16, 15, 14, 13, 28, 26, 25, 46},
    {10, 11, 26, 27, 49, 50},
    {15, 16, 17, 18, 58, 59, 60, 61},
    {20, 22, 31, 32, 57, 51, 52, 64},
    {26, 28, 30, 32, 33, 41, 68, 67},
    {35, 37, 39, 44, 73, 72},
    {39, 37, 35, 32, 57, 51, 52, 56, 77},
    {46, 25, 26, 28, 13, 14, 15, 16, 6, 5, 3},
    {50, 49, 27, 25, 24, 10},
    {61, 60, 59, 58, 18, 17, 16, 15},
};

const char *const kScandinaviaContinentNames[] = {
    "Iceland", "Northern Norway", "Western Norway", "Eastern Norway", "Norrland", "Svealand",
    "Gotaland", "Lapland", "Finland", "Denmark", "Estonia", "Latvia", "Lithuania", "Russian North",
    nullptr};

} // namespace

const BuiltinMap scandinaviaMap = {MapScandinavia, "Scandinavia",
                                   [] { appendMapLines(kScandinaviaLines); },
                                   [] { appendRoutes(kScandinaviaRoutes); },
                                   kScandinaviaContinentNames, 240, 20};

void buildScandinaviaMap()
{
    buildBuiltinMap(scandinaviaMap);
}
