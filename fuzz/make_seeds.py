#!/usr/bin/env python3
"""Writes the seed corpora of the fuzzers (fuzz/corpus/<target>/): small
pictures of each depth the loader reads, the built atlas and two built sounds,
hand-made sound files with odd chunk layouts, and saved games of several sizes,
whole and damaged. Run from the repository root after a build."""
import os
import random
import shutil
import struct
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
game = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "game")
corpus = os.path.join(root, "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(corpus, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def bmp(width, height, bits, pixels, palette=b"", size_image=None):
    size_image = len(pixels) if size_image is None else size_image
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, size_image, 2835, 2835,
                       256 if bits == 8 else 0, 0)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<HIHHI", 0x4D42, offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


rng = random.Random(7)
write("bitmap", "rgb24_8x6.bmp",
      bmp(8, 6, 24, bytes(rng.randrange(256) for _ in range(8 * 6 * 3))))
# Rows of an odd width are padded to 4 bytes, as the format wants.
write("bitmap", "rgb24_3x2.bmp", bmp(3, 2, 24, bytes(range(24))))
write("bitmap", "rgb16_8x4.bmp",
      bmp(8, 4, 16, bytes(rng.randrange(256) for _ in range(8 * 4 * 2))))
write("bitmap", "pal8_8x8.bmp",
      bmp(8, 8, 8, bytes(rng.randrange(256) for _ in range(64)),
          bytes(rng.randrange(256) for _ in range(1024))))
write("bitmap", "rgb24_30x30.bmp",
      bmp(30, 30, 24, b"".join(bytes(rng.randrange(256) for _ in range(90)) + b"\0\0"
                               for _ in range(30))))
write("bitmap", "pal8_5x3.bmp", bmp(5, 3, 8, bytes(range(8 * 3)), bytes(range(256)) * 4))
# As several editors write it: data size 0, rows padded to 4 bytes.
write("bitmap", "rgb24_5x3_size0.bmp", bmp(5, 3, 24, bytes(range(16 * 3)), size_image=0))
shutil.copy(os.path.join(game, "Textures", "txtr.txr"), os.path.join(corpus, "bitmap", "atlas.txr"))


def chunk(cid, body):
    pad = b"\0" if len(body) & 1 else b""
    return cid + struct.pack("<I", len(body)) + body + pad


def wav(chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


fmt18 = struct.pack("<HHIIHHH", 1, 1, 11025, 11025, 1, 8, 0)
fmt16 = fmt18[:16]
samples = bytes(128 + int(100 * ((i % 20) - 10) / 10) for i in range(201))
write("wav", "plain.wav", wav([chunk(b"fmt ", fmt18), chunk(b"data", samples[:64])]))
write("wav", "fmt16_odd_data.wav", wav([chunk(b"fmt ", fmt16), chunk(b"data", samples)]))
write("wav", "list_first.wav",
      wav([chunk(b"LIST", b"INFOISFT" + struct.pack("<I", 3) + b"ab\0\0"), chunk(b"fmt ", fmt18),
           chunk(b"fact", struct.pack("<I", 64)), chunk(b"data", samples[:33])]))
write("wav", "empty_data.wav", wav([chunk(b"fmt ", fmt18), chunk(b"data", b"")]))
for name in ("clk.wav", "bng.wav"):
    shutil.copy(os.path.join(game, "Sounds", name), os.path.join(corpus, "wav", name))


def saved_game(side, mines, opened, flags, newline=b"\r\n"):
    value = [[0] * side for _ in range(side)]
    for _ in range(mines):
        value[rng.randrange(1, side - 1)][rng.randrange(1, side - 1)] = 9
    for x in range(side):
        for y in range(side):
            if value[x][y] != 9:
                value[x][y] = sum(1 for dx in (-1, 0, 1) for dy in (-1, 0, 1)
                                  if 0 <= x + dx < side and 0 <= y + dy < side
                                  and value[x + dx][y + dy] == 9)
    body = bytearray()
    for x in range(side):
        for y in range(side):
            r = rng.random()
            state = 3 if r < opened else 2 if r < opened + flags else 0
            body += b"%d%d" % (value[x][y], state)
    return str(side).encode() + newline + bytes(body)


write("saved_game", "side25.gm", saved_game(25, 84, 0.3, 0.05))
write("saved_game", "side11.gm", saved_game(11, 12, 0.5, 0.1))
write("saved_game", "side3_lf.gm", saved_game(3, 1, 0.2, 0.2, b"\n"))
whole = saved_game(25, 60, 0.6, 0.1)
write("saved_game", "side25_short.gm", whole[:400])
damaged = bytearray(saved_game(13, 20, 0.4, 0.1))
for i in range(8, len(damaged), 37):
    damaged[i] = b"x7\r\n-+ 5"[i % 8]
write("saved_game", "side13_damaged.gm", bytes(damaged))
write("saved_game", "cleared_11.gm", b"11\r\n" + b"".join(
    b"92" if 0 < x < 10 and 0 < y < 10 and (x * y) % 7 == 0 else b"03"
    for x in range(11) for y in range(11)))
write("saved_game", "bad_size.gm", b"26\r\n" + b"00" * 20)
