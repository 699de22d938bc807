#!/usr/bin/env python3
"""Authoring script for the map text Rings (maps/MapTextRings.cpp).

Fourteen continents of seven territories each, most of them in two or three pieces that
only other continents join. Ten rows are given word for word; the other labels are annealed
from a layout that follows the adjacency, stretched over the board. Territories 31 and 77
stand at the two sides of the board and are the pair farthest apart. A row lists its own
continent's neighbours first; 26 rows are in ascending order.

    python3 tools/authoring/maptext_rings.py > maps/MapTextRings.cpp
"""

import math
import sys

from maptext_lib import (MapText, adjacency, candidates_in, emit, expect, home_first, order_rows,
                         pairs, place_labels, reach_edges, verify)

NAMES = ["one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten",
         "eleven", "twelve", "thirteen", "fourteen"]
BONUS = [5, 8, 8, 6, 9, 6, 8, 8, 8, 7, 9, 7, 5, 6]
BORDERS = [
    [1, 4, 5, 6, 7], [8, 9, 10, 11, 12, 13, 14], [15, 17, 18, 19, 20, 21],
    [22, 23, 25, 26, 27, 28], [29, 30, 31, 32, 33, 34, 35], [36, 37, 38, 39, 40, 41, 42],
    [43, 44, 45, 47, 48, 49], [50, 51, 52, 53, 54, 55, 56], [57, 58, 59, 60, 61, 62, 63],
    [64, 65, 66, 67, 69, 70], [71, 72, 73, 74, 75, 76, 77], [78, 79, 80, 81, 82, 84],
    [85, 86, 87, 88, 91], [92, 93, 94, 98],
]
INNER = pairs(
    "1-2, 1-7, 2-3, 3-4, 5-6, 8-9, 10-11, 11-12, 13-14, 15-16, 15-21, 16-17, 18-19, 19-20, "
    "22-23, 23-24, 24-25, 26-27, 27-28, 29-30, 30-31, 31-32, 33-34, 34-35, 36-37, 38-39, "
    "40-41, 41-42, 43-44, 44-45, 45-46, 46-47, 48-49, 50-51, 52-53, 54-55, 55-56, 57-58, "
    "59-60, 61-62, 62-63, 64-65, 66-67, 67-68, 68-69, 69-70, 71-72, 73-74, 75-76, 76-77, "
    "78-79, 80-81, 81-82, 82-83, 83-84, 85-86, 87-88, 88-89, 89-90, 90-91, 92-93, 93-94, "
    "94-95, 95-96, 96-97, 97-98")
BETWEEN = pairs(
    "1-64, 1-70, 4-8, 4-9, 5-9, 6-8, 6-14, 6-64, 6-65, 7-64, 7-65, 9-15, 9-21, 9-51, 10-15, "
    "11-20, 11-21, 12-21, 12-62, 12-63, 13-62, 13-63, 14-60, 14-61, 17-23, 17-30, 18-23, "
    "19-22, 19-28, 20-22, 20-49, 25-29, 25-30, 26-30, 27-29, 27-35, 28-29, 31-77, 31-94, "
    "32-36, 32-37, 33-37, 34-36, 34-42, 35-36, 35-63, 37-92, 37-93, 38-92, 38-93, 38-98, "
    "39-44, 39-92, 39-98, 40-44, 40-45, 41-43, 41-49, 42-43, 47-51, 48-50, 48-51, 48-56, "
    "49-50, 49-56, 51-87, 51-88, 52-86, 52-87, 52-88, 53-58, 53-86, 53-87, 54-58, 55-57, "
    "55-63, 56-57, 58-74, 59-74, 60-72, 60-73, 65-72, 66-72, 67-71, 67-77, 69-82, 74-78, "
    "74-79, 75-79, 76-78, 76-84, 79-85, 79-86, 80-86, 80-91, 81-85, 81-91")
FAR_PAIR = (31, 77)

QUOTED = ["1 ... 145 75 2 7 64 70", "98 ... 708 604 97 38 39",
          "9 ... 397 77 8 4 5 15 21 51", "51 ... 428 547 48 47 50 87 88 9",
          "4 ... 377 23 3 8 9 ", "28 ... 600 242 29 27 19 ", "35 ... 633 318 36 34 27 63 ",
          "42 ... 607 383 41 43 34 ", "31 ... 827 313 30 32 94 77", "77 ... 88 313 76 67 31"]
BOX = (32, 899, 20, 611)
PANEL = (850, 27)


def main():
    all_pairs = sorted(set(INNER + BETWEEN))
    expect(len(INNER) == 66 and len(BETWEEN) == 97 and len(all_pairs) == 163, "pairs")
    links = adjacency(all_pairs, 98)
    home = {t: (t - 1) // 7 + 1 for t in range(1, 99)}

    fixed = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    spots = candidates_in(BOX, fixed, spacing=30, panel=PANEL)
    start = {t: (465, 315) for t in range(1, 99)}
    report = []
    pos = place_labels(range(1, 99), fixed, {t: spots for t in range(1, 99)}, all_pairs, start,
                       steps=25000, seed=206, long_links=[FAR_PAIR],
                       boxes=[(range(1, 99), BOX)], report=report)
    reach_edges(pos, range(1, 99), BOX, fixed, panel=PANEL)
    print("Rings:", *report, file=sys.stderr)

    fixed_orders = {int(q.split()[0]): [int(w) for w in q.split()[4:]] for q in QUOTED}
    for t, row in fixed_orders.items():
        expect(set(row) == links[t], f"links disagree with row {t}")
    rows = order_rows(links, fixed_orders, 98 - 72, home_first(home), 206)

    text = MapText("Rings", PANEL, "Y")
    for c in range(14):
        text.add_continent(BONUS[c], NAMES[c], range(7 * c + 1, 7 * c + 8))
    for t in range(1, 99):
        text.set_row(t, "...", pos[t][0], pos[t][1], rows[t])
    text.set_quoted_rows(QUOTED)
    lines = text.lines()

    def far_pair_is_farthest(p):
        far = math.dist(p.pos[31], p.pos[77])
        for a, b in all_pairs:
            expect((a, b) == FAR_PAIR or math.dist(p.pos[a], p.pos[b]) < far,
                   f"{a}-{b} farther apart than 31-77")

    verify(lines, {
        "line_count": 124, "territories": 98, "continent_count": 14,
        "map_name": "Rings" + " " * 9,
        "continents": [(BONUS[c], NAMES[c], list(range(7 * c + 1, 7 * c + 8)), BORDERS[c])
                       for c in range(14)],
        "max_border": 7, "total_border": 86, "max_size": 7,
        "pairs": all_pairs,
        "histogram": {2: 27, 3: 24, 4: 37, 5: 8, 6: 2},
        "ascending_count": 26,
        "trailing_blank_lines": [26 + int(q.split()[0]) for q in QUOTED if q.endswith(" ")],
        "quoted_lines": {26 + int(q.split()[0]): q for q in QUOTED} | {11: "5 one 1 2 3 4 5 6 7"},
        "box": BOX,
        "free_rows": [t for t in range(1, 99) if t not in fixed],
        "extra_checks": [far_pair_is_farthest],
    })
    emit(lines, "mapTextRings", "The map text Rings: fourteen continents of seven, in pieces.",
         "maptext_rings.py")


if __name__ == "__main__":
    main()
