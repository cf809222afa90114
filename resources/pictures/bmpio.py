"""Writers for the two picture formats the resource compiler takes: BMP and ICO."""
import struct


def _rows_24(pixels, width, height):
    pad = (4 - (width * 3) % 4) % 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            r, g, b = pixels[y * width + x][:3]
            out += bytes((b, g, r))
        out += b"\0" * pad
    return bytes(out)


def write_bmp24(path, pixels, width, height):
    data = _rows_24(pixels, width, height)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 14 + 40))
        f.write(header + data)


def write_bmp8(path, pixels, width, height):
    """Palette bitmap: the toolbar needs a colour table so the loader can map the 3-D greys."""
    palette = []
    index = {}
    for p in pixels:
        p = tuple(p[:3])
        if p not in index:
            index[p] = len(palette)
            palette.append(p)
    if len(palette) > 256:
        raise ValueError("more than 256 colours in %s" % path)
    pad = (4 - width % 4) % 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        data += bytes(index[tuple(pixels[y * width + x][:3])] for x in range(width))
        data += b"\0" * pad
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835,
                         len(palette), 0)
    offset = 14 + 40 + len(table)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(header + table + bytes(data))


def quantize(pixels, colours=256):
    """The picture in at most `colours` colours: median cut over its colours weighted by use,
    each pixel then the nearest colour of the palette. For pictures with smooth gradients,
    which 8 bits a pixel render without visible steps at a third of the size."""
    counts = {}
    for p in pixels:
        counts[tuple(p[:3])] = counts.get(tuple(p[:3]), 0) + 1
    if len(counts) <= colours:
        return pixels
    boxes = [list(counts)]
    while len(boxes) < colours:
        box = max((b for b in boxes if len(b) > 1), key=lambda b: sum(counts[c] for c in b), default=None)
        if box is None:
            break
        spans = [max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: c[axis])
        total, half, cut = sum(counts[c] for c in box), 0, 0
        while cut < len(box) - 1 and half + counts[box[cut]] <= total / 2:
            half += counts[box[cut]]
            cut += 1
        cut = max(cut, 1)
        boxes.remove(box)
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        w = sum(counts[c] for c in box)
        palette.append(tuple(round(sum(c[i] * counts[c] for c in box) / w) for i in range(3)))
    nearest = {}
    for c in counts:
        nearest[c] = min(palette, key=lambda q: sum((a - b) ** 2 for a, b in zip(c, q)))
    return [nearest[tuple(p[:3])] for p in pixels]


def write_bmp(path, pixels, width, height):
    """The smallest lossless form: a colour table where the picture has 256 colours or fewer
    (a third of the size in the program), 24 bits a pixel otherwise."""
    if len({tuple(p[:3]) for p in pixels}) <= 256:
        write_bmp8(path, pixels, width, height)
    else:
        write_bmp24(path, pixels, width, height)


def _icon_image(pixels, size):
    """One icon image: 32-bit BGRA rows bottom-up, then the 1-bit AND mask."""
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixels[y * size + x]
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(size):
            if pixels[y * size + x][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, RGBA pixels)."""
    blobs = [(size, _icon_image(px, size)) for size, px in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blob for _, blob in blobs))
