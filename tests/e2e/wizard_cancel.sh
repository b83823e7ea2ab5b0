#!/usr/bin/env bash
# Leaving the sample's installation: Escape, the close box and Cancel ask the exit question on the
# pages before the installation (No stays), Cancel during the installation is asked about by the
# installation itself (No goes on, Yes abandons it), and an abandoned installation is rolled
# back: its files and the folders it made go. The log asked for on the command line holds the
# answers, the refused folders, the roll-back and the exit status.
#   wizard_cancel.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

setup=$1/sample-no-ad/Setup.exe
install='C:\Program Files\Tarn Sample'

e2e_begin wizard_cancel
log='C:\cancel.log'
e2e_start "$setup" "/LOG=$log"
e2e_step "the wizard appears" --timeout 90 wait "$WIZARD"

# Asks the exit question through Escape, the close box and Cancel, answering No each time.
ask_and_stay() {  # PAGE
  e2e_step "$1: Escape" key "$WIZARD" escape
  e2e_step "$1: the exit question, No" msgbox "$WIZARD" no
  e2e_step "$1: the close box" --post close "$WIZARD"
  e2e_step "$1: the exit question again, No" msgbox "$WIZARD" no
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
# An existing Start-menu folder picked from the list becomes the name; typing changes it freely.
e2e_step "program folder: pick StartUp" select "$WIZARD" "$FOLDER_LIST" StartUp
e2e_expect_eq "$(wizard_text "$FOLDER_NAME" Edit)" StartUp "the picked program folder"
e2e_step "program folder: type a name" type "$WIZARD" "$FOLDER_NAME" "Tarn Sample"
wizard_next_to install-path Edit "$INSTALL_PATH"

# Another drive keeps the product's folder under its Program Files folder; a path too short or
# on a drive that does not exist keeps the wizard on the page.
drives=$(e2e_drive --class ComboBox items "$WIZARD" "$INSTALL_DRIVES" | tr -d '\r')
[ "$(grep -c . <<<"$drives")" -ge 2 ] || e2e_fail "install path: drives listed: $drives"
e2e_step "install path: the second drive" --class ComboBox select "$WIZARD" "$INSTALL_DRIVES" '#1'
second=$(wizard_text "$INSTALL_PATH" Edit)
[[ "$second" =~ ^[D-Z]:\\Program\ Files\\Tarn\ Sample$ ]] ||
  e2e_fail "install path: the other drive gave '$second'"
e2e_step "install path: back to drive C" --class ComboBox select "$WIZARD" "$INSTALL_DRIVES" '#0'
e2e_expect_eq "$(wizard_text "$INSTALL_PATH" Edit)" "$install" "install path: drive C again"
for path in 'C:' 'Q:\Tarn Sample'; do
  e2e_step "install path: $path" --class Edit type "$WIZARD" "$INSTALL_PATH" "$path"
  e2e_step "install path: Next with $path" click "$WIZARD" "$WIZARD_NEXT"
  sleep 0.5
  e2e_step "install path: $path stays" --class Edit is "$WIZARD" "$INSTALL_PATH" visible
done
e2e_screenshot install-path-refused
e2e_step "install path: the default again" --class Edit type "$WIZARD" "$INSTALL_PATH" "$install"
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

# Rolled back: no file of the installation is left. Folders go in the order they are listed,
# each when empty; the sample's list is deepest first, so the installation folder goes too.
folder_files=$(e2e_files "${install#C:\\}" || true)
e2e_expect_eq "$folder_files" "" "files left after the roll-back"
[ ! -e "$(e2e_unix_path "$install")/Docs" ] || e2e_fail "the created Docs folder is still there"
[ ! -e "$(e2e_unix_path "$install")" ] || e2e_fail "the installation folder is still there"
if e2e_reg_has_key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarn Sample 1.0'; then
  e2e_fail "the abandoned installation is registered for uninstalling"
fi

logged=$(tr -d '\r' <"$(e2e_unix_path "$log")" | cut -c25-)
e2e_expect_eq "$(grep -c '^Question "Exit Setup": .* -> No$' <<<"$logged")" 10 "answers No logged"
e2e_expect_eq "$(grep -c '^Question "Exit Setup": .* -> Yes$' <<<"$logged")" 1 "answers Yes logged"
for line in 'Installation folder refused, too short or too long: "C:"' \
  'Installation folder refused, it cannot be created or entered: "Q:\Tarn Sample"' \
  "Installation starts: folder \"$install\", program folder \"Tarn Sample\"" \
  'Installation abandoned' 'Rolling back the installation' \
  'Setup ends: nothing installed, exit status 1'; do
  grep -qxF -- "$line" <<<"$logged" || e2e_fail "the log lacks: $line"$'\n'"$logged"
done

e2e_end
