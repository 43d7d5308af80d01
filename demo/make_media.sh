#!/usr/bin/env bash
# Makes the demo service's media at build time, from Debian's ffmpeg: a channel clip in H.264
# and AAC (a test card with a running counter and a tone), the same clip cut into fragmented-MP4
# segments (an HLS playlist) and as a DASH manifest, the same card in H.265, a 16 s loop of
# 2 s segments (fragmented MP4, and the same in MPEG-TS) that the service serves as a live channel, one MP3 a station or, for an endless
# station, a short clip the service sends round and round, and a file no decoder accepts.
# usage: demo/make_media.sh OUT_DIR STATIONS_FILE
set -euo pipefail
out=$1
stations=$2
mkdir -p "$out/mse" "$out/dash" "$out/live" "$out/live_ts" "$out/radio"
ff() { ffmpeg -nostdin -v error -y "$@"; }

ff -f lavfi -i "testsrc=size=640x360:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=44100" \
   -t 8 -c:v libx264 -profile:v baseline -level 3.0 -pix_fmt yuv420p -g 25 -preset veryfast \
   -c:a aac -b:a 96k -movflags +faststart "$out/channel.mp4"
ff -i "$out/channel.mp4" -c copy -f hls -hls_time 2 -hls_segment_type fmp4 \
   -hls_fmp4_init_filename init.mp4 -hls_segment_filename "$out/mse/seg%d.m4s" \
   -hls_playlist_type vod "$out/mse/index.m3u8"
ff -i "$out/channel.mp4" -c copy -f dash -seg_duration 2 "$out/dash/manifest.mpd"
ff -f lavfi -i "testsrc=size=640x360:rate=25" -f lavfi -i "sine=frequency=523:sample_rate=44100" \
   -t 8 -c:v libx265 -preset ultrafast -x265-params log-level=error -tag:v hvc1 -pix_fmt yuv420p \
   -g 25 -c:a aac -b:a 96k -movflags +faststart "$out/hevc.mp4"
# Whole 2 s segments (a key frame every 50 frames) and 48 kHz audio, whose 1024-sample frames fill
# 16 s exactly: the service moves each round's timestamps on by the loop's length.
ff -f lavfi -i "testsrc2=size=640x360:rate=25" -f lavfi -i "sine=frequency=330:sample_rate=48000" \
   -t 16 -c:v libx264 -profile:v baseline -level 3.0 -pix_fmt yuv420p -g 50 -keyint_min 50 \
   -sc_threshold 0 -preset veryfast -c:a aac -b:a 96k -f hls -hls_time 2 -hls_segment_type fmp4 \
   -hls_fmp4_init_filename init.mp4 -hls_segment_filename "$out/live/seg%d.m4s" \
   -hls_playlist_type vod "$out/live/index.m3u8"
ff -i "$out/live/index.m3u8" -c copy -f hls -hls_time 2 -hls_segment_filename "$out/live_ts/seg%d.ts" \
   -hls_playlist_type vod "$out/live_ts/index.m3u8"
while IFS=$'\t' read -r name page hz stream; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  stem=${page%.html}
  case ${stream:-} in
    # A few notes on the tone, 8 s, at a station's usual rates; frames only (no tags, no
    # Xing header), so that one round follows the other seamlessly.
    mp3|aac)
      notes="0.4*sin(2*PI*t*${hz:-440}*(1+0.25*floor(mod(t\\,4))))"
      codec=(-c:a libmp3lame -b:a 128k -write_xing 0 -id3v2_version 0 -f mp3)
      [[ $stream == aac ]] && codec=(-c:a aac -b:a 128k -f adts)
      ff -f lavfi -i "aevalsrc=${notes}:s=44100:d=8" "${codec[@]}" "$out/radio/$stem.$stream" ;;
    *)
      ff -f lavfi -i "sine=frequency=${hz:-440}:sample_rate=44100:duration=8" -c:a libmp3lame \
         -b:a 64k "$out/radio/$stem.mp3" ;;
  esac
done <"$stations"
printf 'not a video %.0s\n' $(seq 4000) >"$out/broken.mp4"
touch "$out/stamp"
