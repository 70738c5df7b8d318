#!/bin/sh
# Start-to-window time of the wizard: starts `setup usecwd . -Len` in KIT_DIR under
# the current display ROUNDS times (default 5) and prints, for each run and as
# the median, the milliseconds from the start until its window is visible.
# Each run is then killed; HOME and TMPDIR are fresh ones. Run it under Xvfb:
#   tests/support/with_xvfb sh bench/start_to_window.sh build/bin/setup KIT_DIR [ROUNDS]
set -eu
setup=$(realpath "$1")
kit_dir=$(realpath "$2")
rounds=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
times=""
for round in $(seq "$rounds"); do
  mkdir -p "$work/home$round"
  start=$(date +%s%N)
  (cd "$kit_dir" && HOME="$work/home$round" TMPDIR="$work" exec "$setup" usecwd . -Len) \
    > /dev/null 2>&1 &
  pid=$!
  # The wizard's window, 500 x 360; a box would be another size.
  until xdotool search --onlyvisible --pid "$pid" 2> /dev/null | while read -r w; do
    xdotool getwindowgeometry "$w"; done | grep -q "Geometry: 500x360"; do
    sleep 0.01
  done
  shown=$(date +%s%N)
  kill -KILL "$pid" && wait "$pid" 2> /dev/null || true
  ms=$(((shown - start) / 1000000))
  echo "round $round: $ms ms"
  times="$times $ms"
done
echo "$times" | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print "median: " v[int((NR + 1) / 2)] " ms" }'
