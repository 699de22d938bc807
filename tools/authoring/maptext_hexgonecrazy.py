#!/usr/bin/env python3
"""Authoring script for the map text Hex_gone_crazy (maps/MapTextHexGoneCrazy.cpp).

Twelve small continents, each repeating one of a few patterns of adjacency (Y shapes, prism
"hexes", double hexes, a double Y), joined through a few territories of each. The adjacency
follows from the patterns and the 23 links between continents. Eight rows are given word for
word; the other labels are annealed round each continent's place on the board. Neighbours are
written with the continent's own first; 71 rows are in ascending order.

    python3 tools/authoring/maptext_hexgonecrazy.py > maps/MapTextHexGoneCrazy.cpp
"""

import sys

from maptext_lib import (MapText, adjacency, candidates_in, emit, expect, home_first, order_rows,
                         pairs, place_labels, reach_edges, verify)

CONTINENTS = [  # bonus, name, first, last, pattern, border territories, centre on the board
    (5, "y1", 1, 8, "y", [8], (150, 150)),
    (5, "y2", 9, 16, "y", [16], (110, 390)),
    (5, "y3", 17, 24, "y", [24], (300, 540)),
    (5, "y4", 25, 32, "y", [32], (610, 140)),
    (5, "y5", 33, 40, "y", [40], (840, 390)),
    (4, "half_y", 41, 46, "half_y", [46], (730, 260)),
    (8, "hex1", 47, 52, "hex", [50, 52], (400, 110)),
    (10, "dhex1", 53, 64, "dhex", [56, 62, 64], (90, 560)),
    (12, "dhex2", 65, 76, "dhex", [68, 70, 74, 76], (560, 560)),
    (5, "hex2", 77, 82, "hex", [82], (880, 560)),
    (6, "hex3", 83, 88, "hex", [87, 88], (760, 120)),
    (15, "double_y", 89, 100, "double_y", [96, 98, 100], (400, 340)),
]
PATTERNS = {
    "y": "1-2, 1-4, 1-6, 2-3, 4-5, 6-7, 8-2, 8-3, 8-4, 8-5, 8-6, 8-7",
    "half_y": "1-2, 1-4, 2-3, 4-5, 6-1, 6-2, 6-3, 6-4, 6-5",
    "hex": "1-2, 1-3, 1-4, 2-3, 2-5, 3-6, 4-5, 4-6, 5-6",
    "dhex": "1-2, 1-3, 1-4, 2-3, 2-5, 3-6, 4-5, 4-6, 5-6, 7-8, 7-9, 7-10, 8-9, 8-11, 9-12, "
            "10-11, 10-12, 11-12, 4-12",
    "double_y": "1-2, 2-4, 2-6, 3-4, 4-6, 4-8, 5-6, 6-8, 7-8, 8-10, 8-12, 9-10, 10-12, 11-12",
}
BETWEEN = pairs("8-16, 8-52, 16-24, 16-56, 16-64, 24-62, 24-70, 24-96, 24-100, 32-46, 32-50, "
                "32-88, 32-96, 32-98, 40-46, 40-74, 40-82, 40-98, 40-100, 46-87, 46-98, "
                "68-100, 76-100")

QUOTED = ["1 ... 150 131 2 4 6", "100 ... 522 475 99 96 98 24 68 76 40",
          "24 ... 295 506 18 19 20 21 22 23 62 70 16 96 100", "89 ... 283 210 90",
          "41 ... 744 248 44 42 46", "16 ... 100 395 10 11 12 13 14 15 8 56 64 24",
          "8 ... 100 166 2 3 4 5 6 7 16 52", "46 ... 692 282 41 42 43 44 45 87 40 32 98"]
BOX = (29, 923, 70, 603)
PANEL = (852, 90)


def inner_pairs():
    out = []
    for _, _, first, _, pattern, _, _ in CONTINENTS:
        out += [(min(a, b) + first - 1, max(a, b) + first - 1) for a, b in pairs(PATTERNS[pattern])]
    return out


def main():
    all_pairs = sorted(set(inner_pairs() + BETWEEN))
    links = adjacency(all_pairs, 100)
    home = {t: c for c, (_, _, f, l, _, _, _) in enumerate(CONTINENTS, 1) for t in range(f, l + 1)}

    fixed = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    spots = candidates_in(BOX, fixed, spacing=30, panel=PANEL)
    start = {t: centre for _, _, f, l, _, _, centre in CONTINENTS for t in range(f, l + 1)}
    long_links = [(a, b) for a, b in BETWEEN if a in (16, 24, 32, 40) or b == 100]
    centres = [(range(c[2], c[3] + 1), c[-1]) for c in CONTINENTS]
    report = []
    pos = place_labels(range(1, 101), fixed, {t: spots for t in range(1, 101)}, all_pairs,
                       start, steps=25000, seed=208, long_links=long_links,
                       centres=centres, report=report)
    reach_edges(pos, range(1, 101), BOX, fixed, panel=PANEL)
    print("Hex_gone_crazy:", *report, file=sys.stderr)

    fixed_orders = {int(q.split()[0]): [int(w) for w in q.split()[4:]] for q in QUOTED}
    for t, row in fixed_orders.items():
        expect(set(row) == links[t], f"links disagree with row {t}")
    rows = order_rows(links, fixed_orders, 100 - 29, home_first(home), 208)

    text = MapText("Hex_gone_crazy", PANEL, "Y")
    for bonus, name, first, last, _, _, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 101):
        text.set_row(t, "...", pos[t][0], pos[t][1], rows[t])
    text.set_quoted_rows(QUOTED)
    lines = text.lines()

    verify(lines, {
        "line_count": 124, "territories": 100, "continent_count": 12,
        "map_name": "Hex_gone_craz ",
        "continents": [(b, n, list(range(f, l + 1)), bd) for b, n, f, l, _, bd, _ in CONTINENTS],
        "max_border": 4, "total_border": 21, "max_size": 12,
        "pairs": all_pairs,
        "histogram": {1: 6, 2: 17, 3: 54, 4: 10, 5: 4, 6: 1, 7: 2, 8: 1, 9: 1, 10: 1, 11: 3},
        "ascending_count": 71,
        "quoted_lines": {24 + int(q.split()[0]): q for q in QUOTED}
                        | {11: "5 y1 1 2 3 4 5 6 7 8",
                           22: "15 double_y 89 90 91 92 93 94 95 96 97 98 99 100"},
        "box": BOX,
        "free_rows": [t for t in range(1, 101) if t not in fixed],
    })
    emit(lines, "mapTextHexGoneCrazy",
         "The map text Hex_gone_crazy: twelve continents of a few repeating patterns.",
         "maptext_hexgonecrazy.py")


if __name__ == "__main__":
    main()
