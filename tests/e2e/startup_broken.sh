#!/usr/bin/env bash
# Setup files whose package cannot be loaded end quietly: a package cut short and the bare stub
# with no package at all. Each run may show the loading dialog, nothing else; no window stays,
# the process ends within seconds with exit status 1, and no temporary file is left.
#   startup_broken.sh PACKAGES_DIR TARNSETUP_EXE
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/startup_lib.sh
source "$(dirname "$0")/startup_lib.sh"

whole=$1/sample-no-ad/Setup.exe
stub=$2

e2e_begin startup_broken
[ -f "$whole" ] || e2e_fail "no package at $whole"
[ -f "$stub" ] || e2e_fail "no stub at $stub"

# run_broken NAME SETUP_FILE: runs it and checks the quiet end.
run_broken() {
  local name=$1 setup=$2 before started elapsed windows
  before=$(startup_temp_listing)
  e2e_watch_start "$name"
  started=$SECONDS
  e2e_start "$setup"
  e2e_wait_exit 20 || e2e_fail "$name: setup still runs after 20 s"
  elapsed=$((SECONDS - started))
  e2e_watch_wait 30
  e2e_screenshot "$name-after-exit"
  e2e_log "$name: ended after about $elapsed s"
  [ "$elapsed" -le 10 ] || e2e_fail "$name: setup took $elapsed s to end"
  e2e_expect_eq "$E2E_APP_STATUS" 1 "$name: the exit status"
  # At most the loading dialog came and went.
  windows=$(watch_shown | cut -d' ' -f2)
  [ "$(grep -c . <<<"$windows")" -le 1 ] ||
    e2e_fail "$name: more than the loading dialog appeared (timeline in $E2E_WATCH_LOG)"
  if [ -n "$windows" ]; then
    grep -qE "^[0-9]+ shown $windows class=#32770 " "$E2E_WATCH_LOG" ||
      e2e_fail "$name: the one window shown is not the loading dialog"
    [ -n "$(watch_gone_time "$windows")" ] || e2e_fail "$name: the loading dialog never went"
  fi
  startup_expect_no_window "$name: after setup ended"
  startup_expect_temp_unchanged "$before" "$name: after setup ended"
}

# A package cut in the middle of its data, the program in front of it whole: the trailer and the
# project are gone.
size=$(stat -c %s "$whole")
stub_size=$(stat -c %s "$stub")
mkdir -p "$E2E_DIR/truncated"
head -c $((stub_size + (size - stub_size) / 2)) "$whole" >"$E2E_DIR/truncated/Setup.exe"
run_broken truncated "$E2E_DIR/truncated/Setup.exe"

# Only the last bytes missing: the trailer is cut.
mkdir -p "$E2E_DIR/no-trailer"
head -c $((size - 40)) "$whole" >"$E2E_DIR/no-trailer/Setup.exe"
run_broken no-trailer "$E2E_DIR/no-trailer/Setup.exe"

# The stub alone.
mkdir -p "$E2E_DIR/stub"
cp "$stub" "$E2E_DIR/stub/Setup.exe"
run_broken no-package "$E2E_DIR/stub/Setup.exe"

e2e_end
