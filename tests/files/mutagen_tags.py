"""Independent reader and writer of ID3 tags for the file tests, built on python3-mutagen.

  mutagen_tags.py dump FILE          prints the file's tags as JSON
  mutagen_tags.py write FILE LAYOUT  tags FILE as the JSON LAYOUT says: {"v2": 3 | 4 | null,
      "v1": bool, "frames": [{"id": "TPE1", "text": ["..."], "encoding": 0..3},
                             {"id": "TXXX", "desc": "...", "text": ["..."]},
                             {"id": "UFID", "owner": "...", "data": "..."},
                             {"id": "APIC", "file": "x.jpg", "type": 3, "desc": ""}]}
"""
import hashlib
import json
import sys

import mutagen.id3 as id3


def dump(path):
    result = {"v2": None, "frames": {}, "txxx": {}, "ufid": {}, "pictures": [], "comments": [], "v1": None}
    try:
        tags = id3.ID3(path)
    except id3.ID3NoHeaderError:
        tags = None
    if tags is not None and tags.version[0] == 2 and tags.size > 0:   # not ID3v1 read as ID3v2
        result["v2"] = list(tags.version)
        for frame in tags.values():
            if frame.FrameID == "APIC":
                result["pictures"].append({"mime": frame.mime, "type": int(frame.type), "desc": frame.desc,
                                           "jpeg": frame.data[:3] == b"\xff\xd8\xff",
                                           "sha1": hashlib.sha1(frame.data).hexdigest()})
            elif frame.FrameID == "COMM":
                result["comments"].append({"desc": frame.desc, "text": [str(t) for t in frame.text]})
            elif frame.FrameID == "TXXX":
                result["txxx"].setdefault(frame.desc, []).append([str(t) for t in frame.text])
            elif frame.FrameID == "UFID":
                result["ufid"].setdefault(frame.owner, []).append(frame.data.decode("latin-1"))
            elif frame.FrameID.startswith("T"):
                result["frames"].setdefault(frame.FrameID, []).append(
                    {"text": [str(t) for t in frame.text], "encoding": int(frame.encoding)})
    with open(path, "rb") as f:
        f.seek(-128, 2)
        block = f.read(128)
    if block[:3] == b"TAG":
        result["v1"] = {key: [str(t) for t in frame.text] for key, frame in id3.ParseID3v1(block).items()}
    print(json.dumps(result))


def write(path, layout):
    tags = id3.ID3()
    for entry in layout.get("frames", []):
        if entry["id"] == "APIC":
            with open(entry["file"], "rb") as f:
                tags.add(id3.APIC(encoding=3, mime="image/jpeg", type=entry.get("type", 3),
                                  desc=entry.get("desc", ""), data=f.read()))
        elif entry["id"] == "UFID":
            tags.add(id3.UFID(owner=entry["owner"], data=entry["data"].encode("latin-1")))
        else:
            described = {"desc": entry["desc"]} if "desc" in entry else {}
            tags.add(getattr(id3, entry["id"])(encoding=entry.get("encoding", 3), text=entry["text"], **described))
    tags.save(path, v1=2 if layout.get("v1") else 0, v2_version=layout.get("v2") or 4)
    if layout.get("v2") is None:
        id3.ID3(path).delete(path, delete_v1=False, delete_v2=True)


if __name__ == "__main__":
    if sys.argv[1] == "dump":
        dump(sys.argv[2])
    else:
        write(sys.argv[2], json.loads(sys.argv[3]))
