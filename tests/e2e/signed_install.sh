#!/usr/bin/env bash
# The sample signed with osslsigncode installs completely: the setup program finds its package
# before the certificate table that signing appended.
#   signed_install.sh PACKAGES_FOLDER
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$(dirname "$0")/wizard_lib.sh"

setup=$1/sample-signed/Setup.exe
install='C:\Program Files\Tarn Sample'

e2e_begin signed_install
[ -f "$setup" ] || e2e_fail "no package at $setup"
e2e_start "$setup"
wizard_walk_to_progress
e2e_step "the installation completes" --timeout 120 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
e2e_screenshot finish
# The sample application would keep its window open.
e2e_step "finish: do not start the program" untick "$WIZARD" 10001
e2e_step "Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 60 || e2e_fail "setup did not end after Finish"
e2e_expect_eq "$E2E_APP_STATUS" 0 "the exit status after a completed installation"

samples=$TARN_ROOT/examples/sample/files
for file in ReadMe.txt "Docs/Getting Started.txt" Data/lakes.dat Data/Settings.ini; do
  cmp -s "$samples/$file" "$(e2e_unix_path "$install")/$file" || e2e_fail "$file differs"
done
[ -f "$(e2e_unix_path 'C:\windows\Tarn-UnInstall.exe')" ] || e2e_fail "no uninstaller"
e2e_expect_eq "$(e2e_reg_value 'HKLM\SOFTWARE\TarnSoft\TarnInstall\TarnSoft Samples\Tarn Sample' Path)" \
  "$install" "the remembered path"

e2e_end
