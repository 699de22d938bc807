"""Worms: long winding worms of land lying side by side in six rows, each worm a continent.
A worm is a chain of territories; worms that touch are linked where they come closest.

Usage: python3 moremaps_worms.py [output.cpp]   (prints the source without an argument)
"""

import math

from moremaps_lib import BuiltinMap, expect

ROWS = [60, 163, 266, 369, 472, 575]
SPACING = 44          # between the labels along a worm
AMPLITUDE = 21        # of a worm's windings
CLEAR = 64            # labels of worms that do not touch stay this far apart
# Each worm: name, row, first and last x, number of windings, phase.
WORMS = [
    ("Glowworm", 0, 40, 720, 2.5, 0.0),
    ("Earthworm", 1, 40, 330, 1.5, 1.0),
    ("Silkworm", 1, 400, 720, 1.5, 2.0),
    ("Lugworm", 2, 40, 520, 2.0, 0.5),
    ("Ribbonworm", 2, 590, 914, 1.0, 2.5),
    ("Bristleworm", 3, 40, 300, 1.0, 1.5),
    ("Inchworm", 3, 370, 914, 2.5, 0.2),
    ("Flatworm", 4, 40, 600, 2.5, 3.0),
    ("Bloodworm", 4, 670, 914, 1.0, 0.7),
    ("Tubeworm", 5, 40, 450, 1.5, 1.9),
    ("Fanworm", 5, 520, 914, 2.0, 0.4),
]

worms = BuiltinMap(
    "Worms", "Worms", "MapWorms", "Worms", (772, 14), (110, 199), (2, 25),
    ["Worms: long winding worms of land lying side by side in six rows, each worm a continent. A",
     "worm is a chain of territories; worms that touch are linked where they come closest."])
worms.bonus_weights = (0.25, 0.5, 0.0)


def centre_line(row, x0, x1, windings, phase):
    """Points every pixel along the worm's winding line."""
    y0 = ROWS[row]
    pts = []
    x = x0
    while x <= x1:
        pts.append((x, y0 + AMPLITUDE * math.sin(2 * math.pi * windings * (x - x0) / (x1 - x0) + phase)))
        x += 0.5
    return pts


def even_points(line, count):
    """`count` points spread evenly along a line of many points."""
    lengths = [0.0]
    for a, b in zip(line, line[1:]):
        lengths.append(lengths[-1] + math.dist(a, b))
    out, j = [], 0
    for k in range(count):
        target = lengths[-1] * k / (count - 1)
        while j < len(lengths) - 2 and lengths[j + 1] < target:
            j += 1
        out.append(line[j])
    return out


bodies = []
for name, row, x0, x1, windings, phase in WORMS:
    line = centre_line(row, x0, x1, windings, phase)
    length = sum(math.dist(a, b) for a, b in zip(line, line[1:]))
    count = round(length / SPACING) + 1
    nums = []
    for k, p in enumerate(even_points(line, count)):
        nums.append(worms.add(name[:2].lower() + "abcdefghijklmnopqrst"[k], f"{name} {k + 1}", *p))
    for a, b in zip(nums, nums[1:]):
        worms.link(a, b)
    worms.continent(name, name, nums)
    bodies.append((row, x0, x1, nums))


def touch(a_nums, b_nums, times):
    """Links two worms at their `times` closest spots, well apart from each other."""
    candidates = sorted((math.dist(worms.pos[s], worms.pos[t]), s, t) for s in a_nums for t in b_nums)
    made = []
    for d, s, t in candidates:
        if len(made) == times:
            break
        if all(math.dist(worms.pos[s], worms.pos[u]) > 150 for u, _ in made):
            worms.link(s, t)
            made.append((s, t))


for i, (row, x0, x1, nums) in enumerate(bodies):
    for j, (row2, y0, y1, nums2) in enumerate(bodies):
        if j <= i:
            continue
        overlap = min(x1, y1) - max(x0, y0)
        if row2 == row:
            touch(nums, nums2, 1)               # head to tail in one row
        elif row2 == row + 1 and overlap >= 100:
            touch(nums, nums2, 2 if overlap >= 400 else 1)

# Worms that do not touch keep apart, so their land does not run together.
for a in range(1, worms.count + 1):
    for b in range(a + 1, worms.count + 1):
        linked = (a, b) in worms.links
        home = worms.home()
        if home[a] != home[b] and not linked:
            d = math.dist(worms.pos[a], worms.pos[b])
            expect(d >= CLEAR, f"{worms.codes[a]} and {worms.codes[b]} are {d:.0f} apart")

if __name__ == "__main__":
    worms.finish("moremaps_worms.py", max_link=150, routes=20)
