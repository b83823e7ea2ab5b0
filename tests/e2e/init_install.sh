#!/usr/bin/env bash
# A product packed the way the README shows it, in three commands (tarnpack init, check,
# build), installed through the wizard and removed by the uninstaller: the starter project's
# pages (welcome, licence, installation folder, progress, finish), its files and folders below
# the installation folder, the program group's two shortcuts and the uninstall registration;
# after the removal and the restart that completes it, the machine equals its state before.
#   init_install.sh
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"
# shellcheck source=tests/e2e/uninstall_lib.sh
source "$(dirname "$0")/uninstall_lib.sh"

tarnpack=${TARNPACK:-$TARN_ROOT/build/native/bin/tarnpack}
WIZARD="Tarn Tiny 2.0 Setup"
title='Tarn Tiny 2.0'
install='C:\Program Files\Tarn Tiny'
group='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tarn Tiny'

e2e_begin init_install
[ -x "$tarnpack" ] || e2e_fail "no tarnpack at $tarnpack"
work=$E2E_DIR/author
rm -rf "$work"
product=$work/Tiny
mkdir -p "$product/data/empty" "$product/docs"
cp "$TARN_BUILD/bin/SampleApp.exe" "$product/"
printf 'Tarn Tiny licence: use it kindly.\r\n' >"$product/LICENSE.txt"
printf 'first note\r\n' >"$product/data/notes one.txt"
printf 'guide\r\n' >"$product/docs/Guide.txt"
touch -d '2021-06-07 08:09:10' "$product/docs/Guide.txt"

(cd "$work" && "$tarnpack" init Tiny --name "Tarn Tiny" --version 2.0 --company "Tiny Co") \
  >"$E2E_LOGS/init.txt" || e2e_fail "tarnpack init failed: $(cat "$E2E_LOGS/init.txt")"
"$tarnpack" check "$work/project.xml" >"$E2E_LOGS/check.txt" ||
  e2e_fail "the starter project has problems: $(cat "$E2E_LOGS/check.txt")"
"$tarnpack" build --stub "$TARN_BUILD/bin/TarnSetup.exe" --project "$work/project.xml" \
  -o "$work/Setup.exe" >"$E2E_LOGS/build.txt" 2>&1 ||
  e2e_fail "tarnpack build failed: $(cat "$E2E_LOGS/build.txt")"

before=$(uninstall_snapshot before)
e2e_start "$work/Setup.exe"
e2e_step "the wizard appears" --timeout 90 wait "$WIZARD"
e2e_screenshot welcome
wizard_next_to licence Button "$LICENCE_ACCEPT"
licence_text=$(wizard_text 1000 RichEdit20A)
[[ "$licence_text" == *"use it kindly"* ]] || e2e_fail "the licence is not shown: $licence_text"
e2e_step "licence: Next waits for the acceptance" is "$WIZARD" "$WIZARD_NEXT" disabled
e2e_step "licence: accept" --class Button click "$WIZARD" "$LICENCE_ACCEPT"
wizard_next_to install-path Edit "$INSTALL_PATH"
e2e_expect_eq "$(wizard_text "$INSTALL_PATH" Edit)" "$install" "the default installation folder"
wizard_next_to progress msctls_progress32 "$PROGRESS_BAR"
e2e_step "the installation completes" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
e2e_screenshot finish
e2e_step "finish: the program is offered, ticked" is "$WIZARD" 10001 checked
e2e_step "finish: do not start it" untick "$WIZARD" 10001
e2e_step "Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 60 || e2e_fail "setup did not end after Finish"
e2e_expect_eq "$E2E_APP_STATUS" 0 "the exit status after a completed installation"

# Every file of the product's folder, in its place, with its content; the empty folder too.
folder=$(e2e_unix_path "$install")
for file in SampleApp.exe LICENSE.txt "data/notes one.txt" docs/Guide.txt; do
  cmp -s "$product/$file" "$folder/$file" || e2e_fail "$file differs"
done
[ -d "$folder/data/empty" ] || e2e_fail "the empty folder was not made"
e2e_expect_eq "$(TZ=UTC stat -c %y "$folder/docs/Guide.txt" | cut -c1-19)" \
  "$(TZ=UTC stat -c %y "$product/docs/Guide.txt" | cut -c1-19)" "Guide.txt's time stamp"
e2e_expect_eq "$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" DisplayName)" "$title" "DisplayName"
e2e_expect_eq "$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" Publisher)" "Tiny Co" "Publisher"
links=$(e2e_files "${group#C:\\}" | tr '\n' '|')
e2e_expect_eq "$links" "Tarn Tiny.Lnk|Uninstall $title.Lnk|" "the program group's shortcuts"

e2e_start uninstaller --remove "$title"
e2e_step "the uninstaller appears" --timeout 60 wait "$UNINSTALLER"
e2e_step "the product is named" wait-text "$UNINSTALLER" 1201 "$title"
e2e_step "Uninstall" click "$UNINSTALLER" "$UNINSTALL_REMOVE"
e2e_step "the removal completes" --timeout 120 wait-text "$UNINSTALLER" "$UNINSTALL_STATUS" \
  "The program has been removed."
e2e_screenshot removed
e2e_step "Close" click "$UNINSTALLER" "$UNINSTALL_CLOSE"
e2e_wait_exit 60 || e2e_fail "the list of installed programs did not end"
uninstall_restart
uninstall_expect_same "$before" "$(uninstall_snapshot after)" "removed"

e2e_end
