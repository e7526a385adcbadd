"""The same tagging with python3-mutagen: every file gets the frames our tagging writes,
and is flushed to disk after saving.  Usage: tag_mutagen.py COVER.jpg FILE..."""
import os
import sys

import mutagen.id3 as id3


def main():
    with open(sys.argv[1], "rb") as f:
        cover = f.read()
    files = sys.argv[2:]
    for i, path in enumerate(files):
        try:
            tags = id3.ID3(path)
        except id3.ID3NoHeaderError:
            tags = id3.ID3()
        tags.setall("TPE1", [id3.TPE1(encoding=3, text="The Benchmark Orchestra")])
        tags.setall("TIT2", [id3.TIT2(encoding=3, text="Piece number %d" % (i + 1))])
        tags.setall("TALB", [id3.TALB(encoding=3, text="Two Hundred Pieces")])
        tags.setall("TCON", [id3.TCON(encoding=3, text="Classical")])
        tags.setall("TDRC", [id3.TDRC(encoding=3, text="2024")])
        tags.setall("TRCK", [id3.TRCK(encoding=3, text="%d/%d" % (i + 1, len(files)))])
        tags.setall("TPOS", [id3.TPOS(encoding=3, text="1/1")])
        tags.setall("APIC", [id3.APIC(encoding=3, mime="image/jpeg", type=3, desc="", data=cover)])
        tags.delall("COMM")
        tags.setall("TPE2", [id3.TPE2(encoding=3, text="The Benchmark Orchestra")])
        tags.save(path, v2_version=4)
        fd = os.open(path, os.O_RDONLY)
        os.fdatasync(fd)
        os.close(fd)


if __name__ == "__main__":
    main()
