#!/usr/bin/python3
"""What the undo journal costs when tagging: our batch tagging of the same files with and
without the journal, side by side in one run, each on its own fresh copy, twice (the first
write adds the tag, the second rewrites it); rounds alternate the order, medians are shown,
with the journal's size on disk.

  bench/tagging/journal_cost.py BUILD_DIR/bin [--files 200] [--size 700000] [--cover 100000]
                                [--rounds 5] [--work DIR]
"""
import os
import shutil
import statistics
import subprocess
import tempfile

from run import fixture_options, timed


def folder_size(folder):
    return sum(os.path.getsize(os.path.join(root, name)) for root, _, names in os.walk(folder) for name in names)


def main():
    options = fixture_options(rounds=5).parse_args()

    work = options.work or tempfile.mkdtemp(prefix="tagwright-journal-bench-", dir=os.getcwd())
    pristine = os.path.join(work, "pristine")
    cover = os.path.join(work, "cover.jpg")
    subprocess.run([os.path.join(options.bin, "bench_tagging_prepare"), pristine, str(options.files),
                    str(options.size), str(options.cover)], check=True)
    ours = os.path.join(options.bin, "bench_tagging_ours")
    runs = ["without journal", "with journal"]
    results = {(r, case): [] for r in runs for case in ("first", "second")}
    journal_bytes = []
    for round_number in range(options.rounds):
        for run in (runs if round_number % 2 == 0 else runs[::-1]):
            folder = os.path.join(work, "files")
            journal = os.path.join(work, "journal")
            shutil.rmtree(folder, ignore_errors=True)
            shutil.rmtree(journal, ignore_errors=True)
            shutil.copytree(pristine, folder)
            os.sync()   # the copy's own writes must not be billed to the run
            for case in ("first", "second"):
                command = [ours, folder, cover] + ([journal] if run == "with journal" else [])
                results[(run, case)].append(timed(command, folder)[0])
                os.sync()
            if run == "with journal":
                journal_bytes.append(folder_size(journal))
    print("%d files of %d bytes of audio, cover %d bytes, %d rounds (median seconds)"
          % (options.files, os.path.getsize(os.path.join(pristine, sorted(os.listdir(pristine))[0])),
             os.path.getsize(cover), options.rounds))
    print("%-16s %12s %12s" % ("", "first write", "second write"))
    for run in runs:
        print("%-16s %12.3f %12.3f" % (run, statistics.median(results[(run, "first")]),
                                       statistics.median(results[(run, "second")])))
    for case in ("first", "second"):
        ratio = statistics.median(results[("with journal", case)]) / statistics.median(results[("without journal", case)])
        print("journal's cost, %s write: %+.1f%%" % (case, (ratio - 1) * 100))
    print("journal after both writes: %.1f KiB (%.1f KiB a file)"
          % (statistics.median(journal_bytes) / 1024, statistics.median(journal_bytes) / 1024 / options.files))
    if not options.work:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
