#!/usr/bin/env bash
# Shows the scenario library at work on the driver's fixture program: three runs in one fresh
# prefix, checked from the Linux side through the files and registry values the fixture leaves.
#   fixture_demo.sh DRIVERFIXTURE_EXE
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"

fixture=$1
window="Driver Fixture"
key='HKCU\Software\TarnFixture'
name=1001 agree=1102 fruits=1103 ask=1107 status=1110

e2e_begin fixture_demo

if e2e_reg_has_key "$key"; then e2e_fail "a fresh prefix already has $key"; fi
[ ! -e "$(e2e_unix_path 'C:\TarnFixture')" ] || e2e_fail "a fresh prefix already has C:\\TarnFixture"

# --- run 1: fill in the page, answer the question, OK ----------------------
e2e_start "$fixture" --save
e2e_step "the fixture appears" --timeout 60 wait "$window"
e2e_screenshot empty-page
e2e_step "type a name" type "$window" $name "Zoë Quill"
e2e_step "tick the box" tick "$window" $agree
e2e_step "pick a fruit" select "$window" $fruits Cherry
e2e_step "ask the question" --post click "$window" $ask
question=$(e2e_drive msgbox "$window") || e2e_fail "no question appeared"
e2e_expect_eq "$question" "Shall the fixture go on?" "the question"
e2e_screenshot question
e2e_step "answer yes" msgbox "$window" yes
e2e_step "the page took the answer" wait-text "$window" $status "answer: yes"
e2e_screenshot filled-page
e2e_step "press OK" click "$window" 1
e2e_wait_exit 60 || e2e_fail "the fixture did not end after OK"
e2e_expect_eq "$E2E_APP_STATUS" 0 "exit status after OK"

e2e_expect_eq "$(e2e_files TarnFixture)" "result.txt" "the files under C:\\TarnFixture"
# The fixture writes ANSI text: code page 1252 in the prefix's English locale.
summary=$(iconv -f WINDOWS-1252 -t UTF-8 "$(e2e_unix_path 'C:\TarnFixture\result.txt')" | tr -d '\r')
e2e_expect_eq "$summary" $'page=1\nname=Zoë Quill\nagreed=yes\nfruit=Cherry\ncolour=' \
  "the saved summary"
e2e_expect_eq "$(e2e_reg_type "$key" Runs)" REG_DWORD "the type of Runs"
e2e_expect_eq "$(e2e_reg_value "$key" Runs)" 0x1 "Runs after one saved run"
e2e_expect_eq "$(e2e_reg_value "$key" Agreed)" 0x1 "Agreed"
e2e_expect_eq "$(e2e_reg_type "$key" Name)" REG_SZ "the type of Name"
# reg query mangles text outside ASCII; the export keeps it.
grep -qxF '"Name"="Zoë Quill"' <(e2e_reg_export "$key") || e2e_fail "the export lacks the name"
if e2e_reg_value "$key" Missing >/dev/null; then e2e_fail "a missing value was found"; fi

# --- run 2: OK at once saves an empty name ---------------------------------
e2e_start "$fixture" --save
e2e_step "the fixture appears again" --timeout 60 wait "$window"
e2e_step "press OK at once" click "$window" 1
e2e_wait_exit 60 || e2e_fail "the fixture did not end after OK"
e2e_expect_eq "$E2E_APP_STATUS" 0 "exit status after the second OK"
e2e_expect_eq "$(e2e_reg_value "$key" Runs)" 0x2 "Runs after two saved runs"
e2e_expect_eq "$(e2e_reg_value "$key" Name)" "" "the empty name"
e2e_expect_eq "$(e2e_reg_value "$key" Agreed)" 0x0 "Agreed when not ticked"

# --- run 3: the close box cancels and saves nothing ------------------------
e2e_start "$fixture" --save
e2e_step "the fixture appears a third time" --timeout 60 wait "$window"
e2e_step "type a name that is not saved" type "$window" $name "Nobody"
e2e_step "close the window" close "$window"
e2e_wait_exit 60 || e2e_fail "the fixture did not end after the close box"
e2e_expect_eq "$E2E_APP_STATUS" 4 "exit status after the close box"
e2e_expect_eq "$(e2e_reg_value "$key" Runs)" 0x2 "Runs after a cancelled run"

# The scenario wrote into its own copy only.
if grep -q TarnFixture "$TARN_BUILD/wineprefix/user.reg"; then
  e2e_fail "the build's own prefix got the fixture's key"
fi

e2e_end
