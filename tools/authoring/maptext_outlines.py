#!/usr/bin/env python3
"""The land of the five geographic map texts (France, Ireland, Romania, Russia, WorldII), for
their pictures: coasts and borders by hand in latitude and longitude, carried onto the picture
by a map that takes every territory's real place exactly onto its label in the map text.

The labels come from the map texts themselves (maps/MapText*.cpp); the places behind them from
the texts' authoring scripts where those chose them (France, Russia, WorldII), and from the
counties' own places below where the labels are fixed (Ireland, Romania). Every label must
stand on land, a few pixels from the coast; nothing is written when one does not.

    python3 tools/authoring/maptext_outlines.py

writes tools/artgen/<Name>TextOutline.cpp. Standard library only.
"""

import math
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
ARTGEN = os.path.join(ROOT, "tools", "artgen")

from authoring_lib import MapError, Outline, expect  # noqa: E402
from maptext_lib import assign_places, equirectangular, warp_map  # noqa: E402
import maptext_france  # noqa: E402
import maptext_russia  # noqa: E402
import maptext_worldii  # noqa: E402

SCRIPT = "tools/authoring/maptext_outlines.py"
CLEARANCE = 6  # every label this far from the coast


def text_labels(source):
    """The label of every territory as the map text in maps/<source> writes it."""
    with open(os.path.join(ROOT, "maps", source), encoding="ascii") as f:
        lines = re.findall(r'^\s*"(.*)",\s*$', f.read(), re.M)
    rows = lines[lines.index("[territories]") + 1:]
    return {t: (int(row.split()[2]), int(row.split()[3])) for t, row in enumerate(rows, 1)}


def exact_map(project, places, labels):
    """Latitude, longitude to the picture, through every territory's place onto its label."""
    keys = sorted(labels)
    warp = warp_map([project(*places[t]) for t in keys], [labels[t] for t in keys])
    return lambda lat, lon: tuple(int(round(v)) for v in warp(project(lat, lon)))


def dealt_places(script):
    """The place each territory of a script's map stands on: the given rows' places, and the
    places that the script dealt to the other territories of each region."""
    project = script.conic() if script is maptext_russia else equirectangular(30)
    quoted = {int(q.split()[0]): (int(q.split()[2]), int(q.split()[3])) for q in script.QUOTED}
    to_picture = warp_map([project(*script.QUOTED_PLACES[t]) for t in script.QUOTED_PLACES],
                          [quoted[t] for t in script.QUOTED_PLACES])
    groups = {name: list(range(first, last + 1)) for _, name, first, last, _ in script.CONTINENTS}
    spots = {name: [to_picture(project(*p)) for p in script.PLACES[name]] for name in groups}
    skipped = getattr(script, "AROUND_THE_WORLD", [getattr(script, "WRAP", None)])
    links = [p for p in script.INNER + script.BETWEEN if p not in skipped]
    dealt = assign_places(groups, spots, quoted, links)
    places = dict(script.QUOTED_PLACES)
    for name, members in groups.items():
        for t in members:
            if t not in places:
                places[t] = script.PLACES[name][spots[name].index(dealt[t])]
    return project, places


# ---------------------------------------------------------------------------------------------
# France: the departements' places of its authoring script

def france():
    places = {t: p for t, p in enumerate(maptext_france.PLACES, 1)}
    land = Outline(exact_map(equirectangular(46.5), places, text_labels("MapTextFrance.cpp")))
    land.add_land("Mainland France, from Dunkirk down the Channel and the Atlantic, along the "
                  "Pyrenees and the Mediterranean, up the Alps and the Rhine", [
        (51.08, 2.55), (50.95, 1.85), (50.2, 1.6), (49.95, 1.2), (49.7, 0.2), (49.45, 0.1),
        (49.3, -0.3), (49.4, -1.1), (49.7, -1.25), (49.72, -1.95), (49.2, -1.6), (48.65, -1.5),
        (48.65, -2.0), (48.5, -2.7), (48.85, -3.2), (48.7, -4.0), (48.6, -4.6), (48.35, -4.8),
        (48.1, -4.5), (48.0, -4.7), (47.8, -4.2), (47.75, -3.4), (47.5, -2.9), (47.3, -2.5),
        (47.15, -2.2), (46.8, -2.1), (46.45, -1.8), (46.2, -1.3), (45.7, -1.25), (45.55, -1.1),
        (44.7, -1.25), (44.0, -1.35), (43.45, -1.6), (43.3, -1.75), (43.05, -1.3), (42.8, -0.6),
        (42.75, 0.4), (42.65, 1.45), (42.5, 2.0), (42.45, 3.15), (42.95, 3.05), (43.3, 3.45),
        (43.55, 4.1), (43.35, 4.85), (43.4, 5.3), (43.1, 5.9), (43.1, 6.4), (43.45, 6.9),
        (43.75, 7.5), (44.1, 7.7), (44.4, 6.9), (45.1, 7.0), (45.35, 7.15), (45.85, 6.8),
        (46.4, 6.8), (46.25, 6.1), (46.6, 6.1), (47.0, 6.7), (47.45, 7.0), (47.55, 7.55),
        (48.0, 7.6), (48.6, 7.8), (48.95, 8.2), (49.1, 7.5), (49.45, 6.5), (49.5, 5.8),
        (49.6, 5.4), (50.15, 4.8), (49.95, 4.2), (50.3, 3.7), (50.75, 3.15), (51.08, 2.55),
    ])
    return land, "franceTextOutline", "FranceTextOutline.cpp", [
        "The land of the map text France: the mainland's coasts and borders, round its labels."]


# ---------------------------------------------------------------------------------------------
# Ireland and Romania: the labels are given, so the counties' places are ours to name

IRELAND_PLACES = {  # latitude, longitude within each county, by its code in the text
    "dwn": (54.35, -5.9), "ldy": (54.9, -6.9), "ant": (54.85, -6.2), "tyr": (54.6, -7.1),
    "frm": (54.35, -7.6), "arm": (54.3, -6.6), "mon": (54.15, -6.95), "don": (54.9, -7.9),
    "cvn": (53.95, -7.35), "may": (53.9, -9.3), "sli": (54.15, -8.65), "ltm": (54.1, -8.0),
    "ros": (53.75, -8.25), "gwy": (53.3, -8.9), "lfd": (53.7, -7.7), "mth": (53.6, -6.65),
    "lou": (53.9, -6.5), "wsm": (53.5, -7.45), "dub": (53.4, -6.3), "off": (53.2, -7.6),
    "kdr": (53.2, -6.8), "lex": (53.0, -7.35), "wkw": (52.95, -6.4), "kky": (52.6, -7.2),
    "clw": (52.7, -6.8), "wxd": (52.45, -6.6), "clr": (52.85, -9.0), "tip": (52.6, -7.9),
    "kry": (52.1, -9.6), "lmk": (52.5, -8.75), "crk": (51.95, -8.7), "wtd": (52.2, -7.6),
}

ROMANIA_PLACES = {
    "cs": (45.1, 21.9), "tm": (45.75, 21.2), "ar": (46.3, 21.6), "bh": (47.0, 22.2),
    "sm": (47.7, 22.9), "mm": (47.65, 24.0), "mh": (44.6, 22.9), "gj": (45.0, 23.3),
    "vl": (45.2, 24.1), "dj": (44.15, 23.6), "ot": (44.3, 24.5), "ct": (44.2, 28.3),
    "tl": (45.0, 28.8), "sv": (47.5, 25.6), "bt": (47.85, 26.7), "nt": (47.0, 26.2),
    "is": (47.2, 27.4), "bc": (46.5, 26.7), "vs": (46.6, 27.7), "vr": (45.8, 26.9),
    "gl": (45.8, 27.8), "ag": (45.1, 24.8), "db": (44.9, 25.5), "ph": (45.1, 26.0),
    "bz": (45.2, 26.6), "br": (45.1, 27.6), "tr": (44.0, 25.2), "gr": (44.05, 25.9),
    "bu": (44.45, 26.1), "il": (44.6, 27.3), "cl": (44.3, 27.0), "sj": (47.2, 23.0),
    "cj": (46.8, 23.6), "bn": (47.2, 24.5), "ab": (46.1, 23.6), "ms": (46.6, 24.6),
    "hd": (45.8, 22.9), "sb": (45.8, 24.2), "bv": (45.75, 25.3), "hr": (46.5, 25.6),
    "cv": (45.9, 26.0),
}


def coded_places(source, by_code):
    with open(os.path.join(ROOT, "maps", source), encoding="ascii") as f:
        lines = re.findall(r'^\s*"(.*)",\s*$', f.read(), re.M)
    rows = lines[lines.index("[territories]") + 1:]
    return {t: by_code[row.split()[1]] for t, row in enumerate(rows, 1)}


def ireland():
    source = "MapTextIreland.cpp"
    land = Outline(exact_map(equirectangular(53.5), coded_places(source, IRELAND_PLACES),
                             text_labels(source)))
    land.add_land("Ireland, from Malin Head round Antrim, down the Irish Sea, along the south "
                  "coast and up the Atlantic coast", [
        (55.38, -7.37), (55.2, -7.0), (55.2, -6.7), (55.24, -6.5), (55.21, -6.2), (55.2, -6.05),
        (55.0, -5.98), (54.85, -5.8), (54.75, -5.7), (54.67, -5.85), (54.66, -5.65),
        (54.6, -5.45), (54.45, -5.45), (54.35, -5.55), (54.25, -5.6), (54.1, -5.9),
        (54.05, -6.05), (54.0, -6.2), (53.95, -6.35), (53.85, -6.25), (53.72, -6.25),
        (53.55, -6.1), (53.38, -6.05), (53.33, -6.2), (53.27, -6.1), (53.1, -6.05),
        (52.98, -6.0), (52.8, -6.12), (52.6, -6.2), (52.35, -6.4), (52.17, -6.36), (52.2, -6.6),
        (52.13, -6.93), (52.2, -7.0), (52.12, -7.2), (52.07, -7.55), (51.95, -7.85),
        (51.85, -8.1), (51.8, -8.3), (51.7, -8.5), (51.6, -8.75), (51.55, -9.1), (51.48, -9.4),
        (51.45, -9.8), (51.6, -9.6), (51.6, -10.1), (51.75, -9.75), (51.8, -10.35),
        (51.95, -10.3), (52.05, -9.9), (52.1, -10.45), (52.25, -10.2), (52.3, -9.85),
        (52.55, -9.7), (52.65, -9.9), (52.85, -9.45), (53.0, -9.4), (53.15, -9.25),
        (53.22, -9.05), (53.25, -9.5), (53.35, -10.05), (53.5, -10.2), (53.6, -9.95),
        (53.8, -9.6), (53.85, -9.95), (54.0, -10.15), (54.2, -10.0), (54.3, -9.85),
        (54.25, -9.3), (54.2, -9.1), (54.27, -8.6), (54.45, -8.45), (54.62, -8.35),
        (54.63, -8.75), (54.8, -8.5), (55.0, -8.4), (55.15, -8.25), (55.2, -7.9),
        (55.15, -7.65), (55.27, -7.55),
    ])
    return land, "irelandTextOutline", "IrelandTextOutline.cpp", [
        "The land of the map text Ireland: the island's coasts, round its labels."]


def romania():
    source = "MapTextRomania.cpp"
    land = Outline(exact_map(equirectangular(45.9), coded_places(source, ROMANIA_PLACES),
                             text_labels(source)))
    land.add_land("Romania, from its western tip along Hungary, Ukraine and the Prut, the "
                  "Danube delta and the Black Sea, then up the Danube along Bulgaria and Serbia", [
        (46.12, 20.26), (46.4, 20.75), (46.7, 21.3), (47.0, 21.6), (47.35, 22.0), (47.6, 22.2),
        (47.8, 22.45), (47.95, 22.9), (47.97, 23.3), (47.9, 23.8), (47.95, 24.3), (47.75, 24.8),
        (47.75, 25.1), (47.9, 25.5), (47.98, 25.9), (48.1, 26.25), (48.26, 26.62), (48.1, 27.0),
        (47.8, 27.3), (47.45, 27.75), (47.15, 28.0), (46.5, 28.2), (46.0, 28.1), (45.47, 28.2),
        (45.45, 28.9), (45.35, 29.25), (45.16, 29.73), (44.85, 29.55), (44.6, 29.0),
        (44.35, 28.75), (44.17, 28.65), (43.9, 28.6), (43.74, 28.58), (43.8, 28.2),
        (43.95, 27.6), (44.12, 27.27), (44.05, 26.9), (43.95, 26.3), (43.88, 25.97),
        (43.62, 25.35), (43.72, 24.87), (43.77, 24.5), (43.78, 23.96), (43.8, 23.4),
        (43.99, 22.94), (44.25, 22.7), (44.63, 22.66), (44.7, 22.4), (44.6, 22.0),
        (44.72, 21.66), (44.8, 21.38), (45.0, 21.45), (45.2, 21.15), (45.4, 20.9),
        (45.6, 20.75), (45.85, 20.65),
    ])
    return land, "romaniaTextOutline", "RomaniaTextOutline.cpp", [
        "The land of the map text Romania: the country's borders and coast, round its labels."]


# ---------------------------------------------------------------------------------------------
# Russia and WorldII: the places that their authoring scripts dealt to the territories

def russia():
    project, places = dealt_places(maptext_russia)
    land = Outline(exact_map(project, places, text_labels("MapTextRussia.cpp")))
    land.add_land("Russia, from the Black Sea up the western border to the Barents Sea, along "
                  "the Arctic coast to Chukotka, down the Pacific coast and back along the "
                  "borders of China, Mongolia, Kazakhstan and the Caucasus", [
        (43.4, 40.0), (44.6, 37.6), (45.2, 36.7), (46.1, 38.0), (46.7, 38.2), (47.3, 39.2),
        (47.8, 39.8), (49.0, 40.1), (49.6, 40.1), (50.4, 38.0), (51.3, 35.4), (52.3, 34.0),
        (52.2, 32.3), (53.2, 31.6), (54.5, 31.0), (55.8, 30.9), (56.5, 28.0), (57.8, 27.5),
        (59.4, 28.0), (59.9, 30.2), (60.5, 28.6), (61.5, 29.8), (62.9, 31.5), (64.5, 29.9),
        (66.0, 29.9), (68.0, 28.6), (69.0, 28.8), (69.7, 30.0), (69.2, 33.5), (68.9, 36.5),
        (68.2, 39.5), (66.8, 41.0), (66.2, 39.5), (66.6, 35.0), (66.2, 33.0), (65.0, 34.8),
        (64.5, 36.5), (64.9, 37.5), (64.4, 40.5), (65.6, 39.8), (66.5, 42.0), (67.8, 44.0),
        (68.5, 46.5), (68.1, 53.0), (68.8, 57.0), (69.6, 60.5), (68.8, 66.0), (70.5, 67.0),
        (72.8, 69.5), (72.6, 72.5), (71.0, 72.6), (68.5, 73.5), (70.0, 74.5), (72.0, 75.0),
        (72.5, 79.0), (71.5, 83.0), (73.5, 86.0), (75.5, 94.0), (77.7, 104.3), (76.0, 112.0),
        (73.5, 113.0), (73.5, 126.0), (72.0, 129.0), (71.5, 136.0), (72.5, 140.0),
        (71.0, 150.0), (69.6, 161.0), (69.7, 170.0), (70.0, 176.0), (68.5, 180.0),
        (67.5, 185.0), (66.1, 190.2), (64.5, 187.0), (64.5, 182.0), (64.7, 177.5),
        (62.5, 179.5), (61.0, 174.0), (60.0, 170.0), (60.0, 164.0), (57.5, 163.0),
        (56.0, 162.8), (54.0, 160.0), (52.0, 158.0), (51.0, 156.7), (52.5, 156.0),
        (55.0, 155.6), (57.5, 156.8), (59.2, 158.5), (59.5, 154.5), (59.3, 150.0),
        (59.3, 143.0), (56.5, 138.0), (54.5, 137.0), (53.5, 141.0), (52.0, 141.4),
        (50.0, 140.5), (47.0, 138.5), (45.0, 136.8), (43.2, 132.0), (42.6, 130.7),
        (44.0, 131.0), (45.2, 133.1), (48.0, 134.8), (48.4, 131.0), (49.5, 127.5),
        (53.3, 125.0), (53.5, 121.0), (49.9, 117.9), (50.3, 114.0), (50.2, 107.0),
        (50.2, 98.0), (50.5, 92.0), (49.5, 88.0), (50.8, 83.0), (51.0, 80.0), (53.5, 77.0),
        (54.5, 74.0), (54.5, 70.5), (54.0, 65.0), (50.7, 61.0), (51.0, 57.0), (51.2, 55.0),
        (50.5, 52.0), (51.5, 50.0), (50.0, 48.0), (48.0, 47.0), (46.0, 48.9), (45.6, 47.5),
        (44.5, 47.0), (43.0, 47.5), (41.7, 48.3), (42.2, 46.0), (42.8, 44.5), (43.3, 42.0),
    ])
    land.add_land("Sakhalin", [
        (54.3, 142.6), (53.0, 143.2), (51.5, 143.5), (49.0, 144.2), (46.0, 143.5),
        (46.0, 142.0), (48.5, 142.0), (51.0, 142.0), (53.5, 142.3),
    ])
    return land, "russiaTextOutline", "RussiaTextOutline.cpp", [
        "The land of the map text Russia: the country's coasts and borders, round its labels."]


def world():
    project, places = dealt_places(maptext_worldii)
    land = Outline(exact_map(project, places, text_labels("MapTextWorldII.cpp")))
    land.add_land("North America", [
        (70, -165), (71, -156), (70, -141), (69, -130), (70, -120), (68, -108), (68, -95),
        (70, -85), (66, -80), (63, -90), (58, -93), (55, -85), (52, -80), (55, -77), (58, -77),
        (62, -78), (60, -70), (58, -62), (55, -60), (52, -56), (47, -53), (47, -60), (45, -61),
        (43, -66), (42, -70), (40, -74), (36, -76), (35, -75.5), (32, -81), (30, -81.5),
        (25.5, -80.3), (27, -82.5), (30, -84), (30, -89), (29, -94), (26, -97.5), (22, -97.8),
        (18.5, -95.5), (18.5, -91), (21.5, -90), (21.3, -87), (16, -88), (15.5, -84),
        (11, -83.7), (9, -79.5), (7.5, -78), (8, -80.5), (7.5, -82), (10, -85.5), (13, -87.5),
        (15.5, -93), (16, -97), (19, -105), (23, -106), (31, -113.5), (23, -110), (28, -115),
        (32.5, -117), (34.5, -120.5), (40, -124), (46, -124), (48.5, -124.7), (55, -131),
        (59, -139), (60, -147), (59, -152), (55, -160), (58, -158), (60, -162), (63, -164),
        (65, -168),
    ])
    land.add_land("Greenland", [
        (82, -60), (83, -35), (81, -15), (75, -18), (70, -22), (65, -37), (60, -43),
        (61, -48), (66, -53), (70, -54), (76, -66), (78, -72),
    ])
    land.add_land("South America", [
        (12, -72), (11, -64), (10.5, -61.5), (8, -59), (5, -53), (2, -50), (-1, -48), (-2, -42),
        (-5, -35), (-8, -35), (-13, -38.5), (-18, -39.5), (-23, -42), (-25, -48), (-29, -49),
        (-34, -53), (-36, -57), (-39, -62), (-41, -63), (-43, -65), (-47, -67.5), (-50, -68.5),
        (-53, -68.5), (-55, -67), (-55, -70), (-52, -75), (-46, -75.5), (-41, -73.7),
        (-37, -73.5), (-30, -71.5), (-18, -70.3), (-14, -76), (-6, -81), (-2, -80.5),
        (1, -80), (4, -77.5), (7.5, -77.5), (9, -76), (11, -74.5),
    ])
    land.add_land("Africa and Eurasia", [
        # Africa, from Gibraltar down the Atlantic, round the Cape and up to Suez
        (36, -5.9), (34, -7), (31, -9.8), (28, -11), (26, -14.5), (21, -17), (15, -17.5),
        (11, -15.5), (8, -13), (5, -8), (4.5, -2), (6, 1.5), (6.4, 3.5), (4.5, 6), (4.3, 9),
        (1, 9.5), (-4, 11.5), (-9, 13), (-13, 12.5), (-17, 11.8), (-23, 14.5), (-29, 16.5),
        (-34.3, 18.5), (-34.7, 20), (-34, 25.5), (-33, 28), (-29, 32), (-25.5, 33),
        (-20, 35), (-15, 40.5), (-10.5, 40.3), (-5, 39.3), (-1.5, 41.8), (2, 45.5), (5, 48),
        (11.8, 51.2), (11.5, 43.5), (15, 40), (20, 37.2), (25, 35.2), (29.9, 32.6),
        # Arabia, the Persian Gulf, India, Indochina and China
        (28, 34.6), (24, 38), (19, 40.8), (13, 43.3), (12.7, 45), (14.5, 49), (16.5, 53),
        (19, 57.7), (22.5, 59.8), (24.5, 56.5), (26.3, 56.4), (24, 54), (25.5, 51.5),
        (29.5, 48), (30.3, 50), (27, 56), (25.3, 61.6), (25, 66.5), (22.5, 68.8), (21, 72.7),
        (15.5, 73.8), (8.1, 77.5), (10, 79.8), (15.5, 80.3), (19.5, 85.3), (21.8, 88.2),
        (22.5, 91.5), (16, 94.5), (16.5, 97.5), (9, 98.3), (6.5, 100.2), (1.3, 103.8),
        (4, 103.4), (7, 100.6), (13.5, 100.2), (12.5, 102.5), (8.6, 104.8), (10.5, 106.7),
        (12.5, 109.3), (16, 108.2), (19.5, 105.8), (21.5, 108), (21.5, 111), (22.5, 114.2),
        (25, 119), (29, 122), (31, 121.9), (35, 119.5), (37.5, 122.5), (39, 117.8),
        (40.8, 121.5), (39.7, 124.3), (38, 125), (34.7, 126.3), (35.2, 129.3), (38.5, 128.3),
        (42.6, 130.7), (43.2, 132), (45, 136.8), (47, 138.5), (50, 140.5), (53.5, 141),
        (54.5, 137), (59.3, 143), (59.5, 154.5), (62, 164), (60, 164), (57.5, 163), (51, 156.7),
        (55, 155.6), (59.2, 158.5), (60, 170), (64.7, 177.5), (66.1, 190.2), (68.5, 180),
        # the Arctic coast back west to Scandinavia
        (69.7, 170), (69.6, 161), (71, 150), (72.5, 140), (71.5, 136), (73.5, 126),
        (73.5, 113), (77.7, 104.3), (75.5, 94), (73.5, 86), (71.5, 83), (72.5, 79),
        (72.8, 69.5), (68.8, 66), (69.6, 60.5), (68.1, 53), (68.5, 46.5), (66.5, 42),
        (68.2, 39.5), (69.7, 30), (71.1, 25.8), (70, 19), (67.3, 14.4), (63.7, 9), (61.6, 5),
        (58.95, 5.7), (58, 7), (59.05, 10), (57.7, 11.9), (56, 12.7), (55.4, 13.8),
        (56.6, 16.3), (59.3, 18.6), (62.4, 17.3), (65, 21.5), (65.8, 24.2), (64.3, 23.5),
        (61.5, 21.5), (60.2, 25), (59.45, 24.75), (57.5, 21.6), (54.5, 19.7), (54.2, 15.6),
        (54.5, 13.4), (54, 10.8), (54.8, 9.9), (57.1, 8.6), (55.5, 8.2), (53.6, 8.1),
        (52.9, 4.75), (51, 2), (49.5, 0.1), (48.7, -1.5), (48.4, -4.8), (47.2, -2.2),
        (46.2, -1.2), (43.5, -1.5), (43.6, -5.7), (43.3, -8.9), (40, -8.9), (38.7, -9.5),
        (37, -8.9), (36.2, -6.1),
    ])
    land.add_water("The Mediterranean (without the Adriatic, too narrow to show) and the Black Sea", [
        (35.9, -5.5), (36.7, -2.2), (38.8, 0.2), (41.3, 2.2), (43.3, 4.5), (43.8, 7.7),
        (44.3, 9), (42.5, 11), (40.7, 14.2), (38.2, 15.7), (40, 18.5), (40.3, 19.4), (37.7, 21.2), (38, 23.8), (40.8, 22.9),
        (40.9, 26), (41.6, 28), (43.3, 27.9), (45.3, 29.7), (46.6, 30.8), (45.3, 33.3),
        (45.3, 36.5), (47.1, 38.9), (45.5, 37.5), (43.5, 39.8), (41.6, 41.6), (41, 39),
        (42, 35.2), (41.2, 31.4), (40.7, 29.5), (39.6, 26.2), (37.5, 27.2), (36.3, 28.5),
        (36.7, 31), (36.8, 34.6), (36.5, 36.1), (33, 35.2), (31.5, 34.5), (31.1, 29.9),
        (32.8, 23), (30.3, 19.5), (32.4, 15.3), (33.9, 10.1), (36.8, 10.9), (37.2, 9.7),
        (36.9, 4), (35.6, -0.6), (35.2, -2.9),
    ])
    land.add_water("The Caspian Sea", [
        (47, 51.5), (45, 53.1), (42, 52.8), (40, 53), (37, 53.9), (36.6, 51.5), (38.3, 48.9),
        (40.5, 49.8), (43, 47.5), (45, 47), (46.6, 49),
    ])
    land.add_water("The Baltic's Gulf of Bothnia", [
        (65.6, 22.2), (63.8, 20.3), (62.4, 17.8), (60.7, 17.5), (60.4, 22.2), (61.5, 21.3),
        (63.1, 21.3), (64.6, 24.4),
    ])
    land.add_land("Great Britain", [
        (50.1, -5.7), (50.8, -1.3), (51.1, 1.4), (52.5, 1.7), (53.6, 0.1), (55, -1.5),
        (56, -2.6), (57.7, -2), (58.6, -3.1), (58.6, -5), (56.4, -6), (55, -5), (54.4, -3.4),
        (53.3, -4.6), (52.3, -4.1), (51.7, -5.2), (51.2, -4.2),
    ])
    land.add_land("Ireland", [(55.4, -7.4), (54.6, -5.9), (52.2, -6.4), (51.5, -9.8),
                              (53.4, -10.1), (54.3, -8.6), (55.1, -8.3)])
    land.add_land("Iceland", [(66.4, -16.5), (65.6, -13.6), (64.3, -14.5), (63.4, -18.8),
                              (63.8, -22.7), (65.5, -24.3), (66.4, -23)])
    land.add_land("Madagascar", [(-12, 49.3), (-15.5, 50.3), (-20, 48.8), (-25.5, 47),
                                 (-25, 44), (-21.5, 43.5), (-16, 44.4), (-13.5, 48)])
    land.add_land("Sri Lanka", [(9.8, 80.2), (7, 81.9), (6, 80.6), (7.5, 79.8)])
    land.add_land("Japan", [
        (45.5, 141.9), (43.3, 145.6), (42, 143.2), (41.5, 141.3), (40.5, 141.8), (38.5, 141.5),
        (36, 140.8), (35, 139.9), (34.6, 138.2), (33.5, 135.8), (33.2, 132), (31, 131),
        (31.3, 130.2), (33.9, 130.8), (35.5, 133), (37, 136.7), (38, 139.5), (40, 139.9),
        (43.2, 140.3),
    ])
    land.add_land("Sakhalin", [(54.3, 142.6), (51.5, 143.5), (46, 143.5), (46, 142),
                               (51, 142)])
    land.add_land("Borneo", [(7, 117), (4, 118.5), (1, 119), (-3.5, 116), (-3, 111),
                             (-1, 109), (1.5, 109), (4.5, 114)])
    land.add_land("Sumatra", [(5.6, 95.3), (3.5, 99.5), (0, 104), (-3, 106), (-6, 105.7),
                              (-4, 102), (0, 99), (3, 96)])
    land.add_land("Java", [(-6, 106), (-6.9, 112.5), (-7.7, 114.5), (-8.6, 114.5),
                           (-7.8, 108), (-6.9, 105.2)])
    land.add_land("Sulawesi", [(1.5, 125), (0.5, 120), (-1, 119.5), (-5.5, 119.5),
                               (-5.5, 122.5), (-1, 121.5), (0.5, 123)])
    land.add_land("The Philippines", [(18.5, 122.2), (14, 124), (10, 126), (6, 126.2),
                                      (7, 122), (12, 121.8), (14.5, 120.5), (16.5, 120.3)])
    land.add_land("New Guinea", [(-0.8, 131), (-2.5, 135), (-2.6, 141), (-5.5, 147.5),
                                 (-10.6, 150.8), (-8.5, 143.5), (-9.1, 141), (-7.5, 138.5),
                                 (-4, 133), (-2.5, 132)])
    land.add_land("Australia", [
        (-11, 142.5), (-17, 141.5), (-14.7, 135.5), (-12, 136.8), (-11.2, 132.5), (-14, 129.5),
        (-14.5, 125.5), (-18, 122.2), (-20.3, 118.5), (-22, 114), (-26, 113.5), (-32, 115.7),
        (-34.3, 115.2), (-35, 118), (-34, 123.5), (-31.5, 131), (-32.5, 134), (-35, 136),
        (-34.8, 138.5), (-38, 140.5), (-38.8, 146.3), (-37.5, 150), (-33, 151.7),
        (-28.5, 153.6), (-25, 152.8), (-22, 149.8), (-19, 146.3), (-14.5, 144.5),
    ])
    land.add_land("Tasmania", [(-40.8, 144.7), (-41, 148.3), (-43.6, 146.9), (-42.3, 145.3)])
    land.add_land("New Zealand, the North Island", [(-34.4, 172.7), (-37.5, 176), (-37.7, 178.5),
                                                    (-41.6, 175.2), (-39.5, 173.8),
                                                    (-37, 174.6)])
    land.add_land("New Zealand, the South Island", [(-40.5, 172.7), (-41.7, 174.3),
                                                    (-44, 173), (-46.6, 169.3), (-46.2, 166.5),
                                                    (-43, 170.5)])
    return land, "worldIITextOutline", "WorldIITextOutline.cpp", [
        "The land of the map text WorldII: the continents and the larger islands, round its",
        "labels."]


# ---------------------------------------------------------------------------------------------
# Capes: a label that its region's authoring pushed toward the picture's edge, or that stands on
# the real coast, gets a cape of land from the nearest land deep enough to hold it

CAPE_RADIUS = 14
CAPE_DEPTH = 14


def within(poly, p):
    x, y = p
    hit = False
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def edge_distance(poly, p):
    best = float("inf")
    for a, b in zip(poly, poly[1:] + poly[:1]):
        ax, ay = b[0] - a[0], b[1] - a[1]
        length2 = ax * ax + ay * ay
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * ax + (p[1] - a[1]) * ay) / length2))
        best = min(best, math.dist(p, (a[0] + t * ax, a[1] + t * ay)))
    return best


def deep_inside(land, poly, p, depth):
    """Whether p and the points `depth` round it lie on `poly`'s land."""
    ring = [(0, 0)] + [(depth * math.cos(k * math.pi / 4), depth * math.sin(k * math.pi / 4)) for k in range(8)]
    return all(within(poly, (p[0] + dx, p[1] + dy)) and land.inside((p[0] + dx, p[1] + dy)) for dx, dy in ring)


def stadium(a, b, radius, steps=8):
    """The points round the two discs of `radius` at a and b and the band between them."""
    angle = math.atan2(b[1] - a[1], b[0] - a[0])
    points = []
    for centre, start in ((b, angle - math.pi / 2), (a, angle + math.pi / 2)):
        for i in range(steps + 1):
            t = start + math.pi * i / steps
            points.append((int(round(centre[0] + radius * math.cos(t))),
                           int(round(centre[1] + radius * math.sin(t)))))
    return points


def add_capes(land, labels, clearance):
    """A cape for every label that does not stand on land `clearance` pixels from the coast:
    from the nearest land of its own coast that is deep enough, or, on an island too small for
    that, a round of land about the label."""
    for t, label in sorted(labels.items()):
        if land.inside(label) and all(land.inside((label[0] + dx, label[1] + dy))
                                      for dx, dy in ((clearance, 0), (-clearance, 0),
                                                     (0, clearance), (0, -clearance))):
            continue
        own = min((poly for _, poly in land.land),
                  key=lambda poly: 0.0 if within(poly, label) else edge_distance(poly, label))
        spots = [(x, y) for y in range(label[1] - 120, label[1] + 121, 3)
                 for x in range(label[0] - 120, label[0] + 121, 3)]
        anchors = [p for p in spots if deep_inside(land, own, p, CAPE_DEPTH)]
        anchor = min(anchors, key=lambda p: math.dist(p, label)) if anchors else label
        land.land.append((f"The cape of territory {t}", stadium(label, anchor, CAPE_RADIUS)))


MAPS = {"France": (france, "MapTextFrance.cpp"), "Ireland": (ireland, "MapTextIreland.cpp"),
        "Romania": (romania, "MapTextRomania.cpp"), "Russia": (russia, "MapTextRussia.cpp"),
        "WorldII": (world, "MapTextWorldII.cpp")}


def main():
    only = sys.argv[1:] or list(MAPS)
    sources = {}
    try:
        for name in only:
            build, text = MAPS[name]
            land, function, file_name, comment = build()
            labels = text_labels(text)
            add_capes(land, labels, CLEARANCE)
            land.check([(f"territory {t}", p) for t, p in labels.items()], clearance=CLEARANCE)
            source = land.source(function, "", comment)
            source = source.replace("tools/authoring/;", SCRIPT + ";")
            sources[file_name] = source
    except MapError as error:
        sys.stderr.write(f"maptext_outlines.py: {name}: {error}\n")
        sys.exit(1)
    for file_name, source in sources.items():
        with open(os.path.join(ARTGEN, file_name), "w", encoding="ascii") as f:
            f.write(source)


if __name__ == "__main__":
    main()
