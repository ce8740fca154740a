#!/usr/bin/env bash
# Runs k3config-sim in a real X server from a copy of its folder and takes the
# screenshots that are reviewed by eye: after the opening animation, with the
# settings panel open, in every shipped language, with skin 2 and with
# animations off. Also drags the window and closes it with the close button,
# which must end the process through the closing animation.
# Usage: screens.sh <k3config-sim> <output folder>
set -euo pipefail
program=$1
out=$2
rm -rf "$out"
mkdir -p "$out/shots"
work=$out/program
mkdir -p "$work"
cp "$program" "$work/"
cp -r "$(dirname "$program")/modules" "$work/"
export K3SIM_STATE=$out/sim-state.ini
export WORK=$work OUT=$out PROG=$work/$(basename "$program")

xvfb-run -a -s "-screen 0 1280x800x24" bash -s <<'INNER'
set -uo pipefail
cfg=$WORK/modules/setting/apConfig.bin
cp "$cfg" "$OUT/apConfig.orig"
fail=0

# set_cfg position value ...: edits common/<position> of the configuration.
set_cfg() {
    cp "$OUT/apConfig.orig" "$cfg"
    while [ $# -gt 0 ]; do
        sed -i "s|^$1=.*|$1=$2|" "$cfg"
        shift 2
    done
}
start() {
    "$PROG" >>"$OUT/program.log" 2>&1 &
    pid=$!
    wid=""
    for i in $(seq 1 100); do
        wid=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | head -1) && [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || { echo "no window"; fail=1; }
}
geometry() { xdotool getwindowgeometry --shell "$wid" | grep -E '^(X|Y)=' | tr '\n' ' '; }
shot() {
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    import -window root -crop 1000x600+$X+$Y +repage "$OUT/shots/$1.png"
}
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }
stop() { kill -TERM $pid 2>/dev/null; wait $pid 2>/dev/null; }

# 1. Animations on: opening, settings panel, drag, close button.
set_cfg 3 0
start
sleep 6
shot opening
click 24 14
sleep 2
shot settings_panel
# The language list open over its neighbours.
click 215 159
sleep 1.5
shot settings_language_list
click 215 159
sleep 1.5
click 24 14
sleep 2
click 80 198
sleep 1.5
shot page_key
before=$(geometry)
xdotool mousemove --window "$wid" 600 70 mousedown 1
for s in 1 2 3 4 5; do xdotool mousemove_relative -- 8 6; sleep 0.05; done
xdotool mouseup 1
sleep 0.5
after=$(geometry)
echo "window before drag: $before, after: $after"
[ "$before" != "$after" ] || { echo "drag did not move the window"; fail=1; }
eval "$(xdotool getwindowgeometry --shell "$wid")"
xdotool mousemove $((X + 975)) $((Y + 14)) click 1
closed=0
for i in $(seq 1 50); do kill -0 $pid 2>/dev/null || { closed=1; break; }; sleep 0.1; done
[ $closed -eq 1 ] && echo "closed by the close button" || { echo "close button did not end the program"; fail=1; stop; }

# 2. Every shipped language, with animations off and the settings panel open.
languages=$(ls "$WORK/modules/i18n" | grep -c '^lang_.*\.ini$')
for pos in $(seq 0 $((languages - 1))); do
    set_cfg 3 1 4 $pos
    start
    sleep 2
    shot "language_$pos"
    click 24 14
    sleep 1
    shot "language_${pos}_settings"
    stop
done

# Larger text in the language with the longest texts.
set_cfg 3 1 4 5 7 1
start
sleep 2
click 24 14
sleep 1
shot larger_text_settings
click 24 14
sleep 1
click 80 292
sleep 1
shot larger_text_color_page
stop

# 3. Skin 2.
set_cfg 1 2
start
sleep 6
shot skin2
click 24 14
sleep 2
shot skin2_settings
stop

# 4. Animations off.
set_cfg 3 1
start
sleep 1.5
shot animations_off
stop
exit $fail
INNER
rc=$?
ls "$out/shots"
exit $rc
