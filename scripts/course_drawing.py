#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Vector drawings of the course pictures, written as ImageMagick MVG primitives.

make-course-media.sh calls this helper for the shapes that need a little geometry: a globe with
meridians, parallels and stylised continents seen from any longitude, and the networks of
"states" and links used in the pictures on international relations.

    course_drawing.py globe CX CY R PHASE [LAND] [GRID] [LINE]  -> MVG of a globe
    course_drawing.py network W H SEED NODES LINKS [COLOUR]     -> MVG of a network
"""

import math
import random
import sys

# Stylised land masses as (longitude, latitude) outlines. They are not a map, only shapes that
# read as continents on a small globe.
LANDS = [
    # a large northern continent spreading east-west
    [(-10, 36), (0, 50), (10, 58), (30, 68), (60, 72), (90, 74), (120, 70), (150, 66),
     (170, 62), (160, 52), (140, 42), (122, 30), (105, 18), (90, 22), (78, 10), (68, 24),
     (52, 26), (40, 36), (28, 40), (12, 40)],
    # a southern continent below it
    [(-16, 24), (0, 34), (22, 32), (34, 28), (44, 10), (50, 10), (40, -6), (36, -22),
     (20, -34), (14, -24), (10, -4), (-8, 4), (-18, 14)],
    # two continents joined by a narrow neck on the other side
    [(-165, 64), (-140, 70), (-100, 72), (-70, 62), (-56, 50), (-76, 36), (-82, 26),
     (-98, 18), (-88, 14), (-78, 8), (-60, 6), (-36, -6), (-40, -22), (-56, -36),
     (-70, -54), (-74, -40), (-72, -18), (-80, -2), (-92, 14), (-106, 22), (-118, 34),
     (-126, 48), (-150, 58)],
    # an island continent
    [(114, -22), (130, -12), (142, -12), (152, -26), (146, -38), (132, -32), (116, -34)],
]


def project(cx, cy, r, lon, lat, phase):
    """Orthographic view from the equator; phase turns the globe eastwards (degrees)."""
    lam = math.radians(lon + phase)
    phi = math.radians(lat)
    x = cx + r * math.cos(phi) * math.sin(lam)
    y = cy - r * math.sin(phi)
    visible = math.cos(phi) * math.cos(lam) >= 0.0
    return x, y, visible


def globe(cx, cy, r, phase, land="#3f9b4f", grid="#cfe8ff", line="#0b2a6b"):
    out = []
    # the sea: a disc with a lighter cap for some depth
    out.append(f"stroke {line} stroke-width 2 fill #2c6fd1 circle {cx},{cy} {cx + r},{cy}")
    out.append(f"stroke none fill #4f8fe0 circle {cx - r * 0.28:.1f},{cy - r * 0.28:.1f} "
               f"{cx - r * 0.28 + r * 0.55:.1f},{cy - r * 0.28:.1f}")
    # continents on the visible side; hidden points are pulled to the rim
    for outline in LANDS:
        pts = []
        seen = 0
        for lon, lat in outline:
            x, y, vis = project(cx, cy, r, lon, lat, phase)
            if vis:
                seen += 1
            else:
                lam = math.radians(lon + phase)
                phi = math.radians(lat)
                side = 1.0 if math.sin(lam) >= 0 else -1.0
                x = cx + side * r * math.cos(phi)
            pts.append(f"{x:.1f},{y:.1f}")
        if seen >= 2:
            out.append(f"stroke #2d6b39 stroke-width 1 fill {land} polygon " + " ".join(pts))
    # parallels
    out.append(f"stroke {grid} stroke-width 1 fill none")
    for lat in (-60, -30, 0, 30, 60):
        y = cy - r * math.sin(math.radians(lat))
        hw = r * math.cos(math.radians(lat))
        out.append(f"line {cx - hw:.1f},{y:.1f} {cx + hw:.1f},{y:.1f}")
    # meridians: the visible half of each as half an ellipse
    for k in range(12):
        lam = math.radians(k * 30 + phase)
        if math.cos(lam) < 0:
            continue
        rx = abs(r * math.sin(lam))
        if rx < 0.6:
            out.append(f"line {cx:.1f},{cy - r:.1f} {cx:.1f},{cy + r:.1f}")
        elif math.sin(lam) > 0:
            out.append(f"ellipse {cx},{cy} {rx:.1f},{r} -90,90")
        else:
            out.append(f"ellipse {cx},{cy} {rx:.1f},{r} 90,270")
    out.append(f"stroke {line} stroke-width 2 fill none circle {cx},{cy} {cx + r},{cy}")
    return " ".join(out)


def network(w, h, seed, nodes, links, colour="#ffd24a"):
    rnd = random.Random(seed)
    pts = []
    while len(pts) < nodes:
        p = (rnd.uniform(0.1, 0.9) * w, rnd.uniform(0.15, 0.85) * h)
        if all(math.dist(p, q) > min(w, h) * 0.16 for q in pts):
            pts.append(p)
    pairs = sorted(((math.dist(pts[i], pts[j]), i, j)
                    for i in range(nodes) for j in range(i + 1, nodes)))[:links]
    out = [f"stroke {colour} stroke-width 2 fill none"]
    for _, i, j in pairs:
        out.append(f"line {pts[i][0]:.1f},{pts[i][1]:.1f} {pts[j][0]:.1f},{pts[j][1]:.1f}")
    out.append("stroke #ffffff stroke-width 2 fill #e2572b")
    for x, y in pts:
        out.append(f"circle {x:.1f},{y:.1f} {x + 7:.1f},{y:.1f}")
    return " ".join(out)


def main(argv):
    if len(argv) >= 5 and argv[0] == "globe":
        cx, cy, r, phase = (float(v) for v in argv[1:5])
        print(globe(cx, cy, r, phase, *argv[5:8]))
    elif len(argv) >= 6 and argv[0] == "network":
        w, h, seed, nodes, links = (int(v) for v in argv[1:6])
        print(network(w, h, seed, nodes, links, *argv[6:7]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
