#!/usr/bin/env python3
"""Authoring script for the map text Romania (maps/MapTextRomania.cpp).

Every line of this map is given: its seven historical regions and its 41 counties with their
two-letter codes, label positions and neighbours. The script writes them out and checks them.

    python3 tools/authoring/maptext_romania.py > maps/MapTextRomania.cpp
"""

from maptext_lib import MapText, emit, verify

CONTINENTS = [  # bonus, name, members, border territories
    (1, "Banat", [1, 2], [1, 2]),
    (3, "Oltenia", range(7, 12), [7, 9, 11]),
    (6, "Muntenia", range(22, 32), [22, 24, 25, 26, 27, 30]),
    (1, "Dobrogea", [12, 13], [12]),
    (5, "Moldova", range(14, 22), [14, 20, 21]),
    (3, "Crisana", range(3, 7), [3, 4, 5, 6]),
    (6, "Ardeal", range(32, 42), [32, 33, 34, 37, 38, 39]),
]

ROWS = """
cs 166 415 2 7
tm 121 343 1 3 37
ar 158 275 2 4 37
bh 201 180 3 5 32 33
sm 270 93 4 6 32
mm 350 94 5 14 32 34
mh 266 503 1 8 10
gj 299 454 7 9 10
vl 375 439 8 11 22 38
dj 307 559 7 8 9 11
ot 404 525 9 10 22 27
ct 778 541 13 30
tl 799 430 12
sv 505 108 6 15 16 17 34
bt 597 62 14 17
nt 577 191 14 17 18 19
is 637 155 14 15 16 19
bc 603 266 16 19 20
vs 694 246 16 17 18 20 21
vr 624 343 18 19 21 25 26
gl 698 347 19 20 26
ag 442 442 9 11 23 27
db 500 461 22 24 27 28 29
ph 544 431 23 25 29 30 39
bz 616 407 20 24 26 30
br 697 433 20 21 25 30
tr 474 573 11 22 23 28
gr 546 557 23 27 29 31
bu 566 516 23 24 28 30 31
il 643 492 12 24 25 26 29 31
cl 629 538 28 29 30
sj 291 163 4 5 6 33
cj 309 216 4 32 34 35 36
bn 410 161 6 14 33 36
ab 334 286 33 36 37 38
ms 414 241 33 34 35 38 39 40
hd 270 328 2 3 35
sb 393 331 9 35 36 39
bv 480 332 24 36 38 41
hr 500 252 36 41
cv 545 326 39 40
"""


def main():
    text = MapText("Romania", (792, 41), "Y")
    for bonus, name, members, _ in CONTINENTS:
        text.add_continent(bonus, name, members)
    rows = [line.split() for line in ROWS.strip().splitlines()]
    for t, words in enumerate(rows, 1):
        text.set_row(t, words[0], int(words[1]), int(words[2]), [int(w) for w in words[3:]])
    lines = text.lines()

    mutual = {(min(t, u), max(t, u)) for t, w in enumerate(rows, 1)
              for u in map(int, w[3:]) if (t, u) != (10, 9)}
    verify(lines, {
        "line_count": 60, "territories": 41, "continent_count": 7,
        "map_name": "Romania" + " " * 7,
        "continents": [(b, n, list(m), bd) for b, n, m, bd in CONTINENTS],
        "max_border": 6, "total_border": 25, "max_size": 10,
        "pairs": mutual, "one_sided": [(10, 9)],
        "histogram": {1: 1, 2: 5, 3: 9, 4: 17, 5: 7, 6: 2},
        "ascending_count": 41,
        "quoted_lines": {11: "1 Banat 1 2", 17: "6 Ardeal 32 33 34 35 36 37 38 39 40 41",
                         20: "1 cs 166 415 2 7", 29: "10 dj 307 559 7 8 9 11",
                         28: "9 vl 375 439 8 11 22 38"},
        "box": (121, 799, 62, 573),
    })
    assert len(mutual) == 76 and len({w[0] for w in rows}) == 41
    emit(lines, "mapTextRomania", "The map text Romania: seven regions, 41 counties.",
         "maptext_romania.py")


if __name__ == "__main__":
    main()
