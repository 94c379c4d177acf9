#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus from the shipped catalogue files: the four whole tables, and
small inputs each holding one category's section and the blocks of a few of its bodies."""
import pathlib
import sys

SEP = b"\n%%%%\n"
ROOT = pathlib.Path(__file__).resolve().parent.parent
DATA = ROOT / "data"
OUT = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "fuzz" / "corpus"
GENERATED = {5, 13, 21, 22, 23, 24, 26}


def block_id(category, index):
    """The coordinate/face block a body reads, as the build dispatches it."""
    if category == 0:
        if index == 5:
            return 205
        return index + 1 if index <= 12 else index + 401
    if category == 2:
        return index + 4001
    if index + 18 < 89:
        return index + 18
    if index + 118 > 204:
        return index + 218
    return index + 118


def blocks(lines):
    """Header line -> the block's lines (header, count, content)."""
    found, i = {}, 0
    while i < len(lines):
        line = lines[i]
        if line.startswith(b"[") and line.endswith(b"]") and line != b"[#]" and i + 1 < len(lines):
            try:
                n = int(lines[i + 1])
            except ValueError:
                i += 1
                continue
            found.setdefault(line, lines[i:i + 2 + n])
            i += 2 + n
        else:
            i += 1
    return found


def section(lines, category):
    start = lines.index(b"{%d" % category)
    end = lines.index(b"[#]", start)
    return lines[start:end + 1]


def main():
    read = lambda name: (DATA / name).read_bytes()
    coords, faces, excluded, catalogue = (read(n) for n in
                                          ("coordinates.txt", "faces.txt", "excluded.txt", "catalogue.txt"))
    OUT.mkdir(parents=True, exist_ok=True)
    (OUT / "whole-catalogue").write_bytes(SEP.join([coords, faces, excluded, catalogue]))
    # The same with excluded.txt emptied of the catalogue's names: every one of the 186 bodies,
    # the hidden compounds, star bodies and surfaces with holes among them.
    (OUT / "whole-catalogue-nothing-hidden").write_bytes(
        SEP.join([coords, faces, b"Boot (3 Tetraeder)\nTorus\n", catalogue]))

    coord_blocks = blocks(coords.split(b"\n"))
    face_blocks = blocks(faces.split(b"\n"))
    cat_lines = catalogue.split(b"\n")
    excluded_lines = {l.lower() for l in excluded.split(b"\n")}
    for category in (0, 2, 3):
        sec = section(cat_lines, category)
        names = []
        for line in sec[2:]:
            if line.startswith(b"["):
                break
            names.append(line)
        offered = [i for i, n in enumerate(names) if n.lower() not in excluded_lines]
        for chunk in range(0, len(offered), 4):
            ids = [(block_id(category, i), category == 0 and i in GENERATED) for i in offered[chunk:chunk + 4]]
            c = [l for i, gen in ids if not gen for l in coord_blocks.get(b"[%d]" % i, [])] + [b"[#]", b""]
            f = [l for i, _ in ids for l in face_blocks.get(b"[%d]" % i, [])] + [b"[#]", b""]
            seed = SEP.join([b"\n".join(c), b"\n".join(f), excluded, b"\n".join(sec) + b"\n"])
            (OUT / ("category%d-%02d" % (category, chunk // 4))).write_bytes(seed)


if __name__ == "__main__":
    main()
