#!/usr/bin/python3
"""Tagging benchmark: our batch tagging beside TagLib used directly and beside mutagen.

Each contestant tags its own fresh copy of the same files (about 700 KB of audio each: MPEG
audio, or with --format flac / m4a a few seconds of noise that ffmpeg encodes as FLAC or AAC)
with the same values and a ~100 KB JPEG front cover, twice: the first write adds the tag
(the tag grows), the second rewrites it (the tag fits). Every contestant has its files on
disk (fsync) before it exits. Rounds rotate the order; the median of the rounds is shown,
with how long the disk was busy and how much it discarded meanwhile.

  bench/tagging/run.py BUILD_DIR/bin [--format mp3|flac|m4a] [--work DIR] [--files 200]
                       [--size 700000] [--cover 100000] [--rounds 3]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def disk_counters(folder):
    """The counters of the disk holding `folder`: (milliseconds busy, sectors discarded), or
    None where /proc/diskstats does not list it."""
    device = os.stat(folder).st_dev
    with open("/proc/diskstats") as stats:
        for line in stats:
            fields = line.split()
            if (int(fields[0]), int(fields[1])) == (os.major(device), os.minor(device)):
                return int(fields[12]), int(fields[16]) if len(fields) > 16 else 0
    return None


def timed(command, folder):
    """Runs a command; returns (seconds, peak resident memory in MiB, the disk's busy
    milliseconds and discarded MiB meanwhile, or None)."""
    before = disk_counters(folder)
    start = time.perf_counter()
    process = subprocess.Popen(command)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    after = disk_counters(folder)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command))
    disk = (after[0] - before[0], (after[1] - before[1]) * 512 / 2**20) if before and after else None
    return seconds, usage.ru_maxrss / 1024.0, disk


def fixture_options(rounds):
    """The options every tagging benchmark takes: the programs' folder, where to work, and the
    files to make (how many, how large, how large a cover) and how often to run."""
    parser = argparse.ArgumentParser()
    parser.add_argument("bin")
    parser.add_argument("--work", default=None)
    parser.add_argument("--files", type=int, default=200)
    parser.add_argument("--size", type=int, default=700000)
    parser.add_argument("--cover", type=int, default=100000)
    parser.add_argument("--rounds", type=int, default=rounds)
    return parser


def main():
    parser = fixture_options(rounds=3)
    parser.add_argument("--format", choices=("mp3", "flac", "m4a"), default="mp3")
    options = parser.parse_args()

    work = options.work or tempfile.mkdtemp(prefix="tagwright-bench-", dir=os.getcwd())
    pristine = os.path.join(work, "pristine")
    cover = os.path.join(work, "cover.jpg")
    template = []
    if options.format != "mp3":
        # Noise keeps its size when encoded: about SIZE bytes at 1411 kbit/s (FLAC) or 256 kbit/s.
        os.makedirs(work, exist_ok=True)
        template = [os.path.join(work, "template." + options.format)]
        seconds = options.size * 8 / (1411000 if options.format == "flac" else 256000)
        codec = ["-c:a", "flac"] if options.format == "flac" else ["-c:a", "aac", "-b:a", "256k"]
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                        "anoisesrc=sample_rate=44100:duration=%.2f" % seconds, "-ac", "2"] + codec
                       + ["-map_metadata", "-1", template[0]], check=True)
    subprocess.run([os.path.join(options.bin, "bench_tagging_prepare"), pristine, str(options.files),
                    str(options.size), str(options.cover)] + template, check=True)
    names = sorted(os.listdir(pristine))

    def command(contestant, folder):
        files = [os.path.join(folder, name) for name in names]
        if contestant == "ours":
            return [os.path.join(options.bin, "bench_tagging_ours"), folder, cover]
        if contestant == "taglib":
            return [os.path.join(options.bin, "bench_tagging_taglib"), cover] + files
        return ["/usr/bin/python3", os.path.join(HERE, "tag_mutagen.py"), cover] + files

    contestants = ["ours", "taglib", "mutagen"]
    results = {(c, case): [] for c in contestants for case in ("first", "second")}
    disk = {(c, case): [] for c in contestants for case in ("first", "second")}
    memory = {c: 0.0 for c in contestants}
    for round_number in range(options.rounds):
        order = contestants[round_number % 3:] + contestants[:round_number % 3]
        for contestant in order:
            folder = os.path.join(work, contestant)
            shutil.rmtree(folder, ignore_errors=True)
            shutil.copytree(pristine, folder)
            os.sync()   # the copy's own writes must not be billed to the contestant
            for case in ("first", "second"):
                seconds, peak, busy = timed(command(contestant, folder), folder)
                results[(contestant, case)].append(seconds)
                if busy:
                    disk[(contestant, case)].append(busy)
                memory[contestant] = max(memory[contestant], peak)
                os.sync()
            shutil.rmtree(folder)

    print("%d files of %d bytes of audio, cover %d bytes, %d rounds (median seconds)"
          % (options.files, os.path.getsize(os.path.join(pristine, names[0])), os.path.getsize(cover),
             options.rounds))
    print("%-8s %12s %12s %14s" % ("", "first write", "second write", "peak memory"))
    for contestant in contestants:
        print("%-8s %12.3f %12.3f %11.1f MiB" % (contestant, statistics.median(results[(contestant, "first")]),
                                               statistics.median(results[(contestant, "second")]), memory[contestant]))
    for other in ("taglib", "mutagen"):
        print("ours / %-7s first %.2f  second %.2f" % (
            other,
            statistics.median(results[("ours", "first")]) / statistics.median(results[(other, "first")]),
            statistics.median(results[("ours", "second")]) / statistics.median(results[(other, "second")])))
    # Where the time goes: how long the disk was busy, and how much it was told to discard
    # (a file system mounted with "discard" does so for every freed block).
    if all(disk.values()):
        print("disk, median: ms busy / MiB discarded")
        for contestant in contestants:
            print("%-8s" % contestant + "".join(
                " %7.0f / %5.1f" % (statistics.median(b for b, _ in disk[(contestant, case)]),
                                    statistics.median(d for _, d in disk[(contestant, case)]))
                for case in ("first", "second")))
    if not options.work:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
