#!/usr/bin/env bash
# Converts a 60-second DVD-like source (720x576 interlaced MPEG-2 with AC-3 sound) with
# qxconvert and with the ffmpeg command doing the same work (same deinterlace, frame
# rate, fit, pad, codecs and bit rates), alternating runs, and prints for VGA High and
# standard Medium: the ratio of wall times, the peak memory of each, and the PSNR of
# each output against the same reference.
# Goals: wall-time ratio <= 0.75 (VGA High) and <= 0.9 (standard Medium); PSNR not more
# than 0.1 dB below ffmpeg's; peak memory <= 150 MiB.
#   bench/engine/run.sh [RUNS]      (after a build; RUNS defaults to 3)
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/common.sh
need_built qxconvert
[ -x /usr/bin/time ] || { echo "error: /usr/bin/time is needed: apt-get install -y time" >&2; exit 1; }
make_dvd60
src=$work/dvd60.vob

# name screen quality  fps size fit pad-y  video-kbit  rate channels audio-kbit
configs=(
  "VGA-High vga high 25 640x480 640:480 0 1200 44100 2 128"
  "Standard-Medium standard medium 15 208x160 208:156 2 160 32000 2 32"
)

measure() {  # command... -> "seconds kilobytes"
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || { cat "$work/err.txt" >&2; exit 1; }
  cat "$work/time.txt"
}

psnr() {  # output reference -> average PSNR (dB)
  ffmpeg -nostdin -v info -i "$1" -i "$2" -lavfi \
    "[0:v]setpts=PTS-STARTPTS[a];[1:v]setpts=PTS-STARTPTS[b];[a][b]psnr" -f null - 2>&1 |
    sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | tail -1
}


for line in "${configs[@]}"; do
  read -r name screen quality fps size fit pady vk rate ch ak <<<"$line"
  w=${size%x*}; h=${size#*x}
  chain="yadif=mode=send_frame:deint=interlaced,fps=fps=$fps:start_time=0,crop=720:576:0:0:exact=1,scale=$fit:flags=bicubic,pad=$w:$h:0:$pady:black,setsar=1,format=yuv420p"
  gop=$((fps * 4))
  ours=$work/$name.qx.wmv; peer=$work/$name.ffmpeg.wmv; ref=$work/$name.ref.nut
  [ -f "$ref" ] || ffmpeg -nostdin -v error -y -i "$src" -vf "$chain" -an -c:v rawvideo "$ref"
  : >"$work/ours.txt"; : >"$work/peer.txt"
  for ((i = 0; i < runs; i++)); do
    measure "$bin/qxconvert" "$src" "$ours" --screen "$screen" --quality "$quality" >>"$work/ours.txt"
    measure ffmpeg -nostdin -v error -y -i "$src" -vf "$chain" -c:v wmv2 -b:v ${vk}k -maxrate $((vk * 3 / 2))k \
      -bufsize $((vk * 5))k -g $gop -bf 0 -c:a wmav2 -b:a ${ak}k -ar $rate -ac $ch -f asf "$peer" >>"$work/peer.txt"
  done
  tq=$(cut -d' ' -f1 "$work/ours.txt" | median); tp=$(cut -d' ' -f1 "$work/peer.txt" | median)
  mq=$(cut -d' ' -f2 "$work/ours.txt" | sort -n | tail -1); mp=$(cut -d' ' -f2 "$work/peer.txt" | sort -n | tail -1)
  pq=$(psnr "$ours" "$ref"); pp=$(psnr "$peer" "$ref")
  awk -v n="$name" -v tq="$tq" -v tp="$tp" -v mq="$mq" -v mp="$mp" -v pq="$pq" -v pp="$pp" -v runs="$runs" 'BEGIN {
    printf "%-16s wall %.2f s vs ffmpeg %.2f s: ratio %.2f (median of %d)\n", n, tq, tp, tq / tp, runs
    printf "%-16s peak memory %.0f MiB vs ffmpeg %.0f MiB\n", n, mq / 1024, mp / 1024
    printf "%-16s PSNR %.2f dB vs ffmpeg %.2f dB: %+.2f dB\n", n, pq, pp, pq - pp
  }'
done
