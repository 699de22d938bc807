#!/usr/bin/env python3
"""Authoring script for the map text France (maps/MapTextFrance.cpp).

The map's 21 continents are the regions of mainland France and its 88 territories their
departements (the Ile-de-France ones merged into three, Belfort into Doubs). Fifteen rows are
given word for word; every other label stands where its departement lies: the real latitude
and longitude, carried onto the picture by the affine map that best fits the fifteen given
labels, then pushed apart where two came too close. Neighbour orders run clockwise from north,
except on the rows the map writes in ascending order.

    python3 tools/authoring/maptext_france.py > maps/MapTextFrance.cpp
"""

from maptext_lib import (MapText, clockwise, emit, equirectangular, expect, fit_affine,
                         is_ascending, pairs, reach_edges, spread, verify)

CONTINENTS = [  # bonus, name, first, last, border territories (None: all members)
    (1, "Norde_Pas_de_Calais", 1, 2, None), (2, "Picardie", 3, 5, None),
    (1, "Haute_Normandie", 6, 7, None), (1, "Basse_Normandie", 8, 10, None),
    (1, "Bretagne", 11, 14, [11, 14]), (5, "Pais_de_la_Loire", 15, 19, None),
    (8, "Centre", 20, 25, None), (2, "Ile_de_France", 26, 28, None),
    (3, "Champagne", 29, 32, None), (2, "Lorraine", 33, 36, [33, 35, 36]),
    (1, "Alsace", 37, 38, None), (1, "Franche_Comte", 39, 41, [39, 41]),
    (5, "Bourgogne", 42, 45, None), (4, "Auvergne", 46, 49, None),
    (8, "Rhone_Alpes", 50, 57, [50, 51, 52, 54, 55, 56, 57]),
    (3, "Provence_Cote_dAzur", 58, 63, [58, 59, 62, 63]), (5, "Languedoc", 64, 68, None),
    (9, "Midi_Pyrenees", 69, 76, None), (3, "Limousin", 77, 79, None),
    (4, "Aquitaine", 80, 84, None), (3, "Poitou_Charentes", 85, 88, None),
]

INNER = pairs(
    "1-2, 3-4, 3-5, 4-5, 6-7, 8-9, 8-10, 9-10, 11-12, 11-14, 12-13, 12-14, 13-14, "
    "15-16, 15-17, 16-17, 17-18, 17-19, 18-19, 20-21, 20-23, 21-22, 21-23, 22-23, 22-25, 23-24, "
    "23-25, 24-25, 26-27, 26-28, 27-28, 29-30, 30-31, 30-32, 31-32, 33-34, 33-36, 34-35, 34-36, "
    "35-36, 37-38, 39-40, 39-41, 40-41, 42-43, 42-44, 43-44, 43-45, 44-45, 46-47, 47-48, 47-49, "
    "48-49, 50-51, 50-55, 50-57, 51-52, 51-55, 52-53, 52-54, 52-55, 53-54, 54-55, 55-56, 55-57, "
    "56-57, 58-59, 59-60, 59-61, 59-62, 59-63, 60-61, 61-62, 62-63, 64-65, 65-66, 66-67, 67-68, "
    "69-70, 69-72, 70-71, 70-72, 71-72, 71-73, 72-73, 72-76, 73-74, 73-75, 73-76, 75-76, 77-78, "
    "77-79, 78-79, 80-81, 80-82, 81-82, 81-83, 82-83, 83-84, 85-86, 85-87, 85-88, 86-87, 87-88")
ONE_SIDED = [(12, 11), (14, 11)]  # 11 lists neither
BETWEEN = pairs(
    "1-3, 2-3, 2-5, 3-6, 4-6, 4-7, 4-26, 4-28, 5-26, 5-29, 5-30, 6-8, 7-8, 7-9, 7-20, 7-28, "
    "9-15, 9-16, 9-20, 10-11, 10-15, 11-15, 11-17, 11-18, 14-18, 16-20, 16-23, 16-24, 17-24, "
    "17-85, 17-86, 19-85, 19-88, 20-27, 20-28, 21-26, 21-27, 21-44, 21-45, 22-44, 22-46, 22-77, "
    "24-86, 25-77, 25-78, 25-86, 26-30, 26-31, 26-45, 29-33, 30-33, 31-43, 31-45, 32-33, 32-36, "
    "32-39, 32-43, 35-37, 36-37, 36-38, 36-39, 39-43, 41-42, 41-43, 41-52, 42-46, 42-50, 42-51, "
    "42-52, 44-46, 46-50, 46-77, 47-50, 47-77, 47-79, 48-64, 48-69, 48-70, 48-79, 49-50, 49-57, "
    "49-64, 54-58, 55-58, 56-58, 56-59, 56-63, 57-63, 57-64, 57-65, 62-65, 63-65, 64-70, 65-70, "
    "66-70, 66-71, 67-71, 67-73, 67-74, 68-74, 69-79, 69-80, 69-81, 72-81, 75-84, 76-81, 76-83, "
    "76-84, 78-80, 78-86, 78-87, 79-80, 80-87, 82-87, 82-88")

QUOTED = [
    "1 xxx 378 37 2 3",
    "88 xxx 222 371 19 85 87 82",
    "17 xxx 235 262 15 16 24 85 86 19 18 11",
    "26 xxx 429 175 4 5 30 31 45 21 27 28",
    "11 xxx 176 212 10 15 17 18",
    "12 xxx 94 181 11 14 13",
    "14 xxx 114 226 13 12 11 18",
    "13 xxx 43 189 12 14",
    "21 xxx 401 226 20 27 26 45 44 22 23 ",
    "23 xxx 352 257 20 21 22 25 24 16 ",
    "27 xxx 388 184 28 26 21 20 ",
    "41 xxx 590 306 39 40 43 42 52 ",
    "64 xxx 467 465 65 70 48 49 57 ",
    "71 xxx 390 513 70 66 67 73 72 ",
    "81 xxx 284 477 80 69 72 76 83 82 ",
]
ASCENDING_ROWS = {1, 2, 6, 8, 11, 13, 29, 35, 37, 53, 55, 60, 61, 66, 68, 72, 75, 84}

# Where each territory lies: latitude, longitude of its departement(s).
PLACES = [
    (50.50, 2.30), (50.40, 3.20), (49.95, 2.30), (49.40, 2.45), (49.55, 3.60),   # 1-5
    (49.65, 1.00), (49.10, 1.00), (49.10, -0.35), (48.60, 0.10), (49.10, -1.30),  # 6-10
    (48.15, -1.65), (48.45, -2.85), (48.25, -4.10), (47.85, -2.80), (48.15, -0.65),
    (48.00, 0.20), (47.40, -0.55), (47.35, -1.70), (46.65, -1.30), (48.40, 1.35),  # 16-20
    (47.90, 2.30), (47.05, 2.50), (47.60, 1.40), (47.25, 0.70), (46.75, 1.55),
    (48.60, 3.00), (48.50, 2.25), (48.95, 2.00), (49.60, 4.60), (48.95, 4.20),   # 26-30
    (48.30, 4.15), (48.10, 5.20), (49.00, 5.40), (48.75, 6.15), (49.05, 6.65),
    (48.20, 6.40), (48.65, 7.55), (47.85, 7.30), (47.65, 6.10), (47.20, 6.45),   # 36-40
    (46.75, 5.70), (46.65, 4.50), (47.40, 4.75), (47.10, 3.50), (47.85, 3.55),
    (46.40, 3.20), (45.75, 3.15), (45.05, 2.65), (45.10, 3.80), (45.75, 4.20),   # 46-50
    (45.90, 4.65), (46.10, 5.35), (46.05, 6.40), (45.50, 6.45), (45.25, 5.55),
    (44.70, 5.15), (44.75, 4.40), (44.65, 6.25), (44.10, 6.25), (43.95, 7.10),   # 56-60
    (43.45, 6.25), (43.55, 5.10), (44.00, 5.15), (44.50, 3.50), (44.00, 4.20),
    (43.60, 3.40), (43.10, 2.40), (42.60, 2.50), (44.60, 1.60), (44.30, 2.60),   # 66-70
    (43.80, 2.15), (44.05, 1.30), (43.35, 1.20), (42.95, 1.50), (43.05, 0.15),
    (43.70, 0.45), (46.10, 2.00), (45.90, 1.25), (45.35, 1.90), (45.10, 0.70),   # 76-80
    (44.35, 0.45), (44.85, -0.55), (43.95, -0.75), (43.25, -0.75), (46.55, -0.30),
    (46.55, 0.45), (45.70, 0.20), (45.80, -0.70),                                # 86-88
]

BOX = (43, 684, 37, 596)
PANEL = (790, 50)


def layout():
    project = equirectangular(46.5)
    quoted = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in QUOTED}
    to_picture = fit_affine([project(*PLACES[t - 1]) for t in quoted], list(quoted.values()))
    worst = max(abs(a - b) for t, p in quoted.items()
                for a, b in zip(to_picture(project(*PLACES[t - 1])), p))
    expect(worst < 40, f"the given labels fit the departements badly ({worst:.0f} px)")
    pos = {t: to_picture(project(*PLACES[t - 1])) for t in range(1, 89)}
    pos.update(quoted)
    pos = spread(pos, quoted, BOX)
    reach_edges(pos, range(1, 89), BOX, quoted)
    return pos, quoted


def main():
    pos, quoted = layout()
    links = {t: set() for t in range(1, 89)}
    for a, b in INNER + BETWEEN:
        if (a, b) in ((11, 12), (11, 14)):
            links[b].add(a)
            continue
        links[a].add(b)
        links[b].add(a)

    def natural(t, ns):
        if t in ASCENDING_ROWS:
            return sorted(ns)
        row = clockwise(pos)(t, ns)
        return row if not is_ascending(row) else row[1:] + row[:1]

    text = MapText("France", PANEL, "N")
    for bonus, name, first, last, _ in CONTINENTS:
        text.add_continent(bonus, name, range(first, last + 1))
    for t in range(1, 89):
        text.set_row(t, "xxx", pos[t][0], pos[t][1], natural(t, links[t]))
    text.set_quoted_rows(QUOTED, links)
    lines = text.lines()

    verify(lines, {
        "line_count": 121, "territories": 88, "continent_count": 21,
        "map_name": "France" + " " * 8,
        "continents": [(b, n, list(range(f, l + 1)), bd or list(range(f, l + 1)))
                       for b, n, f, l, bd in CONTINENTS],
        "max_border": 8, "total_border": 81, "max_size": 8,
        "pairs": [p for p in INNER + BETWEEN if p not in ((11, 12), (11, 14))],
        "one_sided": ONE_SIDED,
        "histogram": {2: 7, 3: 10, 4: 15, 5: 17, 6: 28, 7: 9, 8: 2},
        "ascending_rows": ASCENDING_ROWS,
        "trailing_blank_lines": [33 + int(q.split()[0]) for q in QUOTED if q.endswith(" ")],
        "quoted_lines": {33 + int(q.split()[0]): q for q in QUOTED},
        "box": BOX,
        "free_rows": [t for t in range(1, 89) if t not in quoted],
    })
    assert len(INNER) == 104 and len(BETWEEN) == 115
    emit(lines, "mapTextFrance", "The map text France: 21 regions, 88 departements.",
         "maptext_france.py")


if __name__ == "__main__":
    main()
