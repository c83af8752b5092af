#!/usr/bin/python3
"""The README's colour-reduction table: mean error of the bigf import of one 256 x 1152 painted
picture of about 30,000 colours, imported plain, --nearest, --reduce and --reduce --dither by the
command line, and quantized to 111 colours by Pillow's median cut for comparison.

Usage: bench/reduction_table.py CLI FOLDER   (Debian: python3-pil)
CLI is the built command line (build/default/src/cli/vosk-land-texture-cli); FOLDER takes the
picture and the files written.
"""
import math
import os
import subprocess
import sys

from PIL import Image

WIDTH, HEIGHT = 256, 1152


def noise(x, y):
    """A fixed integer hash of the pixel's place: 0 to 255."""
    h = ((x * 73856093) ^ (y * 19349663)) & 0xFFFFFFFF
    return ((h * 2654435761) & 0xFFFFFFFF) >> 24


def painted_pixel(x, y):
    """Grass-like hues drifting over the picture, a sky-blue band and a little noise; the same
    formula as the benchmark's picture."""
    n = noise(x, y)
    band = 1 if 400 <= y < 560 else 0
    r = 50 + x * 90 // 255 + y * 40 // 1151 + n % 2
    g = 80 + y * 110 // 1151 + (x // 32) * 3 + n // 2 % 2
    b = 30 + (x + y) % 97 // 12 + band * 120
    return (r, g, b)


def mean_error(pixels, colours):
    total = sum(math.dist(p, c) for p, c in zip(pixels, colours))
    return total / len(pixels)


def texture_colours(folder):
    with open(os.path.join(folder, "bigf.dat"), "rb") as f:
        indices = f.read()
    with open(os.path.join(folder, "pal.dat"), "rb") as f:
        palette = f.read()
    return [tuple(palette[4 * i:4 * i + 3]) for i in indices]


def main():
    cli, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    pixels = [painted_pixel(x, y) for y in range(HEIGHT) for x in range(WIDTH)]
    picture = Image.new("RGB", (WIDTH, HEIGHT))
    picture.putdata(pixels)
    path = os.path.join(folder, "painted.bmp")
    picture.save(path)
    rows = []
    for options in ([], ["--nearest"], ["--reduce"], ["--reduce", "--dither"]):
        subprocess.run([cli] + options + [
            "import_bigf_from_bitmap", path, "save_to_bigf", os.path.join(folder, "bigf.dat"),
            "save_to_pal", os.path.join(folder, "pal.dat")], check=True, stderr=subprocess.DEVNULL)
        name = "`" + " ".join(options) + "`" if options else "plain"
        rows.append((name, mean_error(pixels, texture_colours(folder))))
    quantized = picture.quantize(111, method=Image.Quantize.MEDIANCUT).convert("RGB")
    rows.append(("Pillow median cut, 111 colours", mean_error(pixels, list(quantized.getdata()))))
    print(f"{len(set(pixels)):,} colours")
    print("| Import | Mean error |")
    print("|---|---|")
    for name, error in rows:
        print(f"| {name} | {error:.1f} |")


if __name__ == "__main__":
    main()
