"""Helpers of the judged corpus run: table bytes, damaged copies, edits and
the fontTools judge.
  corpus_helper.py judge FONT                 load and decompile every table (every font of a collection)
  corpus_helper.py tags FONT                  the tags of the listed font's directory (a collection's last)
  corpus_helper.py table FONT TAG OUT         one table's bytes (of the listed font)
  corpus_helper.py damage FONT OUT            zero every directory checksum and head's checkSumAdjustment
  corpus_helper.py same A B [TAG:FROM:TO ...] every table of A and B equal, but for the byte ranges named
  corpus_helper.py ascent FONT                usWinAscent as fontTools reads it
  corpus_helper.py name FONT ID               the first Windows Unicode string of name ID as fontTools reads it
  corpus_helper.py macname FONT OUT           a Mac name table (Roman and Shift-JIS records) made from FONT's
  corpus_helper.py maccmap FONT OUT           a Mac cmap table (one format 2 Shift-JIS subtable) made from FONT's
"""
import struct
import sys


def u16(b, o): return struct.unpack_from('>H', b, o)[0]
def u32(b, o): return struct.unpack_from('>I', b, o)[0]


def listed_font(data):
    # The font whose tables the editor lists: a collection's last.
    return u32(data, 8 + 4 * u32(data, 8)) if data[:4] == b'ttcf' else 0


def directory(data):
    base = listed_font(data)
    return {data[e:e + 4]: (u32(data, e + 8), u32(data, e + 12))
            for e in (base + 12 + 16 * k for k in range(u16(data, base + 4)))}


def tables(data):
    return {tag: data[o:o + n] for tag, (o, n) in directory(data).items()}


def main(argv):
    cmd, args = argv[1], argv[2:]
    if cmd == 'judge':
        from fontTools.ttLib import TTCollection, TTFont
        fonts = TTCollection(args[0]).fonts if open(args[0], 'rb').read(4) == b'ttcf' else [TTFont(args[0])]
        for font in fonts:
            for tag in font.keys():
                if tag != 'GlyphOrder':
                    font[tag].ensureDecompiled() if hasattr(font[tag], 'ensureDecompiled') else None
        return 0
    data = open(args[0], 'rb').read()
    if cmd == 'tags':
        print('\n'.join(t.decode('latin-1') for t in directory(data)))
    elif cmd == 'table':
        open(args[2], 'wb').write(tables(data)[args[1].encode('latin-1')])
    elif cmd == 'damage':
        out = bytearray(data)
        offsets = [u32(data, 12 + 4 * k) for k in range(u32(data, 8))] if data[:4] == b'ttcf' else [0]
        for base in offsets:
            for k in range(u16(data, base + 4)):
                e = base + 12 + 16 * k
                out[e + 4:e + 8] = b'\0\0\0\0'
                if data[e:e + 4] == b'head':
                    out[u32(data, e + 8) + 8:u32(data, e + 8) + 12] = b'\0\0\0\0'
        open(args[1], 'wb').write(out)
    elif cmd == 'same':
        other = tables(open(args[1], 'rb').read())
        mine = tables(data)
        masks = [(t.encode('latin-1'), int(a), int(b)) for t, a, b in (m.split(':') for m in args[2:])]
        if set(mine) != set(other):
            print('tags differ:', sorted(set(mine) ^ set(other)))
            return 1
        for tag in mine:
            a, b = bytearray(mine[tag]), bytearray(other[tag])
            for t, lo, hi in masks:
                if t == tag:
                    a[lo:hi] = b'' if hi > len(a) else bytes(hi - lo)
                    b[lo:hi] = b'' if hi > len(b) else bytes(hi - lo)
            if a != b:
                print('table differs:', tag.decode('latin-1'))
                return 1
    elif cmd == 'ascent':
        from fontTools.ttLib import TTFont
        print(TTFont(args[0])['OS/2'].usWinAscent)
    elif cmd == 'name':
        from fontTools.ttLib import TTFont
        print(TTFont(args[0])['name'].getName(int(args[1]), 3, 1).toUnicode())
    elif cmd == 'macname':
        from fontTools.ttLib import TTFont
        records, strings = [], b''
        name = TTFont(args[0])['name']
        picked = [(1, 0, 0, r.nameID, r.toUnicode().encode('ascii', 'replace'))
                  for r in name.names if (r.platformID, r.langID) == (3, 0x409) and r.nameID <= 6]
        picked += [(1, 1, 11, r.nameID, r.toUnicode().encode('shift_jis', 'replace'))
                   for r in name.names if (r.platformID, r.langID) == (3, 0x411) and r.nameID <= 6]
        for p, e, l, n, s in picked:
            records.append(struct.pack('>6H', p, e, l, n, len(s), len(strings)))
            strings += s
        open(args[1], 'wb').write(struct.pack('>3H', 0, len(records), 6 + 12 * len(records)) +
                                  b''.join(records) + strings)
    elif cmd == 'maccmap':
        from fontTools.ttLib import TTFont, newTable
        from fontTools.ttLib.tables._c_m_a_p import CmapSubtable
        font = TTFont(args[0])
        best = font.getBestCmap()
        sub = CmapSubtable.newSubtable(2)
        sub.platformID, sub.platEncID, sub.language = 1, 1, 0
        sub.cmap = {}
        for code, glyph in best.items():
            try:
                sjis = chr(code).encode('shift_jis')
            except UnicodeEncodeError:
                continue
            sub.cmap[int.from_bytes(sjis, 'big')] = glyph
        cmap = newTable('cmap')
        cmap.tableVersion, cmap.tables = 0, [sub]
        open(args[1], 'wb').write(cmap.compile(font))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
