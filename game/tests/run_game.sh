#!/bin/bash
# Plays the real game on a private X server with xdotool.
#
#   run_game.sh PROGRAM TOOL PLAYER EDITION MODE [SHOTS]
#
# EDITION is windowed or fullscreen. MODE round: start a round from the main form, play it
# to its win by clicking linkable pairs (learnt from the debug log through PLAYER), answer
# the result box, open the best scores from the main form and close them, find the main
# form again and close the window. MODE keys: during a round P pauses and resumes, time in
# the background drains no life, S opens the background dialog (the third background is
# chosen in it), X asks whether to leave (No goes on, Yes returns to the main form), and
# the main form's exit button ends the program. MODE bench: the start-up time to the first
# presented frame, the CPU use on the main form, in the background and during a round, and
# the resident memory after a round won (the benchmark of bench/game_session.sh). Every
# mode ends with exit code 0 and the log's FINISH line.
# Screenshots of each state go to SHOTS (a temporary folder by default). Exit 77 (skipped)
# without Xvfb or xdotool.
set -u
program=$1
tool=$2
player=$3
edition=$4
mode=$5
shots=${6:-$(mktemp -d)}
name="VexaTessel"
bin=$(dirname "$program")
log="$bin/debug.txt"
mkdir -p "$shots"

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool is not installed"; exit 77; }
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 77; }
trap 'kill $xvfb_pid 2>/dev/null; [ -n "${game_pid:-}" ] && kill -9 $game_pid 2>/dev/null' EXIT
export DISPLAY=":$display"

fail() { echo "FAILED: $*"; echo "---- log"; tail -n 60 "$log"; exit 1; }
wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
    local tries=$(( $1 * 20 )); shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1)); [ $tries -le 0 ] && return 1; sleep 0.05
    done
}
log_has() { grep -aq -- "$1" "$log"; }
count() { grep -ac -- "$1" "$log"; }
more_than() { [ "$(count "$1")" -gt "$2" ]; }  # more_than PATTERN N, counted when polled
shot() { "$tool" shot "$name" "$shots/${edition}_$1.bmp" || fail "no screenshot $1"; }

rm -f "$log"
# The best scores go to a folder of this run, not to the player's own.
scores_home=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; [ -n "${game_pid:-}" ] && kill -9 $game_pid 2>/dev/null; rm -rf "$scores_home"' EXIT
launched=$(date +%s.%N)
XDG_DATA_HOME="$scores_home" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$program" &
game_pid=$!
wait_for 15 "$tool" find "$name" || fail "the window did not appear"
wid=$("$tool" find "$name")
wait_for 15 log_has "First frame presented" || fail "the game did not start"
first_frame=$(date +%s.%N)
"$tool" focus "$name"

# The centre of the view of a dialog's layout lines that carries COMMAND (or ID with
# "id"): the last dialog written with that id.
view_centre() {  # view_centre DIALOG_ID FIELD VALUE
    awk -v dialog="$1" -v field="$2" -v value="$3" '
        /Dialog [0-9]+ / { inside = ($0 ~ "Dialog " dialog " ") ; if (inside) found = "" }
        inside && /view [0-9]+ type/ {
            match($0, /view [0-9]+ type [0-9]+ command -?[0-9]+ at -?[0-9]+,-?[0-9]+--?[0-9]+,-?[0-9]+/)
            split(substr($0, RSTART, RLENGTH), w, /[ ,-]+/)
            # w: view ID type TYPE command CMD at L T R B
            if ((field == "command" && w[6] == value) || (field == "id" && w[2] == value) ||
                (field == "type" && w[4] == value))
                found = int((w[8] + w[10]) / 2) " " int((w[9] + w[11]) / 2)
        }
        END { if (found == "") exit 1; print found }' "$log"
}
# Moves to (x, y) of the window and clicks the left button, held over a few frames (a
# frame of the software renderer may take a tenth of a second).
click_at() {
    xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.12
    xdotool mousedown 1; sleep 0.15; xdotool mouseup 1; sleep 0.12
}
click_view() {  # click_view DIALOG_ID FIELD VALUE
    local at; at=$(view_centre "$@") || fail "no view $2 $3 in dialog $1"
    click_at $at
}
key() { xdotool key --window "$wid" "$1"; }

shot main_form
click_view 32770 command 4100
wait_for 5 log_has "Round started" || fail "the start button did not start a round"
wait_for 5 log_has "Board dealt:" || fail "no deal in the log"

# One pair: select the first tile, then link the second; waits for the link.
play_pair() {
    local links; links=$(count "Linked (")
    local pair; pair=$("$player" "$log" "$edition"); local rc=$?
    [ $rc -eq 0 ] || [ $rc -eq 5 ] || return $rc
    set -- $pair
    # A click the loaded machine lost is given once more: clicking a selected tile again
    # leaves it selected. Look-alike partners (5) link only now and then: tried until they do.
    local tries=2
    [ $rc -eq 5 ] && tries=40
    for _ in $(seq $tries); do
        click_at "$1" "$2"
        click_at "$3" "$4"
        wait_for 2 more_than 'Linked (' $links && return 0
    done
    fail "the pair $pair did not link"
}

# Per cent of one core the game used over SECONDS.
cpu_percent() {
    local ticks=$(getconf CLK_TCK) a b
    a=$(awk '{print $14 + $15}' /proc/$game_pid/stat); sleep "$1"
    b=$(awk '{print $14 + $15}' /proc/$game_pid/stat)
    awk -v d=$((b - a)) -v t="$ticks" -v s="$1" 'BEGIN { printf "%.1f", 100 * d / t / s }'
}
play_to_the_end() {
    pairs=0
    while :; do
        play_pair; rc=$?
        [ $rc -eq 0 ] || break
        pairs=$((pairs + 1))
        [ $pairs -gt 40 ] && fail "the round did not end after $pairs pairs"
    done
    [ $rc -eq 3 ] || fail "the player found no linkable pair (code $rc)"
}

case "$mode" in
bench)
    awk -v a="$launched" -v b="$first_frame" -v e="$edition" 'BEGIN {
        printf "%s start-up to the first frame: %.3f s (polled)\n", e, b - a }'
    grep -a "First frame presented" "$log" | sed "s/^/$edition in the log: /"
    sleep 1
    echo "$edition CPU on the main form: $(cpu_percent 5) % of a core"
    "$tool" unfocus "$name"; sleep 0.5
    echo "$edition CPU in the background: $(cpu_percent 5) % of a core"
    "$tool" focus "$name"; sleep 0.5
    click_view 32770 command 4100
    wait_for 5 log_has "Round started" || fail "the start button did not start a round"
    xdotool mousemove --window "$wid" 300 300
    echo "$edition CPU during a round: $(cpu_percent 5) % of a core"
    play_to_the_end
    wait_for 5 log_has "Dialog 0 " || fail "the result box was not shown"
    click_view 0 id 1
    wait_for 3 log_has "Back to the main form." || fail "OK did not return to the main form"
    grep -a "frames a second" "$log" | tail -n 1 | sed "s/^/$edition: /"
    echo "$edition memory after a round: $(grep -E 'VmRSS|VmHWM' /proc/$game_pid/status | tr -s ' \t' ' ' | tr '\n' ' ')"
    ;;
round)
    pairs=0
    while :; do
        play_pair; rc=$?
        [ $rc -eq 0 ] || break
        pairs=$((pairs + 1))
        # From the sixth pair on, at the first pair of equal pictures (a look-alike pair
        # may not link at once): select one tile while a link's sparks are still running,
        # point at its partner, then keep the picture.
        if [ $pairs -ge 6 ] && [ -z "${shot_taken:-}" ] && pair=$("$player" "$log" "$edition"); then
            shot_taken=1
            set -- $pair
            # Twice, in case the loaded machine lost one: a second click on a selected
            # tile only starts its turn again.
            click_at "$1" "$2"
            click_at "$1" "$2"
            xdotool mousemove --window "$wid" "$3" "$4"; sleep 0.25
            shot round
            click_at "$3" "$4"
            wait_for 3 more_than 'Linked (' $pairs || fail "the shown pair did not link"
            pairs=$((pairs + 1))
        fi
        [ $pairs -gt 40 ] && fail "the round did not end after $pairs pairs"
    done
    [ $rc -eq 3 ] || fail "the player found no linkable pair (code $rc)"
    wait_for 5 log_has "Message box: " || fail "no result box after the last pair"
    wait_for 3 log_has "Dialog 0 " || fail "the result box was not shown"
    sleep 0.3
    shot result_box
    click_view 0 id 1
    wait_for 3 log_has "Back to the main form." || fail "OK did not return to the main form"
    echo "won after $pairs pairs: $(grep -a 'Message box: ' "$log" | tail -n 1 | tr '\n' ' ')"
    # The first win is the first place of an empty table, and the main form shows it.
    log_has "place 1 in the best scores" || fail "the win did not enter the best scores"
    [ -s "$scores_home/vexatessel/scores.dat" ] || fail "no scores file"
    sleep 0.3
    click_view 32770 command 4102
    wait_for 3 log_has "Dialog 32772 " || fail "the scores button did not open the scores"
    sleep 0.3
    shot scores
    click_view 32772 id 10
    wait_for 3 log_has "Best scores closed." || fail "the scores did not close"
    ;;
keys)
    sleep 0.3
    key p
    wait_for 3 log_has "Round paused" || fail "P did not pause"
    sleep 0.3
    shot paused
    key p
    wait_for 3 log_has "Round resumed" || fail "P did not resume"
    # Away from the window for 2 s: the life bar must not lose those seconds.
    life_before=$(grep -a "Round resumed at life" "$log" | tail -n 1 | sed 's/.*life \([0-9.]*\).*/\1/')
    started=$(date +%s.%N)
    "$tool" unfocus "$name"; sleep 2; "$tool" focus "$name"; sleep 0.5
    key p
    wait_for 6 more_than 'Round paused' 1 || fail "P did not pause again"
    ended=$(date +%s.%N)
    life_after=$(grep -a "Round paused at life" "$log" | tail -n 1 | sed 's/.*life \([0-9.]*\).*/\1/')
    awk -v a="$life_before" -v b="$life_after" -v t0="$started" -v t1="$ended" 'BEGIN {
        drained = (a - b) * 160; wall = t1 - t0
        printf "life drained for %.2f s of %.2f s on the clock, 2 s of it away\n", drained, wall
        exit !(drained < wall - 1.5) }' || fail "time in the background drained life"
    key p
    wait_for 3 more_than 'Round resumed' 1 || fail "P did not resume again"

    key s
    wait_for 3 log_has "Dialog 32768 " || fail "S did not open the background dialog"
    sleep 0.2
    # The combo box's own button drops its list below it; the third row is the third
    # background.
    box=$(view_centre 32768 id 4096) || fail "no background combo box"
    drop=$(view_centre 32768 type 14) || drop=$box
    click_at $drop
    set -- $box
    read -r l t r b < <(grep -a "view 4096 type" "$log" | tail -n 1 |
        sed 's/.* at \(-\?[0-9]*\),\(-\?[0-9]*\)-\(-\?[0-9]*\),\(-\?[0-9]*\).*/\1 \2 \3 \4/')
    click_at $(( l + 20 )) $(( b + 1 + 17 * 2 + 8 ))
    sleep 0.3
    shot background_dialog
    click_view 32768 type 1
    wait_for 3 log_has "Background 2 chosen." || fail "the third background was not chosen"
    sleep 0.3
    shot background_changed

    key x
    wait_for 3 log_has "Message box: " || fail "X did not ask"
    wait_for 3 log_has "Dialog 0 " || fail "the exit question was not shown"
    sleep 0.2
    shot exit_question
    click_view 0 id 4
    wait_for 3 log_has "Message box answered 4." || fail "No did not answer"
    log_has "Back to the main form." && fail "No left the round"
    key x
    wait_for 3 more_than 'Message box: ' 1 || fail "X did not ask again"
    sleep 0.3
    click_view 0 id 3
    wait_for 3 log_has "Back to the main form." || fail "Yes did not return to the main form"
    echo "P paused and resumed, S chose a background, X asked and Yes left the round"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

sleep 0.3
shot main_form_again
# The keys run leaves through the main form's exit button, the others close the window.
if [ "$mode" = keys ]; then click_view 32770 command 5; else "$tool" close "$name"; fi
for _ in $(seq 100); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the game did not quit"
wait $game_pid; status=$?
game_pid=
[ $status -eq 0 ] || fail "the game exited with $status"
log_has "FINISH" || fail "no FINISH line in the log"
log_has "Exception caught" && fail "an exception was caught"
echo "exit code 0, FINISH in the log; screenshots in $shots"
