"""The DXF export read back by an independent reader (ezdxf): the drawing murvex-cli writes holds
one HATCH over the box whose pattern lines are the pattern file's own, with the offset in DXF's
form, and with --lines the segments the pattern draws.

Usage: ezdxf_readback.py [RUNNER] MURVEX_CLI GOLDEN_PATTERN_FOLDER
(RUNNER: what runs the program, scripts/wine-run for the Windows build)
"""
import math
import os
import subprocess
import sys
import tempfile

try:
    import ezdxf
    from ezdxf.render import hatching
except ImportError:
    sys.exit("python3-ezdxf is missing (scripts/install-deps installs it)")

CLI, GOLDEN = sys.argv[1:-1], sys.argv[-1]
# No pattern line of the tests lies on the box's border, where a hatch line is a matter of taste.
BOX = (-117.3, 35.7, 2381.1, 1609.3)
failures = []

# Odd angles, a dot, dashes, an offset along the line and inches: what the bonds do not cover.
OWN = (";%UNITS=INCH\r\n;\r\n*proef, met tekst\r\n;%TYPE=MODEL\r\n"
       "33.5, 1.5,2, 7,11\r\n"
       "-120, 0.25,-3, 2.5,40, 15,-5,0,-5\r\n"
       "270, 10,10, 0,60, 30,-30\r\n"
       "*tweede\r\n0,0,0,0,1\r\n")


def check(ok, what):
    if not ok:
        failures.append(what)


def pat_lines(text):
    """The first pattern's lines as (angle, x, y, along, across, dashes)."""
    out = []
    for raw in text.replace("\r", "").split("\n"):
        line = raw.strip()
        if line.startswith("*") and out:
            break
        if not line or line[0] in ";*":
            continue
        fields = [float(f) for f in line.split(",")]
        out.append((fields[0], fields[1], fields[2], fields[3], fields[4], fields[5:]))
    return out


def close(a, b):
    return math.isclose(a, b, rel_tol=1e-12, abs_tol=1e-9)


def run(*args):
    return subprocess.run([*CLI, *args], capture_output=True, check=False)


def check_hatch(name, pat_text, dxf_path):
    doc = ezdxf.readfile(dxf_path)
    check(doc.dxfversion == "AC1015", f"{name}: version {doc.dxfversion}")
    inch = ";%UNITS=INCH" in pat_text.upper()
    check(doc.header.get("$INSUNITS") == (1 if inch else 4), f"{name}: units")
    hatches = doc.modelspace().query("HATCH")
    check(len(hatches) == 1, f"{name}: {len(hatches)} hatches")
    if len(hatches) != 1:
        return doc
    hatch = hatches[0]
    # The hatch is named as the pattern (before the comma of its description).
    names = [l[1:].split(",")[0].strip() for l in pat_text.splitlines() if l.startswith("*")]
    check(not names or hatch.dxf.pattern_name == names[0],
          f"{name}: hatch named {hatch.dxf.pattern_name!r}")
    # Every owner and handle is valid: the audit repairs nothing.
    auditor = doc.audit()
    check(not auditor.fixes and not auditor.errors,
          f"{name}: audit: {[f.message for f in auditor.fixes + auditor.errors][:3]}")
    check(hatch.dxf.solid_fill == 0 and hatch.dxf.pattern_type == 2, f"{name}: not a pattern")
    corners = sorted((round(v[0], 9), round(v[1], 9))
                     for path in hatch.paths for edge in path.edges for v in (edge.start,))
    check(corners == sorted([(BOX[0], BOX[1]), (BOX[2], BOX[1]), (BOX[2], BOX[3]),
                             (BOX[0], BOX[3])]), f"{name}: boundary {corners}")
    expected = pat_lines(pat_text)
    got = hatch.pattern.lines
    check(len(got) == len(expected), f"{name}: {len(got)} pattern lines, not {len(expected)}")
    for i, (line, (angle, x, y, along, across, dashes)) in enumerate(zip(got, expected)):
        turn = math.radians(angle)
        offset = (along * math.cos(turn) - across * math.sin(turn),
                  along * math.sin(turn) + across * math.cos(turn))
        same = (close(line.angle, angle) and close(line.base_point[0], x)
                and close(line.base_point[1], y) and close(line.offset[0], offset[0])
                and close(line.offset[1], offset[1])
                and len(line.dash_length_items) == len(dashes)
                and all(close(a, b) for a, b in zip(line.dash_length_items, dashes)))
        check(same, f"{name}: line {i}: {line.angle} {line.base_point} {line.offset} "
                    f"{line.dash_length_items}, not {angle} {x} {y} {offset} {dashes}")
    return doc


def ends(x1, y1, x2, y2):
    return tuple(sorted([(x1, y1), (x2, y2)]))


def check_segments(name, pat_path, doc, choice=()):
    """ezdxf's own hatching of the HATCH draws what murvex draws, and with --lines the LINE
    entities are the segments `murvex-cli segments` prints."""
    printed = run("segments", pat_path, *choice, "--box", *map(str, BOX)).stdout.decode().split("\n")
    drawn = [ends(*map(float, row.split())) for row in printed if row.strip()]
    cells = {}
    for a, b in drawn:
        cells.setdefault((round(a[0]), round(a[1])), []).append((a, b))
    try:
        hatched = [ends(a.x, a.y, b.x, b.y)
                   for a, b in hatching.hatch_entity(doc.modelspace().query("HATCH")[0])]
    except hatching.HatchingError as e:
        check(False, f"{name}: ezdxf cannot hatch it: {e}")
        return
    unmatched = [h for h in hatched if not any(
        all(abs(u - v) < 0.002 for p, q in zip(h, d) for u, v in zip(p, q))
        for i in (-1, 0, 1) for j in (-1, 0, 1)
        for d in cells.get((round(h[0][0]) + i, round(h[0][1]) + j), []))]
    check(len(hatched) == len(drawn) and not unmatched,
          f"{name}: ezdxf hatches {len(hatched)} segments, murvex draws {len(drawn)}; "
          f"{len(unmatched)} unmatched, such as {unmatched[:2]}")
    want = sorted(row.replace("-0.000", "0.000") for row in printed if row.strip())
    lines = doc.modelspace().query("LINE")
    check(all(e.dxf.layer == "ARCERINGLIJNEN" for e in lines), f"{name}: layer of LINE")
    # The same doubles, so the same three decimals as `segments` prints.
    got = sorted(" ".join(f"{v:.3f}" for v in (e.dxf.start[0], e.dxf.start[1], e.dxf.end[0],
                                                e.dxf.end[1])).replace("-0.000", "0.000")
                 for e in lines)
    check(len(got) == len(want), f"{name}: {len(got)} LINE entities, not {len(want)}")
    check(got == want, f"{name}: LINE entities differ from the segments")


with tempfile.TemporaryDirectory() as folder:
    patterns = [(f, open(os.path.join(GOLDEN, f), encoding="cp1252").read())
                for f in sorted(os.listdir(GOLDEN)) if f.endswith(".pat")]
    own = os.path.join(folder, "proef.pat")
    with open(own, "w", encoding="cp1252", newline="") as f:
        f.write(OWN)
    patterns.append(("proef.pat", OWN))
    check(len(patterns) > 5, "too few patterns found")
    for name, text in patterns:
        pat = own if name == "proef.pat" else os.path.join(GOLDEN, name)
        # The own file is a library of two: its first pattern is chosen by name.
        choice = ["--pattern", "proef"] if name == "proef.pat" else []
        out = os.path.join(folder, name + ".dxf")
        r = run("dxf", pat, *choice, "--box", *map(str, BOX), "-o", out, "--lines")
        check(r.returncode == 0, f"{name}: exit {r.returncode} {r.stderr.decode()}")
        if r.returncode == 0:
            check_segments(name, pat, check_hatch(name, text, out), choice)
        # The render command chooses DXF by the name's ending, as the preview does.
        rendered = os.path.join(folder, name + ".render.dxf")
        plain = os.path.join(folder, name + ".plain.dxf")
        run("render", pat, *choice, "--box", *map(str, BOX), "-o", rendered)
        run("dxf", pat, *choice, "--box", *map(str, BOX), "-o", plain)
        check(os.path.exists(rendered) and open(rendered, "rb").read() == open(plain, "rb").read(),
              f"{name}: render -o .dxf differs from dxf without --lines")
    check(run("dxf", own, "--pattern", "proef", "--box", *map(str, BOX), "-o", plain).returncode == 1,
          "an existing file was replaced without --force")
    # Refused: nothing written. Too many lines: the hatch whole, the lines cut off, status 3.
    empty = os.path.join(folder, "leeg.pat")
    with open(empty, "w", encoding="cp1252") as f:
        f.write("*leeg\n; geen lijnen\n")
    check(run("dxf", empty, "--box", "0", "0", "9", "9", "-o", empty + ".dxf").returncode == 1
          and not os.path.exists(empty + ".dxf"), "a file without pattern lines was not refused")
    dense = os.path.join(folder, "dicht.dxf")
    r = run("dxf", own, "--pattern", "proef", "--box", "0", "0", "9", "9e6", "-o", dense, "--lines")
    text = open(dense, "rb").read() if os.path.exists(dense) else b""
    check(r.returncode == 3 and text.count(b"\r\nLINE\r\n") == 50000
          and text.count(b"\r\nHATCH\r\n") == 1, f"too many lines: exit {r.returncode}")

for f in failures:
    print("FAIL", f)
print(f"{len(patterns)} patterns read back, {len(failures)} failures")
sys.exit(1 if failures else 0)
