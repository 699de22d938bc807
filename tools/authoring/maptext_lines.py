#!/usr/bin/env python3
"""Authoring script for the map text Lines (maps/MapTextLines.cpp).

Thirteen lines of territories (the continents) drawn across the board. Along a line each
territory touches the one before and after it; where two lines cross, the four territories
around the crossing all touch. Adjacency and the order of each row's neighbours follow from
these rules. The label positions are ours: they are annealed so that the lines, drawn from
label to label, cross exactly at the stated segments and nowhere else.

    python3 tools/authoring/maptext_lines.py > maps/MapTextLines.cpp
"""

import sys

from maptext_lib import (MapText, candidates_in, emit, expect, place_labels, reach_edges,
                         segments_cross, verify)

LINES = [  # bonus, first, last, border territories, trailing blank on the continent line
    (7, 1, 9, list(range(2, 10)), False), (3, 10, 14, list(range(11, 15)), True),
    (4, 15, 20, list(range(15, 20)), False), (5, 21, 27, list(range(21, 28)), False),
    (3, 28, 32, list(range(28, 33)), False), (2, 33, 36, list(range(33, 37)), False),
    (2, 37, 40, list(range(38, 41)), False), (5, 41, 47, [41, 42, 43, 45, 46], False),
    (2, 48, 51, list(range(48, 52)), False), (2, 52, 55, list(range(52, 56)), False),
    (5, 56, 63, list(range(56, 61)), False), (5, 64, 71, [64, 65, 69, 70], True),
    (5, 72, 80, [77, 78], False),
]
# Each crossing: a segment (a, a + 1) of one line crosses a segment (c, c + 1) of another.
CROSSINGS = [(2, 21), (4, 16), (5, 30), (6, 77), (7, 12), (8, 41), (11, 35), (13, 53), (15, 22),
             (17, 29), (18, 34), (23, 69), (25, 31), (26, 38), (28, 33), (39, 48), (42, 52),
             (45, 59), (49, 54), (50, 58), (56, 64)]
AFTER_FIRST = {7, 16, 26, 29, 53}  # rows that list the crossing toward the next one first
WRITTEN = ["34 xxx 121 536 33 35 28 29 19 18", "35 xxx 204 523 34 36 19 18 11 12",
           "60 xxx 779 578 59 45 46 61"]
QUOTED = ["1 xxx 32 42 2", "2 xxx 53 123 1 3 21 22 ", "80 xxx 233 432 79",
          "5 xxx 219 288 4 6 16 17 30 31", "7 xxx 344 373 6 8 12 13 77 78"] + WRITTEN
TRAILING_BLANK_ROWS = {2, 31, 39, 64, 77, 79}
BOX = (32, 892, 41, 607)
PANEL = (830, 40)


def line_of(t):
    return next(i for i, (_, f, l, _, _) in enumerate(LINES) if f <= t <= l)


def chain_pairs():
    return [(t, t + 1) for _, f, l, _, _ in LINES for t in range(f, l)]


def crossing_pairs():
    return [(x, y) for a, c in CROSSINGS for x in (a, a + 1) for y in (c, c + 1)]


def row(t):
    """The neighbours in the rules' order: before, after, then the crossings."""
    _, first, last, _, _ = LINES[line_of(t)]
    out = ([t - 1] if t > first else []) + ([t + 1] if t < last else [])
    before = [c for a, c in CROSSINGS if a == t - 1] + [a for a, c in CROSSINGS if c == t - 1]
    after = [c for a, c in CROSSINGS if a == t] + [a for a, c in CROSSINGS if c == t]
    segments = [s for s in ((after, before) if t in AFTER_FIRST else (before, after)) if s]
    for crossing in segments:
        out += [crossing[0], crossing[0] + 1]
    return out


def layout():
    fixed = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    spots = candidates_in(BOX, fixed, spacing=27, panel=PANEL)
    start = {t: (462, 324) for t in range(1, 81)}
    chains = chain_pairs()
    required = [((a, a + 1), (c, c + 1)) for a, c in CROSSINGS]
    report = []
    pos = place_labels(range(1, 81), fixed, {t: spots for t in range(1, 81)},
                       chains + crossing_pairs(), start, steps=40000, seed=205,
                       boxes=[(range(1, 81), BOX)], crossing_cost=25.0,
                       hidden=crossing_pairs(), required_crossings=required, report=report)
    reach_edges(pos, range(1, 81), BOX, fixed, panel=PANEL)
    print("Lines:", *report, file=sys.stderr)
    return pos, fixed


def main():
    pos, fixed = layout()
    text = MapText("Lines", PANEL, "N")
    for i, (bonus, first, last, _, blank) in enumerate(LINES, 1):
        text.add_continent(bonus, f"Line{i}", range(first, last + 1), blank)
    for t in range(1, 81):
        text.set_row(t, "xxx", pos[t][0], pos[t][1], row(t), t in TRAILING_BLANK_ROWS)
    for line in QUOTED:
        t = int(line.split()[0])
        words = line.split()[4:]
        if line in WRITTEN:  # written out of the rules' order, with the same neighbours
            expect(sorted(map(int, words)) == sorted(row(t)), f"rules disagree with {line!r}")
        else:
            expect(list(map(int, words)) == row(t), f"rules disagree with {line!r}")
        text.set_quoted(line)
    lines = text.lines()

    chains = chain_pairs()

    def lines_cross_where_stated(p):
        want = {frozenset(((a, a + 1), (c, c + 1))) for a, c in CROSSINGS}
        for i, s in enumerate(chains):
            for u in chains[i + 1:]:
                if len(set(s) | set(u)) < 4:
                    continue
                crosses = segments_cross(p.pos[s[0]], p.pos[s[1]], p.pos[u[0]], p.pos[u[1]])
                expect(crosses == (frozenset((s, u)) in want), f"segments {s} and {u}")

    verify(lines, {
        "line_count": 105, "territories": 80, "continent_count": 13,
        "map_name": "Lines" + " " * 9,
        "continents": [(b, f"Line{i}", list(range(f, l + 1)), bd)
                       for i, (b, f, l, bd, _) in enumerate(LINES, 1)],
        "max_border": 8, "total_border": 60, "max_size": 9,
        "pairs": {tuple(sorted(p)) for p in chains + crossing_pairs()},
        "histogram": {1: 9, 2: 11, 3: 17, 4: 19, 6: 24},
        "trailing_blank_lines": [12, 22] + [25 + t for t in TRAILING_BLANK_ROWS],
        "quoted_lines": {25 + int(q.split()[0]): q for q in QUOTED}
                        | {11: "7 Line1 1 2 3 4 5 6 7 8 9", 12: "3 Line2 10 11 12 13 14 ",
                           22: "5 Line12 64 65 66 67 68 69 70 71 "},
        "box": BOX,
        "free_rows": [t for t in range(1, 81) if t not in fixed],
        "extra_checks": [lines_cross_where_stated],
    })
    emit(lines, "mapTextLines", "The map text Lines: thirteen crossing lines of territories.",
         "maptext_lines.py")


if __name__ == "__main__":
    main()
