#!/usr/bin/env python3
"""Authoring tool for the SwampII map text (maps/MapTextSwampII.cpp).

The board's adjacency, its continents and seventeen fixed rows are given; the label
positions of the other rows are ours. This script places them, checks every rule the text
must keep, and prints the C++ source:

    python3 tools/authoring/swampii_layout.py > maps/MapTextSwampII.cpp

Placement, with the fixed rows pinned throughout:
  1. every continent starts as a small spiral round a centre that matches its compass name;
  2. stress majorisation spreads the labels so that distances follow the hop counts;
  3. a relaxation (springs, repulsion, pull to the compass centre) evens the spacing while
     the neighbour distance limits are enforced after every step;
  4. simulated annealing, then a grid search, remove crossing links and links that pass
     close by a third label, so that a map picture grown from the links reads cleanly.
Every rule is checked before anything is printed. The run is deterministic (about half a
minute), so the source only changes when this script does. Edit this script, never the
generated file.
"""

import math
import random
import sys

from authoring_lib import (MIN_LABEL_GAP, boxes_apart, continent_line, hop_counts, map_file_lines,
                           map_text_source, passes_near, segments_cross, stress_majorise,
                           territory_line)

# ---------------------------------------------------------------------------------------------
# The board

CONTINENTS = [  # (bonus, name, members), in text order
    (4, "NorthWest1", range(1, 9)),
    (2, "NorthWest2", range(9, 14)),
    (7, "North1", range(14, 24)),
    (2, "NorthEast1", range(24, 30)),
    (3, "NorthEast2", range(30, 37)),
    (6, "East1", range(37, 47)),
    (6, "Center1", range(47, 56)),
    (1, "Center_N", range(56, 60)),
    (4, "Center2", range(60, 66)),
    (5, "Center_NW", range(66, 75)),
    (6, "West1", range(75, 85)),
    (7, "Center_W", list(range(85, 94)) + [200]),
    (6, "Center3", range(94, 104)),
    (7, "East2", range(104, 115)),
    (5, "East3", range(115, 126)),
    (5, "SouthEast", range(126, 136)),
    (2, "Center_SE", range(136, 140)),
    (3, "South3", range(140, 146)),
    (6, "South2", range(146, 156)),
    (7, "South1", range(156, 166)),
    (2, "Center_S", range(166, 171)),
    (4, "Center_SW", range(171, 176)),
    (7, "West2", range(176, 187)),
    (2, "SouthWest1", range(187, 193)),
    (4, "SouthWest2", range(193, 200)),
]

# Continent lines that end in a blank (the map's data has always had them).
CONTINENT_TRAILING_BLANK = {"NorthWest1", "Center2"}

INNER_PAIRS = {
    1: "1-2, 2-3, 3-4, 3-8, 4-5, 4-7, 4-8, 5-6, 6-7, 7-8",
    2: "9-10, 10-11, 11-12, 11-13, 12-13",
    3: "14-15, 15-16, 16-17, 17-18, 18-19, 19-20, 19-21, 21-22, 22-23",
    4: "24-25, 24-26, 25-26, 25-28, 26-27, 27-29, 28-29",
    5: "30-31, 30-32, 32-33, 33-34, 33-36, 34-35, 35-36",
    6: "37-38, 37-43, 37-44, 38-39, 39-40, 40-41, 42-43, 43-44, 44-45, 45-46",
    7: "47-48, 48-49, 48-50, 48-52, 49-50, 50-51, 50-53, 52-53, 53-54, 53-55",
    8: "56-57, 57-58, 58-59",
    9: "60-61, 61-62, 62-63, 63-64, 64-65",
    10: "66-67, 66-69, 67-68, 68-69, 68-73, 69-70, 70-71, 70-72, 73-74",
    11: "75-76, 76-77, 77-78, 77-79, 78-79, 79-80, 79-83, 80-81, 82-83, 82-84, 83-84",
    12: "85-86, 86-87, 86-88, 88-89, 88-91, 89-90, 89-91, 91-92, 92-93, 93-200",
    13: "94-95, 95-96, 95-99, 96-97, 97-98, 99-100, 100-101, 100-102, 101-102, 101-103, 102-103",
    14: "104-105, 104-107, 105-106, 105-107, 106-107, 106-108, 107-113, 107-114, 108-109, "
        "109-110, 110-111, 110-113, 111-112, 113-114",
    15: "115-116, 116-117, 116-119, 116-120, 117-118, 118-119, 118-124, 119-120, 119-122, "
        "119-124, 120-121, 120-122, 121-122, 121-123, 122-123, 122-124, 122-125, 123-125, 124-125",
    16: "126-127, 127-128, 128-129, 128-134, 129-130, 130-131, 131-132, 132-133, 132-134, "
        "132-135, 134-135",
    17: "136-137, 136-138, 136-139, 137-138, 138-139",
    18: "140-141, 140-142, 140-143, 141-142, 142-143, 142-144, 143-144, 143-145, 144-145",
    19: "146-147, 147-148, 148-149, 148-150, 148-153, 148-155, 149-150, 150-151, 151-152, "
        "152-153, 153-154, 153-155, 154-155",
    20: "156-157, 156-161, 157-158, 158-159, 159-160, 159-162, 160-161, 160-162, 160-163, "
        "162-163, 163-164, 164-165",
    21: "166-167, 167-168, 168-169, 169-170",
    22: "171-172, 172-173, 173-174, 174-175",
    23: "176-177, 176-178, 177-178, 177-179, 177-180, 178-179, 178-183, 179-180, 179-182, "
        "180-181, 180-182, 181-182, 181-186, 182-185, 183-184, 184-185, 185-186",
    24: "187-188, 188-189, 189-190, 190-191, 191-192",
    25: "193-194, 193-197, 193-198, 194-195, 195-196, 197-198, 198-199",
}

CROSS_PAIRS = (
    "1-10, 1-131, 5-15, 6-14, 6-15, 8-9, 9-72, 12-72, 12-75, 13-75, 13-78, 14-66, 18-24, "
    "18-158, 20-47, 20-56, 23-59, 27-30, 28-191, 29-30, 31-37, 31-44, 36-46, 38-109, 41-49, "
    "42-49, 46-47, 51-104, 51-105, 55-63, 55-94, 58-60, 59-67, 60-73, 61-85, 64-96, 65-93, "
    "65-171, 74-76, 81-86, 82-87, 84-184, 89-176, 90-183, 93-171, 97-168, 98-146, 101-146, "
    "103-154, 110-115, 111-120, 112-136, 112-137, 114-136, 121-137, 125-129, 125-184, 126-138, "
    "133-144, 135-142, 139-140, 140-154, 143-154, 145-151, 149-158, 156-187, 161-187, 162-166, "
    "164-170, 165-175, 165-196, 169-171, 171-200, 172-177, 174-180, 174-199, 175-194, 175-199, "
    "186-197, 187-196, 192-193, 192-197"
)

# The pairs that wrap round the board: their labels stand at opposite edges.
EDGE_PAIRS = {(1, 131), (18, 158), (28, 191), (125, 184)}

# Rows whose text is fixed word for word (87 lists itself, 88 lists 87 one-sidedly).
FIXED_ROWS = {
    1: "1 xxx 23 25 2 10 131",
    18: "18 xxx 501 34 17 24 19 158",
    28: "28 xxx 730 24 25 29 191",
    33: "33 xxx 626 115 32 34 36 ",
    54: "54 xxx 369 239 53",
    71: "71 xxx 172 154 70",
    82: "82 xxx 87 298 83 84 87",
    87: "87 xxx 141 286 82 86 87",
    88: "88 xxx 193 287 86 87 91 89",
    122: "122 xxx 850 409 119 124 125 123 121 120",
    125: "125 xxx 907 438 124 122 123 129 184",
    131: "131 xxx 897 594 130 132 1",
    158: "158 xxx 424 596 157 159 149 18",
    171: "171 xxx 302 387 65 93 200 172 169",
    184: "184 xxx 36 375 84 185 183 125",
    191: "191 xxx 33 597 190 192 28",
    200: "200 xxx 253 360 93 171",
}

# Territory rows that end in a blank.
ROW_TRAILING_BLANK = {33, 58, 81, 128, 134, 181, 183, 196}

# Where each continent sits, by its compass name, on the 954 x 632 picture.
CONTINENT_CENTRES = {
    "NorthWest1": (85, 75), "NorthWest2": (55, 185), "North1": (330, 70),
    "NorthEast1": (650, 55), "NorthEast2": (680, 140), "East1": (830, 240),
    "Center1": (490, 190), "Center_N": (370, 150), "Center2": (320, 270),
    "Center_NW": (205, 175), "West1": (85, 285), "Center_W": (195, 320),
    "Center3": (470, 345), "East2": (660, 320), "East3": (840, 420),
    "SouthEast": (820, 545), "Center_SE": (710, 440), "South3": (680, 545),
    "South2": (540, 510), "South1": (370, 540), "Center_S": (400, 450),
    "Center_SW": (285, 440), "West2": (110, 420), "SouthWest1": (130, 575),
    "SouthWest2": (195, 500),
}

X_MIN, X_MAX, Y_MIN, Y_MAX = 23, 912, 17, 603
MAX_DX, MAX_DY = 110, 65   # neighbours' labels, apart from the edge pairs
EDGE_MIN_APART = 562       # the edge pairs, horizontally or vertically
CROWDED = 38               # below this the labels push apart hard
SPACING = 34               # what annealing keeps between labels, at the least
HEAT = 0.6                 # annealing's starting temperature
ROOMY = 40                 # labels closer than this count as crowded while annealing
ROOMY_APART = 54           # the same for labels of different continents
NEAR_MISS = 12             # a link passing this close to a third label reads as touching it
MAX_OFF_CENTRE = 110       # a continent's middle from its compass centre, at most
MAX_CONTINENT_RADIUS = 150 # a member from its continent's middle, at most
# The player panel stands in the top right corner; labels keep out of it.
PANEL_LEFT, PANEL_BOTTOM = 800, 140

N_TERRITORIES = 200


def parse_pairs(text):
    pairs = []
    for item in text.split(","):
        a, b = (int(v) for v in item.strip().split("-"))
        pairs.append((a, b))
    return pairs


def build_board():
    home = {}
    for c, (_, _, members) in enumerate(CONTINENTS, start=1):
        for t in members:
            assert t not in home, f"territory {t} in two continents"
            home[t] = c
    assert sorted(home) == list(range(1, N_TERRITORIES + 1))

    pairs = []
    for c, text in INNER_PAIRS.items():
        for a, b in parse_pairs(text):
            assert home[a] == c and home[b] == c, f"inner pair {a}-{b} leaves continent {c}"
            pairs.append((a, b))
    cross = parse_pairs(CROSS_PAIRS)
    for a, b in cross:
        assert home[a] != home[b], f"cross pair {a}-{b} inside one continent"
    pairs += cross
    assert all(a < b for a, b in pairs)
    assert len(set(pairs)) == len(pairs) == 309 and len(cross) == 82
    assert EDGE_PAIRS <= set(pairs)

    adjacent = {t: set() for t in range(1, N_TERRITORIES + 1)}
    for a, b in pairs:
        adjacent[a].add(b)
        adjacent[b].add(a)
    return home, pairs, adjacent


def fixed_row_fields(line):
    words = line.split()
    return int(words[2]), int(words[3]), [int(w) for w in words[4:]]


def neighbour_lists(adjacent):
    """Each row's neighbours as written: fixed rows verbatim, the rest in ascending order."""
    rows = {}
    for t in range(1, N_TERRITORIES + 1):
        if t in FIXED_ROWS:
            rows[t] = fixed_row_fields(FIXED_ROWS[t])[2]
        else:
            rows[t] = sorted(adjacent[t])
    return rows


def check_board(home, adjacent, rows):
    # Fixed rows list exactly their pairs, apart from 87 (itself) and 88 (87 one-sidedly).
    for t in FIXED_ROWS:
        listed = set(rows[t])
        assert len(listed) == len(rows[t]), f"row {t} lists a number twice"
        extra = {87: {87}, 88: {87}}.get(t, set())
        assert listed == adjacent[t] | extra, f"fixed row {t} disagrees with the pairs"

    entries = sum(len(r) for r in rows.values())
    histogram = {}
    for r in rows.values():
        histogram[len(r)] = histogram.get(len(r), 0) + 1
    assert entries == 620, entries
    assert histogram == {1: 2, 2: 47, 3: 95, 4: 42, 5: 13, 6: 1}, histogram

    # Border lists as the parser builds them: members that another continent's row lists.
    expected_borders = {
        1: [1, 5, 6, 8], 2: [9, 10, 12, 13], 3: [14, 15, 18, 20, 23], 4: [24, 27, 28, 29],
        5: [30, 31, 36], 6: [37, 38, 41, 42, 44, 46], 7: [47, 49, 51, 55], 8: [56, 58, 59],
        9: [60, 61, 63, 64, 65], 10: [66, 67, 72, 73, 74], 11: [75, 76, 78, 81, 82, 84],
        12: [85, 86, 87, 89, 90, 93, 200], 13: [94, 96, 97, 98, 101, 103],
        14: [104, 105, 109, 110, 111, 112, 114], 15: [115, 120, 121, 125],
        16: [126, 129, 131, 133, 135], 17: [136, 137, 138, 139], 18: [140, 142, 143, 144, 145],
        19: [146, 149, 151, 154], 20: [156, 158, 161, 162, 164, 165], 21: [166, 168, 169, 170],
        22: [171, 172, 174, 175], 23: [176, 177, 180, 183, 184, 186], 24: [187, 191, 192],
        25: [193, 194, 196, 197, 199],
    }
    total = 0
    for c, (_, _, members) in enumerate(CONTINENTS, start=1):
        borders = [m for m in members
                   if any(m in rows[o] and home[o] != c for o in rows)]
        assert borders == expected_borders[c], (c, borders)
        total += len(borders)
    assert total == 119


def graph_distances(adjacent, source):
    """Hop counts from `source` without crossing an edge pair."""
    return hop_counts(adjacent, source, EDGE_PAIRS)


def check_fixed_points_reachable(adjacent, fixed):
    # Every chain of k neighbours spans at most k * limit, so fixed labels far apart need
    # enough hops between them, or no placement can exist.
    for a in fixed:
        dist = graph_distances(adjacent, a)
        for b in fixed:
            if b in dist and b != a:
                hops = dist[b]
                assert abs(fixed[a][0] - fixed[b][0]) <= MAX_DX * hops, (a, b)
                assert abs(fixed[a][1] - fixed[b][1]) <= MAX_DY * hops, (a, b)


# ---------------------------------------------------------------------------------------------
# Placement

def initial_positions(fixed, rng):
    pos = {}
    for _, name, members in CONTINENTS:
        cx, cy = CONTINENT_CENTRES[name]
        free = [t for t in members if t not in fixed]
        golden = math.pi * (3 - math.sqrt(5))
        for i, t in enumerate(free):
            r = 22 * math.sqrt(i + 0.5)
            a = i * golden + rng.uniform(-0.2, 0.2)
            pos[t] = [cx + r * math.cos(a), cy + r * math.sin(a)]
    for t, (x, y) in fixed.items():
        pos[t] = [float(x), float(y)]
    return pos


def stress_layout(adjacent, fixed, pos, hop_length=46.0, iterations=120):
    """Stress majorisation: labels settle where their distances match the number of hops
    between them, which untangles the board far better than springs alone."""
    territories = sorted(pos)
    hops = {t: graph_distances(adjacent, t) for t in territories}
    free = [t for t in territories if t not in fixed]
    stress_majorise(pos, territories, free, hops, hop_length, iterations)


def enforce_limits(pos, links, fixed, dx_limit, dy_limit):
    for a, b in links:
        for axis, limit in ((0, dx_limit), (1, dy_limit)):
            d = pos[b][axis] - pos[a][axis]
            excess = abs(d) - limit
            if excess <= 0:
                continue
            step = math.copysign(excess, d)
            if a in fixed and b in fixed:
                continue
            if a in fixed:
                pos[b][axis] -= step
            elif b in fixed:
                pos[a][axis] += step
            else:
                pos[a][axis] += step / 2
                pos[b][axis] -= step / 2


def clamp(pos, fixed):
    for t, p in pos.items():
        if t in fixed:
            continue
        p[0] = min(max(p[0], X_MIN + 5), X_MAX - 5)
        p[1] = min(max(p[1], Y_MIN + 5), Y_MAX - 5)
        if p[0] > PANEL_LEFT and p[1] < PANEL_BOTTOM:
            # Out of the panel's corner by the shorter way.
            if p[0] - PANEL_LEFT < PANEL_BOTTOM - p[1]:
                p[0] = PANEL_LEFT
            else:
                p[1] = PANEL_BOTTOM


def relax(home, links, fixed, pos, iterations=600, first_step=6.0):
    """Springs along the links, repulsion between close labels (stronger across continents),
    a pull towards the continent's compass centre; the distance limits are enforced after
    every step."""
    territories = sorted(pos)
    free = [t for t in territories if t not in fixed]
    rest_length = 52.0
    repel_same, repel_other = 58.0, 72.0
    for it in range(iterations):
        progress = it / iterations
        max_step = first_step * (1 - progress) + 0.6
        force = {t: [0.0, 0.0] for t in territories}

        for i, a in enumerate(territories):
            pa = pos[a]
            for b in territories[i + 1:]:
                pb = pos[b]
                dx, dy = pa[0] - pb[0], pa[1] - pb[1]
                if abs(dx) > repel_other or abs(dy) > repel_other:
                    continue
                d = math.hypot(dx, dy) or 0.01
                reach = repel_same if home[a] == home[b] else repel_other
                if d >= reach:
                    continue
                f = 0.5 * (reach - d) / d
                if d < CROWDED:
                    f += 2.0 * (CROWDED - d) / d
                force[a][0] += f * dx
                force[a][1] += f * dy
                force[b][0] -= f * dx
                force[b][1] -= f * dy

        for a, b in links:
            dx, dy = pos[b][0] - pos[a][0], pos[b][1] - pos[a][1]
            d = math.hypot(dx, dy) or 0.01
            if d <= rest_length:
                continue
            f = 0.25 * (d - rest_length) / d
            force[a][0] += f * dx
            force[a][1] += f * dy
            force[b][0] -= f * dx
            force[b][1] -= f * dy

        # Each continent drifts towards its compass centre and keeps together.
        centroid = {}
        for c, (_, name, members) in enumerate(CONTINENTS, start=1):
            xs = [pos[t][0] for t in members]
            ys = [pos[t][1] for t in members]
            centroid[c] = (sum(xs) / len(xs), sum(ys) / len(ys))
        for t in free:
            c = home[t]
            name = CONTINENTS[c - 1][1]
            tx, ty = CONTINENT_CENTRES[name]
            cx, cy = centroid[c]
            force[t][0] += 0.04 * (tx - cx) + 0.03 * (cx - pos[t][0])
            force[t][1] += 0.04 * (ty - cy) + 0.03 * (cy - pos[t][1])

        # Soft walls keep labels off the very edge of the picture.
        for t in free:
            x, y = pos[t]
            force[t][0] += 0.3 * (max(0.0, X_MIN + 20 - x) - max(0.0, x - (X_MAX - 20)))
            force[t][1] += 0.3 * (max(0.0, Y_MIN + 20 - y) - max(0.0, y - (Y_MAX - 20)))

        for t in free:
            fx, fy = force[t]
            size = math.hypot(fx, fy)
            if size > max_step:
                fx, fy = fx * max_step / size, fy * max_step / size
            pos[t][0] += fx
            pos[t][1] += fy

        # The limits are hard: pull neighbours back inside them (with a little room to spare).
        for _ in range(3):
            enforce_limits(pos, links, fixed, MAX_DX - 6, MAX_DY - 5)
            clamp(pos, fixed)


def local_cost(t, where, pos, links, links_of, home):
    """What t standing at `where` costs: crossings and near misses of its links, links of
    others passing close by it, and (a little) the length of its links."""
    cost = 0.0
    for a, b in links_of[t]:
        u = b if a == t else a
        p, q = where, pos[u]
        cost += ((p[0] - q[0]) ** 2 + (p[1] - q[1]) ** 2) / 12000.0
        for c, d in links:
            if c in (t, u) or d in (t, u):
                continue
            r, s = pos[c], pos[d]
            if not boxes_apart(p, q, r, s):
                cost += segments_cross(p, q, r, s)
        for v, r in pos.items():
            if v not in (t, u) and passes_near(p, q, r, NEAR_MISS):
                cost += 1
    for c, d in links:
        if t not in (c, d) and passes_near(pos[c], pos[d], where, NEAR_MISS):
            cost += 1
    for v, r in pos.items():  # crowding, with wider gaps between continents
        if v != t:
            gap = math.hypot(r[0] - where[0], r[1] - where[1])
            room = ROOMY if home[v] == home[t] else ROOMY_APART
            if gap < room:
                cost += (room - gap) / 10.0
    return cost


def fits(t, where, pos, links_of, fixed):
    """Whether t may stand at `where`: limits to its neighbours, room, board and panel."""
    x, y = where
    if not (X_MIN + 5 <= x <= X_MAX - 5 and Y_MIN + 5 <= y <= Y_MAX - 5):
        return False
    if x > PANEL_LEFT and y < PANEL_BOTTOM:
        return False
    for a, b in links_of[t]:
        u = b if a == t else a
        if abs(pos[u][0] - x) > MAX_DX - 6 or abs(pos[u][1] - y) > MAX_DY - 5:
            return False
    for u, p in pos.items():
        if u != t and (p[0] - x) ** 2 + (p[1] - y) ** 2 < SPACING ** 2:
            return False
    return True


def anneal(home, links, fixed, pos, rng, steps=12000):
    """Simulated annealing against crossings and near misses: moves one label, or swaps two
    labels of one continent, keeping every hard limit at each step."""
    links_of = {t: [] for t in pos}
    for a, b in links:
        links_of[a].append((a, b))
        links_of[b].append((a, b))
    free = sorted(t for t in pos if t not in fixed)
    for step in range(steps):
        heat = HEAT * (1 - step / steps) ** 2 + 0.02
        reach = 6 + 30 * (1 - step / steps)
        t = rng.choice(free)
        here = tuple(pos[t])
        if rng.random() < 0.2:
            mates = [u for u in free if u != t and home[u] == home[t]
                     and abs(pos[u][0] - here[0]) < 130 and abs(pos[u][1] - here[1]) < 90]
            if not mates:
                continue
            u = rng.choice(mates)
            there = tuple(pos[u])
            before = (local_cost(t, here, pos, links, links_of, home)
                      + local_cost(u, there, pos, links, links_of, home))
            pos[t], pos[u] = list(there), list(here)
            if fits(t, there, pos, links_of, fixed) and fits(u, here, pos, links_of, fixed):
                after = (local_cost(t, there, pos, links, links_of, home)
                         + local_cost(u, here, pos, links, links_of, home))
                delta = after - before
                if delta <= 0 or rng.random() < math.exp(-delta / heat):
                    continue
            pos[t], pos[u] = list(here), list(there)
            continue
        if rng.random() < 0.15:
            # A jump to the middle of its neighbours undoes folds that small steps cannot.
            near = [b if a == t else a for a, b in links_of[t]]
            mx = sum(pos[u][0] for u in near) / len(near)
            my = sum(pos[u][1] for u in near) / len(near)
            where = (mx + rng.uniform(-30, 30), my + rng.uniform(-30, 30))
        else:
            where = (here[0] + rng.uniform(-reach, reach), here[1] + rng.uniform(-reach, reach))
        if not fits(t, where, pos, links_of, fixed):
            continue
        delta = (local_cost(t, where, pos, links, links_of, home)
                 - local_cost(t, here, pos, links, links_of, home))
        if delta <= 0 or rng.random() < math.exp(-delta / heat):
            pos[t] = list(where)


def repair(home, links, fixed, pos):
    """For every label still on a crossing, tries each point of a grid around it."""
    links_of = {t: [] for t in pos}
    for a, b in links:
        links_of[a].append((a, b))
        links_of[b].append((a, b))
    for _ in range(5):
        involved = sorted({t for pair in crossings(links, pos) for link in pair for t in link}
                          - set(fixed))
        moved = False
        for t in involved:
            here = tuple(pos[t])
            best, best_cost = here, local_cost(t, here, pos, links, links_of, home)
            for gx in range(-90, 91, 3):
                for gy in range(-90, 91, 3):
                    where = (here[0] + gx, here[1] + gy)
                    if not fits(t, where, pos, links_of, fixed):
                        continue
                    cost = local_cost(t, where, pos, links, links_of, home)
                    if cost < best_cost - 1e-9:
                        best, best_cost = where, cost
            if best != here:
                pos[t] = list(best)
                moved = True
        if not moved:
            break


def round_positions(pos):
    return {t: (int(round(p[0])), int(round(p[1]))) for t, p in pos.items()}


def check_layout(rows, xy):
    problems = []
    # Each continent a compact group near its compass centre.
    for _, name, members in CONTINENTS:
        cx = sum(xy[t][0] for t in members) / len(members)
        cy = sum(xy[t][1] for t in members) / len(members)
        if math.dist((cx, cy), CONTINENT_CENTRES[name]) > MAX_OFF_CENTRE:
            problems.append(f"{name} strays from its compass place")
        if max(math.dist((cx, cy), xy[t]) for t in members) > MAX_CONTINENT_RADIUS:
            problems.append(f"{name} is spread too wide")
    for t in range(1, N_TERRITORIES + 1):
        x, y = xy[t]
        if not (X_MIN <= x <= X_MAX and Y_MIN <= y <= Y_MAX):
            problems.append(f"{t} outside the board at {x},{y}")
        if x > PANEL_LEFT and y < PANEL_BOTTOM and t not in FIXED_ROWS:
            problems.append(f"{t} under the player panel")
        for u in rows[t]:
            pair = tuple(sorted((t, u)))
            dx, dy = abs(xy[t][0] - xy[u][0]), abs(xy[t][1] - xy[u][1])
            if pair in EDGE_PAIRS:
                if dx < EDGE_MIN_APART and dy < EDGE_MIN_APART:
                    problems.append(f"edge pair {pair} only {dx},{dy} apart")
            elif dx > MAX_DX or dy > MAX_DY:
                problems.append(f"neighbours {pair} {dx},{dy} apart")
    closest = min(math.hypot(xy[a][0] - xy[b][0], xy[a][1] - xy[b][1])
                  for a in xy for b in xy if a < b)
    if closest < MIN_LABEL_GAP:
        problems.append(f"two labels only {closest:.1f} apart")
    return problems, closest


def crossings(links, xy):
    """The pairs of neighbour links that cross on the picture."""
    found = []
    for i, (a, b) in enumerate(links):
        for c, d in links[i + 1:]:
            if len({a, b, c, d}) == 4 and segments_cross(xy[a], xy[b], xy[c], xy[d]):
                found.append(((a, b), (c, d)))
    return found


def near_misses(links, xy):
    """Links that pass close by a third label."""
    return [((a, b), t) for a, b in links for t in xy
            if t not in (a, b) and passes_near(xy[a], xy[b], xy[t], NEAR_MISS)]


def layout_report(home, links, xy):
    """A few figures about the result, for whoever runs the tool (stderr)."""
    lines = [f"crossing neighbour links: {crossings(links, xy)}",
             f"links passing close by a label: {near_misses(links, xy)}"]
    same = 0
    for a in xy:
        nearest = min((b for b in xy if b != a),
                      key=lambda b: (xy[a][0] - xy[b][0]) ** 2 + (xy[a][1] - xy[b][1]) ** 2)
        same += home[nearest] == home[a]
    lines.append(f"labels whose nearest label is of their own continent: {same}/200")
    for c, (_, name, members) in enumerate(CONTINENTS, start=1):
        xs = [xy[t][0] for t in members]
        ys = [xy[t][1] for t in members]
        lines.append(f"  {name:11s} centre {sum(xs) // len(xs):4d},{sum(ys) // len(ys):4d}"
                     f"  spans x {min(xs)}..{max(xs)} y {min(ys)}..{max(ys)}")
    return "\n".join(lines)


# ---------------------------------------------------------------------------------------------
# Output

def text_lines(rows, xy):
    continents = [continent_line(bonus, name, members, name in CONTINENT_TRAILING_BLANK)
                  for bonus, name, members in CONTINENTS]
    territories = [FIXED_ROWS[t] if t in FIXED_ROWS
                   else territory_line(t, "xxx", *xy[t], rows[t], t in ROW_TRAILING_BLANK)
                   for t in range(1, N_TERRITORIES + 1)]
    return map_file_lines("SwampII", (800, 10), "N", continents, territories)


def main():
    home, _, adjacent = build_board()
    rows = neighbour_lists(adjacent)
    check_board(home, adjacent, rows)

    fixed = {t: fixed_row_fields(line)[:2] for t, line in FIXED_ROWS.items()}
    check_fixed_points_reachable(adjacent, fixed)

    # Every listed neighbour is held to the distance limits, the one-sided 88 -> 87 too.
    links = sorted({tuple(sorted((t, u))) for t in rows for u in rows[t] if u != t}
                   - EDGE_PAIRS)

    rng = random.Random(201)
    pos = initial_positions(fixed, rng)
    stress_layout(adjacent, fixed, pos)
    relax(home, links, fixed, pos)
    anneal(home, links, fixed, pos, rng)
    repair(home, links, fixed, pos)
    xy = round_positions(pos)

    problems, closest = check_layout(rows, xy)
    problems += [f"links {a} and {b} cross" for a, b in crossings(links, xy)]
    problems += [f"link {link} passes close by {t}" for link, t in near_misses(links, xy)]
    if problems:
        sys.exit("layout fails:\n  " + "\n  ".join(problems))

    lines = text_lines(rows, xy)
    assert len(lines) == 237
    assert sum(line.endswith(" ") for line in lines) == 10
    assert all(line.isascii() and "\t" not in line and not line.startswith(" ")
               and len(line) <= 103 for line in lines)

    print(f"closest labels {closest:.1f} px apart", file=sys.stderr)
    print(layout_report(home, links, xy), file=sys.stderr)
    sys.stdout.write(map_text_source(lines, "mapTextSwampII", "The built-in map SwampII as map-file text.",
                                     "swampii_layout.py"))


if __name__ == "__main__":
    main()
