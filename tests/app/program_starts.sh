#!/usr/bin/env bash
# Starts k3config-sim from another folder in a real X server, takes a
# screenshot, quits it with SIGTERM and checks the clean exit and the start-up
# queries in the simulated keyboard's log.
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
rm -f "$out/hid.log" "$out/window.png"
cd /
export K3SIM_LOG=$out/hid.log
export OUT=$out PROGRAM=$program
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$PROGRAM" & pid=$!
    # The window is shown once the first device check is done.
    for i in $(seq 1 100); do
        xdotool search --onlyvisible --pid $pid >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 3
    import -window root "$OUT/window.png" || true
    kill -TERM $pid
    wait $pid
' && rc=0 || rc=$?
echo "exit code: $rc"
[ "$rc" -eq 0 ] || { echo "program did not exit cleanly"; exit 1; }
# 80H and A1H requests, framed as 9-byte feature reports with the 55 AA 00 tail.
grep -Eiq 'hid_send_feature_report.*00 ?80 ?00 ?00 ?00 ?00 ?55 ?aa ?00' "$out/hid.log" || { echo "no 80H request"; cat "$out/hid.log" | head -20; exit 1; }
grep -Eiq 'hid_send_feature_report.*00 ?a1 ?00 ?00 ?00 ?00 ?55 ?aa ?00' "$out/hid.log" || { echo "no A1H request"; exit 1; }
if grep -q ERROR "$out/hid.log"; then echo "framing errors:"; grep ERROR "$out/hid.log"; exit 1; fi
[ -s "$out/window.png" ] && echo "screenshot: $out/window.png"
echo "ok"
