"""Scandinavia: Norway, Sweden, Finland, Denmark, Iceland with the Faroes, the Baltic states
and Russia's north-west, by their real regions. Labels stand at real places inside their
regions; links follow the real borders and the ferries and bridges of the Baltic and the
North Atlantic.

Usage: python3 moremaps_scandinavia.py [map.cpp [outline.cpp]]   (prints the map source without
an argument; the outline of the land goes to tools/artgen)
"""

from authoring_lib import Outline
from moremaps_lib import BuiltinMap, Projection, check_outline, write_outline

# Longitude -24 to 35 and latitude 53.5 to 71.3: near true shape at 62 degrees north.
project = Projection(-24.0, 35.0, 53.5, 71.3, 15, 939, 15, 617)

scandinavia = BuiltinMap(
    "Scandinavia", "Scandinavia", "MapScandinavia", "Scandinavia", (240, 20), (63, 81), (2, 25),
    ["Scandinavia: Norway, Sweden, Finland, Denmark, Iceland with the Faroes, the Baltic states and",
     "Russia's north-west, by their real regions. Labels stand at real places inside their",
     "regions; links follow the real borders and the ferries and bridges of the Baltic and the",
     "North Atlantic."])
scandinavia.bonus_weights = (0.35, 0.4, -0.3)

# Continent, display name, then (code, name, latitude, longitude) of each member.
CONTINENTS = [
    ("Iceland", "Iceland", [
        ("wfj", "Westfjords", 65.75, -22.6), ("rey", "Reykjavik", 64.2, -21.6), ("sel", "Southern Iceland", 63.95, -19.3),
        ("akr", "Akureyri", 65.6, -18.1), ("egi", "Eastern Iceland", 65.1, -14.6), ("far", "Faroe Islands", 62.05, -6.9)]),
    ("Northern_Norway", "Northern Norway", [
        ("fmk", "Finnmark", 70.1, 25.0), ("tro", "Troms", 69.3, 19.4), ("lof", "Lofoten", 68.3, 14.5),
        ("bod", "Bodo and Salten", 67.2, 15.6), ("hgl", "Helgeland", 65.9, 13.3)]),
    ("Western_Norway", "Western Norway", [
        ("ntr", "Nord-Trondelag", 64.4, 12.2), ("trd", "Trondheim", 63.25, 10.4), ("mor", "More og Romsdal", 62.6, 7.3),
        ("sog", "Sogn og Fjordane", 61.45, 6.6), ("ber", "Bergen", 60.4, 6.0), ("rog", "Rogaland", 59.0, 6.2)]),
    ("Eastern_Norway", "Eastern Norway", [
        ("agd", "Agder", 58.6, 7.8), ("tel", "Telemark", 59.55, 8.6), ("osl", "Oslo", 60.15, 10.8),
        ("ost", "Ostfold and Vestfold", 59.3, 11.5), ("inn", "Hedmark", 61.1, 11.4), ("opp", "Oppland", 61.5, 9.0)]),
    ("Norrland", "Norrland", [
        ("kir", "Kiruna", 67.8, 20.2), ("lul", "Lulea", 65.85, 21.8), ("lyc", "Lycksele", 64.9, 17.0),
        ("ume", "Umea", 64.05, 20.0), ("jam", "Jamtland", 63.1, 14.4), ("vnl", "Vasternorrland", 62.75, 17.4),
        ("gav", "Gavleborg", 61.55, 16.5)]),
    ("Svealand", "Svealand", [
        ("dal", "Dalarna", 60.9, 14.3), ("upp", "Uppsala", 60.1, 17.5), ("sto", "Stockholm", 59.3, 18.1),
        ("var", "Varmland", 59.8, 13.0), ("ore", "Orebro", 59.35, 15.2), ("sod", "Sodermanland", 58.95, 16.7)]),
    ("Gotaland", "Gotaland", [
        ("got", "Gothenburg", 58.1, 12.3), ("ogl", "Ostergotland", 58.4, 15.4), ("smd", "Smaland", 57.35, 14.6),
        ("kal", "Kalmar", 57.1, 16.35), ("gtl", "Gotland", 57.5, 18.5), ("hal", "Halland", 56.95, 13.1),
        ("skn", "Skane", 56.0, 13.8), ("ble", "Blekinge", 56.35, 15.3)]),
    ("Lapland", "Lapland", [
        ("ina", "Inari", 68.9, 27.0), ("lap", "Rovaniemi", 67.0, 25.8), ("oul", "Oulu", 64.95, 26.4),
        ("kai", "Kainuu", 64.3, 28.6)]),
    ("Finland", "Finland", [
        ("vas", "Vaasa", 63.0, 22.3), ("tam", "Tampere", 61.6, 23.7), ("tku", "Turku", 60.6, 22.2),
        ("hki", "Helsinki", 60.42, 25.0), ("jyv", "Jyvaskyla", 62.3, 25.7), ("kuo", "Kuopio", 62.9, 27.6),
        ("kar", "North Karelia", 62.9, 30.2), ("kym", "Kymenlaakso", 60.95, 27.6), ("ala", "Aland", 60.2, 20.0)]),
    ("Denmark", "Denmark", [
        ("aal", "Aalborg", 57.05, 9.9), ("mid", "Central Jutland", 56.2, 9.2), ("syd", "South Jutland", 55.3, 8.85),
        ("fyn", "Funen", 55.3, 10.45), ("sjl", "Zealand", 55.55, 12.0), ("brn", "Bornholm", 55.1, 14.9)]),
    ("Estonia", "Estonia", [
        ("tal", "Tallinn", 59.15, 24.9), ("tar", "Tartu", 58.4, 26.7), ("saa", "Saaremaa", 58.4, 22.5)]),
    ("Latvia", "Latvia", [
        ("rig", "Riga", 56.75, 24.2), ("kur", "Kurzeme", 56.75, 21.7), ("vid", "Vidzeme", 57.35, 26.0),
        ("lat", "Latgale", 56.2, 27.0)]),
    ("Lithuania", "Lithuania", [
        ("vil", "Vilnius", 54.65, 25.5), ("kau", "Kaunas", 54.95, 23.9), ("kla", "Klaipeda", 55.7, 21.8),
        ("sia", "Siauliai", 55.95, 23.5), ("kgd", "Kaliningrad", 54.7, 21.0)]),
    ("Russian_North", "Russian North", [
        ("spb", "St Petersburg", 59.8, 31.2), ("rka", "Russian Karelia", 62.9, 33.2), ("kol", "Kola", 68.4, 33.0)]),
]

for name, display, members in CONTINENTS:
    for code, region, lat, lon in members:
        scandinavia.add(code, region, *project(lat, lon))
    scandinavia.continent(name, display, [code for code, _, _, _ in members])

# Land borders and bridges ('-'), ferries and crossings of the sea ('~').
scandinavia.link_text("""
    wfj-rey wfj-akr rey-sel rey-akr akr-egi sel-egi far~egi far~ber
    fmk-tro fmk-ina fmk-kol tro-lof tro-kir tro-ina lof-bod bod-hgl bod-kir hgl-lyc hgl-ntr
    ntr-trd ntr-jam trd-mor trd-inn trd-jam trd-opp mor-sog mor-opp sog-ber sog-opp ber-rog
    ber-tel rog-agd rog-tel
    agd-tel tel-osl tel-ost tel-opp osl-ost osl-inn osl-opp inn-opp inn-var inn-dal inn-jam
    ost-var ost-got agd~aal
    kir-lul kir-lyc kir-ina lul-lap lul-lyc lul-ume lyc-ume lyc-jam ume-vnl ume~vas jam-vnl
    jam-gav jam-dal vnl-gav gav-dal gav-upp
    dal-var dal-ore dal-upp var-ore var-got ore-upp ore-sod ore-ogl ore-got upp-sto upp~ala
    sto-sod sto~ala sod-ogl sto~gtl
    got-hal got-smd got-ogl hal-smd hal-skn ogl-smd ogl-kal smd-kal smd-skn smd-ble kal-ble
    kal~gtl skn-ble skn-sjl skn~brn got~aal gtl~kur ble~kla
    ina-lap lap-oul lap-kai lap-kol ina-kol oul-kai oul-vas oul-jyv kai-kuo kai-kar kai-rka
    vas-tam vas-jyv vas-tku tam-tku tam-hki tam-jyv tku-hki tku~ala hki-kym hki-jyv jyv-kuo
    kuo-kar kuo-kym kar-rka kym-spb kym-rka hki~tal
    tal-tar tal~saa tar-vid tar-spb saa~kur
    rig-kur rig-vid rig-sia rig-lat kur-kla kur-sia vid-lat lat-vil
    vil-kau vil-sia kau-sia kau-kla kau-kgd kla-kgd sia-kla
    spb-rka rka-kol kol-lap
    aal-mid mid-syd syd-fyn fyn-sjl sjl~brn
""")

# The coasts, as (latitude, longitude). The great land runs from Norway round the North Cape,
# down the map's eastern edge, west along its southern edge to the North Sea, round Jutland
# and along the southern shore of the Baltic, and back round Finland and Sweden.
coast = Outline(project)
coast.add_land("Fennoscandia, the Baltic shore and Jutland", [
    (58.0, 7.05), (58.95, 5.6), (59.6, 5.2), (60.4, 5.0), (61.0, 4.9), (62.2, 5.1), (62.5, 6.0), (63.1, 7.7),
    (63.6, 8.6), (63.9, 9.7), (64.5, 10.5), (64.9, 11.2), (65.5, 12.0), (66.0, 12.4), (66.7, 13.2),
    (67.3, 14.2), (67.9, 12.9), (68.25, 13.6), (68.6, 14.8), (69.2, 15.8), (69.0, 16.6), (69.3, 17.0),
    (69.7, 18.9), (70.0, 19.8), (70.2, 21.5), (70.7, 23.7), (71.1, 25.8), (70.9, 27.5), (70.5, 29.0),
    (70.1, 31.0), (69.7, 30.4), (69.5, 31.5), (69.2, 33.5), (69.0, 35.5), (67.0, 35.5), (66.6, 34.5),
    (67.1, 32.5), (66.3, 33.5), (65.0, 34.7), (64.5, 35.5), (53.0, 35.5), (53.0, 7.0), (53.45, 7.0),
    (53.55, 8.1), (53.9, 8.7), (54.3, 8.6), (54.9, 8.3), (55.5, 8.1), (56.0, 8.1), (56.7, 8.2), (57.1, 8.6),
    (57.6, 9.95), (57.75, 10.6), (57.4, 10.5), (56.7, 10.3), (56.4, 10.9), (56.1, 10.3), (55.7, 9.7),
    (55.2, 9.6), (54.8, 9.8), (54.4, 10.2), (54.1, 10.9), (54.2, 12.1), (54.6, 13.4), (54.1, 13.9),
    (54.2, 16.0), (54.8, 18.4), (54.4, 18.7), (54.45, 19.6), (54.65, 19.9), (54.95, 20.2), (55.3, 21.0),
    (55.7, 21.1), (56.5, 21.0), (57.4, 21.5), (57.75, 22.6), (57.0, 24.1), (58.4, 24.5), (58.9, 23.5),
    (59.45, 24.7), (59.45, 28.0), (59.95, 30.2), (60.7, 28.7), (60.45, 26.9), (60.1, 25.0), (59.85, 23.0),
    (60.2, 21.9), (60.8, 21.4), (61.5, 21.5), (62.3, 21.3), (63.1, 21.6), (63.85, 23.1), (65.0, 25.4),
    (65.8, 24.2), (65.6, 22.1), (64.7, 21.2), (63.8, 20.3), (63.3, 18.7), (62.4, 17.3), (61.7, 17.1),
    (60.7, 17.2), (60.35, 18.45), (59.5, 19.0), (59.1, 18.6), (58.7, 17.0), (57.75, 16.7), (57.2, 16.85),
    (56.65, 16.6), (56.15, 15.6), (56.05, 14.6), (55.4, 13.8), (55.6, 13.0), (56.05, 12.7), (56.67, 12.85),
    (56.9, 12.5), (57.1, 12.25), (57.7, 11.9), (58.95, 11.2), (59.2, 10.9), (59.5, 10.6), (59.9, 10.75),
    (59.5, 10.4), (59.1, 10.2), (59.0, 10.0), (58.1, 8.0)])
coast.add_land("Zealand", [(56.1, 12.3), (55.95, 12.6), (55.6, 12.45), (55.2, 12.4), (55.0, 12.0), (55.2, 11.2),
                           (55.55, 11.0), (55.8, 11.4), (56.05, 11.8)])
coast.add_land("Funen", [(55.6, 10.45), (55.45, 11.0), (55.05, 11.0), (55.0, 10.2), (55.3, 9.85), (55.55, 9.9)])
coast.add_land("Bornholm", [(55.4, 14.5), (55.35, 15.35), (54.85, 15.35), (54.8, 14.45)])
coast.add_land("Gotland", [(57.95, 19.2), (57.55, 18.95), (57.15, 18.65), (56.9, 18.15), (57.3, 17.95), (57.65, 18.05)])
coast.add_land("Aland", [(60.5, 19.45), (60.45, 20.6), (59.9, 20.6), (59.9, 19.45)])
coast.add_land("Saaremaa", [(58.75, 21.9), (58.65, 23.4), (58.15, 23.0), (57.9, 22.0), (58.3, 21.7)])
coast.add_land("Iceland", [
    (66.45, -23.0), (66.2, -21.8), (65.7, -21.3), (66.1, -20.2), (66.15, -18.5), (66.5, -16.3), (66.3, -14.9),
    (65.7, -14.0), (65.3, -13.6), (64.6, -14.4), (64.3, -15.5), (63.8, -17.0), (63.4, -18.8), (63.5, -20.4),
    (63.8, -22.6), (64.15, -21.9), (64.4, -22.2), (64.8, -24.0), (65.1, -22.3), (65.4, -23.9), (65.6, -24.5),
    (66.1, -23.6)])
coast.add_land("Faroe Islands", [(62.45, -7.5), (62.4, -6.2), (62.0, -6.4), (61.4, -6.6), (61.45, -7.1), (62.0, -7.7)])

if __name__ == "__main__":
    check_outline(coast, scandinavia)
    scandinavia.finish("moremaps_scandinavia.py", max_link=190, routes=18)
    write_outline(coast, "scandinaviaOutline", "moremaps_scandinavia.py",
                   ["The land of the Scandinavia map, drawn by hand round its labels."])
