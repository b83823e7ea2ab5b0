#!/usr/bin/env bash
# Drives the fixture program with every command of the test driver and checks what the fixture
# reports back: the proof that the driver works before any real scenario relies on it.
#   driver_test.sh WINE_RUN TARNDRIVER_EXE DRIVERFIXTURE_EXE
set -euo pipefail

wine_run=$1
driver=$2
fixture=$3
window="Driver Fixture"
fixture_pid=

# Ids of the fixture's controls.
name=1001 agree=1102 fruits=1103 colours=1104 locked=1105 unlock_later=1106 ask=1107
notice=1108 secret=1109 status=1110 page_label=1120 next_page=1121

# Every Wine process of the test must share one display, which `wine-run --prepare` starts.
prefix="$(dirname "$wine_run")/wineprefix"
if [ -z "${DISPLAY:-}" ] && ! { [ -f "$prefix.xvfb-pid" ] && kill -0 "$(cat "$prefix.xvfb-pid")"; }
then
  echo "driver_test: no display; run '$wine_run --prepare' first" >&2
  exit 1
fi

drive() { "$wine_run" "$driver" "$@" </dev/null; }

cleanup() {
  if [ -n "$fixture_pid" ] && kill -0 "$fixture_pid" 2>/dev/null; then
    kill "$fixture_pid" 2>/dev/null || true
    sleep 1
    kill -9 "$fixture_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect STATUS DESCRIPTION ARGS...: the driver must end with exactly this status.
expect() {
  local want=$1 what=$2 got=0
  shift 2
  drive "$@" >/dev/null || got=$?
  [ "$got" -eq "$want" ] || fail "$what: exit status $got, expected $want (tarndriver $*)"
}

# expect_refused REASON DESCRIPTION ARGS...: the driver must fail (status 1) and say REASON.
expect_refused() {
  local reason=$1 what=$2 err got=0
  shift 2
  err=$(drive "$@" 2>&1 >/dev/null) || got=$?
  [ "$got" -eq 1 ] || fail "$what: exit status $got, expected 1 (tarndriver $*)"
  [[ "$err" == *"$reason"* ]] || fail "$what: said '$err', expected '$reason'"
}

# expect_output TEXT DESCRIPTION ARGS...: the driver must succeed and print exactly TEXT.
expect_output() {
  local want=$1 what=$2 out got=0
  shift 2
  out=$(drive "$@") || got=$?
  [ "$got" -eq 0 ] || fail "$what: exit status $got (tarndriver $*)"
  [ "$out" = "$want" ] || fail "$what: printed '$out', expected '$want'"
}

status_is() { expect_output "$1" "$2" text "$window" $status; }

# --- command line ----------------------------------------------------------
expect 2 "no arguments"
expect 2 "no command" --timeout 1
expect 0 "help" --help
expect 2 "unknown command" frobnicate "$window"
expect 2 "unknown option" --sideways wait "$window"
expect 2 "bad time-out" --timeout soon wait "$window"
expect 2 "missing argument" click "$window"
expect 2 "unknown state" is "$window" $agree shiny
expect 2 "unknown answer" msgbox "$window" perhaps
expect 1 "a window that never comes" --timeout 1 wait "No Such Window"
expect 0 "waiting for a window that is not there to go" --timeout 1 wait-gone "No Such Window"

# --- windows and texts -----------------------------------------------------
"$wine_run" "$fixture" </dev/null >/dev/null 2>&1 &
fixture_pid=$!
expect 0 "the fixture's window appears" --timeout 60 wait "$window"
expect 0 "a caption found by part of it" --partial wait "Fixture"
expect 1 "a part of a caption without --partial" --timeout 1 wait "Fixture"
expect 1 "a window that does not go" --timeout 1 wait-gone "$window"
expect_output "$window" "the caption" text "$window"
expect_output "Page 1 of 2" "a label of the top window" text "$window" $page_label
expect_output "page 1 ready" "a label inside the child page" text "$window" $status
expect 1 "a control that does not exist" --timeout 1 text "$window" 4242
expect 2 "a malformed control ID" text "$window" 12abc

listing=$(drive list)
grep -q "caption=\"$window\"" <<<"$listing" || fail "list does not show the fixture: $listing"
tree=$(drive list "$window")
grep -q 'id=1105 class=Button text="Locked" visible disabled' <<<"$tree" ||
  fail "list of the window does not show the locked button: $tree"
grep -q 'id=1102 class=Button text="I agree" visible enabled unchecked' <<<"$tree" ||
  fail "list of the window does not show the check box: $tree"
grep -q 'id=0xFFFF class=Static text="Name:"' <<<"$tree" ||
  fail "list of the window does not show the unnumbered label: $tree"
timeline=$(drive --timeout 1 watch "$window")
grep -qx '0 watching' <<<"$timeline" || fail "watch does not start its timeline: $timeline"
grep -qE '^[0-9]+ shown [0-9a-fA-F]+ class=#32770 pid=[0-9]+ at=-?[0-9]+,-?[0-9]+ size=[0-9]+x[0-9]+$' \
  <<<"$timeline" || fail "watch does not show the fixture: $timeline"
grep -qE '^[0-9]+ text [0-9a-fA-F]+ id=1105 "Locked"$' <<<"$timeline" ||
  fail "watch does not show the locked button's text: $timeline"
grep -qE '^[0-9]+ end$' <<<"$(tail -n 1 <<<"$timeline")" || fail "watch did not end: $timeline"
if grep -q ' gone ' <<<"$timeline"; then fail "watch saw the fixture go: $timeline"; fi

# --- typing: the page's own edit box, not the combo box's inner one with the same ID ---------
expect 0 "type into the edit box" type "$window" $name "Hello world"
status_is "name: Hello world" "the page saw EN_CHANGE"
expect_output "Hello world" "the edit box's text" text "$window" $name
expect_output "" "the combo box is untouched" text "$window" $colours
expect 0 "type nothing" type "$window" $name ""
status_is "name: " "the page saw the edit box emptied"
expect 0 "type again" type "$window" $name "Ada"
expect_refused "not an edit box" "typing into a label" type "$window" $status "x"

# --- check box -------------------------------------------------------------
expect 0 "tick" tick "$window" $agree
status_is "agree: on" "the page saw BN_CLICKED"
expect 0 "is checked" is "$window" $agree checked
expect 1 "is not unchecked" is "$window" $agree unchecked
expect 0 "type to change the status" type "$window" $name "Ada L"
expect 0 "tick a ticked box" tick "$window" $agree
status_is "name: Ada L" "ticking a ticked box does not click it"
expect 0 "untick" untick "$window" $agree
status_is "agree: off" "the page saw the untick"
expect 0 "is unchecked" is "$window" $agree unchecked
expect 0 "wait for a state that holds" wait-state "$window" $agree unchecked
expect 1 "wait for a state that never comes" --timeout 1 wait-state "$window" $agree checked

# --- list box and combo box ------------------------------------------------
expect_output $'Apple\nBanana\nCherry' "the list box's items" items "$window" $fruits
expect_output $'Red\nGreen\nBlue' "the combo box's items" items "$window" $colours
expect 0 "select by text" select "$window" $fruits Banana
status_is "fruit: Banana" "the page saw LBN_SELCHANGE"
expect_output "Banana" "a list box's text is its selection" text "$window" $fruits
expect 0 "select by index" select "$window" $fruits "#2"
status_is "fruit: Cherry" "the page saw the selection by index"
expect_refused "no item" "select a missing item" select "$window" $fruits Durian
expect 1 "select past the end" select "$window" $fruits "#3"
expect 1 "items of a button" items "$window" $agree
expect 0 "select in a combo box" select "$window" $colours Green
status_is "colour picked: Green" "the page saw CBN_SELCHANGE"
expect_output "Green" "the combo box shows the selection" text "$window" $colours
expect 0 "type into a combo box" type "$window" $colours "Purple"
status_is "colour typed: Purple" "the page saw CBN_EDITCHANGE"

# --- states and clicks -----------------------------------------------------
expect 0 "is disabled" is "$window" $locked disabled
expect 1 "is not enabled" is "$window" $locked enabled
expect_refused "is disabled" "clicking a disabled button is refused" click "$window" $locked
expect_refused "is disabled" "posting a click to a disabled button is refused" --post click "$window" $locked
status_is "colour typed: Purple" "the disabled button was not clicked"
expect 0 "is hidden" is "$window" $secret hidden
expect 1 "is not visible" is "$window" $secret visible
expect_refused "is hidden" "clicking a hidden control is refused" click "$window" $secret
expect 0 "click" click "$window" $unlock_later
expect 0 "wait until enabled" wait-state "$window" $locked enabled
expect 0 "wait for a text" wait-text "$window" $status "unlocked"
expect 0 "wait for part of a text" --contains wait-text "$window" $status "lock"
expect 1 "wait for a text that never comes" --timeout 1 wait-text "$window" $status "locked!"
expect 0 "click the unlocked button" click "$window" $locked
status_is "locked button clicked" "the page saw the click"

# --- message boxes ---------------------------------------------------------
expect 1 "no message box yet" --timeout 1 msgbox "$window" yes
expect 1 "the page is no message box" --timeout 1 --box-caption msgbox "$window" ok
expect 0 "click that opens a box" --post click "$window" $ask
expect_output "Shall the fixture go on?" "the box's text, unanswered" msgbox "$window"
expect_refused "window is disabled" "a click behind the box is refused" click "$window" $unlock_later
expect_refused "has no ok button" "an answer the box does not offer" msgbox "$window" ok
expect_output "Shall the fixture go on?" "answer no" msgbox "$window" no
status_is "answer: no" "the page got No"
expect 0 "open the box again" --post click "$window" $ask
expect_output "Shall the fixture go on?" "answer yes" msgbox "$window" yes
status_is "answer: yes" "the page got Yes"
expect 0 "open a box with its own caption" --post click "$window" $notice
expect 1 "its owner's caption is not its own" --timeout 1 --box-caption msgbox "$window" ok
expect_output "All is well." "find a box by its caption" --box-caption msgbox "Fixture Notice" ok
status_is "notice seen" "the page saw the box close"

# --- a second page with the same IDs ---------------------------------------
expect 0 "next page" click "$window" $next_page
expect_output "Page 2 of 2" "the frame shows page 2" text "$window" $page_label
status_is "page 2 ready" "the visible page's control is found"
expect 0 "type on page 2" type "$window" $name "Second"
status_is "name: Second" "page 2 saw its edit box change"
expect 0 "back to page 1" click "$window" $next_page
expect_output "Ada L" "page 1 kept its text" text "$window" $name

# --- closing ---------------------------------------------------------------
watch_file=$(mktemp)
drive --timeout 60 watch "$window" >"$watch_file" &
watch_pid=$!
# The watch must be looking before the window goes.
for _ in $(seq 100); do
  grep -q ' shown ' "$watch_file" && break
  sleep 0.1
done
expect 0 "close the window" close "$window"
expect 0 "the window goes" wait-gone "$window"
wait "$watch_pid" || fail "watch failed"
grep -qE '^[0-9]+ gone [0-9a-fA-F]+$' "$watch_file" || fail "watch missed the close: $(cat "$watch_file")"
# It ends a few seconds after the window has gone, long before its time-out.
watch_end=$(sed -n 's/^\([0-9]*\) end$/\1/p' "$watch_file")
if [ -z "$watch_end" ] || [ "$watch_end" -ge 20000 ]; then
  fail "watch did not end after the window went: $(cat "$watch_file")"
fi
rm -f "$watch_file"
fixture_status=0
wait "$fixture_pid" || fixture_status=$?
fixture_pid=
[ "$fixture_status" -eq 4 ] || fail "the fixture ended with $fixture_status, expected 4 (cancelled)"

if [ "$failures" -gt 0 ]; then
  echo "$failures driver check(s) failed" >&2
  exit 1
fi
echo "all driver checks passed"
