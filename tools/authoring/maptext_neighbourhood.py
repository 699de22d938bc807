#!/usr/bin/env python3
"""Authoring script for the map text Neighbourhood (maps/MapTextNeighbourhood.cpp).

Five sites (continents) of a neighbourhood, with twenty streets (territories 82..101, in no
continent) between them. The streets' rows and rows 1 and 10 are given word for word; the
other labels are placed by annealing inside the box that each site covers, so that linked
labels stand close and links cross as little as they can.

    python3 tools/authoring/maptext_neighbourhood.py > maps/MapTextNeighbourhood.cpp
"""

import sys

from maptext_lib import (MapText, adjacency, candidates_in, emit, expect, pairs, place_labels,
                         reach_edges, verify)

CONTINENTS = [  # bonus, name, first, last, border territories, box (x0, x1, y0, y1)
    (3, "RadarBlockingDepot", 31, 42, [34, 37, 39, 40], (251, 443, 319, 415)),
    (7, "AlienCommsFacility", 16, 30, [24, 26, 28, 30], (635, 881, 46, 236)),
    (8, "SewagePurgingPlant", 1, 15, [1, 2, 12, 13], (71, 419, 92, 282)),
    (9, "WarWidowRetireHome", 63, 81, list(range(63, 82)), (665, 918, 429, 590)),
    (10, "Dentist", 43, 62, [44, 60, 62], (27, 287, 331, 585)),
]
STREETS_BOX = (200, 918, 247, 605)

INNER = pairs(
    "31-32, 31-33, 31-34, 32-34, 32-35, 32-36, 33-34, 33-37, 33-38, 34-36, 34-37, 34-39, 35-36, "
    "35-40, 36-37, 36-39, 36-40, 37-38, 37-39, 37-41, 38-41, 39-40, 39-41, 39-42, 40-42, 41-42, "
    "16-30, 17-29, 18-28, 19-30, 20-22, 21-23, 21-28, 22-23, 23-25, 23-27, 24-27, 26-27, 28-29, "
    "28-30, "
    "1-2, 1-3, 2-4, 2-15, 3-7, 4-5, 4-15, 5-6, 5-15, 6-15, 7-8, 7-12, 8-9, 9-14, 10-12, 11-12, "
    "12-13, 13-14, 14-15, "
    "63-65, 64-66, 67-70, 69-72, 70-73, 71-75, 72-76, 74-77, 75-78, 77-79, 78-80, 79-81, "
    "43-44, 44-45, 45-46, 46-47, 47-48, 48-49, 48-50, 48-51, 51-52, 51-60, 52-54, 53-55, 53-60, "
    "54-60, 55-62, 56-61, 57-62, 58-61, 59-62, 60-61, 61-62")
BETWEEN = pairs("1-30, 1-62, 13-34, 28-60, 40-44")

QUOTED = [
    "1 ... 328 92 2 3 30 62 85",
    "10 ... 419 222 12",
    "82 ... 599 426 83 86 96",
    "83 ... 556 393 82 84",
    "84 ... 496 319 83 85",
    "85 ... 443 265 1 12 30 84",
    "86 ... 659 419 82 87",
    "87 ... 735 424 86 88 91",
    "88 ... 738 370 87 89",
    "89 ... 690 293 88 90",
    "90 ... 719 247 24 26 89",
    "91 ... 793 440 87 92",
    "92 ... 718 486 2 64 66 91 93 94 95",
    "93 ... 918 523 30 62 63 65 68 92 94 95 96",
    "94 ... 849 553 67 69 70 72 73 76 92 93",
    "95 ... 820 605 71 74 75 77 78 79 80 81 92 93",
    "96 ... 477 488 62 82 93 97 100",
    "97 ... 483 453 96 98 99",
    "98 ... 392 434 39 97",
    "99 ... 446 406 37 97",
    "100 ... 314 517 96 101",
    "101 ... 200 464 60 100",
]
PANEL = (2, 2)


def street_pairs():
    out = []
    for line in QUOTED:
        t = int(line.split()[0])
        if t >= 82:
            out += [(min(t, int(u)), max(t, int(u))) for u in line.split()[4:]]
    return sorted(set(out))


def layout(all_pairs):
    fixed = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    candidates, start = {}, {}
    for _, _, first, last, _, box in CONTINENTS:
        spots = candidates_in(box, fixed, spacing=30, panel=PANEL)
        centre = ((box[0] + box[1]) / 2, (box[2] + box[3]) / 2)
        for t in range(first, last + 1):
            candidates[t] = spots
            start[t] = fixed.get(t, centre)
    report = []
    boxes = [(range(f, l + 1), box) for _, _, f, l, _, box in CONTINENTS]
    pos = place_labels(range(1, 102), fixed, candidates, all_pairs, start, steps=25000,
                       seed=212, boxes=boxes, report=report)
    for _, _, first, last, _, box in CONTINENTS:
        reach_edges(pos, range(first, last + 1), box, fixed, panel=PANEL)
    print("Neighbourhood:", *report, file=sys.stderr)
    return pos, fixed


def main():
    all_pairs = sorted(set(INNER + BETWEEN + street_pairs()))
    expect(len(all_pairs) == 150, f"{len(all_pairs)} pairs")
    pos, fixed = layout(all_pairs)
    links = adjacency(all_pairs, 101)
    text = MapText("Neighbourhood", PANEL, "N")
    for bonus, name, first, last, _, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 102):
        text.set_row(t, "...", pos[t][0], pos[t][1], sorted(links[t]))
    for line in QUOTED:
        expect(line == text.lines()[16 + int(line.split()[0])], f"rules disagree with {line!r}")
    lines = text.lines()

    verify(lines, {
        "line_count": 118, "territories": 101, "continent_count": 5,
        "map_name": "Neighbourhood ",
        "continents": [(b, n, list(range(f, l + 1)), bd) for b, n, f, l, bd, _ in CONTINENTS],
        "max_border": 19, "total_border": 34, "max_size": 20,
        "pairs": all_pairs,
        "histogram": {1: 16, 2: 38, 3: 22, 4: 8, 5: 6, 6: 3, 7: 5, 8: 1, 9: 1, 10: 1},
        "ascending_count": 101,
        "quoted_lines": {17 + int(q.split()[0]): q for q in QUOTED}
                        | {11: "3 RadarBlockingDepot 31 32 33 34 35 36 37 38 39 40 41 42"},
        "box": (27, 918, 46, 605),
        "group_boxes": [(list(range(f, l + 1)), box) for _, _, f, l, _, box in CONTINENTS]
                       + [(list(range(82, 102)), STREETS_BOX)],
        "free_rows": [t for t in range(1, 102) if t not in fixed],
    })
    emit(lines, "mapTextNeighbourhood",
         "The map text Neighbourhood: five sites and the streets between them.",
         "maptext_neighbourhood.py")


if __name__ == "__main__":
    main()
