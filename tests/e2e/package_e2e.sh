#!/usr/bin/env bash
# The Debian package as a user gets it: made with cpack from the build folder, its file list
# and Depends checked, extracted with dpkg-deb into a temporary root (not installed), and its
# zelkora-cli run there with a home folder of the test's own. The first run must give the user
# a copy of the installed tables and write nothing beside the executables.
#
# usage: package_e2e.sh BUILD_DIR VERSION
# Exits 77 (skipped) where cpack or dpkg-deb is missing.
set -euo pipefail

if (($# != 2)); then
    echo "usage: package_e2e.sh BUILD_DIR VERSION" >&2
    exit 2
fi
build=$1
version=$2

for tool in cpack dpkg-deb; do
    if ! command -v "$tool" >/dev/null; then
        echo "package_e2e: SKIPPED: $tool is missing (dpkg-dev and cmake install it)"
        exit 77
    fi
done

fail() {
    echo "package_e2e: FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The real path: the program finds its tables from its own real path, and --paths prints it.
work=$(realpath "$work")

# --- the package ----------------------------------------------------------------------------

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(tail -n 20 "$work/cpack.log")"
deb=$work/out/zelkora_${version}_amd64.deb
[[ -f "$deb" ]] || fail "no $deb; cpack made: $(ls "$work/out")"

# Each line: mode, owner, size, date, time, then the name, which may hold spaces.
dpkg-deb -c "$deb" | sed -E 's|^([^ ]+ +){5}\./|/|' >"$work/files"
for file in /usr/bin/zelkora /usr/bin/zelkora-cli \
    "/usr/share/zelkora/settings/CP932 Windows-31J.txt" /usr/share/zelkora/settings/EUC-JP.txt \
    /usr/share/applications/org.example.zelkora.desktop \
    /usr/share/icons/hicolor/scalable/apps/zelkora.svg \
    /usr/share/metainfo/org.example.zelkora.metainfo.xml \
    /usr/share/man/man1/zelkora.1.gz /usr/share/man/man1/zelkora-cli.1.gz \
    /usr/share/bash-completion/completions/zelkora-cli \
    /usr/share/doc/zelkora/ReadMe.txt /usr/share/doc/zelkora/copyright; do
    grep -qxF "$file" "$work/files" || fail "the package lacks $file"
done
# Everything lies under /usr: nothing in a build folder's layout, nothing in /usr/local.
! grep -v -e '^/$' -e '^/usr/' "$work/files" || fail "files outside /usr"

depends=$(dpkg-deb -f "$deb" Depends)
# The libraries the programs link, and xdg-open for the Help menu.
for package in libc6 'libstdc\+\+6' 'libicu[0-9]+' libqt6widgets6 xdg-utils; do
    [[ "$depends" =~ (^|, )$package ]] || fail "Depends lacks $package: $depends"
done

# --- the extracted program ----------------------------------------------------------------

root=$work/root
home=$work/home
mkdir -p "$home"
dpkg-deb -x "$deb" "$root"
usr=$root/usr
cli=$usr/bin/zelkora-cli
# Debugging sections make the executables several times larger; the package has none.
if readelf -S "$cli" | grep -q debug_info; then
    fail "zelkora-cli is not stripped"
fi
# The metainfo and the man pages are checked with the tools that read them, where installed.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$usr/share/metainfo/org.example.zelkora.metainfo.xml" \
        >"$work/appstream.log" 2>&1 || fail "appstreamcli: $(cat "$work/appstream.log")"
fi
if command -v groff >/dev/null; then
    for page in "$usr"/share/man/man1/*.1.gz; do
        warnings=$(zcat "$page" | groff -ww -man -Tutf8 -z 2>&1)
        [[ -z "$warnings" ]] || fail "groff on ${page##*/}: $warnings"
    done
fi
find "$usr" | sort >"$work/before"

# A user with no XDG variables, as after a plain login.
user() { env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" "$@"; }

[[ "$(user "$cli" --version)" == "zelkora-cli $version" ]] || fail "--version"
# The first table in the user's folder, a copy of the installed one, is Windows-31J: あ gives
# its bytes in file order, 82 A0.
[[ "$(printf 'あA' | user "$cli" to-codes)" == "82 A0 41 " ]] ||
    fail "to-codes with the default table: $(printf 'あA' | user "$cli" to-codes 2>&1)"
[[ "$(printf 'A4 A2' | user "$cli" to-text -t "$usr/share/zelkora/settings/EUC-JP.txt")" == あ ]] ||
    fail "to-text with an installed table"

expected_paths=$(printf '%s\t%s\n' layout installed program "$usr/bin" \
    settings "$home/.config/zelkora" tables "$home/.local/share/zelkora/settings")
paths=$(user "$cli" --paths) || fail "--paths failed"
[[ "$paths" == "$expected_paths" ]] || fail "--paths printed:
$paths
expected:
$expected_paths"

# The completion finds the user's tables through --paths, and hands a name with a space whole.
completed=$(user bash -c 'cd "$HOME" && source "$1"; COMP_WORDS=("$2" to-codes -t CP); COMP_CWORD=3
    _zelkora_cli; printf "%s\n" "${COMPREPLY[@]}"' - \
    "$usr/share/bash-completion/completions/zelkora-cli" "$cli")
[[ "$completed" == "CP932 Windows-31J.txt" ]] || fail "completion after -t CP gave: $completed"

diff -r "$usr/share/zelkora/settings" "$home/.local/share/zelkora/settings" >&2 ||
    fail "the user's tables are not a copy of the installed ones"
# The window saves setting.ini there, into a folder it does not make itself.
[[ -d "$home/.config/zelkora" ]] || fail "no folder for setting.ini"
find "$usr" | sort >"$work/after"
diff "$work/before" "$work/after" >&2 || fail "the program wrote beside the executables"
echo "package_e2e: $(basename "$deb") checked"
