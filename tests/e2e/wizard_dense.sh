#!/usr/bin/env bash
# Dense displays, 144, 168 and 192 pixels per inch: every window the setup and the uninstaller
# show (the loading dialog, every wizard page, the insert-media dialog, the uninstaller's window
# before and after the removal) passes the driver's layout check: no shown control leaves its
# page or covers another. Each is kept as a screenshot, with the advertisement splash. The
# wizard at 192 is larger than the shared display, so the scenario has a display of its own.
#   wizard_dense.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"
# shellcheck source=tests/e2e/uninstall_lib.sh
source "$(dirname "$0")/uninstall_lib.sh"

packages=$1
title='Tarn Sample 1.0'
media="Select location"
media_location=1013
media_ok=1020

e2e_own_display 1400x1000
e2e_begin wizard_dense

# The layout check of the window (with every page it holds), once it is there, and a
# screenshot.
dense_check() {  # NAME WINDOW [DRIVER OPTIONS...]
  local name=$1 window=$2 report
  shift 2
  report=$E2E_LOGS/layout-$name.txt
  e2e_drive "$@" layout "$window" >"$report" 2>&1 ||
    e2e_fail "$name: the layout is broken ($report): $(grep '^tarndriver:' "$report" | head -n 3)"
  e2e_screenshot "$name"
}

# Next, its page shown, and the check.
dense_next_to() {  # NAME CLASS CONTROL_ID
  e2e_step "$1: Next" click "$WIZARD" "$WIZARD_NEXT"
  e2e_step "$1: its page shows" --class "$2" wait-state "$WIZARD" "$3" visible
  dense_check "$1" "$WIZARD"
}

for dpi in 144 168 192; do
  e2e_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null ||
    e2e_fail "$dpi: could not set the density"

  # The loading dialog, found as the first window the setup shows, and the splash after it.
  e2e_start "$packages/sample-slow/Setup.exe"
  dense_check "loading-$dpi-dpi" "" --partial --timeout 60
  grep -q '^window caption="" ' "$E2E_LOGS/layout-loading-$dpi-dpi.txt" &&
    grep -q '^  id=1005 class=Static ' "$E2E_LOGS/layout-loading-$dpi-dpi.txt" ||
    e2e_fail "$dpi: the first window was not the loading dialog"
  sleep 2
  e2e_screenshot "advertisement-$dpi-dpi"
  e2e_step "$dpi: the wizard after the splash" --timeout 90 wait "$WIZARD"
  e2e_step "$dpi: Cancel" --post click "$WIZARD" "$WIZARD_CANCEL"
  e2e_step "$dpi: leave" msgbox "$WIZARD" yes
  e2e_wait_exit 30 || e2e_fail "$dpi: the cancelled setup did not end"

  # Every page, on a package whose last volume is elsewhere, so that it is asked for.
  split=$E2E_DIR/split-$dpi
  mkdir -p "$split/disk3"
  cp "$packages"/sample-split/* "$split/"
  mv "$split/Setup3.Cab" "$split/disk3/"
  e2e_start "$split/Setup.exe"
  e2e_step "$dpi: the wizard appears" --timeout 90 wait "$WIZARD"
  dense_check "welcome-$dpi-dpi" "$WIZARD"
  dense_next_to "licence-$dpi-dpi" Button "$LICENCE_ACCEPT"
  e2e_step "$dpi: accept" --class Button click "$WIZARD" "$LICENCE_ACCEPT"
  dense_next_to "readme-$dpi-dpi" Button "$WIZARD_NEXT"
  dense_next_to "user-information-$dpi-dpi" Edit "$USER_NAME"
  dense_next_to "program-folder-$dpi-dpi" Edit "$FOLDER_NAME"
  dense_next_to "install-path-$dpi-dpi" Edit "$INSTALL_PATH"
  e2e_step "$dpi: Next to the progress page" click "$WIZARD" "$WIZARD_NEXT"
  e2e_step "$dpi: the third volume is asked for" --timeout 120 wait "$media"
  dense_check "progress-$dpi-dpi" "$WIZARD"
  dense_check "insert-media-$dpi-dpi" "$media"
  e2e_step "$dpi: point to its folder" type "$media" "$media_location" \
    "$(wizard_windows_path "$split/disk3")"
  e2e_step "$dpi: OK" click "$media" "$media_ok"
  e2e_step "$dpi: the finish page" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
  dense_check "finish-$dpi-dpi" "$WIZARD"
  e2e_step "$dpi: no program started" untick "$WIZARD" 10001
  e2e_step "$dpi: Finish" click "$WIZARD" "$WIZARD_NEXT"
  e2e_wait_exit 30 || e2e_fail "$dpi: setup did not end"
  e2e_expect_eq "$E2E_APP_STATUS" 0 "$dpi: the installation's exit status"

  # The uninstaller's window, before and after the removal.
  e2e_start uninstaller --remove "$title"
  e2e_step "$dpi: the uninstaller appears" --timeout 60 wait "$UNINSTALLER"
  dense_check "uninstaller-$dpi-dpi" "$UNINSTALLER"
  e2e_step "$dpi: Uninstall" click "$UNINSTALLER" "$UNINSTALL_REMOVE"
  e2e_step "$dpi: the removal completes" --timeout 120 wait-text "$UNINSTALLER" \
    "$UNINSTALL_STATUS" "The program has been removed."
  dense_check "uninstaller-done-$dpi-dpi" "$UNINSTALLER"
  e2e_step "$dpi: Close" click "$UNINSTALLER" "$UNINSTALL_CLOSE"
  e2e_wait_exit 60 || e2e_fail "$dpi: the uninstaller did not end"
  uninstall_restart
done

e2e_end
