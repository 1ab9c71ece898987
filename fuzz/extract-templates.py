#!/usr/bin/env python3
"""Lists or extracts the RT_DIALOG resources of PE files (seeds for the fuzz corpus).

usage: extract-templates.py [--out DIR] [--max N] FILE...
"""
import argparse
import os
import struct
import sys

RT_DIALOG = 5


def sections(data):
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        return None, []
    count = struct.unpack_from('<H', data, pe + 6)[0]
    opt_size = struct.unpack_from('<H', data, pe + 20)[0]
    opt = pe + 24
    magic = struct.unpack_from('<H', data, opt)[0]
    dirs = opt + (112 if magic == 0x20B else 96)
    rsrc_rva = struct.unpack_from('<I', data, dirs + 2 * 8)[0]
    table = opt + opt_size
    result = []
    for i in range(count):
        s = table + 40 * i
        vsize, rva, rawsize, rawptr = struct.unpack_from('<IIII', data, s + 8)
        result.append((rva, max(vsize, rawsize), rawptr))
    return rsrc_rva, result


def to_offset(secs, rva):
    for start, size, raw in secs:
        if start <= rva < start + size:
            return raw + rva - start
    raise ValueError('rva outside the sections')


def entries(data, base, offset):
    named, ids = struct.unpack_from('<HH', data, base + offset + 12)
    for i in range(named + ids):
        name, target = struct.unpack_from('<II', data, base + offset + 16 + 8 * i)
        yield name, target


def dialogs(path):
    data = open(path, 'rb').read()
    if data[:2] != b'MZ':
        return
    rsrc_rva, secs = sections(data)
    if not rsrc_rva:
        return
    base = to_offset(secs, rsrc_rva)
    for type_name, type_target in entries(data, base, 0):
        if type_name != RT_DIALOG or not type_target & 0x80000000:
            continue
        for name, name_target in entries(data, base, type_target & 0x7FFFFFFF):
            for _, lang_target in entries(data, base, name_target & 0x7FFFFFFF):
                rva, size = struct.unpack_from('<II', data, base + lang_target)
                label = str(name) if not name & 0x80000000 else 'named'
                yield label, data[to_offset(secs, rva):to_offset(secs, rva) + size]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--out')
    parser.add_argument('--max', type=int, default=1 << 30)
    parser.add_argument('files', nargs='+')
    args = parser.parse_args()
    for path in args.files:
        found = list(dialogs(path))
        standard = [d for d in found if d[1][2:4] != b'\xff\xff']
        print(f'{os.path.basename(path)}: {len(found)} dialogs, {len(standard)} standard')
        if args.out:
            for label, blob in found[:args.max]:
                name = f'{os.path.basename(path)}-{label}.dlg'
                with open(os.path.join(args.out, name), 'wb') as f:
                    f.write(blob)
    return 0


if __name__ == '__main__':
    sys.exit(main())
