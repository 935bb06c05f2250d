#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files' contents and names.

    make-zip.py OUT.zip EPOCH FILE...

Each FILE is stored under its own name, without folders, in name order, with
the time EPOCH (seconds since 1970, UTC) and no owner, permissions or extra
fields, so two runs on equal files give equal zips wherever they run.
"""

import os
import sys
import time
import zipfile


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    out, epoch, files = argv[1], int(argv[2]), argv[3:]
    names = [os.path.basename(f) for f in files]
    if len(set(names)) != len(names):
        sys.stderr.write("make-zip: two files have the same name\n")
        return 2
    # Zip times are local times from 1980 on, in steps of two seconds.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    temporary = out + ".tmp"
    with zipfile.ZipFile(temporary, "w") as archive:
        for name, path in sorted(zip(names, files)):
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.create_system = 0  # MS-DOS: no Unix owner or mode bits
            entry.external_attr = 0x20  # the archive attribute, as Windows sets it
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(temporary, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
