#!/usr/bin/env bash
# A Quick Launch shortcut on a current system: "Common AppData" is C:\ProgramData, so the
# shortcut goes to the user's own Quick Launch folder under the roaming application data folder,
# which the installation makes when it is missing; one copy, with its target, arguments and
# working folder.
#   quick_launch.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

packages=$1
setup=$packages/sample-quick/Setup.exe
install='C:\Apps\Quick Sample'

e2e_begin quick_launch
[ -f "$setup" ] || e2e_fail "no package at $setup"
rm -rf "$E2E_PREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Internet\ Explorer/Quick\ Launch

e2e_start "$setup" /S "/D=$install"
e2e_wait_exit 180 || e2e_fail "setup still runs after 3 minutes"
e2e_expect_eq "$E2E_APP_STATUS" 0 "the exit status"

mapfile -t links < <(cd "$E2E_PREFIX/drive_c" && find . -name 'Tarn Sample.Lnk' | sed 's|^\./||' |
  grep -v '/Desktop/' | grep -v '/Start Menu/' || true)
e2e_expect_eq "${#links[@]}" 1 "Tarn Sample shortcuts outside the group and the desktop: ${links[*]}"
case ${links[0]} in
  users/*/AppData/Roaming/Microsoft/Internet\ Explorer/Quick\ Launch/Tarn\ Sample.Lnk) ;;
  *) e2e_fail "the Quick Launch shortcut is in the wrong place: ${links[0]}" ;;
esac
link='C:\'${links[0]//\//\\}
fields=$(e2e_drive link "$link" | tr -d '\r') || e2e_fail "the shortcut cannot be read: $link"
mapfile -t field <<<"$fields"
e2e_expect_eq "${field[0]}" "$install\\SampleApp.exe" "the shortcut's target"
e2e_expect_eq "${field[1]}" "--from-quick-launch" "the shortcut's arguments"
e2e_expect_eq "${field[2]}" "$install" "the shortcut's working folder"
e2e_end
