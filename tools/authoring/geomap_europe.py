#!/usr/bin/env python3
"""Authoring script for the built-in map Europe (state/BuiltinMapEurope.cpp).

Forty territories in eight continents, from Iceland to the Volga: countries, the large ones
split into their historic regions. Every label stands on a real place of its region.

    python3 tools/authoring/geomap_europe.py tools/artgen/EuropeOutline.cpp > state/BuiltinMapEurope.cpp
"""

from authoring_lib import Outline
from geomap_lib import Map, run

# code, name, latitude, longitude
CONTINENTS = [
    ("British_Isles", "British Isles", [
        ("ice", "Iceland", 64.9, -18.6),
        ("ire", "Ireland", 53.2, -8.0),
        ("sco", "Scotland", 57.0, -4.2),
        ("eng", "England", 52.6, -1.5),
    ]),
    ("Scandinavia", "Scandinavia", [
        ("nor", "Norway", 61.0, 8.5),
        ("lap", "Lapland", 68.0, 21.0),
        ("swe", "Sweden", 59.8, 15.2),
        ("fin", "Finland", 62.5, 26.0),
        ("den", "Denmark", 56.0, 9.3),
    ]),
    ("Western_Europe", "Western Europe", [
        ("bre", "Brittany", 47.9, -2.3),
        ("par", "Northern France", 49.3, 2.5),
        ("bur", "Burgundy", 47.2, 5.0),
        ("occ", "Occitania", 44.0, 2.3),
        ("ben", "Benelux", 51.6, 5.0),
    ]),
    ("Iberia", "Iberia", [
        ("por", "Portugal", 39.6, -8.0),
        ("cas", "Castile", 40.9, -4.0),
        ("and", "Andalusia", 37.4, -4.6),
        ("cat", "Catalonia", 41.2, 0.6),
    ]),
    ("Central_Europe", "Central Europe", [
        ("nge", "Northern Germany", 52.8, 10.2),
        ("sge", "Southern Germany", 49.3, 10.0),
        ("swi", "Switzerland", 46.8, 8.2),
        ("aus", "Austria", 47.5, 14.5),
        ("cze", "Czechia", 49.8, 15.5),
        ("pol", "Poland", 52.1, 19.4),
        ("hun", "Hungary", 47.2, 19.4),
    ]),
    ("Italy", "Italy", [
        ("nit", "Northern Italy", 45.2, 10.0),
        ("rom", "Rome", 42.6, 12.6),
        ("nap", "Naples", 40.7, 15.8),
        ("sic", "Sicily", 37.5, 14.2),
    ]),
    ("Balkans", "Balkans", [
        ("cro", "Croatia", 45.1, 16.2),
        ("ser", "Serbia", 43.9, 20.8),
        ("gre", "Greece", 39.5, 22.0),
        ("bul", "Bulgaria", 42.7, 25.3),
        ("rum", "Romania", 45.8, 24.8),
    ]),
    ("Eastern_Europe", "Eastern Europe", [
        ("bal", "Baltics", 56.6, 24.3),
        ("bel", "Belarus", 53.6, 28.0),
        ("ukr", "Ukraine", 49.0, 31.5),
        ("mos", "Moscow", 55.7, 37.6),
        ("kar", "Karelia", 61.5, 33.0),
        ("vol", "Volga", 52.0, 45.0),
    ]),
]

LINKS = """
ice-sco ice-nor ire-sco ire-eng sco-eng sco-nor eng-ben eng-par
nor-swe nor-lap swe-lap swe-fin fin-lap nor-den swe-den den-nge fin-kar lap-kar fin-bal
bre-par bre-occ par-bur par-ben bur-occ bur-ben bur-sge bur-swi occ-cat occ-cas occ-nit
ben-nge ben-sge
por-cas por-and cas-and cas-cat and-cat
nge-sge nge-pol nge-cze sge-swi sge-aus sge-cze swi-aus swi-nit aus-cze aus-hun aus-nit aus-cro
cze-pol cze-hun pol-bal pol-bel pol-ukr hun-rum hun-ser hun-cro hun-ukr
nit-rom rom-nap nap-sic nit-cro nap-gre
cro-ser ser-rum ser-bul ser-gre gre-bul bul-rum rum-ukr
bal-bel bal-kar bel-ukr bel-mos ukr-mos ukr-vol mos-kar mos-vol
"""
SEA = "ice-sco ice-nor ire-sco ire-eng sco-nor eng-ben eng-par nor-den swe-den fin-bal nap-sic nap-gre"

COMMENT = [
    "Europe: forty territories from Iceland to the Volga in eight continents named after the",
    "real parts of Europe; labels stand where the real regions lie, with the usual sea links",
    "(Iceland - Scotland and Norway, the Irish Sea, the Channel, the Sound, the Gulf of",
    "Finland, the Strait of Messina and the Strait of Otranto).",
]


def build():
    places = {code: (code, name, lat, lon) for _, _, members in CONTINENTS for code, name, lat, lon in members}
    continents = [(text, shown, [m[0] for m in members]) for text, shown, members in CONTINENTS]
    return Map(symbol="Europe", flag="MapEurope", save_name="Europe",
               text_name="Europe", title="Europe",
               continents=continents, places=places, links=LINKS, sea_links=SEA.split(),
               centre=(53.0, 12.0), territory_range=(30, 41), min_continents=7)


def outline(m):
    """Europe's coasts by hand, in latitude and longitude; Anatolia and North Africa are land
    no one holds."""
    land = Outline(m.to_picture)
    land.add_land("The mainland from Gibraltar round the Atlantic, the North Sea, the Baltic and "
                  "the Arctic to the Urals, the Caspian, the Caucasus and the Black Sea", [
        (36.1, -5.35), (36.5, -6.3), (37.2, -7.0), (37.0, -8.9), (38.7, -9.5), (40.0, -8.9),
        (41.1, -8.7), (42.9, -9.3), (43.4, -8.4), (43.6, -5.7), (43.5, -3.8), (43.4, -2.0),
        (43.5, -1.5), (44.6, -1.2), (46.2, -1.2), (47.3, -2.2), (47.8, -4.2), (48.4, -4.8),
        (48.65, -2.0), (49.65, -1.6), (49.5, 0.1), (50.2, 1.6), (50.95, 1.85), (51.2, 2.9),
        (51.9, 4.1), (52.95, 4.75), (53.45, 6.5), (53.6, 8.1), (53.9, 8.7), (54.5, 8.9),
        (55.5, 8.2), (56.5, 8.1), (57.1, 8.6), (57.75, 10.6), (57.0, 10.4), (56.2, 10.7),
        (55.6, 9.8), (54.8, 9.9), (54.35, 10.2), (53.95, 10.9), (54.15, 12.1), (54.5, 13.4),
        (53.9, 14.2), (54.2, 15.6), (54.75, 17.5), (54.4, 18.65), (54.95, 20.0), (55.7, 21.1),
        (56.5, 21.0), (57.4, 21.55), (57.75, 22.6), (57.0, 24.1), (58.4, 24.5), (59.0, 23.4),
        (59.45, 24.75), (59.45, 28.0), (59.95, 30.2), (60.7, 28.7), (60.45, 26.95), (60.15, 24.95),
        (59.85, 23.0), (60.45, 22.25), (61.5, 21.5), (63.1, 21.6), (64.3, 23.5), (65.0, 25.4),
        (65.85, 24.15), (65.6, 22.15), (64.75, 21.2), (63.8, 20.3), (62.4, 17.35), (60.7, 17.2),
        (59.3, 18.6), (58.6, 16.8), (56.65, 16.35), (56.15, 15.6), (55.4, 13.8), (55.6, 13.0),
        (56.05, 12.7), (56.65, 12.85), (57.7, 11.9), (58.95, 11.15), (59.2, 10.9), (59.05, 10.0),
        (58.1, 8.0), (58.0, 7.05), (58.95, 5.7), (60.4, 5.1), (61.6, 5.0), (62.5, 6.1),
        (63.1, 7.7), (63.7, 9.0), (64.5, 10.5), (65.5, 12.2), (67.3, 14.4), (68.2, 14.5),
        (68.6, 15.8), (69.65, 18.9), (70.65, 23.7), (71.1, 25.8), (70.8, 28.5), (70.35, 31.1),
        (69.7, 30.0), (69.2, 33.5), (68.9, 36.5), (68.2, 39.5), (66.8, 41.0), (66.2, 39.5),
        (66.6, 35.0), (66.2, 33.0), (65.0, 34.8), (64.5, 36.5), (64.9, 37.5), (64.4, 40.5),
        (65.6, 39.8), (66.5, 42.0), (67.8, 44.0), (68.5, 46.5), (68.1, 53.0), (68.8, 57.0),
        (69.0, 66.0), (47.5, 66.0), (47.0, 53.0), (46.8, 51.0), (46.0, 48.5), (44.5, 47.3),
        (43.0, 47.5), (42.0, 48.3), (42.4, 46.0), (43.0, 43.5), (43.4, 41.0), (43.6, 39.7),
        (44.1, 39.1), (44.7, 37.8), (45.1, 36.9), (45.35, 36.5), (45.0, 35.4), (44.5, 34.2),
        (44.6, 33.5), (45.2, 33.4), (46.0, 32.5), (46.45, 30.75), (45.2, 29.7), (44.2, 28.65),
        (43.2, 27.95), (42.5, 27.5), (41.6, 28.1), (41.25, 29.0), (41.0, 28.5), (40.4, 26.6),
        (40.85, 25.9), (40.9, 24.4), (40.6, 22.95), (40.0, 23.6), (39.35, 22.95), (38.5, 23.5),
        (37.95, 23.7), (37.6, 23.2), (36.45, 23.2), (37.0, 22.1), (36.9, 21.7), (37.25, 21.65),
        (38.25, 21.7), (38.95, 20.75), (39.6, 20.1), (40.45, 19.5), (41.3, 19.45), (42.1, 19.0),
        (42.65, 18.1), (43.5, 16.45), (44.1, 15.2), (45.35, 14.4), (45.0, 13.9), (45.65, 13.75),
        (45.45, 12.35), (44.95, 12.5), (44.05, 12.6), (43.6, 13.5), (42.45, 14.2), (41.9, 16.2),
        (41.1, 16.9), (40.65, 17.95), (40.15, 18.5), (40.4, 17.2), (39.9, 16.6), (39.0, 17.1),
        (38.3, 16.5), (37.95, 15.7), (38.7, 15.9), (39.6, 15.8), (40.65, 14.75), (40.85, 14.25),
        (41.2, 13.55), (41.45, 12.6), (42.1, 11.8), (42.95, 10.5), (43.55, 10.3), (44.1, 9.8),
        (44.4, 8.9), (44.3, 8.45), (43.7, 7.3), (43.1, 5.9), (43.3, 5.35), (43.45, 4.6),
        (43.5, 3.9), (42.7, 3.05), (42.3, 3.3), (41.35, 2.15), (41.1, 1.25), (40.7, 0.85),
        (39.45, -0.3), (38.75, 0.2), (38.35, -0.5), (37.6, -1.0), (36.8, -2.4), (36.7, -4.4),
    ])
    land.add_land("Great Britain", [
        (50.05, -5.7), (49.95, -5.2), (50.35, -4.15), (50.55, -2.45), (50.8, -1.3), (50.8, -0.15),
        (51.1, 1.35), (51.4, 1.45), (51.5, 0.7), (51.95, 1.3), (52.45, 1.75), (52.95, 1.0),
        (52.9, 0.3), (53.6, 0.1), (54.1, -0.1), (54.5, -0.6), (55.0, -1.45), (55.75, -2.0),
        (56.0, -2.6), (56.3, -2.6), (57.15, -2.05), (57.5, -1.8), (57.7, -2.0), (57.6, -3.5),
        (58.45, -3.1), (58.65, -3.4), (58.6, -5.0), (57.9, -5.3), (57.3, -5.8), (56.45, -6.0),
        (55.3, -5.7), (55.45, -4.65), (54.9, -5.1), (54.9, -3.5), (54.4, -3.5), (54.05, -2.9),
        (53.4, -3.0), (53.3, -4.2), (53.3, -4.6), (52.3, -4.1), (51.9, -5.3), (51.6, -3.95),
        (51.5, -3.1), (51.45, -2.6), (51.2, -3.4), (51.2, -4.2), (50.55, -5.0),
    ])
    land.add_land("Ireland", [
        (55.4, -7.4), (54.6, -5.9), (53.35, -6.2), (52.3, -6.4), (52.15, -7.0), (51.85, -8.3),
        (51.45, -9.8), (52.1, -10.3), (52.6, -9.6), (53.25, -9.1), (53.45, -10.1), (54.2, -10.0),
        (54.3, -8.6), (54.65, -8.75), (55.15, -8.3),
    ])
    land.add_land("Iceland", [
        (66.4, -16.5), (65.6, -13.6), (64.3, -14.5), (63.4, -18.8), (63.8, -22.7), (64.3, -22.0),
        (64.8, -24.0), (65.5, -24.3), (66.4, -23.0), (66.1, -18.0),
    ])
    land.add_land("Sicily", [(38.25, 15.65), (37.5, 15.1), (36.7, 15.1), (37.1, 13.9), (37.6, 12.45),
                             (38.1, 12.7), (38.1, 13.35), (38.0, 14.5)])
    land.add_land("Sardinia", [(41.25, 9.2), (40.9, 9.7), (39.2, 9.6), (38.9, 8.6), (39.9, 8.4), (40.9, 8.2)])
    land.add_land("Corsica", [(43.0, 9.4), (42.5, 9.55), (41.4, 9.2), (41.9, 8.6), (42.5, 8.6)])
    land.add_land("Crete", [(35.3, 23.5), (35.5, 24.2), (35.3, 25.3), (35.2, 26.3), (35.0, 26.2),
                            (34.95, 24.7), (35.2, 23.6)])
    land.add_land("Anatolia", [
        (41.15, 30.1), (41.2, 31.4), (42.0, 35.2), (41.3, 36.3), (41.0, 39.7), (41.6, 41.6),
        (41.8, 44.0), (41.5, 48.5), (40.0, 49.5), (36.0, 49.5), (36.0, 36.2), (36.6, 36.15),
        (36.8, 34.6), (36.9, 30.7), (36.3, 28.0), (37.0, 27.3), (38.4, 26.9), (39.5, 26.2),
        (39.95, 26.6), (40.3, 27.6), (40.6, 29.4),
    ])
    land.add_land("North Africa", [
        (35.8, -5.9), (35.2, -2.9), (35.7, -0.6), (36.8, 3.0), (36.9, 8.0), (37.3, 9.9),
        (36.8, 11.1), (35.8, 10.6), (34.0, 10.0), (33.0, 11.5), (32.9, 13.2), (31.2, 16.3),
        (28.0, 16.3), (28.0, -10.0), (33.5, -9.0), (35.0, -6.3),
    ])
    land.add_water("The Sea of Azov", [(47.2, 39.2), (46.6, 35.0), (45.5, 34.9), (45.4, 35.9),
                                       (45.3, 36.9), (46.0, 38.2)])
    land.add_water("Lake Ladoga", [(61.6, 31.0), (61.0, 32.8), (60.1, 32.0), (60.5, 30.5)])
    land.add_water("Lake Onega", [(62.9, 34.6), (62.0, 36.0), (61.2, 35.5), (61.8, 34.3)])
    return land, "europeOutline", ["Europe's land, drawn by hand round the labels of the Europe map."]


PANEL_PREF = (0, 632)

if __name__ == "__main__":
    run(build(), "geomap_europe.py", COMMENT, route_count=16, preferred_panel=PANEL_PREF,
        outline=outline)
