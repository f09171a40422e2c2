"""Draws the setup program's two icons and writes them as .ico files: the
window icon (resource 127) and the picture of the wizard's left panel
(resource 105), with PNG previews of every size for looking at them.

Both show an open book with lamp light rising from its pages; the panel icon
adds a writing brush. The pictures are drawn from shapes in a unit square, with
anti-aliased coverage, and each size gets its own line widths and detail, so
the 16 x 16 window icon stays legible. Beside the true-colour images each icon
has 256-colour and 16-colour ones at 16 x 16 and 32 x 32, for Windows 95, NT
3.51 and displays of so few colours, mapped from the same pictures."""

import math
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from sample_formats import PNG_SIGNATURE, png_chunk  # noqa: E402

# Subsample rows per pixel; the horizontal coverage of each row is exact.
SubRows = 16

# Below this alpha a pixel is transparent in the AND mask. Systems that ignore
# the alpha channel draw only the mask and the colour, so every pixel they see
# keeps its own colour rather than a premultiplied one.
MaskAlphaThreshold = 128


# --- Geometry --------------------------------------------------------------

def cubic(p0, p1, p2, p3, steps=24):
    """Points of a cubic Bezier curve, both ends included."""
    points = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        points.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                       u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return points


def circle(cx, cy, r, steps=72):
    return [(cx + r * math.cos(2 * math.pi * i / steps), cy + r * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


def stroke(points, width):
    """Polygons covering a polyline drawn with the given width and round joins."""
    half = width / 2
    polygons = []
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        if length == 0:
            continue
        nx, ny = -(y1 - y0) / length * half, (x1 - x0) / length * half
        polygons.append([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
    for x, y in points:
        polygons.append(circle(x, y, half, 16))
    return polygons


def mirrored(points, axis=0.5):
    """The same outline reflected about the vertical line x = axis, in the
    same turning direction."""
    return [(2 * axis - x, y) for x, y in reversed(points)]


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


# --- Raster ----------------------------------------------------------------

class Canvas:
    """A square image of premultiplied RGBA floats (0..1), drawn in unit
    coordinates with y pointing down."""

    def __init__(self, size):
        self.size = size
        self.pixels = [(0.0, 0.0, 0.0, 0.0)] * (size * size)

    def coverage(self, polygons):
        """Per-pixel coverage of the union of the polygons (even-odd within each)."""
        size = self.size
        union = [0.0] * (size * size)
        for polygon in polygons:
            cover = [0.0] * (size * size)
            points = [(x * size, y * size) for x, y in polygon]
            edges = list(zip(points, points[1:] + points[:1]))
            top = max(0, int(math.floor(min(y for _, y in points))))
            bottom = min(size, int(math.ceil(max(y for _, y in points))))
            for row in range(top, bottom):
                for sub in range(SubRows):
                    y = row + (sub + 0.5) / SubRows
                    crossings = sorted(x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                                       for (x0, y0), (x1, y1) in edges
                                       if (y0 <= y < y1) or (y1 <= y < y0))
                    for left, right in zip(crossings[0::2], crossings[1::2]):
                        self._add_span(cover, row, max(0.0, left), min(float(size), right))
            union = [max(a, b) for a, b in zip(union, cover)]
        return union

    def _add_span(self, cover, row, left, right):
        if right <= left:
            return
        base = row * self.size
        for column in range(int(left), min(self.size, int(math.ceil(right)))):
            overlap = min(right, column + 1) - max(left, column)
            if overlap > 0:
                cover[base + column] += overlap / SubRows

    def paint(self, polygons, colour, clip=None):
        """Composites colour over the image where the polygons are. colour is an
        (r, g, b, a) tuple of 0..255 values, or a function of the pixel centre in
        unit coordinates that returns one."""
        cover = self.coverage(polygons)
        if clip is not None:
            cover = [a * b for a, b in zip(cover, clip)]
        size = self.size
        for index, amount in enumerate(cover):
            if amount <= 0:
                continue
            if callable(colour):
                r, g, b, a = colour((index % size + 0.5) / size, (index // size + 0.5) / size)
            else:
                r, g, b, a = colour
            alpha = min(1.0, amount) * a / 255
            pr, pg, pb, pa = self.pixels[index]
            keep = 1 - alpha
            self.pixels[index] = (r / 255 * alpha + pr * keep, g / 255 * alpha + pg * keep,
                                  b / 255 * alpha + pb * keep, alpha + pa * keep)

    def rgba(self):
        """Rows top to bottom of straight (not premultiplied) 8-bit RGBA."""
        rows = []
        for row in range(self.size):
            line = []
            for r, g, b, a in self.pixels[row * self.size:(row + 1) * self.size]:
                alpha = int(round(a * 255))
                if alpha == 0:
                    line.append((0, 0, 0, 0))
                else:
                    line.append(tuple(min(255, int(round(c / a * 255))) for c in (r, g, b)) + (alpha,))
            rows.append(line)
        return rows


# --- The pictures ----------------------------------------------------------

Ink = (28, 48, 92, 255)            # the book's cover and outlines
InkLight = (58, 88, 150, 255)
Paper = (255, 251, 238, 255)
PaperShade = (246, 226, 178, 255)  # the pages near the spine, in the lamp light
TextLine = (120, 132, 160, 255)
GlowCore = (255, 246, 190, 255)
GlowEdge = (255, 166, 44, 255)
TextLineSmall = (150, 160, 184, 255)
Brush = (22, 22, 30, 255)           # the brush's hair and its ink
BambooLit = (206, 150, 80, 255)
BambooShade = (160, 106, 50, 255)
Ferrule = (168, 40, 34, 255)


class BookShape:
    """The outlines of the open book, in fractions of the icon's width.

    The spine is a whole number of pixel columns with the same number of
    columns either side of it, so at even sizes the book is one pixel narrower
    than the icon. The outer page edges lie on whole pixels too: the outlines
    stay crisp instead of smearing into two grey half pixels."""

    def __init__(self, size):
        self.size = size
        self.small = size <= 16
        pixel = self.pixel = 1.0 / size
        self.outline = (1 if size <= 32 else 2) * pixel
        spine_left = (size - round(self.outline * size)) // 2
        self.spine = (spine_left * pixel, spine_left * pixel + self.outline)
        self.axis = (self.spine[0] + self.spine[1]) / 2
        inner = self.spine[0]
        left = max(1, round(0.08 * size)) * pixel
        if self.small:
            outer_top, outer_bottom, arch = 7 * pixel, 13 * pixel, 5.4 * pixel
            spine_top, spine_bottom, band = 8 * pixel, 14.6 * pixel, 2.2 * pixel
        else:
            outer_top, outer_bottom, arch = 0.43, 0.80, 0.36
            spine_top, spine_bottom, band = 0.50, 0.88, 0.075
        self.spine_top, self.spine_bottom, self.band = spine_top, spine_bottom, band
        width = inner - left
        near, far = left + 0.33 * width, left + 0.75 * width
        self.top_curve = cubic((left, outer_top), (near, arch), (far, arch), (inner, spine_top))
        bottom = cubic((inner, spine_bottom), (far, outer_bottom - 0.035), (near, outer_bottom - 0.05),
                       (left, outer_bottom))
        self.left_page = self.top_curve + bottom
        self.right_page = self.mirror(self.left_page)
        # The cover shows as a band below the pages, deepest under the spine.
        cover_bottom = cubic((self.axis, spine_bottom + band), (far, outer_bottom - 0.035 + band * 0.8),
                             (near, outer_bottom - 0.05 + band * 0.7),
                             (left - self.outline, outer_bottom + band * 0.6))
        cover_left = [(self.axis, spine_top + 2 * pixel), (left - self.outline, outer_top + pixel)] + cover_bottom[::-1]
        self.cover = [cover_left, self.mirror(cover_left)]

    def mirror(self, points):
        return mirrored(points, self.axis)

    def page_point(self, t, depth):
        """A point on the left page: t runs from the outer edge (0) to the spine
        (1) along the top curve, depth is how far down the page (0..1)."""
        index = t * (len(self.top_curve) - 1)
        low = int(index)
        high = min(low + 1, len(self.top_curve) - 1)
        x, y = lerp(self.top_curve[low], self.top_curve[high], index - low)
        height = (self.spine_bottom - self.spine_top) * (0.80 + 0.20 * t)
        return x, y + depth * height


def rectangle(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def draw_glow(canvas, centre, radius, rays):
    """The lamp light rising behind the book."""
    cx, cy = centre
    pixel = 1.0 / canvas.size

    def light(x, y):
        distance = min(1.0, math.hypot(x - cx, y - cy) / radius)
        return lerp(GlowCore, GlowEdge, distance ** 1.4)

    if rays:
        # Short rays, only where there are pixels enough for them. There is no
        # soft halo: systems that ignore the alpha channel would show its
        # faint pixels as noise, since the AND mask leaves them transparent.
        for angle in (-90, -50, -130, -15, -165):
            a = math.radians(angle)
            inner, outer = radius * 1.22, radius * (1.62 if angle == -90 else 1.5)
            canvas.paint(stroke([(cx + inner * math.cos(a), cy + inner * math.sin(a)),
                                 (cx + outer * math.cos(a), cy + outer * math.sin(a))], 1.6 * pixel),
                         GlowEdge)
    canvas.paint([circle(cx, cy, radius)], light)


def draw_book(canvas, book, lines_left, lines_right):
    """The cover, the outlined pages lit from the spine, and lines of writing:
    each line is (depth down the page, first and last point from outer edge to
    spine)."""
    pixel = book.pixel
    outline = book.outline
    pages = [book.left_page, book.right_page]
    canvas.paint(book.cover, Ink)
    # Stroked at twice the width and then covered by the paper, the outline
    # lies wholly outside the page edges.
    for page in pages:
        canvas.paint(stroke(page + page[:1], 2 * outline), Ink)
    canvas.paint(pages, lambda x, y: lerp(PaperShade, Paper, min(1.0, abs(x - book.axis) / 0.30)))
    canvas.paint([rectangle(book.spine[0], book.spine_top, book.spine[1], book.spine_bottom + book.band)], Ink)
    if not book.small:
        stack = cubic((book.axis, book.spine_bottom + 0.035), (0.40, 0.80), (0.22, 0.785), (0.06, 0.84))
        canvas.paint(stroke(stack, 0.9 * pixel) + stroke(book.mirror(stack), 0.9 * pixel), InkLight)
    clip = canvas.coverage(pages)
    for lines, turn in ((lines_left, lambda points: points), (lines_right, book.mirror)):
        for depth, first, last in lines:
            line = [book.page_point(first + (last - first) * i / 8, depth) for i in range(9)]
            canvas.paint(stroke(turn(line), pixel), TextLine, clip=clip)


def draw_pixel_lines(canvas, book):
    """At 16 pixels the lines of writing are whole pixel rows, two a page."""
    pixel = book.pixel
    for row, first, last in ((9, 3, 5), (11, 2, 5)):
        line = rectangle(first * pixel, row * pixel, (last + 1) * pixel, (row + 1) * pixel)
        canvas.paint([line, book.mirror(line)], TextLineSmall)


def draw_brush(canvas):
    """A writing brush that has just drawn a stroke of ink across the right page."""
    pixel = 1.0 / canvas.size
    # The stroke: pressed in at the start, thinner in the run, pressed again
    # where the brush still rests.
    run = cubic((0.585, 0.60), (0.64, 0.57), (0.71, 0.575), (0.765, 0.59), 16)
    for i, (x, y) in enumerate(run):
        t = i / (len(run) - 1)
        weight = 0.022 + 0.016 * (1 - t) ** 4 + 0.008 * t ** 6
        canvas.paint([circle(x, y, max(weight, 0.9 * pixel), 20)], Brush)
    tip = (0.775, 0.595)
    top = (0.985, 0.07)
    length = math.hypot(top[0] - tip[0], top[1] - tip[1])
    ux, uy = (top[0] - tip[0]) / length, (top[1] - tip[1]) / length
    nx, ny = -uy, ux

    def along(distance, side):
        return (tip[0] + ux * distance + nx * side, tip[1] + uy * distance + ny * side)

    shaft = max(0.040, 1.3 * pixel)
    hair = 0.17
    canvas.paint([[along(hair, shaft), along(length, shaft), along(length, -shaft), along(hair, -shaft)]],
                 lambda x, y: BambooLit if (x - tip[0]) * nx + (y - tip[1]) * ny < 0 else BambooShade)
    canvas.paint([[along(hair - 0.01, shaft * 1.25), along(hair + 0.055, shaft * 1.25),
                   along(hair + 0.055, -shaft * 1.25), along(hair - 0.01, -shaft * 1.25)]], Ferrule)
    tuft = (cubic(along(0.0, 0.0), along(0.05, shaft * 1.35), along(0.12, shaft * 1.3), along(hair, shaft * 1.1), 12)
            + cubic(along(hair, -shaft * 1.1), along(0.12, -shaft * 1.3), along(0.05, -shaft * 1.35),
                    along(0.0, 0.0), 12))
    canvas.paint([tuft], Brush)


def window_icon(size):
    """Resource 127: the open book in the lamp light."""
    canvas = Canvas(size)
    book = BookShape(size)
    if book.small:
        draw_glow(canvas, (book.axis, 0.33), 0.27, rays=False)
        draw_book(canvas, book, [], [])
        draw_pixel_lines(canvas, book)
    else:
        lines = [(0.30, 0.15, 0.85), (0.55, 0.15, 0.85)]
        draw_glow(canvas, (book.axis, 0.30), 0.21, rays=True)
        draw_book(canvas, book, lines, lines)
    return canvas.rgba()


def panel_icon(size):
    """Resource 105: the same book with a brush writing on it."""
    canvas = Canvas(size)
    book = BookShape(size)
    lines = [(0.28, 0.15, 0.85), (0.50, 0.15, 0.85), (0.72, 0.2, 0.8)] if size >= 40 else \
        [(0.33, 0.15, 0.85), (0.62, 0.15, 0.85)]
    draw_glow(canvas, (0.46, 0.29), 0.20, rays=True)
    draw_book(canvas, book, lines, [])
    draw_brush(canvas)
    return canvas.rgba()


# Each icon's images as (bits per pixel, size), in the order of its directory:
# the true-colour ones, then the 256-colour and 16-colour ones that Windows 95,
# NT 3.51 and a display of 256 or 16 colours pick.
PaletteImages = [(8, 16), (8, 32), (4, 16), (4, 32)]
ICONS = [
    ("window.ico", "window", window_icon, [(32, 16), (32, 32)] + PaletteImages),
    ("panel.ico", "panel", panel_icon, [(32, 32), (32, 48)] + PaletteImages),
]

# The 16 colours of the VGA palette, as every 16-colour display of Windows shows them.
Vga16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
         (0, 255, 255), (255, 255, 255)]
# 256 colours: the same 16, the 6 x 6 x 6 colour cube and 24 greys between the
# cube's. A palette display maps an icon's colours onto its own palette, so a
# fixed, even spread of colours serves every image alike.
Palette256 = (Vga16 + [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51) for b in range(0, 256, 51)]
              + [(v, v, v) for v in range(8, 248, 10)])
Palettes = {4: Vga16, 8: Palette256}


def nearest(palette, colour):
    """The index of the palette colour closest to colour, green weighed most as
    the eye does, and the loss of colourfulness too: in 16 colours the lamp
    light's orange is nearer grey than yellow by distance alone."""
    def chroma(c):
        return max(c) - min(c)

    def distance(i):
        return (sum(w * (a - b) ** 2 for w, a, b in zip((3, 4, 2), palette[i], colour))
                + 2 * (chroma(palette[i]) - chroma(colour)) ** 2)
    return min(range(len(palette)), key=distance)


# --- Files -----------------------------------------------------------------

def dib_image(rows, bits):
    """One icon image: BITMAPINFOHEADER, the palette of a 4- or 8-bit image, the
    colour rows (BGRA at 32 bits, palette indices else) and the 1-bit AND mask,
    both bottom-up. The header gives twice the height because the colour and
    mask bitmaps are counted as one. A clear pixel is black in the colours."""
    height = len(rows)
    width = len(rows[0])
    mask_stride = (width + 31) // 32 * 4
    palette = Palettes.get(bits, [])
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits_row = bytearray(mask_stride)
        indices = []
        for x, (r, g, b, a) in enumerate(row):
            clear = a < MaskAlphaThreshold
            if clear:
                bits_row[x // 8] |= 0x80 >> (x % 8)
            if bits == 32:
                colour += bytes((b, g, r, a))
            else:
                indices.append(0 if clear else nearest(palette, (r, g, b)))
        if bits == 8:
            colour += bytes(indices)
        elif bits == 4:
            colour += bytes(high << 4 | low for high, low in zip(indices[0::2], indices[1::2]))
        colour += bytes(-len(colour) % 4)       # rows end on a 4-byte boundary
        mask += bits_row
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bits, 0, len(colour) + len(mask), 0, 0,
                         len(palette), 0)
    return header + table + bytes(colour) + bytes(mask)


def ico_file(images):
    """ICONDIR, one ICONDIRENTRY per (bits, rows) image, then the images in the same order."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    bodies = [dib_image(rows, bits) for bits, rows in images]
    for (bits, rows), body in zip(images, bodies):
        # A size of 256 is written as 0, and so is a count of 256 colours or more.
        size = len(rows) % 256
        colours = len(Palettes.get(bits, [])) % 256
        entries += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits, len(body), offset)
        offset += len(body)
    return directory + bytes(entries) + b"".join(bodies)


def as_shown(bits, rows):
    """The pixels as a system draws the image: straight colours, or palette colours where the mask is solid."""
    if bits == 32:
        return rows
    palette = Palettes[bits]
    return [[(0, 0, 0, 0) if a < MaskAlphaThreshold else palette[nearest(palette, (r, g, b))] + (255,)
             for r, g, b, a in row] for row in rows]


def png_file(rows):
    """An 8-bit RGB PNG of rows of (r, g, b) tuples."""
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    return (PNG_SIGNATURE + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


# The backgrounds an icon meets: a white window, the classic grey dialog face
# of the wizard's left panel, and a dark desktop.
PreviewBackgrounds = [(255, 255, 255), (212, 208, 200), (40, 44, 52)]
PreviewWidth = 192


def preview(rows):
    """The image at its real size and enlarged, over each background."""
    size = len(rows)
    scale = max(1, PreviewWidth // size)
    gap = 8
    big = size * scale
    width = gap + len(PreviewBackgrounds) * (big + gap)
    height = gap + size + gap + big + gap
    canvas = [[(128, 128, 128)] * width for _ in range(height)]

    def over(pixel, background):
        r, g, b, a = pixel
        return tuple((c * a + k * (255 - a) + 127) // 255 for c, k in zip((r, g, b), background))

    for n, background in enumerate(PreviewBackgrounds):
        left = gap + n * (big + gap)
        for y in range(-2, size + 2):
            for x in range(-2, size + 2):
                canvas[gap + y][left + x] = background
        for y in range(big):
            for x in range(big):
                canvas[gap + size + gap + y][left + x] = background
        for y, row in enumerate(rows):
            for x, pixel in enumerate(row):
                colour = over(pixel, background)
                canvas[gap + y][left + x] = colour
                for dy in range(scale):
                    line = canvas[gap + size + gap + y * scale + dy]
                    line[left + x * scale:left + (x + 1) * scale] = [colour] * scale
    return canvas


def write(path, data):
    with open(path, "wb") as output:
        output.write(data)


def main(argv):
    if len(argv) != 2 or argv[1].startswith("-"):
        print("usage: make_icons.py OUTDIR\n"
              "  draws the setup program's icons and writes into OUTDIR:\n"
              "    window.ico  the window icon (16 x 16 and 32 x 32 in true colour)\n"
              "    panel.ico   the wizard's left-panel picture (32 x 32 and 48 x 48 in true colour)\n"
              "                both also at 16 x 16 and 32 x 32 in 256 and in 16 colours\n"
              "    preview_<icon>_<size>[_<bits>bit].png  enlarged previews (not used by the build)",
              file=sys.stderr)
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for file_name, name, draw, layout in ICONS:
        drawn = {size: draw(size) for size in sorted({size for _, size in layout})}
        images = [(bits, drawn[size]) for bits, size in layout]
        write(os.path.join(out_dir, file_name), ico_file(images))
        for bits, rows in images:
            depth = "" if bits == 32 else "_%dbit" % bits
            write(os.path.join(out_dir, "preview_%s_%d%s.png" % (name, len(rows), depth)),
                  png_file(preview(as_shown(bits, rows))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
