#!/usr/bin/env python3
"""Writes small but well-formed Palm resource databases (.prc) for the demo.

Usage: make_prc.py OUT_DIR

Each file has the 78-byte database header (big-endian: name, attributes with the resource
bit, dates, type "appl", a creator code), a resource list, the two-byte gap, and the data.
"""
import struct
import sys
import time
from pathlib import Path

PALM_EPOCH_OFFSET = 2082844800   # seconds from 1904-01-01 to 1970-01-01
ATTR_RESOURCE = 0x0001
ATTR_BACKUP = 0x0008

APPS = [
    ("QuimbrelAudioPlayer.prc", "Quimbrel Audio Player", b"QmbA"),
    ("QuimbrelCodecs.prc", "Quimbrel Codecs", b"QmbC"),
    ("QuimbrelSkins.prc", "Quimbrel Skins", b"QmbS"),
]


def database(name, creator):
    now = int(time.time()) + PALM_EPOCH_OFFSET
    resources = [
        (b"tAIN", 1000, name.encode("ascii") + b"\0"),          # the launcher's name
        (b"tver", 1000, b"1.0\0"),                             # version string
        (b"code", 0, b"\0" * 24),                              # placeholder code sections
        (b"code", 1, b"\x4e\x75" * 8),                         # 68k RTS instructions
    ]
    header = struct.pack(">32sHHIIIIII4s4sI", name.encode("ascii")[:31], ATTR_RESOURCE | ATTR_BACKUP, 1,
                         now, now, 0, 1, 0, 0, b"appl", creator, 0)
    list_size = 6 + 10 * len(resources) + 2
    offset = len(header) + list_size
    entries, data = b"", b""
    for rtype, rid, payload in resources:
        entries += struct.pack(">4sHI", rtype, rid, offset + len(data))
        data += payload
    record_list = struct.pack(">IH", 0, len(resources)) + entries + b"\0\0"
    return header + record_list + data


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for file_name, name, creator in APPS:
        (out / file_name).write_bytes(database(name, creator))


if __name__ == "__main__":
    main()
