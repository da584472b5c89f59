#!/bin/bash
# Installs the build into a temporary prefix and plays the packager's part:
#
#   run_installed.sh CMAKE BUILD_DIR X_WINDOW_TOOL [SHOTS]
#
# The layout is checked (runtime tree, launchers, desktop entry, icons; no test program,
# demo or build tool; every library of the system found inside the tree), then each
# installed launcher starts its program on a private X server until the main form is up,
# and the window's close button ends it with exit code 0. The second run makes the
# runtime tree read-only first: the log must go to $XDG_STATE_HOME/vexatessel/.
# A screenshot of each main form goes to SHOTS when given. Exit 77 (skipped) without Xvfb.
set -u
cmake=$1
build=$2
tool=$3
shots=${4:-}
name="VexaTessel"

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
work=$(mktemp -d)
prefix="$work/prefix"
tree="$prefix/lib/vexatessel"
cleanup() {
    [ -n "${game_pid:-}" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
    { cat "$work/install.txt"; fail "cmake --install failed"; }

# ---- the layout
for file in bin/vexatessel bin/vexatessel-fullscreen lib/vexatessel/VexaTessel \
            lib/vexatessel/VexaTessel1024; do
    [ -x "$prefix/$file" ] || fail "$file is not an installed program"
done
for file in VexaTessel.kvr icon7.bmp GUI/Mac GUI/BackGround GUI/Mesh/plane.x GUI/Sound \
            DataPack/Vexa/list.txt; do
    [ -e "$tree/$file" ] || fail "the runtime tree has no $file"
done
programs=$(find "$tree" -type f -perm -u+x ! -name '*.so' -printf '%f\n' | sort | tr '\n' ' ')
[ "$programs" = "VexaTessel VexaTessel1024 " ] || fail "programs in the tree: $programs"
[ -z "$(find "$prefix" -name debug.txt)" ] || fail "a debug log was installed"
for program in VexaTessel VexaTessel1024; do
    ldd "$tree/$program" > "$work/ldd.txt" || fail "ldd $program"
    grep -q "not found" "$work/ldd.txt" && { cat "$work/ldd.txt"; fail "$program misses a library"; }
    while read -r lib _ path _; do
        [ "$path" = "$tree/$lib" ] || fail "$program takes $lib from $path, not from its tree"
    done < <(grep -E '^\s*lib(Vexa|Kv|Zeb)' "$work/ldd.txt")
done
desktop="$prefix/share/applications/vexatessel.desktop"
grep -qx 'Name=VexaTessel' "$desktop" || fail "no English name in the desktop entry"
grep -qx 'Name\[zh_CN\]=VexaTessel 连连看' "$desktop" || fail "no Chinese name in the desktop entry"
grep -qx 'Exec=vexatessel' "$desktop" || fail "the desktop entry does not start the launcher"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refused the entry"
fi
for size in 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/vexatessel.png"
    # The PNG signature, then the IHDR chunk's width and height (big-endian).
    header=$(od -An -tx1 -N24 "$icon" 2>/dev/null | tr -d ' \n')
    printf -v wanted '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size"
    [ "$header" = "$wanted" ] || fail "the $size x $size icon is not a $size x $size PNG"
done

# ---- the installed launchers on a private X server
exec 3< <(Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 77; }
export DISPLAY=":$display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_STATE_HOME="$work/home/state"
mkdir -p "$HOME"

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(( $1 * 20 )); shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1)); [ $tries -le 0 ] && return 1; sleep 0.05
    done
}
# run_launcher LAUNCHER LOG [WRAPPER...]: main form up, closed, exit 0, FINISH in LOG.
run_launcher() {
    local launcher=$1 log=$2; shift 2
    (cd "$work" && exec "$@" "$prefix/bin/$launcher") >"$work/out.txt" 2>&1 &
    game_pid=$!
    wait_for 20 "$tool" find "$name" || { cat "$work/out.txt"; fail "$launcher: no window"; }
    wait_for 20 grep -aq "First frame presented" "$log" ||
        { cat "$work/out.txt" "$log"; fail "$launcher: the main form did not appear ($log)"; }
    grep -aq "Dialog 32770 " "$log" || fail "$launcher: the main form is not in the log"
    if [ -n "$shots" ]; then
        mkdir -p "$shots"; sleep 0.5
        "$tool" shot "$name" "$shots/installed_$launcher.bmp" || fail "$launcher: no screenshot"
    fi
    "$tool" close "$name"
    wait_for 15 eval '! kill -0 $game_pid' || fail "$launcher: the game did not quit on close"
    wait "$game_pid"; local status=$?
    game_pid=
    [ $status -eq 0 ] || { cat "$work/out.txt"; tail -n 30 "$log"; fail "$launcher exited with $status"; }
    grep -aq "FINISH" "$log" || fail "$launcher: no FINISH line in $log"
    echo "$launcher: main form shown, closed, exit code 0, log in $log"
}

run_launcher vexatessel "$tree/debug.txt"

# A read-only tree: a read-only bind mount where we may make one (root writes through
# permissions), else the permissions.
rm -f "$tree/debug.txt"
wrapper=()
if [ "$(id -u)" -ne 0 ]; then
    chmod -R a-w "$tree"
elif unshare -m --propagation private true 2>/dev/null; then
    wrapper=(unshare -m --propagation private sh -c
             'mount --bind -o ro "$0" "$0" && exec "$@"' "$tree")
else
    echo "no way to make the tree read-only for root here: the fallback is not checked"
    exit 0
fi
state_log="$XDG_STATE_HOME/vexatessel/debug.txt"
run_launcher vexatessel-fullscreen "$state_log" "${wrapper[@]}"
[ -e "$tree/debug.txt" ] && fail "a log was written into the read-only tree"
grep -aq "the program's folder cannot be written" "$state_log" ||
    fail "the state folder's log does not say why it is there"
echo "installed into $prefix: layout checked, both launchers started and closed"
