#!/usr/bin/env bash
# The sample installed as a person does it, from the welcome page to Finish: every page seen
# (screenshots), the licence gate, the user's name written through the project's registry
# operations, the default program folder and path, the progress, the finish page's program and
# optional shortcut; then the files, registry data, shortcuts and uninstall data on the disk.
#   wizard_install.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

setup=$1/sample-no-ad/Setup.exe
install='C:\Program Files\Tarn Sample'
group='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tarn Sample'

e2e_begin wizard_install
[ -f "$setup" ] || e2e_fail "no package at $setup"
e2e_start "$setup"
e2e_step "the wizard appears" --timeout 90 wait "$WIZARD"
e2e_screenshot welcome

# Back on the first page stays there: the licence page would disable Next.
e2e_step "Back on the first page" --class Button click "$WIZARD" "$WIZARD_BACK"
e2e_step "Back stays enabled there" --class Button is "$WIZARD" "$WIZARD_BACK" enabled
e2e_step "and the licence page is not shown" --class Button is "$WIZARD" "$LICENCE_ACCEPT" hidden

wizard_next_to licence Button "$LICENCE_ACCEPT"
e2e_step "licence: reject is checked on first entry" --class Button \
  is "$WIZARD" "$LICENCE_REJECT" checked
e2e_step "licence: Next waits for the acceptance" is "$WIZARD" "$WIZARD_NEXT" disabled
e2e_step "licence: accept" --class Button click "$WIZARD" "$LICENCE_ACCEPT"
e2e_step "licence: Next is enabled at once" is "$WIZARD" "$WIZARD_NEXT" enabled
e2e_step "licence: Back" --class Button click "$WIZARD" "$WIZARD_BACK"
e2e_step "welcome again" --class Button wait-state "$WIZARD" "$LICENCE_ACCEPT" hidden
wizard_next_to licence-again Button "$LICENCE_ACCEPT"
e2e_step "licence: the choice is kept" --class Button is "$WIZARD" "$LICENCE_ACCEPT" checked
e2e_step "licence: Next enabled on entry" is "$WIZARD" "$WIZARD_NEXT" enabled
licence_text=$(wizard_text 1000 RichEdit20A)
[[ "$licence_text" == *"Tarn Sample"* ]] || e2e_fail "the licence text is not shown: $licence_text"

e2e_step "readme: Next" click "$WIZARD" "$WIZARD_NEXT"
e2e_step "readme: the licence page went" --class Button wait-state "$WIZARD" "$LICENCE_ACCEPT" hidden
e2e_screenshot readme
wizard_next_to user-information Edit "$USER_NAME"
e2e_step "user information: a name" type "$WIZARD" "$USER_NAME" "Ann Example"
e2e_step "user information: no company" --class Edit type "$WIZARD" "$USER_COMPANY" ""
wizard_next_to program-folder Edit "$FOLDER_NAME"
e2e_expect_eq "$(wizard_text "$FOLDER_NAME" Edit)" "Tarn Sample" "the default program folder"
wizard_next_to install-path Edit "$INSTALL_PATH"
e2e_expect_eq "$(wizard_text "$INSTALL_PATH" Edit)" "$install" "the default installation folder"
wizard_next_to progress msctls_progress32 "$PROGRESS_BAR"
e2e_step "progress: Back and Next are disabled" --class Button is "$WIZARD" "$WIZARD_BACK" disabled

# The finish page: Next becomes Finish; one box per program to start and optional shortcut.
e2e_step "the installation completes" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
e2e_screenshot finish
e2e_step "finish: Cancel is disabled" is "$WIZARD" "$WIZARD_CANCEL" disabled
e2e_step "finish: the program box starts ticked" is "$WIZARD" 10001 checked
e2e_step "finish: the shortcut box starts ticked" is "$WIZARD" 30015 checked
e2e_step "finish: no desktop shortcut then" untick "$WIZARD" 30015
e2e_step "Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 60 || e2e_fail "setup did not end after Finish"
e2e_expect_eq "$E2E_APP_STATUS" 0 "the exit status after a completed installation"

# The program chosen on the finish page runs with its parameter.
e2e_step "the sample application starts" --partial --timeout 30 wait "Tarn Sample"
e2e_screenshot sample-application
e2e_step "close the sample application" close "Tarn Sample"

# Files, with their content and time stamps.
samples=$TARN_ROOT/examples/sample/files
for file in ReadMe.txt "Docs/Getting Started.txt" Data/lakes.dat Data/Settings.ini; do
  cmp -s "$samples/$file" "$(e2e_unix_path "$install")/$file" || e2e_fail "$file differs"
done
cmp -s "$TARN_ROOT/examples/sample/notes/Notes-Spring.txt" \
  "$(e2e_unix_path "$install")/Data/Samples/Notes, Spring.txt" || e2e_fail "Notes, Spring.txt"
[ -f "$(e2e_unix_path 'C:\windows\Tarn-UnInstall.exe')" ] || e2e_fail "no uninstaller"
[ ! -e "$(e2e_unix_path "$install")/Data/lakes.tmp" ] || e2e_fail "the leftover is still there"

# Registry data: the user's name, the empty company falling back to the project's value, the
# project's operations, the uninstall registration and the product keys.
registration='HKCU\Software\TarnSoft Samples\Tarn Sample\Registration'
e2e_expect_eq "$(e2e_reg_value "$registration" UserName)" "Ann Example" "the user name"
e2e_expect_eq "$(e2e_reg_value "$registration" Company)" "Sample Company" "the company"
e2e_expect_eq "$(e2e_reg_value 'HKLM\Software\TarnSoft Samples\Tarn Sample' Program)" \
  "$install\\SampleApp.exe /welcome" "the program value"
e2e_expect_eq "$(e2e_reg_value 'HKCU\Software\TarnSoft Samples\Tarn Sample\Settings' WindowWidth)" \
  0x1e0 "the window width"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarn Sample 1.0'
e2e_expect_eq "$(e2e_reg_value "$uninstall" DisplayName)" "Tarn Sample 1.0" "DisplayName"
record="$install\\TarnUninstall Tarn Sample 1.0.UCIP"
e2e_expect_eq "$(e2e_reg_value "$uninstall" UninstallString)" \
  "C:\\windows\\Tarn-UnInstall.exe $record" "UninstallString"
e2e_expect_eq "$(e2e_reg_type 'HKCR\TarnUnInstall\Shell\Open\Command' '')" REG_EXPAND_SZ \
  "the open command's type"
product='HKLM\SOFTWARE\TarnSoft\TarnInstall\TarnSoft Samples\Tarn Sample'
e2e_expect_eq "$(e2e_reg_value "$product" Path)" "$install" "the remembered path"
e2e_expect_eq "$(e2e_reg_value "$product\\1.0" ProgramFolder)" "$group" "the program folder"
e2e_expect_eq "$(e2e_reg_value "$product\\1.0" FileLinkCount)" 0x0 "optional shortcuts made"
grep -q '<Task ID="2412"' "$(e2e_unix_path "$record")" || e2e_fail "the record lacks the file list"

# Shortcuts: the program group's, and no desktop shortcut since its box was unticked.
links=$(e2e_files "${group#C:\\}" | tr '\n' '|')
[[ "$links" == *"Tarn Sample.Lnk"* ]] || e2e_fail "no program shortcut in the group: $links"
[[ "$links" == *"Uninstall"*".Lnk"* ]] || e2e_fail "no uninstall shortcut in the group: $links"
desktop=$(find "$E2E_PREFIX/drive_c/users" -path '*/Desktop/*.Lnk' | head -n 1)
[ -z "$desktop" ] || e2e_fail "a desktop shortcut was made: $desktop"

e2e_end
