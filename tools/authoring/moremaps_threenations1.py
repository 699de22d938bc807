"""Three Nations, first map: one great land shared by three nations whose borders meet in its
middle; each nation is three provinces (continents).

Usage: python3 moremaps_threenations1.py [output.cpp]   (prints the source without an argument)
"""

import math

from moremaps_lib import BuiltinMap, add_provinces, clusters, make_whole, near_edges, relax, spread_points
from threenations_lib import CONTINENT_NAMES, NATIONS

CENTRE = (450, 300)
COUNT = 78
GAP = 45
SECTORS = [180, 300, 60]  # the middle of each nation's sector, in degrees

nations = BuiltinMap(
    "ThreeNations1", "ThreeNations1", "MapThreeNations", "3Nations1", (778, 470), (43, 84), (9, 9),
    ["Three Nations, first map: one great land shared by three nations whose borders meet in its",
     "middle; each nation is three provinces (continents)."])
nations.builder = "buildThreeNationsMap1"
nations.bonus_weights = (0.3, 0.3, 0.0)
nations.share_names(CONTINENT_NAMES, define=True)


def inside(x, y):
    """The land: a broad island with a wavy coast, clear of the player panel's corner."""
    u, v = (x - CENTRE[0]) / 410, (y - CENTRE[1]) / 265
    a = math.atan2(v, u)
    rim = 1.0 + 0.08 * math.sin(3 * a + 0.7) + 0.06 * math.sin(5 * a + 2.1)
    return math.hypot(u, v) <= rim and not (x > 740 and y > 430)


points = relax(spread_points(inside, (30, 20, 924, 612), COUNT, GAP, 31), inside, 40, GAP)


def sector(p):
    angle = math.degrees(math.atan2(p[1] - CENTRE[1], p[0] - CENTRE[0])) % 360
    return min(range(3), key=lambda n: abs((angle - SECTORS[n] + 180) % 360 - 180))


edges = near_edges(points, 1.9 * GAP)
groups = []
for n in range(3):
    members = [i for i, p in enumerate(points) if sector(p) == n]
    groups += [[members[i] for i in g] for g in clusters([points[i] for i in members], 3)]
groups = make_whole(groups, edges)
numbers = [0] * len(points)
for n, (nation, prefix, names) in enumerate(NATIONS):
    parts = [(f"{nation}_{name}", groups[3 * n + k]) for k, name in enumerate(names)]
    for i, value in enumerate(add_provinces(nations, points, parts, prefix)):
        numbers[i] = value or numbers[i]
for a, b in edges:
    nations.link(numbers[a], numbers[b])

if __name__ == "__main__":
    nations.finish("moremaps_threenations1.py", max_link=1.9 * GAP, routes=14)
