#!/usr/bin/env bash
# End to end on the real program: under a virtual X display with a window manager, Quorvel starts
# on a sample document of two labels with the first one recorded as current; text is typed into
# the restored label, the keyboard moves to the second label, and the window is closed as a user
# closes it. Then the document on disk must hold the typed text in the first label's section, the
# second section must be intact, and the settings file must record the second label as current.
#
# Usage: window_e2e.sh QUORVEL_BINARY
# Exit status: 0 passed; 1 failed (the reason on stderr); 77 skipped (xvfb-run is not installed).
#
# Nothing depends on fonts: labels and typed text are ASCII, the checks read files, and the two
# clicks land well inside the edit box and the tree's empty space for any menu bar height.
set -uo pipefail

typed=' typed-by-e2e'
label_one='first'
label_two='second'
text_one='alpha line'
text_two='beta line'

fail() {
    echo "window_e2e FAILED: $*" >&2
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local tenths=$(($1 * 10)) i
    shift
    for ((i = 0; i < tenths; ++i)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The lines of one section of a CR LF file, CRs dropped: "[#name]" in a document, "[name]" in
# the settings file.
section_lines() {
    LC_ALL=C awk -v header="$2" '
        { sub(/\r$/, "") }
        /^\[/ { inside = ($0 == header); next }
        inside { print }' "$1"
}

# A file for a failure message, its CRs shown.
shown() { LC_ALL=C sed 's/\r$/\\r/' "$1"; }

# The part run inside the virtual display, in a shell of its own: it drives the program and
# leaves the files to be checked.
work=''
document=''
title=''
window=''
program=''
wm=''

find_window() {
    window=$(wmctrl -l | awk -v title="$title" \
        '{ line = $0; sub(/^[^ ]+ +[^ ]+ +[^ ]+ /, "", line); if (line == title) print $1 }' |
        head -n 1)
    [ -n "$window" ]
}

is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$((window))" ]; }

first_label_saved() { [ "$(section_lines "$document" "[#$label_one]")" = "$text_one$typed" ]; }

# Gone, or a zombie waiting for this shell.
program_exited() {
    local state
    state=$(cut -d' ' -f3 "/proc/$program/stat" 2>/dev/null) || return 0
    [ "$state" = Z ]
}

stop_started() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
}

drive() {
    work=$1
    document="$work/notes.txt"
    title="Quorvel - $document"
    trap stop_started EXIT # nothing started here outlives the display

    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm=$!
    wait_for 15 wmctrl -m || fail "the window manager did not start: $(cat "$work/openbox.log")"

    QT_QPA_PLATFORM=xcb QUORVEL_CODEPAGE=utf-8 XDG_DATA_HOME="$work/data" \
        XDG_CONFIG_HOME="$work/config" "$work/quorvel" >"$work/quorvel.log" 2>&1 &
    program=$!
    wait_for 20 find_window || fail "no window titled '$title' appeared; wmctrl sees: $(wmctrl -l)"
    wmctrl -i -a "$window"
    wait_for 10 is_active || fail "the window never became active"

    # Into the edit box (client (0,32), 504 x 544, below the menu bar), at the end of the text.
    xdotool mousemove --window "$window" 250 300 click 1
    xdotool key --delay 50 ctrl+End
    xdotool type --delay 40 "$typed"
    # A click on the tree's empty space (client x 512 to 672) keeps the selected label; Down
    # moves on to the next one.
    xdotool mousemove --window "$window" 592 450 click 1
    xdotool key --delay 50 Down
    # Leaving the label saves it; wait for that, so that it is not the close that saves.
    wait_for 15 first_label_saved ||
        fail "moving to the next label saved nothing; the document: $(shown "$document")"

    wmctrl -c "$title" || fail "wmctrl could not close the window"
    wait_for 15 program_exited || fail "the program did not exit after its window was closed"
    wait "$program"
    local status=$?
    program=''
    [ "$status" -eq 0 ] || fail "the program exited with status $status: $(cat "$work/quorvel.log")"
}

if [ "${1:-}" = "--drive" ]; then
    drive "$2"
    exit 0
fi

binary=${1:?usage: window_e2e.sh QUORVEL_BINARY}
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "window_e2e SKIPPED: xvfb-run is not installed (scripts/setup installs it)"
    exit 77
fi
for tool in openbox wmctrl xdotool; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (scripts/setup installs it)"
done
[ -x "$binary" ] || fail "no program at '$binary'"

work=$(mktemp -d) || fail "no temporary directory"
trap 'rm -rf "$work"' EXIT
# A copy of the program of its own: its settings file is the kelmora.ini beside it.
cp "$binary" "$work/quorvel" || fail "could not copy the program"
document="$work/notes.txt"
printf '%s\r\n' "[#$label_one]" "$text_one" "[#$label_two]" >"$document"
printf '%s' "$text_two" >>"$document"
printf '%s\r\n' '[配置]' "当前文件=$document" "当前标签=$label_one" '自动保存=真' \
    '[文件]' "1=$document" >"$work/kelmora.ini"

timeout 120 xvfb-run -a -e "$work/xvfb.log" -f "$work/Xauthority" -s "-screen 0 1024x768x24" \
    bash "$0" --drive "$work"
status=$?
[ "$status" -ne 124 ] || fail "the run took longer than 120 seconds"
[ "$status" -eq 0 ] || exit 1

[ "$(section_lines "$document" "[#$label_one]")" = "$text_one$typed" ] ||
    fail "the first label does not hold the typed text; the document: $(shown "$document")"
[ "$(section_lines "$document" "[#$label_two]")" = "$text_two" ] ||
    fail "the second label changed; the document: $(shown "$document")"
labels=$(LC_ALL=C grep -c '^\[#' "$document")
[ "$labels" -eq 2 ] || fail "the document holds $labels labels instead of 2: $(shown "$document")"
current=$(section_lines "$work/kelmora.ini" '[配置]' | LC_ALL=C sed -n 's/^当前标签=//p')
[ "$current" = "$label_two" ] ||
    fail "[配置] 当前标签 is '$current', not '$label_two': $(shown "$work/kelmora.ini")"
echo "window_e2e passed"
