"""Shared pieces of the scripts that write Swamp, Real World, Scandinavia, Great Britain, Worms
and the two Three Nations maps (tools/authoring/moremaps_*.py).

A script describes one built-in map: territories with their codes and label points (projected
from latitude and longitude on geographic maps, laid out by rule on abstract ones), the links
between them and the continents. This module derives what follows from that (bonuses, the
map-file lines, predefined routes), checks every rule a built-in map must keep, and prints the
C++ source of the map. A map that breaks a rule is never printed.

Standard library only.
"""

import math
import random
import sys

from authoring_lib import (HEIGHT, MAX_CONTINENTS, MAX_MEMBERS, MAX_NEIGHBOURS, MAX_ROUTE,
                           MAX_TERRITORIES, WIDTH, builtin_map_record, check_code, check_label_gaps,
                           check_route, connected, continent_line, cpp_lines, expect,
                           map_file_lines, names_array, routes_array, territory_line)

LABEL_MARGIN = 12                 # labels keep this far from the picture's edge
PANEL_W, PANEL_H = 170, 150       # the player panel, kept clear of labels
PANEL_CLEARANCE = 14              # and a little more round it


# ---------------------------------------------------------------------------------------------
# Projection of geographic maps

class Projection:
    """Plate carree from a longitude/latitude box onto a rectangle of the design picture."""

    def __init__(self, lon_min, lon_max, lat_min, lat_max, x0, x1, y0, y1):
        self.lon_min, self.lon_max, self.lat_min, self.lat_max = lon_min, lon_max, lat_min, lat_max
        self.x0, self.x1, self.y0, self.y1 = x0, x1, y0, y1

    def __call__(self, lat, lon):
        x = self.x0 + (lon - self.lon_min) / (self.lon_max - self.lon_min) * (self.x1 - self.x0)
        y = self.y0 + (self.lat_max - lat) / (self.lat_max - self.lat_min) * (self.y1 - self.y0)
        return int(round(x)), int(round(y))


# ---------------------------------------------------------------------------------------------
# Abstract layouts: points spread over a shape, linked like touching regions

def spread_points(inside, box, count, gap, seed, tries=20000):
    """`count` points inside the shape (a predicate on x, y), no two closer than `gap`, drawn
    with a fixed seed so the layout never changes between runs."""
    rng = random.Random(seed)
    x0, y0, x1, y1 = box
    points = []
    for _ in range(tries):
        if len(points) == count:
            break
        p = (rng.uniform(x0, x1), rng.uniform(y0, y1))
        if inside(*p) and all(math.dist(p, q) >= gap for q in points):
            points.append(p)
    expect(len(points) == count, f"only {len(points)} of {count} points fit (seed {seed})")
    return points


def relax(points, inside, rounds, gap):
    """Pushes points apart a little (a few rounds of repulsion) for an even spacing."""
    pts = [list(p) for p in points]
    for _ in range(rounds):
        for i, p in enumerate(pts):
            fx = fy = 0.0
            for j, q in enumerate(pts):
                if i == j:
                    continue
                d = math.dist(p, q)
                if d < 1.6 * gap:
                    push = (1.6 * gap - d) / max(d, 1e-6)
                    fx += (p[0] - q[0]) * push
                    fy += (p[1] - q[1]) * push
            nx, ny = p[0] + 0.1 * fx, p[1] + 0.1 * fy
            if inside(nx, ny):
                p[0], p[1] = nx, ny
    return [(p[0], p[1]) for p in pts]


def delaunay(points):
    """Bowyer-Watson triangulation; returns the set of edges (i, j), i < j, over indices."""
    n = len(points)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    span = max(max(xs) - min(xs), max(ys) - min(ys)) * 10 + 10
    cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
    pts = list(points) + [(cx - span, cy - span), (cx + span, cy - span), (cx, cy + span)]
    triangles = [(n, n + 1, n + 2)]

    def circumcircle(t):
        (ax, ay), (bx, by), (qx, qy) = pts[t[0]], pts[t[1]], pts[t[2]]
        d = 2 * (ax * (by - qy) + bx * (qy - ay) + qx * (ay - by))
        ux = ((ax * ax + ay * ay) * (by - qy) + (bx * bx + by * by) * (qy - ay) + (qx * qx + qy * qy) * (ay - by)) / d
        uy = ((ax * ax + ay * ay) * (qx - bx) + (bx * bx + by * by) * (ax - qx) + (qx * qx + qy * qy) * (bx - ax)) / d
        return ux, uy, (ax - ux) ** 2 + (ay - uy) ** 2

    for i in range(n):
        p = pts[i]
        bad = []
        for t in triangles:
            ux, uy, r2 = circumcircle(t)
            if (p[0] - ux) ** 2 + (p[1] - uy) ** 2 < r2:
                bad.append(t)
        edges = {}
        for t in bad:
            for e in ((t[0], t[1]), (t[1], t[2]), (t[2], t[0])):
                key = tuple(sorted(e))
                edges[key] = edges.get(key, 0) + 1
        triangles = [t for t in triangles if t not in bad]
        for (a, b), times in edges.items():
            if times == 1:
                triangles.append((a, b, i))
    out = set()
    for t in triangles:
        for a, b in ((t[0], t[1]), (t[1], t[2]), (t[2], t[0])):
            if a < n and b < n:
                out.add((min(a, b), max(a, b)))
    return out


# ---------------------------------------------------------------------------------------------
# The map

class BuiltinMap:
    """One built-in map. Territories are numbered in the order they are added."""

    def __init__(self, ident, map_word, flag, save_name, panel, count_range, continent_range, blurb):
        self.ident = ident              # "Swamp": kSwampLines, swampMap, buildSwampMap ...
        self.map_word = map_word        # the word of the "[map]" section
        self.flag = flag                # "MapSwamp"
        self.save_name = save_name      # the map's word in the names of saved games
        self.panel = panel              # (x, y) of the player panel at the design size
        self.count_range = count_range
        self.continent_range = continent_range
        self.blurb = blurb              # the comment at the top of the source
        self.builder = f"build{ident}Map"
        self.variable = ident[0].lower() + ident[1:] + "Map"
        self.codes, self.names, self.pos = [None], [None], [None]
        self.links = set()
        self.sea_links = set()
        self.continents = []            # (text name, display name, members)
        self.routes = []
        self.bonus_override = {}
        self.bonus_weights = (0.4, 0.5, -0.5)  # per member, per border territory, and a constant
        self.shared_names = None

    # -- territories and links --
    def add(self, code, name, x, y):
        self.codes.append(code)
        self.names.append(name)
        self.pos.append((int(round(x)), int(round(y))))
        return len(self.codes) - 1

    def number(self, code):
        expect(self.codes.count(code) == 1, f"code {code!r} is not one territory")
        return self.codes.index(code)

    def link(self, a, b, sea=False):
        a = self.number(a) if isinstance(a, str) else a
        b = self.number(b) if isinstance(b, str) else b
        expect(a != b, f"territory {a} linked to itself")
        pair = (min(a, b), max(a, b))
        self.links.add(pair)
        if sea:
            self.sea_links.add(pair)

    def link_text(self, text):
        """'abc-def ghi-jkl ...' (codes); '~' instead of '-' marks a link over the sea."""
        for item in text.split():
            sea = "~" in item
            a, b = item.replace("~", "-").split("-")
            self.link(a, b, sea)

    def continent(self, name, display, members):
        nums = [self.number(m) if isinstance(m, str) else m for m in members]
        self.continents.append((name, display, nums))

    @property
    def count(self):
        return len(self.codes) - 1

    def neighbours(self, t):
        return sorted([b for a, b in self.links if a == t] + [a for a, b in self.links if b == t])

    def home(self):
        home = {}
        for c, (_, _, members) in enumerate(self.continents, 1):
            for m in members:
                home[m] = c
        return home

    def borders(self, c):
        home = self.home()
        return [m for m in self.continents[c - 1][2] if any(home[u] != c for u in self.neighbours(m))]

    def bonus(self, c):
        """Roughly by size and by how many members must be held against outsiders."""
        if c in self.bonus_override:
            return self.bonus_override[c]
        size = len(self.continents[c - 1][2])
        per_member, per_border, constant = self.bonus_weights
        return max(1, int(math.floor(per_member * size + per_border * len(self.borders(c)) + constant + 0.5)))

    # -- routes --
    def shortest_path(self, a, b):
        previous = {a: None}
        queue = [a]
        for t in queue:
            if t == b:
                break
            for u in self.neighbours(t):
                if u not in previous:
                    previous[u] = t
                    queue.append(u)
        path = [b]
        while previous[path[-1]] is not None:
            path.append(previous[path[-1]])
        return path[::-1]

    def make_routes(self, wanted=18):
        """Chains across the map: shortest walks between far-apart territories (the extremes
        of the picture and the middles of the continents), cut to the longest a route can be."""
        n = self.count
        corners = [(0, 0), (WIDTH, HEIGHT), (WIDTH, 0), (0, HEIGHT),
                   (WIDTH / 2, 0), (WIDTH / 2, HEIGHT), (0, HEIGHT / 2), (WIDTH, HEIGHT / 2)]
        near = lambda p: min(range(1, n + 1), key=lambda t: (math.dist(self.pos[t], p), t))
        e = [near(p) for p in corners]
        pairs = [(e[0], e[1]), (e[2], e[3]), (e[4], e[5]), (e[6], e[7]),
                 (e[0], e[2]), (e[3], e[1]), (e[0], e[3]), (e[2], e[1])]
        centres = []
        for _, _, members in self.continents:
            cx = sum(self.pos[m][0] for m in members) / len(members)
            cy = sum(self.pos[m][1] for m in members) / len(members)
            centres.append(min(members, key=lambda m: (math.dist(self.pos[m], (cx, cy)), m)))
        k = len(centres)
        for step in (k // 2, 1):
            for i in range(k):
                pairs.append((centres[i], centres[(i + step) % k]))
        seen = set()
        for a, b in pairs:
            if len(self.routes) >= wanted or a == b:
                continue
            path = self.shortest_path(a, b)
            while len(path) >= 3 and len(self.routes) < wanted:
                chain = tuple(path[:MAX_ROUTE])
                if chain not in seen:
                    seen.add(chain)
                    self.routes.append(list(chain))
                path = path[MAX_ROUTE - 1:]

    # -- the text --
    def lines(self):
        continents = [continent_line(self.bonus(c), name, members)
                      for c, (name, _, members) in enumerate(self.continents, 1)]
        territories = [territory_line(t, self.codes[t], *self.pos[t], self.neighbours(t))
                       for t in range(1, self.count + 1)]
        return map_file_lines(self.map_word, self.panel, "N", continents, territories)

    # -- the rules --
    def check(self, max_link=None):
        n = self.count
        lo, hi = self.count_range
        expect(lo <= n <= hi and n <= MAX_TERRITORIES, f"{n} territories, not {lo} to {hi}")
        clo, chi = self.continent_range
        expect(clo <= len(self.continents) <= chi and len(self.continents) <= MAX_CONTINENTS,
               f"{len(self.continents)} continents, not {clo} to {chi}")
        for t in range(1, n + 1):
            code = self.codes[t]
            check_code(code)
            x, y = self.pos[t]
            expect(LABEL_MARGIN <= x <= WIDTH - LABEL_MARGIN and LABEL_MARGIN <= y <= HEIGHT - LABEL_MARGIN,
                   f"label of {code} at {x},{y} too near the edge")
            nb = self.neighbours(t)
            expect(1 <= len(nb) <= MAX_NEIGHBOURS, f"{code} has {len(nb)} neighbours")
        expect(len(set(self.codes[1:])) == n, "codes repeat")
        check_label_gaps([(self.codes[t], self.pos[t]) for t in range(1, n + 1)])
        px, py = self.panel
        expect(0 <= px and px + PANEL_W <= WIDTH and 0 <= py and py + PANEL_H <= HEIGHT, "panel off the picture")
        for t in range(1, n + 1):
            x, y = self.pos[t]
            expect(not (px - PANEL_CLEARANCE <= x <= px + PANEL_W + PANEL_CLEARANCE
                        and py - PANEL_CLEARANCE <= y <= py + PANEL_H + PANEL_CLEARANCE),
                   f"label of {self.codes[t]} under the player panel")
        if max_link:
            for a, b in self.links:
                d = math.dist(self.pos[a], self.pos[b])
                expect(d <= max_link or (a, b) in self.sea_links,
                       f"link {self.codes[a]}-{self.codes[b]} is {d:.0f} long")
        # Continents: each territory in exactly one, at most 20 members, joined, with a border.
        seen = []
        for c, (name, display, members) in enumerate(self.continents, 1):
            expect(1 <= len(members) <= MAX_MEMBERS, f"{name} has {len(members)} members")
            expect(" " not in name and len(name) <= 20 and len(display) <= 20, f"continent name {name!r}")
            seen += members
            expect(self.borders(c), f"{name} has no border territory")
            expect(connected(members, self.neighbours), f"{name} falls apart")
        expect(sorted(seen) == list(range(1, n + 1)), "territories not in exactly one continent")
        expect(connected(range(1, n + 1), self.neighbours), "the map falls apart")
        expect(10 <= len(self.routes) <= 25, f"{len(self.routes)} routes")
        for r in self.routes:
            check_route(r, lambda a, b: (min(a, b), max(a, b)) in self.links)

    # -- the source --
    def share_names(self, symbol, define):
        """The continents' display names are the array `symbol`, which two maps share; the map
        that defines it writes it into its source."""
        self.shared_names = (symbol, define)

    def cpp(self, script):
        i = self.ident
        out = ['#include "state/BuiltinMaps.h"', "", '#include "state/MapFile.h"', ""]
        out += [f"// {line}" if line else "//" for line in self.blurb]
        out += [f"// Written by tools/authoring/{script}, which checks the map's rules;",
                "// change the script, not this file.", "", "namespace {", ""]
        out += cpp_lines(f"k{i}Lines", self.lines())
        out.append("")
        out += routes_array(f"k{i}Routes", self.routes)
        names, define = self.shared_names or (f"k{i}ContinentNames", False)
        display = [display for _, display, _ in self.continents]
        if not self.shared_names:
            out += [""] + names_array(names, display)
        out += ["", "} // namespace", ""]
        if define:
            out += names_array(names, display) + [""]
        out += builtin_map_record(self.variable, self.flag, self.save_name,
                                  f"[] {{ appendMapLines(k{i}Lines); }}", f"k{i}Routes", names,
                                  self.panel, self.builder)
        return "\n".join(out) + "\n"

    def finish(self, script, max_link=None, routes=18):
        if not self.routes:
            self.make_routes(routes)
        self.check(max_link)
        summary = ", ".join(f"{name} {len(m)}/{len(self.borders(c))}b/+{self.bonus(c)}"
                            for c, (name, _, m) in enumerate(self.continents, 1))
        print(f"{self.ident}: {self.count} territories, {len(self.continents)} continents, "
              f"{len(self.links)} links, {len(self.routes)} routes; {summary}", file=sys.stderr)
        if len(sys.argv) > 1:
            with open(sys.argv[1], "w", encoding="ascii") as f:
                f.write(self.cpp(script))
        else:
            sys.stdout.write(self.cpp(script))


def clusters(points, k):
    """Splits points into k compact groups of near the same size (k-means from spread-out
    starts, fixed order), as lists of indices."""
    centres = [points[min(range(len(points)), key=lambda i: (points[i][0], points[i][1]))]]
    while len(centres) < k:
        far = max(range(len(points)), key=lambda i: min(math.dist(points[i], c) for c in centres))
        centres.append(points[far])
    groups = []
    room = -(-len(points) // k)
    for _ in range(30):
        # Nearest first, but no group grows past its share.
        groups = [[] for _ in range(k)]
        taken = set()
        for d, i, c in sorted((math.dist(p, centres[c]), i, c) for i, p in enumerate(points) for c in range(k)):
            if i not in taken and len(groups[c]) < room:
                groups[c].append(i)
                taken.add(i)
        centres = [(sum(points[i][0] for i in g) / len(g), sum(points[i][1] for i in g) / len(g)) if g else centres[c]
                   for c, g in enumerate(groups)]
    return [g for g in groups if g]


def link_near(m, numbers, points, longest):
    """Links the territories `numbers` (laid out at `points`) like touching regions: the edges
    of their triangulation up to `longest` long."""
    for a, b in delaunay(points):
        if math.dist(points[a], points[b]) <= longest:
            m.link(numbers[a], numbers[b])


def add_provinces(m, points, provinces, prefix):
    """Adds the points as territories grouped into the given provinces [(name, [indices])],
    numbered province by province; codes are the prefix, the province's initial and a letter.
    Returns the territory number of each point."""
    numbers = [0] * len(points)
    for name, members in provinces:
        for k, i in enumerate(sorted(members, key=lambda i: (points[i][1] + 0.5 * points[i][0], i))):
            code = prefix + name.split("_")[-1][0].lower() + "abcdefghijklmnopqrst"[k]
            numbers[i] = m.add(code, f"{name} {k + 1}", *points[i])
        m.continent(name, name.replace("_", " "), sorted(numbers[i] for i in members))
    return numbers


def straits(m, group_a, group_b, count, shortest=156):
    """Sea links between two groups of territories at their nearest spots, each at least
    `shortest` long (a shorter one would be drawn as a land bridge), not sharing a coast."""
    candidates = sorted((math.dist(m.pos[s], m.pos[t]), s, t) for s in group_a for t in group_b)
    used = []
    for d, s, t in candidates:
        if len(used) == count:
            break
        if d < shortest or any(math.dist(m.pos[s], m.pos[u]) < 60 or math.dist(m.pos[t], m.pos[v]) < 60
                               for u, v in used):
            continue
        m.link(s, t, sea=True)
        used.append((s, t))
    expect(len(used) == count, "not enough straits")


def near_edges(points, longest):
    """The edges of the points' triangulation up to `longest` long: regions that touch."""
    return {(a, b) for a, b in delaunay(points) if math.dist(points[a], points[b]) <= longest}


def make_whole(groups, edges):
    """Moves the stray pieces of a group (parts not joined to its largest part by `edges`) to
    the group they touch most, until every group is in one piece."""
    adj = {}
    for a, b in edges:
        adj.setdefault(a, set()).add(b)
        adj.setdefault(b, set()).add(a)
    for _ in range(50):
        owner = {i: g for g, members in enumerate(groups) for i in members}
        moved = False
        for g, members in enumerate(groups):
            pieces, left = [], set(members)
            while left:
                start = min(left)
                piece, queue = {start}, [start]
                for i in queue:
                    for j in adj.get(i, ()):
                        if j in left and j not in piece:
                            piece.add(j)
                            queue.append(j)
                left -= piece
                pieces.append(piece)
            if len(pieces) < 2:
                continue
            pieces.sort(key=lambda p: (-len(p), min(p)))
            for piece in pieces[1:]:
                votes = {}
                for i in piece:
                    for j in adj.get(i, ()):
                        if owner[j] != g:
                            votes[owner[j]] = votes.get(owner[j], 0) + 1
                if votes:
                    target = max(sorted(votes), key=lambda h: votes[h])
                    groups[g] = [i for i in groups[g] if i not in piece]
                    groups[target] = groups[target] + sorted(piece)
                    moved = True
            if moved:
                break
        if not moved:
            return groups
    return groups


# ---------------------------------------------------------------------------------------------
# Hand-drawn land of a geographic map, for the picture generator

def check_outline(land, m, clearance=6):
    """Every label of the map stands on the land, a few pixels from the coast."""
    land.check([(m.codes[t], m.pos[t]) for t in range(1, m.count + 1)], clearance)


def write_outline(land, function, script, blurb):
    """Writes the outline source when a second path is given on the command line (after the
    script has checked its labels against the coasts)."""
    if len(sys.argv) > 2:
        with open(sys.argv[2], "w", encoding="ascii") as f:
            f.write(land.source(function, script, blurb))
