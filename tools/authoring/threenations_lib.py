"""The three nations of both Three Nations maps (tools/authoring/moremaps_threenations*.py): each
nation's name, the first letter of its territory codes and its three provinces (continents).
Both maps show the same provinces, so the program holds their display names once."""

NATIONS = [
    ("Varn", "v", ("Highlands", "Marches", "Coast")),
    ("Ostry", "o", ("Forest", "Lakes", "Plains")),
    ("Sudal", "s", ("Vineyards", "Dunes", "Hills")),
]

# The program's array of the provinces' display names, written by the first map's source.
CONTINENT_NAMES = "threeNationsContinentNames"
