"""Independent reader and writer of ID3 tags for the file tests, built on python3-mutagen.

  mutagen_tags.py dump FILE        prints the file's tags as JSON
  mutagen_tags.py write FILE LAYOUT  tags FILE as the JSON LAYOUT says:
      {"v2": 3 | 4 | null, "v1": true | false,
       "ape": {"Artist": "..."} (optional, an APEv2 tag as well),
       "frames": [{"id": "TPE1", "text": ["..."], "encoding": 0..3},
                  {"id": "APIC", "file": "cover.jpg", "type": 3, "mime": "image/jpeg", "desc": ""}]}
  mutagen_tags.py strip FILE       removes every ID3 tag (v1 and v2)
"""
import hashlib
import json
import sys

import mutagen.apev2 as apev2
import mutagen.id3 as id3


def dump(path):
    try:
        tags = id3.ID3(path)
    except id3.ID3NoHeaderError:
        tags = None
    result = {"v2": None, "frames": {}, "pictures": [], "comments": [], "v1": None}
    if tags is not None and tags.version[0] == 2 and tags.size > 0:
        result["v2"] = list(tags.version)
        for frame in tags.values():
            if frame.FrameID == "APIC":
                result["pictures"].append({
                    "mime": frame.mime, "type": int(frame.type), "desc": frame.desc,
                    "jpeg": frame.data[:3] == b"\xff\xd8\xff",
                    "sha1": hashlib.sha1(frame.data).hexdigest()})
            elif frame.FrameID == "COMM":
                result["comments"].append({"desc": frame.desc, "text": [str(t) for t in frame.text]})
            elif frame.FrameID.startswith("T") and frame.FrameID != "TXXX":
                entry = {"text": [str(t) for t in frame.text], "encoding": int(frame.encoding)}
                if frame.FrameID == "TCON":
                    entry["genres"] = frame.genres
                result["frames"].setdefault(frame.FrameID, []).append(entry)
    with open(path, "rb") as f:
        f.seek(-128, 2)
        block = f.read(128)
    if block[:3] == b"TAG":
        v1 = id3.ParseID3v1(block)
        result["v1"] = {key: [str(t) for t in frame.text] for key, frame in v1.items()}
    try:
        apev2.APEv2(path)
        result["ape"] = True
    except apev2.APENoHeaderError:
        result["ape"] = False
    print(json.dumps(result))


def write(path, layout):
    tags = id3.ID3()
    for entry in layout.get("frames", []):
        if entry["id"] == "APIC":
            with open(entry["file"], "rb") as f:
                data = f.read()
            tags.add(id3.APIC(encoding=3, mime=entry.get("mime", "image/jpeg"),
                              type=entry.get("type", 3), desc=entry.get("desc", ""), data=data))
        else:
            cls = getattr(id3, entry["id"])
            tags.add(cls(encoding=entry.get("encoding", 3), text=entry["text"]))
    # The APE tag first, so that ID3v1 ends up last, where readers look for it.
    if layout.get("ape"):
        ape = apev2.APEv2()
        for key, value in layout["ape"].items():
            ape[key] = value
        ape.save(path)
    version = layout.get("v2") or 4
    tags.save(path, v1=2 if layout.get("v1") else 0, v2_version=version)
    if layout.get("v2") is None:
        id3.ID3(path).delete(path, delete_v1=False, delete_v2=True)


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "dump":
        dump(path)
    elif command == "write":
        write(path, json.loads(sys.argv[3]))
    elif command == "strip":
        id3.delete(path)
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main()
