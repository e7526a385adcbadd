#!/bin/sh
# Renames FILES tagged MP3 files by the mask "%a/%b/%n - %t" with our file handler and with
# the floor program (TagLib + renameat2), ROUNDS times each, alternating which goes first,
# and prints both medians and their ratio.
# usage: bench/renaming/run.sh [BUILD_DIR] [FILES] [ROUNDS]     (defaults: build 1000 9)
set -eu
bin=${1:-build}/bin
count=${2:-1000}
rounds=${3:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/bench_renaming_fixtures" "$work/pristine" "$count"
echo "$count files, $(du -sh "$work/pristine" | cut -f1) in all"

# Each run gets a fresh folder of hard links to the same files: the same inodes, so both
# programs read from a warm page cache and start from identical names.
# The "-read" runs only read the tags and make the names, without moving anything.
run() {
  rm -rf "$work/run"
  cp -al "$work/pristine" "$work/run"
  case $1 in
    ours) "$bin/bench_renaming_ours" "$work/run" '%a/%b/%n - %t' ;;
    floor) "$bin/bench_renaming_floor" "$work/run" ;;
    ours-read) "$bin/bench_renaming_ours" "$work/run" '%a/%b/%n - %t' --read-only ;;
    floor-read) "$bin/bench_renaming_floor" "$work/run" --read-only ;;
  esac | tee -a "$work/$1.log" | sed "s/^/$1: /"
}

run ours >/dev/null; run floor >/dev/null   # warm-up, not counted
: >"$work/ours.log"; : >"$work/floor.log"
i=0
while [ "$i" -lt "$rounds" ]; do
  if [ $((i % 2)) -eq 0 ]; then run ours; run floor; else run floor; run ours; fi
  if [ $((i % 2)) -eq 0 ]; then run ours-read; run floor-read; else run floor-read; run ours-read; fi
  i=$((i + 1))
done

# Field 1 is the wall-clock time, field 4 the processor time (user and system). Other work
# on the machine only ever adds time, so the minimum is shown beside the median.
statistic() { cut -d' ' -f"$2" "$1" | sort -n | awk -v s="$3" '{ v[NR] = $1 } END { print (s == "min") ? v[1] : v[int((NR + 1) / 2)] }'; }
for part in "" -read; do
  for field in 1 4; do
    for stat in median min; do
      [ $field = 1 ] && what=wall || what=cpu
      ours=$(statistic "$work/ours$part.log" $field $stat)
      floor=$(statistic "$work/floor$part.log" $field $stat)
      echo "${part:+reading only, }$stat $what: ours $ours ms, floor $floor ms, ratio ours/floor $(echo "$ours $floor" | awk '{ printf "%.2f", $1 / $2 }')"
    done
  done
done
