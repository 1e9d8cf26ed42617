# Writes note.bmp: a 32x16 24-bit strip of two 16x16 glyphs (normal and
# disabled) on magenta, the key colour (its bottom-left pixel).
import struct
w, h = 32, 16
def px(x, y):
    i = x // 16
    x %= 16
    if y == 15 and x == 0:
        return (255, 0, 255)
    cx, cy = 6, 11
    if (x - cx) ** 2 + (y - cy) ** 2 <= 9 or (x in (8, 9) and 2 <= y <= 11) or (y in (2, 3) and 9 <= x <= 13):
        return (30, 90, 200) if i == 0 else (128, 128, 128)
    return (255, 0, 255)
rows = [b''.join(bytes((b, g, r)) for (r, g, b) in (px(x, y) for x in range(w))) for y in range(h - 1, -1, -1)]
data = b''.join(rows)
hdr = b'BM' + struct.pack('<IHHI', 54 + len(data), 0, 0, 54) + \
    struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open('note.bmp', 'wb').write(hdr + data)
