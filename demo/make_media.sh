#!/usr/bin/env bash
# Makes the demo service's media at build time, from Debian's ffmpeg: a channel clip in H.264
# and AAC (a test card with a running counter and a tone), the same clip cut into fragmented-MP4
# segments for the Media Source channel, one MP3 a station, and a file no decoder accepts.
# usage: demo/make_media.sh OUT_DIR STATIONS_FILE
set -euo pipefail
out=$1
stations=$2
mkdir -p "$out/mse" "$out/radio"
ff() { ffmpeg -nostdin -v error -y "$@"; }

ff -f lavfi -i "testsrc=size=640x360:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=44100" \
   -t 8 -c:v libx264 -profile:v baseline -level 3.0 -pix_fmt yuv420p -g 25 -preset veryfast \
   -c:a aac -b:a 96k -movflags +faststart "$out/channel.mp4"
ff -i "$out/channel.mp4" -c copy -f hls -hls_time 2 -hls_segment_type fmp4 \
   -hls_fmp4_init_filename init.mp4 -hls_segment_filename "$out/mse/seg%d.m4s" \
   -hls_playlist_type vod "$out/mse/index.m3u8"
while IFS=$'\t' read -r name page hz; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  ff -f lavfi -i "sine=frequency=${hz:-440}:sample_rate=44100:duration=8" -c:a libmp3lame -b:a 64k \
     "$out/radio/${page%.html}.mp3"
done <"$stations"
printf 'not a video %.0s\n' $(seq 4000) >"$out/broken.mp4"
touch "$out/stamp"
