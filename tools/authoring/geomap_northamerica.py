#!/usr/bin/env python3
"""Authoring script for the built-in map North America (state/BuiltinMapNorthAmerica.cpp).

Fifty-six territories in twelve continents: Alaska and the Canadian north, the provinces, the
states of the United States (the small ones joined), Mexico, Central America and Cuba. Every
label stands on a real place of its region.

    python3 tools/authoring/geomap_northamerica.py tools/artgen/NorthAmericaOutline.cpp \
        > state/BuiltinMapNorthAmerica.cpp
"""

from authoring_lib import Outline
from geomap_lib import Map, equirectangular, run

# code, name, latitude, longitude
CONTINENTS = [
    ("Arctic", "Arctic", [
        ("ala", "Alaska", 64.5, -151.0),
        ("yuk", "Yukon", 63.5, -135.5),
        ("nwt", "Northwest Territories", 64.5, -118.0),
        ("nun", "Nunavut", 66.0, -90.0),
        ("grl", "Greenland", 71.0, -46.0),
    ]),
    ("Western_Canada", "Western Canada", [
        ("bc", "British Columbia", 54.0, -125.0),
        ("alb", "Alberta", 55.0, -114.5),
        ("sas", "Saskatchewan", 54.5, -105.8),
        ("man", "Manitoba", 55.0, -97.5),
    ]),
    ("Eastern_Canada", "Eastern Canada", [
        ("ont", "Ontario", 50.0, -86.0),
        ("que", "Quebec", 50.5, -72.0),
        ("lab", "Labrador", 53.8, -61.5),
        ("nfl", "Newfoundland", 48.6, -56.0),
        ("mar", "Maritimes", 46.0, -65.3),
    ]),
    ("Pacific_States", "Pacific States", [
        ("was", "Washington", 47.4, -120.5),
        ("ore", "Oregon", 43.9, -120.6),
        ("cal", "California", 36.8, -119.8),
    ]),
    ("Mountain_States", "Mountain States", [
        ("nev", "Nevada", 39.3, -116.6),
        ("ida", "Idaho", 44.4, -114.6),
        ("mon", "Montana", 47.0, -109.6),
        ("wyo", "Wyoming", 43.0, -107.5),
        ("uta", "Utah", 39.3, -111.7),
        ("col", "Colorado", 39.0, -105.5),
    ]),
    ("Southwest", "Southwest", [
        ("ari", "Arizona", 34.3, -111.7),
        ("nme", "New Mexico", 34.4, -106.1),
        ("tex", "Texas", 31.2, -99.3),
        ("okl", "Oklahoma", 35.6, -97.5),
    ]),
    ("Great_Plains", "Great Plains", [
        ("nda", "North Dakota", 47.5, -100.5),
        ("sda", "South Dakota", 44.4, -100.2),
        ("neb", "Nebraska", 41.5, -99.8),
        ("kan", "Kansas", 38.5, -98.4),
        ("min", "Minnesota", 46.3, -94.3),
        ("iow", "Iowa", 42.0, -93.5),
        ("mou", "Missouri", 38.4, -92.5),
    ]),
    ("Great_Lakes", "Great Lakes", [
        ("wis", "Wisconsin", 44.6, -89.9),
        ("mic", "Michigan", 43.3, -84.6),
        ("ill", "Illinois", 40.3, -89.5),
        ("ind", "Indiana", 39.7, -86.1),
        ("ohi", "Ohio", 40.3, -82.8),
    ]),
    ("The_South", "The South", [
        ("ark", "Arkansas", 34.9, -92.4),
        ("lou", "Louisiana", 30.9, -92.4),
        ("mss", "Mississippi", 32.8, -89.9),
        ("bam", "Alabama", 32.7, -86.6),
        ("ten", "Tennessee", 35.9, -86.4),
    ]),
    ("South_Atlantic", "South Atlantic", [
        ("geo", "Georgia", 32.7, -83.4),
        ("flo", "Florida", 28.0, -81.6),
        ("car", "Carolinas", 35.3, -79.8),
        ("vir", "Virginia", 37.8, -79.0),
    ]),
    ("Northeast", "Northeast", [
        ("pen", "Pennsylvania", 40.9, -77.8),
        ("nyo", "New York", 42.9, -75.5),
        ("nen", "New England", 44.0, -71.0),
    ]),
    ("Middle_America", "Middle America", [
        ("nmx", "Northern Mexico", 29.2, -109.5),
        ("cmx", "Central Mexico", 20.8, -101.5),
        ("smx", "Southern Mexico", 17.5, -95.5),
        ("cam", "Central America", 14.5, -87.0),
        ("cub", "Cuba", 22.1, -79.4),
    ]),
]

LINKS = """
ala-yuk ala-bc yuk-bc yuk-nwt nwt-bc nwt-alb nwt-sas nwt-nun nun-man nun-grl nun-que grl-lab
bc-alb bc-was bc-ida alb-sas alb-mon sas-man sas-mon sas-nda man-nda man-min man-ont
ont-min ont-mic ont-nyo ont-que que-lab que-mar que-nen que-nyo lab-nfl nfl-mar mar-nen
was-ore was-ida ore-cal ore-nev ore-ida cal-nev cal-ari cal-nmx
nev-ida nev-uta nev-ari ida-mon ida-wyo ida-uta mon-wyo mon-nda mon-sda wyo-sda wyo-neb wyo-col
wyo-uta uta-col uta-ari col-nme col-neb col-kan col-okl
ari-nme ari-nmx nme-tex nme-okl nme-nmx tex-okl tex-nmx tex-ark tex-lou okl-kan okl-mou okl-ark
nda-sda nda-min sda-neb sda-min sda-iow neb-kan neb-iow neb-mou kan-mou min-iow min-wis iow-wis
iow-ill iow-mou mou-ill mou-ark mou-ten
wis-mic wis-ill mic-ind mic-ohi ill-ind ind-ohi ind-ten ohi-vir ohi-pen
ark-lou ark-mss ark-ten lou-mss mss-bam mss-ten bam-ten bam-geo bam-flo ten-geo ten-car ten-vir
geo-flo geo-car car-vir vir-pen pen-nyo nyo-nen
flo-cub cub-smx nmx-cmx cmx-smx smx-cam
"""
SEA = "nun-grl grl-lab nun-que lab-nfl nfl-mar flo-cub cub-smx"

COMMENT = [
    "North America: fifty-six territories in twelve continents named after the real regions of",
    "the continent, from Alaska and Greenland to Central America; labels stand where the real",
    "regions lie, with the usual sea links (Baffin Bay, Hudson Strait, the Labrador Sea, the",
    "Strait of Belle Isle, the Cabot Strait, the Straits of Florida and the Yucatan Channel).",
]


def build():
    places = {code: (code, name, lat, lon) for _, _, members in CONTINENTS for code, name, lat, lon in members}
    continents = [(text, shown, [m[0] for m in members]) for text, shown, members in CONTINENTS]
    return Map(symbol="NorthAmerica", flag="MapNorthAmerica", save_name="America",
               text_name="NorthAmerica",
               title="North America", continents=continents, places=places, links=LINKS,
               sea_links=SEA.split(), centre=(45.0, -98.0), territory_range=(56, 56),
               min_continents=8,
               projection=equirectangular(32.0, -98.0))


def outline(m):
    """The continent's coasts by hand, in latitude and longitude, with Hudson Bay, the Gulf of
    Mexico and the Great Lakes; Hispaniola and Jamaica are land no one holds."""
    land = Outline(m.to_picture)
    land.add_land("The mainland from Alaska round the Arctic, Hudson Bay, the Atlantic, the Gulf "
                  "of Mexico and the Caribbean, back up the Pacific", [
        (65.6, -168.1), (66.9, -162.6), (68.35, -166.8), (71.4, -156.5), (70.3, -148.5),
        (69.6, -141.0), (69.4, -135.0), (69.45, -133.0), (70.6, -128.0), (69.5, -123.0),
        (68.0, -112.0), (68.0, -101.0), (68.5, -98.0), (69.8, -93.0), (68.5, -89.5), (67.5, -87.0),
        (66.5, -86.0), (63.3, -90.7), (61.1, -94.0), (58.8, -94.2), (57.0, -92.3), (55.3, -85.0),
        (54.5, -82.3), (51.3, -80.6), (53.5, -79.0), (55.3, -77.7), (58.5, -78.0), (60.5, -77.5),
        (62.4, -77.9), (61.0, -72.0), (58.5, -69.5), (59.3, -67.5), (60.3, -64.5), (58.0, -62.0),
        (56.5, -61.2), (55.0, -59.5), (53.5, -56.0), (52.1, -55.7), (51.4, -57.5), (50.2, -61.5),
        (50.2, -66.5), (49.2, -68.3), (48.6, -69.3), (48.4, -68.5), (49.2, -65.0), (48.8, -64.2),
        (48.0, -65.5), (46.8, -64.7), (45.8, -63.5), (46.8, -60.4), (46.0, -59.8), (44.6, -63.5),
        (43.8, -66.1), (45.25, -66.1), (44.3, -68.5), (43.65, -70.25), (42.65, -70.6),
        (42.35, -71.0), (41.7, -70.0), (41.5, -71.0), (41.2, -72.5), (40.6, -74.0), (39.0, -74.8),
        (37.0, -76.0), (35.25, -75.5), (34.6, -76.5), (34.0, -77.9), (33.7, -78.9), (32.8, -79.9),
        (32.0, -80.9), (30.3, -81.4), (28.4, -80.6), (25.8, -80.2), (25.1, -81.1), (26.1, -81.8),
        (27.9, -82.7), (29.1, -83.0), (29.7, -85.0), (30.4, -87.2), (30.4, -88.0), (29.0, -89.2),
        (29.3, -90.5), (29.6, -92.3), (29.3, -94.8), (27.8, -97.4), (25.9, -97.2), (22.3, -97.9),
        (19.2, -96.1), (18.15, -94.4), (19.85, -90.5), (21.3, -89.5), (21.1, -86.8), (17.5, -88.2),
        (15.8, -87.5), (16.0, -84.5), (15.0, -83.2), (12.0, -83.6), (10.0, -83.0), (9.4, -80.0),
        (8.0, -80.5), (8.3, -82.8), (9.5, -85.0), (11.5, -86.5), (13.0, -87.6), (13.5, -89.5),
        (14.0, -91.5), (14.7, -92.5), (16.2, -95.2), (16.85, -99.9), (17.95, -102.2),
        (19.05, -104.3), (20.6, -105.25), (21.5, -105.2), (23.2, -106.4), (24.8, -108.0),
        (25.8, -109.2), (27.9, -110.9), (29.5, -112.4), (31.5, -114.5), (30.0, -114.6),
        (28.0, -112.8), (26.0, -111.3), (24.2, -110.3), (22.9, -109.9), (24.5, -111.8),
        (26.7, -113.5), (27.8, -114.9), (29.5, -115.5), (31.9, -116.6), (32.7, -117.2),
        (33.9, -118.4), (34.45, -120.5), (36.6, -121.9), (37.8, -122.5), (40.4, -124.4),
        (43.3, -124.4), (46.25, -124.0), (48.4, -124.7), (50.0, -127.5), (51.5, -128.0),
        (54.3, -130.3), (56.0, -133.0), (57.5, -136.0), (59.5, -139.7), (60.0, -144.0),
        (60.8, -147.0), (59.5, -151.5), (58.0, -153.5), (57.0, -156.5), (55.5, -161.0),
        (54.8, -163.5), (56.0, -160.0), (58.5, -157.0), (58.8, -162.0), (60.0, -162.5),
        (61.5, -165.8), (63.5, -162.0), (64.5, -165.4),
    ])
    land.add_land("Baffin Island", [
        (73.5, -80.0), (72.5, -72.0), (70.5, -68.0), (68.5, -66.5), (66.5, -62.0), (64.5, -64.5),
        (62.5, -64.8), (62.0, -67.5), (63.5, -70.5), (64.5, -72.0), (65.5, -74.0), (66.5, -72.5),
        (68.0, -74.5), (69.5, -77.0), (70.5, -85.0), (72.0, -85.5), (73.5, -85.0),
    ])
    land.add_land("Southampton Island", [(65.9, -86.0), (64.9, -81.0), (63.6, -83.0), (64.0, -87.0)])
    land.add_land("Victoria Island", [
        (73.0, -110.0), (72.5, -118.5), (71.5, -118.0), (70.5, -117.5), (69.2, -113.0),
        (68.8, -106.0), (69.5, -101.5), (71.0, -101.5), (72.5, -104.0),
    ])
    land.add_land("Banks Island", [(74.4, -124.0), (73.0, -125.0), (71.5, -125.0), (71.2, -121.5),
                                   (72.5, -119.3), (74.0, -121.0)])
    land.add_land("Greenland", [
        (59.8, -43.9), (61.0, -48.0), (64.2, -51.7), (66.9, -53.7), (69.5, -54.0), (72.8, -56.1),
        (76.0, -62.0), (80.0, -60.0), (80.0, -20.0), (76.0, -19.0), (70.5, -22.0), (68.5, -28.0),
        (65.6, -37.6), (62.0, -42.2),
    ])
    land.add_land("Newfoundland", [
        (51.6, -55.4), (49.7, -54.0), (48.5, -53.0), (47.55, -52.7), (46.65, -53.1), (47.0, -55.5),
        (47.6, -59.3), (48.6, -58.9), (49.5, -58.0), (50.7, -57.3),
    ])
    land.add_land("Cuba", [
        (23.15, -82.4), (23.2, -80.5), (22.5, -78.5), (21.5, -76.5), (20.2, -74.15), (19.9, -75.8),
        (19.9, -77.7), (20.7, -78.0), (21.7, -79.6), (21.8, -81.2), (21.9, -83.0), (21.85, -84.95),
        (22.7, -83.5),
    ])
    land.add_land("Hispaniola", [(19.9, -72.6), (19.7, -70.0), (18.6, -68.4), (18.2, -71.0),
                                 (18.2, -74.4), (19.0, -72.8)])
    land.add_land("Jamaica", [(18.5, -78.3), (18.4, -76.2), (17.9, -76.5), (18.2, -78.2)])
    land.add_water("Lake Superior", [(46.7, -92.1), (47.5, -90.5), (48.0, -89.4), (48.8, -88.3),
                                     (48.7, -86.5), (47.9, -84.9), (46.5, -84.6), (46.6, -86.5),
                                     (46.9, -87.8), (46.8, -90.5)])
    land.add_water("Lake Michigan", [(45.9, -85.5), (45.8, -84.9), (44.8, -85.6), (43.2, -86.3),
                                     (42.0, -86.6), (41.6, -87.5), (42.6, -87.8), (44.5, -87.5),
                                     (45.3, -86.8)])
    land.add_water("Lake Huron", [(46.1, -84.0), (46.2, -81.5), (45.3, -80.0), (44.5, -81.3),
                                  (43.0, -82.4), (44.0, -83.4), (45.5, -83.5)])
    land.add_water("Lake Erie", [(42.9, -78.9), (42.5, -81.0), (42.0, -83.2), (41.5, -82.6),
                                 (41.5, -81.7), (42.1, -80.1)])
    land.add_water("Lake Ontario", [(43.3, -79.8), (43.9, -78.8), (44.2, -76.4), (43.5, -76.2),
                                    (43.2, -77.6), (43.3, -79.0)])
    return land, "northAmericaOutline", ["North America's land, drawn by hand round the labels of the North America map."]


PANEL_PREF = (0, 632)

if __name__ == "__main__":
    run(build(), "geomap_northamerica.py", COMMENT, route_count=18, preferred_panel=PANEL_PREF,
        outline=outline)
