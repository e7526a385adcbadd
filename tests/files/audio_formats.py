"""Independent reader of FLAC, Ogg and MP4 files for the format tests, built on python3-mutagen.

  audio_formats.py read FILE   prints {"tags": {name: [text]}, "pictures": [{"type", "mime",
      "jpeg", "sha1"}], "audio": sha1 of the audio, "vendor": Vorbis vendor string} as JSON.
      The audio is what a player decodes: FLAC's frames, Ogg's packets but the comment header
      with the pages' granule positions, MP4's samples found through its sample tables.
  audio_formats.py rip FILE    puts an ID3v2 tag in front of a FLAC file and an APEv2 and an
      ID3v1 tag at its end, as some rippers do.
"""
import hashlib
import json
import struct
import sys

import mutagen
import mutagen.apev2
import mutagen.id3 as id3
import mutagen.mp4
import mutagen.ogg


def flac_audio(data):
    start = 0
    if data[:3] == b"ID3":
        size = data[6:10]
        start = 10 + ((size[0] << 21) | (size[1] << 14) | (size[2] << 7) | size[3])
    assert data[start:start + 4] == b"fLaC"
    position, last = start + 4, False
    while not last:
        last = data[position] & 0x80
        position += 4 + int.from_bytes(data[position + 1:position + 4], "big")
    end = len(data)
    if data[end - 128:end - 125] == b"TAG":
        end -= 128
    if data[end - 32:end - 24] == b"APETAGEX":
        size, flags = struct.unpack("<II", data[end - 20:end - 12])
        end -= size + (32 if flags & 0x80000000 else 0)
    return data[position:end]


def ogg_audio(path):
    pages = []
    with open(path, "rb") as f:
        while True:
            try:
                pages.append(mutagen.ogg.OggPage(f))
            except EOFError:
                break
    packets = mutagen.ogg.OggPage.to_packets(pages, strict=False)
    positions = [str(page.position) for page in pages if page.position not in (0, -1)]
    return b"".join([packets[0]] + packets[2:]) + ",".join(positions).encode()


def atoms(data, start, end):
    while start + 8 <= end:
        size, name = struct.unpack(">I4s", data[start:start + 8])
        header = 8
        if size == 1:
            size, header = struct.unpack(">Q", data[start + 8:start + 16])[0], 16
        elif size == 0:
            size = end - start
        yield name, start + header, start + size
        start += size


def child(data, parent, path):
    begin, end = parent
    for name in path:
        begin, end = next((b, e) for n, b, e in atoms(data, begin, end) if n == name)
    return begin, end


def mp4_audio(data):
    moov = next((b, e) for n, b, e in atoms(data, 0, len(data)) if n == b"moov")
    samples = []
    for name, begin, end in atoms(data, *moov):
        if name != b"trak":
            continue
        stbl = child(data, (begin, end), [b"mdia", b"minf", b"stbl"])
        tables = {n: (b, e) for n, b, e in atoms(data, *stbl)}
        b = tables[b"stsz"][0]
        fixed, count = struct.unpack(">II", data[b + 4:b + 12])
        sizes = [fixed] * count if fixed else list(struct.unpack(">%dI" % count, data[b + 12:b + 12 + 4 * count]))
        b = tables[b"stsc"][0]
        entries = struct.unpack(">I", data[b + 4:b + 8])[0]
        runs = [struct.unpack(">III", data[b + 8 + 12 * i:b + 20 + 12 * i]) for i in range(entries)]
        if b"co64" in tables:
            b = tables[b"co64"][0]
            n = struct.unpack(">I", data[b + 4:b + 8])[0]
            chunks = struct.unpack(">%dQ" % n, data[b + 8:b + 8 + 8 * n])
        else:
            b = tables[b"stco"][0]
            n = struct.unpack(">I", data[b + 4:b + 8])[0]
            chunks = struct.unpack(">%dI" % n, data[b + 8:b + 8 + 4 * n])
        sample = 0
        for index, offset in enumerate(chunks):
            per_chunk = [r[1] for r in runs if r[0] <= index + 1][-1]
            for _ in range(min(per_chunk, len(sizes) - sample)):
                samples.append(data[offset:offset + sizes[sample]])
                offset += sizes[sample]
                sample += 1
    return b"".join(samples)


def text_of(value):
    if isinstance(value, tuple):
        return "%d/%d" % value
    if isinstance(value, bytes):
        return value.decode("utf-8", "replace")
    return str(value)


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    audio = mutagen.File(path)
    result = {"tags": {}, "pictures": [], "vendor": None}
    if isinstance(audio, mutagen.mp4.MP4):
        digest = mp4_audio(data)
        for key, values in (audio.tags or {}).items():
            if key == "covr":
                result["pictures"] = [{"type": 3, "mime": "image/jpeg" if v.imageformat == v.FORMAT_JPEG else "image/png",
                                       "jpeg": bytes(v)[:3] == b"\xff\xd8\xff", "sha1": hashlib.sha1(bytes(v)).hexdigest()}
                                      for v in values]
            else:
                result["tags"][key] = [text_of(v) for v in (values if isinstance(values, list) else [values])]
    else:
        digest = flac_audio(data) if isinstance(audio, mutagen.flac.FLAC) else ogg_audio(path)
        pictures = list(getattr(audio, "pictures", []))
        for key, values in (audio.tags or {}).items() if audio.tags is not None else []:
            if key.lower() == "metadata_block_picture":
                import base64
                pictures += [mutagen.flac.Picture(base64.b64decode(v)) for v in values]
            else:
                result["tags"].setdefault(key.upper(), []).extend(values)
        result["pictures"] = [{"type": p.type, "mime": p.mime, "jpeg": p.data[:3] == b"\xff\xd8\xff",
                               "sha1": hashlib.sha1(p.data).hexdigest()} for p in pictures]
        result["vendor"] = getattr(audio.tags, "vendor", None)
    result["audio"] = hashlib.sha1(digest).hexdigest()
    print(json.dumps(result, sort_keys=True))


def rip(path):
    tags = id3.ID3()
    tags.add(id3.TIT2(encoding=3, text=["Ripped"]))
    tags.save(path, v1=0)
    ape = mutagen.apev2.APEv2()
    ape["Title"] = "Ripped"
    ape.save(path)
    with open(path, "ab") as f:
        f.write(b"TAG" + b"Ripped".ljust(125, b"\0"))


if __name__ == "__main__":
    {"read": read, "rip": rip}[sys.argv[1]](sys.argv[2])
