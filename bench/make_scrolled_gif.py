#!/usr/bin/python3
"""Makes the large animated GIF of the GIF bench: 100 frames of 1024 x 1024
scrolled across a photo, each frame with its own palette, then remapped to one
global table by gifsicle --colors 256.

    make_scrolled_gif.py <photo> <out.gif>
"""
import os
import subprocess
import sys
import tempfile

from PIL import Image

FRAMES, SIDE, STEP = 100, 1024, 8


def main(photo, out):
    source = Image.open(photo).convert("RGB")
    # Tall enough for a frame, wide enough for the whole scroll.
    scale = max(SIDE / source.height, (SIDE + FRAMES * STEP) / source.width)
    wide = source.resize((round(source.width * scale), round(source.height * scale)), Image.LANCZOS)
    frames = [wide.crop((i * STEP, 0, i * STEP + SIDE, SIDE)).quantize(256) for i in range(FRAMES)]
    with tempfile.TemporaryDirectory() as work:
        local = os.path.join(work, "local.gif")
        frames[0].save(local, save_all=True, append_images=frames[1:], duration=100, loop=0)
        subprocess.run(["gifsicle", "--colors", "256", local, "-o", out], check=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
