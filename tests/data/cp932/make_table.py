#!/usr/bin/env python3
# Writes table.txt: code page 932 as glibc's iconv ("CP932") converts it,
# the reference both systems' conversions are tested against.
#   XXXX UUUU YYYY  bytes XXXX (two hex digits for one byte) decode to the
#                   code point UUUU, which encodes to the bytes YYYY
#   -    UUUU YYYY  a code point no bytes decode to that still encodes
# Sequences and code points not listed convert to nothing.
import ctypes, ctypes.util

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]

def converter(to, frm):
    cd = libc.iconv_open(to.encode(), frm.encode())
    def convert(data):
        libc.iconv(cd, None, None, None, None)
        inbuf = ctypes.create_string_buffer(data, len(data))
        inp = ctypes.c_char_p(ctypes.addressof(inbuf)); inleft = ctypes.c_size_t(len(data))
        outbuf = ctypes.create_string_buffer(16)
        outp = ctypes.c_char_p(ctypes.addressof(outbuf)); outleft = ctypes.c_size_t(16)
        r = libc.iconv(cd, ctypes.byref(inp), ctypes.byref(inleft), ctypes.byref(outp), ctypes.byref(outleft))
        if r == ctypes.c_size_t(-1).value or inleft.value != 0:
            return None
        return outbuf.raw[:16 - outleft.value]
    return convert

decode = converter("UTF-32LE", "CP932")
encode = converter("CP932", "UTF-32LE")

def one(seq):
    out = decode(seq)
    if out is None or len(out) != 4:
        return None
    return int.from_bytes(out, "little")

lines = []
decoded = set()
singles = [bytes([b]) for b in range(0x80, 0x100)]
pairs = [bytes([l, t]) for l in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)) for t in range(0x40, 0xFD)]
for seq in singles + pairs:
    cp = one(seq)
    if cp is None:
        continue
    back = encode(cp.to_bytes(4, "little"))
    decoded.add(cp)
    lines.append("%s %04X %s" % (seq.hex().upper(), cp, back.hex().upper() if back else "-"))
for cp in range(0x80, 0x10000):
    if 0xD800 <= cp <= 0xDFFF or cp in decoded or 0xF780 <= cp <= 0xF7FF:
        continue
    back = encode(cp.to_bytes(4, "little"))
    if back:
        lines.append("- %04X %s" % (cp, back.hex().upper()))
with open("table.txt", "w") as f:
    f.write("\n".join(lines) + "\n")
