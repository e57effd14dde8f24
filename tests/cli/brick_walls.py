#!/usr/bin/python3
"""Every bond at every brick format, hatched by an independent reader (ezdxf, Debian's
python3-ezdxf), draws a wall of closed bricks of the format's sizes.

murvex-cli writes each bond with --format (which fills the brick's width) at a few rotations;
ezdxf reads the file and hatches a box; the hatching, turned back, must consist of closed
rectangles only: every horizontal piece away from the box's edges is a brick's length, its width
(a header) or a three-quarter brick long, has its twin one brick height above or below, and the
vertical pieces at both its ends run exactly one brick height between the two.

Usage: brick_walls.py MURVEX_CLI WORK_FOLDER
"""

import math
import subprocess
import sys
from collections import defaultdict
from pathlib import Path

from ezdxf.tools import pattern as ezpattern

from ezdxf_hatching import hatch_segments
import ezdxf

CLI = sys.argv[1]
WORK = Path(sys.argv[2])
WORK.mkdir(parents=True, exist_ok=True)
EPS = 2e-3  # the file's three decimals, turned
failures = []


def run(*args):
    done = subprocess.run([CLI, *map(str, args)], capture_output=True)
    if done.returncode != 0:
        raise SystemExit(f"murvex-cli {' '.join(map(str, args))}: exit {done.returncode}\n"
                         f"{done.stderr.decode(errors='replace')}")
    return done.stdout.decode()


def merge(pieces):
    """Touching pieces on one line joined; pieces: {line: [(lo, hi)]}."""
    out = {}
    for at, spans in pieces.items():
        spans.sort()
        joined = [list(spans[0])]
        for lo, hi in spans[1:]:
            if lo <= joined[-1][1] + EPS:
                joined[-1][1] = max(joined[-1][1], hi)
            else:
                joined.append([lo, hi])
        out[at] = joined
    return out


def near_key(table, value):
    for key in (round(value, 2), round(value + 0.005, 2), round(value - 0.005, 2)):
        if key in table:
            return key
    return None


def check_wall(what, segments, turn, region, sizes, height):
    c, s = math.cos(turn), math.sin(turn)
    horizontal, vertical = defaultdict(list), defaultdict(list)
    for x1, y1, x2, y2 in segments:
        # turned back into the bond's own frame
        a = (x1 * c + y1 * s, -x1 * s + y1 * c)
        b = (x2 * c + y2 * s, -x2 * s + y2 * c)
        if abs(a[1] - b[1]) < EPS:
            horizontal[round((a[1] + b[1]) / 2, 2)].append((min(a[0], b[0]), max(a[0], b[0])))
        elif abs(a[0] - b[0]) < EPS:
            vertical[round((a[0] + b[0]) / 2, 2)].append((min(a[1], b[1]), max(a[1], b[1])))
        else:
            failures.append(f"{what}: a slanted line {a} - {b}")
            return
    horizontal, vertical = merge(horizontal), merge(vertical)
    rx0, ry0, rx1, ry1 = region
    bricks = 0
    for y, spans in horizontal.items():
        for lo, hi in spans:
            if lo < rx0 or hi > rx1 or y < ry0 or y > ry1:
                continue
            if not any(abs(hi - lo - size) < EPS for size in sizes):
                failures.append(f"{what}: an edge of {hi - lo:.3f} at y={y} x={lo:.3f}")
                return
            twins = [y2 for y2 in (y + height, y - height)
                     if (k := near_key(horizontal, y2)) is not None and
                     any(abs(a - lo) < EPS and abs(b - hi) < EPS for a, b in horizontal[k])]
            if len(twins) != 1:
                failures.append(f"{what}: the edge at y={y} x={lo:.3f} closes no brick")
                return
            bottom = min(y, twins[0])
            for x in (lo, hi):
                k = near_key(vertical, x)
                if k is None or not any(abs(a - bottom) < EPS and abs(b - bottom - height) < EPS
                                        for a, b in vertical[k]):
                    failures.append(f"{what}: no side of {height} at x={x:.3f} y={bottom:.3f}")
                    return
            bricks += 1
    for x, spans in vertical.items():
        for lo, hi in spans:
            if rx0 <= x <= rx1 and lo >= ry0 and hi <= ry1 and abs(hi - lo - height) > EPS:
                failures.append(f"{what}: a side of {hi - lo:.3f} at x={x}")
                return
    if bricks < 4:
        failures.append(f"{what}: only {bricks} bricks checked")


def main():
    formats = []
    for line in run("formats").splitlines():
        name, _, size = line.partition("\t")
        numbers = [float(v) for v in size.replace("mm", "").split("x")]
        if len(numbers) == 3 and name.strip():
            formats.append((name.strip(), *numbers))
    bonds = [line.split(None, 1)[1].strip() for line in run("bonds").splitlines() if line.strip()]
    if len(formats) < 10 or len(bonds) != 10:
        raise SystemExit(f"read {len(formats)} formats and {len(bonds)} bonds")
    checked = 0
    for name, length, width, height in formats:
        joint = 10.0
        sizes = (length, width, length - (length + joint) / 4)
        for bond in bonds:
            for rotation in (0, 30):
                what = f"{bond} {name} {rotation}"
                path = WORK / f"{bond}-{name.replace(' ', '_')}-{rotation}.pat"
                run("bond", "--bond", bond, "--format", name, "--rotation", rotation,
                    "--compatible", "--force", "-o", path)
                definition = next(iter(ezpattern.parse(path.read_bytes().decode("cp1252"))
                                       .values()))
                side = 2600.0
                turn = math.radians(rotation)
                reach = side / 2 * (abs(math.cos(turn)) + abs(math.sin(turn)))
                segments = hatch_segments(definition, (-reach, -reach, reach, reach))
                margin = 2 * length
                check_wall(what, segments, turn, (margin - side / 2, margin - side / 2,
                                                  side / 2 - margin, side / 2 - margin),
                           sizes, height)
                checked += 1
    if failures:
        print("\n".join(failures[:40]))
        print(f"{len(failures)} of {checked} walls fail")
        return 1
    print(f"{checked} walls of closed bricks")
    return 0


if __name__ == "__main__":
    sys.exit(main())
