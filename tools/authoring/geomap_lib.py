"""Shared pieces of the built-in map scripts (tools/authoring/geomap_*.py).

A script describes one geographic map: its continents, and for every territory a code, a display
name and the latitude and longitude of a place inside the real region, plus the real borders and
the usual sea links. From that this module places the labels (an equal-area projection centred
on the map, fitted into the 954 x 632 design picture), finds open sea for the player panel,
weighs the continent bonuses, draws routes across the map for the computer players, checks every
rule a built-in map must keep, and prints the C++ source of the map. Nothing is printed when a
rule fails.

Standard library only.
"""

import heapq
import math
import sys

from authoring_lib import (HEIGHT, MAX_MEMBERS, MAX_NEIGHBOURS, MAX_ROUTE,
                           NETWORK_CONTINENTS, NETWORK_TERRITORIES, WIDTH, MapError,
                           builtin_map_record, check_code, check_label_gaps, check_route, connected,
                           continent_line, cpp_lines, expect, map_file_lines, names_array,
                           routes_array, segments_cross, territory_line)

MARGIN_X, MARGIN_Y = 24, 22       # labels keep this far from the picture's edges
PANEL_W, PANEL_H = 134, 140       # the player panel at the design size
PANEL_ROOM = 24                   # open room kept round the panel, free of labels and links


# ---------------------------------------------------------------------------------------------
# Placing the labels

def lambert_azimuthal(lat0, lon0):
    """Lambert's azimuthal equal-area projection centred on (lat0, lon0), in earth radii."""
    p0, l0 = math.radians(lat0), math.radians(lon0)

    def project(lat, lon):
        p, dl = math.radians(lat), math.radians(lon) - l0
        k = math.sqrt(2.0 / (1.0 + math.sin(p0) * math.sin(p) + math.cos(p0) * math.cos(p) * math.cos(dl)))
        return (k * math.cos(p) * math.sin(dl),
                k * (math.cos(p0) * math.sin(p) - math.sin(p0) * math.cos(p) * math.cos(dl)))
    return project


def equirectangular(parallel, lon0):
    """The plate carree stretched for a standard parallel: wide maps of a large area."""
    squeeze = math.cos(math.radians(parallel))

    def project(lat, lon):
        return (math.radians(lon - lon0) * squeeze, math.radians(lat))
    return project


def fit(points, box):
    """A function taking projected points into the picture box (left, top, right, bottom),
    one scale for both axes, the points' bounding box centred in the picture box."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    left, top, right, bottom = box
    scale = min((right - left) / (max(xs) - min(xs)), (bottom - top) / (max(ys) - min(ys)))
    cx = (max(xs) + min(xs)) / 2
    cy = (max(ys) + min(ys)) / 2
    mx, my = (left + right) / 2, (top + bottom) / 2
    return lambda p: (mx + (p[0] - cx) * scale, my - (p[1] - cy) * scale)


# ---------------------------------------------------------------------------------------------
# Geometry

def distance(a, b):
    return math.hypot(a[0] - b[0], a[1] - b[1])


def segment_distance(p, a, b):
    ax, ay = b[0] - a[0], b[1] - a[1]
    length2 = ax * ax + ay * ay
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * ax + (p[1] - a[1]) * ay) / length2))
    return distance(p, (a[0] + t * ax, a[1] + t * ay))


def rect_point_distance(rect, p):
    left, top, right, bottom = rect
    dx = max(left - p[0], 0, p[0] - right)
    dy = max(top - p[1], 0, p[1] - bottom)
    return math.hypot(dx, dy)


def rect_segment_distance(rect, a, b):
    left, top, right, bottom = rect
    if rect_point_distance(rect, a) == 0 or rect_point_distance(rect, b) == 0:
        return 0.0
    corners = [(left, top), (right, top), (right, bottom), (left, bottom)]
    for i in range(4):
        if segments_cross(a, b, corners[i], corners[(i + 1) % 4]):
            return 0.0
    return min([rect_point_distance(rect, a), rect_point_distance(rect, b)]
               + [segment_distance(c, a, b) for c in corners])


# ---------------------------------------------------------------------------------------------
# The map

class Map:
    """One built-in map. `continents`: (text name, display name, [territory keys]);
    `places`: key -> (code, name, latitude, longitude); `links`: 'a-b c-d ...' over keys."""

    own_codes = True  # every territory has a code of its own

    def __init__(self, *, symbol, flag, save_name, text_name, title, continents, places, links, centre,
                 territory_range, min_continents, network=True, sea_links=(), box=None,
                 projection=None):
        self.symbol = symbol              # Europe -> europeMap, buildEuropeMap, kEuropeLines
        self.flag = flag
        self.save_name = save_name        # the map's word in the names of saved games
        self.text_name = text_name
        self.title = title
        self.continents = continents
        self.places = places
        self.territory_range = territory_range
        self.min_continents = min_continents
        self.network = network
        self.keys = [key for _, _, members in continents for key in members]
        self.number = {key: i + 1 for i, key in enumerate(self.keys)}
        self.links = set()
        for item in links.split():
            a, b = item.split("-")
            expect(a in places and b in places, f"link {item} names an unknown territory")
            expect(a != b, f"link {item} joins a territory to itself")
            pair = tuple(sorted((a, b)))
            expect(pair not in self.links, f"link {item} is written twice")
            self.links.add(pair)
        self.sea_links = {tuple(sorted(item.split("-"))) for item in sea_links}
        project = projection or lambert_azimuthal(*centre)
        projected = {key: project(lat, lon) for key, (_, _, lat, lon) in places.items()}
        picture = fit(list(projected.values()),
                      box or (MARGIN_X, MARGIN_Y, WIDTH - MARGIN_X, HEIGHT - MARGIN_Y))
        self.pos = {key: tuple(int(round(v)) for v in picture(p)) for key, p in projected.items()}
        self.to_picture = lambda lat, lon: tuple(int(round(v)) for v in picture(project(lat, lon)))
        self.panel = None
        self.outline = None

    # -- derived figures ---------------------------------------------------------------------

    def neighbours(self, key):
        return sorted((b if a == key else a for a, b in self.links if key in (a, b)), key=self.number.get)

    def continent_of(self, key):
        for index, (_, _, members) in enumerate(self.continents):
            if key in members:
                return index
        raise MapError(f"{key} is in no continent")

    def borders(self, index):
        members = self.continents[index][2]
        return [key for key in members if any(self.continent_of(n) != index for n in self.neighbours(key))]

    def bonus(self, index):
        """Roughly what the World map gives: half the members and half the borders, less one."""
        members = len(self.continents[index][2])
        borders = len(self.borders(index))
        return max(1, int((members + borders) / 2.0 - 1.0 + 0.5))

    # -- the player panel --------------------------------------------------------------------

    def place_panel(self, preferred=None):
        """The panel's corner: open room farthest from every label and link, nearest to
        `preferred` among equally open places (a coarse search, then a fine one round it)."""
        def score(corner):
            room = self.panel_room(corner)
            closeness = -distance(corner, preferred) if preferred else 0
            return (min(room, 60), closeness), room

        def search(xs, ys):
            best = None
            for y in ys:
                for x in xs:
                    value, room = score((x, y))
                    if room >= PANEL_ROOM and (best is None or value > best[0]):
                        best = (value, (x, y))
            return best

        coarse = search(range(4, WIDTH - PANEL_W - 3, 10), range(4, HEIGHT - PANEL_H - 3, 10))
        expect(coarse is not None, "no open room for the player panel")
        cx, cy = coarse[1]
        fine = search(range(max(4, cx - 10), min(WIDTH - PANEL_W - 4, cx + 10) + 1, 2),
                      range(max(4, cy - 10), min(HEIGHT - PANEL_H - 4, cy + 10) + 1, 2))
        self.panel = max(coarse, fine)[1] if fine else coarse[1]

    def panel_room(self, corner):
        rect = (corner[0], corner[1], corner[0] + PANEL_W, corner[1] + PANEL_H)
        room = min(rect_point_distance(rect, p) for p in self.pos.values())
        for a, b in self.links:
            if (a, b) in self.sea_links:
                continue
            room = min(room, rect_segment_distance(rect, self.pos[a], self.pos[b]))
        return room

    # -- routes ------------------------------------------------------------------------------

    def routes(self, count):
        """Chains across the map: the farthest pairs of territories first, one pair per pair of
        continents, each the shortest way between them that leans away from links already used."""
        numbers = {key: self.number[key] for key in self.keys}
        hops = {key: self.hops_from(key) for key in self.keys}
        pairs = sorted(((hops[a][b], numbers[a], numbers[b], a, b) for a in self.keys for b in self.keys
                        if numbers[a] < numbers[b]), key=lambda p: (-p[0], p[1], p[2]))
        used_link = {}
        seen_continents = set()
        ends = {}
        chosen = []
        for _, _, _, a, b in pairs:
            if len(chosen) == count:
                break
            together = tuple(sorted((self.continent_of(a), self.continent_of(b))))
            if together in seen_continents or ends.get(a, 0) >= 1 or ends.get(b, 0) >= 1:
                continue
            chain = self.way(a, b, used_link)[:MAX_ROUTE]
            for x, y in zip(chain, chain[1:]):
                used_link[tuple(sorted((x, y)))] = used_link.get(tuple(sorted((x, y))), 0) + 1
            seen_continents.add(together)
            ends[a] = ends.get(a, 0) + 1
            ends[b] = ends.get(b, 0) + 1
            chosen.append(chain)
        return chosen

    def hops_from(self, start):
        seen = {start: 0}
        queue = [start]
        for key in queue:
            for n in self.neighbours(key):
                if n not in seen:
                    seen[n] = seen[key] + 1
                    queue.append(n)
        return seen

    def way(self, a, b, used_link):
        best = {a: (0.0, [a])}
        heap = [(0.0, [self.number[a]], a)]
        while heap:
            cost, trail, key = heapq.heappop(heap)
            if key == b:
                return best[key][1]
            if cost > best[key][0]:
                continue
            for n in self.neighbours(key):
                step = 1.0 + 0.35 * used_link.get(tuple(sorted((key, n))), 0)
                new = cost + step
                if n not in best or new < best[n][0] - 1e-9:
                    best[n] = (new, best[key][1] + [n])
                    heapq.heappush(heap, (new, trail + [self.number[n]], n))
        raise MapError(f"no way from {a} to {b}")

    # -- checks ------------------------------------------------------------------------------

    def check(self):
        low, high = self.territory_range
        count = len(self.keys)
        expect(low <= count <= high, f"{count} territories, outside {low}..{high}")
        expect(len(set(self.keys)) == count, "a territory is in two continents")
        expect(set(self.keys) == set(self.places), "a territory is in no continent")
        expect(len(self.continents) >= self.min_continents,
               f"{len(self.continents)} continents, fewer than {self.min_continents}")
        if self.network:
            expect(count <= NETWORK_TERRITORIES and len(self.continents) <= NETWORK_CONTINENTS,
                   "too large for a network game")
        if self.own_codes:
            codes = [self.places[k][0] for k in self.keys]
            expect(len(set(codes)) == count, "two territories share a code")
            for code in codes:
                check_code(code)
        for index, (text, shown, members) in enumerate(self.continents):
            expect(1 <= len(text) <= 20 and " " not in text, f"bad continent name {text!r}")
            expect(shown.replace("_", " ") == shown and len(shown) <= 20, f"bad display name {shown!r}")
            expect(len(members) <= MAX_MEMBERS, f"{text} has more than {MAX_MEMBERS} members")
            expect(self.borders(index), f"{text} has no border territory")
            expect(self.connected(members), f"{text} is not in one piece")
        expect(self.connected(self.keys), "the map is not in one piece")
        for key in self.keys:
            expect(1 <= len(self.neighbours(key)) <= MAX_NEIGHBOURS,
                   f"{key} has {len(self.neighbours(key))} neighbours")
            x, y = self.pos[key]
            expect(MARGIN_X - 1 <= x <= WIDTH - MARGIN_X + 1 and MARGIN_Y - 1 <= y <= HEIGHT - MARGIN_Y + 1,
                   f"{key} at {x},{y} is outside the picture's margin")
        check_label_gaps([(key, self.pos[key]) for key in self.keys])
        expect(self.panel is not None, "no player panel")
        expect(self.panel_room(self.panel) >= PANEL_ROOM, "the player panel is not on open room")
        expect(0 <= self.panel[0] <= WIDTH - PANEL_W and 0 <= self.panel[1] <= HEIGHT - PANEL_H,
               "the player panel leaves the picture")

    def check_routes(self, routes, low=10, high=25):
        expect(low <= len(routes) <= high, f"{len(routes)} routes, outside {low}..{high}")
        for chain in routes:
            check_route(chain, lambda a, b: tuple(sorted((a, b))) in self.links)
        covered = {self.continent_of(k) for chain in routes for k in chain}
        expect(covered == set(range(len(self.continents))), "a continent lies on no route")

    def connected(self, members):
        return connected(members, self.neighbours)

    def long_links(self, limit):
        return sorted((distance(self.pos[a], self.pos[b]), a, b) for a, b in self.links
                      if distance(self.pos[a], self.pos[b]) > limit)

    # -- the source --------------------------------------------------------------------------

    def text_lines(self):
        continents = [continent_line(self.bonus(index), text, [self.number[k] for k in members])
                      for index, (text, _, members) in enumerate(self.continents)]
        territories = [territory_line(self.number[key], self.places[key][0], *self.pos[key],
                                      [self.number[n] for n in self.neighbours(key)])
                       for key in self.keys]
        return map_file_lines(self.text_name, self.panel, "N", continents, territories)

    def source(self, script, comment, routes):
        name = self.symbol
        lower = name[0].lower() + name[1:]
        out = [f"// Generated by tools/authoring/{script} from the map's places and borders; change the",
               "// script and run it again rather than editing this file.",
               "",
               '#include "state/BuiltinMaps.h"',
               "",
               '#include "state/MapFile.h"',
               ""]
        out += [f"// {line}" if line else "//" for line in comment]
        out += ["", "namespace {", ""]
        text = self.text_lines()
        # Each territory's line names its region.
        names = [None] * (len(text) - len(self.keys)) + [self.places[key][1] for key in self.keys]
        out += cpp_lines(f"k{name}Lines", text, names)
        out.append("")
        out += routes_array(f"k{name}Routes", [[self.number[k] for k in chain] for chain in routes])
        out.append("")
        out += names_array(f"k{name}ContinentNames", [c[1] for c in self.continents])
        out += ["", "} // namespace", ""]
        out += builtin_map_record(f"{lower}Map", self.flag, self.save_name,
                                  f"[] {{ appendMapLines(k{name}Lines); }}", f"k{name}Routes",
                                  f"k{name}ContinentNames", self.panel, f"build{name}Map")
        return "\n".join(out) + "\n"


def report(m, routes):
    """A summary on standard error for the author."""
    w = sys.stderr.write
    w(f"{m.title}: {len(m.keys)} territories, {len(m.continents)} continents, {len(m.links)} links, "
      f"{len(routes)} routes, panel at {m.panel}\n")
    for index, (text, _, members) in enumerate(m.continents):
        w(f"  {text}: {len(members)} members, {len(m.borders(index))} borders, bonus {m.bonus(index)}\n")
    closest = min((distance(m.pos[a], m.pos[b]), a, b) for i, a in enumerate(m.keys) for b in m.keys[i + 1:])
    w(f"  closest labels: {closest[1]}-{closest[2]} {closest[0]:.1f}\n")
    for length, a, b in m.long_links(170):
        w(f"  long link {a}-{b}: {length:.0f}\n")


def run(m, script, comment, route_count=16, preferred_panel=None, outline=None):
    """Checks the map and prints its source; exits non-zero without printing when a rule fails.
    With an outline function (map -> (Outline, C++ function name, comment)) and a path as the
    first argument, the outline's source is written there."""
    try:
        m.place_panel(preferred_panel)
        m.check()
        routes = m.routes(route_count)
        m.check_routes(routes)
        land = None
        if outline:
            land, function, blurb = outline(m)
            land.check([(key, m.pos[key]) for key in m.keys], clearance=5)
    except MapError as error:
        sys.stderr.write(f"{script}: {error}\n")
        sys.exit(1)
    report(m, routes)
    sys.stdout.write(m.source(script, comment, routes))
    if land and len(sys.argv) > 1:
        with open(sys.argv[1], "w", encoding="ascii") as f:
            f.write(land.source(function, script, blurb))
