#!/usr/bin/env bash
# How much the program weighs and how soon it shows, beside a bare Qt
# Widgets window started the same way:
#  - start: from starting the process until its first window (the intro
#    window; the bare window) has been painted;
#  - idle: the proportional set size (PSS) of the process and every process
#    it started, with a recommendation shown and the list of past draws open;
#  - help: the same with the help window showing the guide.
# Usage: bench/footprint/footprint.sh [BUILD_FOLDER] [RUNS]
# Runs under the desktop of DISPLAY, or under a virtual X server (Xvfb) that
# it starts and ends itself. Prints the median of the runs.
set -euo pipefail

build=${1:-build}
runs=${2:-5}
probe=$build/bench/footprint_probe
bare=$build/bench/footprint_bare
for subject in "$probe" "$bare"; do
  [ -x "$subject" ] || { echo "missing $subject: build the targets footprint_probe and footprint_bare" >&2; exit 2; }
done

work=$(mktemp -d)
xserver=""
cleanup() {
  [ -n "$xserver" ] && kill "$xserver" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  if command -v Xvfb >/dev/null; then
    display=:$((90 + RANDOM % 9))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xserver=$!
    export DISPLAY=$display
    sleep 1
  else
    export QT_QPA_PLATFORM=offscreen
  fi
fi

# PSS in kB of a process and all its descendants.
pss_tree() {
  local total=0 pid kb
  local pids=("$1")
  local i=0
  while [ $i -lt ${#pids[@]} ]; do
    for child in $(pgrep -P "${pids[$i]}" || true); do pids+=("$child"); done
    i=$((i + 1))
  done
  for pid in "${pids[@]}"; do
    kb=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup" 2>/dev/null || echo 0)
    total=$((total + ${kb:-0}))
  done
  echo "$total"
}

median() {
  sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

# One run of a subject: "start_ms idle_kB help_kB".
measure() {
  local subject=$1 folder=$2 line started us idle help
  started=$(date +%s%N)
  coproc RUN { exec "$subject" "$folder/secret" "$folder" 2>/dev/null; }
  local pid=$RUN_PID
  read -r line <&"${RUN[0]}"
  us=$(( (${line#intro } - started) / 1000 ))
  if [ "$subject" = "$probe" ]; then
    read -r line <&"${RUN[0]}" # ready
  fi
  sleep 2
  idle=$(pss_tree "$pid")
  echo help >&"${RUN[1]}"
  read -r line <&"${RUN[0]}"
  sleep 3 # let a browser engine settle
  help=$(pss_tree "$pid")
  echo quit >&"${RUN[1]}"
  wait "$pid" || true
  echo "$((us / 1000)).$(printf %03d $((us % 1000))) $idle $help"
}

for subject in program bare; do
  binary=$probe
  [ $subject = bare ] && binary=$bare
  folder=$work/$subject
  mkdir -p "$folder"
  # A first start makes the installation secret; it is not counted.
  measure "$binary" "$folder" >/dev/null
  : >"$work/$subject.runs"
  for _ in $(seq "$runs"); do
    measure "$binary" "$folder" >>"$work/$subject.runs"
  done
done

for subject in program bare; do
  start=$(cut -d' ' -f1 "$work/$subject.runs" | median)
  idle=$(cut -d' ' -f2 "$work/$subject.runs" | median)
  help=$(cut -d' ' -f3 "$work/$subject.runs" | median)
  printf '%-8s start %6.1f ms   idle %6.1f MB   help %6.1f MB   (median of %d)\n' \
    "$subject" "$start" "$(awk "BEGIN {print $idle / 1024}")" "$(awk "BEGIN {print $help / 1024}")" "$runs"
done
program_start=$(cut -d' ' -f1 "$work/program.runs" | median)
bare_start=$(cut -d' ' -f1 "$work/bare.runs" | median)
printf 'start ratio %.2f (target <= 1.5); idle target <= 45 MB; help target <= 60 MB\n' \
  "$(awk "BEGIN {print $program_start / $bare_start}")"
