#!/usr/bin/env python3
"""Authoring script for the map text Russia (maps/MapTextRussia.cpp).

Seven continents named after Russia's regions, 65 territories without names. Fifteen rows are
given word for word. The others stand on real places of their region (one federal subject
each): the places are projected (Lambert conic), carried onto the picture by a map that fits
the fifteen given labels, and each region's places are dealt to its territories so that linked
territories stand close together.

    python3 tools/authoring/maptext_russia.py > maps/MapTextRussia.cpp
"""

import math

from maptext_lib import (MapText, adjacency, assign_places, clockwise, emit, expect, order_rows,
                         pairs, reach_edges, spread, verify, warp_map)

CONTINENTS = [  # bonus, name, first, last, border territories
    (1, "South", 1, 6, [3, 5, 6]),
    (8, "Central", 7, 16, [7, 8, 9, 11, 12, 13, 14]),
    (8, "NorthWest", 17, 25, [20, 21, 22, 23, 24, 25]),
    (9, "Volga", 26, 36, [26, 27, 28, 29, 30, 31, 36]),
    (5, "Ural", 37, 42, [37, 38, 39, 40, 42]),
    (8, "Siberia", 43, 56, [43, 44, 45, 46, 47, 53, 55]),
    (4, "FarEast", 57, 65, [61, 63, 64]),
]

INNER = pairs(
    "1-2, 1-5, 2-3, 2-4, 2-5, 3-4, 4-5, 4-6, 5-6, "
    "7-8, 8-9, 9-10, 10-11, 10-13, 10-14, 10-15, 11-12, 11-13, 13-14, 14-15, 14-16, 15-16, "
    "17-18, 18-19, 18-22, 18-23, 19-20, 19-21, 19-22, 20-21, 21-22, 22-23, 23-24, 23-25, 24-25, "
    "26-27, 26-33, 26-35, 26-36, 27-28, 27-33, 27-34, 28-29, 28-34, 29-30, 29-33, 29-34, 31-32, "
    "31-36, 32-33, 32-35, 32-36, 33-34, 33-35, 35-36, "
    "37-38, 38-39, 38-40, 39-40, 39-41, 39-42, 40-41, 41-42, "
    "43-44, 43-45, 44-45, 44-53, 45-46, 45-49, 45-52, 45-53, 45-56, 46-47, 46-48, 46-49, 47-48, "
    "48-49, 48-50, 49-50, 49-51, 49-56, 50-51, 51-52, 51-56, 52-53, 52-54, 52-56, 53-54, 53-55, "
    "54-55, "
    "57-58, 57-60, 57-61, 58-59, 58-60, 60-61, 60-62, 61-62, 61-63, 62-63, 62-64, 62-65, 63-65")
BETWEEN = pairs(
    "3-64, 5-7, 6-7, 6-36, 7-36, 8-31, 8-36, 9-30, 9-31, 11-22, 12-22, 12-29, 12-30, 13-20, "
    "13-21, 13-22, 14-20, 22-29, 23-29, 24-28, 24-29, 24-37, 24-38, 24-39, 25-37, 25-61, 26-42, "
    "27-39, 27-42, 28-39, 37-43, 37-45, 38-45, 38-46, 40-46, 40-47, 43-61, 44-61, 53-61, 55-61, "
    "55-63")
WRAP = (3, 64)  # the one pair that joins the picture's two sides

QUOTED = [
    "1 xxx 36 501 2 5 ",
    "2 xxx 60 519 1 3 4 5",
    "65 xxx 778 507 62 63",
    "45 xxx 460 479 37 38 43 44 46 49 56 52 53",
    "61 xxx 638 338 43 44 53 55 57 60 62 63 25",
    "17 xxx 211 255 18",
    "59 xxx 868 302 58",
    "10 xxx 115 380 9 11 13 14 15 ",
    "24 xxx 253 355 23 25 29 28 37 38 39 ",
    "37 xxx 381 380 24 25 38 43 45 ",
    "38 xxx 326 418 37 39 40 24 45 46 ",
    "46 xxx 397 472 38 45 40 47 48 49 ",
    "62 xxx 786 445 60 61 63 64 65 ",
    "3 xxx 72 567 2 4 64",
    "64 xxx 823 533 62 3",
]
# What the given labels stand for (latitude, longitude), to fit the projection.
QUOTED_PLACES = {
    1: (45.3, 39.0),    # Krasnodar
    2: (47.7, 41.0),    # Rostov
    3: (43.0, 47.0),    # Dagestan
    10: (55.7, 37.6),   # Moscow
    17: (68.0, 33.0),   # Murmansk
    24: (63.0, 54.0),   # Komi
    37: (66.5, 76.0),   # Yamal-Nenets
    38: (61.0, 69.0),   # Khanty-Mansi
    45: (56.5, 84.0),   # Tomsk and Novosibirsk
    46: (55.0, 73.4),   # Omsk
    59: (66.0, 172.0),  # Chukotka
    61: (63.0, 125.0),  # Sakha
    62: (51.0, 135.0),  # Khabarovsk
    64: (44.5, 134.0),  # Primorye
    65: (48.5, 132.5),  # Jewish Autonomous Oblast
}
# The places of each region's other territories (latitude, longitude).
PLACES = {
    "South": [(49.5, 44.0), (45.0, 43.3), (46.5, 45.3)],  # Volgograd, Stavropol, Kalmykia
    "Central": [(51.0, 40.0), (51.7, 36.2), (52.9, 33.4), (54.9, 32.9), (57.0, 35.0),
                (57.8, 39.5), (58.5, 43.5), (54.4, 40.6), (52.7, 41.5)],
    "NorthWest": [(63.5, 33.0), (64.0, 42.0), (59.8, 40.5), (59.8, 31.0), (57.3, 29.0),
                  (58.3, 32.5), (67.5, 55.0)],
    "Volga": [(56.3, 44.0), (58.6, 49.6), (59.0, 56.0), (57.2, 52.8), (55.5, 50.5),
              (54.5, 56.2), (51.8, 55.1), (53.2, 50.2), (51.5, 46.5), (53.2, 44.5),
              (55.5, 47.1)],
    "Ural": [(58.7, 61.5), (54.5, 61.0), (55.5, 65.0), (57.0, 68.5)],
    "Siberia": [(72.0, 95.0), (64.0, 100.0), (56.5, 93.0), (58.5, 82.0), (54.7, 87.0),
                (52.5, 83.0), (50.5, 86.5), (53.5, 90.0), (51.5, 94.5), (56.5, 106.0),
                (53.0, 109.0), (52.0, 116.0)],
    "FarEast": [(62.0, 152.0), (56.0, 160.0), (52.5, 127.5), (50.0, 143.0)],
}

BOX = (36, 868, 151, 583)
PANEL = (10, 10)


def conic(lat1=45.0, lat2=60.0, lon0=140.0, lat0=60.0):
    f1, f2 = math.radians(lat1), math.radians(lat2)
    n = math.log(math.cos(f1) / math.cos(f2)) / math.log(
        math.tan(math.pi / 4 + f2 / 2) / math.tan(math.pi / 4 + f1 / 2))
    big_f = math.cos(f1) * math.tan(math.pi / 4 + f1 / 2) ** n / n
    rho0 = big_f / math.tan(math.pi / 4 + math.radians(lat0) / 2) ** n

    def project(lat, lon):
        rho = big_f / math.tan(math.pi / 4 + math.radians(lat) / 2) ** n
        theta = n * math.radians(lon - lon0)
        return rho * math.sin(theta), -(rho0 - rho * math.cos(theta))
    return project


def layout():
    project = conic()
    quoted = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    to_picture = warp_map([project(*QUOTED_PLACES[t]) for t in QUOTED_PLACES],
                          [quoted[t] for t in QUOTED_PLACES])
    groups = {name: list(range(first, last + 1)) for _, name, first, last, _ in CONTINENTS}
    places = {name: [to_picture(project(*p)) for p in PLACES[name]] for name in groups}
    links = [p for p in INNER + BETWEEN if p != WRAP]
    pos = assign_places(groups, places, quoted, links)
    pos = spread(pos, quoted, BOX, panel=PANEL)
    reach_edges(pos, range(1, 66), BOX, quoted, panel=PANEL)
    return pos, quoted


def main():
    pos, quoted = layout()
    links = adjacency(INNER + BETWEEN, 65)
    fixed_orders = {int(q.split()[0]): [int(w) for w in q.split()[4:]] for q in QUOTED}
    for t, row in fixed_orders.items():
        expect(set(row) == links[t], f"links disagree with row {t}")
    rows = order_rows(links, fixed_orders, 65 - 26, clockwise(pos), 207)

    text = MapText("Russia", PANEL, "N")
    for bonus, name, first, last, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 66):
        text.set_row(t, "xxx", pos[t][0], pos[t][1], rows[t])
    text.set_quoted_rows(QUOTED)
    lines = text.lines()

    def one_pair_spans_the_map(p):
        wide = {(min(a, b), max(a, b)) for a in p.neighbours for b in p.neighbours[a]
                if abs(p.pos[a][0] - p.pos[b][0]) > 400}
        expect(wide == {WRAP}, f"pairs across the map: {sorted(wide)}")

    verify(lines, {
        "line_count": 84, "territories": 65, "continent_count": 7,
        "map_name": "Russia" + " " * 8,
        "continents": [(b, n, list(range(f, l + 1)), bd) for b, n, f, l, bd in CONTINENTS],
        "max_border": 7, "total_border": 38, "max_size": 14,
        "pairs": INNER + BETWEEN,
        "histogram": {1: 2, 2: 4, 3: 9, 4: 26, 5: 10, 6: 7, 7: 3, 8: 2, 9: 2},
        "ascending_count": 65 - 26,
        "trailing_blank_lines": [19 + int(q.split()[0]) for q in QUOTED if q.endswith(" ")],
        "quoted_lines": {19 + int(q.split()[0]): q for q in QUOTED} | {11: "1 South 1 2 3 4 5 6"},
        "box": BOX,
        "free_rows": [t for t in range(1, 66) if t not in quoted],
        "extra_checks": [one_pair_spans_the_map],
    })
    assert len(INNER) == 103 and len(BETWEEN) == 41
    emit(lines, "mapTextRussia", "The map text Russia: seven regions, 65 territories.",
         "maptext_russia.py")


if __name__ == "__main__":
    main()
