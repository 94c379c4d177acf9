#!/usr/bin/env python3
"""Writes the polyhedron-file fuzzer's seeds into file-corpus/: every catalogue body, listed and
hidden, and its dual as the inspector exports them (solid and dual in OFF and OBJ by turns, so that
both formats carry both), the forms of a file the reader takes, and damaged files it refuses.

    fuzz/make_file_corpus.py [path/to/kesmora-inspect]      default build/kesmora-inspect

An exported figure that does not open again as a file (a compound of several bodies, a one-sided
surface) is kept as a seed named "refused-…"; the others are "body-…"."""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "fuzz" / "file-corpus"
INSPECT = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else ROOT / "build" / "kesmora-inspect"
ENV = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")

CUBE_OFF = "OFF\n8 6 12\n-1 -1 -1\n1 -1 -1\n1 1 -1\n-1 1 -1\n-1 -1 1\n1 -1 1\n1 1 1\n-1 1 1\n" \
           "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n"
CUBE_V = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
CUBE_F = [(1, 4, 3, 2), (5, 6, 7, 8), (1, 2, 6, 5), (2, 3, 7, 6), (3, 4, 8, 7), (4, 1, 5, 8)]
CUBE_OBJ = CUBE_V + "".join("f %d %d %d %d\n" % f for f in CUBE_F)
TETRA_OFF = "OFF\n4 4 6\n1 1 1\n1 -1 -1\n-1 1 -1\n-1 -1 1\n3 0 1 2\n3 0 3 1\n3 0 2 3\n3 1 3 2\n"
# The L-shaped prism: not convex, its dual's faces not all flat.
L_PRISM = ("OFF\n12 8 18\n0 0 0\n2 0 0\n2 1 0\n1 1 0\n1 2 0\n0 2 0\n0 0 1\n2 0 1\n2 1 1\n1 1 1\n1 2 1\n0 2 1\n"
           "6 0 5 4 3 2 1\n6 6 7 8 9 10 11\n4 0 1 7 6\n4 1 2 8 7\n4 2 3 9 8\n4 3 4 10 9\n4 4 5 11 10\n4 5 0 6 11\n")

# The forms of a file the reader takes; each builds.
CASES = {
    "case-cube.off": CUBE_OFF,
    "case-cube.obj": CUBE_OBJ,
    "case-tetrahedron.off": TETRA_OFF,
    "case-l-prism.off": L_PRISM,
    "case-colours-after-faces.off": CUBE_OFF.replace("4 0 3 2 1\n", "4 0 3 2 1 255 0 0\n")
                                            .replace("4 4 5 6 7\n", "4 4 5 6 7 0.5 0.5 0.5 1\n"),
    "case-comments-and-blank-lines.off": "# a cube\nOFF # header\n\n8 6 0\n" + CUBE_OFF.split("\n", 2)[2]
                                        .replace("-1 -1 -1\n", "-1 -1 -1 # first\n", 1),
    "case-exponents.off": CUBE_OFF.replace("-1 -1 -1\n", "-1e0 -10E-1 -0.1e+1\n", 1),
    "case-crlf.off": CUBE_OFF.replace("\n", "\r\n"),
    "case-cr-only.obj": CUBE_OBJ.replace("\n", "\r"),
    "case-byte-order-mark.off": "\ufeff" + CUBE_OFF,
    "case-slash-forms.obj": CUBE_V + "vt 0 0\nvn 0 0 1\n" + "".join(
        "f %d/1/1 %d/1/1 %d//1 %d/1\n" % f for f in CUBE_F),
    "case-negative-indices.obj": CUBE_V + "".join(
        "f %d %d %d %d\n" % tuple(i - 9 for i in f) for f in CUBE_F),
    "case-groups-and-materials.obj": "mtllib w.mtl\no Wuerfel\ng a\nusemtl rot\ns 1\n" + CUBE_OBJ,
    "case-no-final-line-end.obj": CUBE_OBJ.rstrip("\n"),
    "case-faces-turned-differently.off": TETRA_OFF.replace("3 1 3 2\n", "3 1 2 3\n"),
}

# Damaged files: each is refused with a message.
DAMAGED = {
    "damaged-empty.off": "",
    "damaged-header-only.off": "OFF\n",
    "damaged-no-counts.off": "OFF\n\n",
    "damaged-face-index-beyond.off": CUBE_OFF.replace("4 3 0 4 7\n", "4 3 0 4 8\n"),
    "damaged-face-index-negative.off": CUBE_OFF.replace("4 3 0 4 7\n", "4 3 0 4 -1\n"),
    "damaged-face-index-zero.obj": CUBE_OBJ.replace("f 4 1 5 8", "f 4 0 5 8"),
    "damaged-face-index-beyond.obj": CUBE_OBJ.replace("f 4 1 5 8", "f 4 1 5 9"),
    "damaged-too-few-vertices.off": CUBE_OFF.replace("8 6 12", "9 6 12"),
    "damaged-too-few-faces.off": CUBE_OFF.replace("8 6 12", "8 7 12"),
    "damaged-open-surface.off": CUBE_OFF.replace("8 6 12", "8 5 12").replace("4 3 0 4 7\n", ""),
    "damaged-open-surface.obj": CUBE_OBJ.replace("f 4 1 5 8\n", ""),
    "damaged-two-cornered-face.off": TETRA_OFF.replace("3 1 3 2\n", "2 1 3\n"),
    "damaged-corner-twice.off": CUBE_OFF.replace("4 0 3 2 1\n", "4 0 3 3 1\n"),
    "damaged-coincident-vertices.off": CUBE_OFF.replace("1 1 1\n", "-1 -1 -1\n"),
    "damaged-flat.off": "OFF\n4 2 4\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n4 3 2 1 0\n",
    "damaged-not-a-number.off": CUBE_OFF.replace("1 1 1\n", "1 nan 1\n"),
    "damaged-infinite.obj": CUBE_OBJ.replace("v 1 1 1", "v 1 inf 1"),
    "damaged-huge-exponent.off": CUBE_OFF.replace("1 1 1\n", "1 1e400 1\n"),
    "damaged-decimal-comma.off": CUBE_OFF.replace("1 1 1\n", "1,5 1 1\n"),
    "damaged-binary.off": "OFF BINARY\n8 6 12\n",
    "damaged-four-dimensional.off": "4OFF\n" + CUBE_OFF.split("\n", 1)[1],
    "damaged-counts-huge.off": "OFF\n99999999999 6 12\n",
    "damaged-text.obj": "Dies ist keine Polyederdatei.\n",
    "damaged-vertices-only.obj": CUBE_V,
    "damaged-two-bodies.off": "OFF\n8 8 12\n1 1 1\n1 -1 -1\n-1 1 -1\n-1 -1 1\n11 11 11\n11 9 9\n9 11 9\n9 9 11\n"
                              "3 0 1 2\n3 0 3 1\n3 0 2 3\n3 1 3 2\n3 4 5 6\n3 4 7 5\n3 4 6 7\n3 5 7 6\n",
}


def run(data, *args):
    return subprocess.run([str(INSPECT), "--data", data, *args], env=ENV, capture_output=True)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for old in OUT.iterdir():
        old.unlink()
    for name, text in {**CASES, **DAMAGED}.items():
        (OUT / name).write_bytes(text.encode("utf-8"))
    # The shipped data with nothing excluded, so that the inspector exports the hidden bodies too.
    data = tempfile.mkdtemp()
    for name in ("catalogue.txt", "coordinates.txt", "faces.txt"):
        shutil.copy(ROOT / "data" / name, data)
    (pathlib.Path(data) / "excluded.txt").write_bytes(b"")
    try:
        export_all(data)
    finally:
        shutil.rmtree(data)


def export_all(data):
    listing = run(data, "list")
    listing.check_returncode()
    for k, line in enumerate(listing.stdout.decode("utf-8").splitlines()):
        category, position, _, _, body = line.split("\t", 4)
        for dual in (False, True):
            suffix = ("off", "obj")[(k + dual) % 2]
            stem = "%s-%03d-%s" % (category, int(position), "dual" if dual else "solid")
            path = OUT / ("body-%s.%s" % (stem, suffix))
            run(data, "export", category, body, *(["--dual"] if dual else []), "--format", suffix,
                "-o", str(path)).check_returncode()
            if run(data, "model", "--file", str(path)).returncode != 0:
                path.rename(OUT / ("refused-%s.%s" % (stem, suffix)))


if __name__ == "__main__":
    main()
