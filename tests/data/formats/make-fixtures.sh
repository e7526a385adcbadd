#!/bin/sh
# Makes the small encoded audio files of the format tests: one second of a 440 Hz tone, 8 kHz
# mono, in every format Tagwright tags. Needs Debian's flac, vorbis-tools, opus-tools and
# ffmpeg; the tests only read the files it made, so they run without those programs.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=1" -ac 1 "$work/tone.wav"
flac --silent --force --padding=8192 -o tone.flac "$work/tone.wav"
flac --silent --force --ogg -o tone-flac.oga "$work/tone.wav"
oggenc --quiet --quality=0 -o tone.ogg "$work/tone.wav"
opusenc --quiet --bitrate 16 "$work/tone.wav" tone.opus
ffmpeg -loglevel error -y -i "$work/tone.wav" -c:a aac -b:a 16k tone-aac.m4a
ffmpeg -loglevel error -y -i "$work/tone.wav" -c:a alac tone-alac.m4a
