#!/usr/bin/env bash
# Screenshots of the windows playing each script of scripts/shots/ on the virtual instrument,
# on a virtual 1366x768 screen (Xvfb):
#   scripts/shots.sh [OUTDIR]      (default build/shots)
# Each script names its pictures with `shot FILE [WINDOW]`; they are written to OUTDIR.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/shots}
program=${PROGRAM:-$root/build/bin/tunx4k}
[[ -x $program ]] || { echo "shots.sh: $program not found; build first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "shots.sh: xvfb-run is not installed" >&2; exit 1; }

mkdir -p "$out"
for script in "$root"/scripts/shots/*.txt; do
    echo "$(basename "$script")"
    # A script may ask for a taller screen with a line "# screen WxH".
    screen=$(sed -n 's/^# screen \([0-9]*x[0-9]*\)$/\1/p' "$script" | head -1)
    (cd "$out" && xvfb-run --auto-servernum --server-args="-screen 0 ${screen:-1366x768}x24" \
        "$program" --simulate --script "$script" 2>/dev/null)
done
ls "$out"
