# Sourced by the demo tests: a private X server, the demo started on it, and the helpers
# the tests poll and close it with. Expects demo, tool, name and log to be set. Exits 77
# (skipped) when no X server can be started.

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 77; }
trap 'kill $xvfb_pid 2>/dev/null; [ -n "${demo_pid:-}" ] && kill -9 $demo_pid 2>/dev/null' EXIT
export DISPLAY=":$display"

rm -f "$log"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$demo" &
demo_pid=$!

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(( $1 * 10 )); shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1)); [ $tries -le 0 ] && return 1; sleep 0.1
    done
}
log_has() { grep -q -- "$1" "$log"; }

# Closes the window as a window manager's close button does and expects a clean exit.
close_demo() {
    "$tool" close "$name"
    for _ in $(seq 100); do kill -0 $demo_pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $demo_pid 2>/dev/null; then echo "the demo did not quit on close"; exit 1; fi
    wait $demo_pid; local status=$?
    demo_pid=
    [ $status -eq 0 ] || { echo "the demo exited with $status"; cat "$log"; exit 1; }
}
