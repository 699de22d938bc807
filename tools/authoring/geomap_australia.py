#!/usr/bin/env python3
"""Authoring script for the built-in map Australia (state/BuiltinMapAustralia.cpp).

Fifty-three territories in ten continents: the states and territories of Australia split
into their regions, Tasmania, and New Zealand across the Tasman Sea. Every label stands on a
real place of its region.

    python3 tools/authoring/geomap_australia.py tools/artgen/AustraliaOutline.cpp \
        > state/BuiltinMapAustralia.cpp
"""

from authoring_lib import Outline
from geomap_lib import Map, run

# code, name, latitude, longitude
CONTINENTS = [
    ("North_West", "North West", [
        ("kim", "Kimberley", -17.2, 125.8),
        ("gsd", "Great Sandy Desert", -21.0, 123.5),
        ("pil", "Pilbara", -22.3, 118.5),
        ("gas", "Gascoyne", -24.9, 115.6),
    ]),
    ("Western_Australia", "Western Australia", [
        ("mid", "Mid West", -28.3, 116.6),
        ("gol", "Goldfields", -29.0, 123.0),
        ("whe", "Wheatbelt", -31.0, 118.0),
        ("per", "Perth", -31.9, 116.15),
        ("sow", "South West", -33.9, 116.3),
        ("grs", "Great Southern", -34.2, 118.6),
    ]),
    ("Northern_Territory", "Northern Territory", [
        ("dar", "Darwin", -12.8, 131.0),
        ("arn", "Arnhem Land", -12.9, 134.8),
        ("kat", "Katherine", -15.6, 132.0),
        ("bar", "Barkly", -19.2, 135.5),
        ("ali", "Alice Springs", -23.2, 132.5),
    ]),
    ("South_Australia", "South Australia", [
        ("ade", "Adelaide", -34.6, 139.1),
        ("eyr", "Eyre Peninsula", -33.2, 135.6),
        ("nul", "Nullarbor", -31.0, 130.5),
        ("out", "Outback", -28.5, 135.5),
        ("fli", "Flinders Ranges", -31.3, 138.8),
        ("lim", "Limestone Coast", -37.0, 140.6),
    ]),
    ("North_Queensland", "North Queensland", [
        ("cyk", "Cape York", -14.0, 142.8),
        ("cai", "Cairns", -17.2, 145.3),
        ("gul", "Gulf Country", -18.3, 140.3),
        ("isa", "Mount Isa", -20.9, 139.7),
        ("tow", "Townsville", -20.0, 146.2),
        ("mac", "Mackay", -21.9, 148.5),
    ]),
    ("South_Queensland", "South Queensland", [
        ("lon", "Longreach", -23.7, 144.0),
        ("roc", "Rockhampton", -24.0, 150.0),
        ("chv", "Charleville", -26.7, 145.8),
        ("ddo", "Darling Downs", -27.6, 150.6),
        ("bri", "Brisbane", -27.3, 152.7),
    ]),
    ("New_South_Wales", "New South Wales", [
        ("syd", "Sydney", -33.8, 150.7),
        ("hun", "Hunter", -32.2, 151.0),
        ("nco", "North Coast", -29.8, 152.2),
        ("fwe", "Far West", -31.5, 142.8),
        ("orn", "Orana", -31.5, 147.8),
        ("riv", "Riverina", -34.6, 146.3),
        ("cbr", "Canberra", -35.7, 149.1),
    ]),
    ("Victoria", "Victoria", [
        ("mel", "Melbourne", -37.8, 145.0),
        ("gip", "Gippsland", -37.65, 147.2),
        ("wvi", "Western Victoria", -37.4, 142.5),
        ("mal", "Mallee", -35.3, 142.4),
        ("hum", "Hume", -36.2, 146.3),
    ]),
    ("Tasmania", "Tasmania", [
        ("lau", "Launceston", -41.35, 147.5),
        ("wco", "West Coast", -41.75, 145.4),
        ("hob", "Hobart", -42.8, 146.95),
    ]),
    ("New_Zealand", "New Zealand", [
        ("auk", "Auckland", -37.2, 175.15),
        ("wai", "Waikato", -38.6, 176.2),
        ("wel", "Wellington", -40.5, 175.7),
        ("nel", "Nelson", -41.6, 172.8),
        ("cnt", "Canterbury", -43.6, 171.6),
        ("ota", "Otago", -45.5, 169.5),
    ]),
]

LINKS = """
kim-gsd kim-kat gsd-pil gsd-gol gsd-ali pil-gas pil-mid gas-mid
mid-gol mid-whe mid-per gol-whe gol-grs gol-nul gol-ali whe-per whe-sow whe-grs per-sow sow-grs
dar-arn dar-kat arn-kat kat-bar kat-ali bar-ali bar-gul bar-isa ali-out arn-cyk
eyr-fli eyr-nul eyr-out ade-eyr ade-fli ade-lim ade-mal fli-out nul-out out-chv fli-fwe lim-wvi
cyk-cai cyk-gul cai-gul cai-tow gul-isa gul-tow isa-tow isa-lon tow-mac tow-lon mac-lon mac-roc
lon-roc lon-chv roc-chv roc-ddo chv-ddo ddo-bri roc-bri chv-orn chv-fwe ddo-nco ddo-orn bri-nco
syd-hun syd-cbr syd-orn hun-nco hun-orn nco-orn orn-fwe orn-riv orn-cbr riv-cbr riv-fwe riv-mal
riv-hum cbr-gip
mel-gip mel-hum mel-wvi wvi-mal hum-gip hum-mal mel-lau
lau-wco lau-hob wco-hob
auk-wai wai-wel wel-nel nel-cnt cnt-ota syd-auk hob-ota
"""
SEA = "ade-eyr arn-cyk mel-lau wel-nel syd-auk hob-ota"

COMMENT = [
    "Australia: fifty-three territories in ten continents, the states of Australia and their",
    "regions, Tasmania and New Zealand, named after the real regions; labels stand where the",
    "real regions lie, with the sea links of Spencer Gulf, the Gulf of Carpentaria, Bass",
    "Strait, Cook Strait and the Tasman Sea.",
]


def build():
    places = {code: (code, name, lat, lon) for _, _, members in CONTINENTS for code, name, lat, lon in members}
    continents = [(text, shown, [m[0] for m in members]) for text, shown, members in CONTINENTS]
    return Map(symbol="Australia", flag="MapAustralia", save_name="Australia",
               text_name="Australia", title="Australia",
               continents=continents, places=places, links=LINKS, sea_links=SEA.split(),
               centre=(-29.0, 145.0), territory_range=(52, 55), min_continents=7)


def outline(m):
    """The coasts of Australia, Tasmania and New Zealand by hand, in latitude and longitude."""
    land = Outline(m.to_picture)
    land.add_land("Australia", [
        (-21.8, 114.1), (-21.6, 115.1), (-20.6, 116.7), (-20.3, 118.6), (-19.6, 121.0), (-18.0, 122.2),
        (-16.5, 122.9), (-17.2, 123.6), (-15.9, 124.4), (-14.5, 125.8), (-13.8, 126.9), (-15.0, 128.2),
        (-14.9, 129.6), (-13.5, 129.9), (-12.4, 130.8), (-11.3, 132.2), (-12.0, 133.5), (-12.0, 135.0),
        (-12.2, 136.8), (-13.5, 135.9), (-14.8, 135.5), (-16.0, 136.9), (-16.6, 137.8), (-17.5, 140.8),
        (-16.5, 141.4), (-12.6, 141.85), (-10.7, 142.5), (-12.5, 143.3), (-14.2, 144.5), (-15.5, 145.3),
        (-16.9, 145.8), (-18.3, 146.0), (-19.25, 146.8), (-20.0, 148.2), (-21.1, 149.2), (-22.4, 150.5),
        (-23.4, 150.8), (-23.85, 151.3), (-24.85, 152.35), (-25.0, 153.2), (-26.6, 153.1), (-27.4, 153.4),
        (-28.1, 153.45), (-28.6, 153.6), (-30.3, 153.15), (-31.4, 152.9), (-32.9, 151.8), (-33.85, 151.3),
        (-34.4, 150.9), (-35.1, 150.75), (-35.7, 150.2), (-37.05, 149.9), (-37.5, 149.95), (-37.8, 148.5),
        (-37.9, 148.0), (-39.1, 146.4), (-38.5, 145.5), (-38.3, 144.7), (-38.85, 143.5), (-38.4, 142.5),
        (-38.35, 141.6), (-37.2, 139.75), (-36.2, 139.6), (-35.6, 138.9), (-35.6, 138.2), (-34.9, 138.5),
        (-34.3, 138.3), (-35.2, 137.5), (-35.2, 136.9), (-34.0, 137.5), (-32.5, 137.8), (-33.0, 137.6),
        (-34.0, 136.5), (-34.7, 135.85), (-33.7, 134.9), (-32.8, 134.2), (-32.1, 133.7), (-31.5, 131.2),
        (-31.7, 128.9), (-32.3, 126.5), (-33.8, 123.5), (-33.9, 121.9), (-34.4, 119.5), (-35.05, 117.9),
        (-34.9, 116.0), (-34.35, 115.15), (-33.55, 115.0), (-33.3, 115.65), (-32.5, 115.7),
        (-31.95, 115.75), (-31.0, 115.3), (-30.3, 115.0), (-28.8, 114.6), (-27.7, 114.15),
        (-26.15, 113.15), (-24.9, 113.65), (-23.0, 113.8),
    ])
    land.add_land("Tasmania", [
        (-40.7, 144.7), (-40.75, 145.3), (-41.15, 146.35), (-41.05, 146.8), (-40.85, 148.0),
        (-41.0, 148.35), (-41.3, 148.3), (-42.2, 148.3), (-43.0, 147.95), (-43.0, 147.4),
        (-43.65, 146.8), (-43.3, 145.9), (-42.2, 145.2), (-41.4, 144.7),
    ])
    land.add_land("The North Island", [
        (-34.4, 172.7), (-35.2, 174.2), (-36.8, 174.8), (-37.0, 175.9), (-37.7, 176.2), (-37.9, 177.5),
        (-37.7, 178.55), (-38.7, 178.0), (-39.1, 177.9), (-39.5, 176.9), (-40.5, 176.6), (-41.6, 175.3),
        (-41.3, 174.8), (-40.9, 175.0), (-39.9, 175.0), (-39.3, 173.8), (-39.05, 174.1), (-38.1, 174.8),
        (-37.0, 174.5), (-36.4, 174.1), (-35.5, 173.4),
    ])
    land.add_land("The South Island", [
        (-40.5, 172.7), (-41.25, 173.3), (-40.8, 174.0), (-41.5, 174.1), (-42.4, 173.7), (-43.75, 173.1),
        (-43.5, 172.7), (-44.4, 171.3), (-45.1, 171.0), (-45.9, 170.6), (-46.45, 169.8), (-46.6, 168.35),
        (-46.1, 166.5), (-44.6, 167.9), (-43.9, 169.0), (-42.7, 170.95), (-41.75, 171.6), (-40.8, 172.2),
    ])
    return land, "australiaOutline", ["The land of Australia, Tasmania and New Zealand, drawn by hand round the labels of the",
                                      "Australia map."]


PANEL_PREF = (954, 0)

if __name__ == "__main__":
    run(build(), "geomap_australia.py", COMMENT, route_count=16, preferred_panel=PANEL_PREF,
        outline=outline)
