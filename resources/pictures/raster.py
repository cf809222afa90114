"""A small anti-aliased painter: shapes are filled on a finer grid, then averaged down."""
import math


class Canvas:
    def __init__(self, width, height, background=(255, 255, 255, 255), grain=4):
        self.width, self.height, self.grain = width, height, grain
        self.cols, self.rows = width * grain, height * grain
        self.cells = [tuple(background)] * (self.cols * self.rows)

    # Every shape comes down to "which fine cells inside this box does it cover".
    def _paint(self, box, covers, colour):
        x0, y0, x1, y1 = box
        g = self.grain
        c0, c1 = max(0, int(math.floor(x0 * g))), min(self.cols, int(math.ceil(x1 * g)) + 1)
        r0, r1 = max(0, int(math.floor(y0 * g))), min(self.rows, int(math.ceil(y1 * g)) + 1)
        colour = tuple(colour) + ((255,) if len(colour) == 3 else ())
        for r in range(r0, r1):
            y = (r + 0.5) / g
            base = r * self.cols
            for c in range(c0, c1):
                if covers((c + 0.5) / g, y):
                    self.cells[base + c] = _over(colour, self.cells[base + c])

    def rect(self, x0, y0, x1, y1, colour):
        self._paint((x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self._paint((cx - rx, cy - ry, cx + rx, cy + ry),
                    lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour)

    def polygon(self, points, colour):
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        edges = list(zip(points, points[1:] + points[:1]))

        def inside(x, y):
            hit = False
            for (ax, ay), (bx, by) in edges:
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        self._paint((min(xs), min(ys), max(xs), max(ys)), inside, colour)

    def line(self, ax, ay, bx, by, width, colour):
        """A stroke with round ends."""
        h = width / 2.0
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1e-9

        def covers(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            return px * px + py * py <= h * h
        self._paint((min(ax, bx) - h, min(ay, by) - h, max(ax, bx) + h, max(ay, by) + h), covers, colour)

    def polyline(self, points, width, colour):
        for a, b in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], width, colour)

    def pixels(self):
        """The picture at its real size, as RGBA tuples (colour averaged with alpha weight)."""
        g, out = self.grain, []
        n = g * g
        for y in range(self.height):
            for x in range(self.width):
                r = gg = b = a = 0
                for sy in range(y * g, y * g + g):
                    row = sy * self.cols
                    for sx in range(x * g, x * g + g):
                        cr, cg, cb, ca = self.cells[row + sx]
                        r += cr * ca; gg += cg * ca; b += cb * ca; a += ca
                if a == 0:
                    out.append((0, 0, 0, 0))
                else:
                    out.append((round(r / a), round(gg / a), round(b / a), round(a / n)))
        return out


def _over(top, bottom):
    ta = top[3] / 255.0
    if ta >= 1.0:
        return top
    ba = bottom[3] / 255.0
    a = ta + ba * (1 - ta)
    if a == 0:
        return (0, 0, 0, 0)
    mix = lambda t, b: round((t * ta + b * ba * (1 - ta)) / a)
    return (mix(top[0], bottom[0]), mix(top[1], bottom[1]), mix(top[2], bottom[2]), round(a * 255))


def bezier(p0, p1, p2, p3, steps=16):
    """Points along a cubic curve, for strokes that need to bend."""
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points along an ellipse from angle start to end, in degrees, clockwise on screen."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]


def flatten(pixels, background):
    """Lays RGBA pixels on a solid background, for bitmaps without transparency."""
    out = []
    for r, g, b, a in pixels:
        f = a / 255.0
        out.append((round(r * f + background[0] * (1 - f)), round(g * f + background[1] * (1 - f)),
                    round(b * f + background[2] * (1 - f))))
    return out
