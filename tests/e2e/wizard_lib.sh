# shellcheck shell=bash
# Helpers of the wizard scenarios; source after lib.sh and e2e_begin.

# The sample's wizard: its caption is the project's name and version, then " Setup".
WIZARD="Tarn Sample 1.0 Setup"
# Control IDs of the frame and of the pages the scenarios look at. The pages reuse IDs of the
# frame's own controls (1000 to 1003), so those are named with their window class too.
WIZARD_BACK=1000
WIZARD_NEXT=1001
WIZARD_CANCEL=2
LICENCE_ACCEPT=1002
LICENCE_REJECT=1003
USER_NAME=1005
USER_COMPANY=1006
FOLDER_NAME=1013
FOLDER_LIST=1014
INSTALL_PATH=1008
INSTALL_DRIVES=1006
PROGRESS_STATUS=1017
PROGRESS_BAR=1018

# Clicks Next and waits until the page's control of the given class and ID is visible.
wizard_next_to() {  # WHAT CLASS CONTROL_ID
  e2e_step "$1: Next" click "$WIZARD" "$WIZARD_NEXT"
  e2e_step "$1: its page shows" --class "$2" wait-state "$WIZARD" "$3" visible
  e2e_screenshot "$1"
}

# The text of a control of the wizard, optionally of the given class.
wizard_text() {  # CONTROL_ID [CLASS]
  e2e_drive ${2:+--class "$2"} text "$WIZARD" "$1" | tr -d '\r'
}

# From the welcome page to the progress page with every page's defaults, the licence accepted.
wizard_walk_to_progress() {
  e2e_step "the wizard appears" --timeout 90 wait "$WIZARD"
  e2e_screenshot welcome
  wizard_next_to licence Button "$LICENCE_ACCEPT"
  e2e_step "licence: accept" --class Button click "$WIZARD" "$LICENCE_ACCEPT"
  wizard_next_to readme Button "$WIZARD_NEXT"
  wizard_next_to user-information Edit "$USER_NAME"
  wizard_next_to program-folder Edit "$FOLDER_NAME"
  wizard_next_to install-path Edit "$INSTALL_PATH"
  wizard_next_to progress msctls_progress32 "$PROGRESS_BAR"
}

# The Windows path of a folder on the Linux side (drive Z: is the Linux root).
wizard_windows_path() {  # LINUX_PATH
  local path
  path=$(cd "$1" && pwd)
  printf 'Z:%s\n' "${path//\//\\}"
}
