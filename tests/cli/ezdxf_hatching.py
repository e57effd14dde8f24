"""ezdxf's hatching of a pattern definition over a box, shared by the tests that read what
murvex-cli writes with ezdxf."""
from ezdxf.math import Vec2
from ezdxf.render import hatching
import ezdxf


def hatch_segments(definition, box):
    """The hatching ezdxf draws of the pattern in the box, as (x1, y1, x2, y2): a HATCH with the
    pattern as read, its base lines and pattern renderers. Only the walk over the hatch lines is
    ours: ezdxf's polygon hatching keys each hatch line by its distance rounded to 4 decimals and
    places the dashes from that rounded distance, which moves the dashes of a line with a long
    shift along (a figure line climbing many tiles) by up to shift along x 5e-5 / shift across,
    whatever file it reads. Here each hatch line is taken at its exact distance."""
    doc = ezdxf.new()
    hatch = doc.modelspace().add_hatch()
    hatch.set_pattern_fill("P", definition=definition, scale=1, angle=0)
    x0, y0, x1, y1 = box
    corners = [Vec2(x0, y0), Vec2(x1, y0), Vec2(x1, y1), Vec2(x0, y1)]
    hatch.paths.add_polyline_path([(c.x, c.y) for c in corners], is_closed=True)
    segments = []
    for baseline in hatching.pattern_baselines(hatch):
        distances = [baseline.signed_distance(c) for c in corners]
        for distance in hatching.hatch_line_distances(distances, baseline.normal_distance):
            line = baseline.hatch_line(distance)
            points = []
            for a, b, da, db in zip(corners, corners[1:] + corners[:1], distances,
                                    distances[1:] + distances[:1]):
                ip = line.intersect_line(a, b, da, db)
                if ip.type not in (hatching.IntersectionType.NONE,
                                   hatching.IntersectionType.COLLINEAR):
                    points.append(ip.p0)
            if len(points) < 2:
                continue
            points.sort(key=lambda p: line.direction.dot(p))
            renderer = baseline.pattern_renderer(distance)
            for s, e in renderer.render(points[0], points[-1]):
                segments.append((s.x, s.y, e.x, e.y))
    return segments
