#!/usr/bin/env python3
"""Authoring script for the map text ParisByNight (maps/MapTextParisByNight.cpp).

Every line of this map is given: the right bank, La Defense and the left bank, 21
territories with their label positions and neighbours in the order written.

    python3 tools/authoring/maptext_parisbynight.py > maps/MapTextParisByNight.cpp
"""

from maptext_lib import MapText, emit, pairs, verify

CONTINENTS = [  # bonus, name, members, border territories, trailing blank
    (8, "La_Rive_Droite", range(1, 13), [1, 2, 5, 6, 9, 12], False),
    (1, "La_Defense", [13, 14, 15], [13, 15], True),
    (4, "La_Rive_Gauche", range(16, 22), [16, 17, 18, 20, 21], False),
]

ROWS = """
372 256 5 6 4 3 2 17 18
511 321 1 3 18 21 8 9 20 4
503 272 1 4 2 8 7
419 232 1 6 7 3 2
335 212 1 6 17 15 13 12
419 173 1 5 4 7 12 13
493 204 6 4 3 8 10 11 12
572 290 3 2 9 10 11 7
625 377 10 8 2 21 20
635 234 9 8 7 11
593 138 10 8 7 12
505 88 11 7 6 5 13
330 106 12 6 5 15 14
46 85 13 15
144 311 14 13 5 17 16
213 380 15 17 18 19
287 305 15 16 18 1 5
384 349 17 1 2 21 19 16
357 455 16 18 21 20
493 472 19 21 2 9
486 378 9 20 19 18 2
"""

BETWEEN_CONTINENTS = pairs("1-17, 1-18, 2-18, 2-20, 2-21, 5-17, 9-20, 9-21, "
                           "5-13, 5-15, 6-13, 12-13, 15-16, 15-17")


def main():
    text = MapText("ParisByNight", (780, 100), "N")
    for bonus, name, members, _, blank in CONTINENTS:
        text.add_continent(bonus, name, members, blank)
    rows = [line.split() for line in ROWS.strip().splitlines()]
    for t, words in enumerate(rows, 1):
        text.set_row(t, "xxx", int(words[0]), int(words[1]), [int(w) for w in words[2:]])
    lines = text.lines()

    mutual = {(min(t, u), max(t, u)) for t, w in enumerate(rows, 1) for u in map(int, w[2:])}

    def links_between(p):
        assert {(a, b) for a, b in mutual if p.home[a] != p.home[b]} == set(BETWEEN_CONTINENTS)

    verify(lines, {
        "line_count": 36, "territories": 21, "continent_count": 3,
        "map_name": "ParisByNight" + " " * 2,
        "continents": [(b, n, list(m), bd) for b, n, m, bd, _ in CONTINENTS],
        "max_border": 6, "total_border": 13, "max_size": 12,
        "pairs": mutual, "histogram": {2: 1, 4: 5, 5: 8, 6: 4, 7: 2, 8: 1},
        "trailing_blank_lines": [12],
        "quoted_lines": {11: "8 La_Rive_Droite 1 2 3 4 5 6 7 8 9 10 11 12",
                         12: "1 La_Defense 13 14 15 ",
                         13: "4 La_Rive_Gauche 16 17 18 19 20 21",
                         16: "1 xxx 372 256 5 6 4 3 2 17 18",
                         36: "21 xxx 486 378 9 20 19 18 2"},
        "box": (46, 635, 85, 472),
        "extra_checks": [links_between],
    })
    assert len(mutual) == 54
    emit(lines, "mapTextParisByNight",
         "The map text ParisByNight: the two banks of the river and La Defense.",
         "maptext_parisbynight.py")


if __name__ == "__main__":
    main()
