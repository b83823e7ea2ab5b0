#!/usr/bin/env bash
# Checks that a failing scenario leaves what is needed to find out why (a screenshot, the
# windows on screen, the prefix) and leaves no program running behind it.
#   lib_failure.sh DRIVERFIXTURE_EXE
set -euo pipefail

fixture=$1
lib="$(dirname "$0")/lib.sh"
inner=lib_failure_inner
inner_dir=$TARN_BUILD/e2e/$inner
pid_file=$TARN_BUILD/e2e/$inner.pid
rm -f "$pid_file"

status=0
bash -c '
  set -euo pipefail
  source "$1"
  e2e_begin "$2"
  e2e_start "$3"
  e2e_step "the fixture appears" --timeout 60 wait "Driver Fixture"
  echo "$E2E_APP_PID" >"$4"
  e2e_step "a click the fixture refuses" click "Driver Fixture" 1105
  echo "unreachable: the refused click did not fail the scenario"
' inner "$lib" "$inner" "$fixture" "$pid_file" || status=$?

problems=0
problem() {
  echo "FAIL: $*" >&2
  problems=$((problems + 1))
}
[ "$status" -eq 1 ] || problem "the failing scenario ended with $status, expected 1"
[ -s "$pid_file" ] || problem "the scenario did not get as far as the fixture"
if [ -s "$pid_file" ] && kill -0 "$(cat "$pid_file")" 2>/dev/null; then
  problem "the fixture still runs after the failure"
fi
compgen -G "$inner_dir/screenshots/*-failure.png" >/dev/null || problem "no failure screenshot"
grep -q 'text="Locked" visible disabled' "$inner_dir/logs/windows.txt" ||
  problem "the window listing does not show the fixture's controls"
[ -d "$inner_dir/prefix/drive_c" ] || problem "the prefix of the failed scenario was removed"

if [ "$problems" -gt 0 ]; then exit 1; fi
rm -rf "$inner_dir" "$pid_file"
echo "a failing scenario cleans up and keeps its evidence"
