#!/usr/bin/env python3
"""Authoring script for the map text 107 (maps/MapText107.cpp).

An abstract board of 18 continents named after the part of the board they cover, and two
groups of six territories (each a neighbour of the other five) that join six continents
apiece across the board. Six rows are given word for word; the other labels are annealed
around their continent's part of the board, the two groups' links drawn but not pulling.
Neighbours are written clockwise from north, 60 rows in ascending order.

    python3 tools/authoring/maptext_107.py > maps/MapText107.cpp
"""

import sys
from itertools import combinations

from maptext_lib import (MapText, adjacency, candidates_in, clockwise, emit, expect, order_rows,
                         pairs, place_labels, reach_edges, verify)

CONTINENTS = [  # bonus, name, first, last, border territories, centre on the board
    (1, "NortWestI", 1, 5, [1, 3, 5], (110, 60)),
    (5, "NortWestII", 6, 12, [8, 10, 11, 12], (270, 80)),
    (1, "NortWestIII", 13, 16, [13, 14, 15, 16], (200, 180)),
    (3, "NortWestIV", 17, 23, [19, 20], (80, 230)),
    (4, "CenterNW", 24, 28, [24, 26, 27, 28], (340, 230)),
    (4, "CenterNE", 29, 33, [29, 31, 32, 33], (560, 230)),
    (1, "NorthEastI", 34, 38, [35, 36, 38], (620, 80)),
    (4, "NorthEastII", 39, 47, [39, 40], (800, 110)),
    (5, "NorthEastIII", 48, 56, [48, 49, 56], (820, 290)),
    (4, "CenterSE", 57, 61, [57, 58, 59, 61], (580, 390)),
    (4, "SouthEastI", 62, 66, [62, 63, 64, 66], (700, 430)),
    (3, "SouthEastII", 67, 71, [68, 70, 71], (820, 450)),
    (3, "SouthEastIII", 72, 76, [72, 73, 75], (660, 550)),
    (2, "SouthEastIV", 77, 83, [77, 78, 81], (820, 570)),
    (1, "CenterSW", 84, 88, [84, 87, 88], (330, 340)),
    (1, "SouthWestI", 89, 93, [89, 90, 91], (220, 430)),
    (4, "SouthWestII", 94, 100, [94, 95, 98], (420, 570)),
    (5, "SouthWestIII", 101, 107, [101, 102, 103, 106], (130, 530)),
]

INNER = pairs(
    "1-2, 1-4, 2-3, 3-4, 3-5, 4-5, 6-7, 6-10, 7-9, 8-9, 9-10, 9-11, 9-12, 10-11, "
    "13-14, 13-16, 14-15, 15-16, 17-18, 18-19, 18-22, 19-21, 20-21, 21-22, 21-23, 22-23, "
    "24-25, 25-26, 25-27, 26-27, 27-28, 29-30, 30-31, 31-32, 31-33, 32-33, "
    "34-35, 35-36, 35-38, 36-37, 37-38, "
    "39-40, 39-42, 39-43, 40-41, 40-42, 41-42, 41-45, 42-44, 43-44, 43-47, 44-45, 45-46, 46-47, "
    "48-49, 48-51, 48-54, 49-50, 49-51, 50-52, 51-52, 51-54, 52-53, 53-54, 53-56, 54-55, 55-56, "
    "57-58, 57-60, 58-59, 58-61, 60-61, 62-63, 62-65, 62-66, 63-64, 64-65, "
    "67-68, 68-69, 68-70, 69-70, 69-71, 70-71, 72-73, 72-75, 73-74, 74-75, 74-76, 75-76, "
    "77-78, 77-83, 78-79, 78-80, 79-80, 79-81, 80-81, 80-83, 81-82, 82-83, "
    "84-85, 84-86, 85-87, 86-87, 87-88, 89-90, 89-92, 90-92, 91-92, 92-93, "
    "94-95, 94-96, 95-97, 95-98, 96-97, 96-100, 97-98, 97-99, 98-99, 99-100, "
    "101-102, 101-104, 101-107, 102-103, 103-104, 103-105, 104-105, 104-106, 105-106, 106-107")
GROUPS = [(8, 29, 49, 66, 75, 103), (20, 28, 40, 59, 71, 94)]  # each member next to the others
FURTHER = pairs(
    "1-56, 3-10, 3-13, 5-19, 11-14, 12-24, 15-28, 16-19, 26-33, 27-87, 31-38, 32-58, 35-48, "
    "36-39, 57-84, 61-62, 63-68, 64-72, 68-73, 70-77, 73-78, 81-106, 88-89, 90-102, 91-95, "
    "98-101")
ACROSS = [(1, 56), (81, 106)]  # pairs that join opposite sides of the board

QUOTED = ["1 xxx 101 29 2 4 56", "107 xxx 100 546 101 106",
          "40 xxx 838 168 39 42 41 71 59 28 20 94", "17 xxx 47 154 18",
          "2 xxx 148 34 1 3 ", "72 xxx 618 556 64 73 75 "]
BOX = (28, 899, 28, 610)
PANEL = (325, 405)


def main():
    group_pairs = sorted({(a, b) for g in GROUPS for a, b in combinations(sorted(g), 2)})
    all_pairs = sorted(set(INNER + group_pairs + FURTHER))
    expect(len(INNER) == 129 and len(all_pairs) == 185, "pairs")
    links = adjacency(all_pairs, 107)

    fixed = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    spots = candidates_in(BOX, fixed, spacing=30, panel=PANEL)
    start = {t: centre for _, _, f, l, _, centre in CONTINENTS for t in range(f, l + 1)}
    centres = [(range(c[2], c[3] + 1), c[-1]) for c in CONTINENTS]
    report = []
    pos = place_labels(range(1, 108), fixed, {t: spots for t in range(1, 108)}, all_pairs,
                       start, steps=25000, seed=204, long_links=group_pairs + ACROSS,
                       centres=centres, report=report)
    reach_edges(pos, range(1, 108), BOX, fixed, panel=PANEL)
    print("107:", *report, file=sys.stderr)

    fixed_orders = {int(q.split()[0]): [int(w) for w in q.split()[4:]] for q in QUOTED}
    for t, row in fixed_orders.items():
        expect(set(row) == links[t], f"links disagree with row {t}")
    rows = order_rows(links, fixed_orders, 60, clockwise(pos), 204)

    text = MapText("107", PANEL, "N")
    for bonus, name, first, last, _, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 108):
        text.set_row(t, "xxx", pos[t][0], pos[t][1], rows[t])
    text.set_quoted_rows(QUOTED)
    lines = text.lines()

    verify(lines, {
        "line_count": 137, "territories": 107, "continent_count": 18,
        "map_name": "107" + " " * 11,
        "continents": [(b, n, list(range(f, l + 1)), bd) for b, n, f, l, bd, _ in CONTINENTS],
        "max_border": 4, "total_border": 59, "max_size": 9,
        "pairs": all_pairs,
        "histogram": {1: 4, 2: 22, 3: 40, 4: 26, 5: 3, 6: 5, 7: 3, 8: 4},
        "ascending_count": 60,
        "trailing_blank_lines": [30 + int(q.split()[0]) for q in QUOTED if q.endswith(" ")],
        "quoted_lines": {30 + int(q.split()[0]): q for q in QUOTED} | {11: "1 NortWestI 1 2 3 4 5"},
        "box": BOX,
        "free_rows": [t for t in range(1, 108) if t not in fixed],
    })
    emit(lines, "mapText107", "The map text 107: eighteen continents on an abstract board.",
         "maptext_107.py")


if __name__ == "__main__":
    main()
