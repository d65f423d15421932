#!/usr/bin/env bash
# Japanese typed into the window through a real input method, IBus with the Anthy engine in
# Hiragana mode, on a virtual X server and a D-Bus session of the test's own: a commit arrives
# intact, and "変換" as well as Ctrl+Space convert text still being composed, committing it first.
#
# usage: ime_e2e.sh BIN_DIR
#   BIN_DIR  the program's folder: zelkora, zelkora-cli, ReadMe.txt and settings/
# Exits 77 (skipped) when the input method is not installed: 'bash setup.sh test' installs it
# (packages-test.txt). Mozc would not do: its server refuses to run as root.
set -euo pipefail

if (($# != 1)); then
    echo "usage: ime_e2e.sh BIN_DIR" >&2
    exit 2
fi
bin=$(cd "$1" && pwd)
test_name=ime_e2e
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"

skip() {
    echo "$test_name: SKIP: $* is missing; 'bash setup.sh test' installs it (packages-test.txt)"
    exit 77
}
for tool in dbus-daemon gsettings ibus-daemon ibus; do
    command -v "$tool" >/dev/null || skip "$tool"
done
[[ -e /usr/share/ibus/component/anthy.xml ]] || skip "ibus-anthy"
# The engine is Python, and needs the system's python3 with gi.
PATH=/usr/bin:/bin:$PATH
python3 -c 'import gi' 2>/dev/null || skip "python3-gi"
compgen -G '/usr/lib/*/gio/modules/libdconfsettings.so' >/dev/null || skip "dconf-gsettings-backend"
need_tools Xvfb xauth xdotool xclip timeout
make_work_folder

write_table "$prog/settings/kana.txt" 0 0A '65E5 日' '672C 本' '8A9E 語' '304B か' '306A な'
table=$prog/settings/kana.txt

start_x_server

# --- the input method ----------------------------------------------------------------------

step="starting IBus with Anthy"
# A home, a runtime folder and a session bus of the test's own, so that the user's input
# method and settings are neither used nor changed.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache \
    XDG_DATA_HOME=$work/home/.local/share XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
dbus_pid=""
stop_extra() {
    ibus exit >/dev/null 2>&1 || true
    stop_pid "$dbus_pid"
    # What the bus started on its own (the engine, the settings service) knows this HOME.
    local process
    for process in /proc/[0-9]*; do
        if { tr '\0' '\n' <"$process/environ" | grep -qxF "HOME=$HOME"; } 2>/dev/null; then
            kill "${process#/proc/}" 2>/dev/null || true
        fi
    done
}
dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile \
    >"$work/dbus.log" 2>&1 &
dbus_pid=$!
wait_for "$kStartSeconds" test -S "$XDG_RUNTIME_DIR/bus" || fail "the session bus did not start"
# Anthy reads its mode once, as its engine starts, and starts in Latin mode otherwise.
gsettings set org.freedesktop.ibus.engine.anthy.common input-mode 0
gsettings set org.freedesktop.ibus.general preload-engines "['anthy']"
ibus-daemon --daemonize --replace --panel=disable --emoji-extension=disable \
    >"$work/ibus.log" 2>&1
anthy_listed() { ibus list-engine 2>/dev/null | grep -q anthy; }
wait_for "$kStartSeconds" anthy_listed || fail "IBus lists no Anthy engine"
# Without a panel nothing applies the preloaded engines. The first call can fail while the
# daemon is still starting, and its status is no guide: the engine in use is asked for.
anthy_set() {
    ibus engine anthy >/dev/null 2>&1 || true
    [[ "$(ibus engine 2>/dev/null)" == anthy ]]
}
wait_for "$kStartSeconds" anthy_set || fail "cannot switch IBus to Anthy"
log "IBus with Anthy on $DISPLAY"

clear_input() {
    click_input
    xdotool key ctrl+a BackSpace
}

# Keys go to the engine over D-Bus and come back later, while a click reaches the window at
# once: every key is given time to be through before anything else is done.
ime_keys() {
    xdotool key "$@"
    sleep 1
}

# Romaji into the input box, through the input method; nothing is committed.
compose() {
    xdotool type --delay 40 "$1"
    sleep 1
}

start_program QT_IM_MODULE=ibus
# Until the window's input context is connected to IBus, keys reach the box as Latin letters.
step="composing the first text"
composed() {
    clear_input
    compose ka
    ime_keys Return
    read_box input "$work/seen"
    [[ "$(cat "$work/seen")" == "か" ]]
}
wait_for "$kStartSeconds" composed || fail "typing 'ka' and Return gave '$(cat "$work/seen")', not か"
log "ok: the input method composes in the window"

step="committing a conversion"
clear_input
compose nihongo
ime_keys space Return
expect_input "日本語"
log "ok: 'nihongo', Space and Return committed 日本語"

step="pressing 変換 while composing"
clear_input
compose kana
click_button 0
expect_output_as_cli "変換 during composition" "かな" "$table" to-codes
expect_input "かな"
log "ok: 変換 committed かな and converted it"

step="pressing Ctrl+Space while composing"
clear_input
compose nihongo
ime_keys space Return
compose kana
ime_keys ctrl+space
expect_output_as_cli "Ctrl+Space during composition" "日本語かな" "$table" to-codes
expect_input "日本語かな"
log "ok: Ctrl+Space committed かな and converted 日本語かな"
log "PASS"
