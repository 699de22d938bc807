#include "state/BuiltinMaps.h"

#include "state/MapFile.h"

// Great Britain: the counties and regions of Great Britain and Ireland, each label at a real
// place inside its region, with the real borders and the usual crossings (the North Channel,
// the Irish Sea ferries, the Minch, the Pentland Firth, the Isle of Man).
// Written by tools/authoring/moremaps_greatbritain.py, which checks the map's rules;
// change the script, not this file.

namespace {

const char *const kGreatBritainLines[] = {
    "[map]",
    "Great_Britain",
    "",
    "[player names]",
    "762 24",
    "",
    "[smilies and codes]",
    "N",
    "",
    "[continents]",
    "3 Highlands 1 2 3 4 5 6 7",
    "4 Lowlands 8 9 10 11 12 13 14 15",
    "5 Northern_England 16 17 18 19 20 21 22 23 24",
    "6 Midlands 25 26 27 28 29 30 31 32 33 34",
    "3 East_Anglia 35 36 37 38 39",
    "3 South_East 40 41 42 43 44 45",
    "3 South_West 46 47 48 49 50 51",
    "4 Wales 52 53 54 55 56 57 58",
    "4 Ulster 59 60 61 62 63 64 65 66",
    "2 Connacht 67 68 69 70",
    "4 Leinster 71 72 73 74 75 76 77",
    "3 Munster 78 79 80 81 82 83",
    "",
    "[territories]",
    "1 ork 450 43 2",
    "2 sut 386 93 1 4 5",
    "3 wis 240 112 4 7",
    "4 ros 332 131 2 3 5",
    "5 inv 364 159 2 4 6 7 8",
    "6 abe 467 152 5 8 9",
    "7 arg 321 215 3 5 8 11 13 61",
    "8 per 402 193 5 6 7 9 10 11 12",
    "9 agu 458 184 6 8 10",
    "10 fif 450 215 8 9 12",
    "11 gla 386 246 7 8 12 13 14 15",
    "12 edi 442 240 8 10 11 14",
    "13 ayr 364 272 7 11 15",
    "14 bor 461 262 11 12 15 16 17",
    "15 dum 391 290 11 13 14 17 24 65",
    "16 nor 504 281 14 17 18",
    "17 cum 450 322 14 15 16 18 19 20 24",
    "18 dur 523 309 16 17 19",
    "19 nyo 531 344 17 18 20 21 22",
    "20 lan 472 362 17 19 21 23 24",
    "21 wyo 529 380 19 20 22 23 26 27 28",
    "22 eyo 583 362 19 21 28",
    "23 man 480 388 20 21 25 26",
    "24 iom 367 342 15 17 20 65",
    "25 che 464 413 23 26 29 30 54",
    "26 der 523 409 21 23 25 27 30 31",
    "27 not 559 409 21 26 28 31",
    "28 lin 599 413 21 22 27 31 34 35 37",
    "29 shr 458 443 25 30 32 54 55",
    "30 wmi 502 439 25 26 29 31 32 33",
    "31 lei 550 438 26 27 28 30 33 34",
    "32 her 475 472 29 30 33 46 55 58",
    "33 war 529 468 30 31 32 34 45 46",
    "34 nth 566 461 28 31 33 37 39 45",
    "35 nfk 664 439 28 36 37",
    "36 sfk 666 469 35 37 38",
    "37 cam 615 458 28 34 35 36 38 39",
    "38 ess 645 494 36 37 39 40 41",
    "39 hrt 594 489 34 37 38 40 45",
    "40 lon 606 514 38 39 41 43 45",
    "41 ken 656 532 38 40 42 43",
    "42 sus 604 549 41 43 44",
    "43 sur 580 532 40 41 42 44 45",
    "44 ham 540 547 42 43 45 47 49",
    "45 oxf 553 499 33 34 39 40 43 44 46 47",
    "46 glo 494 497 32 33 45 47 48 58",
    "47 wil 510 525 44 45 46 48 49",
    "48 som 450 538 46 47 49 50 58",
    "49 dor 488 558 44 47 48 50",
    "50 dev 407 562 48 49 51",
    "51 crn 350 583 50",
    "52 ang 378 401 53 73",
    "53 gwy 399 428 52 54 55 56",
    "54 clw 432 411 25 29 53 55",
    "55 pow 429 458 29 32 53 54 56 57 58",
    "56 cer 394 463 53 55 57",
    "57 dyf 364 489 55 56 58 77",
    "58 glm 432 505 32 46 48 55 57",
    "59 don 180 297 60 62 63 67",
    "60 lda 237 297 59 61 62",
    "61 ant 280 303 7 60 62 64 65",
    "62 tyr 221 320 59 60 61 63 64",
    "63 fer 194 334 59 62 66 67",
    "64 arm 255 339 61 62 65 66 72",
    "65 dow 296 334 15 24 61 64",
    "66 cav 224 358 63 64 67 71 72",
    "67 sli 151 344 59 63 66 68 69",
    "68 may 108 362 67 69 70",
    "69 rsc 170 375 67 68 70 71",
    "70 gal 134 400 68 69 74 78 80",
    "71 wme 210 384 66 69 72 74",
    "72 mea 256 370 64 66 71 73 74",
    "73 dub 275 397 52 72 74 75",
    "74 kil 234 409 70 71 72 73 75 76 80",
    "75 wic 270 422 73 74 76 77",
    "76 kik 226 439 74 75 77 80 83",
    "77 wex 256 455 57 75 76 83",
    "78 cla 126 428 70 79 80",
    "79 lim 140 450 78 80 81 82",
    "80 tip 183 439 70 74 76 78 79 82 83",
    "81 ker 94 478 79 82",
    "82 cor 143 485 79 80 81 83",
    "83 wat 202 469 76 77 80 82",
};
const std::initializer_list<qint32> kGreatBritainRoutes[] = {
    {3, 7, 11, 14, 17, 19, 21, 28, 37, 38, 41},
    {1, 2, 5, 7, 61, 64, 72, 74, 80, 79, 81},
    {1, 2, 5, 7, 11, 14, 17, 19, 21, 28, 34, 45, 44, 49},
    {68, 67, 66, 64, 65, 24, 20, 21, 28, 35},
    {3, 4, 2, 1},
    {81, 82, 83, 77, 57, 58, 46, 45, 40, 41},
    {3, 7, 61, 64, 72, 74, 80, 79, 81},
    {1, 2, 5, 7, 11, 14, 17, 19, 21, 28, 37, 38, 41},
    {5, 7, 61, 64, 72, 73, 52, 53, 55, 58, 48},
    {12, 14, 17, 20, 23, 25, 29, 55, 56},
    {20, 24, 65, 61, 62},
    {30, 25, 23, 20, 24, 65, 64, 66, 67},
    {37, 28, 21, 20, 24, 65, 64, 72, 74},
    {43, 45, 46, 58, 57, 77, 76, 80, 79},
    {48, 58, 55, 53, 52, 73, 72, 64, 61, 7, 5},
    {56, 53, 54, 25, 23, 20, 17, 14, 12},
    {62, 61, 65, 24, 20},
    {67, 66, 64, 65, 24, 20, 21, 26, 30},
};

const char *const kGreatBritainContinentNames[] = {
    "Highlands",
    "Lowlands",
    "Northern England",
    "Midlands",
    "East Anglia",
    "South East",
    "South West",
    "Wales",
    "Ulster",
    "Connacht",
    "Leinster",
    "Munster",
    nullptr,
};

void mapTextGreatBritain()
{
    appendMapLines(kGreatBritainLines);
}

// Chains across the map that the computer players' route search starts from.
void addGreatBritainRoutes()
{
    for (const auto &chain : kGreatBritainRoutes)
        appendRoute(chain);
}

} // namespace

const BuiltinMap greatBritainMap = {MapGreatBritain, mapTextGreatBritain, addGreatBritainRoutes,
                                    kGreatBritainContinentNames, 762, 24};

void buildGreatBritainMap()
{
    buildBuiltinMap(greatBritainMap);
}
