#!/usr/bin/python3
"""A picture of KWin's whole screen through its ScreenShot2 D-Bus interface, as a PNG file.
KWin must run with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1.

    kwin_shot.py out.png width height
"""
import os
import sys
import struct
import threading
import zlib

import dbus

out, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
read_end, write_end = os.pipe()
chunks = []


def drain():
    with os.fdopen(read_end, "rb") as pipe:
        while True:
            chunk = pipe.read(1 << 16)
            if not chunk:
                break
            chunks.append(chunk)


reader = threading.Thread(target=drain)
reader.start()
shot = dbus.SessionBus().get_object("org.kde.KWin.ScreenShot2", "/org/kde/KWin/ScreenShot2")
results = shot.CaptureArea(0, 0, width, height, {"native-resolution": True},
                           dbus.types.UnixFd(write_end),
                           dbus_interface="org.kde.KWin.ScreenShot2", timeout=20)
os.close(write_end)
reader.join()
raw = b"".join(chunks)
w, h, stride = int(results["width"]), int(results["height"]), int(results["stride"])
rows = bytearray()
for y in range(h):
    row = raw[y * stride:y * stride + 4 * w]
    # QImage's 32-bit formats on a little-endian machine: blue, green, red, alpha.
    rows.append(0)  # no filter
    rows += bytes(b for x in range(0, 4 * w, 4) for b in (row[x + 2], row[x + 1], row[x]))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


with open(out, "wb") as picture:
    picture.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))
