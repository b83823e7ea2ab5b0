#!/usr/bin/env bash
# Unattended installations of the sample, as an administrator's script runs them: /S with /D=
# (blanks, unquoted) and /GROUP= installs without a single window, leaves the files, registry
# data and shortcuts an interactive run leaves, and logs every file; a file that cannot be
# written abandons the run and rolls it back (exit 1, the log says why); a bad option ends at
# once with exit 2 and nothing installed, its usage in the log, or in a box when not silent. A
# missing volume and a broken package end with exit 1, without a window either.
#   silent_install.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

packages=$1
setup=$packages/sample/Setup.exe
tarnpack=${TARNPACK:-$TARN_ROOT/build/native/bin/tarnpack}
install='C:\Apps\Silent Tarn Sample'
group='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Silent Sample'
log='C:\silent install.log'

e2e_begin silent_install
[ -f "$setup" ] || e2e_fail "no package at $setup"

log_text() { tr -d '\r' <"$(e2e_unix_path "$1")"; }
expect_logged() {  # LOG TEXT
  grep -qF -- "$2" <<<"$(log_text "$1")" || e2e_fail "the log $1 lacks: $2"
}
# Runs a setup program with the given arguments under a window watch; fails if any window
# appeared.
run_unseen() {  # NAME SETUP ARGS...
  local name=$1
  shift
  e2e_watch_start "$name"
  e2e_start "$@"
  e2e_wait_exit 180 || e2e_fail "$name: setup still runs after 3 minutes"
  e2e_watch_stop
  if grep -q ' shown ' "$E2E_WATCH_LOG"; then
    e2e_fail "$name: a window was shown (timeline in $E2E_WATCH_LOG)"
  fi
}

# --- a silent installation ------------------------------------------------------------------
# The user information step takes the owner Windows has registered.
e2e_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v RegisteredOwner \
  /t REG_SZ /d 'Rita Admin' /f >/dev/null || e2e_fail "could not register an owner"
# Wine quotes an argument with a blank, so the installation folder is given as three words:
# the program sees them unquoted, as an administrator types them.
# The package shows an advertisement picture in the wizard's way; not here.
run_unseen silent "$setup" /S "/LOG=$log" /group="Silent Sample" '/D=C:\Apps\Silent' Tarn Sample
e2e_expect_eq "$E2E_APP_STATUS" 0 "silent: the exit status"

samples=$TARN_ROOT/examples/sample/files
for file in ReadMe.txt "Docs/Getting Started.txt" Data/lakes.dat Data/Settings.ini; do
  cmp -s "$samples/$file" "$(e2e_unix_path "$install")/$file" || e2e_fail "silent: $file differs"
done
registration='HKCU\Software\TarnSoft Samples\Tarn Sample\Registration'
e2e_expect_eq "$(e2e_reg_value "$registration" UserName)" "Rita Admin" "silent: the registered owner"
product='HKLM\SOFTWARE\TarnSoft\TarnInstall\TarnSoft Samples\Tarn Sample'
e2e_expect_eq "$(e2e_reg_value "$product" Path)" "$install" "silent: the remembered path"
e2e_expect_eq "$(e2e_reg_value "$product\\1.0" ProgramFolder)" "$group" "silent: the program folder"
e2e_expect_eq "$(e2e_reg_value "$product\\1.0" FileLinkCount)" 0x1 \
  "silent: the finish page's shortcut, ticked"
links=$(e2e_files "${group#C:\\}" | tr '\n' '|')
[[ "$links" == *"Tarn Sample.Lnk"* ]] || e2e_fail "silent: no program shortcut in the group: $links"
desktop=$(find "$E2E_PREFIX/drive_c/users" -path '*/Desktop/*.Lnk' | head -n 1)
[ -n "$desktop" ] || e2e_fail "silent: the optional desktop shortcut was not made"

unix_log=$(e2e_unix_path "$log")
iconv -f UTF-8 -t UTF-8 "$unix_log" >/dev/null || e2e_fail "silent: the log is not UTF-8"
grep -qvE $'^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:.]{12} .*\r$' "$unix_log" &&
  e2e_fail "silent: a log line without its time: $(grep -vE '^[0-9]{4}-' "$unix_log" | head -n 1)"
# Every file of the package but the installer's own (K) is listed with its target; the
# package's own list names them (one project line may stand for a whole folder).
"$tarnpack" list "$setup" >"$E2E_LOGS/package.list" || e2e_fail "silent: tarnpack cannot list $setup"
while IFS=$'\t' read -r target kind; do
  [[ "$kind" == K ]] && continue
  case $target in
    '[InstallDir]'*) target=$install${target#'[InstallDir]'} ;;
    '[Windows Directory]'*) target='C:\windows'${target#'[Windows Directory]'} ;;
  esac
  expect_logged "$log" "File written: \"$target\" ("
done < <(sed -nE 's/^file    ([A-Z]) volume [0-9]+ at [0-9]+, [0-9]+ bytes, [^ ]+ [^ ]+  (.*)$/\2\t\1/p' \
  "$E2E_LOGS/package.list")
[ "$(grep -c ' File written: "' "$unix_log")" -eq "$(grep -c '^file    [^K]' "$E2E_LOGS/package.list")" ] ||
  e2e_fail "silent: the log does not name as many files as the package holds"
for line in "(from the command line)" "Licence accepted by the silent installation" \
  "Folder created: \"$install\"" "Registry value written: HKEY_CURRENT_USER\\Software\\TarnSoft Samples" \
  "Shortcut created: " "Installation completed" \
  "Programs of the finish page not started" "Setup ends: installation completed, exit status 0"; do
  expect_logged "$log" "$line"
done

# --- a file that cannot be written ----------------------------------------------------------
blocked='C:\Apps\Blocked'
mkdir -p "$(e2e_unix_path "$blocked")/Data/Settings.ini"
run_unseen write-error "$setup" /S '/LOG=C:\blocked.log' "/D=$blocked"
e2e_expect_eq "$E2E_APP_STATUS" 1 "write error: the exit status"
left=$(cd "$(e2e_unix_path "$blocked")" && find . -type f | sort)
e2e_expect_eq "$left" "" "write error: files left after the roll-back"
expect_logged 'C:\blocked.log' "File not written: \"$blocked\\Data\\Settings.ini\" ("
expect_logged 'C:\blocked.log' " -> Yes"
expect_logged 'C:\blocked.log' "Installation abandoned"
expect_logged 'C:\blocked.log' "Roll-back: file removed: \"$blocked\\SampleApp.exe\""
expect_logged 'C:\blocked.log' "Setup ends: nothing installed, exit status 1"

# --- a volume that is not there, and a broken package --------------------------------------
alone=$E2E_DIR/split-alone
mkdir -p "$alone"
cp "$packages/sample-split/Setup.exe" "$alone/"
run_unseen missing-volume "$alone/Setup.exe" /S '/LOG=C:\volume.log' '/D=C:\Apps\Split'
e2e_expect_eq "$E2E_APP_STATUS" 1 "missing volume: the exit status"
left=$(cd "$(e2e_unix_path 'C:\Apps\Split')" 2>/dev/null && find . -type f | sort || true)
e2e_expect_eq "$left" "" "missing volume: files left after the roll-back"
expect_logged 'C:\volume.log' " given up"
expect_logged 'C:\volume.log' "Installation abandoned"

broken=$E2E_DIR/broken
mkdir -p "$broken"
head -c $(($(stat -c %s "$setup") - 100)) "$setup" >"$broken/Setup.exe"
run_unseen broken "$broken/Setup.exe" /S '/LOG=C:\broken.log'
e2e_expect_eq "$E2E_APP_STATUS" 1 "broken package: the exit status"
expect_logged 'C:\broken.log' "The package cannot be loaded: "
expect_logged 'C:\broken.log' "Setup ends: nothing installed, exit status 1"

# --- bad command lines ----------------------------------------------------------------------
run_unseen bad-option "$setup" /S '/LOG=C:\bad.log' /bogus '/D=C:\Apps\Never'
e2e_expect_eq "$E2E_APP_STATUS" 2 "bad option: the exit status"
[ ! -e "$(e2e_unix_path 'C:\Apps\Never')" ] || e2e_fail "bad option: something was installed"
expect_logged 'C:\bad.log' "Bad command line: "
expect_logged 'C:\bad.log' "Usage: "
run_unseen bad-log "$setup" /S '/LOG=C:\no such folder\setup.log'
e2e_expect_eq "$E2E_APP_STATUS" 2 "a log that cannot be created: the exit status"

e2e_start "$setup" /D=relative
e2e_step "interactive bad option: the usage box" --timeout 60 wait Setup
e2e_screenshot usage-box
usage=$(e2e_drive --box-caption msgbox Setup ok) ||
  e2e_fail "interactive bad option: no usage box"
e2e_wait_exit 30 || e2e_fail "interactive bad option: setup still runs after its box"
e2e_expect_eq "$E2E_APP_STATUS" 2 "interactive bad option: the exit status"
[[ "$usage" == *"Usage: "* ]] || e2e_fail "interactive bad option: the box says $usage"

e2e_end
