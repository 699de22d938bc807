#!/usr/bin/env python3
"""Authoring script for the map text coconutz (maps/MapTextCoconutz.cpp).

A palm tree: a trunk in the middle, three fronds on each side, nuts at its top and two heaps
of nuts on the ground. Sixteen rows are given word for word; the other labels are placed by
annealing inside the box that each continent covers, so that linked labels stand close and
links cross as little as they can. The two groups that join distant continents (each member
a neighbour of all the others) are drawn but do not pull.

    python3 tools/authoring/maptext_coconutz.py > maps/MapTextCoconutz.cpp
"""

import sys
from itertools import combinations

from maptext_lib import (MapText, adjacency, candidates_in, emit, expect, pairs, place_labels,
                         reach_edges, verify)

CONTINENTS = [  # bonus, name, first, last, border territories, box (x0, x1, y0, y1)
    (2, "NUTS1", 1, 12, [1, 2, 8, 12], (30, 225, 468, 585)),
    (6, "TRUNK", 13, 21, [13, 14, 16, 20, 21], (314, 373, 320, 573)),
    (5, "NUTS2", 22, 41, [23, 26, 27, 30, 39, 40], (552, 897, 473, 590)),
    (7, "LOWLFT", 42, 49, [42, 47, 49], (147, 302, 246, 359)),
    (7, "MIDLFT", 50, 58, [50, 53, 55, 56, 57, 58], (135, 310, 141, 217)),
    (3, "UPRLFT", 59, 63, [59, 62, 63], (170, 308, 51, 91)),
    (5, "UPRRT", 64, 72, [64, 65, 67, 72], (365, 558, 82, 143)),
    (6, "MIDRT", 73, 81, [73, 74, 75, 76, 78, 81], (399, 557, 181, 272)),
    (2, "LOWRT", 82, 89, [82, 83, 89], (377, 525, 260, 418)),
    (9, "NUTS3", 90, 93, [90, 91, 92, 93], (322, 372, 178, 241)),
]

INNER = pairs(
    "1-3, 2-4, 3-5, 4-6, 5-7, 6-8, 7-9, 9-10, 9-11, 9-12, 10-12, 11-12, "
    "13-14, 13-15, 14-15, 14-16, 15-16, 15-17, 16-17, 16-18, 17-18, 17-19, 18-19, 18-21, 19-20, "
    "19-21, 20-21, "
    "22-23, 22-24, 22-25, 23-25, 23-40, 24-25, 24-26, 25-26, 27-29, 28-29, 28-30, 28-31, 29-31, "
    "30-31, 30-32, 31-33, 32-33, 32-34, 33-34, 33-35, 34-35, 34-36, 34-37, 35-37, 36-37, 38-39, "
    "38-40, 38-41, 39-41, 40-41, "
    "42-43, 42-44, 43-44, 43-45, 43-46, 44-46, 45-46, 45-47, 45-48, 46-48, 47-48, 47-49, 48-49, "
    "50-51, 50-52, 51-52, 51-53, 51-54, 52-54, 53-54, 53-55, 54-55, 54-56, 55-56, 55-57, 55-58, "
    "56-58, 57-58, "
    "59-60, 59-61, 60-61, 60-62, 61-62, 62-63, "
    "64-65, 65-66, 65-67, 66-67, 66-68, 67-68, 67-69, 68-69, 68-70, 69-70, 69-71, 70-71, 70-72, "
    "71-72, "
    "73-74, 73-75, 73-76, 74-76, 75-76, 75-77, 75-78, 76-78, 77-78, 77-79, 78-79, 78-80, 79-80, "
    "79-81, 80-81, "
    "82-83, 82-84, 83-85, 84-85, 84-86, 85-86, 85-87, 86-87, 86-88, 87-88, 87-89, 88-89")
BETWEEN = pairs(
    "1-42, 2-23, 2-40, 2-90, 8-20, 12-50, 13-49, 14-82, 14-92, 16-26, 21-27, 23-90, 30-81, "
    "39-72, 40-90, 42-50, 42-59, 42-72, 42-81, 42-89, 47-56, 49-56, 49-58, 50-59, 50-72, 50-81, "
    "50-89, 53-62, 55-62, 57-62, 57-63, 57-90, 57-91, 58-90, 59-72, 59-81, 59-89, 63-64, 65-73, "
    "67-73, 67-75, 72-81, 72-89, 74-83, 74-91, 74-93, 76-83, 78-83, 81-89, 82-92, 83-93")
RING_GROUPS = [(42, 50, 59, 72, 81, 89), (2, 23, 40, 90)]  # each a neighbour of all the others

QUOTED = [
    "1 ... 30 529 3 42",
    "20 ... 338 573 19 21 8",
    "23 ... 564 585 22 25 2 40 90",
    "26 ... 630 538 24 25 16",
    "27 ... 640 590 29 21",
    "30 ... 694 485 28 31 32 81",
    "33 ... 743 525 30 31 32 34 35",
    "40 ... 889 481 38 41 2 23 90",
    "42 ... 147 359 1 43 44 50 59 72 81 89",
    "50 ... 135 181 51 52 12 42 59 72 81 89",
    "59 ... 170 51 60 61 42 50 72 81 89",
    "72 ... 558 87 70 71 42 50 59 81 89 39",
    "81 ... 557 270 79 80 30 42 50 59 72 89",
    "89 ... 525 418 87 88 42 50 59 72 81",
    "90 ... 322 192 57 58 2 23 40",
    "93 ... 372 228 74 83",
]
PANEL = (15, 18)


def layout(all_pairs, long_links):
    fixed = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    candidates, start, boxes = {}, {}, []
    for _, _, first, last, _, box in CONTINENTS:
        spots = candidates_in(box, fixed, spacing=28, panel=PANEL)
        centre = ((box[0] + box[1]) / 2, (box[2] + box[3]) / 2)
        for t in range(first, last + 1):
            candidates[t] = spots
            start[t] = centre
        boxes.append((range(first, last + 1), box))
    report = []
    pos = place_labels(range(1, 94), fixed, candidates, all_pairs, start, steps=20000,
                       seed=213, long_links=long_links, boxes=boxes, report=report)
    for members, box in boxes:
        reach_edges(pos, members, box, fixed, panel=PANEL)
    print("coconutz:", *report, file=sys.stderr)
    return pos, fixed


def main():
    long_links = sorted({(a, b) for g in RING_GROUPS for a, b in combinations(g, 2)})
    mutual = sorted(set(INNER + BETWEEN))
    expect(len(mutual) == 183 and set(long_links) <= set(mutual), "pairs")
    links = adjacency(mutual, 93)
    links[33].add(30)  # one-sided: 30 does not list 33
    pos, fixed = layout(mutual + [(30, 33)], long_links)

    text = MapText("coconutz", PANEL, "Y")
    for bonus, name, first, last, _, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 94):
        text.set_row(t, "...", pos[t][0], pos[t][1], sorted(links[t]))
    text.set_quoted_rows(QUOTED, links)
    lines = text.lines()

    verify(lines, {
        "line_count": 115, "territories": 93, "continent_count": 10,
        "map_name": "coconutz" + " " * 6,
        "continents": [(b, n, list(range(f, l + 1)), bd) for b, n, f, l, bd, _ in CONTINENTS],
        "max_border": 6, "total_border": 44, "max_size": 20,
        "pairs": mutual, "one_sided": [(33, 30)],
        "histogram": {2: 15, 3: 24, 4: 27, 5: 15, 6: 6, 7: 2, 8: 4},
        "ascending_count": 82,
        "quoted_lines": {22 + int(q.split()[0]): q for q in QUOTED}
                        | {11: "2 NUTS1 1 2 3 4 5 6 7 8 9 10 11 12"},
        "box": (30, 897, 51, 590),
        "group_boxes": [(list(range(f, l + 1)), box) for _, _, f, l, _, box in CONTINENTS],
        "free_rows": [t for t in range(1, 94) if t not in fixed],
    })
    emit(lines, "mapTextCoconutz", "The map text coconutz: a palm tree with its nuts.",
         "maptext_coconutz.py")


if __name__ == "__main__":
    main()
