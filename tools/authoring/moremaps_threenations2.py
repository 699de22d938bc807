"""Three Nations, second map: each of the three nations on an island of its own, three
provinces (continents) each, with straits between the islands.

Usage: python3 moremaps_threenations2.py [output.cpp]   (prints the source without an argument)
"""

import math

from moremaps_lib import (BuiltinMap, add_provinces, clusters, make_whole, near_edges, relax,
                          spread_points, straits)
from threenations_lib import CONTINENT_NAMES, NATIONS

GAP = 50
# Each nation's island: its centre, half axes and number of territories.
ISLANDS = [((214, 165), (155, 135), 22), ((740, 165), (155, 135), 22), ((500, 470), (215, 130), 22)]

nations = BuiltinMap(
    "ThreeNations2", "ThreeNations2", "MapThreeNationsB", "3Nations2", (22, 466), (43, 84), (9, 9),
    ["Three Nations, second map: each of the three nations on an island of its own, three",
     "provinces (continents) each, with straits between the islands."])
nations.builder = "buildThreeNationsMap2"
nations.bonus_weights = (0.3, 0.3, 0.0)
nations.share_names(CONTINENT_NAMES, define=False)

islands = []
for n, ((nation, prefix, names), ((cx, cy), (rx, ry), count)) in enumerate(zip(NATIONS, ISLANDS)):
    rim = lambda a, n=n: 1.0 + 0.1 * math.sin(3 * a + n) + 0.07 * math.sin(4 * a + 2 * n)

    def inside(x, y, cx=cx, cy=cy, rx=rx, ry=ry, rim=rim):
        u, v = (x - cx) / rx, (y - cy) / ry
        return math.hypot(u, v) <= rim(math.atan2(v, u))

    box = (cx - 1.2 * rx, cy - 1.2 * ry, cx + 1.2 * rx, cy + 1.2 * ry)
    points = relax(spread_points(inside, box, count, GAP, 40 + n), inside, 40, GAP)
    edges = near_edges(points, 1.9 * GAP)
    groups = make_whole(clusters(points, 3), edges)
    numbers = add_provinces(nations, points, [(f"{nation}_{name}", g) for name, g in zip(names, groups)], prefix)
    for a, b in edges:
        nations.link(numbers[a], numbers[b])
    islands.append(numbers)

straits(nations, islands[0], islands[1], 2)
straits(nations, islands[0], islands[2], 2)
straits(nations, islands[1], islands[2], 2)

if __name__ == "__main__":
    nations.finish("moremaps_threenations2.py", max_link=1.9 * GAP, routes=14)
