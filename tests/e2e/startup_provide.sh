#!/usr/bin/env bash
# The pre-install program. Returning 0 it ends setup: after the loading dialog no window, the
# temporary files gone. Returning 1 setup goes on; it runs after the advertisement splash (the
# marker is still empty while the splash shows), and with a temporary folder whose path has a
# space it is still the program that runs (its path is quoted on the command line).
#   startup_provide.sh PACKAGES_DIR
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/startup_lib.sh
source "$(dirname "$0")/startup_lib.sh"

packages=$1
ad_size=400x250  # examples/sample/pictures/ad.bmp

e2e_begin startup_provide
marker=$(e2e_unix_path 'C:\tarn-provide-ran.txt')
[ ! -e "$marker" ] || e2e_fail "a fresh prefix already has the marker"
user_temp=$(startup_temp_dir)

marker_lines() { if [ -f "$marker" ]; then tr -d '\r' <"$marker"; fi; }

# --- exit code 0: setup ends after the program --------------------------------
before=$(startup_temp_listing)
e2e_watch_start exit0
TARN_PROVIDE_EXIT=0 e2e_start "$packages/sample-provide-no-ad/Setup.exe"
e2e_wait_exit 60 || e2e_fail "exit 0: setup still runs after a minute"
e2e_watch_wait 30
e2e_screenshot exit0-after-exit
e2e_expect_eq "$E2E_APP_STATUS" 1 "exit 0: the exit status"
ran=$(marker_lines)
[[ "$ran" =~ ^ran\ exit=0\ path=C:\\users\\[^\\]+\\Temp\\[0-9]+~TarnInstall-ProvideForInstall\.exe$ ]] ||
  e2e_fail "exit 0: the marker says '$ran'"
windows=$(watch_shown | cut -d' ' -f2)
e2e_expect_eq "$(grep -c . <<<"$windows")" 1 "exit 0: windows shown (timeline in $E2E_WATCH_LOG)"
e2e_expect_eq "$(watch_texts "$windows" 1005 | head -n 1)" "Initialize TarnInstall Wizard..." \
  "exit 0: the one window's text"
startup_expect_no_window "exit 0: after setup ended"
startup_expect_temp_unchanged "$before" "exit 0: after setup ended"

# --- exit code 1, temporary folder with a space: setup goes on ----------------
spaced_temp='C:\Tarn Temp'
mkdir -p "$(e2e_unix_path "$spaced_temp")"
for name in TEMP TMP; do
  e2e_wine reg add 'HKCU\Environment' /v "$name" /t REG_SZ /d "$spaced_temp" /f >/dev/null ||
    e2e_fail "could not set $name"
done
user_temp_before=$(cd "$user_temp" && find . -mindepth 1 | LC_ALL=C sort)
STARTUP_TEMP=$(e2e_unix_path "$spaced_temp")
export STARTUP_TEMP
before=$(startup_temp_listing)
e2e_watch_start exit1
TARN_PROVIDE_EXIT=1 e2e_start "$packages/sample-provide/Setup.exe"
shown=$(watch_wait_shown "$ad_size" 90) || e2e_fail "exit 1: the splash did not appear"
e2e_screenshot exit1-splash
temp_during=$(startup_temp_listing)
[[ "$temp_during" == *"~TarnInstall-ProvideForInstall.exe"* ]] ||
  e2e_fail "exit 1: the program is not in $spaced_temp while the splash shows: $temp_during"
e2e_expect_eq "$(marker_lines | grep -c .)" 1 "exit 1: runs of the program while the splash shows"
startup_leave_wizard "exit 1"
e2e_wait_exit 60 || e2e_fail "exit 1: setup still runs after a minute"
e2e_watch_wait 30
e2e_screenshot exit1-after-exit
e2e_expect_eq "$E2E_APP_STATUS" 1 "exit 1: the exit status"
ran=$(marker_lines | sed -n 2p)
[[ "$ran" =~ ^ran\ exit=1\ path=C:\\Tarn\ Temp\\[0-9]+~TarnInstall-ProvideForInstall\.exe$ ]] ||
  e2e_fail "exit 1: the marker's second line says '$ran'"
splash=${shown#* }
[ -n "$(watch_gone_time "$splash")" ] || e2e_fail "exit 1: the splash never went"
startup_expect_no_window "exit 1: after setup ended"
startup_expect_temp_unchanged "$before" "exit 1: after setup ended"
e2e_expect_eq "$(cd "$user_temp" && find . -mindepth 1 | LC_ALL=C sort)" "$user_temp_before" \
  "exit 1: the user's usual temporary folder"

e2e_end
