#!/usr/bin/env bash
# Leaving the sample's installation: the close box and Cancel ask the exit question on the
# pages before the installation (No stays), Cancel during the installation is asked about by the
# installation itself (No goes on, Yes abandons it), and an abandoned installation is rolled
# back: its files and the folders it made go.
#   wizard_cancel.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

setup=$1/sample-no-ad/Setup.exe
install='C:\Program Files\Tarn Sample'

e2e_begin wizard_cancel
e2e_start "$setup"
e2e_step "the wizard appears" --timeout 90 wait "$WIZARD"

# Asks the exit question through the close box and through Cancel, answering No each time.
ask_and_stay() {  # PAGE
  e2e_step "$1: the close box" --post close "$WIZARD"
  e2e_step "$1: the exit question, No" msgbox "$WIZARD" no
  e2e_step "$1: Cancel" --post click "$WIZARD" "$WIZARD_CANCEL"
  e2e_step "$1: the exit question again, No" msgbox "$WIZARD" no
  e2e_step "$1: the wizard stays" wait "$WIZARD"
}

ask_and_stay welcome
wizard_next_to licence Button "$LICENCE_ACCEPT"
ask_and_stay licence
e2e_step "licence: accept" --class Button click "$WIZARD" "$LICENCE_ACCEPT"
wizard_next_to readme Button "$WIZARD_NEXT"
wizard_next_to user-information Edit "$USER_NAME"
wizard_next_to program-folder Edit "$FOLDER_NAME"
wizard_next_to install-path Edit "$INSTALL_PATH"
ask_and_stay install-path

# During the installation Cancel only asks the worker; its question comes at its next pause.
e2e_step "progress: Next" click "$WIZARD" "$WIZARD_NEXT"
e2e_step "progress: Cancel" --post click "$WIZARD" "$WIZARD_CANCEL"
question=$(e2e_drive --timeout 30 msgbox "$WIZARD" no) || e2e_fail "no question after Cancel"
e2e_expect_eq "$question" \
  "Setup is not complete. If you quit now, The program will not be installed. Exit Setup?" \
  "the question during the installation"
e2e_screenshot progress-after-no
e2e_step "progress: Cancel again" --post click "$WIZARD" "$WIZARD_CANCEL"
e2e_step "progress: Yes abandons" --timeout 30 msgbox "$WIZARD" yes
e2e_wait_exit 60 || e2e_fail "setup did not end after the installation was abandoned"
e2e_expect_eq "$E2E_APP_STATUS" 1 "the exit status after an abandoned installation"

# Rolled back: no file of the installation is left. Folders go in the order they were made,
# so one listed before its sub-folders (the installation folder itself) stays, empty.
folder_files=$(e2e_files "${install#C:\\}" || true)
e2e_expect_eq "$folder_files" "" "files left after the roll-back"
[ ! -e "$(e2e_unix_path "$install")/Docs" ] || e2e_fail "the created Docs folder is still there"
if e2e_reg_has_key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarn Sample 1.0'; then
  e2e_fail "the abandoned installation is registered for uninstalling"
fi

e2e_end
