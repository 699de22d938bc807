"""Shared pieces of the map-text authoring scripts (tools/authoring/maptext_*.py).

Each script describes one map: its header, its continents, its adjacency and the rows that
are fixed word for word. What is left to us (label positions, the order of neighbours) is
chosen here, deterministically, and then the finished text is read back by an independent
little parser (`read_text`) and held against every figure the map must show (`verify`).
Only a text that passes is printed, as the C++ source of its map-text function.

Standard library only.
"""

import math
import random
import sys

from authoring_lib import (MIN_LABEL_GAP, boxes_apart, continent_line, expect, fail, hop_counts,
                           map_file_lines, map_text_source, passes_near, segments_cross,
                           stress_majorise, territory_line)

PANEL_W, PANEL_H = 150, 130  # room kept free for the box that lists the players
LINK_END = 0.05  # the share of a link at each end where a label it passes does not count


# ---------------------------------------------------------------------------------------------
# Small helpers

def pairs(text):
    """'1-2, 3-4' (hyphens or en dashes) as a list of (smaller, larger) tuples."""
    out = []
    for item in text.replace("\u2013", "-").split(","):
        item = item.strip()
        if not item:
            continue
        a, b = (int(v) for v in item.split("-"))
        out.append((min(a, b), max(a, b)))
    return out


def adjacency(pair_list, n):
    adj = {t: set() for t in range(1, n + 1)}
    for a, b in pair_list:
        adj[a].add(b)
        adj[b].add(a)
    return adj


def is_ascending(values):
    return all(a < b for a, b in zip(values, values[1:]))


# ---------------------------------------------------------------------------------------------
# The text

class MapText:
    """One map as the lines of a map file. Continents are (bonus, name, members, blank);
    rows map a territory to (code, x, y, neighbours, blank); `blank` is a trailing blank."""

    def __init__(self, name, panel, smilies):
        self.name = name
        self.panel = panel
        self.smilies = smilies
        self.continents = []
        self.rows = {}

    def add_continent(self, bonus, name, members, blank=False):
        self.continents.append((bonus, name, list(members), blank))

    def set_row(self, t, code, x, y, neighbours, blank=False):
        self.rows[t] = (code, x, y, list(neighbours), blank)

    def set_quoted(self, line):
        """A row given word for word (a trailing blank included)."""
        words = line.split()
        t = int(words[0])
        self.rows[t] = (words[1], int(words[2], 10), int(words[3], 10),
                        [int(w) for w in words[4:]], line.endswith(" "))
        self.quoted_lines = getattr(self, "quoted_lines", {})
        self.quoted_lines[t] = line

    def set_quoted_rows(self, lines, links=None):
        """Rows given word for word; with `links` (territory -> its neighbours), each row must
        list exactly its territory's neighbours."""
        for line in lines:
            words = line.split()
            expect(links is None or set(map(int, words[4:])) == links[int(words[0])],
                   f"links disagree with {line!r}")
            self.set_quoted(line)

    def lines(self):
        quoted = getattr(self, "quoted_lines", {})
        rows = [quoted[t] if t in quoted else territory_line(t, *self.rows[t])
                for t in range(1, len(self.rows) + 1)]
        return map_file_lines(self.name, self.panel, self.smilies,
                              [continent_line(*c) for c in self.continents], rows)


# ---------------------------------------------------------------------------------------------
# Reading a text back, the way the game's parser does

class ParsedMap:
    pass


def read_text(lines):
    """Parses the lines like the map parser: sections by header prefix, the word after
    "[map]" cut to 13 characters, continents and territories numbered by their line's place,
    a territory belonging to the first continent that lists it."""
    headers = ["[map]", "[player names]", "[smilies and codes]", "[continents]", "[territories]"]
    p = ParsedMap()
    p.map_name, p.panel, p.smilies = "noname", (10, 10), False
    p.continents, p.codes, p.pos, p.neighbours = [], {}, {}, {}
    section, pending = None, False
    for line in lines:
        words = line.split()
        if section in ("[map]", "[player names]", "[smilies and codes]") and pending:
            pending = False
            if section == "[map]":
                p.map_name = (words[0][:13] if words else "noname")
            elif section == "[player names]" and words:
                p.panel = (int(words[0]), int(words[1]) if len(words) > 1 else 10)
            elif section == "[smilies and codes]":
                p.smilies = bool(words) and words[0][0] == "Y"
        elif section == "[continents]" and words and words[0].lstrip("-").isdigit():
            p.continents.append((int(words[0]), words[1][:20],
                                 [int(w) for w in words[2:22] if int(w) > 0]))
        elif section == "[territories]" and words and words[0].isdigit():
            t = len(p.codes) + 1
            p.codes[t] = words[1][:3]
            p.pos[t] = (int(words[2], 10), int(words[3], 10))
            p.neighbours[t] = [int(w) for w in words[4:15] if int(w) > 0]
        for h in headers:
            if line.startswith(h):
                section, pending = h, True
    p.map_name = (p.map_name + " " * 15)[:14]
    n = len(p.codes)
    p.home = {}
    for t in range(1, n + 1):
        p.home[t] = next((c for c, (_, _, m) in enumerate(p.continents, 1) if t in m), 0)
    p.borders = []
    for c, (_, _, members) in enumerate(p.continents, 1):
        p.borders.append([m for m in members
                          if any(m in p.neighbours[o] and p.home[o] != c for o in range(1, n + 1))])
    p.max_border = max(len(b) for b in p.borders)
    p.total_border = sum(len(b) for b in p.borders)
    p.max_size = max(len(m) for _, _, m in p.continents)
    return p


def listed_pairs(p):
    """Mutual pairs and one-sided links (from, to) as the rows list them."""
    mutual, one_sided = set(), set()
    for t, ns in p.neighbours.items():
        for u in ns:
            if t in p.neighbours.get(u, []):
                mutual.add((min(t, u), max(t, u)))
            else:
                one_sided.add((t, u))
    return mutual, one_sided


def verify(lines, facts):
    """Holds the finished text against the map's stated figures; stops the script on the
    first that does not hold. `facts` is a dict; every key is optional but `territories`."""
    f = facts
    n = f["territories"]
    expect(len(lines) == f["line_count"], f"{len(lines)} lines, not {f['line_count']}")
    for line in lines:
        expect(line.isascii() and "\t" not in line and not line.startswith(" ")
               and "  " not in line and len(line) <= 103, f"badly formed line {line!r}")
    expect(lines[-1] != "", "the text ends in an empty line")
    p = read_text(lines)
    expect(len(p.codes) == n, f"{len(p.codes)} territories")
    expect(len(p.continents) == f["continent_count"], f"{len(p.continents)} continents")
    if "map_name" in f:
        expect(p.map_name == f["map_name"], f"map name {p.map_name!r}")

    # Every territory line carries its own number.
    first = lines.index("[territories]") + 1
    for t in range(1, n + 1):
        expect(lines[first + t - 1].split()[0] == str(t), f"number column of row {t}")

    if "continents" in f:
        for c, (want, got) in enumerate(zip(f["continents"], p.continents), 1):
            expect(tuple(want[:3]) == (got[0], got[1], got[2]), f"continent {c}: {got}")
            if len(want) > 3:
                expect(list(want[3]) == p.borders[c - 1],
                       f"borders of continent {c}: {p.borders[c - 1]} not {list(want[3])}")
    for key, value in (("max_border", p.max_border), ("total_border", p.total_border),
                       ("max_size", p.max_size)):
        if key in f:
            expect(value == f[key], f"{key} is {value}, not {f[key]}")

    mutual, one_sided = listed_pairs(p)
    if "pairs" in f:
        want = set(f["pairs"])
        expect(mutual == want, f"pairs differ: extra {sorted(mutual - want)[:8]} "
                               f"missing {sorted(want - mutual)[:8]}")
    expect(one_sided == set(f.get("one_sided", [])), f"one-sided links {sorted(one_sided)}")
    for t, ns in p.neighbours.items():
        expect(len(ns) == len(set(ns)), f"row {t} lists a number twice")
        expect(all(1 <= u <= n for u in ns), f"row {t} lists a number out of range")
        expect(t not in ns or t in f.get("self_listed", []), f"row {t} lists itself")
    if "histogram" in f:
        hist = {}
        for ns in p.neighbours.values():
            hist[len(ns)] = hist.get(len(ns), 0) + 1
        expect(hist == f["histogram"], f"neighbour counts {sorted(hist.items())}")
    ascending = {t for t, ns in p.neighbours.items() if is_ascending(ns)}
    if "ascending_count" in f:
        expect(len(ascending) == f["ascending_count"], f"{len(ascending)} ascending rows")
    if "ascending_rows" in f:
        expect(ascending == set(f["ascending_rows"]),
               f"ascending rows {sorted(ascending ^ set(f['ascending_rows']))} differ")

    blanks = {i + 1 for i, line in enumerate(lines) if line.endswith(" ")}
    expect(blanks == set(f.get("trailing_blank_lines", [])),
           f"trailing blanks on lines {sorted(blanks)}")
    for number, text in f.get("quoted_lines", {}).items():
        expect(lines[number - 1] == text, f"line {number} is {lines[number - 1]!r}")

    if "codes" in f:
        expect([p.codes[t] for t in range(1, n + 1)] == list(f["codes"]), "territory codes")
    if "box" in f:
        check_box(p.pos, range(1, n + 1), f["box"], "the map")
    for members, box in f.get("group_boxes", []):
        check_box(p.pos, members, box, f"group {members[0]}..")
    if f.get("free_rows"):
        check_spacing(p.pos, f["free_rows"], n)
        check_panel(p.pos, f["free_rows"], p.panel)
    for check in f.get("extra_checks", []):
        check(p)
    return p


def check_box(pos, members, box, what):
    x0, x1, y0, y1 = box
    xs = [pos[t][0] for t in members]
    ys = [pos[t][1] for t in members]
    expect(min(xs) == x0 and max(xs) == x1, f"{what}: x runs {min(xs)}..{max(xs)}, not {x0}..{x1}")
    expect(min(ys) == y0 and max(ys) == y1, f"{what}: y runs {min(ys)}..{max(ys)}, not {y0}..{y1}")


def check_spacing(pos, free_rows, n):
    """Labels we placed stand at least MIN_LABEL_GAP from every other label."""
    for t in free_rows:
        for u in range(1, n + 1):
            if u != t:
                d = math.dist(pos[t], pos[u])
                expect(d >= MIN_LABEL_GAP, f"labels {t} and {u} only {d:.1f} apart")


def check_panel(pos, free_rows, panel):
    for t in free_rows:
        x, y = pos[t]
        expect(not in_panel((x, y), panel), f"label {t} under the player panel")


def out_of_panel(point, panel, margin=13):
    """The nearest point just outside the player panel's box."""
    x, y = point
    exits = [(x - (panel[0] - margin), [panel[0] - margin, y]),
             ((panel[0] + PANEL_W + margin) - x, [panel[0] + PANEL_W + margin, y]),
             (y - (panel[1] - margin), [x, panel[1] - margin]),
             ((panel[1] + PANEL_H + margin) - y, [x, panel[1] + PANEL_H + margin])]
    return min(exits)[1]


def in_panel(point, panel, margin=12):
    x, y = point
    return (panel[0] - margin <= x <= panel[0] + PANEL_W + margin
            and panel[1] - margin <= y <= panel[1] + PANEL_H + margin)


# ---------------------------------------------------------------------------------------------
# Neighbour order

def order_rows(neighbour_sets, fixed_orders, target_ascending, natural, rng_seed):
    """Writes each row's neighbours so that exactly `target_ascending` rows (counted over all
    rows, the fixed ones included) are ascending. `natural(t, neighbours)` gives the order we
    would like; rows are then sorted or unsorted one by one, spread over the map, until the
    count is met. Rows of one neighbour are always ascending."""
    rng = random.Random(rng_seed)
    rows = {}
    for t, ns in neighbour_sets.items():
        rows[t] = list(fixed_orders[t]) if t in fixed_orders else list(natural(t, sorted(ns)))
    free = [t for t in sorted(rows) if t not in fixed_orders and len(rows[t]) > 1]
    rng.shuffle(free)
    count = sum(is_ascending(r) for r in rows.values())
    for t in free:
        if count == target_ascending:
            break
        if count > target_ascending and is_ascending(rows[t]):
            r = rows[t]
            r[-1], r[-2] = r[-2], r[-1]
            count -= 1
        elif count < target_ascending and not is_ascending(rows[t]):
            rows[t].sort()
            count += 1
    expect(count == target_ascending, f"could not order the rows: {count} ascending")
    return rows


def home_first(home):
    """A natural order: the neighbours of the territory's own continent, then the others."""
    def natural(t, ns):
        return [u for u in ns if home.get(u) == home.get(t)] + \
               [u for u in ns if home.get(u) != home.get(t)]
    return natural


def clockwise(pos):
    """A natural order: the neighbours clockwise round the territory, from straight up."""
    def natural(t, ns):
        x, y = pos[t]
        return sorted(ns, key=lambda u: math.atan2(pos[u][0] - x, -(pos[u][1] - y)) % (2 * math.pi))
    return natural


# ---------------------------------------------------------------------------------------------
# Geography

def fit_affine(src, dst):
    """Least-squares affine map taking the points `src` to `dst` (lists of (x, y))."""
    def solve3(m, v):
        m = [row[:] + [v[i]] for i, row in enumerate(m)]
        for col in range(3):
            piv = max(range(col, 3), key=lambda r: abs(m[r][col]))
            m[col], m[piv] = m[piv], m[col]
            for r in range(3):
                if r != col:
                    k = m[r][col] / m[col][col]
                    m[r] = [a - k * b for a, b in zip(m[r], m[col])]
        return [m[i][3] / m[i][i] for i in range(3)]

    ata = [[0.0] * 3 for _ in range(3)]
    atx, aty = [0.0] * 3, [0.0] * 3
    for (u, v), (x, y) in zip(src, dst):
        row = (u, v, 1.0)
        for i in range(3):
            for j in range(3):
                ata[i][j] += row[i] * row[j]
            atx[i] += row[i] * x
            aty[i] += row[i] * y
    cx, cy = solve3(ata, atx), solve3(ata, aty)
    return lambda p: (cx[0] * p[0] + cx[1] * p[1] + cx[2], cy[0] * p[0] + cy[1] * p[1] + cy[2])


def equirectangular(lat0):
    """Longitude and latitude to flat coordinates, true to scale at latitude `lat0`."""
    k = math.cos(math.radians(lat0))
    return lambda lat, lon: (lon * k, -lat)


# ---------------------------------------------------------------------------------------------
# Placement: labels on candidate points, chosen by simulated annealing

def grid_points(box, spacing, keep=lambda p: True):
    """Integer points of a staggered grid over box (x0, x1, y0, y1), its edges included."""
    x0, x1, y0, y1 = box
    row_step = spacing * 0.87
    rows = max(1, round((y1 - y0) / row_step))
    cols = max(1, round((x1 - x0) / spacing))
    pts = []
    for r in range(rows + 1):
        y = y0 + (y1 - y0) * r / rows
        shift = 0.5 if r % 2 else 0.0
        for c in range(cols + 1):
            x = x0 + (x1 - x0) * min(1.0, (c + shift) / cols)
            pt = (int(round(x)), int(round(y)))
            if keep(pt) and pt not in pts:
                pts.append(pt)
    return pts


class Placement:
    """Places the free labels of a map on candidate points.

    territories: all numbers; fixed: {t: (x, y)} labels that do not move; candidates:
    {t: [points]} where each free label may stand; links: [(a, b, weight)] kept short
    (weight 0: drawn but not pulled); drawn: the links whose crossings count; anchors:
    {t: ((x, y), weight)} soft targets."""

    def __init__(self, territories, fixed, candidates, links, anchors=None, gap=MIN_LABEL_GAP + 3,
                 crossing_cost=6.0, near_cost=3.0, length_scale=60.0, seed=1, hidden=(),
                 required_crossings=()):
        self.territories = list(territories)
        self.fixed = dict(fixed)
        self.candidates = candidates
        self.links = [(a, b, w) for a, b, w in links]
        hidden = {tuple(sorted(p)) for p in hidden}
        self.drawn = [tuple(sorted((a, b))) not in hidden for a, b, _ in self.links]
        index = {tuple(sorted((a, b))): i for i, (a, b, _) in enumerate(self.links)}
        self.required = {frozenset((index[tuple(sorted(p))], index[tuple(sorted(q))]))
                         for p, q in required_crossings}
        self.anchors = anchors or {}
        self.gap = gap
        self.crossing_cost = crossing_cost
        self.near_cost = near_cost
        self.length_scale = length_scale
        self.rng = random.Random(seed)
        self.links_of = {t: [] for t in self.territories}
        for i, (a, b, _) in enumerate(self.links):
            self.links_of[a].append(i)
            self.links_of[b].append(i)
        self.pos = dict(self.fixed)

    # -- set-up
    def start(self, guess):
        """Puts each free label on the free candidate nearest to `guess[t]`."""
        free = [t for t in self.territories if t not in self.fixed]
        free.sort(key=lambda t: (len(self.candidates[t]), t))
        for t in free:
            best = None
            for pt in sorted(self.candidates[t], key=lambda q: math.dist(q, guess[t])):
                if self.room_at(t, pt):
                    best = pt
                    break
            expect(best is not None, f"no room for label {t}")
            self.pos[t] = best

    def room_at(self, t, pt):
        return all(math.dist(pt, q) >= self.gap for u, q in self.pos.items() if u != t)

    # -- cost
    def link_cost(self, i, pos):
        a, b, w = self.links[i]
        d = math.dist(pos[a], pos[b]) / self.length_scale
        return w * d * d

    def local_cost(self, t, pos):
        cost = 0.0
        here = pos[t]
        for i in self.links_of[t]:
            a, b, _ = self.links[i]
            cost += self.link_cost(i, pos)
            if not self.drawn[i]:
                continue
            p, q = pos[a], pos[b]
            for j, (c, d, _) in enumerate(self.links):
                if j == i or not self.drawn[j] or c in (a, b) or d in (a, b):
                    continue
                r, s = pos[c], pos[d]
                crosses = not boxes_apart(p, q, r, s) and segments_cross(p, q, r, s)
                if crosses != (frozenset((i, j)) in self.required):
                    cost += self.crossing_cost
            for v, r in pos.items():
                if v not in (a, b) and passes_near(p, q, r, margin=LINK_END):
                    cost += self.near_cost
        for j, (c, d, _) in enumerate(self.links):
            if self.drawn[j] and t not in (c, d) and passes_near(pos[c], pos[d], here, margin=LINK_END):
                cost += self.near_cost
        if t in self.anchors:
            (ax, ay), w = self.anchors[t]
            dd = math.dist(here, (ax, ay)) / self.length_scale
            cost += w * dd * dd
        return cost

    # -- search
    def anneal(self, steps, heat=2.0, reach=(160, 30), focus=()):
        free = [t for t in self.territories if t not in self.fixed]
        focus = [t for t in focus if t not in self.fixed]
        for step in range(steps):
            progress = step / steps
            temp = heat * (1 - progress) ** 2 + 0.01
            radius = reach[0] * (1 - progress) + reach[1] * progress
            t = self.rng.choice(focus if focus and self.rng.random() < 0.5 else free)
            here = self.pos[t]
            if self.rng.random() < 0.3:
                mates = [u for u in free if u != t and here in self.candidates[u]
                         and self.pos[u] in self.candidates[t]
                         and math.dist(self.pos[u], here) < radius]
                if not mates:
                    continue
                u = self.rng.choice(mates)
                there = self.pos[u]
                before = self.local_cost(t, self.pos) + self.local_cost(u, self.pos)
                self.pos[t], self.pos[u] = there, here
                after = self.local_cost(t, self.pos) + self.local_cost(u, self.pos)
                delta = after - before
                if delta > 0 and self.rng.random() >= math.exp(-delta / temp):
                    self.pos[t], self.pos[u] = here, there
                continue
            options = [q for q in self.candidates[t] if math.dist(q, here) < radius and q != here]
            if not options:
                continue
            where = self.rng.choice(options)
            if not self.room_at(t, where):
                continue
            before = self.local_cost(t, self.pos)
            self.pos[t] = where
            after = self.local_cost(t, self.pos)
            delta = after - before
            if delta > 0 and self.rng.random() >= math.exp(-delta / temp):
                self.pos[t] = here

    def crossings(self):
        """The drawn links that cross (other than required), and required pairs that do not."""
        found = []
        for i, (a, b, _) in enumerate(self.links):
            for j in range(i + 1, len(self.links)):
                c, d, _ = self.links[j]
                if not (self.drawn[i] and self.drawn[j]) or len({a, b, c, d}) < 4:
                    continue
                crosses = segments_cross(self.pos[a], self.pos[b], self.pos[c], self.pos[d])
                if crosses != (frozenset((i, j)) in self.required):
                    found.append(((a, b), (c, d)))
        return found


def stress_guess(territories, links, fixed, start, hop_length=50.0, iterations=80):
    """Positions whose distances follow the hop counts along `links` (stress majorisation);
    fixed labels hold still. A good starting point for the annealing."""
    adj = {t: set() for t in territories}
    for a, b in links:
        adj[a].add(b)
        adj[b].add(a)
    hops = {}
    for s in territories:
        dist = hop_counts(adj, s)
        far = max(dist.values()) + 2
        hops[s] = {t: dist.get(t, far) for t in territories}
    pos = {t: list(start[t]) for t in territories}
    for t, p in fixed.items():
        pos[t] = list(p)
    free = [t for t in territories if t not in fixed]
    stress_majorise(pos, territories, free, hops, hop_length, iterations)
    return {t: tuple(p) for t, p in pos.items()}


def reach_edges(pos, members, box, fixed, gap=MIN_LABEL_GAP, panel=None):
    """Moves, for each edge of `box` that no member's label touches yet, the free member
    nearest that edge onto it (when it keeps its distance from every label)."""
    x0, x1, y0, y1 = box
    free = [t for t in members if t not in fixed]
    for axis, value in ((0, x0), (0, x1), (1, y0), (1, y1)):
        if any(pos[t][axis] == value for t in members):
            continue
        for t in sorted(free, key=lambda u: abs(pos[u][axis] - value)):
            moved = list(pos[t])
            moved[axis] = value
            moved = tuple(moved)
            if all(math.dist(moved, q) >= gap for u, q in pos.items() if u != t) and \
                    (panel is None or not in_panel(moved, panel)):
                pos[t] = moved
                break
        else:
            fail(f"no label can reach {'xy'[axis]} = {value}")


# ---------------------------------------------------------------------------------------------
# Output

def emit(lines, function, title, script):
    sys.stdout.write(map_text_source(lines, function, title, script))


def spread(pos, fixed, box, gap=MIN_LABEL_GAP + 2, panel=None, rounds=400):
    """Pushes labels that stand closer than `gap` apart, as little as it takes; fixed labels
    hold still, the others stay inside `box` (x0, x1, y0, y1) and out of the player panel."""
    pos = {t: list(p) for t, p in pos.items()}
    x0, x1, y0, y1 = box
    keys = sorted(pos)
    for _ in range(rounds):
        moved = False
        for i, a in enumerate(keys):
            for b in keys[i + 1:]:
                if a in fixed and b in fixed:
                    continue
                dx, dy = pos[b][0] - pos[a][0], pos[b][1] - pos[a][1]
                d = math.hypot(dx, dy)
                if d >= gap:
                    continue
                if d < 1e-6:
                    dx, dy, d = 1.0, 0.5, math.hypot(1.0, 0.5)
                push = (gap - d) / d * 0.55
                share_a = 0.0 if a in fixed else (1.0 if b in fixed else 0.5)
                share_b = 1.0 - share_a if (a in fixed or b in fixed) else 0.5
                pos[a][0] -= dx * push * share_a
                pos[a][1] -= dy * push * share_a
                pos[b][0] += dx * push * share_b
                pos[b][1] += dy * push * share_b
                moved = True
        for t in keys:
            if t in fixed:
                continue
            pos[t][0] = min(max(pos[t][0], x0), x1)
            pos[t][1] = min(max(pos[t][1], y0), y1)
            if panel and in_panel(pos[t], panel):
                pos[t] = out_of_panel(pos[t], panel)
        if not moved:
            break
    return {t: (int(round(p[0])), int(round(p[1]))) for t, p in pos.items()}


def warp_map(src_points, dst_points):
    """A map of the plane that takes each of `src_points` exactly onto its `dst_points`: the
    best affine fit, plus the fit's misses spread around by inverse squared distance."""
    fit = fit_affine(src_points, dst_points)
    misses = [((fx, fy), (dx - fx, dy - fy))
              for (fx, fy), (dx, dy) in ((fit(s), d) for s, d in zip(src_points, dst_points))]

    def apply(point):
        x, y = fit(point)
        wsum = ex = ey = 0.0
        for (mx, my), (rx, ry) in misses:
            d2 = (x - mx) ** 2 + (y - my) ** 2
            if d2 < 1e-9:
                return x + rx, y + ry
            w = 1.0 / d2
            wsum += w
            ex += w * rx
            ey += w * ry
        return x + ex / wsum, y + ey / wsum
    return apply


def assign_places(groups, places, fixed, links, seed=1, rounds=40):
    """Gives each free territory one of its group's places so that the linked labels stand
    close: swaps within a group while the summed squared link lengths fall.
    groups: {g: [territories]}, places: {g: [(x, y)]} (one per free territory)."""
    rng = random.Random(seed)
    pos = dict(fixed)
    for g, members in groups.items():
        free = [t for t in members if t not in fixed]
        expect(len(free) == len(places[g]), f"group {g}: {len(free)} territories, "
                                            f"{len(places[g])} places")
        for t, p in zip(free, places[g]):
            pos[t] = p
    links_of = {}
    for a, b in links:
        links_of.setdefault(a, []).append(b)
        links_of.setdefault(b, []).append(a)

    def cost(t):
        return sum(math.dist(pos[t], pos[u]) ** 2 for u in links_of.get(t, []))

    for _ in range(rounds):
        improved = False
        for g, members in groups.items():
            free = [t for t in members if t not in fixed]
            for i in range(len(free)):
                for j in range(i + 1, len(free)):
                    a, b = free[i], free[j]
                    before = cost(a) + cost(b)
                    pos[a], pos[b] = pos[b], pos[a]
                    if cost(a) + cost(b) < before - 1e-6:
                        improved = True
                    else:
                        pos[a], pos[b] = pos[b], pos[a]
        if not improved:
            break
        rng.random()
    return pos


def fill_box(guess, members, box, fixed):
    """Stretches the free members' guessed positions so that they span `box` exactly."""
    free = [t for t in members if t not in fixed]
    if not free:
        return
    xs = [guess[t][0] for t in free]
    ys = [guess[t][1] for t in free]
    x0, x1, y0, y1 = box
    for t in free:
        gx = (guess[t][0] - min(xs)) / ((max(xs) - min(xs)) or 1)
        gy = (guess[t][1] - min(ys)) / ((max(ys) - min(ys)) or 1)
        guess[t] = (x0 + gx * (x1 - x0), y0 + gy * (y1 - y0))


def place_labels(territories, fixed, candidates, links, start, steps=20000, seed=1,
                 long_links=(), boxes=(), anchor_weight=0.4, crossing_cost=6.0,
                 hop_length=50.0, hidden=(), required_crossings=(), centres=(), report=None):
    """The whole placement: a stress layout from `start` (fixed labels held), stretched to
    fill each of `boxes` ((members, box) pairs) and kept as soft anchors; each free label put
    on its nearest candidate, then annealed against long links, crossings and labels that
    links pass close by. Links in `long_links` neither pull nor count as drawn (the picture
    marks them otherwise); `hidden` links pull but are not drawn."""
    territories = list(territories)
    long_links = {tuple(sorted(p)) for p in long_links}
    short = [p for p in links if tuple(sorted(p)) not in long_links]
    jitter = random.Random(seed)
    begin = {t: fixed[t] if t in fixed else (start[t][0] + jitter.uniform(-20, 20),
                                             start[t][1] + jitter.uniform(-20, 20))
             for t in territories}
    guess = stress_guess(territories, short, fixed, begin, hop_length=hop_length)
    # The layout is moved so that each group of `centres` sits round its centre, or stretched
    # to fill each of `boxes`; the labels are then kept near those places.
    anchors = {}
    for members, centre in centres:
        free = [t for t in members if t not in fixed]
        cx = sum(guess[t][0] for t in free) / len(free)
        cy = sum(guess[t][1] for t in free) / len(free)
        for t in free:
            guess[t] = (guess[t][0] + centre[0] - cx, guess[t][1] + centre[1] - cy)
            anchors[t] = (guess[t], anchor_weight)
    for members, box in boxes:
        fill_box(guess, members, box, fixed)
        anchors.update({t: (guess[t], anchor_weight) for t in members if t not in fixed})
    placement = Placement(territories, fixed, candidates,
                          [(a, b, 0.0 if tuple(sorted((a, b))) in long_links else 1.0)
                           for a, b in links],
                          anchors=anchors, crossing_cost=crossing_cost, seed=seed,
                          hidden=list(hidden) + list(long_links),
                          required_crossings=required_crossings)
    placement.start(guess)
    placement.anneal(steps)
    for _ in range(6):  # the last knots, worked on where they are
        knots = placement.crossings()
        if not knots or not required_crossings:
            break
        near = {t for (a, b), (c, d) in knots for t in (a, b, c, d)}
        near |= {u for t in near for i in placement.links_of[t] for u in placement.links[i][:2]}
        placement.anneal(steps // 4, heat=3.0, reach=(140, 30), focus=sorted(near))
    if report is not None:
        knots = placement.crossings()
        report.append(f"{len(knots)} crossings left" + (f": {knots}" if len(knots) < 6 else ""))
    return dict(placement.pos)


def candidates_in(box, fixed, spacing=30, panel=None, keep=lambda p: True):
    """Grid points of `box` that keep their distance from the fixed labels and the panel."""
    return grid_points(box, spacing, lambda p: keep(p)
                       and all(math.dist(p, q) >= MIN_LABEL_GAP + 3 for q in fixed.values())
                       and (panel is None or not in_panel(p, panel)))
