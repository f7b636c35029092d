#!/usr/bin/env bash
# Screenshot of tunx4k on the virtual instrument, on a virtual X screen.
#   scripts/screenshot.sh [OUT.png] [SCRIPT]   (default build/screenshot.png)
# With a SCRIPT the windows play it first (tunx4k --script); the picture is taken after it,
# once WAIT_SECONDS have passed.
# Environment: SCREEN_SIZE (default 1366x768), WAIT_SECONDS (default 3).
# Builds nothing: run it after building, with build/bin/tunx4k in place.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshot.png}
script=${2:-}
size=${SCREEN_SIZE:-1366x768}
wait_seconds=${WAIT_SECONDS:-3}
program=$root/build/bin/tunx4k

if [[ ! -x $program ]]; then
    echo "screenshot.sh: $program not found; build first" >&2
    exit 1
fi
for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is not installed" >&2; exit 1; }
done

mkdir -p "$(dirname "$out")"
args=(--simulate)
if [[ -n $script ]]; then
    args+=(--script "$(cd "$(dirname "$script")" && pwd)/$(basename "$script")")
fi
export PROGRAM="$program" OUT="$out" WAIT_SECONDS="$wait_seconds" TUNX_ARGS="${args[*]}"
xvfb-run --auto-servernum --server-args="-screen 0 ${size}x24" bash -c '
    $PROGRAM $TUNX_ARGS &
    pid=$!
    sleep "$WAIT_SECONDS"
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "screenshot.sh: tunx4k ended early" >&2
        exit 1
    fi
    import -window root "$OUT"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
'
echo "$out"
