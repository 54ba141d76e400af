#!/usr/bin/env bash
# Plays two sources for 10 s each in real time in the preview player, in the wizard's
# 329x250 panel (offscreen: painting still happens), and sets the player's CPU time
# against that of the ffmpeg command decoding the same 10 s, the floor no player can go
# under: a 640x480 25 fps MPEG-2 source with MPEG audio, and a 720x576 interlaced DVD
# source (shown deinterlaced). Runs alternate; medians are compared.
# Goal: ratio <= 2.5 for each (colour conversion, deinterlacing, scaling and painting
# included).
#   bench/player/run.sh [RUNS]      (after a build; RUNS defaults to 3)
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/common.sh
need_built bench_player
[ -x /usr/bin/time ] || { echo "error: /usr/bin/time is needed: apt-get install -y time" >&2; exit 1; }

make_source "$work/player640.mpg" -f lavfi -i "testsrc2=size=640x480:rate=25:duration=12" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=12" \
  -c:v mpeg2video -b:v 5M -maxrate 8M -bufsize 1835k -g 12 -c:a mp2 -b:a 192k -f mpeg
make_source "$work/player-dvd.vob" -f lavfi -i "testsrc2=size=720x576:rate=25:duration=12" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=12" \
  -vf "setfield=tff" -flags +ildct+ilme -top 1 -aspect 4:3 \
  -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -g 15 -c:a ac3 -b:a 192k -f vob


measure() {  # NAME SOURCE
  local name=$1 src=$2 sound=off line
  : >"$work/player.txt"; : >"$work/peer.txt"
  for ((i = 0; i < runs; i++)); do
    line=$(QT_QPA_PLATFORM=offscreen "$bin/bench_player" "$src" 10)
    echo "player: $line"
    echo "$line" | sed -n 's/^cpu \([0-9.]*\) s.*/\1/p' >>"$work/player.txt"
    case $line in *"sound on"*) sound=on ;; esac
    # The peer decodes what the player decoded: the sound only when the player had a device.
    local an=(); [ "$sound" = on ] || an=(-an)
    /usr/bin/time -f "%U %S" -o "$work/time.txt" ffmpeg -nostdin -v error -t 10 -i "$src" "${an[@]}" -f null - \
      || { echo "error: ffmpeg failed" >&2; exit 1; }
    awk '{print $1 + $2}' "$work/time.txt" >>"$work/peer.txt"
  done
  local tq tp
  tq=$(median <"$work/player.txt"); tp=$(median <"$work/peer.txt")
  awk -v name="$name" -v tq="$tq" -v tp="$tp" -v runs="$runs" -v sound="$sound" 'BEGIN {
    printf "%-14s player CPU %.2f s vs ffmpeg decoding %.2f s (sound %s): ratio %.2f (median of %d; goal <= 2.5)\n",
      name, tq, tp, sound, tq / tp, runs
  }' | tee -a "$work/player-results.txt"
}

: >"$work/player-results.txt"
measure "640x480" "$work/player640.mpg"
measure "interlaced DVD" "$work/player-dvd.vob"
echo; cat "$work/player-results.txt"
