#!/usr/bin/env python3
"""Authoring script for the map text e2 (maps/MapTextE2.cpp).

Everything in this text follows from rules: two rings of territories (1..58 and 59..115)
winding in bands, joined by four bridges, with the label positions given run by run.

    python3 tools/authoring/maptext_e2.py > maps/MapTextE2.cpp
"""

from maptext_lib import MapText, emit, pairs, verify

BRIDGES = {18: 115, 115: 18, 27: 106, 106: 27, 36: 97, 97: 36, 45: 88, 88: 45}
TRAILING_BLANK_ROWS = set(range(1, 9)) | {11, 98, 99, 100}

CONTINENTS = [  # bonus, name, members, border territories
    (10, "1", [18, 115], [18, 115]),
    (10, "2", [27, 106], [27, 106]),
    (10, "3", [36, 97], [36, 97]),
    (10, "4", [45, 88], [45, 88]),
    (4, "5", range(46, 59), [46, 58]),
    (4, "6", range(1, 18), [1, 17]),
    (7, "7", range(19, 27), [19, 26]),
    (7, "8", range(28, 36), [28, 35]),
    (7, "9", range(37, 45), [37, 44]),
    (4, "10", range(59, 71), [59, 70]),
    (4, "11", range(71, 88), [71, 87]),
    (7, "12", range(89, 97), [89, 96]),
    (7, "13", range(98, 106), [98, 105]),
    (7, "14", range(107, 115), [107, 114]),
]

# Label positions, run by run: (first, last, xs, ys); a single value serves the whole run.
RUNS = [
    (1, 8, [97, 147, 197, 247, 297, 347, 430, 490], [80]),
    (9, 9, [515], [106]),
    (10, 16, [490, 430, 347, 297, 247, 197, 147], [127]),
    (17, 19, [129], [152, 188, 224]),
    (20, 26, [147, 197, 247, 297, 347, 430, 490], [259]),
    (27, 27, [515], [284]),
    (28, 34, [490, 430, 347, 297, 247, 197, 147], [306]),
    (35, 37, [129], [332, 367, 409]),
    (38, 44, [147, 197, 247, 297, 347, 430, 490], [443]),
    (45, 45, [515], [468]),
    (46, 53, [490, 430, 347, 297, 247, 197, 147, 97], [490]),
    (54, 58, [81], [450, 350, 240, 140, 105]),
    (59, 66, [186, 262, 337, 387, 437, 487, 537, 587], [168]),
    (67, 70, [605], [200, 230, 489, 540]),
    (71, 78, [587, 537, 487, 437, 387, 337, 262, 192], [579]),
    (79, 79, [170], [553]),
    (80, 86, [186, 262, 337, 387, 437, 487, 537], [528]),
    (87, 89, [553], [498, 457, 426]),
    (90, 96, [537, 487, 437, 387, 337, 262, 186], [399]),
    (97, 97, [170], [378]),
    (98, 104, [186, 262, 337, 387, 437, 487, 537], [351]),
    (105, 107, [553], [314, 278, 242]),
    (108, 114, [537, 487, 437, 387, 337, 262, 186], [216]),
    (115, 115, [170], [195]),
]


def positions():
    pos = {}
    for first, last, xs, ys in RUNS:
        for i, t in enumerate(range(first, last + 1)):
            pos[t] = (xs[i] if len(xs) > 1 else xs[0], ys[i] if len(ys) > 1 else ys[0])
    assert sorted(pos) == list(range(1, 116))
    return pos


def ring_next(t):
    return {58: 1, 115: 59}.get(t, t + 1)


def ring_previous(t):
    return {1: 58, 59: 115}.get(t, t - 1)


def neighbours(t):
    row = [ring_next(t)] + ([BRIDGES[t]] if t in BRIDGES else []) + [ring_previous(t)]
    if t == 59:
        row.append(61)  # the map's one one-sided link
    return row


def main():
    text = MapText("e2", (700, 100), "N")
    for bonus, name, members, _ in CONTINENTS:
        text.add_continent(bonus, name, members)
    pos = positions()
    for t in range(1, 116):
        text.set_row(t, "...", pos[t][0], pos[t][1], neighbours(t), t in TRAILING_BLANK_ROWS)
    lines = text.lines()

    ring = [(t, ring_next(t)) for t in range(1, 116)]
    bridges = [(a, b) for a, b in BRIDGES.items() if a < b]
    first_row = 27

    def bridges_side_by_side(p):
        for a, b in bridges:
            assert 38 <= abs(p.pos[a][0] - p.pos[b][0]) <= 41, (a, b)

    verify(lines, {
        "line_count": 141, "territories": 115, "continent_count": 14,
        "map_name": "e2" + " " * 12,
        "continents": [(b, n, list(m), bd) for b, n, m, bd in CONTINENTS],
        "max_border": 2, "total_border": 28, "max_size": 17,
        "pairs": pairs(", ".join(f"{a}-{b}" for a, b in ring + bridges)),
        "one_sided": [(59, 61)],
        "histogram": {2: 106, 3: 9},
        "trailing_blank_lines": [first_row + t - 1 for t in TRAILING_BLANK_ROWS],
        "quoted_lines": {first_row + 17: "18 ... 129 188 19 115 17",
                         first_row: "1 ... 97 80 2 58 ",
                         first_row + 97: "98 ... 186 351 99 97 ",
                         first_row + 114: "115 ... 170 195 59 18 114",
                         first_row + 58: "59 ... 186 168 60 115 61",
                         first_row + 60: "61 ... 337 168 62 60",
                         11: "10 1 18 115", 24: "7 14 107 108 109 110 111 112 113 114"},
        "codes": ["..."] * 115,
        "box": (81, 605, 80, 579),
        "extra_checks": [bridges_side_by_side],
    })
    emit(lines, "mapTextE2", "The map text e2: two rings of territories joined by four bridges.",
         "maptext_e2.py")


if __name__ == "__main__":
    main()
