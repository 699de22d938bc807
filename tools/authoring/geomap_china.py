#!/usr/bin/env python3
"""Authoring script for the built-in map China (state/BuiltinMapChina.cpp).

Forty-eight territories in eight continents: the provinces of China, the small ones joined to
their neighbours and the vast western ones split into their prefectures. Every label stands on
a real place of its region.

    python3 tools/authoring/geomap_china.py tools/artgen/ChinaOutline.cpp > state/BuiltinMapChina.cpp
"""

from authoring_lib import Outline
from geomap_lib import Map, run

# code, name, latitude, longitude
CONTINENTS = [
    ("Northeast", "Northeast", [
        ("hei", "Heilongjiang", 47.5, 128.0),
        ("jil", "Jilin", 43.6, 126.3),
        ("lia", "Liaoning", 41.3, 122.6),
        ("hul", "Hulunbuir", 49.5, 120.5),
        ("xil", "Xilingol", 43.9, 116.0),
    ]),
    ("North_China", "North China", [
        ("bei", "Beijing", 40.4, 116.4),
        ("heb", "Hebei", 38.3, 115.3),
        ("shx", "Shanxi", 37.6, 112.3),
        ("shd", "Shandong", 36.3, 118.2),
        ("hen", "Henan", 33.9, 113.6),
        ("inm", "Inner Mongolia", 41.3, 110.5),
    ]),
    ("East_China", "East China", [
        ("jsu", "Jiangsu", 33.2, 119.5),
        ("sgh", "Shanghai", 31.2, 121.3),
        ("zhe", "Zhejiang", 29.2, 120.1),
        ("anh", "Anhui", 31.8, 117.0),
        ("jxi", "Jiangxi", 27.6, 115.7),
        ("fuj", "Fujian", 26.1, 118.0),
        ("tai", "Taiwan", 23.7, 121.0),
    ]),
    ("South_China", "South China", [
        ("hub", "Hubei", 31.0, 112.3),
        ("hun", "Hunan", 27.6, 111.7),
        ("gdo", "Guangdong", 23.5, 113.4),
        ("gxi", "Guangxi", 23.8, 108.8),
        ("hai", "Hainan", 19.2, 109.7),
    ]),
    ("Southwest", "Southwest", [
        ("sic", "Sichuan", 30.4, 104.2),
        ("cho", "Chongqing", 30.0, 107.6),
        ("gui", "Guizhou", 26.8, 106.8),
        ("yun", "Yunnan", 24.8, 101.5),
        ("wsi", "Western Sichuan", 31.0, 100.5),
    ]),
    ("Tibet", "Tibet", [
        ("lha", "Lhasa", 29.8, 91.0),
        ("shi", "Shigatse", 29.3, 86.5),
        ("nga", "Ngari", 32.5, 81.0),
        ("nag", "Nagqu", 32.6, 89.0),
        ("cha", "Chamdo", 31.1, 97.2),
    ]),
    ("Northwest", "Northwest", [
        ("shn", "Shaanxi", 35.2, 108.9),
        ("nin", "Ningxia", 37.3, 106.2),
        ("gan", "Gansu", 35.8, 104.0),
        ("hex", "Hexi Corridor", 39.5, 98.5),
        ("qin", "Qinghai", 35.5, 100.0),
        ("qai", "Qaidam", 37.3, 94.5),
        ("alx", "Alxa", 40.5, 103.5),
    ]),
    ("Xinjiang", "Xinjiang", [
        ("uru", "Urumqi", 43.8, 87.6),
        ("kas", "Kashgar", 39.5, 76.0),
        ("hot", "Hotan", 37.1, 80.0),
        ("ili", "Ili", 43.9, 81.3),
        ("alt", "Altay", 47.8, 88.1),
        ("ham", "Hami", 42.8, 93.5),
        ("aks", "Aksu", 41.2, 80.3),
        ("bay", "Bayingolin", 39.5, 88.0),
    ]),
]

LINKS = """
hei-jil hei-hul jil-lia jil-hul jil-xil lia-xil hul-xil lia-heb xil-heb xil-inm lia-shd
bei-heb heb-shx heb-shd heb-hen heb-inm shx-inm shx-hen shx-shn shd-hen shd-jsu shd-anh hen-anh
hen-hub hen-shn hen-jsu inm-nin inm-shn inm-alx
jsu-sgh jsu-anh jsu-zhe sgh-zhe zhe-anh zhe-jxi zhe-fuj anh-jxi anh-hub jxi-fuj jxi-hub jxi-hun
jxi-gdo fuj-gdo fuj-tai
hub-hun hub-cho hub-shn hun-gdo hun-gxi hun-gui hun-cho gdo-gxi gdo-hai gxi-gui gxi-yun
sic-cho sic-gui sic-yun sic-wsi sic-gan sic-shn wsi-qin wsi-cha wsi-yun cho-gui cho-shn gui-yun
yun-cha
lha-shi lha-nag lha-cha shi-nga shi-nag nga-nag nga-hot nag-qai nag-cha cha-qin nag-bay
shn-nin shn-gan nin-gan nin-alx gan-qin gan-hex gan-alx hex-alx hex-qin hex-qai hex-ham hex-bay
qin-qai qai-bay
uru-ili uru-alt uru-ham uru-bay ili-alt ili-aks aks-kas aks-hot aks-bay kas-hot hot-bay ham-bay
"""
SEA = "lia-shd fuj-tai gdo-hai"

COMMENT = [
    "China: forty-eight territories in eight continents named after the real regions of China;",
    "labels stand where the real regions lie, with the sea links across the Bohai Strait, the",
    "Taiwan Strait and the Qiongzhou Strait.",
]


def build():
    places = {code: (code, name, lat, lon) for _, _, members in CONTINENTS for code, name, lat, lon in members}
    continents = [(text, shown, [m[0] for m in members]) for text, shown, members in CONTINENTS]
    return Map(symbol="China", flag="MapChina", save_name="China",
               text_name="China", title="China",
               continents=continents, places=places, links=LINKS, sea_links=SEA.split(),
               centre=(35.0, 104.0), territory_range=(43, 50), min_continents=7)


def outline(m):
    """China's coasts and borders by hand, in latitude and longitude, with Taiwan and Hainan;
    the lands beyond the borders are left out."""
    land = Outline(m.to_picture)
    land.add_land("China from the Amur round the coast, the southern borders, the Himalaya, the "
                  "Pamirs, the Tian Shan, the Altai and the Mongolian border", [
        (53.5, 122.3), (53.3, 125.5), (52.0, 126.5), (50.25, 127.5), (49.0, 129.5), (48.4, 130.7),
        (47.7, 132.5), (48.4, 134.7), (47.3, 134.5), (46.0, 133.8), (45.0, 133.1), (45.0, 132.0),
        (44.0, 131.2), (42.9, 130.9), (42.5, 130.5), (42.0, 128.3), (41.4, 126.5), (40.1, 124.4),
        (39.6, 123.2), (38.8, 121.2), (40.0, 121.8), (40.65, 122.2), (40.8, 121.1), (39.9, 119.6),
        (39.0, 117.7), (38.3, 117.8), (37.7, 119.2), (37.2, 119.9), (37.8, 120.75), (37.55, 121.4),
        (37.4, 122.7), (36.05, 120.4), (35.4, 119.5), (34.7, 119.4), (33.5, 120.6), (32.3, 121.4),
        (31.6, 121.9), (31.0, 121.95), (30.3, 121.0), (29.9, 122.1), (28.6, 121.5), (28.0, 120.8),
        (26.0, 119.6), (24.9, 118.7), (24.45, 118.1), (23.35, 116.7), (22.8, 115.4), (22.3, 114.2),
        (22.1, 113.5), (21.7, 112.4), (21.5, 111.2), (20.25, 110.2), (21.4, 109.8), (21.5, 109.1),
        (21.6, 108.2), (21.55, 107.95), (22.4, 106.7), (23.2, 105.5), (22.5, 103.9), (22.8, 102.4),
        (21.2, 101.1), (21.6, 100.0), (22.2, 99.3), (23.1, 98.9), (24.1, 97.7), (25.3, 98.5),
        (26.5, 98.7), (28.3, 98.0), (28.2, 97.3), (27.8, 96.0), (29.0, 94.8), (27.9, 92.0),
        (28.0, 90.5), (28.0, 88.8), (28.3, 86.0), (29.0, 84.0), (30.2, 81.3), (32.5, 79.0),
        (35.5, 78.0), (35.8, 76.5), (36.9, 75.5), (37.3, 74.9), (38.6, 73.8), (39.5, 73.7),
        (40.4, 74.9), (41.0, 77.0), (42.3, 80.2), (43.0, 80.8), (44.9, 80.1), (45.2, 82.5),
        (46.8, 83.0), (47.2, 85.5), (48.5, 87.0), (49.2, 87.3), (48.0, 89.0), (46.5, 91.0),
        (45.2, 93.5), (44.9, 95.5), (42.7, 96.4), (42.7, 100.8), (42.4, 105.0), (41.9, 107.0),
        (42.5, 109.5), (42.6, 111.8), (43.6, 112.0), (44.8, 114.5), (45.6, 116.6), (46.7, 119.8),
        (47.7, 119.7), (47.9, 118.5), (49.6, 117.4), (50.3, 119.3), (52.4, 120.4), (53.3, 121.5),
    ])
    land.add_land("Taiwan", [(25.3, 121.5), (24.4, 121.8), (23.5, 121.5), (22.0, 120.8), (22.6, 120.3),
                             (23.5, 120.1), (24.6, 120.7)])
    land.add_land("Hainan", [(20.1, 110.3), (19.6, 111.0), (18.6, 110.5), (18.2, 109.5), (18.7, 108.7),
                             (19.6, 108.9), (20.0, 109.6)])
    return land, "chinaOutline", ["China's land, drawn by hand round the labels of the China map."]


PANEL_PREF = (954, 632)

if __name__ == "__main__":
    run(build(), "geomap_china.py", COMMENT, route_count=16, preferred_panel=PANEL_PREF,
        outline=outline)
