"""Random drawings written by ezdxf, read by murvex-cli figure-read: the tile is the TEGEL
rectangle (a closed LWPOLYLINE or four LINEs) as ezdxf places it, through blocks turned by
quarter turns, mirrored by scale or extrusion, scaled and nested; each line is one row, each arc
a chain of rows from its start to its end within the chord tolerance, and nothing else is a row.

Usage: ezdxf_drawings.py [RUNNER] MURVEX_CLI WORK_FOLDER
"""
import json
import math
import random
import subprocess
import sys
from pathlib import Path

try:
    import ezdxf
    from ezdxf.disassemble import recursive_decompose
except ImportError:
    sys.exit("python3-ezdxf is missing (scripts/install-deps installs it)")

CLI, WORK = sys.argv[1:-1], Path(sys.argv[-1])
WORK.mkdir(parents=True, exist_ok=True)
ROUNDS = 120
# The rows are written with three decimals.
ROW = 6e-4
failures = []


def placement(rng):
    """Insert attributes: a quarter turn, a mirror (none, by scale or by extrusion), a scale."""
    factor = rng.choice((1, 2))
    attribs = {"rotation": 90 * rng.randrange(4), "xscale": factor, "yscale": factor}
    mirror = rng.randrange(3)
    if mirror == 1:
        attribs["xscale"] = -factor
    elif mirror == 2:
        attribs["extrusion"] = (0, 0, -1)
    return attribs


def drawing(rng, path):
    doc = ezdxf.new("R2000")
    doc.layers.add("TEGEL")
    w, h = rng.randint(5, 40), rng.randint(5, 40)
    block = doc.blocks.new("F")
    corners = [(0, 0), (w, 0), (w, h), (0, h)]
    if rng.random() < 0.5:
        block.add_lwpolyline(corners, close=True, dxfattribs={"layer": "TEGEL"})
    else:
        edges = [(corners[i], corners[(i + 1) % 4]) for i in range(4)]
        rng.shuffle(edges)
        for a, b in edges:
            if rng.random() < 0.5:
                a, b = b, a
            block.add_line(a, b, dxfattribs={"layer": "TEGEL"})
    inside = lambda size: rng.uniform(0.1 * size, 0.9 * size)
    for _ in range(rng.randint(1, 5)):
        block.add_line((inside(w), inside(h)), (inside(w), inside(h)))
    for _ in range(rng.randint(0, 3)):
        r = rng.uniform(0.5, 0.4 * min(w, h))
        centre = (rng.uniform(r + 0.1, w - r - 0.1), rng.uniform(r + 0.1, h - r - 0.1))
        start = rng.uniform(0, 360)
        block.add_arc(centre, r, start, start + rng.uniform(20, 340))
    name = "F"
    if rng.random() < 0.5:
        outer = doc.blocks.new("G")
        outer.add_blockref("F", (rng.randint(-50, 50), rng.randint(-50, 50)),
                           dxfattribs=placement(rng))
        name = "G"
    doc.modelspace().add_blockref(name, (rng.randint(-500, 500), rng.randint(-500, 500)),
                                  dxfattribs=placement(rng))
    doc.saveas(path)
    return doc


def held(doc):
    """The rectangle's corners, the lines and the arcs as ezdxf places them (world coordinates)."""
    corners, lines, arcs = [], [], []
    for e in recursive_decompose(doc.modelspace()):
        kind = e.dxftype()
        if kind == "LWPOLYLINE":
            corners += [(p.x, p.y) for p in e.vertices_in_wcs()]
        elif kind == "LINE":
            ends = ((e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y))
            (corners.extend(ends) if e.dxf.layer == "TEGEL" else lines.append(ends))
        elif kind == "ARC":
            centre = e.ocs().to_wcs(e.dxf.center)
            ends = [(p.x, p.y) for p in (e.start_point, e.end_point)]
            sweep = (e.dxf.end_angle - e.dxf.start_angle) % 360
            arcs.append(((centre.x, centre.y), e.dxf.radius, ends, math.radians(sweep)))
        else:
            failures.append(f"ezdxf placed an unexpected {kind}")
    return corners, lines, arcs


def near(p, q):
    return abs(p[0] - q[0]) <= ROW and abs(p[1] - q[1]) <= ROW


def check(what, doc, path):
    done = subprocess.run([*CLI, "figure-read", "--json", str(path)], capture_output=True)
    if done.returncode != 0:
        failures.append(f"{what}: exit {done.returncode}: {done.stderr.decode(errors='replace')}")
        return
    got = json.loads(done.stdout)
    imported = got["import"]
    corners, lines, arcs = held(doc)
    xs, ys = [p[0] for p in corners], [p[1] for p in corners]
    low = (min(xs), min(ys))
    want_tile = [low[0], low[1], max(xs), max(ys)]
    if imported["tileSource"] != "layer" or any(
            abs(a - b) > 1e-9 for a, b in zip(imported["tile"], want_tile)):
        failures.append(f"{what}: tile {imported['tile']} ({imported['tileSource']}), "
                        f"the rectangle is {want_tile}")
        return
    if (got["width"], got["height"]) != (round(max(xs) - low[0]), round(max(ys) - low[1])):
        failures.append(f"{what}: {got['width']} x {got['height']}")
    rows = [((float(r[0]) + low[0], float(r[1]) + low[1]), (float(r[2]) + low[0],
                                                            float(r[3]) + low[1]))
            for r in got["rows"]]
    left = list(rows)
    for a, b in lines:
        match = [r for r in left if (near(r[0], a) and near(r[1], b)) or
                 (near(r[0], b) and near(r[1], a))]
        if len(match) != 1:
            failures.append(f"{what}: line {a} {b} is {len(match)} rows")
            return
        left.remove(match[0])
    tolerance = imported["chordTolerance"]
    for centre, radius, ends, sweep in arcs:
        on = lambda p: abs(math.dist(p, centre) - radius) <= 2 * ROW
        chords = [r for r in left if on(r[0]) and on(r[1])]
        for r in chords:
            left.remove(r)
            middle = ((r[0][0] + r[1][0]) / 2, (r[0][1] + r[1][1]) / 2)
            if radius - math.dist(middle, centre) > tolerance + ROW:
                failures.append(f"{what}: a chord strays from its arc")
        # A chain from the start to the end that turns through the arc's sweep.
        point, turned = ends[0], 0.0
        while chords and not near(point, ends[1]):
            step = [r for r in chords if near(r[0], point) or near(r[1], point)]
            if len(step) != 1:
                break
            chords.remove(step[0])
            nxt = step[0][1] if near(step[0][0], point) else step[0][0]
            turned += 2 * math.asin(min(1.0, math.dist(point, nxt) / (2 * radius)))
            point = nxt
        if chords or not near(point, ends[1]) or abs(turned - sweep) > 1e-3 * max(1, sweep):
            failures.append(f"{what}: arc of radius {radius:.3f} is not one chain of its chords "
                            f"({len(chords)} left, turned {turned:.4f} of {sweep:.4f})")
    if left:
        failures.append(f"{what}: {len(left)} rows are neither a line nor an arc: {left[:3]}")


def main():
    rng = random.Random(31)
    for number in range(ROUNDS):
        path = WORK / f"drawing{number}.dxf"
        doc = drawing(rng, path)
        check(f"drawing {number} ({path})", doc, path)
    print("\n".join(failures[:20] + [f"{ROUNDS} drawings, {len(failures)} failures"]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
