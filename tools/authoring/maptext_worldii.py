#!/usr/bin/env python3
"""Authoring script for the map text WorldII (maps/MapTextWorldII.cpp).

A world map of eight continents and 57 territories without names. Seven rows are given word
for word. The others stand on real places of their part of the world: longitude and latitude
carried onto the picture by a map that fits the seven given labels, each part's places dealt
to its territories so that linked territories stand close together. Neighbours are written
clockwise from north.

    python3 tools/authoring/maptext_worldii.py > maps/MapTextWorldII.cpp
"""

from maptext_lib import (MapText, adjacency, assign_places, clockwise, emit, equirectangular, pairs,
                         reach_edges, spread, verify, warp_map)

CONTINENTS = [  # bonus, name, first, last, border territories
    (5, "North_America", 1, 10, [1, 5, 10]),
    (3, "South_America", 11, 16, [11, 13, 15]),
    (4, "Southern_Africa", 17, 24, [17, 22, 23, 24]),
    (4, "Northern_Africa", 25, 29, [25, 26, 27, 28, 29]),
    (5, "Europe", 30, 36, [30, 32, 35, 36]),
    (4, "Northern_Asia", 37, 43, [37, 38, 41, 42]),
    (6, "Southern_Asia", 44, 51, [44, 45, 48, 50]),
    (2, "Australasia", 52, 57, [52, 56, 57]),
]

INNER = pairs(
    "1-2, 1-3, 2-3, 2-4, 2-5, 3-4, 3-9, 4-5, 4-6, 4-7, 4-9, 5-6, 6-7, 7-8, 7-9, 8-9, 8-10, 9-10, "
    "11-12, 11-13, 11-15, 12-15, 13-14, 13-15, 13-16, 14-15, 14-16, 15-16, "
    "17-18, 17-19, 17-20, 18-19, 18-22, 19-20, 19-22, 20-21, 20-22, 20-23, 20-24, 21-24, 22-23, "
    "23-24, 25-26, 25-27, 25-28, 26-27, 27-28, 27-29, 28-29, "
    "30-31, 30-34, 30-35, 31-32, 31-33, 31-34, 32-33, 33-34, 33-36, 34-35, 34-36, 35-36, "
    "37-38, 38-39, 38-40, 38-42, 39-40, 39-41, 40-41, 40-42, 41-42, 41-43, 42-43, "
    "44-45, 44-46, 44-47, 44-48, 45-46, 46-47, 46-51, 47-48, 47-49, 48-49, 49-50, 50-51, "
    "52-53, 52-54, 53-55, 53-56, 54-55, 54-57, 55-56, 55-57, 56-57")
BETWEEN = pairs(
    "1-41, 5-32, 10-11, 13-56, 15-22, 15-29, 17-57, 23-25, 23-28, 24-25, 26-35, 26-50, 27-30, "
    "27-35, 35-50, 36-37, 36-48, 36-50, 37-44, 37-48, 38-44, 42-44, 45-52")
AROUND_THE_WORLD = [(1, 41), (13, 56), (17, 57)]  # links that leave one edge for the other

QUOTED = [
    "1 xxx 52 62 2 3 41",
    "4 xxx 152 119 5 6 7 9 3 2",
    "15 xxx 220 428 11 12 13 14 16 29 22",
    "24 xxx 540 349 21 20 23 25 ",
    "44 xxx 764 217 42 38 37 48 47 46 45",
    "54 xxx 797 505 52 55 57 ",
    "57 xxx 855 540 54 55 56 17",
]
QUOTED_PLACES = {1: (64, -152), 4: (58, -98), 15: (-10, -52), 24: (8, 42), 44: (35, 105),
                 54: (-33, 148), 57: (-41, 174)}
PLACES = {  # latitude, longitude of the other territories' places
    "North_America": [(65, -120), (54, -122), (72, -40), (53, -72), (38, -80), (24, -102),
                      (40, -112), (14, -87)],
    "South_America": [(6, -68), (4, -56), (-12, -76), (-35, -71), (-36, -62)],
    "Southern_Africa": [(-29, 25), (-19, 47), (-21, 18), (-2, 22), (9, 2), (13, 30), (-4, 36)],
    "Northern_Africa": [(26, 30), (27, 18), (29, 3), (20, -11), (16, 14)],
    "Europe": [(40, -4), (53, -2), (65, -18), (63, 15), (50, 12), (42, 18), (52, 35)],
    "Northern_Asia": [(57, 62), (63, 90), (67, 125), (65, 165), (47, 103), (57, 110), (50, 135)],
    "Southern_Asia": [(2, 112), (16, 103), (22, 79), (44, 66), (32, 60), (32, 42), (22, 48)],
    "Australasia": [(-6, 145), (-26, 121), (-18, 133), (-25, 148)],
}

BOX = (48, 896, 30, 540)
PANEL = (600, 360)


def layout():
    project = equirectangular(30)
    quoted = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    to_picture = warp_map([project(*QUOTED_PLACES[t]) for t in quoted],
                          [quoted[t] for t in quoted])
    groups = {name: list(range(first, last + 1)) for _, name, first, last, _ in CONTINENTS}
    places = {name: [to_picture(project(*p)) for p in PLACES[name]] for name in groups}
    links = [p for p in INNER + BETWEEN if p not in AROUND_THE_WORLD]
    pos = assign_places(groups, places, quoted, links)
    pos = spread(pos, quoted, BOX, panel=PANEL)
    reach_edges(pos, range(1, 58), BOX, quoted, panel=PANEL)
    return pos, quoted


def main():
    pos, quoted = layout()
    links = adjacency(INNER + BETWEEN, 57)
    text = MapText("WorldII", PANEL, "N")
    for bonus, name, first, last, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 58):
        text.set_row(t, "xxx", pos[t][0], pos[t][1], clockwise(pos)(t, links[t]))
    text.set_quoted_rows(QUOTED, links)
    lines = text.lines()

    verify(lines, {
        "line_count": 77, "territories": 57, "continent_count": 8,
        "map_name": "WorldII" + " " * 7,
        "continents": [(b, n, list(range(f, l + 1)), bd) for b, n, f, l, bd in CONTINENTS],
        "max_border": 5, "total_border": 30, "max_size": 10,
        "pairs": INNER + BETWEEN,
        "histogram": {2: 4, 3: 15, 4: 20, 5: 11, 6: 5, 7: 2},
        "trailing_blank_lines": [20 + int(q.split()[0]) for q in QUOTED if q.endswith(" ")],
        "quoted_lines": {20 + int(q.split()[0]): q for q in QUOTED}
                        | {11: "5 North_America 1 2 3 4 5 6 7 8 9 10"},
        "box": BOX,
        "free_rows": [t for t in range(1, 58) if t not in quoted],
    })
    assert len(INNER) == 93 and len(BETWEEN) == 23
    emit(lines, "mapTextWorldII", "The map text WorldII: the world in eight parts, 57 territories.",
         "maptext_worldii.py")


if __name__ == "__main__":
    main()
