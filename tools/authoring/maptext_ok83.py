#!/usr/bin/env python3
"""Authoring script for the map text OK83 (maps/MapTextOK83.cpp).

This text follows from rules: a grid of 7 rows of 10, a short eighth row, four corners and
three side territories that join the edges. Codes and the corner positions keep their
leading zeros ("001", "055").

    python3 tools/authoring/maptext_ok83.py > maps/MapTextOK83.cpp
"""

from maptext_lib import MapText, emit, verify

COLUMN_X = [115, 160, 200, 250, 295, 340, 380, 430, 480, 520]
ROW_Y = [100, 140, 190, 230, 280, 320, 365]
# The eighth row stands under these columns of row 7, in this order (territories 71..76).
UNDER_ROW_7 = {1: 71, 3: 72, 5: 73, 6: 74, 8: 75, 10: 76}
TRAILING_BLANK_ROWS = {62, 64, 67, 69}

CONTINENT_LINES = [
    "5 Row01 1 2 3 4 5 6 7 8 9 10 ",
    "3 Row11 11 12 13 14 15 16 17 18 19 20 ",
    "3 Row21 21 22 23 24 25 26 27 28 29 30 ",
    "3 Row31 31 32 33 34 35 36 37 38 39 40 ",
    "3 Row41 41 42 43 44 45 46 47 48 49 50 ",
    "3 Row51 51 52 53 54 55 56 57 58 59 60 ",
    "3 Row61 61 62 63 64 65 66 67 68 69 70 ",
    "5 Row71 71 72 73 74 75 76 ",
    "5 Sides 81 82 83 ",
    "5 Corners 77 78 79 80",
]

OTHER_ROWS = [
    "71 071 115 400 83 61",
    "72 072 200 400 63",
    "73 073 295 400 65 74",
    "74 074 340 400 66 73",
    "75 075 430 400 68",
    "76 076 520 400 82 70",
    "77 077 055 045 81",
    "78 078 600 045 82",
    "79 079 055 435 83",
    "80 080 600 435 82",
    "81 081 300 050 1 2 3 4 5 6 77 82 83",
    "82 082 500 050 7 8 9 10 76 78 80 81 83",
    "83 083 060 180 11 21 51 61 71 79 81 82",
]


def grid_row(t):
    r, c = (t - 1) // 10 + 1, (t - 1) % 10 + 1
    left = t - 1 if c > 1 else None
    right = t + 1 if c < 10 else None
    above = t - 10 if r > 1 else None
    below = t + 10 if r < 7 else UNDER_ROW_7.get(c)
    side = []
    if r == 1:
        side = [81 if c <= 6 else 82]
    elif c == 1 and r in (2, 3, 6, 7):
        side = [83]
    if r == 1:
        order = [left, right, below]
    elif r == 2:
        order = [above, left, right, below]
    else:
        order = [left, right, above, below]
    return COLUMN_X[c - 1], ROW_Y[r - 1], side + [n for n in order if n is not None]


def main():
    text = MapText("OK83", (600, 100), "Y")
    for line in CONTINENT_LINES:
        words = line.split()
        text.add_continent(int(words[0]), words[1], map(int, words[2:]), line.endswith(" "))
    for t in range(1, 71):
        x, y, row = grid_row(t)
        text.set_row(t, f"{t:03d}", x, y, row, t in TRAILING_BLANK_ROWS)
    for line in OTHER_ROWS:
        text.set_quoted(line)
    lines = text.lines()

    grid_pairs = set()
    for t in range(1, 71):
        grid_pairs |= {(min(t, u), max(t, u)) for u in grid_row(t)[2]}
    for line in OTHER_ROWS:
        t = int(line.split()[0])
        grid_pairs |= {(min(t, int(u)), max(t, int(u))) for u in line.split()[4:]}

    def every_member_borders(p):
        assert all(len(b) == len(m) for b, (_, _, m) in zip(p.borders, p.continents))

    quoted = {22 + int(line.split()[0]): line for line in OTHER_ROWS}
    quoted.update({23: "1 001 115 100 81 2 11", 32: "10 010 520 100 82 9 20",
                   33: "11 011 115 140 83 1 12 21", 34: "12 012 160 140 2 11 13 22",
                   43: "21 021 115 190 83 22 11 31", 44: "22 022 160 190 21 23 12 32",
                   53: "31 031 115 230 32 21 41", 83: "61 061 115 365 83 62 51 71",
                   84: "62 062 160 365 61 63 52 ", 92: "70 070 520 365 69 60 76"})
    quoted.update({11 + i: line for i, line in enumerate(CONTINENT_LINES)})
    verify(lines, {
        "line_count": 105, "territories": 83, "continent_count": 10,
        "map_name": "OK83" + " " * 10,
        "max_border": 10, "total_border": 83, "max_size": 10,
        "pairs": grid_pairs,
        "histogram": {1: 6, 2: 4, 3: 14, 4: 56, 8: 1, 9: 2},
        "trailing_blank_lines": list(range(11, 20)) + [22 + t for t in TRAILING_BLANK_ROWS],
        "quoted_lines": quoted,
        "codes": [f"{t:03d}" for t in range(1, 84)],
        "box": (55, 600, 45, 435),
        "extra_checks": [every_member_borders],
    })
    emit(lines, "mapTextOK83", "The map text OK83: a grid of rows with sides and corners.",
         "maptext_ok83.py")


if __name__ == "__main__":
    main()
