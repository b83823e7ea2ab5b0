#!/usr/bin/env bash
# A DLL named like a system DLL (atl.dll) lies next to Setup.exe, as in a downloads folder: the
# setup program must never load it. Wine is told to prefer DLLs found on disk to its own, as
# Windows would; the planted DLL writes a marker file when it is loaded.
#   planted_dll.sh PACKAGES_FOLDER PLANTED_DLL
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

e2e_begin planted_dll
folder=$E2E_DIR/downloads
mkdir -p "$folder"
cp "$1/sample-no-ad/Setup.exe" "$folder/"
cp "$2" "$folder/atl.dll"
marker=$(e2e_unix_path 'C:\tarn-planted-dll-loaded.txt')
[ ! -e "$marker" ] || e2e_fail "a fresh prefix has the marker"

WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;atl=n,b" e2e_start "$folder/Setup.exe"
e2e_step "the wizard appears" --timeout 90 wait "$WIZARD"
wizard_next_to licence Button "$LICENCE_ACCEPT"
e2e_step "Cancel" --post click "$WIZARD" "$WIZARD_CANCEL"
e2e_step "Yes to the exit question" msgbox "$WIZARD" yes
e2e_wait_exit 60 || e2e_fail "setup did not end"
[ ! -e "$marker" ] || e2e_fail "the planted atl.dll was loaded"

e2e_end
