#!/usr/bin/env bash
# The remembered installation folder. Setup reads the "Path" value under HKLM
# \SOFTWARE\TarnSoft\TarnInstall\<company>\<project>, creating that key when it is missing, and
# only when that value is empty the one under \SOFTWARE\TarnSoft\TarnInstall\<project>. Until
# the wizard shows the folder, what can be seen from outside is the key it creates, that it
# only reads (values unchanged, the project-only key never created), and, in Wine's registry
# trace, which keys it opens: the project-only key is not opened when the company key holds
# a Path.
#   startup_remembered.sh PACKAGES_DIR
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/startup_lib.sh
source "$(dirname "$0")/startup_lib.sh"

setup=$1/sample-no-ad/Setup.exe
product='HKLM\SOFTWARE\TarnSoft\TarnInstall'
company_key="$product\\TarnSoft Samples\\Tarn Sample"
project_key="$product\\Tarn Sample"
company_path='D:\Remembered\Tarn Sample'
project_path='E:\Project Only\Tarn Sample'

e2e_begin startup_remembered

# run NAME: one run of setup with Wine's registry trace in logs/NAME.log.
run() {
  local before
  before=$(startup_temp_listing)
  WINEDEBUG=trace+reg e2e_start "$setup"
  startup_leave_wizard "$1"
  e2e_wait_exit 60 || e2e_fail "$1: setup still runs after a minute"
  # The trace may still be on its way into the log when the launcher has returned: wait until
  # the log has stopped growing for half a second (ten seconds at most).
  local size=-1 _
  for _ in $(seq 1 20); do
    [ "$(stat -c %s "$E2E_LOGS/app.log")" = "$size" ] && break
    size=$(stat -c %s "$E2E_LOGS/app.log")
    sleep 0.5
  done
  mv "$E2E_LOGS/app.log" "$E2E_LOGS/$1.log"
  e2e_screenshot "$1-after-exit"
  e2e_expect_eq "$E2E_APP_STATUS" 1 "$1: the exit status"
  startup_expect_no_window "$1: after setup ended"
  startup_expect_temp_unchanged "$before" "$1: after setup ended"
}

# Whether the run's trace (Wine's ntdll, channel "reg") shows setup opening a key under
# \SOFTWARE\TarnSoft\TarnInstall: the trace writes the path relative to HKLM as a wide string
# with doubled backslashes.
opened_key() {  # NAME SUBKEY
  local wide="SOFTWARE\\\\TarnSoft\\\\TarnInstall\\\\${2//\\/\\\\}"
  # No -q: an early exit would kill the first grep with SIGPIPE, which pipefail reports as failure.
  grep 'trace:reg:NtOpenKeyEx ' "$E2E_LOGS/$1.log" | grep -F ",L\"$wide\"," >/dev/null
}
opened_project_key() { opened_key "$1" 'Tarn Sample'; }
opened_company_key() { opened_key "$1" 'TarnSoft Samples\Tarn Sample'; }

# --- no keys: the company key is created, empty; the project-only key is looked for ---------
if e2e_reg_has_key "$product"; then e2e_fail "a fresh prefix already has $product"; fi
run fresh
e2e_reg_has_key "$company_key" || e2e_fail "fresh: setup did not create $company_key"
values=$(e2e_wine reg query "$company_key" | tr -d '\r' | grep -c '    REG_' || true)
e2e_expect_eq "$values" 0 "fresh: values under the created key"
if e2e_reg_has_key "$project_key"; then e2e_fail "fresh: setup created $project_key"; fi
opened_company_key fresh || e2e_fail "fresh: the trace shows no look at the company key"
opened_project_key fresh || e2e_fail "fresh: the empty Path did not make setup look further"

# --- Path under both keys: the company key's wins, the other key is not even opened -----------
e2e_wine reg add "$company_key" /v Path /t REG_SZ /d "$company_path" /f >/dev/null
e2e_wine reg add "$project_key" /v Path /t REG_SZ /d "$project_path" /f >/dev/null
run both
e2e_expect_eq "$(e2e_reg_value "$company_key" Path)" "$company_path" "both: the company key's Path"
e2e_expect_eq "$(e2e_reg_value "$project_key" Path)" "$project_path" "both: the project key's Path"
if opened_project_key both; then
  e2e_fail "both: setup opened $project_key although $company_key holds a Path"
fi

# --- Path under the project-only key alone: that key is read --------------------------------
e2e_wine reg delete "$company_key" /v Path /f >/dev/null
run project-only
opened_project_key project-only || e2e_fail "project-only: setup did not look at $project_key"
e2e_expect_eq "$(e2e_reg_value "$project_key" Path)" "$project_path" \
  "project-only: the project key's Path"
if e2e_reg_value "$company_key" Path >/dev/null; then
  e2e_fail "project-only: setup wrote a Path under $company_key"
fi

e2e_end
