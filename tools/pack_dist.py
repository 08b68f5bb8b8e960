#!/usr/bin/env python3
"""Adds to a folder that is ready to ship a zip of exactly its files, named after the
program's product version (Sorvanil-1.0.0.1.zip), and SHA256SUMS for `sha256sum -c`.

The zip is reproducible: files in name order, each dated SOURCE_DATE_EPOCH (or the commit's
time), with fixed permissions and compression.

Usage: pack_dist.py FOLDER
"""
import hashlib
import os
import subprocess
import sys
import time
import zipfile
from pathlib import Path

import pefile


def product_version(program):
    fixed = pefile.PE(str(program), fast_load=False).VS_FIXEDFILEINFO[0]
    ms, ls = fixed.ProductVersionMS, fixed.ProductVersionLS
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def source_date():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        here = Path(__file__).resolve().parent
        epoch = subprocess.run(["git", "-C", str(here), "log", "-1", "--format=%ct"], capture_output=True,
                               text=True).stdout.strip() or "0"
    # A zip cannot date anything before 1980.
    return max(time.gmtime(int(epoch))[:6], (1980, 1, 1, 0, 0, 0))


def main():
    folder = Path(sys.argv[1])
    files = sorted(p.name for p in folder.iterdir() if p.is_file())
    name = "Sorvanil-%s.zip" % product_version(folder / "Sorvanil.exe")
    date = source_date()
    with zipfile.ZipFile(folder / name, "w") as zf:
        for f in files:
            info = zipfile.ZipInfo(f, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            info.create_system = 3
            zf.writestr(info, (folder / f).read_bytes(), compresslevel=9)
    sums = "".join("%s  %s\n" % (hashlib.sha256((folder / f).read_bytes()).hexdigest(), f)
                   for f in sorted(files + [name]))
    (folder / "SHA256SUMS").write_text(sums)


if __name__ == "__main__":
    main()
