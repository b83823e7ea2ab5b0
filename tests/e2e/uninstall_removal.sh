#!/usr/bin/env bash
# The sample removed again, the ways its users remove it: installed through the wizard and
# removed from Wine's list of installed programs (`uninstaller --remove`, which runs the
# registered UninstallString and shows our window: Uninstall, then Close), and installed with
# /S and removed with the registered QuietUninstallString. Each time the prefix's files and
# registry afterwards equal a snapshot taken before the installation, once the restart has
# removed the running uninstaller's own file. The window at 96 and
# 144 DPI is kept as screenshots; closing it without removing leaves everything (exit 1).
#   uninstall_removal.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"
# shellcheck source=tests/e2e/uninstall_lib.sh
source "$(dirname "$0")/uninstall_lib.sh"

setup=$1/sample-no-ad/Setup.exe
title='Tarn Sample 1.0'
install='C:\Program Files\Tarn Sample'

e2e_begin uninstall_removal
[ -f "$setup" ] || e2e_fail "no package at $setup"
before=$(uninstall_snapshot before)

# --- through the wizard, removed from the list of installed programs ----------------------
e2e_start "$setup"
wizard_walk_to_progress
e2e_step "the installation completes" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
e2e_step "finish: no program started" untick "$WIZARD" 10001
e2e_step "Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 60 || e2e_fail "setup did not end after Finish"
e2e_expect_eq "$E2E_APP_STATUS" 0 "the installation's exit status"
e2e_expect_eq "$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" DisplayVersion)" 1.0 "DisplayVersion"
e2e_expect_eq "$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" Publisher)" "TarnSoft Samples" "Publisher"
e2e_expect_eq "$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" InstallLocation)" "$install" \
  "InstallLocation"
e2e_expect_eq "$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" NoModify)" 0x1 "NoModify"

e2e_start uninstaller --remove "$title"
e2e_step "the uninstaller appears" --timeout 60 wait "$UNINSTALLER"
e2e_screenshot uninstaller-96-dpi
e2e_step "the product is named" wait-text "$UNINSTALLER" 1201 "$title"
e2e_step "Uninstall" click "$UNINSTALLER" "$UNINSTALL_REMOVE"
e2e_step "the removal completes" --timeout 120 wait-text "$UNINSTALLER" "$UNINSTALL_STATUS" \
  "The program has been removed."
e2e_screenshot uninstaller-done-96-dpi
e2e_step "Uninstall is spent" is "$UNINSTALLER" "$UNINSTALL_REMOVE" disabled
e2e_step "Close" click "$UNINSTALLER" "$UNINSTALL_CLOSE"
e2e_wait_exit 60 || e2e_fail "the list of installed programs did not end"
uninstall_restart
after=$(uninstall_snapshot after-list)
uninstall_expect_same "$before" "$after" "removed from the list"

# --- at 144 DPI, silently installed; closing the window removes nothing --------------------
e2e_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null ||
  e2e_fail "could not set the density"
dense=$(uninstall_snapshot dense)
e2e_start "$setup" /S
e2e_wait_exit 180 || e2e_fail "the silent installation did not end"
e2e_expect_eq "$E2E_APP_STATUS" 0 "the silent installation's exit status"
installed=$(uninstall_snapshot installed)
uninstall_string=$(e2e_reg_value "$UNINSTALL_ENTRY\\$title" UninstallString)
e2e_start "$(e2e_unix_path 'C:\windows\Tarn-UnInstall.exe')" "${uninstall_string#* }"
e2e_step "the uninstaller appears at 144 DPI" --timeout 60 wait "$UNINSTALLER"
e2e_screenshot uninstaller-144-dpi
e2e_step "Close at once" click "$UNINSTALLER" "$UNINSTALL_CLOSE"
e2e_wait_exit 30 || e2e_fail "the uninstaller did not end after Close"
e2e_expect_eq "$E2E_APP_STATUS" 1 "closed without removing"
uninstall_expect_same "$installed" "$(uninstall_snapshot closed)" "closed without removing"

# --- removed with the quiet command line ----------------------------------------------------
e2e_watch_start quiet
uninstall_run_quiet "$title"
e2e_wait_exit 120 || e2e_fail "the quiet removal did not end"
e2e_watch_stop
e2e_expect_eq "$E2E_APP_STATUS" 0 "the quiet removal's exit status"
! grep -q ' shown ' "$E2E_WATCH_LOG" || e2e_fail "the quiet removal showed a window"
uninstall_restart
uninstall_expect_same "$dense" "$(uninstall_snapshot after-quiet)" "removed quietly"

e2e_end
