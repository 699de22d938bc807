#!/usr/bin/env python3
"""Authoring script for the map text JustNeedTwo (maps/MapTextJustNeedTwo.cpp).

Nine groups of seven or ten territories in a 3 x 3 arrangement (columns L, M, R; rows 01 to
03). A continent is only the first and the last territory of its group; two or four parallel
paths of two territories join them. Six hubs, outside every continent, link all first and all
second members. The adjacency follows from these rules; the label positions are ours: each
group's paths are drawn as nested arcs from its first to its last member.

    python3 tools/authoring/maptext_justneedtwo.py > maps/MapTextJustNeedTwo.cpp
"""

import math

from maptext_lib import MapText, emit, expect, reach_edges, verify

GROUPS = [  # name, bonus, first, last
    ("L01", 25, 1, 10), ("L02", 18, 11, 20), ("L03", 12, 21, 27),
    ("M01", 12, 28, 34), ("M02", 18, 35, 44), ("M03", 25, 45, 54),
    ("R01", 25, 55, 64), ("R02", 18, 65, 74), ("R03", 12, 75, 81),
]
COLUMNS = {"L": (34, 204), "M": (253, 422), "R": (471, 641)}
FIRST_HUBS, SECOND_HUBS = (85, 86, 87), (82, 83, 84)

QUOTED = [
    "1 ... 39 62 3 5 7 9 85 86 87",
    "10 ... 76 173 2 4 6 8 82 83 84",
    "22 ... 34 629 27",
    "50 ... 422 514 49 54 ",
    "82 ... 717 57 10 20 27 34 44 54 64 74 81",
    "83 ... 780 57 10 20 27 34 44 54 64 74 81",
    "84 ... 841 57 10 20 27 34 44 54 64 74 81",
    "85 ... 718 590 1 11 21 28 35 45 55 65 75",
    "86 ... 781 590 1 11 21 28 35 45 55 65 75",
    "87 ... 842 590 1 11 21 28 35 45 55 65 75",
]


def group_paths(name, q):
    """The paths of a group (lists of territories from its first to its last member) and its
    spur, if any; q[i] is the group's i-th territory (1-based)."""
    if len(q) == 11:
        return [[q[1], q[3], q[4], q[10]], [q[1], q[5], q[6], q[10]],
                [q[1], q[7], q[8], q[10]], [q[1], q[9], q[2], q[10]]], None
    if name == "M01":
        return [[q[1], q[3], q[2], q[7]], [q[1], q[5], q[4], q[7]]], (q[6], q[7])
    return [[q[1], q[3], q[4], q[7]], [q[1], q[5], q[6], q[7]]], (q[2], q[7])


# Every group is drawn the same way: its last member 37 right of and 111 below its first,
# the paths as arcs bulging to the right, one inside the other.
SPAN = (37, 111)
BULGES = [30, 68, 106, 144]


def arc_points(first, bulge):
    length = math.hypot(*SPAN)
    nx, ny = SPAN[1] / length, -SPAN[0] / length
    lift = bulge * 8 / 9  # a parabola's height at a third of the way
    return [(first[0] + SPAN[0] * k / 3 + nx * lift, first[1] + SPAN[1] * k / 3 + ny * lift)
            for k in (1, 2)]


# Where each group's first member stands, and which path is drawn outermost-last.
FIRST_MEMBER_AT = {
    "L01": (39, 62), "L02": (39, 272), "L03": (45, 489),
    "M01": (258, 62), "M02": (258, 272), "M03": (276, 481),
    "R01": (476, 62), "R02": (476, 272), "R03": (482, 489),
}
PATH_ORDER = {"M03": [0, 2, 3, 1]}  # M03's q5-q6 path outermost, so 50 stands at x 422
SPUR_OFFSET = {"L03": (-48, 29), "M01": (40, 25), "R03": (40, 25)}


def layout():
    pos = {}
    for name, _, first, last in GROUPS:
        q = [None] + list(range(first, last + 1))
        paths, spur = group_paths(name, q)
        start = FIRST_MEMBER_AT[name]
        pos[q[1]] = start
        pos[q[-1]] = (start[0] + SPAN[0], start[1] + SPAN[1])
        for bulge, k in zip(BULGES, PATH_ORDER.get(name, range(len(paths)))):
            for t, pt in zip(paths[k][1:3], arc_points(start, bulge)):
                pos[t] = pt
        if spur:
            end = pos[spur[1]]
            pos[spur[0]] = (end[0] + SPUR_OFFSET[name][0], end[1] + SPUR_OFFSET[name][1])
    pos = {t: (int(round(x)), int(round(y))) for t, (x, y) in pos.items()}
    for line in QUOTED:
        w = line.split()
        pos[int(w[0])] = (int(w[2]), int(w[3]))
    fixed = {int(line.split()[0]) for line in QUOTED}
    # Each column reaches its stated edges, and the board its top.
    for letter, (x0, x1) in COLUMNS.items():
        members = [t for name, _, a, b in GROUPS if name[0] == letter for t in range(a, b + 1)]
        lo = min(pos[t][1] for t in members)
        hi = max(pos[t][1] for t in members)
        reach_edges(pos, members, (x0, x1, lo, hi), fixed)
    reach_edges(pos, list(range(1, 88)), (34, 842, 25, 629), fixed)
    return pos


def adjacency():
    rows = {t: set() for t in range(1, 88)}

    def link(a, b):
        rows[a].add(b)
        rows[b].add(a)

    for name, _, first, last in GROUPS:
        q = [None] + list(range(first, last + 1))
        paths, spur = group_paths(name, q)
        for path in paths:
            for a, b in zip(path, path[1:]):
                link(a, b)
        if spur:
            link(*spur)
        for hub in FIRST_HUBS:
            link(hub, first)
        for hub in SECOND_HUBS:
            link(hub, last)
    return rows


def main():
    rows = adjacency()
    pos = layout()
    text = MapText("JustNeedTwo", (745, 150), "N")
    for name, bonus, first, last in GROUPS:
        text.add_continent(bonus, name, [first, last])
    for t in range(1, 88):
        text.set_row(t, "...", pos[t][0], pos[t][1], sorted(rows[t]), t == 50)
    lines = text.lines()
    for line in QUOTED:  # the rules give the quoted rows, position apart
        t = int(line.split()[0])
        expect(lines[20 + t].split()[4:] == line.split()[4:], f"rules disagree with {line!r}")
    mutual = {(min(t, u), max(t, u)) for t in rows for u in rows[t]}
    groups = {name: list(range(a, b + 1)) for name, _, a, b in GROUPS}

    def groups_in_rows(p):
        for letter in "LMR":
            bands = [[p.pos[t][1] for t in groups[f"{letter}0{r}"]] for r in (1, 2, 3)]
            expect(max(bands[0]) < min(bands[1]) and max(bands[1]) < min(bands[2]),
                   f"column {letter}: groups out of their rows")

    def columns_spanned(p):
        for letter, (x0, x1) in COLUMNS.items():
            xs = [p.pos[t][0] for n in groups if n[0] == letter for t in groups[n]]
            expect((min(xs), max(xs)) == (x0, x1), f"column {letter} spans {min(xs)}..{max(xs)}")

    verify(lines, {
        "line_count": 108, "territories": 87, "continent_count": 9,
        "map_name": "JustNeedTwo" + " " * 3,
        "continents": [(b, n, [a, z], [a, z]) for n, b, a, z in GROUPS],
        "max_border": 2, "total_border": 18, "max_size": 2,
        "pairs": mutual,
        "histogram": {1: 3, 2: 60, 5: 3, 6: 3, 7: 12, 9: 6},
        "ascending_count": 87,
        "trailing_blank_lines": [71],
        "quoted_lines": {21 + int(line.split()[0]): line for line in QUOTED},
        "box": (34, 842, 25, 629),
        "free_rows": [t for t in range(1, 88) if t not in {int(l.split()[0]) for l in QUOTED}],
        "extra_checks": [groups_in_rows, columns_spanned],
    })
    emit(lines, "mapTextJustNeedTwo",
         "The map text JustNeedTwo: nine two-member continents and six hubs.",
         "maptext_justneedtwo.py")


if __name__ == "__main__":
    main()
