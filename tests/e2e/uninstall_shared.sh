#!/usr/bin/env bash
# Two products share the uninstaller: the sample and "Tarn Other" (the sample renamed) are
# installed with /S; removing the sample leaves the uninstaller, its texts, its record type and
# the other product whole; removing the other leaves the machine as it was. Then the sample is
# removed while its program runs, with a log: the removal completes after the restart (exit
# 3010 at first, the log says why; nothing left after `wineboot -r`).
#   uninstall_shared.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/uninstall_lib.sh
source "$(dirname "$0")/uninstall_lib.sh"

packages=$1
setup=$packages/sample-no-ad/Setup.exe
tarnpack=${TARNPACK:-$TARN_ROOT/build/native/bin/tarnpack}

e2e_begin uninstall_shared
[ -f "$setup" ] || e2e_fail "no package at $setup"
stage=$packages/stage/sample
project=$E2E_DIR/project-other.xml
sed 's/Tarn Sample/Tarn Other/g' "$stage/project-sample-no-ad.xml" >"$project"
mkdir -p "$E2E_DIR/other"
# The sources are named relative to the project: build from the sample's stage.
cp "$project" "$stage/project-uninstall-other.xml"
"$tarnpack" build --stub "$TARN_BUILD/bin/TarnSetup.exe" --project "$stage/project-uninstall-other.xml" \
  -o "$E2E_DIR/other/Setup.exe" >"$E2E_LOGS/tarnpack.log" || e2e_fail "could not build Tarn Other"
rm -f "$stage/project-uninstall-other.xml"
grep -q 'uninstaller added' "$E2E_LOGS/tarnpack.log" || e2e_fail "tarnpack added no uninstaller"

before=$(uninstall_snapshot before)
for package in "$setup" "$E2E_DIR/other/Setup.exe"; do
  e2e_start "$package" /S
  e2e_wait_exit 180 || e2e_fail "the silent installation of $package did not end"
  e2e_expect_eq "$E2E_APP_STATUS" 0 "installing $package"
done

uninstall_run_quiet 'Tarn Sample 1.0'
e2e_wait_exit 120 || e2e_fail "removing the sample did not end"
e2e_expect_eq "$E2E_APP_STATUS" 0 "removing the sample"
[ ! -e "$(e2e_unix_path 'C:\Program Files\Tarn Sample')" ] || e2e_fail "the sample's folder stays"
[ -d "$(e2e_unix_path 'C:\Program Files\Tarn Other')" ] || e2e_fail "the other product went too"
[ -f "$(e2e_unix_path 'C:\windows\Tarn-UnInstall.exe')" ] ||
  e2e_fail "the uninstaller went while another product needs it"
[ -n "$(ls "$(e2e_unix_path 'C:\windows\system32\TarnInstall')")" ] || e2e_fail "its texts went"
e2e_reg_has_key 'HKCR\TarnUnInstall\Shell\Open\Command' || e2e_fail "the record type went"
e2e_reg_value 'HKLM\SOFTWARE\TarnSoft\TarnInstall' LastVersion >/dev/null ||
  e2e_fail "LastVersion went"
! e2e_reg_has_key 'HKLM\SOFTWARE\TarnSoft\TarnInstall\TarnSoft Samples\Tarn Sample' ||
  e2e_fail "the sample's product key stays"
e2e_reg_has_key 'HKLM\SOFTWARE\TarnSoft\TarnInstall\TarnSoft Samples\Tarn Other\1.0' ||
  e2e_fail "the other product's key went"
! e2e_reg_has_key "$UNINSTALL_ENTRY\\Tarn Sample 1.0" || e2e_fail "the sample is still listed"

uninstall_run_quiet 'Tarn Other 1.0'
e2e_wait_exit 120 || e2e_fail "removing the other product did not end"
e2e_expect_eq "$E2E_APP_STATUS" 0 "removing the other product"
# The running uninstaller's own file goes at the restart.
uninstall_restart
uninstall_expect_same "$before" "$(uninstall_snapshot after-both)" "both removed"

# --- a program of the product still runs ----------------------------------------------------
e2e_start "$setup" /S
e2e_wait_exit 180 || e2e_fail "the silent installation did not end"
program='C:\Program Files\Tarn Sample\SampleApp.exe'
"$E2E_WINE" "$(e2e_unix_path "$program")" </dev/null >>"$E2E_LOGS/sample-app.log" 2>&1 &
app=$!
e2e_step "the sample application runs" --partial --timeout 30 wait "Tarn Sample"
record='C:\Program Files\Tarn Sample\TarnUninstall Tarn Sample 1.0.UCIP'
log='C:\removal.log'
# Wine quotes an argument with a blank: the record path goes as words, as it is registered.
# shellcheck disable=SC2086
e2e_start "$(e2e_unix_path 'C:\windows\Tarn-UnInstall.exe')" /S "/LOG=$log" $record
e2e_wait_exit 120 || e2e_fail "the removal did not end"
log_text=$(tr -d '\r' <"$(e2e_unix_path "$log")")
for line in "File in use, removed at the next restart: \"$program\"" \
  "Registry value deleted: HKEY_LOCAL_MACHINE\\Software\\TarnSoft Samples\\Tarn Sample \"Program\"" \
  "Removal complete once the computer restarts"; do
  grep -qF -- "$line" <<<"$log_text" || e2e_fail "the removal's log lacks: $line"
done
rm -f "$(e2e_unix_path "$log")"
# Linux sees the low eight bits of the Windows exit status 3010.
e2e_expect_eq "$E2E_APP_STATUS" $((3010 % 256)) "removing a product whose program runs"
[ ! -e "$(e2e_unix_path "$program")" ] || e2e_fail "the running program keeps its name"
e2e_step "close the sample application" close "Tarn Sample"
wait "$app" || true
uninstall_restart
uninstall_expect_same "$before" "$(uninstall_snapshot after-restart)" "removed after the restart"

e2e_end
