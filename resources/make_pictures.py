#!/usr/bin/python3
# Writes the help pictures that show geometry (HP-GL plot files in plotter
# units of 0.025 mm, drawn into the 160 x 120 mm help window): the contact
# ratio, the tooth dimensions, the reference rack, the pitch curves, the
# contact pattern and bearing arrangement cases of the strength page, and the
# start picture.
# The pictures are committed; run this again only after changing them here,
# then look at them through the program's auxiliary images.
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
U = 40  # plotter units per millimetre


def crosses_box(a, b, x, y, w, h):
    # True when the segment a-b enters the open box (x, y, w, h): the part of
    # the segment's parameter range inside both slabs is not empty.
    t0, t1 = 0.0, 1.0
    for p0, d, lo, hi in ((a[0], b[0] - a[0], x, x + w), (a[1], b[1] - a[1], y, y + h)):
        if abs(d) < 1e-12:
            if not lo < p0 < hi:
                return False
            continue
        u0, u1 = sorted(((lo - p0) / d, (hi - p0) / d))
        t0, t1 = max(t0, u0), min(t1, u1)
    return t1 - t0 > 1e-9


class Plot:
    def __init__(self, title):
        self.out = ["SP1;", "SP7;", "PU80,80;", "PD6320,80,6320,4720,80,4720,80,80;", "PU;"]
        self.labels = []   # (text, x, y, width, height) in mm
        self.strokes = []  # straight pieces of lines, arcs and arrows
        self.label(6, 111, title, 0.28, 0.40)

    def pen(self, n):
        self.out.append("SP%d;" % n)

    @staticmethod
    def p(x, y):
        return "%d,%d" % (round(x * U), round(y * U))

    def poly(self, pts):
        self.out.append("PU%s;" % self.p(*pts[0]))
        self.out.append("PD%s;" % ",".join(self.p(x, y) for x, y in pts[1:]))
        self.out.append("PU;")
        self.strokes += [(pts[k], pts[k + 1]) for k in range(len(pts) - 1)]

    def line(self, x1, y1, x2, y2):
        self.poly([(x1, y1), (x2, y2)])

    def circle(self, x, y, r):
        self.out.append("PU%s;CI%d;" % (self.p(x, y), round(r * U)))

    def arc(self, cx, cy, r, a1, a2, n=24):
        self.poly([(cx + r * math.cos(a1 + (a2 - a1) * k / n), cy + r * math.sin(a1 + (a2 - a1) * k / n))
                   for k in range(n + 1)])

    def arrow(self, x1, y1, x2, y2, both=False):
        self.line(x1, y1, x2, y2)
        ends = [(x1, y1, x2, y2)] + ([(x2, y2, x1, y1)] if both else [])
        for ax, ay, bx, by in ends:
            a = math.atan2(by - ay, bx - ax)
            for s in (1, -1):
                self.line(bx, by, bx - 2.2 * math.cos(a + s * 0.35), by - 2.2 * math.sin(a + s * 0.35))

    def label(self, x, y, text, w=0.21, h=0.30):
        self.out.append("SI%.2f,%.2f;" % (w, h))
        self.out.append("DI1.0000,0.0000;")
        self.out.append("PU%s;LB%s\x03;" % (self.p(x, y), text))
        self.labels.append((text, x, y, w * 10 * len(text), h * 10))

    def clear(self, x, y, w, h):
        # True when a box lies inside the window, clear of the labels and of
        # the strokes drawn so far.
        if x < 1 or y < 1 or x + w > 159 or y + h > 119:
            return False
        for _, x2, y2, w2, h2 in self.labels:
            if x < x2 + w2 and x2 < x + w and y < y2 + h2 and y2 < y + h:
                return False
        return not any(crosses_box(a, b, x, y, w, h) for a, b in self.strokes)

    def label_near(self, x, y, text, w=0.21, h=0.30):
        # The label of a point: the nearest clear place around it.
        bw, bh = w * 10 * len(text), h * 10
        for d in (1.0, 1.5, 2.0, 3.0, 4.0, 5.0):
            for ox, oy in ((d, -bh / 2), (-d - bw, -bh / 2), (-bw / 2, d), (-bw / 2, -d - bh),
                           (d, d), (-d - bw, d), (d, -d - bh), (-d - bw, -d - bh)):
                if self.clear(x + ox, y + oy, bw, bh):
                    self.label(x + ox, y + oy, text, w, h)
                    return
        raise SystemExit("no clear place for label %r" % text)

    def check(self):
        # A label lies inside the window, clear of every other label and of
        # the lines, arcs and arrows that mark the quantities (the outlines
        # drawn as circles may pass behind it).
        for text, x, y, w, h in self.labels:
            if x < 1 or y < 1 or x + w > 159 or y + h > 119:
                raise SystemExit("label %r leaves the window" % text)
        for i, (t1, x1, y1, w1, h1) in enumerate(self.labels):
            for t2, x2, y2, w2, h2 in self.labels[:i]:
                if x1 < x2 + w2 and x2 < x1 + w1 and y1 < y2 + h2 and y2 < y1 + h1:
                    raise SystemExit("labels %r and %r overlap" % (t1, t2))
            if any(crosses_box(a, b, x1, y1, w1, h1) for a, b in self.strokes):
                raise SystemExit("a stroke runs through label %r" % t1)

    def write(self, name):
        self.check()
        with open(os.path.join(HERE, name + ".plt"), "wb") as f:
            f.write(("\r\n".join(self.out) + "\r\n").encode("cp850"))


def contact():
    # An 18/27 pair of module 2.5 at alpha 20 deg: the pitch circles touch at
    # the pitch point P, the line of action is tangent to both base circles
    # at T1 and T2, and the tip circles cut it between them: gear 2's tip
    # where contact starts (A, on gear 1's side of P), gear 1's tip where it
    # ends (E, on gear 2's side).
    pl = Plot("Contact ratio")
    alpha = math.radians(20)
    m, z1, z2 = 2.5, 18, 27
    rw1, rw2 = m * z1 / 2, m * z2 / 2
    o1, o2 = (40.0, 62.0), (40.0 + rw1 + rw2, 62.0)
    r1 = {"b": rw1 * math.cos(alpha), "w": rw1, "a": rw1 + m}
    r2 = {"b": rw2 * math.cos(alpha), "w": rw2, "a": rw2 + m}
    pl.pen(6)
    for o, r in ((o1, r1), (o2, r2)):
        for k in "bwa":
            pl.circle(o[0], o[1], r[k])
    pl.pen(7)
    pl.line(o1[0], o1[1], o2[0], o2[1])
    px, py = o1[0] + rw1, o1[1]
    n = (math.cos(alpha), math.sin(alpha))
    u = (-math.sin(alpha), math.cos(alpha))  # along the line of action, from P towards T1

    def along(q):
        return (q[0] - px) * u[0] + (q[1] - py) * u[1]

    def at(t):
        return (px + t * u[0], py + t * u[1])
    t1 = (o1[0] + r1["b"] * n[0], o1[1] + r1["b"] * n[1])
    t2 = (o2[0] - r2["b"] * n[0], o2[1] - r2["b"] * n[1])
    pl.pen(1)
    pl.line(*t1, *t2)
    pl.line(o1[0], o1[1], *t1)
    pl.line(o2[0], o2[1], *t2)

    def crossings(o, ra):  # the two points where a tip circle cuts the line P + t u
        dx, dy = px - o[0], py - o[1]
        b = dx * u[0] + dy * u[1]
        c = dx * dx + dy * dy - ra * ra
        return (-b - math.sqrt(b * b - c), -b + math.sqrt(b * b - c))
    # Of each tip circle's two crossings, the one between P and the other
    # gear's tangent point; the other root lies beyond, in the interference
    # zone behind the tangent point.
    lo, hi = along(t2), along(t1)
    ta = [t for t in crossings(o2, r2["a"]) if 0 < t <= hi]
    te = [t for t in crossings(o1, r1["a"]) if lo <= t < 0]
    assert len(ta) == 1 and len(te) == 1, "a tip circle does not cut the line of action between T1 and T2"
    ta, te = ta[0], te[0]
    # The length of contact the circles give.
    a = rw1 + rw2
    g_alpha = (math.sqrt(r1["a"] ** 2 - r1["b"] ** 2) + math.sqrt(r2["a"] ** 2 - r2["b"] ** 2)
               - a * math.sin(alpha))
    assert abs((ta - te) - g_alpha) < 1e-9, "A-E is not the length of contact of the circles"
    assert 1 < g_alpha / (math.pi * m * math.cos(alpha)) < 2, "not the contact ratio of a usual pair"
    a_pt, e_pt = at(ta), at(te)
    pl.pen(3)
    pl.poly([a_pt, e_pt])
    for q in (a_pt, e_pt, (px, py)):
        pl.circle(q[0], q[1], 0.8)
    # The pressure angle between the common tangent at P and the line of
    # action, its label beside the arc, clear of both lines.
    pl.pen(5)
    pl.line(px, py - 16, px, py + 20)
    pl.line(*t1, *at(20))  # the line of action beyond T1, the angle's other leg
    pl.arc(px, py, 18, math.pi / 2, math.pi / 2 + alpha, 8)
    pl.label(px + 1.5, py + 15.5, "alpha")
    pl.pen(2)
    for q, name in ((a_pt, "A"), (e_pt, "E"), ((px, py), "P"), (t1, "T1"), (t2, "T2")):
        pl.label_near(q[0], q[1], name)
    pl.label(o1[0] - 13, o1[1] - r1["a"] - 5, "da1, dw1, db1")
    pl.label(o2[0] - 13, o2[1] - r2["a"] - 5, "da2, dw2, db2")
    pl.label(6, 11, "line of action T1-T2 through P at alpha; length of contact g alpha = A-E")
    pl.label(6, 5, "between the tip circles;  eps alpha = g alpha / pb,  pb = pi m cos alpha")
    pl.write("contact")


def tooth():
    # Five teeth of a gear of module 10 whose centre lies below the window;
    # the tip, pitch and root circles span the whole outline.
    pl = Plot("Tooth dimensions")
    m, alpha = 10.0, math.radians(20)
    cx, cy, r = 80.0, -110.0, 170.0
    ra, rf = r + m, r - 1.25 * m
    p = math.pi * m

    def at(s, h):  # arc length s along the pitch circle from the top, height h
        a = math.pi / 2 - s / r
        return (cx + (r + h) * math.cos(a), cy + (r + h) * math.sin(a))
    half = p / 4
    pl.pen(1)
    outline = []
    for k in (-2, -1, 0, 1, 2):
        c = k * p
        wt = half - m * math.tan(alpha)
        wr = half + 1.25 * m * math.tan(alpha)
        outline += [at(c - wr, -1.25 * m), at(c - wt, m), at(c + wt, m), at(c + wr, -1.25 * m)]
    pl.poly(outline)
    pl.pen(6)
    span = (2 * p + half + 1.25 * m * math.tan(alpha)) / r
    for rr in (ra, r, rf):
        pl.arc(cx, cy, rr, math.pi / 2 + span, math.pi / 2 - span, 60)
    pl.pen(3)
    # ha and hf run from the pitch circle to the tip and the root circle.
    pl.arrow(*at(0, 0), *at(0, m))
    pl.arrow(*at(p / 2, 0), *at(p / 2, -1.25 * m))
    pl.label_near(*at(0, m / 2), "ha")
    pl.label_near(*at(p / 2, -0.6 * m), "hf")
    # s on the pitch circle across the tooth, e across the gap, p over both.
    pl.pen(5)
    pl.arc(cx, cy, r, math.pi / 2 - (-p - half) / r, math.pi / 2 - (-p + half) / r, 8)
    s_pt = at(-p, 0)
    pl.label(s_pt[0] - 1.5, s_pt[1] + 1.5, "s")
    pl.arc(cx, cy, r - 3, math.pi / 2 - (-p - half) / r, math.pi / 2 - (-half) / r, 12)
    pl.label(at(-p / 2, -8)[0] - 1.5, at(-p / 2, -8)[1], "p")
    pl.pen(2)
    for rr, name in ((ra, "da"), (r, "d"), (rf, "df")):
        x, y = cx + rr * math.cos(math.pi / 2 - 1.75 * p / r), cy + rr * math.sin(math.pi / 2 - 1.75 * p / r)
        pl.label_near(x, y, name)
    pl.label(6, 24, "d = m z   da = d + 2 ha   df = d - 2 hf")
    pl.label(6, 17, "ha = hfP0 (1.0 m)   hf = haP0 (1.25 m): the tool's dedendum, addendum")
    pl.label(6, 10, "s: tooth thickness on the pitch circle, p = pi m")
    pl.write("tooth")


def rack():
    pl = Plot("Reference rack profile")
    m, alpha = 12.0, math.radians(20)
    p = math.pi * m
    y0 = 66.0  # datum line
    half = p / 4
    ha, hf = 1.25 * m, 1.0 * m  # the tool: its addendum cuts the gear's root
    pts = []
    x0 = 14.0
    for k in range(4):
        c = x0 + half + k * p
        pts += [(c - half - hf * math.tan(alpha), y0 - hf), (c - half + ha * math.tan(alpha), y0 + ha)]
        pts += [(c + half - ha * math.tan(alpha), y0 + ha), (c + half + hf * math.tan(alpha), y0 - hf)]
    pts = [q for q in pts if 6 <= q[0] <= 154]
    pl.pen(1)
    pl.poly(pts)
    pl.pen(7)
    pl.line(8, y0, 152, y0)
    pl.label(130, y0 + 1.5, "datum")
    # alpha between the vertical and the flank of the second tooth, labelled there.
    c = x0 + half + p
    fx, fy = c + half, y0
    pl.pen(5)
    pl.line(fx, fy, fx, fy + ha + 4)
    top = (fx - ha * math.tan(alpha), fy + ha)
    ang = math.atan2(top[1] - fy, top[0] - fx)
    pl.arc(fx, fy, 10, math.pi / 2, ang, 8)
    pl.label_near(fx, fy + 9, "alpha")
    pl.pen(3)
    xa = x0 + half + 2 * p
    pl.arrow(xa, y0, xa, y0 + ha, both=True)
    pl.label_near(xa, y0 + ha / 2, "haP0")
    xf = x0 + 2 * half + 2 * p + 4
    pl.arrow(xf, y0, xf, y0 - hf, both=True)
    pl.label_near(xf, y0 - hf / 2, "hfP0")
    pl.arrow(x0 + half, y0 - hf - 8, x0 + half + p, y0 - hf - 8, both=True)
    pl.label(x0 + half + p / 2 - 4, y0 - hf - 14, "p = pi m")
    pl.pen(2)
    pl.label(6, 17, "tool datum line: tooth thickness = gap = p / 2")
    pl.label(6, 10, "haP0 / mn (1.25), hfP0 / mn (1.0); tip radius 0.05 mn, no protuberance")
    pl.write("rack")


def pitchcur():
    # Two equal ellipses, alike placed, turning about their foci O1 and O2,
    # in mesh on the line of centres: gear 1's far vertex on gear 2's near
    # one, so that r1 + r2 = a there and at every angle of the rolling pair.
    pl = Plot("Pitch curves and centre distance")
    half, ecc = 30.0, 0.4
    o1, o2 = (48.0, 62.0), (108.0, 62.0)

    def radius(t):  # polar about the focus, t from the far vertex
        return half * (1 - ecc * ecc) / (1 - ecc * math.cos(t))
    a = radius(0) + radius(math.pi)
    # The two focal radii of an ellipse add up to its long axis: whatever
    # gear 1's radius r1 at the contact, a - r1 is a radius of gear 2's equal
    # ellipse, so the pair rolls at the centre distance of the long axis.
    assert abs(a - 2 * half) < 1e-9 and abs((o2[0] - o1[0]) - a) < 1e-9, "not the centre distance of the pair"
    curve1 = [(o1[0] + radius(math.radians(k)) * math.cos(math.radians(k)),
               o1[1] + radius(math.radians(k)) * math.sin(math.radians(k))) for k in range(0, 362, 2)]
    curve2 = [(o2[0] + radius(math.radians(k)) * math.cos(math.radians(k)),
               o2[1] + radius(math.radians(k)) * math.sin(math.radians(k))) for k in range(0, 362, 2)]
    # They touch on the line of centres and nowhere overlap.
    centre1, b = (o1[0] + ecc * half, o1[1]), half * math.sqrt(1 - ecc * ecc)
    assert all(((x - centre1[0]) / half) ** 2 + ((y - centre1[1]) / b) ** 2 >= 1 - 1e-9 for x, y in curve2)
    assert math.dist(curve1[0], curve2[90]) < 1e-9, "the curves do not meet on the line of centres"
    pl.pen(5)
    pl.poly(curve1)
    pl.pen(6)
    pl.poly(curve2)
    pl.pen(7)
    pl.line(18, 62, 138, 62)
    for o in (o1, o2):
        pl.circle(o[0], o[1], 1.0)
    pl.label(o1[0] - 5, o1[1] - 6, "O1")
    pl.label(o2[0] + 1, o2[1] - 6, "O2")
    pl.pen(3)
    pl.arrow(o1[0] + a / 2, 48, o1[0], 48)
    pl.arrow(o1[0] + a / 2, 48, o2[0], 48)
    pl.label(o1[0] + a / 2, 49.5, "a")
    pl.line(o1[0], 60, o1[0], 46)
    pl.line(o2[0], 60, o2[0], 46)
    pl.pen(1)
    phi = math.radians(60)
    tip = (o1[0] + radius(phi) * math.cos(phi), o1[1] + radius(phi) * math.sin(phi))
    pl.arrow(*o1, *tip)
    pl.arc(o1[0], o1[1], 8, 0, phi, 12)
    pl.label_near(o1[0] + 11 * math.cos(phi / 2), o1[1] + 11 * math.sin(phi / 2), "phi")
    pl.label_near((o1[0] + tip[0]) / 2, (o1[1] + tip[1]) / 2 + 4, "r1(phi)")
    pl.pen(2)
    pl.label(10, 24, "a = r1(phi) + r2(phi2) at every angle; the pitch curves roll")
    pl.label(10, 18, "without slip. Gear 2 closes after k turns of gear 1; the program")
    pl.label(10, 12, "finds a by iteration. U1: length of pitch curve 1")
    pl.write("pitchcur")


PATTERN_RULES = [
    ("a", -1, "compensated", "Fbx = |1.33 fsh - fHb5|"),
    ("b", 1, "adds", "Fbx = 1.33 fsh + fma"),
    ("c", -1, "compensated if T > g", "else 1.33 fsh + fma"),
    ("d", 1, "compensated if T < g - 0.3", "else 1.33 fsh + fma"),
    ("e", 1, "adds", "Fbx = 1.33 fsh + fma"),
    ("f", -1, "compensated", "Fbx = |1.33 fsh - fHb5|"),
]


def pattern():
    # One cell per list entry: the face width b, the contact pattern as it is
    # checked, the side the shaft deflection moves the load to (arrow) and
    # the misalignment the rating then takes. Each cell holds its letter
    # beside its box and its rule under its arrow, well above the next
    # row's letter, so that no rule reads as another cell's.
    pl = Plot("Contact pattern position")
    for i, (letter, side, rule, formula) in enumerate(PATTERN_RULES):
        col, row = i % 3, i // 3
        x, y = 6 + col * 50, 66 - row * 42
        bx, by, bw, bh = x + 6, y + 14, 38, 18
        pl.pen(7)
        pl.poly([(bx, by), (bx + bw, by), (bx + bw, by + bh), (bx, by + bh), (bx, by)])
        pl.pen(1)
        ex = bx + bw / 2 + (0 if letter in "cd" else side * 9)
        pl.poly([(ex + 8 * math.cos(t * math.pi / 18), by + bh / 2 + 5.5 * math.sin(t * math.pi / 18))
                 for t in range(37)])
        pl.pen(3)
        dx = 1 if (letter in "ab" or letter == "c") else -1
        pl.arrow(bx + bw / 2 - dx * 8, by - 3, bx + bw / 2 + dx * 8, by - 3)
        pl.pen(2)
        pl.label(x, by + bh - 4, letter, 0.28, 0.40)
        pl.label(x + 6, y + 5.5, rule, 0.15, 0.25)
        pl.label(x + 6, y + 1, formula, 0.15, 0.25)
    pl.label(6, 8.5, "arrow: deflection of the loaded pinion", 0.13, 0.22)
    pl.label(6, 4, "T = |K'| l s / d1^2 (d1/dsh)^4,  g = 1 (1.5 double helical)", 0.13, 0.22)
    pl.write("pattern")


BEARINGS = [("a", "0.8", "0.48", 1, 1), ("b", "-0.8", "-0.48", -1, 1), ("c", "1.33", "1.33", 0, 1),
            ("d", "-0.6", "-0.36", 1, -1), ("e", "-1.0", "-0.6", -1, -1)]


def bearing():
    # One cell per list entry: the pinion shaft on its bearings (span l), the
    # pinion at the offset s from the middle (c: overhung) and the side the
    # torque T enters, with the constant K' the rating uses.
    pl = Plot("Bearing arrangement of the pinion shaft")
    for i, (letter, k, ks, offset, tside) in enumerate(BEARINGS):
        col, row = i % 3, i // 3
        x, y = 6 + col * 50, 60 - row * 46
        sy = y + 18
        left, right = x + 8, x + 40
        pl.pen(7)
        pl.line(x + 2, sy, x + 46, sy)
        for bxp in (left, right) if offset != 0 else (x + 4, x + 26):
            pl.poly([(bxp, sy - 1), (bxp - 2.5, sy - 5), (bxp + 2.5, sy - 5), (bxp, sy - 1)])
        if offset == 0:
            gx = x + 38  # overhung: outside the bearings
            mid = x + 15
        else:
            mid = (left + right) / 2
            gx = mid + offset * 7
        pl.pen(1)
        pl.poly([(gx - 3, sy - 7), (gx + 3, sy - 7), (gx + 3, sy + 7), (gx - 3, sy + 7), (gx - 3, sy - 7)])
        pl.pen(5)
        pl.arrow(mid, sy + 10, gx, sy + 10, both=abs(gx - mid) > 5)
        pl.label((mid + gx) / 2 - 1, sy + 11.5, "s")
        pl.pen(3)
        tx = x + 3 if tside > 0 else x + 45
        pl.arrow(tx, sy - 10, tx, sy - 2)
        pl.label(tx - 1.5 if tside > 0 else tx - 3, sy - 14, "T")
        pl.pen(2)
        pl.label(x, y + 33, letter, 0.28, 0.40)
        pl.label(x + 6, y, "K' = %s (%s)" % (k, ks), 0.15, 0.25)
    pl.label(106, 26, "K' without supporting", 0.15, 0.25)
    pl.label(106, 21, "effect (in brackets: with", 0.15, 0.25)
    pl.label(106, 16, "it, proposed at d1/dsh >= 1.15)", 0.15, 0.25)
    pl.label(6, 7, "s/l at most 0.3 (c: 0.5); l: bearing distance", 0.15, 0.25)
    pl.write("bearing")


# The start picture's two lines in each language it is drawn in: the
# program's file "start" in English, "start_de" under German menus.
START_TEXTS = {
    "start": ("Noncircular spur gears: pitch curve, pair, teeth and rating",
              "File - Open a design, or start from the default ellipse pair"),
    "start_de": ("Unrunde Stirnr\u00e4der: W\u00e4lzkurve, Paar, Z\u00e4hne, Tragf\u00e4higkeit",
                 "Datei - Entwurf \u00f6ffnen, oder mit dem Standard-Ellipsenpaar beginnen"),
}


def start(name="start"):
    # A pair of equal ellipses turning about their foci, in mesh at the
    # contact point of the far and the near vertex; each tooth of one gear
    # stands in a gap of the other.
    pl = Plot("VOB4")
    a, e, z = 25.0, 0.3, 24
    o1, o2 = (44.0, 60.0), (94.0, 60.0)

    def radius(t):
        return a * (1 - e * e) / (1 - e * math.cos(t))
    n = 2000
    curve = [(radius(2 * math.pi * k / n) * math.cos(2 * math.pi * k / n),
              radius(2 * math.pi * k / n) * math.sin(2 * math.pi * k / n)) for k in range(n + 1)]
    arc = [0.0]
    for k in range(n):
        arc.append(arc[-1] + math.dist(curve[k], curve[k + 1]))
    length = arc[-1]
    p = length / z
    m = p / math.pi
    ha, hf, alpha = m, 1.25 * m, math.radians(20)

    def at(s, h, start_index, direction):  # arc s from the contact vertex
        s = s % length
        target = (arc[start_index] + direction * s) % length
        k = max(0, min(n - 1, next(i for i in range(n + 1) if arc[i] >= target) - 1))
        f = (target - arc[k]) / (arc[k + 1] - arc[k])
        x = curve[k][0] + f * (curve[k + 1][0] - curve[k][0])
        y = curve[k][1] + f * (curve[k + 1][1] - curve[k][1])
        tx, ty = curve[k + 1][0] - curve[k][0], curve[k + 1][1] - curve[k][1]
        d = math.hypot(tx, ty)
        return x + h * ty / d, y - h * tx / d  # outward normal of a counter-clockwise curve

    def gear(origin, start_index, direction, offset, backlash):
        pts, teeth = [], []
        half = p / 4 - backlash
        for k in range(z):
            c = (k + offset) * p
            wt = half - ha * math.tan(alpha)
            wr = half + hf * math.tan(alpha)
            tooth = [at(c - wr, -hf, start_index, direction), at(c - wt, ha, start_index, direction),
                     at(c + wt, ha, start_index, direction), at(c + wr, -hf, start_index, direction)]
            tooth = [(origin[0] + q[0], origin[1] + q[1]) for q in tooth]
            teeth.append(tooth)
            pts += tooth
        pts.append(pts[0])
        return pts, teeth
    # Gear 1 meets gear 2 at its far vertex (index 0), gear 2 at its near one
    # (index n/2); the arcs run the same way up from the contact point.
    g1, teeth1 = gear(o1, 0, 1, 0.5, 0.04 * p)
    g2, teeth2 = gear(o2, n // 2, -1, 0.0, 0.04 * p)

    def crosses(p1, p2, q1, q2):
        def side(a_, b_, c_):
            return (b_[0] - a_[0]) * (c_[1] - a_[1]) - (b_[1] - a_[1]) * (c_[0] - a_[0])
        return side(p1, p2, q1) * side(p1, p2, q2) < 0 and side(q1, q2, p1) * side(q1, q2, p2) < 0
    for t1 in teeth1:
        for t2 in teeth2:
            for i in range(3):
                for j in range(3):
                    assert not crosses(t1[i], t1[i + 1], t2[j], t2[j + 1]), "teeth overlap"
    pl.pen(5)
    pl.poly(g1)
    pl.pen(6)
    pl.poly(g2)
    pl.pen(7)
    for o in (o1, o2):
        pl.circle(o[0], o[1], 1.5)
    pl.pen(2)
    title, hint = START_TEXTS[name]
    pl.label(10, 18, title, 0.24, 0.35)
    pl.label(10, 11, hint)
    pl.write(name)


if __name__ == "__main__":
    contact()
    tooth()
    rack()
    pitchcur()
    pattern()
    bearing()
    for name in START_TEXTS:
        start(name)
