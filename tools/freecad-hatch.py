#!/usr/bin/python3
"""What FreeCAD's TechDraw draws of Murvex's pattern files, compared with murvex-cli segments.

Writes bonds and converted figures with murvex-cli (as specified and with --compatible), hatches
a square face with each in a TechDraw page (a geometric hatch: DrawGeomHatch with FilePattern and
NamePattern), exports the page as SVG, and compares the hatch segments of the SVG with the
segments `murvex-cli segments` draws in the same square. Not part of `make test`: it needs
Debian's freecad (large) and xvfb-run, and takes a minute.

Usage: tools/freecad-hatch.py MURVEX_CLI WORK_FOLDER
Prints one line per pattern file: the segments of each side, how many match within 0.01 and
the worst line of the file by its share of unmatched segments.

Inside FreeCAD (run as `xvfb-run -a freecad tools/freecad-hatch.py` with MURVEX_FREECAD_JOB
naming a job file) the same file builds the pages and writes the SVG files.
"""
import json
import math
import os
import re
import subprocess
import sys
from pathlib import Path

# The face is a square of this side around the origin, where the pattern's origin lies.
SIDE = 600
# FreeCAD writes scene units, ten to the millimetre, with three decimals (or six digits and an
# exponent).
MATCH = 0.01
NUMBER = r"-?[\d.]+(?:e[-+]?\d+)?"


def freecad_side(job_path):
    """Builds one TechDraw page per pattern file of the job and exports it as SVG."""
    import FreeCAD
    import FreeCADGui
    import TechDrawGui

    job = json.loads(Path(job_path).read_text())
    done = {}
    for item in job["files"]:
        doc = FreeCAD.newDocument("hatch")
        box = doc.addObject("Part::Box", "Box")
        box.Length = box.Width = job["side"]
        box.Height = 1
        box.Placement.Base = FreeCAD.Vector(-job["side"] / 2, -job["side"] / 2, 0)
        page = doc.addObject("TechDraw::DrawPage", "Page")
        page.Template = doc.addObject("TechDraw::DrawSVGTemplate", "Template")
        view = doc.addObject("TechDraw::DrawViewPart", "View")
        page.addView(view)
        view.Source = [box]
        view.Direction = FreeCAD.Vector(0, 0, 1)
        view.Scale = 1.0
        doc.recompute()
        hatch = doc.addObject("TechDraw::DrawGeomHatch", "Hatch")
        hatch.Source = (view, ["Face0"])
        hatch.FilePattern = item["pat"]
        hatch.NamePattern = item["name"]
        doc.recompute()
        hatch.ViewObject.ColorPattern = (1.0, 0.0, 0.0)
        page.ViewObject.show()
        FreeCADGui.updateGui()
        TechDrawGui.exportPageAsSvg(page, item["svg"])
        done[item["svg"]] = os.path.exists(item["svg"])
        FreeCAD.closeDocument(doc.Name)
    Path(job["result"]).write_text(json.dumps(done))
    FreeCADGui.getMainWindow().close()


def svg_segments(path):
    """The red (hatch) paths of the SVG as segments in millimetres, y upwards, and the count of
    lone points; the scale comes from the face's black outline."""
    text = Path(path).read_text()
    groups = re.findall(r'<g [^>]*stroke="(#[0-9a-f]{6})"[^>]*>(.*?)</g>', text, re.S)
    outline = [float(v) for colour, body in groups if colour == "#000000"
               for v in re.findall(NUMBER, " ".join(re.findall(r'd="([^"]*)"', body)))]
    scale = max(abs(v) for v in outline) / (SIDE / 2) if outline else 10.0
    segments, dots = [], 0
    for colour, body in groups:
        if colour != "#ff0000":
            continue
        for d in re.findall(r'd="([^"]*)"', body):
            steps = re.findall(rf"([ML])\s*({NUMBER}),({NUMBER})", d)
            for i, (op, x, y) in enumerate(steps):
                if op == "L":
                    _, px, py = steps[i - 1]
                    segments.append(((float(px) / scale, -float(py) / scale),
                                     (float(x) / scale, -float(y) / scale)))
                elif i + 1 == len(steps) or steps[i + 1][0] == "M":
                    dots += 1
    return segments, dots, scale


def cli_segments(cli, pat):
    half = str(SIDE / 2)
    out = subprocess.run([cli, "segments", str(pat), "--box", "-" + half, "-" + half, half, half],
                         capture_output=True, check=True).stdout.decode()
    segments = []
    for line in out.splitlines():
        x1, y1, x2, y2 = map(float, line.split())
        segments.append(((x1, y1), (x2, y2)))
    return segments


def key(p):
    return (round(p[0] / MATCH), round(p[1] / MATCH))


def compare(theirs, mine):
    """Segments of each side without a partner on the other (ends within MATCH, either way
    round); lone points and zero-length pieces left out."""
    def keys(segment):
        a, b = segment
        base = (key(a), key(b))
        near = set()
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                for ex in (-1, 0, 1):
                    for ey in (-1, 0, 1):
                        k1 = (base[0][0] + dx, base[0][1] + dy)
                        k2 = (base[1][0] + ex, base[1][1] + ey)
                        near.add((k1, k2))
                        near.add((k2, k1))
        return near

    real = lambda s: math.dist(s[0], s[1]) > MATCH
    theirs = [s for s in theirs if real(s)]
    mine = [s for s in mine if real(s)]
    index = {}
    for n, s in enumerate(mine):
        index.setdefault((key(s[0]), key(s[1])), []).append(n)
    used = set()
    unmatched = []
    for s in theirs:
        partner = None
        for k in keys(s):
            for n in index.get(k, ()):
                if n not in used:
                    partner = n
                    break
            if partner is not None:
                break
        if partner is None:
            unmatched.append(s)
        else:
            used.add(partner)
    return theirs, mine, unmatched, [s for n, s in enumerate(mine) if n not in used]


def run(cli, *args, ok=(0,)):
    done = subprocess.run([cli, *map(str, args)], capture_output=True)
    if done.returncode not in ok:
        raise SystemExit(f"murvex-cli {' '.join(map(str, args))}: exit {done.returncode}\n"
                         f"{done.stderr.decode(errors='replace')}")
    return done.stdout.decode()


def pattern_name(pat):
    for line in Path(pat).read_text(encoding="cp1252").splitlines():
        if line.startswith("*"):
            return line[1:].split(",")[0].strip()
    raise SystemExit(f"{pat}: no pattern name")


def write_files(cli, work):
    """The bonds and figures, each as specified and compatible."""
    files = []
    for index, rotation in ((0, 0), (3, 0), (6, 30)):
        for compatible in (False, True):
            pat = work / f"bond{index}-{rotation}{'-compatibel' if compatible else ''}.pat"
            run(cli, "bond", "--bond", index, "--length", 210, "--length-joint", 220,
                "--height", 50, "--height-joint", 62.5, "--rotation", rotation, "-o", pat,
                "--force", *(["--compatible"] if compatible else []))
            files.append(pat)
    # A line drawn downwards (its angle outside [0, 180)), lines whose shift along is neither 0
    # nor half their period, and plain ones.
    figure = work / "figuur.txt"
    figure.write_bytes(b";%SIZE=100,100\r\n;%UNITS=MM\r\n*figuur\r\n;%TYPE=MODEL\r\n"
                       b"50,50,80,0\r\n10,10,60,10\r\n0,0,50,50\r\n10,80,40,70\r\n"
                       b"20,0,20,30\r\n")
    for accuracy in ("Nauwkeurig", "Op maat"):
        for compatible in (False, True):
            pat = work / (f"figuur-{accuracy.replace(' ', '')}"
                          f"{'-compatibel' if compatible else ''}.pat")
            run(cli, "figure", figure, "--accuracy", accuracy, "-o", pat, "--force",
                *(["--compatible"] if compatible else []), ok=(0, 3))
            files.append(pat)
    return files


def single_lines(pat):
    """The pattern's lines, each alone in a file of its own with the same header."""
    text = Path(pat).read_text(encoding="cp1252").splitlines()
    rows = [n for n, l in enumerate(text) if l[:1] in "-0123456789"]
    singles = []
    for n in rows:
        single = pat.with_name(f"{pat.stem}.line{n + 1}.pat")
        single.write_text("\r\n".join(l for i, l in enumerate(text) if i not in rows or i == n) +
                          "\r\n", encoding="cp1252")
        singles.append((n + 1, text[n].strip(), single))
    return singles


def variants(line):
    """The line as written and as FreeCAD might misread it: the shift along negated, or the
    first dash ending at the origin instead of starting there."""
    f = [float(v) for v in line.split(",")]
    out = {"as written": f}
    if f[3] != 0:
        out["with its shift along negated"] = f[:3] + [-f[3]] + f[4:]
    if len(f) > 5:
        t = math.radians(f[0])
        first = abs(f[5])
        out["with its first dash ending at the origin"] = \
            [f[0], f[1] - first * math.cos(t), f[2] - first * math.sin(t)] + f[3:]
    return out


def explain(cli, work, number, line, drawn):
    """Which reading of the line FreeCAD's segments match best."""
    results = []
    for name, fields in variants(line).items():
        variant = work / f"variant.pat"
        variant.write_text("*v, v\r\n" + ",".join(repr(v) for v in fields) + "\r\n")
        theirs, mine, off_theirs, off_mine = compare(drawn, cli_segments(cli, variant))
        results.append((len(off_theirs) + len(off_mine), name, len(mine)))
    return results


def run_freecad(job, work):
    """Runs FreeCAD over the job's files; true when it reported back."""
    result = Path(job["result"])
    result.unlink(missing_ok=True)
    (work / "job.json").write_text(json.dumps(job))
    env = dict(os.environ, MURVEX_FREECAD_JOB=str(work / "job.json"),
               QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox")
    subprocess.run(["xvfb-run", "-a", "freecad", str(Path(__file__).resolve())], env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=900)
    return result.exists()


def main():
    cli, work = sys.argv[1], Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    files = write_files(cli, work)
    job = {"side": SIDE, "result": str(work / "result.json"),
           "files": [{"pat": str(p), "name": pattern_name(p), "svg": str(p.with_suffix(".svg"))}
                     for p in files]}
    if not run_freecad(job, work):
        raise SystemExit("FreeCAD wrote no result (is Debian's freecad installed?)")
    print(f"square of {SIDE} around the origin; FreeCAD's SVG against murvex-cli segments")
    differing = []
    for p in files:
        svg = p.with_suffix(".svg")
        if not svg.exists():
            print(f"{p.name}: no SVG")
            continue
        drawn, dots, scale = svg_segments(svg)
        theirs, mine, off_theirs, off_mine = compare(drawn, cli_segments(cli, p))
        print(f"{p.name}: FreeCAD {len(theirs)} segments (+{dots} points), murvex-cli "
              f"{len(mine)}; FreeCAD's off murvex-cli's: {len(off_theirs)}, murvex-cli's "
              f"not drawn: {len(off_mine)}")
        if not theirs and mine:
            print(f"    FreeCAD draws nothing: it finds no pattern named "
                  f"{pattern_name(p)!r} (its name line has no description)")
        elif off_theirs or off_mine:
            differing.append(p)
    # The lines of the files that differ, each hatched alone, and what FreeCAD made of each.
    singles = [(p, number, line, single) for p in differing
               for number, line, single in single_lines(p)]
    job["files"] = [{"pat": str(single), "name": pattern_name(single),
                     "svg": str(single.with_suffix(".svg"))} for _, _, _, single in singles]
    if singles and not run_freecad(job, work):
        raise SystemExit("FreeCAD wrote no result for the single lines")
    for p, number, line, single in singles:
        drawn, dots, _ = svg_segments(single.with_suffix(".svg"))
        results = sorted(explain(cli, work, number, line, drawn))
        plain = next(r for r in results if r[1] == "as written")
        if plain[0] == 0:
            continue
        best = results[0]
        angle = math.radians(float(line.split(",")[0]))
        askew = sum(1 for a, b in drawn if math.dist(a, b) > 0.1 and
                    abs(math.sin(math.atan2(b[1] - a[1], b[0] - a[0]) - angle)) > 1e-3)
        print(f"  {p.name} line {number} ({line}): FreeCAD {len(drawn)} segments, murvex-cli "
              f"{plain[2]}, {plain[0]} differ; "
              + (f"FreeCAD draws it as {best[1]} ({best[0]} differ)" if best[1] != plain[1]
                 else "no simple misreading explains it")
              + (f"; {askew} of FreeCAD's segments are not at the line's angle" if askew else ""))
    return 0


if os.environ.get("MURVEX_FREECAD_JOB"):
    freecad_side(os.environ["MURVEX_FREECAD_JOB"])
elif __name__ == "__main__":
    sys.exit(main())
