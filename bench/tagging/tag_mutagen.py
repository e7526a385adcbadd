"""The same tagging with python3-mutagen: every file gets the values our tagging writes (ID3v2
frames in MP3, Vorbis comment and PICTURE block in FLAC, items and "covr" in MP4), and is
flushed to disk after saving.  Usage: tag_mutagen.py COVER.jpg FILE..."""
import os
import sys

import mutagen.flac
import mutagen.id3 as id3
import mutagen.mp4


def tag_mp3(path, number, count, cover):
    try:
        tags = id3.ID3(path)
    except id3.ID3NoHeaderError:
        tags = id3.ID3()
    tags.setall("TPE1", [id3.TPE1(encoding=3, text="The Benchmark Orchestra")])
    tags.setall("TIT2", [id3.TIT2(encoding=3, text="Piece number %d" % number)])
    tags.setall("TALB", [id3.TALB(encoding=3, text="Two Hundred Pieces")])
    tags.setall("TCON", [id3.TCON(encoding=3, text="Classical")])
    tags.setall("TDRC", [id3.TDRC(encoding=3, text="2024")])
    tags.setall("TRCK", [id3.TRCK(encoding=3, text="%d/%d" % (number, count))])
    tags.setall("TPOS", [id3.TPOS(encoding=3, text="1/1")])
    tags.setall("APIC", [id3.APIC(encoding=3, mime="image/jpeg", type=3, desc="", data=cover)])
    tags.delall("COMM")
    tags.setall("TPE2", [id3.TPE2(encoding=3, text="The Benchmark Orchestra")])
    tags.save(path, v2_version=4)


def tag_flac(path, number, count, cover):
    audio = mutagen.flac.FLAC(path)
    for key, value in (("ARTIST", "The Benchmark Orchestra"), ("ALBUMARTIST", "The Benchmark Orchestra"),
                       ("TITLE", "Piece number %d" % number), ("ALBUM", "Two Hundred Pieces"),
                       ("GENRE", "Classical"), ("DATE", "2024"), ("TRACKNUMBER", str(number)),
                       ("TRACKTOTAL", str(count)), ("DISCNUMBER", "1"), ("DISCTOTAL", "1")):
        audio[key] = value
    audio.pop("COMMENT", None)
    picture = mutagen.flac.Picture()
    picture.type, picture.mime, picture.data = 3, "image/jpeg", cover
    audio.clear_pictures()
    audio.add_picture(picture)
    audio.save()


def tag_mp4(path, number, count, cover):
    audio = mutagen.mp4.MP4(path)
    audio["\xa9ART"] = "The Benchmark Orchestra"
    audio["aART"] = "The Benchmark Orchestra"
    audio["\xa9nam"] = "Piece number %d" % number
    audio["\xa9alb"] = "Two Hundred Pieces"
    audio["\xa9gen"] = "Classical"
    audio["\xa9day"] = "2024"
    audio["trkn"] = [(number, count)]
    audio["disk"] = [(1, 1)]
    audio.pop("\xa9cmt", None)
    audio["covr"] = [mutagen.mp4.MP4Cover(cover, imageformat=mutagen.mp4.MP4Cover.FORMAT_JPEG)]
    audio.save()


def main():
    with open(sys.argv[1], "rb") as f:
        cover = f.read()
    files = sys.argv[2:]
    for i, path in enumerate(files):
        tagger = {"flac": tag_flac, "m4a": tag_mp4}.get(path.rsplit(".", 1)[-1], tag_mp3)
        tagger(path, i + 1, len(files), cover)
        fd = os.open(path, os.O_RDONLY)
        os.fdatasync(fd)
        os.close(fd)


if __name__ == "__main__":
    main()
