# shellcheck shell=bash
# Helpers of the removal scenarios; source after lib.sh and e2e_begin.

# The uninstaller's window: its caption is the language file's UnInstallWindowTitle.
UNINSTALLER="Uninstall"
UNINSTALL_REMOVE=1205
UNINSTALL_CLOSE=1206
UNINSTALL_STATUS=1203
UNINSTALL_ENTRY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# What an installation may leave behind, in a form two states can be compared in: the files of
# drive C: (without the temporary folders, which every Wine process writes to) and the
# registry keys the setup and the uninstaller write to (without Wine's own, which it changes
# as it runs).
uninstall_snapshot() {  # NAME
  local file=$E2E_LOGS/snapshot-$1.txt key
  {
    e2e_files | grep -vE '^(users/[^/]*/Temp|users/[^/]*/AppData/Local/Temp|windows/temp)/' || true
    for key in 'HKLM\Software' 'HKCU\Software' 'HKCR\.UCIP' 'HKCR\TarnUnInstall'; do
      echo "== $key"
      e2e_reg_export "$key" |
        awk '/^\[/ { skip = ($0 ~ /^\[HKEY_(CURRENT_USER|LOCAL_MACHINE)\\Software\\Wine[]\\]/) } !skip' ||
        true
    done
  } >"$file"
  printf '%s\n' "$file"
}

# Fails unless two snapshots are equal, showing the difference.
uninstall_expect_same() {  # BEFORE AFTER WHAT
  diff -u "$1" "$2" >"$E2E_LOGS/snapshot.diff" ||
    e2e_fail "$3: the machine differs from before (diff in $E2E_LOGS/snapshot.diff): $(head -c 600 "$E2E_LOGS/snapshot.diff")"
}

# The restart that completes a removal: files left in use are removed then (the running
# uninstaller among them).
uninstall_restart() {
  e2e_wine wineboot -r >/dev/null 2>&1 || e2e_fail "wineboot -r failed"
}

# A registry string as the quiet command line runs it: the program, quoted, and its arguments.
uninstall_run_quiet() {  # PRODUCT_TITLE
  local quiet program arguments
  quiet=$(e2e_reg_value "$UNINSTALL_ENTRY\\$1" QuietUninstallString) ||
    e2e_fail "$1: no QuietUninstallString"
  program=${quiet#\"}
  program=${program%%\"*}
  arguments=${quiet#\"*\" }
  # Wine passes a single argument on as it is: the uninstaller sees the line as registered.
  e2e_start "$(e2e_unix_path "$program")" $arguments
}
