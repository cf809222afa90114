"""Stroke letters for the wordmark and the welcome picture.

Each letter is a list of strokes in a box one unit high (0 at cap height, 1 at the baseline) and
as wide as its advance; x-height letters start at 0.32.
"""
from raster import arc, bezier

LETTERS = {
    "S": (0.62, [arc(0.31, 0.25, 0.25, 0.25, -25, -270) + arc(0.31, 0.75, 0.26, 0.25, -90, 155)[1:]]),
    "o": (0.62, [arc(0.31, 0.66, 0.27, 0.34, 0, 360, 32)]),
    "r": (0.44, [[(0.05, 0.32), (0.05, 1.0)], bezier((0.05, 0.62), (0.07, 0.38), (0.22, 0.31), (0.42, 0.34))]),
    "v": (0.6, [[(0.03, 0.32), (0.3, 1.0), (0.57, 0.32)]]),
    "a": (0.62, [arc(0.28, 0.66, 0.24, 0.34, 0, 360, 32), [(0.53, 0.32), (0.53, 1.0)]]),
    "n": (0.62, [[(0.05, 0.32), (0.05, 1.0)], [(0.05, 0.62)] + arc(0.3, 0.6, 0.25, 0.28, 180, 360)
                 + [(0.55, 1.0)]]),
    "e": (0.62, [[(0.05, 0.66), (0.57, 0.66)] + arc(0.31, 0.66, 0.26, 0.34, 0, -310, 30)]),
    "A": (0.72, [[(0.02, 1.0), (0.36, 0.0), (0.7, 1.0)], [(0.15, 0.64), (0.57, 0.64)]]),
    "B": (0.62, [[(0.3, 0.0), (0.06, 0.0), (0.06, 1.0), (0.34, 1.0)],
                 [(0.06, 0.49), (0.32, 0.49)],
                 [(0.3, 0.0)] + arc(0.3, 0.245, 0.245, 0.245, -90, 90),
                 [(0.34, 0.49)] + arc(0.34, 0.745, 0.255, 0.255, -90, 90)]),
    "C": (0.66, [arc(0.36, 0.5, 0.32, 0.5, -40, -320)]),
}


def draw_text(canvas, text, x, baseline, size, stroke, colour, spacing=0.12):
    """Draws text with its baseline at `baseline`; returns the x after the last letter."""
    for ch in text:
        advance, strokes = LETTERS[ch]
        for s in strokes:
            canvas.polyline([(x + px * size, baseline - size + py * size) for px, py in s], stroke, colour)
        x += (advance + spacing) * size
    return x


def text_width(text, size, spacing=0.12):
    return sum((LETTERS[ch][0] + spacing) * size for ch in text) - spacing * size
