# What the window's end-to-end scripts share, sourced by them: a virtual X server of the
# script's own, a copy of the program in a temporary folder (so its settings/ and setting.ini
# are the test's), keys and clicks through xdotool, and the boxes read back through the
# clipboard and held against zelkora-cli on the same table file.
#
# Before sourcing, a script sets test_name (used in its messages) and bin (the program's folder:
# zelkora, zelkora-cli, ReadMe.txt and settings/). It may define stop_extra, which the cleanup
# calls before the program and the X server are stopped.

# Every wait is bounded, so a window that never shows or a key that is lost fails the test
# instead of hanging it.
readonly kStartSeconds=30
readonly kWaitSeconds=10

cli=$bin/zelkora-cli
work=""
xvfb_pid=""
app_pid=""
window=""
step="starting"

log() { echo "$test_name: $*"; }

show_logs() {
    local file
    [[ -n "$work" ]] || return 0
    for file in "$work"/*.log; do
        if [[ -s "$file" ]]; then
            echo "--- ${file##*/}" >&2
            tail -n 40 "$file" >&2
        fi
    done
}

fail() {
    echo "$test_name: FAIL while $step: $*" >&2
    show_logs
    exit 1
}

stop_pid() {
    if [[ -n "$1" ]] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}

cleanup() {
    local status=$?
    trap - EXIT
    if declare -F stop_extra >/dev/null; then
        stop_extra
    fi
    stop_pid "$app_pid"
    stop_pid "$xvfb_pid"
    [[ -n "$work" ]] && rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Runs "$@" every tenth of a second until it succeeds or the seconds run out.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    until "$@"; do
        ((--tries > 0)) || return 1
        sleep 0.1
    done
}

need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            fail "$tool is missing; 'bash setup.sh test' installs it (see packages.txt)"
    done
}

# The temporary folder, and in it the program's copy in prog/.
make_work_folder() {
    local file
    for file in "$bin/zelkora" "$cli"; do
        [[ -x "$file" ]] || fail "$file is not built"
    done
    [[ -f "$bin/ReadMe.txt" ]] || fail "$bin/ReadMe.txt is missing beside the program"
    work=$(mktemp -d "${TMPDIR:-/tmp}/zelkora-$test_name.XXXXXX")
    prog=$work/prog
    mkdir -p "$prog/settings" "$work/run" "$work/fakebin"
    chmod 700 "$work/run"
    cp "$bin/zelkora" "$prog/"
    cp "$bin/ReadMe.txt" "$prog/"
    # The program is started from its real path, which is what it derives its folder from.
    prog=$(cd "$prog" && pwd -P)
}

# A table of UTF-8 with CR LF line ends: every letter, the space, the line-break token and the
# given "code character" lines, with the letters' codes moved by letter_base.
write_table() {
    local file=$1 letter_base=$2 break_code=$3
    shift 3
    {
        printf '// %s: test table\r\n' "${file##*/}"
        local c
        for c in {A..Z} {a..z}; do
            printf '%X %s\r\n' $(($(printf '%d' "'$c") + letter_base)) "$c"
        done
        printf '20  \r\n%s \\n\r\n' "$break_code"
        printf '%s\r\n' "$@"
    } >"$file"
}

# --- the X server --------------------------------------------------------------------------

start_x_server() {
    step="starting Xvfb"
    # The server takes the first free display and names it on the descriptor; only clients that
    # hold the cookie may connect. It must not reset when its last client leaves: a client
    # connecting during the reset (the program, just after the check below) would be refused.
    local cookie
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    xauth -q -f "$work/server.auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
    Xvfb -displayfd 3 -nolisten tcp -noreset -auth "$work/server.auth" -screen 0 1024x768x24 \
        -dpi 96 \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for "$kStartSeconds" display_named || fail "Xvfb named no display"
    display=:$(tr -dc 0-9 <"$work/display")
    export DISPLAY=$display XAUTHORITY=$work/client.auth
    xauth -q -f "$XAUTHORITY" add "$display" MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
    wait_for "$kWaitSeconds" xdotool getdisplaygeometry >/dev/null 2>&1 ||
        fail "cannot connect to Xvfb on $display"
    log "Xvfb on $display"
}

display_named() {
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended at start"
    [[ -s "$work/display" ]]
}

# --- driving the window --------------------------------------------------------------------

# The program as a desktop session would start it, minus what could reach outside the test:
# another display, scaling, the real opener, and an input method unless the caller names one
# in the environment it passes ("QT_IM_MODULE=ibus").
start_program() {
    step="starting the program"
    (cd "$prog" &&
        exec env -u WAYLAND_DISPLAY -u QT_IM_MODULE -u XMODIFIERS -u QT_SCALE_FACTOR \
            -u QT_SCREEN_SCALE_FACTORS -u QT_ENABLE_HIGHDPI_SCALING -u QT_FONT_DPI \
            QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run" PATH="$work/fakebin:$PATH" "$@" \
            "$prog/zelkora" >>"$work/zelkora.log" 2>&1) &
    app_pid=$!
    wait_for "$kStartSeconds" window_shown ||
        fail "no window titled 'Zelkora - ...' within ${kStartSeconds}s"
    # There is no window manager: the window gets the keyboard only when given it.
    xdotool windowfocus --sync "$window"
}

window_shown() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended at start"
    window=$(xdotool search --onlyvisible --name '^Zelkora - ' 2>/dev/null | head -n 1)
    [[ -n "$window" ]]
}

# Waits for the program to end by itself and checks that it ended well.
expect_program_ended() {
    local tries=$((kWaitSeconds * 10))
    while kill -0 "$app_pid" 2>/dev/null; do
        ((--tries > 0)) || fail "the program is still running ${kWaitSeconds}s later"
        sleep 0.1
    done
    local status=0
    wait "$app_pid" || status=$?
    app_pid=""
    ((status == 0)) || fail "the program ended with status $status"
}

# Clicks a point of the window, given in fractions (percent) of its width and height.
click_at() {
    # shellcheck disable=SC2034 # all six are set by the eval; only the size is used
    local x_percent=$1 y_percent=$2 WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH * x_percent / 100)) \
        $((HEIGHT * y_percent / 100)) click 1
}

# The input box fills the upper half right of the buttons, the output box the lower half.
click_input() { click_at 60 33; }
click_output() { click_at 60 83; }

# Clicks button n (0 変換 ... 3 文字→コード). The buttons are 33 pixels apart under the menu
# bar, which takes what the window has over its design client height of 257 pixels.
click_button() {
    # shellcheck disable=SC2034 # all six are set by the eval; only the height is used
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" 40 $((HEIGHT - 257 + $1 * 32 + 16)) click 1
}

clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }

clipboard_is() { [[ "$(clipboard)" == "$1" ]]; }

set_clipboard() {
    printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1
    wait_for "$kWaitSeconds" clipboard_is "$1" || fail "cannot put text into the clipboard"
}

clipboard_changed() { [[ "$(clipboard)" != "$1" ]]; }

# Selects all of a box and copies it; the file gets the text exactly as the clipboard holds it.
read_box() {
    local which=$1 file=$2 sentinel="nothing copied $RANDOM$RANDOM"
    set_clipboard "$sentinel"
    "click_$which"
    xdotool key ctrl+a ctrl+c
    wait_for "$kWaitSeconds" clipboard_changed "$sentinel" ||
        fail "the $which box copied nothing to the clipboard"
    clipboard >"$file"
}

# Replaces the input with typed ASCII. Text outside ASCII is pasted instead (paste_input):
# xdotool types a character missing from the keymap by remapping a key for a moment, and a
# program that is slow to read the new keymap gets the key's old meaning.
type_input() {
    click_input
    xdotool key ctrl+a BackSpace
    xdotool type --delay 15 "$1"
}

# Pastes text at the cursor of the input box, then reads the box back until it holds all of
# `expected`: until the program has fetched the paste, the clipboard must not change.
paste_input() {
    local text=$1 expected=$2
    [[ "$expected" != "$text" ]] || fail "paste_input needs typed text before the paste"
    set_clipboard "$text"
    xdotool key ctrl+v ctrl+a ctrl+c
    wait_for "$kWaitSeconds" clipboard_is "$expected" ||
        fail "after the paste the input box holds '$(clipboard)', expected '$expected'"
}

expect_input() {
    read_box input "$work/seen"
    expect_file_text "input box" "$1" "$work/seen"
}

# The output box must hold what zelkora-cli --raw gives for the same input and table: the
# conversion of exactly that text. The clipboard carries line ends as LF, so the command line's
# CR LF is compared as LF.
expect_output_as_cli() {
    local what=$1 input=$2 table=$3
    shift 3
    printf '%s' "$input" | "$cli" "$@" --raw --table "$table" | sed 's/\r$//' >"$work/expected" ||
        fail "zelkora-cli $* failed"
    read_box output "$work/seen"
    cmp -s "$work/expected" "$work/seen" ||
        fail "$what: output box holds '$(cat "$work/seen")', zelkora-cli $* gives '$(cat "$work/expected")'"
}

expect_file_text() {
    local what=$1 expected=$2 file=$3
    [[ "$(cat "$file")" == "$expected" ]] || fail "$what: '$(cat "$file")', expected '$expected'"
}

ini_value() {
    sed -n "s/^$1=\(.*\)$/\1/p" "$prog/setting.ini" | tr -d '\r' | head -n 1
}

expect_ini() {
    local key
    grep -q '^\[Zelkora\]' "$prog/setting.ini" || fail "setting.ini has no [Zelkora] section"
    while (($#)); do
        key=${1%%=*}
        [[ "$(ini_value "$key")" == "${1#*=}" ]] ||
            fail "setting.ini holds $key='$(ini_value "$key")', expected '${1#*=}'"
        shift
    done
}
