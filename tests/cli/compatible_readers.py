#!/usr/bin/python3
"""Files written the compatible way, read by an independent reader (ezdxf, Debian's python3-ezdxf).

Every bond, free line file and converted figure is written twice by murvex-cli: as specified
and with --compatible. The compatible file must be read by ezdxf as it stands (its bytes decoded,
nothing else), have no line over 80 characters and no empty line inside the pattern, and ezdxf's
hatching of it must draw the segments `murvex-cli segments` draws for the specified file, each end
within 1e-6 of the tile's smaller side: in a box at the origin and in a box at the far corner of
100 x 100 tiles, where shortened numbers move the copies most.

Usage: compatible_readers.py MURVEX_CLI WORK_FOLDER
Prints how many figure lines were written with fewer decimals and the largest deviation seen.
"""

import math
import random
import subprocess
import sys
from collections import defaultdict
from pathlib import Path

import ezdxf
from ezdxf.render import hatching
from ezdxf.math import Vec2
from ezdxf.tools import pattern as ezpattern

from ezdxf_hatching import hatch_segments

CLI = sys.argv[1]
WORK = Path(sys.argv[2])
WORK.mkdir(parents=True, exist_ok=True)
LINE_LIMIT = 80
failures = []


def run(*args, ok=(0,)):
    done = subprocess.run([CLI, *map(str, args)], capture_output=True)
    if done.returncode not in ok:
        raise SystemExit(f"murvex-cli {' '.join(map(str, args))}: exit {done.returncode}\n"
                         f"{done.stderr.decode(errors='replace')}")
    return done.stdout


def fail(what, message):
    failures.append(f"{what}: {message}")


def check_bytes(what, data, long_lines):
    """CR LF after every line, no empty line after the name line, and none over 80 characters
    but those the caller allows (collected in long_lines when it is a list)."""
    if not data.endswith(b"\r\n") or data.replace(b"\r\n", b"").count(b"\n") or \
            data.replace(b"\r\n", b"").count(b"\r"):
        fail(what, "not every line ends with CR LF")
    named = False
    for number, line in enumerate(data.split(b"\r\n")[:-1], 1):
        if len(line) > LINE_LIMIT:
            if long_lines is None:
                fail(what, f"line {number} has {len(line)} characters")
            else:
                long_lines.append(number)
        if named and not line.strip():
            fail(what, f"line {number} is empty inside the pattern")
        named = named or line.startswith(b"*")


def ezdxf_segments(definition, box):
    return hatch_segments(definition, box)


def murvex_segments(path, box):
    out = run("segments", path, "--box", *box, "--decimals", 9)
    return [tuple(map(float, line.split())) for line in out.decode().splitlines()]


def on_edge(x, y, box, eps=1e-7):
    x0, y0, x1, y1 = box
    return min(abs(x - x0), abs(x - x1)) < eps or min(abs(y - y0), abs(y - y1)) < eps


def end_distance(p, q, direction, box):
    """How far apart two ends are. Ends cut by the box's edge are compared along the cut: a
    line moved by d across itself meets an edge at an angle a moved by d / sin a."""
    d = math.dist(p, q)
    if not (on_edge(*p, box) and on_edge(*q, box)):
        return d
    x0, y0, x1, y1 = box
    ux, uy = direction
    vertical_edge = min(abs(p[0] - x0), abs(p[0] - x1)) < 1e-7
    sine = abs(ux) if vertical_edge else abs(uy)
    return d * sine if sine > 1e-12 else d


def merged(segments):
    """Pieces of one line that touch, joined: a line without a gap is drawn in one piece by one
    program and in one piece per period by the other."""
    lines = defaultdict(list)
    out = []
    for s in segments:
        length = math.dist(s[:2], s[2:])
        if length == 0:
            out.append(s)
            continue
        ux, uy = (s[2] - s[0]) / length, (s[3] - s[1]) / length
        if ux < 0 or (ux == 0 and uy < 0):
            ux, uy, s = -ux, -uy, (s[2], s[3], s[0], s[1])
        key = (round(math.atan2(uy, ux), 7), round(-uy * s[0] + ux * s[1], 5))
        t0, t1 = ux * s[0] + uy * s[1], ux * s[2] + uy * s[3]
        lines[key].append((t0, t1, s))
    for pieces in lines.values():
        pieces.sort()
        start, end, first, last = pieces[0][0], pieces[0][1], pieces[0][2], pieces[0][2]
        for t0, t1, s in pieces[1:]:
            if t0 <= end + 1e-7:
                if t1 > end:
                    end, last = t1, s
                continue
            out.append((first[0], first[1], last[2], last[3]))
            start, end, first, last = t0, t1, s, s
        out.append((first[0], first[1], last[2], last[3]))
    return out


def covered(dot, segments, tolerance):
    """A dot that lies on a drawn segment: ezdxf reads the gap -0 that ends a figure line without
    a gap as a dot (-0.0 == 0.0 in Python) and draws it on the line, where it changes nothing."""
    if dot[:2] != dot[2:]:
        return False
    p = dot[:2]
    for s in segments:
        a, b = s[:2], s[2:]
        length = math.dist(a, b)
        if length == 0:
            continue
        t = ((p[0] - a[0]) * (b[0] - a[0]) + (p[1] - a[1]) * (b[1] - a[1])) / length ** 2
        t = min(1.0, max(0.0, t))
        if math.dist(p, (a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]))) <= tolerance:
            return True
    return False


def compare(what, mine, theirs, box, tolerance):
    """Largest end distance between matched segments; every segment matched both ways except
    slivers shorter than the tolerance at the edge of the box."""
    cell = max(tolerance * 1000, 1.0)
    grid = defaultdict(list)
    for s in theirs:
        grid[(round((s[0] + s[2]) / 2 / cell), round((s[1] + s[3]) / 2 / cell))].append(s)
    worst = 0.0
    used = set()
    unmatched = 0
    for s in mine:
        length = math.dist(s[:2], s[2:])
        direction = ((s[2] - s[0]) / length, (s[3] - s[1]) / length) if length > 0 else (1, 0)
        key = (round((s[0] + s[2]) / 2 / cell), round((s[1] + s[3]) / 2 / cell))
        best = None
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                for t in grid.get((key[0] + dx, key[1] + dy), []):
                    for a, b in (((t[0], t[1]), (t[2], t[3])), ((t[2], t[3]), (t[0], t[1]))):
                        e = max(end_distance(s[:2], a, direction, box),
                                end_distance(s[2:], b, direction, box))
                        if best is None or e < best[0]:
                            best = (e, t)
        if best is not None and best[0] <= tolerance:
            worst = max(worst, best[0])
            used.add(best[1])
        elif length > tolerance or not (on_edge(*s[:2], box) or on_edge(*s[2:], box)):
            unmatched += 1
    extra = [t for t in theirs if t not in used and
             (math.dist(t[:2], t[2:]) > tolerance or
              not (on_edge(*t[:2], box) or on_edge(*t[2:], box))) and
             not covered(t, mine, tolerance)]
    if unmatched or extra:
        fail(what, f"box {box}: {unmatched} of {len(mine)} murvex segments and {len(extra)} of "
             f"{len(theirs)} ezdxf segments without a match within {tolerance:g}")
    if not mine:
        fail(what, f"box {box}: nothing drawn")
    return worst


def check_warnings(what, path, long_lines):
    """murvex-cli check finds nothing in a compatible file but the long lines it could not
    shorten and the shifts along FreeCAD applies negated (the files here are not named after
    their patterns)."""
    out = run("check", path, ok=(0, 1)).decode()
    expected = {f"{n}: long-line" for n in long_lines}
    # And FreeCAD's negated shift along, wherever s and -s differ by other than whole periods.
    for n, line in enumerate(Path(path).read_text(encoding="cp1252").splitlines(), 1):
        try:
            fields = [float(f) for f in line.split(",")]
        except ValueError:
            continue
        period = sum(abs(d) for d in fields[5:])
        if len(fields) >= 5 and period > 0 and fields[3] != 0 and fields[0] % 360 != 0:
            twice = math.fmod(abs(2 * fields[3]), period)
            if min(twice, period - twice) > 1e-9 * max(1, period):
                expected.add(f"{n}: shift-along-reversed")
    found = {":".join(l.split(":")[1:3]).strip() for l in out.splitlines()
             if ": name-not-file-name:" not in l}
    if found != expected:
        fail(what, f"check says {sorted(found)}, expected {sorted(expected)}")


def check_pair(what, default, compatible, boxes, tolerance, long_lines=None):
    """Reads the compatible file with ezdxf and compares its hatching with the default file's."""
    data = compatible.read_bytes()
    check_bytes(what, data, long_lines)
    check_warnings(what, compatible, long_lines or [])
    try:
        patterns = ezpattern.parse(data.decode("cp1252"))
    except ValueError as error:
        fail(what, f"ezdxf refuses the file: {error}")
        return 0.0
    if len(patterns) != 1:
        fail(what, f"ezdxf finds {len(patterns)} patterns")
        return 0.0
    definition = next(iter(patterns.values()))
    worst = 0.0
    for box in boxes:
        worst = max(worst, compare(what, merged(murvex_segments(default, box)),
                                   merged(ezdxf_segments(definition, box)), box, tolerance))
    return worst


def write_both(stem, *args, ok=(0,)):
    default = WORK / f"{stem}.pat"
    compatible = WORK / f"{stem}-compatibel.pat"
    run(*args, "-o", default, "--force", ok=ok)
    run(*args, "-o", compatible, "--force", "--compatible", ok=ok)
    return default, compatible


def short_line(line):
    """A pattern line as the compatible writer gives it with every decimal kept."""
    fields = []
    for i, f in enumerate(line.split(",")):
        f = f.strip()
        if "." in f:
            f = f.rstrip("0").rstrip(".")
        if f == "-0" and i < 5:
            f = "0"
        fields.append(f)
    return ",".join(fields)


# Odd box corners keep the box's edges off the pattern's lines and dots.
ODD = 0.318309886


def bonds():
    names = run("bonds").decode().splitlines()
    # The tab's defaults upright and turned, and odd sizes at an odd angle.
    cases = [(("210", "220", "50", "62.5"), "0"), (("210", "220", "50", "62.5"), "30"),
             (("188", "198.5", "48", "60.25"), "-17.3")]
    for index in range(10):
        for (length, joint, height, height_joint), rotation in cases:
            stem = f"bond{index}-{length}-{rotation}"
            default, compatible = write_both(
                stem, "bond", "--bond", index, "--length", length, "--length-joint", joint,
                "--height", height, "--height-joint", height_joint, "--rotation", rotation)
            box = (-1000 - ODD, -700 - ODD, 1000 + ODD, 700 + ODD)
            check_pair(stem, default, compatible, [box], 1e-6 * float(height))
    return len(names)


def free_lines():
    rows = (
        "#name\tproef\n"
        "0\t0\t0\t0\t10.000\t5.00\t-2.50\n"
        "\n"
        "45\t1.5\t0\t0\t7.0710678\n"
        "90.0\t0\t0\t0\t12.000\t0\t-3.0\n"
        "\t1\t2\n"
        "135\t-0.000\t0.0\t3\t8.5\t4\t-1\n"
    )
    source = WORK / "rijen.txt"
    source.write_text(rows)
    default, compatible = write_both("vrije-lijnen", "lines", source)
    box = (-200 - ODD, -150 - ODD, 200 + ODD, 150 + ODD)
    check_pair("vrije-lijnen", default, compatible, [box], 1e-6 * 100)
    if b"; Rij zonder hoek: 2\r\n" not in compatible.read_bytes():
        fail("vrije-lijnen", "the row without an angle is not the comment line")


FIGURES = [
    # Documented examples of the conversion and some that fail, on their tiles.
    ((100, 50), ["10,10,60,10", "20,0,20,30", "0,50,40,30", "10,10,60,10.2", "10,10.2,60,10"]),
    ((100, 100), ["0,0,50,50", "0,0,100,50", "10,80,40,70", "0,0,30,10.05", "20,0,20.05,30",
                  "58.439,56.591,61.394,95.654"]),
    ((600, 300), ["0,0,600,300", "100.5,20,-50,400", "10,10,10,10", "12.5,0,300,150"]),
]


def figures(rng):
    """Converts the fixed figures, whose lines all fit 80 characters, and random ones, whose
    lines may not: such a line must be one the check lists."""
    fixed = len(FIGURES)
    tiles = [(600, 300), (100, 100), (37, 91), (250, 40)]
    for tile in tiles:
        w, h = tile
        segments = []
        for _ in range(12):
            x1, y1 = rng.uniform(0, w), rng.uniform(0, h)
            x2, y2 = rng.uniform(0, w), rng.uniform(0, h)
            segments.append(f"{x1:.3f},{y1:.3f},{x2:.3f},{y2:.3f}")
        FIGURES.append((tile, segments))
    shortened = 0
    total = 0
    too_long = 0
    worst = 0.0
    for number, (tile, segments) in enumerate(FIGURES):
        w, h = tile
        for accuracy in ("Nauwkeurig", "Middel", "Laag"):
            stem = f"figuur{number}-{accuracy}"
            source = WORK / f"{stem}.txt"
            source.write_bytes(("\r\n".join([f";%SIZE={w},{h}", ";%UNITS=MM", f"*figuur{number}",
                                              ";%TYPE=MODEL", *segments]) + "\r\n").encode())
            default, compatible = write_both(stem, "figure", source, "--accuracy", accuracy,
                                             ok=(0, 3))
            near = (-ODD, -ODD, 3 * w + ODD, 3 * h + ODD)
            far = (97 * w - ODD, 97 * h - ODD, 100 * w + ODD, 100 * h + ODD)
            tolerance = 1e-6 * min(w, h)
            long_lines = None if number < fixed else []
            deviation = check_pair(stem, default, compatible, [near, far], tolerance, long_lines)
            too_long += len(long_lines or [])
            worst = max(worst, deviation / min(w, h))
            plain = [l for l in default.read_text().splitlines() if l[:1] in "-0123456789"]
            written = [l for l in compatible.read_text().splitlines() if l[:1] in "-0123456789"]
            total += len(written)
            shortened += sum(1 for a, b in zip(plain, written) if short_line(a) != b)
    return total, shortened, too_long, worst


def main():
    bond_count = bonds()
    free_lines()
    total, shortened, too_long, worst = figures(random.Random(24))
    print(f"bonds: {bond_count} x 3 sizes and rotations; figure lines: {total}, "
          f"{shortened} with fewer decimals, largest deviation {worst:.3g} of the tile's "
          f"smaller side; {too_long} lines of random figures over 80 characters")
    for failure in failures:
        print("FAILED", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
