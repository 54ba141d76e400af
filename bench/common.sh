# What the benchmark scripts share. Sourced by bench/*/run.sh from the top of the tree:
# sets runs (the script's first argument, default 3), bin and work, and offers the
# helpers below.
runs=${1:-3}
bin=${QX_BUILD_DIR:-build}/bin
work=${QX_BUILD_DIR:-build}/bench
mkdir -p "$work"

# Stops unless the build made each of the named programs.
need_built() {
  local tool
  for tool in "$@"; do
    [ -x "$bin/$tool" ] || { echo "error: build first ($bin/$tool is missing)" >&2; exit 1; }
  done
}

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# FILE ARGS...: makes FILE with the ffmpeg command (ARGS before the output name) once.
make_source() {
  local file=$1; shift
  if [ ! -f "$file" ]; then
    echo "making $(basename "$file")..."
    ffmpeg -nostdin -v error -y "$@" "$file.tmp"
    mv "$file.tmp" "$file"
  fi
}

# The 60-second DVD-like source of the engine and wizard benchmarks: 720x576 interlaced
# MPEG-2 with grain, AC-3 sound.
make_dvd60() {
  make_source "$work/dvd60.vob" -f lavfi -i "testsrc2=size=720x576:rate=25:duration=60" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=60" \
    -vf "setfield=tff,noise=alls=12:allf=t" -flags +ildct+ilme -top 1 -aspect 4:3 \
    -c:v mpeg2video -b:v 6M -maxrate 8M -bufsize 1835k -g 15 -c:a ac3 -b:a 192k -ac 2 -f vob
}
