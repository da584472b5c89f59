#!/usr/bin/env bash
# The soak run: one process of the real game on a private X server plays ROUNDS rounds
# with the round driver, the difficulty going easy, normal, hard, extreme in turn, while
# the platform loses the device at random frames (VEXA_LOSE_DEVICE) and the window is now
# and then resized, unmapped and mapped again (what a window manager does to minimise it;
# Xvfb has none) or sent to the background. It is not part of the test run.
#
#   scripts/soak.sh [ROUNDS] [LOSSES]      20 rounds and at most 100 device losses by default
#
# VEXA_BUILD_DIR picks the build (build/ by default; build-asan for the sanitizer build,
# whose leak report at exit is read too). The driver's helpers (round_player,
# x_window_tool) come from that build, or from build/ when it has no tests. SOAK_FPS is
# the frame rate assumed when spreading the losses over the run (60, the display's rate,
# at which both builds present about 2,000 frames a round), SOAK_SEED the seed of the losses and disturbances, SOAK_MINUTES a time
# after which no new round starts (the report then says how many were played), SOAK_OUT
# the folder of the log, the report, the memory samples and the screenshots (a new
# temporary folder by default).
#
# The report: rounds won and lost, device losses made and survived (the log's "Objects
# successfully restored." lines), disturbances, crashes, sanitizer reports, the resident
# memory after the main form first showed and at the end, and the game's CPU use. The exit
# code is 0 when the process survived every round and quit cleanly with nothing reported.
set -u
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds=${1:-20}
losses=${2:-100}
build="${VEXA_BUILD_DIR:-$root/build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
fps=${SOAK_FPS:-60}
seed=${SOAK_SEED:-$(date +%s)}
minutes=${SOAK_MINUTES:-0}
out=${SOAK_OUT:-$(mktemp -d /tmp/vexa_soak_XXXXXX)}
mkdir -p "$out"
RANDOM=$seed

program="$build/bin/VexaTessel"
helper() { [ -x "$build/$1" ] && echo "$build/$1" || echo "$root/build/$1"; }
player=$(helper bin/round_player)
tool=$(helper bin/x_window_tool)
for needed in "$program" "$player" "$tool"; do
    [ -x "$needed" ] || { echo "missing $needed: build first (scripts/setup.sh)"; exit 2; }
done
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 2; }
command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 2; }

name="VexaTessel"
log="$build/bin/debug.txt"
# The result box's text of a round lost on time, as the log holds it (code page 936).
loss_text=$(printf '任务失败' | iconv -f UTF-8 -t GBK)
report="$out/report.txt"
memory="$out/memory.csv"
: > "$report"
say() { echo "$*" | tee -a "$report"; }

exec 3< <(Xvfb -displayfd 4 -screen 0 1280x1024x24 -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 2; }
trap 'kill $xvfb_pid 2>/dev/null; [ -n "${game_pid:-}" ] && kill -9 $game_pid 2>/dev/null' EXIT
export DISPLAY=":$display"

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(( $1 * 20 )); shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1)); [ $tries -le 0 ] && return 1; sleep 0.05
    done
}
count() { grep -ac -- "$1" "$log"; }
more_than() { [ "$(count "$1")" -gt "$2" ]; }
alive() { kill -0 "$game_pid" 2>/dev/null; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$game_pid/status" 2>/dev/null; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat" 2>/dev/null; }

# The rectangle "l t r b" of the last layout of DIALOG's view with FIELD (id, type or
# command) VALUE; its centre with view_centre.
view_rect() {
    awk -v dialog="$1" -v field="$2" -v value="$3" '
        /Dialog [0-9]+ / { inside = ($0 ~ "Dialog " dialog " "); if (inside) found = "" }
        inside && /view [0-9]+ type/ {
            match($0, /view [0-9]+ type [0-9]+ command -?[0-9]+ at -?[0-9]+,-?[0-9]+--?[0-9]+,-?[0-9]+/)
            split(substr($0, RSTART, RLENGTH), w, /[ ,-]+/)
            if ((field == "command" && w[6] == value) || (field == "id" && w[2] == value) ||
                (field == "type" && w[4] == value))
                found = w[8] " " w[9] " " w[10] " " w[11]
        }
        END { if (found == "") exit 1; print found }' "$log"
}
view_centre() {
    local l t r b
    read -r l t r b < <(view_rect "$@") || return 1
    echo $(( (l + r) / 2 )) $(( (t + b) / 2 ))
}
click_at() {  # held over a few frames: a frame of the software renderer may be slow
    xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.12
    xdotool mousedown 1; sleep 0.15; xdotool mouseup 1; sleep 0.12
}
click_view() { local at; at=$(view_centre "$@") || return 1; click_at $at; }
shot() { "$tool" shot "$name" "$out/$1.bmp" >/dev/null 2>&1; }

crashed=0
finish() {  # finish REASON: the report, then the exit code
    local end_rss; end_rss=$(rss_kb)
    local ticks; ticks=$(cpu_ticks)
    if [ -n "$ticks" ]; then
        cpu=$(awk -v t="$ticks" -v hz="$(getconf CLK_TCK)" -v s="$SECONDS" \
            'BEGIN { printf "%.0f %% of a core over %d s", 100 * t / hz / s, s }')
    fi
    local killed=0
    if [ "$1" = done ]; then
        "$tool" close "$name"
        wait_for 60 eval '! alive' || { say "the game did not quit on close"; killed=1; }
    elif alive; then
        shot failure
        say "stopping the game: $1"
        kill -TERM "$game_pid"
        wait_for 20 eval '! alive' || killed=1
    fi
    [ "$killed" -eq 1 ] && kill -9 "$game_pid"
    wait "$game_pid"; status=$?
    game_pid=
    [ "$killed" -eq 0 ] && [ "$status" -ge 128 ] && crashed=1
    local made survived sanitizer
    made=$(grep -c "device lost on purpose" "$out/stderr.txt")
    survived=$(count "Objects successfully restored.")
    sanitizer=$(grep -cE "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$out/stderr.txt")
    say "---- soak: $1 after $played of $rounds rounds in $SECONDS s (seed $seed, $build)"
    say "rounds won: $won, lost on time: $lost_rounds"
    say "device losses made: $made, survived (objects restored): $survived"
    # A resize in the frame after a loss resets the device itself (its own objects' restore),
    # so that loss leaves no restore line.
    [ "$made" -gt "$survived" ] && say "losses without a restore line: $((made - survived))" \
        "(reset by a resize, of $resizes resizes, when the process went on)"
    say "disturbances: $resizes resizes, $unmaps unmaps, $backgrounds trips to the background"
    [ "$missed_choices" -gt 0 ] &&
        say "difficulty choices the game did not see (rounds played at the last one): $missed_choices"
    say "exit code: $status, crashes: $crashed, FINISH line: $(count FINISH)," \
        "exceptions caught: $(count 'Exception caught')"
    say "sanitizer reports: $sanitizer"
    say "resident memory: $start_rss kB after the main form, ${end_rss:-?} kB at the end," \
        "highest $(sort -t, -k2 -n "$memory" | tail -n 1 | cut -d, -f2) kB"
    say "CPU of the game: ${cpu:-?}"
    local core; core=$(ls "$out"/core* 2>/dev/null | head -n 1)
    if [ -n "$core" ] && command -v gdb >/dev/null; then
        gdb -batch -ex "thread apply all bt 30" "$program" "$core" > "$out/backtrace.txt" 2>&1
        say "a core dump: the backtrace is in $out/backtrace.txt"
    fi
    say "log, stderr, memory samples and screenshots in $out"
    cp "$log" "$out/debug.txt" 2>/dev/null
    [ "$1" = done ] && [ "$status" -eq 0 ] && [ "$sanitizer" -eq 0 ] && [ "$crashed" -eq 0 ] &&
        [ "$(count FINISH)" -gt 0 ] && [ "$(count 'Exception caught')" -eq 0 ] &&
        [ $((made - survived)) -le "$resizes" ]
    exit $?
}

# The losses are spread over the frames the run is expected to take, with room: about
# one and a half times the limit would fall in the run, so the limit is reached late.
frames=$(( rounds * 35 * fps ))
one_in=0  # no loss at all with LOSSES 0
[ "$losses" -gt 0 ] && one_in=$(( frames * 2 / (3 * losses) ))
[ "$losses" -gt 0 ] && [ "$one_in" -lt 1 ] && one_in=1
rm -f "$log" "$out"/core*
# A crash leaves a core in the output folder (kernel.core_pattern "core"), read by gdb.
ulimit -c unlimited 2>/dev/null
cd "$out"
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy VEXA_LOSE_DEVICE="$( [ "$one_in" -gt 0 ] && echo "$one_in:$losses")" \
    VEXA_LOSE_DEVICE_SEED="$seed" HOME="$out/home" XDG_DATA_HOME="$out/home/data" \
    XDG_STATE_HOME="$out/home/state" LSAN_OPTIONS="suppressions=$root/cmake/lsan.supp" \
    "$program" 2>"$out/stderr.txt" &
game_pid=$!
played=0 won=0 lost_rounds=0 resizes=0 unmaps=0 backgrounds=0 missed_choices=0 start_rss=?
wait_for 30 "$tool" find "$name" || finish "no window"
wid=$("$tool" find "$name")
wait_for 60 grep -aq "First frame presented" "$log" || finish "no first frame"
"$tool" focus "$name"
sleep 1
start_rss=$(rss_kb)
echo "round,rss_kb,seconds" > "$memory"
echo "0,$start_rss,$SECONDS" >> "$memory"
echo "soak: $rounds rounds, a device loss at one frame in $one_in (at most $losses), seed $seed"

# Chooses difficulty D in the main form's combo box: its button drops the list below it.
choose_difficulty() {
    local l t r b
    read -r l t r b < <(view_rect 32770 id 4097) || return 1
    click_view 32770 type 14 || return 1
    sleep 0.3
    click_at $(( l + 20 )) $(( b + 1 + 17 * $1 + 8 ))
    sleep 0.2
}

# Something a player's desktop does to the window now and then, between two pairs; the
# window comes back to its size and front before the next click.
disturb() {
    case $(( RANDOM % 3 )) in
    0)  xdotool windowsize "$wid" $(( 600 + RANDOM % 500 )) $(( 450 + RANDOM % 400 ))
        sleep 0.8
        xdotool windowsize "$wid" 900 675
        resizes=$((resizes + 1)) ;;
    1)  xdotool windowunmap "$wid"; sleep 1; xdotool windowmap "$wid"
        unmaps=$((unmaps + 1)) ;;
    2)  "$tool" unfocus "$name"; sleep 1
        backgrounds=$((backgrounds + 1)) ;;
    esac
    sleep 0.5
    "$tool" focus "$name"
    sleep 0.5
}

for round in $(seq 1 "$rounds"); do
    alive || finish "crashed before round $round"
    if [ "$minutes" -gt 0 ] && [ "$SECONDS" -ge $(( minutes * 60 )) ]; then
        say "time is up ($minutes minutes): no more rounds"
        break
    fi
    difficulty=$(( (round - 1) % 4 ))
    started=$(count "Round started")
    boxes=$(count "Message box: ")
    # A frame that rebuilds a lost device may take a second or more in the sanitizer
    # build; a click shorter than that is never polled, so the choice is made again.
    for _ in 1 2 3 4; do
        choose_difficulty $difficulty || finish "no difficulty box on the main form"
        click_view 32770 command 4100 || finish "no start button"
        wait_for 8 more_than "Round started" "$started" && break
    done
    more_than "Round started" "$started" || finish "round $round did not start"
    # A click lost in a slow frame (a restore under the sanitizers takes a second or more)
    # leaves the list closed: the round is played at the difficulty it started with.
    if ! grep -a "Round started" "$log" | tail -n 1 | grep -q "difficulty $difficulty\."; then
        missed_choices=$((missed_choices + 1))
        difficulty=$(grep -a "Round started" "$log" | tail -n 1 | sed 's/.*difficulty \([0-9]\).*/\1/')
    fi
    pairs=0 stuck=0 partner_tries=0 outcome=
    while :; do
        alive || finish "crashed during round $round"
        more_than "Message box: " "$boxes" && break  # time ran out, or the last link
        links=$(count "Linked (")
        pair=$("$player" "$log" windowed); rc=$?
        case $rc in
        0|5)  # 5: look-alike partners, which link only now and then: tried until they do
            set -- $pair
            click_at "$1" "$2"; click_at "$3" "$4"
            if wait_for $([ $rc -eq 0 ] && echo 3 || echo 1) more_than "Linked (" "$links"; then
                pairs=$((pairs + 1)) stuck=0 partner_tries=0
                [ $(( RANDOM % 12 )) -eq 0 ] && disturb
                [ "$round" -eq 1 ] && [ "$pairs" -eq 5 ] && shot "round1_pairs5"
            elif [ $rc -eq 5 ]; then
                partner_tries=$((partner_tries + 1))
                [ "$partner_tries" -gt 40 ] && finish "round $round: a partner pair never linked"
            else
                stuck=$((stuck + 1))
            fi ;;
        3)  break ;;
        4)  stuck=$((stuck + 1)); sleep 0.5 ;;  # the game reshuffles a board without a link
        *)  finish "the round driver could not read the log (code $rc)" ;;
        esac
        [ "$stuck" -gt 10 ] && finish "round $round is stuck after $pairs pairs"
    done
    wait_for 10 more_than "Message box: " "$boxes" || finish "no result box in round $round"
    # The box tells: a cleared board can show it before the driver sees the board empty.
    if grep -a "Message box: " "$log" | tail -n 1 | grep -aq "$loss_text"; then
        outcome=lost
    else
        outcome=won
    fi
    wait_for 5 grep -aq "Dialog 0 " "$log" || finish "the result box was not shown"
    sleep 0.3
    [ $(( round % 10 )) -eq 1 ] && shot "round${round}_result"
    back=$(count "Back to the main form.")
    for _ in 1 2 3; do
        click_view 0 id 1
        wait_for 3 more_than "Back to the main form." "$back" && break
    done
    more_than "Back to the main form." "$back" || finish "OK did not end round $round"
    played=$round
    if [ "$outcome" = won ]; then won=$((won + 1)); else lost_rounds=$((lost_rounds + 1)); fi
    sleep 0.3
    echo "$round,$(rss_kb),$SECONDS" >> "$memory"
    echo "round $round (difficulty $difficulty): $outcome after $pairs pairs," \
         "$(grep -c "device lost on purpose" "$out/stderr.txt") losses so far, rss $(rss_kb) kB"
done
shot main_form_end
finish done
