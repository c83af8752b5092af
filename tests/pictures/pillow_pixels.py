"""Writes what Pillow reads of each PNG in a folder, for the PNG reader's tests to compare.

Arguments: the folder of PNG files, the folder to write into. For each NAME.png: NAME.rgb (red,
green, blue bytes, rows top first; 16-bit channels rounded to 8 bits where Pillow gives 16 bits),
NAME.idx (the indices, for palette pictures), and one line of index.txt: NAME WIDTH HEIGHT
TOLERANCE, the largest channel difference expected (1 where Pillow itself cut 16 bits to 8).
"""
import os
import sys
import warnings

from PIL import Image

warnings.simplefilter("ignore")  # Pillow's advice on palette transparency
source, target = sys.argv[1:3]
with open(os.path.join(target, "index.txt"), "w") as index:
    for name in sorted(os.listdir(source)):
        if not name.endswith(".png"):
            continue
        stem = name[:-4]
        path = os.path.join(source, name)
        with open(path, "rb") as f:
            bit_depth = f.read(25)[24]
        image = Image.open(path)
        image.load()
        tolerance = 0
        if image.mode in ("I", "I;16", "I;16B"):
            values = image.getdata()
            grey = bytes(min(255, (v * 255 + 32767) // 65535) for v in values)
            rgb = b"".join(bytes((g, g, g)) for g in grey)
        else:
            if bit_depth == 16:
                tolerance = 1  # Pillow keeps the high byte; the reader rounds
            rgb = image.convert("RGB").tobytes()
        if image.mode == "P":
            with open(os.path.join(target, stem + ".idx"), "wb") as f:
                f.write(image.tobytes())
        with open(os.path.join(target, stem + ".rgb"), "wb") as f:
            f.write(rgb)
        index.write(f"{stem} {image.width} {image.height} {tolerance}\n")
