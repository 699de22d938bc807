"""Swamp: six large islands of swampland in a ring round a still lagoon, each island two
continents. Straits join every island to the two beside it.

Usage: python3 moremaps_swamp.py [output.cpp]   (prints the source without an argument)
"""

import math

from moremaps_lib import BuiltinMap, delaunay, relax, spread_points

# Each island: label area (centre, half axes), its two continents with the direction that
# splits them, and the seed of its layout.
ISLANDS = [
    ((131, 136), (94, 100), ("Heronmere", "Willowfen"), 60, 11),
    ((477, 118), (94, 82), ("Reedwater", "Lilypool"), 0, 12),
    ((823, 136), (94, 100), ("Misthollow", "Cypress_Deep"), 120, 13),
    ((131, 496), (94, 100), ("Peatmoss", "Frogmarsh"), 120, 14),
    ((477, 514), (94, 82), ("Sedgebank", "Blackwater"), 0, 15),
    ((823, 496), (94, 100), ("Alderbog", "Glowmarsh"), 60, 16),
]
PER_ISLAND = 18
GAP = 34
# Islands beside each other round the lagoon; two straits each.
STRAITS = [(0, 1), (1, 2), (2, 5), (5, 4), (4, 3), (3, 0)]

swamp = BuiltinMap(
    "Swamp", "Swamp", "MapSwamp", "Swamp", (392, 241), (106, 109), (10, 14),
    ["Swamp: six large islands of swampland in a ring round a still lagoon, where the player panel",
     "floats. Each island is two continents; straits join every island to the two beside it."])


def island_points(centre, axes, seed):
    (cx, cy), (rx, ry) = centre, axes
    # A wavy rim, so that no island is a plain oval.
    rim = lambda a: 1.0 + 0.13 * math.sin(2 * a + seed) + 0.09 * math.sin(3 * a + 2 * seed)

    def inside(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        return math.hypot(u, v) <= rim(math.atan2(v, u))
    pts = spread_points(inside, (cx - 1.25 * rx, cy - 1.25 * ry, cx + 1.25 * rx, cy + 1.25 * ry), PER_ISLAND, GAP, seed)
    return relax(pts, inside, 30, GAP)


swamp.bonus_weights = (0.3, 0.2, 0.0)
numbers = []
for centre, axes, (north, south), angle, seed in ISLANDS:
    pts = island_points(centre, axes, seed)
    # The split: the half of the island on one side of a line through its centre.
    dx, dy = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    order = sorted(range(PER_ISLAND), key=lambda i: ((pts[i][0] - centre[0]) * dx + (pts[i][1] - centre[1]) * dy, i))
    halves = (order[:PER_ISLAND // 2], order[PER_ISLAND // 2:])
    local = {}
    for name, half in zip((north, south), halves):
        prefix = name[:2].lower()
        # Numbered along the half, north-west first, so neighbours have near numbers.
        for k, i in enumerate(sorted(half, key=lambda i: (pts[i][1] + pts[i][0] * 0.5, i))):
            local[i] = swamp.add(prefix + "abcdefghi"[k], f"{name} {k + 1}", *pts[i])
        swamp.continent(name, name.replace("_", " "), sorted(local[i] for i in half))
    for a, b in delaunay(pts):
        if math.dist(pts[a], pts[b]) <= 1.75 * GAP + 8:
            swamp.link(local[a], local[b])
    numbers.append([local[i] for i in range(PER_ISLAND)])

# Straits: the two nearest pairs of labels across each channel, not sharing an end.
for a, b in STRAITS:
    candidates = sorted(((math.dist(swamp.pos[s], swamp.pos[t]), s, t) for s in numbers[a] for t in numbers[b]))
    used = set()
    made = 0
    for d, s, t in candidates:
        # Shorter links would be drawn as land bridges between the islands.
        if s in used or t in used or d < 156:
            continue
        # The second strait leaves from another stretch of coast.
        if made and any(math.dist(swamp.pos[s], swamp.pos[u]) < 60 for u in used):
            continue
        swamp.link(s, t, sea=True)
        used |= {s, t}
        made += 1
        if made == 2:
            break

if __name__ == "__main__":
    swamp.finish("moremaps_swamp.py", max_link=75, routes=18)
