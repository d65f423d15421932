#!/usr/bin/env bash
# The window as a person uses it, on a virtual X server of its own: keys and clicks through
# xdotool, the boxes read back through the clipboard and held against zelkora-cli on the same
# table file (window_lib.sh). A copy of the program runs from a temporary folder, so that its
# settings/ and setting.ini are the test's own.
#
# usage: window_e2e.sh BIN_DIR [GRAB_SCREEN SCREENSHOT.png]
#   BIN_DIR      the program's folder: zelkora, zelkora-cli, ReadMe.txt and settings/
#   GRAB_SCREEN  a program that saves a rectangle of the screen as PNG (e2e_grab_screen);
#                with it, the window with its settings menu open is saved as SCREENSHOT.png
set -euo pipefail

if (($# != 1 && $# != 3)); then
    echo "usage: window_e2e.sh BIN_DIR [GRAB_SCREEN SCREENSHOT.png]" >&2
    exit 2
fi
bin=$(cd "$1" && pwd)
grab=${2:-}
screenshot=${3:-}
test_name=window_e2e
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"

need_tools Xvfb xauth xdotool xclip xprop timeout
make_work_folder

# Two tables, with different codes in each, so the chosen one shows in the codes.
write_table "$prog/settings/alpha.txt" 0 0A '3042 あ' '3044 い' '65E5 日' '672C 本'
write_table "$prog/settings/beta.txt" $((0x8200)) 0D0A '82A0 あ' '82A2 い' '93FA 日' '967B 本'

# A stand-in for the desktop's opener, which records what the window asked it to open.
cat >"$work/fakebin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >>"$work/opened"
EOF
chmod +x "$work/fakebin/xdg-open"

start_x_server

# --- the title and the menus ---------------------------------------------------------------

title() { xdotool getwindowname "$window"; }

title_is() { [[ "$(title)" == "$1" ]]; }

expect_title() {
    wait_for "$kWaitSeconds" title_is "$1" || fail "title is '$(title)', expected '$1'"
}

# A popup menu is a window of the program's own besides the main window, and not a tool tip
# (the buttons have them).
popup_windows() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
        [[ "$id" != "$window" ]] || continue
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP || echo "$id"
    done
}

menu_open() { [[ -n "$(popup_windows)" ]]; }

menu_closed() { ! menu_open; }

open_menu() {
    xdotool key "$1"
    wait_for "$kWaitSeconds" menu_open || fail "$1 opened no menu"
}

# Opens a menu with its access key, presses the keys that choose an item, and waits until the
# menu has gone, so that no later click lands on it.
choose_from_menu() {
    open_menu "$1"
    shift
    xdotool key "$@"
    wait_for "$kWaitSeconds" menu_closed || fail "the menu is still open after the keys $*"
}

# Picks item n of the settings menu (0 is the reload item) with the arrow keys.
pick_table_item() {
    local keys=() i
    for ((i = 0; i < $1; ++i)); do
        keys+=(Down)
    done
    choose_from_menu alt+s "${keys[@]}" Return
}

# The files of a settings folder in the settings menu's order: by their upper-cased names.
table_names() {
    find "$1" -mindepth 1 -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort -f
}

# The position of a table in the settings menu, counted from 1 (0 is the reload item).
menu_position() {
    table_names "$prog/settings" | grep -nxF -- "$1" | cut -d: -f1
}

close_by_menu() {
    step="closing the window through ファイル(&F) > 終了(&X)"
    open_menu alt+f
    xdotool key x
    expect_program_ended
}

# --- first start: no setting.ini -----------------------------------------------------------

alpha=$prog/settings/alpha.txt
beta=$prog/settings/beta.txt
hello_ascii="Hello Zelkora "
hello_japanese="日本あい"
hello=$hello_ascii$hello_japanese

# Types "Hello Zelkora " into the emptied input box and pastes the Japanese after it, converts
# with Ctrl+Space, and expects what zelkora-cli to-codes gives through the table $2, beginning
# with the codes $3.
convert_hello() {
    type_input "$hello_ascii"
    paste_input "$hello_japanese" "$hello"
    xdotool key ctrl+space
    expect_output_as_cli "$1" "$hello" "$2" to-codes
    grep -q "^$3" "$work/seen" || fail "$1: the codes do not begin with $3: $(cat "$work/seen")"
}

start_program
step="checking the first start"
expect_title "Zelkora - alpha.txt"
log "ok: first start shows the first table, alpha.txt"

step="converting text to codes with Ctrl+Space"
# No click first: the input box has the keyboard as soon as the window is active.
xdotool type --delay 15 "$hello_ascii"
paste_input "$hello_japanese" "$hello"
xdotool key ctrl+space
expect_output_as_cli "text to codes" "$hello" "$alpha" to-codes
expect_file_text "text to codes through alpha.txt" \
    "48 65 6C 6C 6F 20 5A 65 6C 6B 6F 72 61 20 E5 65 2C 67 42 30 44 30 " "$work/seen"
log "ok: Ctrl+Space turned '$hello' into codes as zelkora-cli does"

step="converting codes to text with Ctrl+Space"
type_input "48656C6C6F20E5652C67"
xdotool key ctrl+space
# The program spaces the codes in the input box before it converts them.
expect_input "48 65 6C 6C 6F 20 E5 65 2C 67"
expect_output_as_cli "codes to text" "48656C6C6F20E5652C67" "$alpha" to-text
expect_file_text "codes to text through alpha.txt" "Hello 日本" "$work/seen"
log "ok: unspaced codes were spaced in the input box and turned into 'Hello 日本'"

step="pressing the button 文字→コード"
# Text that begins with a hexadecimal letter, which only this button takes for text.
type_input "cafe"
click_button 3
expect_output_as_cli "button 文字→コード" "cafe" "$alpha" to-codes
expect_file_text "button 文字→コード" "63 61 66 65 " "$work/seen"
log "ok: the button 文字→コード turned 'cafe' into codes"

step="opening the settings menu with Alt+S"
open_menu alt+s
if [[ -n "$grab" ]]; then
    # The window and the menu hanging from it, which may reach below the window.
    popup=$(popup_windows | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    popup_bottom=$((Y + HEIGHT))
    eval "$(xdotool getwindowgeometry --shell "$window")"
    bottom=$((popup_bottom > Y + HEIGHT ? popup_bottom : Y + HEIGHT))
    sleep 0.3 # the menu is mapped; let it paint
    mkdir -p "$(dirname "$screenshot")"
    "$grab" "$screenshot" "$X" "$Y" "$WIDTH" $((bottom - Y)) >>"$work/zelkora.log" 2>&1 ||
        fail "cannot save the screenshot $screenshot"
    log "saved $screenshot"
fi
xdotool key Escape
wait_for "$kWaitSeconds" menu_closed || fail "Escape left the settings menu open"

step="picking beta.txt in the settings menu with the keyboard"
pick_table_item "$(menu_position beta.txt)"
expect_title "Zelkora - beta.txt"
# The pick is written at once, before any conversion.
wait_for "$kWaitSeconds" test -s "$prog/setting.ini" || fail "no setting.ini after the pick"
expect_ini File=beta.txt
convert_hello "text to codes after the pick" "$beta" '48 82 65 82 '
log "ok: Alt+S picked beta.txt: title, File in setting.ini and codes follow"

step="switching the line-break option on with Alt+O"
choose_from_menu alt+o n
type_input "Hi"
xdotool key Return
xdotool type --delay 15 "ok"
expect_input $'Hi\nok'
xdotool key ctrl+space
expect_output_as_cli "a line break with the option on" $'Hi\r\nok' "$beta" to-codes --line-break
expect_file_text "a line break as beta.txt's \\n" "48 82 69 82 0A 0D 6F 82 6B 82 " "$work/seen"
type_input "48 82 69 82 0A 0D 6F 82 6B 82"
xdotool key ctrl+space
expect_output_as_cli "the line-break token back" "48 82 69 82 0A 0D 6F 82 6B 82" "$beta" \
    to-text --line-break
expect_file_text "two lines in the output box" $'Hi\nok' "$work/seen"
log "ok: with the option on, a line break converts as \\n and back"

step="opening the read-me from the Help menu"
choose_from_menu alt+h r
wait_for "$kWaitSeconds" test -s "$work/opened" || fail "ReadMeを開く opened nothing"
expect_file_text "the file opened" "$prog/ReadMe.txt" "$work/opened"
log "ok: ReadMeを開く opened $prog/ReadMe.txt"

step="moving and sizing the window"
xdotool windowmove --sync "$window" 100 80
xdotool windowsize --sync "$window" 600 400
close_by_menu
# 15 twips to the pixel at 96 dots per inch; without a window manager there is no frame.
expect_ini File=beta.txt Ret=-1 WinState=0 X=1500 Y=1200 W=9000 H=6000
log "ok: closed through the menu; setting.ini holds the table, the option and the placement"

# --- second start: everything as it was left ----------------------------------------------

# The tables that ship with the program join the test's own.
cp "$bin"/settings/* "$prog/settings/"
shipped=$(table_names "$bin/settings" | head -n 1)
[[ -n "$shipped" ]] || fail "no table ships in $bin/settings"

start_program
step="checking the second start"
expect_title "Zelkora - beta.txt"
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$X,$Y ${WIDTH}x$HEIGHT" == "100,80 600x400" ]] ||
    fail "the window is at $X,$Y ${WIDTH}x$HEIGHT, expected 100,80 600x400"
type_input "Hi"
xdotool key Return
xdotool type --delay 15 "ok"
expect_input $'Hi\nok'
xdotool key ctrl+space
expect_output_as_cli "a line break after the restart" $'Hi\r\nok' "$beta" to-codes --line-break
log "ok: restarted with beta.txt, the option on and the window where it was"

step="converting with the shipped table $shipped"
pick_table_item "$(menu_position "$shipped")"
expect_title "Zelkora - $shipped"
convert_hello "text to codes through $shipped" "$prog/settings/$shipped" '48 '
log "ok: the shipped table '$shipped' converts as zelkora-cli does"

step="switching the line-break option off"
choose_from_menu alt+o n

step="ending the program with SIGTERM"
# As the system does at shutdown: the window closes as if the user closed it, and saves.
kill -TERM "$app_pid"
expect_program_ended
expect_ini "File=$shipped" Ret=0 WinState=0 X=1500 Y=1200 W=9000 H=6000
log "ok: SIGTERM closed the window; setting.ini holds '$shipped', the option off and the same placement"

log "PASS"
