"""What every authoring script shares (geomap_*, moremaps_*, maptext_* and swampii_layout).

The design picture and the limits of a map, a failed check, the geometry of labels and links,
the lines of a map-file text, the hand-drawn land of a geographic map, and the C++ that holds a
map in the program.

Standard library only.
"""

import math

WIDTH, HEIGHT = 954, 632          # the design size of every map picture
MIN_LABEL_GAP = 25                # a region is grown round each label, so they need room
MAX_NEIGHBOURS = 11
MAX_MEMBERS = 20
MAX_ROUTE = 16
MAX_TERRITORIES = 200
MAX_CONTINENTS = 25
NETWORK_TERRITORIES, NETWORK_CONTINENTS = 116, 14


class MapError(SystemExit):
    """A rule the map breaks. Nothing is written then: uncaught, it ends the script with its
    message and a non-zero status."""


def fail(message):
    raise MapError(f"map check failed: {message}")


def expect(condition, message):
    if not condition:
        fail(message)


# ---------------------------------------------------------------------------------------------
# Rules every built-in map keeps

def check_code(code):
    """A territory's own code: two or three small letters."""
    expect(2 <= len(code) <= 3 and code.isalpha() and code.islower(), f"bad code {code!r}")


def check_label_gaps(labels):
    """No two labels (name, (x, y)) closer than MIN_LABEL_GAP."""
    for i, (a, p) in enumerate(labels):
        for b, q in labels[i + 1:]:
            gap = math.dist(p, q)
            expect(gap >= MIN_LABEL_GAP, f"labels of {a} and {b} are {gap:.1f} apart")


def connected(members, neighbours):
    """Whether `members` form one piece along the links (`neighbours`: territory -> list)."""
    members = set(members)
    start = min(members)
    seen, queue = {start}, [start]
    for t in queue:
        for u in neighbours(t):
            if u in members and u not in seen:
                seen.add(u)
                queue.append(u)
    return seen == members


def check_route(chain, linked):
    """A predefined route: 2 to MAX_ROUTE territories, none twice, each linked to the next."""
    expect(2 <= len(chain) <= MAX_ROUTE, f"route {chain} has a bad length")
    expect(len(set(chain)) == len(chain), f"route {chain} visits a territory twice")
    for a, b in zip(chain, chain[1:]):
        expect(linked(a, b), f"route {chain} breaks at {a}-{b}")


# ---------------------------------------------------------------------------------------------
# Geometry

def segments_cross(p, q, r, s):
    """Whether segments p-q and r-s cross at a point inside both."""
    def orient(a, b, c):
        v = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])
        return (v > 0) - (v < 0)
    return orient(p, q, r) * orient(p, q, s) < 0 and orient(r, s, p) * orient(r, s, q) < 0


def boxes_apart(p, q, r, s):
    """Whether the bounding boxes of segments p-q and r-s do not meet: then they cannot cross."""
    return (max(p[0], q[0]) < min(r[0], s[0]) or max(r[0], s[0]) < min(p[0], q[0])
            or max(p[1], q[1]) < min(r[1], s[1]) or max(r[1], s[1]) < min(p[1], q[1]))


def passes_near(p, q, r, reach=12, margin=0.0):
    """Whether segment p-q passes within `reach` of point r, away from its ends (`margin` is
    the share of the segment at each end that does not count)."""
    vx, vy = q[0] - p[0], q[1] - p[1]
    length2 = vx * vx + vy * vy or 1e-9
    k = ((r[0] - p[0]) * vx + (r[1] - p[1]) * vy) / length2
    if k <= margin or k >= 1 - margin:
        return False
    cx, cy = p[0] + k * vx - r[0], p[1] + k * vy - r[1]
    return cx * cx + cy * cy < reach * reach


def hop_counts(adjacent, source, blocked=()):
    """Links to cross from `source` to every territory it reaches (`adjacent`: territory ->
    neighbours), never over a link in `blocked` (sorted pairs)."""
    dist = {source: 0}
    frontier = [source]
    while frontier:
        nxt = []
        for t in frontier:
            for u in adjacent[t]:
                if u in dist or tuple(sorted((t, u))) in blocked:
                    continue
                dist[u] = dist[t] + 1
                nxt.append(u)
        frontier = nxt
    return dist


def stress_majorise(pos, territories, free, hops, hop_length, iterations):
    """Moves the `free` labels (lists [x, y] in `pos`) until their distances follow the hop
    counts between them (`hops[a][b]`); the others hold still."""
    for _ in range(iterations):
        for i in free:
            xi, yi = pos[i]
            sx = sy = sw = 0.0
            for j in territories:
                if j == i:
                    continue
                target = hop_length * hops[i][j]
                w = 1.0 / (target * target)
                dx, dy = xi - pos[j][0], yi - pos[j][1]
                d = math.hypot(dx, dy) or 0.01
                sx += w * (pos[j][0] + target * dx / d)
                sy += w * (pos[j][1] + target * dy / d)
                sw += w
            pos[i] = [sx / sw, sy / sw]


# ---------------------------------------------------------------------------------------------
# The map-file text

def continent_line(bonus, name, members, blank=False):
    return " ".join([str(bonus), name] + [str(m) for m in members]) + (" " if blank else "")


def territory_line(number, code, x, y, neighbours, blank=False):
    return " ".join([str(number), code, str(x), str(y)] + [str(u) for u in neighbours]) + (" " if blank else "")


def map_file_lines(name, panel, smilies, continent_lines, territory_lines):
    """The lines of a map file: its header sections, then the continents and territories."""
    return (["[map]", name, "", "[player names]", f"{panel[0]} {panel[1]}", "",
             "[smilies and codes]", smilies, "", "[continents]"]
            + list(continent_lines) + ["", "[territories]"] + list(territory_lines))


# ---------------------------------------------------------------------------------------------
# Hand-drawn land of a geographic map, for the picture generator

class Outline:
    """Coasts as polygons of (latitude, longitude), carried onto the picture by `project`;
    `water` cuts seas and lakes out of the land."""

    def __init__(self, project):
        self.project = project
        self.land, self.water = [], []

    def add_land(self, name, points):
        self.land.append((name, [self.project(lat, lon) for lat, lon in points]))

    def add_water(self, name, points):
        self.water.append((name, [self.project(lat, lon) for lat, lon in points]))

    def inside(self, p):
        def within(poly):
            x, y = p
            hit = False
            for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
                if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                    hit = not hit
            return hit
        return any(within(poly) for _, poly in self.land) and not any(within(poly) for _, poly in self.water)

    def check(self, labels, clearance):
        """Every label (name, (x, y)) stands on land, a few pixels from the coast."""
        for name, (x, y) in labels:
            for dx, dy in ((0, 0), (clearance, 0), (-clearance, 0), (0, clearance), (0, -clearance)):
                expect(self.inside((x + dx, y + dy)), f"the label of {name} at {x},{y} is not on land")

    def source(self, function, script, comment):
        """The source of `function`, which returns the outline at the design size."""
        out = [f"// {line}" for line in comment]
        out += [f"// Written by tools/authoring/{script}; change the script, not this file.", "",
                '#include "MapPictures.h"', "", f"const MapOutline &{function}()", "{",
                "    static const MapOutline outline = {{"]
        for kind, polygons in (("land", self.land), ("water", self.water)):
            if kind == "water":
                out.append("    }, {" if polygons else "    }, {}};")
            for name, poly in polygons:
                out.append(f"        // {name}")
                out.append("        outlinePolygon({")
                points = [f"{{{x}, {y}}}" for x, y in poly]
                for i in range(0, len(points), 8):
                    out.append("            " + ", ".join(points[i:i + 8]) + ",")
                out.append("        }),")
        if self.water:
            out.append("    }};")
        out += ["    return outline;", "}"]
        return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------
# C++ sources

def cpp_lines(symbol, lines, comments=None):
    """A null-free array of string literals, one a line, with an optional comment per line."""
    out = [f"const char *const {symbol}[] = {{"]
    for i, line in enumerate(lines):
        expect('"' not in line and "\\" not in line, f"line {line!r} needs escaping")
        comment = comments[i] if comments else None
        out.append(f'    "{line}",' + (f" // {comment}" if comment else ""))
    out.append("};")
    return out


def routes_array(symbol, chains):
    """The predefined routes, one chain of territory numbers a line."""
    return (["// Chains across the map that the computer players' route search starts from.",
             f"const std::initializer_list<qint32> {symbol}[] = {{"]
            + ["    {" + ", ".join(str(t) for t in chain) + "}," for chain in chains] + ["};"])


def wrapped(head, items, tail, width=100):
    """`head`, the items joined by commas, then `tail`, wrapped at `width` columns; each further
    line starts under the first item."""
    indent = " " * len(head)
    out, row = [], head
    for i, item in enumerate(items):
        item += tail if i == len(items) - 1 else ","
        if row.strip() and row != head and len(row) + 1 + len(item) > width:
            out.append(row)
            row = indent + item
        else:
            row += ("" if row == head else " ") + item
    out.append(row)
    return out


def names_array(symbol, names):
    """The C++ array of the continents' display names, null-ended, wrapped at 100 columns."""
    out = [f"const char *const {symbol}[] = {{"]
    row = "   "
    for item in [f'"{n}",' for n in names] + ["nullptr};"]:
        if len(row) + 1 + len(item) > 100:
            out.append(row)
            row = "   "
        row += " " + item
    out.append(row)
    return out


def builtin_map_record(variable, flag, save_name, text, routes, names, panel, builder):
    """The end of every built-in map source: the map's record and its builder. `text` appends
    the map-file text, `routes` is the array of predefined routes."""
    out = wrapped(f"const BuiltinMap {variable} = {{",
                  [flag, f'"{save_name}"', text, f"[] {{ appendRoutes({routes}); }}", names,
                   str(panel[0]), str(panel[1])], "};")
    return out + ["", f"void {builder}()", "{", f"    buildBuiltinMap({variable});", "}"]


def map_text_source(lines, function, title, script):
    """The source of a map-text function: the text's lines appended to `mapFileLines`."""
    out = [
        f"// {title}",
        f"// Generated by tools/authoring/{script}: change the script and regenerate;",
        "// do not edit this file by hand.",
        "",
        '#include "maps/MapTexts.h"',
        '#include "state/MapFile.h"',
        "",
        "namespace {",
        "",
        "// One literal per line; the trailing blanks of some lines are part of the text.",
    ]
    out += cpp_lines("kLines", lines)
    out += [
        "",
        "} // namespace",
        "",
        f"void {function}()",
        "{",
        "    appendMapLines(kLines);",
        "}",
    ]
    return "\n".join(out) + "\n"
