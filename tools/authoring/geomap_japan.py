#!/usr/bin/env python3
"""Authoring script for the built-in map Japan (state/BuiltinMapJapan.cpp).

Fifty-one territories in ten continents: the eight traditional regions of Japan with their
prefectures (the smallest joined to a neighbour), and Korea across the strait. Every label
stands on a real place of its region.

    python3 tools/authoring/geomap_japan.py tools/artgen/JapanOutline.cpp > state/BuiltinMapJapan.cpp
"""

from authoring_lib import Outline
from geomap_lib import Map, run

# code, name, latitude, longitude
CONTINENTS = [
    ("Hokkaido", "Hokkaido", [
        ("sap", "Sapporo", 43.0, 141.6),
        ("asa", "Asahikawa", 44.2, 142.4),
        ("kus", "Kushiro", 43.3, 144.4),
        ("obi", "Obihiro", 42.9, 143.2),
        ("hak", "Hakodate", 42.0, 140.4),
    ]),
    ("Tohoku", "Tohoku", [
        ("aom", "Aomori", 40.75, 140.7),
        ("iwa", "Iwate", 39.6, 141.4),
        ("aki", "Akita", 39.7, 140.3),
        ("miy", "Miyagi", 38.45, 141.0),
        ("yam", "Yamagata", 38.45, 140.0),
        ("fuk", "Fukushima", 37.4, 140.2),
    ]),
    ("Kanto", "Kanto", [
        ("tok", "Tokyo and Saitama", 35.7, 139.4),
        ("chi", "Chiba", 35.45, 140.2),
        ("iba", "Ibaraki", 36.2, 140.4),
        ("toc", "Tochigi", 36.7, 139.8),
        ("gun", "Gunma", 36.5, 138.95),
    ]),
    ("Chubu", "Chubu", [
        ("nii", "Niigata", 37.5, 139.1),
        ("hok", "Hokuriku", 36.6, 136.95),
        ("fki", "Fukui", 35.95, 136.35),
        ("nag", "Nagano", 36.15, 138.05),
        ("ymn", "Yamanashi", 35.6, 138.6),
        ("gif", "Gifu", 35.75, 137.15),
        ("shz", "Shizuoka", 35.0, 138.3),
        ("aic", "Aichi", 35.1, 137.2),
    ]),
    ("Kansai", "Kansai", [
        ("mie", "Mie", 34.45, 136.45),
        ("shi", "Shiga", 35.2, 136.15),
        ("kyo", "Kyoto", 35.35, 135.35),
        ("osa", "Osaka and Nara", 34.55, 135.65),
        ("wak", "Wakayama", 33.9, 135.6),
        ("hyo", "Hyogo", 35.05, 134.65),
    ]),
    ("Chugoku", "Chugoku", [
        ("san", "San'in", 35.3, 133.0),
        ("oka", "Okayama", 34.85, 133.85),
        ("hir", "Hiroshima", 34.55, 132.75),
        ("ymg", "Yamaguchi", 34.2, 131.5),
    ]),
    ("Shikoku", "Shikoku", [
        ("tks", "Kagawa and Tokushima", 33.95, 134.2),
        ("ehi", "Ehime", 33.5, 132.65),
        ("koc", "Kochi", 33.7, 133.45),
    ]),
    ("Kyushu", "Kyushu", [
        ("fko", "Fukuoka", 33.55, 130.6),
        ("hiz", "Saga and Nagasaki", 33.0, 129.95),
        ("kum", "Kumamoto", 32.6, 130.8),
        ("oit", "Oita", 33.2, 131.45),
        ("miz", "Miyazaki", 32.1, 131.3),
        ("kag", "Kagoshima", 31.5, 130.5),
    ]),
    ("North_Korea", "North Korea", [
        ("pyo", "Pyongan", 39.5, 125.9),
        ("ham", "Hamgyong", 41.0, 129.0),
        ("hwa", "Hwanghae", 38.3, 125.7),
    ]),
    ("South_Korea", "South Korea", [
        ("seo", "Seoul", 37.45, 127.0),
        ("gan", "Gangwon", 37.7, 128.4),
        ("chu", "Chungcheong", 36.5, 127.1),
        ("gye", "Gyeongsang", 35.9, 128.6),
        ("jeo", "Jeolla", 35.2, 126.95),
    ]),
]

LINKS = """
sap-asa sap-obi sap-hak asa-obi asa-kus obi-kus hak-aom
aom-aki aom-iwa aki-iwa aki-yam aki-miy iwa-miy miy-yam miy-fuk yam-fuk yam-nii fuk-nii fuk-toc
fuk-iba
tok-chi tok-gun tok-toc tok-iba chi-iba iba-toc toc-gun gun-nii gun-nag tok-ymn tok-shz tok-nag
nii-nag nii-hok hok-nag hok-gif hok-fki fki-gif fki-shi fki-kyo nag-gif nag-ymn nag-shz nag-aic
ymn-shz gif-aic gif-shi gif-mie aic-shz aic-mie
mie-shi mie-kyo mie-osa mie-wak shi-kyo kyo-osa kyo-hyo osa-wak osa-hyo hyo-oka hyo-san hyo-tks
wak-tks
san-oka san-hir san-ymg oka-hir hir-ymg oka-tks hir-ehi ymg-fko
tks-ehi tks-koc ehi-koc ehi-oit
fko-hiz fko-kum fko-oit hiz-kum kum-oit kum-miz kum-kag oit-miz miz-kag
pyo-ham pyo-hwa hwa-gan hwa-seo seo-gan seo-chu gan-chu gan-gye chu-gye chu-jeo gye-jeo gye-fko
gye-ymg
"""
SEA = "hak-aom hyo-tks wak-tks oka-tks hir-ehi ymg-fko ehi-oit gye-fko gye-ymg"

COMMENT = [
    "Japan: fifty-one territories in ten continents, the eight traditional regions of Japan and",
    "the two halves of Korea, named after the real regions; labels stand where the real regions",
    "lie, with the sea links of the Tsugaru Strait, the Inland Sea, the Kii Channel, the Kanmon",
    "Strait, the Hoyo Strait and the Korea Strait.",
]


def build():
    places = {code: (code, name, lat, lon) for _, _, members in CONTINENTS for code, name, lat, lon in members}
    continents = [(text, shown, [m[0] for m in members]) for text, shown, members in CONTINENTS]
    return Map(symbol="Japan", flag="MapJapan", save_name="Japan",
               text_name="Japan", title="Japan",
               continents=continents, places=places, links=LINKS, sea_links=SEA.split(),
               centre=(37.5, 134.5), territory_range=(51, 51), min_continents=7)


def outline(m):
    """The islands of Japan and the Korean peninsula by hand, in latitude and longitude; the
    Asian mainland beyond the Yalu and the Tumen is land no one holds."""
    land = Outline(m.to_picture)
    land.add_land("Hokkaido", [
        (45.5, 141.9), (44.4, 143.4), (44.0, 144.3), (44.3, 145.3), (43.35, 145.8), (42.98, 144.4),
        (41.93, 143.25), (42.6, 141.6), (42.3, 140.95), (41.75, 140.7), (41.4, 140.1), (42.0, 139.9),
        (42.6, 139.85), (43.35, 140.45), (43.2, 141.0), (43.25, 141.35), (43.95, 141.6), (45.4, 141.7),
    ])
    land.add_land("Honshu", [
        (41.25, 140.35), (41.4, 141.45), (40.5, 141.6), (39.65, 142.0), (38.9, 141.6), (38.4, 141.3),
        (38.25, 140.95), (37.8, 140.95), (37.0, 140.95), (36.6, 140.65), (35.7, 140.85), (34.9, 139.85),
        (35.25, 139.65), (35.3, 139.3), (34.6, 138.85), (34.6, 138.2), (34.65, 137.7), (34.6, 137.0),
        (34.3, 136.8), (33.9, 136.2), (33.45, 135.75), (33.7, 135.35), (34.2, 135.1), (34.65, 135.4),
        (34.65, 135.15), (34.65, 134.95), (34.75, 134.6), (34.55, 133.95), (34.4, 133.4), (34.3, 132.45),
        (34.15, 132.2), (33.95, 131.7), (33.95, 130.9), (34.4, 131.4), (34.9, 132.05), (35.55, 133.1),
        (35.55, 134.2), (35.65, 135.2), (35.5, 135.7), (35.65, 136.05), (36.2, 136.15), (36.6, 136.6),
        (37.0, 136.7), (37.5, 137.35), (37.05, 137.1), (36.75, 137.2), (37.0, 137.8), (37.15, 138.25),
        (37.9, 139.05), (38.5, 139.5), (38.9, 139.8), (39.7, 140.05), (39.95, 139.7), (40.5, 139.95),
        (41.2, 140.2),
    ])
    land.add_land("Shikoku", [
        (34.35, 134.05), (34.2, 134.6), (34.05, 134.6), (33.25, 134.15), (33.5, 133.55), (32.75, 133.0),
        (33.2, 132.5), (33.35, 132.0), (33.85, 132.7), (34.05, 133.0), (33.95, 133.3), (34.15, 133.65),
    ])
    land.add_land("Kyushu", [
        (33.9, 130.9), (33.65, 131.7), (33.25, 131.65), (32.95, 131.95), (31.9, 131.45), (31.35, 131.35),
        (31.0, 130.7), (31.2, 130.2), (31.7, 130.2), (32.2, 130.35), (32.8, 130.55), (32.75, 130.35),
        (32.75, 129.85), (33.15, 129.7), (33.35, 129.55), (33.45, 129.95), (33.6, 130.35), (33.85, 130.5),
    ])
    land.add_land("Sado", [(38.3, 138.5), (38.0, 138.6), (37.8, 138.25), (38.05, 138.2)])
    land.add_land("Tsushima", [(34.7, 129.45), (34.35, 129.4), (34.1, 129.25), (34.45, 129.2)])
    land.add_land("Korea", [
        (39.8, 124.3), (39.0, 125.1), (38.7, 125.2), (38.0, 124.7), (37.7, 126.1), (37.45, 126.6),
        (36.9, 126.3), (36.75, 126.1), (36.0, 126.6), (35.1, 126.3), (34.3, 126.5), (34.6, 127.6),
        (34.9, 128.5), (35.1, 129.05), (35.5, 129.4), (36.0, 129.55), (37.0, 129.4), (37.75, 128.9),
        (38.6, 128.35), (39.15, 127.45), (39.85, 127.6), (40.6, 129.2), (41.8, 129.8), (42.3, 130.65),
        (42.5, 130.2), (42.9, 129.7), (42.4, 128.9), (41.9, 128.0), (41.6, 126.9), (41.0, 126.0),
        (40.4, 124.9),
    ])
    land.add_land("Jeju", [(33.55, 126.5), (33.45, 126.95), (33.25, 126.6), (33.3, 126.2)])
    land.add_land("The Asian mainland", [
        (38.8, 121.2), (39.6, 122.6), (40.0, 123.9), (40.75, 124.7), (41.35, 125.8), (41.95, 126.85),
        (42.25, 128.0), (42.8, 128.9), (43.3, 129.7), (42.75, 130.9), (43.1, 131.9), (42.9, 133.0),
        (43.4, 135.1), (44.6, 136.4), (45.8, 137.8), (47.5, 139.3), (52.0, 141.5), (52.0, 115.0),
        (30.0, 115.0), (31.0, 121.9), (32.3, 121.4), (34.7, 119.4), (36.05, 120.4), (37.4, 122.7),
        (37.55, 121.4), (37.7, 119.2), (39.0, 117.7), (40.8, 121.1), (40.65, 122.2), (39.6, 121.5),
    ])
    return land, "japanOutline", ["The islands of Japan and the Korean peninsula, drawn by hand round the labels of the Japan",
                                  "map."]


PANEL_PREF = (954, 632)

if __name__ == "__main__":
    run(build(), "geomap_japan.py", COMMENT, route_count=16, preferred_panel=PANEL_PREF,
        outline=outline)
