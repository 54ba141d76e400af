#!/usr/bin/env bash
# The wizard measured on this machine, each figure against a peer in the same run:
#  - start-up: from process start to the main window's first complete paint, on an X
#    server of its own with a window manager (as a user starts it), against a minimal Qt
#    Widgets program showing a window of the same size; goal <= 1.5. The same on the
#    offscreen platform (no display: only the work of building and painting) is printed
#    for information.
#  - a whole conversion of a 60-second DVD-like source to VGA High driven through the
#    wizard's windows (page 3 polling and painting, offscreen), against qxconvert doing the
#    same; goal <= 1.05
#  - the longest time the user-interface thread was busy without returning to its event
#    loop during that conversion; goal <= 16 ms
#   bench/wizard/run.sh [RUNS]      (after a build; RUNS defaults to 3; start-up runs 5x RUNS)
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/common.sh
need_built quorlantix bench_minimal_window bench_wizard qxconvert
make_dvd60
src=$work/dvd60.vob

now_ns() { date +%s%N; }

# Start-up, alternating; each program prints "painted MS" and ends. Under X when Xvfb and
# openbox are there (./test installs them), and offscreen.
startup() {  # PLATFORM-LABEL OUTPUT-DIR
  : >"$2/startup-program-$1.txt"; : >"$2/startup-peer-$1.txt"
  for ((i = 0; i < runs * 5; i++)); do
    QX_BENCH_T0=$(now_ns) "$bin/quorlantix" 2>/dev/null | sed -n 's/^painted //p' >>"$2/startup-program-$1.txt"
    QX_BENCH_T0=$(now_ns) "$bin/bench_minimal_window" 2>/dev/null | sed -n 's/^painted //p' >>"$2/startup-peer-$1.txt"
  done
  [ -s "$2/startup-program-$1.txt" ] && [ -s "$2/startup-peer-$1.txt" ] \
    || { echo "error: no start-up figures ($1)" >&2; exit 1; }
}
export -f startup now_ns; export runs bin
if command -v Xvfb >/dev/null && command -v openbox >/dev/null; then
  tests/support/x-session.sh bash -c "startup x11 '$work'"
  xp=$(median <"$work/startup-program-x11.txt"); xm=$(median <"$work/startup-peer-x11.txt")
else
  echo "note: Xvfb or openbox missing: start-up measured offscreen only" >&2
fi
QT_QPA_PLATFORM=offscreen startup offscreen "$work"
sp=$(median <"$work/startup-program-offscreen.txt"); sm=$(median <"$work/startup-peer-offscreen.txt")

# The conversion, alternating with qxconvert.
: >"$work/wizard.txt"; : >"$work/qxconvert.txt"; : >"$work/stall.txt"
for ((i = 0; i < runs; i++)); do
  line=$(QT_QPA_PLATFORM=offscreen "$bin/bench_wizard" "$src" "$work/wizard-out.wmv" 2>/dev/null) || { echo "error: bench_wizard failed" >&2; exit 1; }
  echo "wizard: $line"
  echo "$line" | sed -n 's/^wizard \([0-9.]*\) s.*/\1/p' >>"$work/wizard.txt"
  echo "$line" | sed -n 's/.*longest stall \([0-9.]*\) ms.*/\1/p' >>"$work/stall.txt"
  start=$(now_ns)
  "$bin/qxconvert" "$src" "$work/qxconvert-out.wmv" --screen vga --quality high >/dev/null 2>&1 \
    || { echo "error: qxconvert failed" >&2; exit 1; }
  awk -v a="$start" -v b="$(now_ns)" 'BEGIN { printf "%.3f\n", (b - a) / 1e9 }' | tee -a "$work/qxconvert.txt" \
    | sed 's/^/qxconvert: /'
done
cw=$(median <"$work/wizard.txt"); cq=$(median <"$work/qxconvert.txt")
stall=$(sort -n "$work/stall.txt" | tail -1)

awk -v xp="${xp:-0}" -v xm="${xm:-0}" -v sp="$sp" -v sm="$sm" -v cw="$cw" -v cq="$cq" -v stall="$stall" -v runs="$runs" 'BEGIN {
  if (xm > 0)
    printf "start-up      %.1f ms vs minimal window %.1f ms on X: ratio %.2f (median of %d; goal <= 1.5)\n", xp, xm, xp / xm, runs * 5
  printf "start-up      %.1f ms vs minimal window %.1f ms offscreen: ratio %.2f (median of %d; for information)\n", sp, sm, sp / sm, runs * 5
  printf "conversion    wizard %.2f s vs qxconvert %.2f s: ratio %.3f (median of %d; goal <= 1.05)\n", cw, cq, cw / cq, runs
  printf "longest stall %.1f ms of the user-interface thread while converting (worst of %d; goal <= 16)\n", stall, runs
}'
