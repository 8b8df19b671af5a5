"""Pictures for the working-session test, standard library only.

Reads X window dumps (XWD, as xwd writes them) and 24-bit BMP files, writes
PNG files, and compares two pictures pixel by pixel. A picture is an RGB
image: width, height and rows of packed R, G, B bytes, top row first.
"""
import struct
import zlib


class Picture:
    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self.rows = rows  # list of bytes, 3 * width each

    def crop(self, x, y, width, height):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + width), min(self.height, y + height)
        if x1 <= x0 or y1 <= y0:
            raise ValueError("crop outside the picture: %d,%d %dx%d of %dx%d"
                             % (x, y, width, height, self.width, self.height))
        rows = [r[3 * x0:3 * x1] for r in self.rows[y0:y1]]
        return Picture(x1 - x0, y1 - y0, rows)

    def paste(self, other, x, y):
        """A copy with other laid over it at (x, y), cut to this picture."""
        rows = list(self.rows)
        for oy, row in enumerate(other.rows):
            ty = y + oy
            if not 0 <= ty < self.height:
                continue
            left, right = max(0, x), min(self.width, x + other.width)
            if right <= left:
                break
            line = bytearray(rows[ty])
            line[3 * left:3 * right] = row[3 * (left - x):3 * (right - x)]
            rows[ty] = bytes(line)
        return Picture(self.width, self.height, rows)

    def colours(self):
        """The set of distinct colours (as RGB triples)."""
        seen = set()
        for row in self.rows:
            for i in range(0, len(row), 3):
                seen.add(row[i:i + 3])
        return {tuple(c) for c in seen}


def _mask_shift(mask):
    shift = 0
    while mask and not mask & 1:
        mask >>= 1
        shift += 1
    return shift


def read_xwd(path):
    """A ZPixmap dump of a true-colour window, 24 or 32 bits a pixel."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 100:
        raise ValueError("%s: too short for an XWD dump" % path)
    # The header's fields are big-endian 32-bit numbers whatever the pixels are.
    fields = struct.unpack(">25I", data[:100])
    (header_size, version, pixmap_format, depth, width, height, _xoffset, byte_order,
     _bitmap_unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual_class,
     red_mask, green_mask, blue_mask, _bits_per_rgb, _cmap_entries, ncolors) = fields[:20]
    if version != 7 or pixmap_format != 2:
        raise ValueError("%s: not a ZPixmap XWD dump (version %d, format %d)"
                         % (path, version, pixmap_format))
    if bits_per_pixel not in (24, 32) or depth < 24:
        raise ValueError("%s: %d bits a pixel, depth %d not supported"
                         % (path, bits_per_pixel, depth))
    start = header_size + 12 * ncolors
    need = start + bytes_per_line * height
    if len(data) < need:
        raise ValueError("%s: pixel data cut short (%d of %d bytes)" % (path, len(data), need))
    step = bits_per_pixel // 8
    # Byte positions of red, green and blue inside one pixel.
    positions = []
    for mask in (red_mask, green_mask, blue_mask):
        byte = _mask_shift(mask) // 8
        positions.append(byte if byte_order == 0 else step - 1 - byte)
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + step * width]
        out = bytearray(3 * width)
        for channel, pos in enumerate(positions):
            out[channel::3] = line[pos::step]
        rows.append(bytes(out))
    return Picture(width, height, rows)


def read_bmp24(path):
    """A 24-bit uncompressed BMP file; raises ValueError for anything else."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54 or data[:2] != b"BM":
        raise ValueError("%s: not a BMP file" % path)
    file_size, _, offset = struct.unpack("<I4sI", data[2:14])
    info_size, width, height, planes, bits, compression = struct.unpack("<IiiHHI", data[14:34])
    if file_size != len(data):
        raise ValueError("%s: file size field %d, file has %d bytes" % (path, file_size, len(data)))
    if info_size < 40 or planes != 1 or bits != 24 or compression != 0:
        raise ValueError("%s: header %d bytes, %d planes, %d bits, compression %d; "
                         "want a 24-bit uncompressed bitmap"
                         % (path, info_size, planes, bits, compression))
    bottom_up = height > 0
    height = abs(height)
    stride = (3 * width + 3) // 4 * 4
    if offset + stride * height > len(data):
        raise ValueError("%s: pixel data cut short" % path)
    rows = []
    for y in range(height):
        line = data[offset + y * stride:offset + y * stride + 3 * width]
        out = bytearray(3 * width)
        out[0::3] = line[2::3]
        out[1::3] = line[1::3]
        out[2::3] = line[0::3]
        rows.append(bytes(out))
    if bottom_up:
        rows.reverse()
    return Picture(width, height, rows)


def _chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body
            + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def write_png(picture, path):
    """An 8-bit RGB PNG. Rows use the Up filter where it is zero across the
    row (flat areas, vertical runs), which keeps screenshots small."""
    raw = bytearray()
    previous = None
    for row in picture.rows:
        if previous is not None and row == previous:
            raw += b"\x02" + bytes(len(row))
        else:
            raw += b"\x00" + row
        previous = row
    header = struct.pack(">IIBBBBB", picture.width, picture.height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(_chunk(b"IHDR", header))
        f.write(_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(_chunk(b"IEND", b""))


class Difference:
    """Where two pictures of one size differ."""

    def __init__(self, count, box, samples):
        self.count = count
        self.box = box  # (left, top, right, bottom), inclusive; None when equal
        self.samples = samples  # up to a few (x, y, colour a, colour b)

    def __bool__(self):
        return self.count > 0

    def describe(self):
        if not self.count:
            return "no pixel differs"
        left, top, right, bottom = self.box
        text = "%d pixels differ inside x %d..%d, y %d..%d" % (self.count, left, right, top, bottom)
        for x, y, a, b in self.samples:
            text += "\n  (%d, %d): #%02x%02x%02x vs #%02x%02x%02x" % ((x, y) + a + b)
        return text


def compare(a, b, sample_count=5):
    if (a.width, a.height) != (b.width, b.height):
        raise ValueError("sizes differ: %dx%d and %dx%d" % (a.width, a.height, b.width, b.height))
    count = 0
    left = top = None
    right = bottom = -1
    samples = []
    for y, (ra, rb) in enumerate(zip(a.rows, b.rows)):
        if ra == rb:
            continue
        for x in range(a.width):
            pa, pb = ra[3 * x:3 * x + 3], rb[3 * x:3 * x + 3]
            if pa != pb:
                count += 1
                left = x if left is None else min(left, x)
                right = max(right, x)
                top = y if top is None else top
                bottom = y
                if len(samples) < sample_count:
                    samples.append((x, y, tuple(pa), tuple(pb)))
    box = None if count == 0 else (left, top, right, bottom)
    return Difference(count, box, samples)
