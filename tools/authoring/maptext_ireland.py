#!/usr/bin/env python3
"""Authoring script for the map text Ireland (maps/MapTextIreland.cpp).

Every line of this map is given: the four provinces, Belfast (a continent inside Ulster) and
the 32 counties with their codes, label positions and neighbours.

    python3 tools/authoring/maptext_ireland.py > maps/MapTextIreland.cpp
"""

from maptext_lib import MapText, emit, verify

CONTINENTS = [  # bonus, name, members, border territories
    (1, "Ulster", range(1, 10), [1, 3, 5, 6, 7, 8, 9]),
    (4, "Belfast", range(1, 7), [1, 2, 3, 4, 5, 6]),
    (3, "Connaught", range(10, 15), [12, 13, 14]),
    (10, "Leinster", range(15, 27), [15, 16, 17, 18, 19, 20, 22, 24]),
    (4, "Munster", range(27, 33), [27, 28, 29, 31, 32]),
]

ROWS = """
dwn 646 179 3 6 17
ldy 580 74 3 4 8
ant 642 92 1 2 6 29
tyr 551 127 2 5 6 7 8
frm 510 172 4 7 8 9 12
arm 607 177 1 3 4 7 17
mon 567 187 4 5 6 9 17
don 475 83 2 4 5 12
cvn 545 236 5 7 12 15 16 18
may 365 252 11 13 14
sli 432 210 10 12 13
ltm 457 177 5 8 9 11 13 15
ros 455 263 10 11 12 14 15 18 20
gwy 419 328 10 13 20 27 28
lfd 500 271 9 12 13 18
mth 594 285 9 17 18 19 21
lou 615 242 1 6 7 16
wsm 535 300 9 13 15 16 20 21
dub 629 330 16 21 23 27 31
off 495 351 13 14 18 21 22 28
kdr 582 352 16 18 19 20 22 23 25
lex 537 384 20 21 24 25 28
wkw 630 381 19 21 25 26
kky 550 452 22 25 26 28 32
clw 585 425 21 22 23 24 26
wxd 604 474 23 24 25
clr 375 397 14 19 28 30
tip 485 447 14 20 22 24 27 30 31 32
kry 323 522 3 30 31
lmk 411 456 27 28 29 31
crk 403 544 19 28 29 30 32
wtd 513 506 24 28 31
"""


def main():
    text = MapText("Ireland", (2, 2), "Y")
    for bonus, name, members, _ in CONTINENTS:
        text.add_continent(bonus, name, members)
    rows = [line.split() for line in ROWS.strip().splitlines()]
    for t, words in enumerate(rows, 1):
        text.set_row(t, words[0], int(words[1]), int(words[2]), [int(w) for w in words[3:]])
    lines = text.lines()

    mutual = {(min(t, u), max(t, u)) for t, w in enumerate(rows, 1) for u in map(int, w[3:])}
    verify(lines, {
        "line_count": 49, "territories": 32, "continent_count": 5,
        "map_name": "Ireland" + " " * 7,
        "continents": [(b, n, list(m), bd) for b, n, m, bd in CONTINENTS],
        "max_border": 8, "total_border": 29, "max_size": 12,
        "pairs": mutual, "ascending_count": 32,
        "histogram": {3: 7, 4: 7, 5: 11, 6: 4, 7: 2, 8: 1},
        "quoted_lines": {11: "1 Ulster 1 2 3 4 5 6 7 8 9", 18: "1 dwn 646 179 3 6 17",
                         49: "32 wtd 513 506 24 28 31"},
        "box": (323, 646, 74, 544),
    })
    assert len(mutual) == 75 and len({w[0] for w in rows}) == 32
    emit(lines, "mapTextIreland", "The map text Ireland: four provinces and Belfast, 32 counties.",
         "maptext_ireland.py")


if __name__ == "__main__":
    main()
