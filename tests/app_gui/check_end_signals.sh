#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_end_signals.sh DARVENIX DARVENIX_CLI EXAMPLE.dvx
#
# The real desktop program ended from outside, as a session end or "kill"
# does it: SIGTERM and SIGHUP close it as File › Exit does (exit status 0,
# settings written), and an unsaved project is kept as the recovery copy,
# which the next start offers and, answered Yes, opens as an unsaved project
# under its own name.
#
# Cases with a saved project run on the offscreen platform. A project with
# unsaved changes needs a person's key press: those cases run the program on
# a virtual X display (xvfb-run) and type into it with xdotool. Each case
# has a home of its own; every wait is for an event, bounded by a limit.
set -u
program=$1 cli=$2 example=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/darvenix-signals-XXXXXX")
pid=""
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/err" ] && sed 's/^/  program: /' "$work/err" >&2
    exit 1
}

fresh_home() {
    rm -rf "$work/home"
    mkdir -p "$work/home"
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data \
           XDG_STATE_HOME=$work/home/state
    settings=$XDG_CONFIG_HOME/Quellstrand/darvenix.ini
    kept=$XDG_STATE_HOME/Quellstrand/darvenix
    cp "$example" "$work/project.dvx"
}

# Waits until the program handles SIGTERM and SIGHUP itself (their bits in
# SigCgt), i.e. until its handlers are installed.
wait_for_handlers() {
    local mask
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || fail "the program ended while starting"
        mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status")
        if [ -n "$mask" ] && (( (0x$mask >> 14) & 1 )) && (( 0x$mask & 1 )); then return 0; fi
        sleep 0.1
    done
    fail "the program did not take over SIGTERM and SIGHUP"
}

# Sends the signal and waits for the program to end; it must exit with 0.
end_with() {
    kill -"$1" "$pid"
    for _ in $(seq 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "SIG$1: the program is still running"
    wait "$pid"
    local rc=$?
    pid=""
    [ "$rc" -eq 0 ] || fail "SIG$1: exit status $rc (128 + signal = killed by it)"
}

items_of() { "$cli" convert "$1" "$work/items.txt" >/dev/null 2>&1 || fail "cannot read $1"; grep -c . "$work/items.txt"; }

if [ "${1:-}" != "--on-display" ]; then
    # --- offscreen: a saved project, each end signal ---
    for signal in TERM HUP; do
        fresh_home
        QT_QPA_PLATFORM=offscreen "$program" "$work/project.dvx" >/dev/null 2>"$work/err" &
        pid=$!
        wait_for_handlers
        end_with "$signal"
        grep -q '^\[MainForm\]' "$settings" 2>/dev/null || fail "SIG$signal: no window placement in $settings"
        grep -qF "$work/project.dvx" "$settings" || fail "SIG$signal: the project is not in the recent files"
        [ -e "$kept/recovery.dvx" ] && fail "SIG$signal: a saved project was kept as a recovery copy"
        echo "SIG$signal, saved project: settings written, exit 0"
    done

    # --- offscreen: ended while the start asks about a recovery copy ---
    fresh_home
    mkdir -p "$kept"
    cp "$example" "$kept/recovery.dvx"
    printf '%s' "$work/project.dvx" > "$kept/recovery-of.txt"
    QT_QPA_PLATFORM=offscreen "$program" >/dev/null 2>"$work/err" &
    pid=$!
    wait_for_handlers
    end_with TERM
    [ -f "$kept/recovery.dvx" ] || fail "the recovery copy was lost when the program ended during its question"
    echo "SIGTERM during the recovery question: copy kept"

    # --- on a virtual display: unsaved changes ---
    command -v xvfb-run >/dev/null || fail "xvfb-run is not installed (package xvfb)"
    command -v xdotool >/dev/null || fail "xdotool is not installed"
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" --on-display "$program" "$cli" "$example"
fi
shift
program=$1 cli=$2 example=$3

# The window of the running program named $1 (exact title), waited for.
window_named() {
    timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n 1
}

for signal in TERM HUP; do
    fresh_home
    QT_QPA_PLATFORM=xcb "$program" "$work/project.dvx" >/dev/null 2>"$work/err" &
    pid=$!
    wait_for_handlers
    main=$(window_named 'Darvenix.*')
    [ -n "$main" ] || fail "no main window"
    # Delete the current item (a change), then open the insert window: the
    # program handles keys in order, so once that window stands the delete
    # is done too.
    timeout 30 xdotool windowfocus --sync "$main" key Delete key Insert
    [ -n "$(window_named 'Insert New Item')" ] || fail "the key presses did not arrive"
    end_with "$signal"
    [ -f "$kept/recovery.dvx" ] || fail "SIG$signal: the unsaved project was not kept"
    [ "$(cat "$kept/recovery-of.txt")" = "$work/project.dvx" ] || fail "SIG$signal: the copy does not name its project"
    before=$(items_of "$work/project.dvx")
    after=$(items_of "$kept/recovery.dvx")
    [ "$after" -eq $((before - 1)) ] || fail "SIG$signal: the copy holds $after lines, the project $before"
    grep -q '^\[MainForm\]' "$settings" || fail "SIG$signal: settings not written"
    grep -q '^\[InsertForm\]' "$settings" || fail "SIG$signal: the insert window's placement not written"
    echo "SIG$signal, unsaved project: kept as the recovery copy, settings written, exit 0"
done

# The next start offers the copy; Yes (Alt+Y) opens it as an
# unsaved project of its own file, and the copy goes. Ended again, the
# still-unsaved project is kept again under the same name.
QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>"$work/err" &
pid=$!
wait_for_handlers
question=$(window_named 'Darvenix')
[ -n "$question" ] || fail "no recovery question at start"
timeout 30 xdotool windowfocus --sync "$question" key alt+y
for _ in $(seq 300); do [ -e "$kept/recovery.dvx" ] || break; sleep 0.1; done
[ -e "$kept/recovery.dvx" ] && fail "the copy was not taken"
end_with TERM
[ -f "$kept/recovery.dvx" ] || fail "the recovered project was not unsaved any more"
[ "$(cat "$kept/recovery-of.txt")" = "$work/project.dvx" ] || fail "the recovered project lost its file name"
[ "$(items_of "$kept/recovery.dvx")" -eq $(($(items_of "$work/project.dvx") - 1)) ] || fail "the recovered project is not the kept one"
echo "recovery copy offered, opened as unsaved under its name"
echo "end signals: all cases passed"
