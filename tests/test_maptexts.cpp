// The fifteen map texts a top-five game plays in place of a map file, each held against the
// figures its map is known by.

#include "TestSupport.h"

#include "MapChecks.h"
#include "maps/MapTexts.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"

#include <algorithm>
#include <cmath>

using namespace mapchecks;

namespace {

// What the text of one map must show. Numbers lists accept ranges written "a..b".
struct MapFacts {
    const char *tag;
    const char *fileName; // as loadMap looks it up
    MapTextFunction text;
    int lineCount;
    int territories;
    int continents;
    int networkResult; // of loadMapFile while hosting or joined
    const char *mapName;
    int panelX, panelY;
    bool smilies;
    const char *code; // every territory's code, "%03d" for the number in three digits, or
                      // nullptr when each territory has a code of its own
    // One line per continent: "bonus name members | border territories".
    const char *continentTable;
    int maxContinentSize, maxBorderCount, totalBorderCount;
    PairSet (*rulePairs)();    // the mutual pairs by the map's rules, or nullptr
    int mutualPairCount;
    const char *oneSided;      // "from-to" links the other side does not list back
    const char *histogram;     // "neighbours:territories ..."
    int ascendingRows;         // -1: not stated
    const char *blankRows;     // territory rows that end in one blank
    const char *blankContinents; // continent lines that end in one blank
    const char *quotedRows;    // territory rows word for word, one a line
    int xMin, xMax, yMin, yMax;
};

void link(PairSet &pairs, int a, int b)
{
    pairs.insert(ordered(a, b));
}

// e2: two rings, 1..58 and 59..115, joined by four bridges.
PairSet e2Pairs()
{
    PairSet pairs;
    for (int t = 1; t < 58; ++t)
        link(pairs, t, t + 1);
    for (int t = 59; t < 115; ++t)
        link(pairs, t, t + 1);
    link(pairs, 58, 1);
    link(pairs, 115, 59);
    for (const Pair &bridge : {Pair(18, 115), Pair(27, 106), Pair(36, 97), Pair(45, 88)})
        link(pairs, bridge.first, bridge.second);
    return pairs;
}

// Lines: the first and last territory of each line, and the segments that cross (each segment
// named by its first territory).
const int kLineEnds[][2] = {{1, 9},   {10, 14}, {15, 20}, {21, 27}, {28, 32}, {33, 36}, {37, 40},
                            {41, 47}, {48, 51}, {52, 55}, {56, 63}, {64, 71}, {72, 80}};
const int kLineCrossings[][2] = {{2, 21},  {4, 16},  {5, 30},  {6, 77},  {7, 12},  {8, 41},  {11, 35},
                                 {13, 53}, {15, 22}, {17, 29}, {18, 34}, {23, 69}, {25, 31}, {26, 38},
                                 {28, 33}, {39, 48}, {42, 52}, {45, 59}, {49, 54}, {50, 58}, {56, 64}};

// Lines: chains along each line, and the four territories round each crossing.
PairSet linesPairs()
{
    PairSet pairs;
    for (const auto &ends : kLineEnds)
        for (int t = ends[0]; t < ends[1]; ++t)
            link(pairs, t, t + 1);
    for (const auto &c : kLineCrossings)
        for (int a : {c[0], c[0] + 1})
            for (int b : {c[1], c[1] + 1})
                link(pairs, a, b);
    return pairs;
}

// OK83: a grid of 7 rows of 10, an eighth row under six columns, sides and corners.
PairSet ok83Pairs()
{
    PairSet pairs;
    for (int r = 1; r <= 7; ++r)
        for (int c = 1; c <= 10; ++c) {
            const int t = 10 * (r - 1) + c;
            if (c < 10)
                link(pairs, t, t + 1);
            if (r < 7)
                link(pairs, t, t + 10);
        }
    const int underRow7[][2] = {{61, 71}, {63, 72}, {65, 73}, {66, 74}, {68, 75}, {70, 76}};
    for (const auto &p : underRow7)
        link(pairs, p[0], p[1]);
    for (const Pair &p : pairsOf("73-74, 71-83, 76-82, 77-81, 78-82, 79-83, 80-82, 81-82, 81-83, "
                                 "82-83, 11-83, 21-83, 51-83, 61-83"))
        pairs.insert(p);
    for (int t = 1; t <= 10; ++t)
        link(pairs, t, t <= 6 ? 81 : 82);
    return pairs;
}

// Hex_gone_crazy: each continent repeats a pattern; 23 links join them.
PairSet hexPairs()
{
    const char *const y = "1-2, 1-4, 1-6, 2-3, 4-5, 6-7, 2-8, 3-8, 4-8, 5-8, 6-8, 7-8";
    const char *const halfY = "1-2, 1-4, 2-3, 4-5, 1-6, 2-6, 3-6, 4-6, 5-6";
    const char *const hex = "1-2, 1-3, 1-4, 2-3, 2-5, 3-6, 4-5, 4-6, 5-6";
    const char *const doubleHex = "1-2, 1-3, 1-4, 2-3, 2-5, 3-6, 4-5, 4-6, 5-6, 7-8, 7-9, 7-10, "
                                  "8-9, 8-11, 9-12, 10-11, 10-12, 11-12, 4-12";
    const char *const doubleY = "1-2, 2-4, 2-6, 3-4, 4-6, 4-8, 5-6, 6-8, 7-8, 8-10, 8-12, 9-10, "
                                "10-12, 11-12";
    const struct {
        int first;
        const char *pattern;
    } groups[] = {{1, y},        {9, y},          {17, y},   {25, y},   {33, y},     {41, halfY},
                  {47, hex},     {53, doubleHex}, {65, doubleHex},      {77, hex},   {83, hex},
                  {89, doubleY}};
    PairSet pairs;
    for (const auto &g : groups)
        for (const Pair &p : pairsOf(g.pattern))
            link(pairs, p.first + g.first - 1, p.second + g.first - 1);
    for (const Pair &p : pairsOf("8-16, 8-52, 16-24, 16-56, 16-64, 24-62, 24-70, 24-96, 24-100, "
                                 "32-46, 32-50, 32-88, 32-96, 32-98, 40-46, 40-74, 40-82, 40-98, "
                                 "40-100, 46-87, 46-98, 68-100, 76-100"))
        pairs.insert(p);
    return pairs;
}

// JustNeedTwo: parallel paths of two from each group's first to its last territory, a spur,
// and hubs that touch every first or every last member.
PairSet justNeedTwoPairs()
{
    PairSet pairs;
    auto path = [&](std::initializer_list<int> chain) {
        const QList<int> t(chain);
        for (int i = 0; i + 1 < t.size(); ++i)
            link(pairs, t[i], t[i + 1]);
    };
    for (int first : {1, 11, 35, 45, 55, 65}) { // groups of ten
        auto q = [first](int i) { return first + i - 1; };
        path({q(1), q(3), q(4), q(10)});
        path({q(1), q(5), q(6), q(10)});
        path({q(1), q(7), q(8), q(10)});
        path({q(1), q(9), q(2), q(10)});
    }
    for (int first : {21, 75}) { // L03 and R03
        auto q = [first](int i) { return first + i - 1; };
        path({q(1), q(3), q(4), q(7)});
        path({q(1), q(5), q(6), q(7)});
        path({q(2), q(7)});
    }
    path({28, 30, 29, 34}); // M01
    path({28, 32, 31, 34});
    path({33, 34});
    for (int member : {10, 20, 27, 34, 44, 54, 64, 74, 81})
        for (int hub : {82, 83, 84})
            link(pairs, hub, member);
    for (int member : {1, 11, 21, 28, 35, 45, 55, 65, 75})
        for (int hub : {85, 86, 87})
            link(pairs, hub, member);
    return pairs;
}

const MapFacts kMaps[] = {
    {"e2", "e2.txt", mapTextE2, 141, 115, 14, 0, "e2            ", 700, 100, false, "...",
     "10 1 18 115 | 18 115\n"
     "10 2 27 106 | 27 106\n"
     "10 3 36 97 | 36 97\n"
     "10 4 45 88 | 45 88\n"
     "4 5 46..58 | 46 58\n"
     "4 6 1..17 | 1 17\n"
     "7 7 19..26 | 19 26\n"
     "7 8 28..35 | 28 35\n"
     "7 9 37..44 | 37 44\n"
     "4 10 59..70 | 59 70\n"
     "4 11 71..87 | 71 87\n"
     "7 12 89..96 | 89 96\n"
     "7 13 98..105 | 98 105\n"
     "7 14 107..114 | 107 114\n",
     17, 2, 28, e2Pairs, 119, "59-61", "2:106 3:9", -1, "1..8 11 98 99 100", "",
     "1 ... 97 80 2 58 \n"
     "59 ... 186 168 60 115 61\n",
     81, 605, 80, 579},
    {"Romania", "Romania.txt", mapTextRomania, 60, 41, 7, 0, "Romania       ", 792, 41, true,
     nullptr,
     "1 Banat 1 2 | 1 2\n"
     "3 Oltenia 7..11 | 7 9 11\n"
     "6 Muntenia 22..31 | 22 24 25 26 27 30\n"
     "1 Dobrogea 12 13 | 12\n"
     "5 Moldova 14..21 | 14 20 21\n"
     "3 Crisana 3..6 | 3..6\n"
     "6 Ardeal 32..41 | 32 33 34 37 38 39\n",
     10, 6, 25, nullptr, 76, "10-9", "1:1 2:5 3:9 4:17 5:7 6:2", 41, "", "",
     "1 cs 166 415 2 7\n"
     "13 tl 799 430 12\n",
     121, 799, 62, 573},
    {"107", "107.txt", mapText107, 137, 107, 18, 6, "107           ", 325, 405, false, "xxx",
     "1 NortWestI 1..5 | 1 3 5\n"
     "5 NortWestII 6..12 | 8 10 11 12\n"
     "1 NortWestIII 13..16 | 13..16\n"
     "3 NortWestIV 17..23 | 19 20\n"
     "4 CenterNW 24..28 | 24 26 27 28\n"
     "4 CenterNE 29..33 | 29 31 32 33\n"
     "1 NorthEastI 34..38 | 35 36 38\n"
     "4 NorthEastII 39..47 | 39 40\n"
     "5 NorthEastIII 48..56 | 48 49 56\n"
     "4 CenterSE 57..61 | 57 58 59 61\n"
     "4 SouthEastI 62..66 | 62 63 64 66\n"
     "3 SouthEastII 67..71 | 68 70 71\n"
     "3 SouthEastIII 72..76 | 72 73 75\n"
     "2 SouthEastIV 77..83 | 77 78 81\n"
     "1 CenterSW 84..88 | 84 87 88\n"
     "1 SouthWestI 89..93 | 89..91\n"
     "4 SouthWestII 94..100 | 94 95 98\n"
     "5 SouthWestIII 101..107 | 101 102 103 106\n",
     9, 4, 59, nullptr, 185, "", "1:4 2:22 3:40 4:26 5:3 6:5 7:3 8:4", 60, "2 72", "",
     "2 xxx 148 34 1 3 \n"
     "40 xxx 838 168 39 42 41 71 59 28 20 94\n",
     28, 899, 28, 610},
    {"Lines", "Lines.txt", mapTextLines, 105, 80, 13, 0, "Lines         ", 830, 40, false, "xxx",
     "7 Line1 1..9 | 2..9\n"
     "3 Line2 10..14 | 11..14\n"
     "4 Line3 15..20 | 15..19\n"
     "5 Line4 21..27 | 21..27\n"
     "3 Line5 28..32 | 28..32\n"
     "2 Line6 33..36 | 33..36\n"
     "2 Line7 37..40 | 38..40\n"
     "5 Line8 41..47 | 41 42 43 45 46\n"
     "2 Line9 48..51 | 48..51\n"
     "2 Line10 52..55 | 52..55\n"
     "5 Line11 56..63 | 56..60\n"
     "5 Line12 64..71 | 64 65 69 70\n"
     "5 Line13 72..80 | 77 78\n",
     9, 8, 60, linesPairs, 151, "", "1:9 2:11 3:17 4:19 6:24", -1,
     "2 31 39 64 77 79", "2 12",
     "2 xxx 53 123 1 3 21 22 \n"
     "35 xxx 204 523 34 36 19 18 11 12\n",
     32, 892, 41, 607},
    {"Rings", "Rings.txt", mapTextRings, 124, 98, 14, 0, "Rings         ", 850, 27, true, "...",
     "5 one 1..7 | 1 4 5 6 7\n"
     "8 two 8..14 | 8..14\n"
     "8 three 15..21 | 15 17 18 19 20 21\n"
     "6 four 22..28 | 22 23 25 26 27 28\n"
     "9 five 29..35 | 29..35\n"
     "6 six 36..42 | 36..42\n"
     "8 seven 43..49 | 43 44 45 47 48 49\n"
     "8 eight 50..56 | 50..56\n"
     "8 nine 57..63 | 57..63\n"
     "7 ten 64..70 | 64 65 66 67 69 70\n"
     "9 eleven 71..77 | 71..77\n"
     "7 twelve 78..84 | 78 79 80 81 82 84\n"
     "5 thirteen 85..91 | 85 86 87 88 91\n"
     "6 fourteen 92..98 | 92 93 94 98\n",
     7, 7, 86, nullptr, 163, "", "2:27 3:24 4:37 5:8 6:2", 26, "4 28 35 42", "",
     "4 ... 377 23 3 8 9 \n"
     "51 ... 428 547 48 47 50 87 88 9\n",
     32, 899, 20, 611},
    {"Russia", "Russia.txt", mapTextRussia, 84, 65, 7, 0, "Russia        ", 10, 10, false, "xxx",
     "1 South 1..6 | 3 5 6\n"
     "8 Central 7..16 | 7 8 9 11 12 13 14\n"
     "8 NorthWest 17..25 | 20..25\n"
     "9 Volga 26..36 | 26 27 28 29 30 31 36\n"
     "5 Ural 37..42 | 37 38 39 40 42\n"
     "8 Siberia 43..56 | 43 44 45 46 47 53 55\n"
     "4 FarEast 57..65 | 61 63 64\n",
     14, 7, 38, nullptr, 144, "", "1:2 2:4 3:9 4:26 5:10 6:7 7:3 8:2 9:2", 65 - 26,
     "1 10 24 37 38 46 62", "",
     "3 xxx 72 567 2 4 64\n"
     "64 xxx 823 533 62 3\n",
     36, 868, 151, 583},
    {"Hex_gone_crazy", "Hex_gone_crazy.txt", mapTextHex_gone_crazy, 124, 100, 12, 0,
     "Hex_gone_craz ", 852, 90, true, "...",
     "5 y1 1..8 | 8\n"
     "5 y2 9..16 | 16\n"
     "5 y3 17..24 | 24\n"
     "5 y4 25..32 | 32\n"
     "5 y5 33..40 | 40\n"
     "4 half_y 41..46 | 46\n"
     "8 hex1 47..52 | 50 52\n"
     "10 dhex1 53..64 | 56 62 64\n"
     "12 dhex2 65..76 | 68 70 74 76\n"
     "5 hex2 77..82 | 82\n"
     "6 hex3 83..88 | 87 88\n"
     "15 double_y 89..100 | 96 98 100\n",
     12, 4, 21, hexPairs, -1, "", "1:6 2:17 3:54 4:10 5:4 6:1 7:2 8:1 9:1 10:1 11:3",
     100 - 29, "", "",
     "16 ... 100 395 10 11 12 13 14 15 8 56 64 24\n"
     "100 ... 522 475 99 96 98 24 68 76 40\n",
     29, 923, 70, 603},
    {"JustNeedTwo", "JustNeedTwo.txt", mapTextJustNeedTwo, 108, 87, 9, 0, "JustNeedTwo   ", 745,
     150, false, "...",
     "25 L01 1 10 | 1 10\n"
     "18 L02 11 20 | 11 20\n"
     "12 L03 21 27 | 21 27\n"
     "12 M01 28 34 | 28 34\n"
     "18 M02 35 44 | 35 44\n"
     "25 M03 45 54 | 45 54\n"
     "25 R01 55 64 | 55 64\n"
     "18 R02 65 74 | 65 74\n"
     "12 R03 75 81 | 75 81\n",
     2, 2, 18, justNeedTwoPairs, -1, "", "1:3 2:60 5:3 6:3 7:12 9:6", 87, "50", "",
     "50 ... 422 514 49 54 \n"
     "82 ... 717 57 10 20 27 34 44 54 64 74 81\n",
     34, 842, 25, 629},
    {"France", "France.txt", mapTextFrance, 121, 88, 21, 6, "France        ", 790, 50, false,
     "xxx",
     "1 Norde_Pas_de_Calais 1 2 | 1 2\n"
     "2 Picardie 3..5 | 3..5\n"
     "1 Haute_Normandie 6 7 | 6 7\n"
     "1 Basse_Normandie 8..10 | 8..10\n"
     "1 Bretagne 11..14 | 11 14\n"
     "5 Pais_de_la_Loire 15..19 | 15..19\n"
     "8 Centre 20..25 | 20..25\n"
     "2 Ile_de_France 26..28 | 26..28\n"
     "3 Champagne 29..32 | 29..32\n"
     "2 Lorraine 33..36 | 33 35 36\n"
     "1 Alsace 37 38 | 37 38\n"
     "1 Franche_Comte 39..41 | 39 41\n"
     "5 Bourgogne 42..45 | 42..45\n"
     "4 Auvergne 46..49 | 46..49\n"
     "8 Rhone_Alpes 50..57 | 50 51 52 54 55 56 57\n"
     "3 Provence_Cote_dAzur 58..63 | 58 59 62 63\n"
     "5 Languedoc 64..68 | 64..68\n"
     "9 Midi_Pyrenees 69..76 | 69..76\n"
     "3 Limousin 77..79 | 77..79\n"
     "4 Aquitaine 80..84 | 80..84\n"
     "3 Poitou_Charentes 85..88 | 85..88\n",
     8, 8, 81, nullptr, 217, "12-11, 14-11", "2:7 3:10 4:15 5:17 6:28 7:9 8:2", 18,
     "21 23 27 41 64 71 81", "",
     "12 xxx 94 181 11 14 13\n"
     "17 xxx 235 262 15 16 24 85 86 19 18 11\n",
     43, 684, 37, 596},
    {"OK83", "OK83.txt", mapTextOK83, 105, 83, 10, 0, "OK83          ", 600, 100, true, "%03d",
     "5 Row01 1..10 | 1..10\n"
     "3 Row11 11..20 | 11..20\n"
     "3 Row21 21..30 | 21..30\n"
     "3 Row31 31..40 | 31..40\n"
     "3 Row41 41..50 | 41..50\n"
     "3 Row51 51..60 | 51..60\n"
     "3 Row61 61..70 | 61..70\n"
     "5 Row71 71..76 | 71..76\n"
     "5 Sides 81..83 | 81..83\n"
     "5 Corners 77..80 | 77..80\n",
     10, 10, 83, ok83Pairs, -1, "", "1:6 2:4 3:14 4:56 8:1 9:2", -1, "62 64 67 69",
     "1..9",
     "77 077 055 045 81\n"
     "81 081 300 050 1 2 3 4 5 6 77 82 83\n",
     55, 600, 45, 435},
    {"Neighbourhood", "Neighbourhood.txt", mapTextNeighbourhood, 118, 101, 5, 0,
     "Neighbourhood ", 2, 2, false, "...",
     "3 RadarBlockingDepot 31..42 | 34 37 39 40\n"
     "7 AlienCommsFacility 16..30 | 24 26 28 30\n"
     "8 SewagePurgingPlant 1..15 | 1 2 12 13\n"
     "9 WarWidowRetireHome 63..81 | 63..81\n"
     "10 Dentist 43..62 | 44 60 62\n",
     20, 19, 34, nullptr, 150, "", "1:16 2:38 3:22 4:8 5:6 6:3 7:5 8:1 9:1 10:1", 101, "", "",
     "1 ... 328 92 2 3 30 62 85\n"
     "95 ... 820 605 71 74 75 77 78 79 80 81 92 93\n",
     27, 918, 46, 605},
    {"coconutz", "coconutz.txt", mapTextCoconutz, 115, 93, 10, 0, "coconutz      ", 15, 18, true,
     "...",
     "2 NUTS1 1..12 | 1 2 8 12\n"
     "6 TRUNK 13..21 | 13 14 16 20 21\n"
     "5 NUTS2 22..41 | 23 26 27 30 39 40\n"
     "7 LOWLFT 42..49 | 42 47 49\n"
     "7 MIDLFT 50..58 | 50 53 55 56 57 58\n"
     "3 UPRLFT 59..63 | 59 62 63\n"
     "5 UPRRT 64..72 | 64 65 67 72\n"
     "6 MIDRT 73..81 | 73 74 75 76 78 81\n"
     "2 LOWRT 82..89 | 82 83 89\n"
     "9 NUTS3 90..93 | 90..93\n",
     20, 6, 44, nullptr, 183, "33-30", "2:15 3:24 4:27 5:15 6:6 7:2 8:4", 82, "", "",
     "33 ... 743 525 30 31 32 34 35\n"
     "72 ... 558 87 70 71 42 50 59 81 89 39\n",
     30, 897, 51, 590},
    {"WorldII", "WorldII.txt", mapTextWorldII, 77, 57, 8, 0, "WorldII       ", 600, 360, false,
     "xxx",
     "5 North_America 1..10 | 1 5 10\n"
     "3 South_America 11..16 | 11 13 15\n"
     "4 Southern_Africa 17..24 | 17 22 23 24\n"
     "4 Northern_Africa 25..29 | 25..29\n"
     "5 Europe 30..36 | 30 32 35 36\n"
     "4 Northern_Asia 37..43 | 37 38 41 42\n"
     "6 Southern_Asia 44..51 | 44 45 48 50\n"
     "2 Australasia 52..57 | 52 56 57\n",
     10, 5, 30, nullptr, 116, "", "2:4 3:15 4:20 5:11 6:5 7:2", -1, "24 54", "",
     "24 xxx 540 349 21 20 23 25 \n"
     "57 xxx 855 540 54 55 56 17\n",
     48, 896, 30, 540},
    {"Ireland", "Ireland.txt", mapTextIreland, 49, 32, 5, 0, "Ireland       ", 2, 2, true,
     nullptr,
     "1 Ulster 1..9 | 1 3 5 6 7 8 9\n"
     "4 Belfast 1..6 | 1..6\n"
     "3 Connaught 10..14 | 12..14\n"
     "10 Leinster 15..26 | 15 16 17 18 19 20 22 24\n"
     "4 Munster 27..32 | 27 28 29 31 32\n",
     12, 8, 29, nullptr, 75, "", "3:7 4:7 5:11 6:4 7:2 8:1", 32, "", "",
     "3 ant 642 92 1 2 6 29\n"
     "29 kry 323 522 3 30 31\n",
     323, 646, 74, 544},
    {"ParisByNight", "ParisByNight.txt", mapTextParisByNight, 36, 21, 3, 0, "ParisByNight  ", 780,
     100, false, "xxx",
     "8 La_Rive_Droite 1..12 | 1 2 5 6 9 12\n"
     "1 La_Defense 13..15 | 13 15\n"
     "4 La_Rive_Gauche 16..21 | 16 17 18 20 21\n",
     12, 6, 13, nullptr, 54, "", "2:1 4:5 5:8 6:4 7:2 8:1", -1, "", "2",
     "1 xxx 372 256 5 6 4 3 2 17 18\n"
     "21 xxx 486 378 9 20 19 18 2\n",
     46, 635, 85, 472},
};

const MapFacts &factsOf(const QString &tag)
{
    for (const MapFacts &facts : kMaps)
        if (tag == QLatin1String(facts.tag))
            return facts;
    qFatal("no map %s", qPrintable(tag));
    return kMaps[0];
}

QStringList textOf(const MapFacts &facts)
{
    mapFileLines.clear();
    facts.text();
    return mapFileLines;
}

int load(const MapFacts &facts)
{
    textOf(facts);
    int result = 0;
    loadMapFile(result);
    return result;
}

QStringList rowsOf(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<Pair> oneSidedParsed()
{
    QList<Pair> links;
    for (int t = 1; t <= territoryCount; ++t)
        for (int u : listedNeighbours(t))
            if (!isNeighbour(u, t))
                links.append(Pair(t, u));
    return links;
}

double distance(int a, int b)
{
    return std::hypot(territoryPos[a].x - territoryPos[b].x, territoryPos[a].y - territoryPos[b].y);
}

} // namespace

class TestMapTexts : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;

    static void everyMap()
    {
        QTest::addColumn<QString>("tag");
        for (const MapFacts &facts : kMaps)
            QTest::newRow(facts.tag) << QString::fromLatin1(facts.tag);
    }

private slots:
    void init()
    {
        resetAllGameState();
        ui = ScriptedInteraction();
        setInteraction(&ui);
    }
    void cleanup() { setInteraction(nullptr); }

    void textHasItsLinesAndLayout_data() { everyMap(); }
    void textHasItsLinesAndLayout()
    {
        QFETCH(QString, tag);
        const MapFacts &f = factsOf(tag);
        const QStringList lines = textOf(f);
        QCOMPARE(lines.size(), f.lineCount);
        const int territoriesHeader = 11 + f.continents;
        const QString word = QString::fromLatin1(f.fileName).chopped(4); // the name before ".txt"
        QCOMPARE(lines.mid(0, 10), (QStringList{"[map]", word, "", "[player names]",
                                                QStringLiteral("%1 %2").arg(f.panelX).arg(f.panelY),
                                                "", "[smilies and codes]",
                                                f.smilies ? "Y" : "N", "", "[continents]"}));
        QCOMPARE(lines[territoriesHeader - 1], QString());
        QCOMPARE(lines[territoriesHeader], QStringLiteral("[territories]"));
        QVERIFY(!lines.last().isEmpty());

        QSet<int> blankLines;
        for (int t : numbers(QString::fromLatin1(f.blankRows)))
            blankLines.insert(territoriesHeader + t);
        for (int c : numbers(QString::fromLatin1(f.blankContinents)))
            blankLines.insert(9 + c);
        for (int i = 0; i < lines.size(); ++i) {
            const QString &line = lines[i];
            QVERIFY2(!line.startsWith(QLatin1Char(' ')) && !line.contains(QLatin1Char('\t'))
                         && !line.contains(QLatin1String("  ")) && line.size() <= 103,
                     qPrintable(line));
            QVERIFY2(line.endsWith(QLatin1Char(' ')) == blankLines.contains(i), qPrintable(line));
            for (QChar ch : line)
                QVERIFY(ch.unicode() >= 32 && ch.unicode() < 127);
        }
        for (int t = 1; t <= f.territories; ++t)
            QCOMPARE(lines[territoriesHeader + t].section(QLatin1Char(' '), 0, 0), QString::number(t));
        for (const QString &row : rowsOf(f.quotedRows))
            QCOMPARE(lines[territoriesHeader + row.section(QLatin1Char(' '), 0, 0).toInt()], row);

        // The function appends and never clears: twice leaves the text twice over.
        f.text();
        QCOMPARE(mapFileLines.size(), 2 * f.lineCount);
        QCOMPARE(mapFileLines.mid(f.lineCount), lines);
    }

    void textParsesToItsContinentsAndLabels_data() { everyMap(); }
    void textParsesToItsContinentsAndLabels()
    {
        QFETCH(QString, tag);
        const MapFacts &f = factsOf(tag);
        QCOMPARE(load(f), 0);
        QCOMPARE(territoryCount, f.territories);
        QCOMPARE(continentCount, f.continents);
        QCOMPARE(mapName, QString::fromLatin1(f.mapName));
        QCOMPARE(playerPanelX, f.panelX);
        QCOMPARE(playerPanelY, f.panelY);
        QCOMPARE(maxContinentSize, f.maxContinentSize);
        QCOMPARE(maxBorderCount, f.maxBorderCount);
        QCOMPARE(totalBorderCount, f.totalBorderCount);

        const QStringList table = rowsOf(f.continentTable);
        QCOMPARE(table.size(), f.continents);
        for (int c = 1; c <= f.continents; ++c) {
            const QString row = table[c - 1];
            const QStringList head = row.section(QLatin1Char('|'), 0, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QList<int> members = numbers(head.mid(2).join(QLatin1Char(' ')));
            const QList<int> borders = numbers(row.section(QLatin1Char('|'), 1));
            QCOMPARE(continentTable[c].bonus, head[0].toInt());
            QCOMPARE(continentTable[c].weight, 10 * head[0].toInt());
            QCOMPARE(continentName[c], head[1]);
            QCOMPARE(continentTable[c].memberCount, members.size());
            for (int i = 0; i < members.size(); ++i)
                QCOMPARE(continentTable[c].members[i + 1], members[i]);
            for (int i = 0; i < borders.size(); ++i)
                QCOMPARE(continentBorders[c][i + 1], borders[i]);
            QCOMPARE(continentBorders[c][borders.size() + 1], 0);
        }

        QSet<QString> codes;
        for (int t = 1; t <= f.territories; ++t) {
            codes.insert(territoryCode[t]);
            if (f.code && QLatin1String(f.code) == QLatin1String("%03d"))
                QCOMPARE(territoryCode[t], QStringLiteral("%1").arg(t, 3, 10, QLatin1Char('0')));
            else if (f.code)
                QCOMPARE(territoryCode[t], QString::fromLatin1(f.code));
        }
        if (!f.code) // codes of their own, all different
            QCOMPARE(codes.size(), f.territories);

        // The label positions span their stated ranges.
        int xMin = 100000, xMax = -1, yMin = 100000, yMax = -1;
        for (int t = 1; t <= territoryCount; ++t) {
            xMin = qMin(xMin, territoryPos[t].x);
            xMax = qMax(xMax, territoryPos[t].x);
            yMin = qMin(yMin, territoryPos[t].y);
            yMax = qMax(yMax, territoryPos[t].y);
        }
        QCOMPARE(QList<int>({xMin, xMax, yMin, yMax}), QList<int>({f.xMin, f.xMax, f.yMin, f.yMax}));
    }

    void textHasItsAdjacency_data() { everyMap(); }
    void textHasItsAdjacency()
    {
        QFETCH(QString, tag);
        const MapFacts &f = factsOf(tag);
        QCOMPARE(load(f), 0);
        const PairSet mutual = mutualPairs();
        if (f.rulePairs)
            QCOMPARE(mutual, f.rulePairs());
        if (f.mutualPairCount >= 0)
            QCOMPARE(mutual.size(), f.mutualPairCount);

        QList<Pair> oneSided;
        for (const QString &item : QString::fromLatin1(f.oneSided).split(QLatin1Char(','), Qt::SkipEmptyParts))
            oneSided.append(Pair(item.section(QLatin1Char('-'), 0, 0).toInt(),
                                 item.section(QLatin1Char('-'), 1, 1).toInt()));
        QCOMPARE(oneSidedParsed(), oneSided);

        QMap<int, int> histogram;
        int ascending = 0;
        for (int t = 1; t <= territoryCount; ++t) {
            const QList<int> list = listedNeighbours(t);
            QVERIFY2(!list.contains(t), "no territory lists itself");
            QCOMPARE(QSet<int>(list.begin(), list.end()).size(), list.size());
            ++histogram[list.size()];
            QList<int> sorted = list;
            std::sort(sorted.begin(), sorted.end());
            ascending += sorted == list;
        }
        QMap<int, int> stated;
        for (const QString &item : QString::fromLatin1(f.histogram).split(QLatin1Char(' ')))
            stated[item.section(QLatin1Char(':'), 0, 0).toInt()] = item.section(QLatin1Char(':'), 1).toInt();
        QCOMPARE(histogram, stated);
        if (f.ascendingRows >= 0)
            QCOMPARE(ascending, f.ascendingRows);
    }

    void networkGamesTakeOnlyMapsWithinTheirLimits_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("mode");
        for (const MapFacts &facts : kMaps) {
            QTest::newRow(qPrintable(QStringLiteral("%1 hosting").arg(facts.tag)))
                << QString::fromLatin1(facts.tag) << int(ModeHost);
            QTest::newRow(qPrintable(QStringLiteral("%1 joined").arg(facts.tag)))
                << QString::fromLatin1(facts.tag) << int(ModeClient);
        }
    }
    void networkGamesTakeOnlyMapsWithinTheirLimits()
    {
        QFETCH(QString, tag);
        QFETCH(int, mode);
        const MapFacts &f = factsOf(tag);
        QCOMPARE(load(factsOf(QStringLiteral("Ireland"))), 0);
        gameMode = mode;
        QCOMPARE(load(f), f.networkResult);
        // A refused map leaves the map that was loaded before.
        QCOMPARE(territoryCount, f.networkResult == 0 ? f.territories : 32);
        QCOMPARE(continentCount, f.networkResult == 0 ? f.continents : 5);
    }

    // Where a map says which territories stand where, or which links span it.
    void groupsStandInTheirStatedBoxes_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("members");
        QTest::addColumn<QList<int>>("box"); // x0, x1, y0, y1; -1: not stated
        const struct {
            const char *tag, *name, *members;
            int x0, x1, y0, y1;
        } rows[] = {
            {"Neighbourhood", "RadarBlockingDepot", "31..42", 251, 443, 319, 415},
            {"Neighbourhood", "AlienCommsFacility", "16..30", 635, 881, 46, 236},
            {"Neighbourhood", "SewagePurgingPlant", "1..15", 71, 419, 92, 282},
            {"Neighbourhood", "WarWidowRetireHome", "63..81", 665, 918, 429, 590},
            {"Neighbourhood", "Dentist", "43..62", 27, 287, 331, 585},
            {"Neighbourhood", "no continent", "82..101", 200, 918, 247, 605},
            {"coconutz", "NUTS1", "1..12", 30, 225, 468, 585},
            {"coconutz", "TRUNK", "13..21", 314, 373, 320, 573},
            {"coconutz", "NUTS2", "22..41", 552, 897, 473, 590},
            {"coconutz", "LOWLFT", "42..49", 147, 302, 246, 359},
            {"coconutz", "MIDLFT", "50..58", 135, 310, 141, 217},
            {"coconutz", "UPRLFT", "59..63", 170, 308, 51, 91},
            {"coconutz", "UPRRT", "64..72", 365, 558, 82, 143},
            {"coconutz", "MIDRT", "73..81", 399, 557, 181, 272},
            {"coconutz", "LOWRT", "82..89", 377, 525, 260, 418},
            {"coconutz", "NUTS3", "90..93", 322, 372, 178, 241},
            {"JustNeedTwo", "column L", "1..27", 34, 204, -1, -1},
            {"JustNeedTwo", "column M", "28..54", 253, 422, -1, -1},
            {"JustNeedTwo", "column R", "55..81", 471, 641, -1, -1},
            {"JustNeedTwo", "hubs at the top", "82..84", 717, 841, 57, 57},
            {"JustNeedTwo", "hubs at the bottom", "85..87", 718, 842, 590, 590},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(r.tag, r.name)))
                << QString::fromLatin1(r.tag) << QString::fromLatin1(r.members)
                << QList<int>{r.x0, r.x1, r.y0, r.y1};
    }
    void groupsStandInTheirStatedBoxes()
    {
        QFETCH(QString, tag);
        QFETCH(QString, members);
        QFETCH(QList<int>, box);
        QCOMPARE(load(factsOf(tag)), 0);
        QList<int> xs, ys;
        for (int t : numbers(members)) {
            xs.append(territoryPos[t].x);
            ys.append(territoryPos[t].y);
        }
        QCOMPARE(*std::min_element(xs.begin(), xs.end()), box[0]);
        QCOMPARE(*std::max_element(xs.begin(), xs.end()), box[1]);
        if (box[2] >= 0) {
            QCOMPARE(*std::min_element(ys.begin(), ys.end()), box[2]);
            QCOMPARE(*std::max_element(ys.begin(), ys.end()), box[3]);
        }
    }

    // The links that join far sides of a map are exactly the ones the map names.
    void longLinksAreTheNamedOnes_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("longLinks");
        QTest::addColumn<double>("longerThan");
        QTest::newRow("Russia: 3-64 joins the picture's two sides") << "Russia" << "3-64" << 416.0;
        QTest::newRow("Ireland: three links to the far end")
            << "Ireland" << "3-29, 19-27, 19-31" << 200.0;
    }
    void longLinksAreTheNamedOnes()
    {
        QFETCH(QString, tag);
        QFETCH(QString, longLinks);
        QFETCH(double, longerThan);
        QCOMPARE(load(factsOf(tag)), 0);
        PairSet longer;
        for (const Pair &p : mutualPairs())
            if (distance(p.first, p.second) > longerThan)
                longer.insert(p);
        QCOMPARE(longer, pairsOf(longLinks));
    }

    void ok83LeadingZerosReadAsDecimal()
    {
        QCOMPARE(load(factsOf(QStringLiteral("OK83"))), 0);
        QCOMPARE(territoryPos[77].x, 55);
        QCOMPARE(territoryPos[77].y, 45);
        QCOMPARE(territoryPos[83].x, 60);
        QCOMPARE(territoryCode[1], QStringLiteral("001"));
    }

    void irelandBelfastLiesInsideUlster()
    {
        QCOMPARE(load(factsOf(QStringLiteral("Ireland"))), 0);
        for (int t = 1; t <= 6; ++t)
            QCOMPARE(continentOfTerritory(t), 1);
    }

    // A top-five game takes the map text of the file's name instead of reading the disk.
    void topFiveGameLoadsTheTextOfTheFileName_data() { everyMap(); }
    void topFiveGameLoadsTheTextOfTheFileName()
    {
        QFETCH(QString, tag);
        const MapFacts &f = factsOf(tag);
        topFiveGame = 1;
        useStoredMapPath = 'j';
        mapFilePath = QString::fromLatin1(f.fileName);
        loadMap();
        QCOMPARE(ui.messageTexts(), QStringList());
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QCOMPARE(mapFileLines.size(), f.lineCount);
        QCOMPARE(territoryCount, f.territories);
        QCOMPARE(continentCount, f.continents);
        QCOMPARE(mapName, QString::fromLatin1(f.mapName));
    }
};

TARVAN_TEST_MAIN(TestMapTexts)
#include "test_maptexts.moc"
