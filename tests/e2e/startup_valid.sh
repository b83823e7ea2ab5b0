#!/usr/bin/env bash
# A valid package from start to end, as far as start-up goes today: the loading dialog and its
# two texts, the installer's files in the temporary folder while the advertisement splash
# shows, the splash's five seconds that Alt+F4 does not cut short, and at the end no window,
# no temporary file and exit status 1 (no installation was completed).
#   startup_valid.sh PACKAGES_DIR      (the packages tests/e2e/make_packages.sh builds)
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/startup_lib.sh
source "$(dirname "$0")/startup_lib.sh"

setup=$1/sample-slow/Setup.exe
ad_size=400x250  # examples/sample/pictures/ad.bmp
loading_id=1005

e2e_begin startup_valid
[ -f "$setup" ] || e2e_fail "no package at $setup"
temp_before=$(startup_temp_listing)
[[ "$temp_before" != *TarnInstall* ]] || e2e_fail "a fresh prefix already has installer files"

e2e_watch_start run
e2e_start "$setup"

# --- the splash -------------------------------------------------------------
shown=$(watch_wait_shown "$ad_size" 90) || e2e_fail "no window of the picture's size appeared"
splash=${shown#* }
seen_at=$SECONDS
e2e_screenshot splash

# While the splash shows, the installer's own files are in the temporary folder, all named
# with one run stamp.
temp_during=$(startup_temp_listing)
stamp=$(sed -n 's/^TarnInstall\(.*\)\.xml$/\1/p' <<<"$temp_during")
[ -n "$stamp" ] || e2e_fail "no project copy in the temporary folder: $temp_during"
expected=$(printf '%s\n' "$temp_before" "TarnInstall$stamp.xml" \
  "$stamp~TarnInstall-Language.ini" "$stamp~TarnInstall-TopFramePicture.bmp" \
  "$stamp~TarnInstall-WelcomeWndPicture.bmp" "$stamp~TarnInstall-AdPicture.bmp" \
  "$stamp~TarnInstall-SoftDoc.HTM" "$stamp~TarnInstall-SoftReadme.HTM" \
  "$stamp~TarnInstall-Bulk.bin" | sed '/^$/d' | LC_ALL=C sort)
e2e_expect_eq "$temp_during" "$expected" "the temporary folder while the splash shows"
e2e_expect_eq "$(stat -c %s "$(startup_temp_dir)/$stamp~TarnInstall-AdPicture.bmp")" 300054 \
  "the size of the extracted picture"

# Alt+F4 about a second after the splash appeared: it must stay.
sleep 1
e2e_step "send the close request to the splash" close ""
close_sent=$((SECONDS - seen_at))
sleep 0.5
[ -z "$(watch_gone_time "$splash")" ] || e2e_fail "the splash went right after the close request"
e2e_screenshot splash-after-alt-f4

startup_leave_wizard "after the splash"
e2e_wait_exit 60 || e2e_fail "setup did not end within a minute after leaving the wizard"
e2e_watch_wait 30
e2e_screenshot after-exit

# --- what the timeline shows --------------------------------------------------
# Two windows, one after the other: the loading dialog, then the splash.
windows=$(watch_shown | cut -d' ' -f2)
# The loading dialog, the splash, then the wizard and its exit question.
e2e_expect_eq "$(wc -l <<<"$windows")" 4 "the number of windows shown (timeline in $E2E_WATCH_LOG)"
loading=$(head -n 1 <<<"$windows")
e2e_expect_eq "$(sed -n 2p <<<"$windows")" "$splash" "the second window"
wizard=$(sed -n 3p <<<"$windows")
grep -qF " text $wizard id=1001 \"&Next >\"" "$E2E_WATCH_LOG" ||
  e2e_fail "the third window is not the wizard"
wizard_shown=$(grep -F " shown $wizard " "$E2E_WATCH_LOG" | cut -d' ' -f1)
[ "$wizard_shown" -ge "$(watch_gone_time "$splash")" ] ||
  e2e_fail "the wizard appeared before the splash went"
grep -qE "^[0-9]+ shown $loading class=#32770 " "$E2E_WATCH_LOG" ||
  e2e_fail "the loading dialog is no dialog"
e2e_expect_eq "$(watch_texts "$loading" "$loading_id")" \
  $'Initialize TarnInstall Wizard...\nUnpacking the installer files...' \
  "the loading dialog's texts"
loading_gone=$(watch_gone_time "$loading")
splash_shown=${shown%% *}
if [ -z "$loading_gone" ] || [ "$loading_gone" -gt "$splash_shown" ]; then
  e2e_fail "the splash appeared before the loading dialog went"
fi

splash_gone=$(watch_gone_time "$splash")
[ -n "$splash_gone" ] || e2e_fail "the splash never went"
duration=$((splash_gone - splash_shown))
e2e_log "splash on screen for $duration ms; close request sent after about $close_sent s"
if [ "$duration" -lt 4000 ] || [ "$duration" -gt 7000 ]; then
  e2e_fail "the splash was on screen for $duration ms, not about 5 s"
fi

# --- the end ----------------------------------------------------------------
e2e_expect_eq "$E2E_APP_STATUS" 1 "the exit status without an installation"
startup_expect_no_window "after setup ended"
startup_expect_temp_unchanged "$temp_before" "after setup ended"

e2e_end
