# shellcheck shell=bash
# Helpers shared by the start-up scenarios; source after lib.sh and e2e_begin.

# The user's temporary folder in the prefix (C:\users\<user>\Temp), on the Linux side;
# STARTUP_TEMP names another one when a scenario has moved it.
startup_temp_dir() {
  local dir
  if [ -n "${STARTUP_TEMP:-}" ]; then
    printf '%s\n' "$STARTUP_TEMP"
    return 0
  fi
  for dir in "$E2E_PREFIX"/drive_c/users/*/Temp; do
    [ "$(basename "$(dirname "$dir")")" = Public ] && continue
    [ -d "$dir" ] && printf '%s\n' "$dir" && return 0
  done
  e2e_fail "the prefix has no user temporary folder"
}

# Everything in the temporary folder, relative, sorted.
startup_temp_listing() {
  (cd "$(startup_temp_dir)" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)
}

# The sample's wizard: its caption is the project's name and version, then " Setup".
STARTUP_WIZARD="Tarn Sample 1.0 Setup"

# Leaves the wizard as a user does who changes their mind: Cancel, then Yes to the question.
startup_leave_wizard() {  # WHAT
  e2e_step "$1: the wizard appears" --timeout 90 wait "$STARTUP_WIZARD"
  e2e_screenshot "$1-wizard"
  e2e_step "$1: Cancel" --post click "$STARTUP_WIZARD" 2
  e2e_step "$1: Yes to the exit question" msgbox "$STARTUP_WIZARD" yes
}

# Fails the scenario unless the temporary folder holds exactly what it held before the run.
startup_expect_temp_unchanged() {  # LISTING_BEFORE WHAT
  local now
  now=$(startup_temp_listing)
  [ "$now" = "$1" ] || e2e_fail "$2: the temporary folder holds"$'\n'"$now"$'\n'"instead of"$'\n'"$1"
}

# Fails the scenario if any window is still on screen.
startup_expect_no_window() {  # WHAT
  local windows
  windows=$(e2e_drive list) || e2e_fail "tarndriver list failed"
  [ -z "$windows" ] || e2e_fail "$1: windows are still on screen:"$'\n'"$windows"
}

# Reading the watch's timeline ($E2E_WATCH_LOG).
# "TIME HANDLE" of the windows shown, in order, one a line; with SIZE (WxH) only those of it.
watch_shown() {
  local size=${1:-}
  if [ -n "$size" ]; then
    sed -n "s/^\([0-9]*\) shown \([^ ]*\) .* size=$size\$/\1 \2/p" "$E2E_WATCH_LOG"
  else
    sed -n 's/^\([0-9]*\) shown \([^ ]*\) .*/\1 \2/p' "$E2E_WATCH_LOG"
  fi
}

# The time a window went, or nothing.
watch_gone_time() {  # HANDLE
  sed -n "s/^\([0-9]*\) gone $1\$/\1/p" "$E2E_WATCH_LOG"
}

# The texts a window's control ID showed, in order, one a line.
watch_texts() {  # HANDLE ID
  sed -n "s/^[0-9]* text $1 id=$2 \"\(.*\)\"\$/\1/p" "$E2E_WATCH_LOG"
}

# Waits until the timeline shows a window of SIZE and prints "TIME HANDLE" of the first one.
watch_wait_shown() {  # SIZE TIMEOUT
  local end=$((SECONDS + $2)) found
  while :; do
    found=$(watch_shown "$1" | head -n 1)
    [ -n "$found" ] && printf '%s\n' "$found" && return 0
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}
