"""Opens the editor's exports with Pillow: an indexed bigf export and a GIMP palette.

Arguments: the indexed BMP, the .gpl file, and the palette and bigf data files they came from.
"""
import sys

from PIL import GimpPaletteFile, Image

bmp, gpl, pal_dat, bigf_dat = sys.argv[1:5]
with open(pal_dat, "rb") as f:
    records = f.read()
colours = b"".join(records[4 * i : 4 * i + 3] for i in range(256))

image = Image.open(bmp)
assert image.mode == "P", image.mode
assert image.size == (256, 1152), image.size
assert bytes(image.getpalette()[:768]) == colours, "palette"
with open(bigf_dat, "rb") as f:
    assert image.tobytes() == f.read(), "indices"

with open(gpl, "rb") as f:
    read = GimpPaletteFile.GimpPaletteFile(f).getpalette()[0]
if read == colours:
    print("gpl: the same colours")
else:
    # Pillow before 11.2 counts the Name, Columns and comment lines as entries, so the file's
    # colours land from entry 3 on and the last three are not read.
    assert read[9:] == colours[: 768 - 9], "gpl"
    print("gpl: the same colours from entry 3 on (Pillow counts header lines as entries)")
