#!/usr/bin/env bash
# An installation over an earlier one of the sample, abandoned: every earlier file comes back
# with its content and time stamp. Three ways to abandon it: Cancel answered Yes during the
# installation; Yes to a write error (a folder stands where the uninstaller goes: Wine lets
# root write read-only files); and the setup
# process killed while a large file is written, after which that file is still the earlier one.
#   wizard_upgrade.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

packages=$1
install='C:\Program Files\Tarn Sample'
earlier=(SampleApp.exe ReadMe.txt "Docs/Getting Started.txt" Data/lakes.dat Data/Settings.ini
  Data/bulk.bin)

e2e_begin wizard_upgrade
folder=$(e2e_unix_path "$install")
uninstaller=$(e2e_unix_path 'C:\windows\Tarn-UnInstall.exe')

# The earlier installation: every file says what it is and carries a time stamp of 2020.
put_earlier_installation() {
  rm -rf "$folder"
  local file
  for file in "${earlier[@]}"; do
    mkdir -p "$(dirname "$folder/$file")"
    printf 'earlier %s, changed by its user\r\n' "$file" >"$folder/$file"
    touch -d '2020-03-04 05:06:07' "$folder/$file"
  done
  printf 'earlier uninstaller' >"$uninstaller"
  (cd "$folder" && find . -type f -printf '%P %s %T@\n' | LC_ALL=C sort) >"$E2E_DIR/earlier.txt"
}

expect_earlier_installation() {  # WHAT
  local now
  now=$(cd "$folder" && find . -type f -printf '%P %s %T@\n' | LC_ALL=C sort)
  e2e_expect_eq "$now" "$(cat "$E2E_DIR/earlier.txt")" "$1: the files, sizes and time stamps"
  local file
  for file in "${earlier[@]}"; do
    grep -q "^earlier $file, changed by its user" "$folder/$file" || e2e_fail "$1: $file"
  done
  local leftovers
  leftovers=$(find "$folder" "$(dirname "$uninstaller")" -maxdepth 3 -name '*.~TarnInstall*' | head)
  e2e_expect_eq "$leftovers" "" "$1: staged or kept files"
}

# Each run works on its own copy of the three-volume sample, whose large file takes a while.
setup=$E2E_DIR/package/Setup.exe
mkdir -p "$E2E_DIR/package"
cp "$packages"/sample-split/* "$E2E_DIR/package/"

e2e_log "Cancel answered Yes while the files are written"
put_earlier_installation
e2e_start "$setup"
wizard_walk_to_progress
e2e_step "cancel: the files stage" --contains wait-text "$WIZARD" "$PROGRESS_STATUS" "Copying"
e2e_step "cancel: Cancel" --post click "$WIZARD" "$WIZARD_CANCEL"
e2e_step "cancel: Yes" --timeout 30 msgbox "$WIZARD" yes
e2e_wait_exit 60 || e2e_fail "cancel: setup did not end"
e2e_expect_eq "$E2E_APP_STATUS" 1 "cancel: the exit status"
expect_earlier_installation cancel

e2e_log "Yes to a write error"
put_earlier_installation
rm -f "$uninstaller"
mkdir "$uninstaller"
e2e_start "$setup"
wizard_walk_to_progress
question=$(e2e_drive --timeout 120 msgbox "$WIZARD" yes) || e2e_fail "write error: no question"
[[ "$question" == *'Tarn-UnInstall.exe'* ]] || e2e_fail "write error: the question says '$question'"
e2e_wait_exit 60 || e2e_fail "write error: setup did not end"
e2e_expect_eq "$E2E_APP_STATUS" 1 "write error: the exit status"
expect_earlier_installation "write error"
[ -d "$uninstaller" ] || e2e_fail "write error: the folder in the uninstaller's place went"
rmdir "$uninstaller"

e2e_log "setup killed while the large file is written"
put_earlier_installation
e2e_start "$setup"
wizard_walk_to_progress
staged=
for _ in $(seq 1 3000); do
  staged=$(find "$folder/Data" -name 'bulk.bin.~TarnInstall*.new' | head -n 1)
  [ -n "$staged" ] && break
  sleep 0.02
done
[ -n "$staged" ] || e2e_fail "killed: the large file was never being written"
kill -9 "$E2E_APP_PID" 2>/dev/null || true
WINEPREFIX=$E2E_PREFIX wineserver -k >/dev/null 2>&1 || true
e2e_wait_exit 30 || true
grep -q '^earlier Data/bulk.bin, changed by its user' "$folder/Data/bulk.bin" ||
  e2e_fail "killed: the large file is not the earlier one"
e2e_expect_eq "$(stat -c %s "$folder/Data/bulk.bin")" \
  "$(grep '^Data/bulk.bin ' "$E2E_DIR/earlier.txt" | cut -d' ' -f2)" "killed: the large file's size"

e2e_end
