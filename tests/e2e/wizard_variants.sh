#!/usr/bin/env bash
# The wizard's other endings and a split package: a progress page that is the last page closes
# the wizard without a finish page; the finish page that offers a restart closes without one when
# its box is unticked; a package on three volumes whose third volume is elsewhere asks for it
# during the installation and completes once it is pointed to.
#   wizard_variants.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

packages=$1
installed='C:\Program Files\Tarn Sample\ReadMe.txt'
media="Select location"
media_location=1013
media_ok=1020

e2e_begin wizard_variants

# Leaves no installation behind for the next run in the same prefix.
forget_installation() {
  rm -rf "$(e2e_unix_path 'C:\Program Files\Tarn Sample')"
  e2e_wine reg delete 'HKLM\SOFTWARE\TarnSoft' /f >/dev/null 2>&1 || true
}

e2e_log "the progress page is the last page"
e2e_start "$packages/sample-last-progress/Setup.exe"
wizard_walk_to_progress
e2e_step "last-progress: the wizard closes by itself" --timeout 120 wait-gone "$WIZARD"
e2e_wait_exit 30 || e2e_fail "last-progress: setup did not end"
e2e_expect_eq "$E2E_APP_STATUS" 0 "last-progress: the exit status"
[ -f "$(e2e_unix_path "$installed")" ] || e2e_fail "last-progress: nothing was installed"
forget_installation

e2e_log "the finish page offering a restart"
e2e_start "$packages/sample-restart/Setup.exe"
wizard_walk_to_progress
e2e_step "restart: the finish page" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
e2e_screenshot restart-finish
e2e_expect_eq "$(wizard_text 999)" "I want to restart my computer now." "restart: the box's text"
e2e_step "restart: the box starts ticked" is "$WIZARD" 999 checked
e2e_step "restart: untick it" untick "$WIZARD" 999
e2e_step "restart: Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 30 || e2e_fail "restart: setup did not end"
e2e_expect_eq "$E2E_APP_STATUS" 0 "restart: the exit status"
forget_installation

e2e_log "a split package with its third volume elsewhere"
split=$E2E_DIR/split
mkdir -p "$split/disk3"
cp "$packages"/sample-split/* "$split/"
mv "$split/Setup3.Cab" "$split/disk3/"
e2e_start "$split/Setup.exe"
wizard_walk_to_progress
e2e_step "split: the third volume is asked for" --timeout 120 wait "$media"
e2e_screenshot split-insert-media
e2e_step "split: point to its folder" type "$media" "$media_location" \
  "$(wizard_windows_path "$split/disk3")"
e2e_step "split: OK" click "$media" "$media_ok"
e2e_step "split: the installation completes" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
e2e_step "split: no program started" untick "$WIZARD" 10001
e2e_step "split: Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 30 || e2e_fail "split: setup did not end"
e2e_expect_eq "$E2E_APP_STATUS" 0 "split: the exit status"
for file in ReadMe.txt Data/lakes.dat "Data/Samples/Notes, Spring.txt"; do
  [ -f "$(e2e_unix_path 'C:\Program Files\Tarn Sample')/$file" ] || e2e_fail "split: no $file"
done

e2e_end
