#!/usr/bin/env bash
# An upgrade killed at several points (wineserver -k, as a crash or a power cut would end it):
# no file is ever torn or missing, every one is its old or its new version, and the next
# Setup.exe /S run repairs the interrupted one from its journal and then completes, leaving no
# staged or kept file, no journal and no "InProgress" value behind.
#   recovery_kill.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

packages=$1
old_setup=$packages/sample-bulk-1/Setup.exe
new_setup=$packages/sample-bulk-2/Setup.exe
install='C:\Apps\Bulk Sample'
stage=$packages/stage/sample

e2e_begin recovery_kill
[ -f "$old_setup" ] && [ -f "$new_setup" ] || e2e_fail "no bulk packages in $packages"
bulk=$(e2e_unix_path "$install")/Bulk
product='HKLM\SOFTWARE\TarnSoft\TarnInstall'

install_silently() {  # WHAT SETUP [LOG]
  local what=$1 setup=$2
  shift 2
  e2e_start "$setup" /S "$@" "/D=$install"
  e2e_wait_exit 300 || e2e_fail "$what: setup still runs after 5 minutes"
  e2e_expect_eq "$E2E_APP_STATUS" 0 "$what: the exit status"
}

# How many of the bulk files hold each version; fails on a file that holds neither.
versions() {
  local old=0 new=0 i
  for i in $(seq -w 1 300); do
    if cmp -s "$bulk/f$i.txt" "$stage/bulk1/f$i.txt"; then
      old=$((old + 1))
    elif cmp -s "$bulk/f$i.txt" "$stage/bulk2/f$i.txt"; then
      new=$((new + 1))
    else
      e2e_fail "f$i.txt is neither version (missing or torn)"
    fi
  done
  echo "$old old, $new new"
}

leftovers() {
  find "$E2E_PREFIX/drive_c" \( -name '*.~TarnInstall*.new' -o -name '*.~TarnInstall*.old' \
    -o -name '*.journal' \) | sed "s|^$E2E_PREFIX/drive_c/||"
}

# The kills fall at fractions of how long a whole upgrade takes on this machine.
install_silently "version 1" "$old_setup"
started=$(date +%s.%N)
install_silently "a whole upgrade" "$new_setup"
whole=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
e2e_log "a whole upgrade takes $whole s"

repaired=0
for fraction in 0.35 0.55 0.75 0.9; do
  delay=$(awk -v w="$whole" -v f="$fraction" 'BEGIN { printf "%.2f", w * f }')
  install_silently "version 1" "$old_setup"
  e2e_expect_eq "$(versions)" "300 old, 0 new" "version 1 in place"

  e2e_start "$new_setup" /S "/D=$install"
  sleep "$delay"
  wineserver -k >/dev/null 2>&1 || true
  e2e_wait_exit 60 || e2e_fail "the killed setup did not end"
  state=$(versions)
  e2e_log "killed after $delay s: $state, $(leftovers | wc -l) leftovers"

  log="C:\\repair-$delay.log"
  install_silently "the run after the kill at $delay s" "$new_setup" "/LOG=$log"
  e2e_expect_eq "$(versions)" "0 old, 300 new" "after the repair and the new run ($delay s)"
  e2e_expect_eq "$(leftovers)" "" "leftovers after the repair ($delay s)"
  ! e2e_reg_line "$product" InProgress >/dev/null 2>&1 ||
    e2e_fail "the InProgress value is still there ($delay s)"
  if grep -q 'Recovery: an interrupted installation is undone' "$(e2e_unix_path "$log")"; then
    repaired=$((repaired + 1))
  fi
done
[ "$repaired" -ge 2 ] || e2e_fail "only $repaired of the kills were caught in the middle of a run"
e2e_end
