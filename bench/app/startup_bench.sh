#!/usr/bin/env bash
# Start-up time of k3config-sim: from process start to the end of the opening
# animation (animations off), in a real X server, over several runs.
# Usage: startup_bench.sh <k3config-sim> [runs]
set -euo pipefail
program=$1
runs=${2:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/"
cp -r "$(dirname "$program")/modules" "$work/"
sed -i 's|^3=.*|3=1|' "$work/modules/setting/apConfig.bin"
export PROG=$work/$(basename "$program") RUNS=$runs K3SIM_STATE=$work/sim-state.ini
export QT_LOGGING_RULES="k3.ui.info=true;qt.multimedia*=false"
xvfb-run -a -s "-screen 0 1280x800x24" bash -s <<'INNER'
set -uo pipefail
times=()
for r in $(seq 1 "$RUNS"); do
    fifo=$(mktemp -u); mkfifo "$fifo"
    start=$(date +%s%N)
    "$PROG" 2>"$fifo" >/dev/null & pid=$!
    ms=""
    while IFS= read -r -t 30 line; do
        if [[ $line == *"opening animation finished"* ]]; then
            ms=$(( ($(date +%s%N) - start) / 1000000 ))
            break
        fi
    done <"$fifo"
    kill -TERM $pid 2>/dev/null; wait $pid 2>/dev/null
    rm -f "$fifo"
    [ -n "$ms" ] || { echo "run $r: the opening animation never finished"; exit 1; }
    echo "run $r: ${ms} ms"
    times+=("$ms")
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
n=${#sorted[@]}
echo "start-up to end of opening animation (animations off): median ${sorted[$((n / 2))]} ms, min ${sorted[0]} ms, max ${sorted[$((n - 1))]} ms over $n runs"
INNER
