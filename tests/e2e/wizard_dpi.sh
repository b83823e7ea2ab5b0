#!/usr/bin/env bash
# The wizard on denser displays: the sample installed at 96, 120 and 144 pixels per inch, with
# screenshots of the welcome and the finish page at each (the pages must fill the frame, never
# clipped). The frame grows with the density.
#   wizard_dpi.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

setup=$1/sample-no-ad/Setup.exe

e2e_begin wizard_dpi
previous_width=0
for dpi in 96 120 144; do
  e2e_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null ||
    e2e_fail "$dpi: could not set the density"
  rm -rf "$(e2e_unix_path 'C:\Program Files\Tarn Sample')"
  e2e_wine reg delete 'HKLM\SOFTWARE\TarnSoft' /f >/dev/null 2>&1 || true
  e2e_start "$setup"
  e2e_step "$dpi: the wizard appears" --timeout 90 wait "$WIZARD"
  e2e_screenshot "welcome-$dpi-dpi"
  width=$(e2e_drive list | sed -n "s/.*caption=\"$WIZARD\".* size=\([0-9]*\)x.*/\1/p" | head -n 1)
  [ -n "$width" ] || e2e_fail "$dpi: the wizard's size is unknown"
  [ "$width" -gt "$previous_width" ] || e2e_fail "$dpi: the wizard is $width wide, not wider"
  previous_width=$width
  wizard_walk_to_progress
  e2e_step "$dpi: the finish page" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
  e2e_screenshot "finish-$dpi-dpi"
  e2e_step "$dpi: no program started" untick "$WIZARD" 10001
  e2e_step "$dpi: Finish" click "$WIZARD" "$WIZARD_NEXT"
  e2e_wait_exit 30 || e2e_fail "$dpi: setup did not end"
  e2e_expect_eq "$E2E_APP_STATUS" 0 "$dpi: the exit status"
done

e2e_end
