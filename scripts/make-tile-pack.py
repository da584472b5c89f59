#!/usr/bin/env python3
"""Makes a tile pack for the game from a folder of pictures.

Usage: scripts/make-tile-pack.py [--tag TAG] [--tool VexaTileCard] PICTURES PACK

Every picture in PICTURES (.png .jpg .jpeg .bmp .tga .gif) becomes a 128 x 128 tile
"tag_name.png" in PACK, cut to a centred square by the project's VexaTileCard tool. The
file name gives the tag and the name: "水果_苹果.jpg" is tag 水果, name 苹果; a name
without "_" takes the tag given with --tag (default 自选). A text file beside a picture
with the same base name ("水果_苹果.txt", UTF-8) is its description: its lines become the
lines the game shows, joined with "|". PACK receives list.txt and the descriptions in GBK,
as the game reads them. Nothing is written when a picture or a text cannot be used.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import shutil

PICTURE_EXTENSIONS = {".png", ".jpg", ".jpeg", ".bmp", ".tga", ".gif"}
MAX_ENTRIES = 256
MAX_FIELD = 31          # bytes of GBK in a tag or a name
MAX_DESCRIPTION = 511   # bytes of GBK in a description
KINDS_PER_LEVEL = [("简单", 15), ("一般", 25), ("困难", 35), ("变态", 44)]
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_TOOL = os.path.join(HERE, "..", "build", "tools", "VexaTileCard")


class PackError(Exception):
    pass


def gbk(text, what):
    try:
        return text.encode("gbk")
    except UnicodeEncodeError as e:
        raise PackError(f'{what}: "{text[e.start:e.end]}" is not a GBK character')


def tag_and_name(base, default_tag, what):
    tag, sep, name = base.partition("_")
    if not sep:
        tag, name = default_tag, base
    if not tag or not name:
        raise PackError(f"{what}: the tag and the name must not be empty")
    for field in (tag, name):
        if len(gbk(field, what)) > MAX_FIELD:
            raise PackError(f'{what}: "{field}" is longer than {MAX_FIELD} bytes in GBK')
        if any(c in field for c in '\\/|'):
            raise PackError(f'{what}: "{field}" holds "\\", "/" or "|"')
    return tag, name


def description_of(path, what):
    if not os.path.exists(path):
        return None
    try:
        with open(path, encoding="utf-8-sig") as f:
            lines = [line.strip() for line in f.read().splitlines()]
    except UnicodeDecodeError:
        raise PackError(f"{path}: the description is not UTF-8")
    text = "|".join(line for line in lines if line)
    if len(gbk(text, what)) > MAX_DESCRIPTION:
        raise PackError(f"{path}: the description is longer than {MAX_DESCRIPTION} bytes in GBK")
    return text


def make_pack(pictures, pack, default_tag, tool):
    if not os.path.isdir(pictures):
        raise PackError(f"{pictures} is not a folder")
    if not os.access(tool, os.X_OK):
        raise PackError(f"{tool} not found: build the project first (VexaTileCard)")
    files = sorted(f for f in os.listdir(pictures)
                   if os.path.splitext(f)[1].lower() in PICTURE_EXTENSIONS)
    if not files:
        raise PackError(f"{pictures} holds no pictures")
    if len(files) > MAX_ENTRIES:
        raise PackError(f"{pictures} holds {len(files)} pictures; a pack holds at most {MAX_ENTRIES}")

    # Everything is made in a scratch folder first, so a refusal leaves PACK as it was.
    os.makedirs(os.path.dirname(os.path.abspath(pack)) or ".", exist_ok=True)
    scratch = tempfile.mkdtemp(prefix=".tile-pack-", dir=os.path.dirname(os.path.abspath(pack)))
    try:
        entries = []
        seen = {}
        for f in files:
            base = os.path.splitext(f)[0]
            tag, name = tag_and_name(base, default_tag, f)
            tile = f"{tag}_{name}"
            if tile in seen:
                raise PackError(f"{f}: {seen[tile]} makes the same tile {tile}.png")
            seen[tile] = f
            run = subprocess.run([tool, os.path.join(pictures, f),
                                  os.path.join(scratch, tile + ".png")],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                raise PackError(run.stderr.strip() or f"{f}: VexaTileCard failed")
            text = description_of(os.path.join(pictures, base + ".txt"), f)
            if text is not None:
                with open(os.path.join(scratch, tile + ".txt"), "wb") as out:
                    out.write(gbk(text, f) + b"\r\n")
            entries.append(tile)
        with open(os.path.join(scratch, "list.txt"), "wb") as out:
            out.write(f"{len(entries)}\r\n".encode("ascii"))
            for tile in entries:
                out.write(gbk(tile, tile) + b".png\r\n")
        if os.path.exists(pack):
            shutil.rmtree(pack)
        os.rename(scratch, pack)
    except BaseException:
        shutil.rmtree(scratch, ignore_errors=True)
        raise
    return entries


def main():
    parser = argparse.ArgumentParser(description="Makes a tile pack from a folder of pictures.")
    parser.add_argument("pictures", help="folder of pictures (and their descriptions)")
    parser.add_argument("pack", help="folder to write the pack to; replaced when it exists")
    parser.add_argument("--tag", default="自选", help="tag of pictures without '_' in their name")
    parser.add_argument("--tool", default=DEFAULT_TOOL, help="path of VexaTileCard")
    args = parser.parse_args()
    try:
        gbk(args.tag, "--tag")
        entries = make_pack(args.pictures, args.pack, args.tag, args.tool)
    except PackError as e:
        print(f"make-tile-pack: {e}", file=sys.stderr)
        return 1
    print(f"make-tile-pack: {len(entries)} tiles in {args.pack}")
    short = [level for level, kinds in KINDS_PER_LEVEL if len(entries) < kinds]
    if short:
        print("make-tile-pack: too few pictures for " + ", ".join(short) +
              " (15, 25, 35 and 44 different pictures are needed)", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
