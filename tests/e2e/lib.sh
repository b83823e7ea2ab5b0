# shellcheck shell=bash
# End-to-end scenario library: source it from a scenario script (bash, `set -euo pipefail`).
#
# Each scenario runs in a fresh copy of the build's Wine prefix, on the display that
# `wine-run --prepare` started, with its own wineserver. Screenshots, logs and (after a failure)
# the prefix stay in $TARN_BUILD/e2e/<scenario>/ for inspection.
#
# The environment (set by CMake for ctest): TARN_BUILD (the Windows build folder), TARN_ROOT
# (the source folder), TARN_WINE_ARCH (win32 or win64), TARN_DRIVER (tarndriver.exe; default
# $TARN_BUILD/bin/tarndriver.exe). E2E_KEEP_PREFIX=1 keeps the prefix after a success too.
#
#   e2e_own_display WxH              before e2e_begin: a display of its own of this size, for
#                                    windows larger than the shared display
#   e2e_begin NAME                   set up the scenario (call first)
#   e2e_wine PROGRAM [ARGS...]       run a Windows program (or wine tool) in the prefix, wait for it
#   e2e_start PROGRAM [ARGS...]      start the program under test in the background
#   e2e_wait_exit [SECONDS]          wait for it to end; its exit status goes to E2E_APP_STATUS
#   e2e_drive ARGS...                run tarndriver with ARGS, its output on stdout
#   e2e_step DESCRIPTION ARGS...     run tarndriver with ARGS; the scenario fails if it fails
#   e2e_screenshot NAME              save NN-NAME.png of the whole display
#   e2e_watch_start [NAME]           start `tarndriver watch` on every window in the background;
#                                    its timeline goes to $E2E_LOGS/watch-NAME.log (E2E_WATCH_LOG)
#   e2e_watch_wait [SECONDS]         wait for the watch to end (3 s after the last window went)
#   e2e_watch_stop                   end a watch that may have seen no window at all
#   e2e_reg_value KEY NAME           print a registry value's data ("" for the default value)
#   e2e_reg_type KEY NAME            print its type (REG_SZ, REG_DWORD, ...)
#   e2e_reg_has_key KEY              succeed when the key exists
#   e2e_reg_export KEY               print the key as .reg text in UTF-8 (non-ASCII text intact)
#   e2e_files [FOLDER]               list the files under C:\ or C:\FOLDER, relative, sorted
#   e2e_unix_path WINDOWS_PATH       print where C:\... (or another drive) is on Linux
#   e2e_expect_eq ACTUAL EXPECTED WHAT   fail the scenario unless ACTUAL = EXPECTED
#   e2e_fail MESSAGE                 fail the scenario: screenshot, window listing, clean-up
#   e2e_end                          check the program has ended, clean up, report success

e2e_log() { printf '[e2e %s] %s\n' "${E2E_NAME:-?}" "$*" >&2; }

e2e_begin() {
  E2E_NAME=$1
  : "${TARN_BUILD:?TARN_BUILD must name the Windows build folder}"
  : "${TARN_WINE_ARCH:?TARN_WINE_ARCH must be win32 or win64}"
  E2E_DRIVER=${TARN_DRIVER:-$TARN_BUILD/bin/tarndriver.exe}
  E2E_DIR=$TARN_BUILD/e2e/$E2E_NAME
  E2E_PREFIX=$E2E_DIR/prefix
  E2E_SHOTS=$E2E_DIR/screenshots
  E2E_LOGS=$E2E_DIR/logs
  E2E_SHOT_COUNT=0
  E2E_APP_PID=
  E2E_APP_STATUS=
  E2E_WATCH_PID=
  E2E_WATCH_LOG=
  E2E_FAILED=0

  local template=$TARN_BUILD/wineprefix
  if [ ! -f "$template/.tarn-ready" ]; then
    echo "e2e: no prepared Wine prefix; run '$TARN_BUILD/wine-run --prepare' first" >&2
    exit 1
  fi
  e2e_find_display

  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_SHOTS" "$E2E_LOGS" "$E2E_DIR/home"
  cp -a "$template" "$E2E_PREFIX"
  # Shell folders must be real folders, or the program under test writes into $HOME.
  local link
  for link in "$E2E_PREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done

  export WINEPREFIX=$E2E_PREFIX WINEARCH=$TARN_WINE_ARCH WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME=$E2E_DIR/home
  if [ "$TARN_WINE_ARCH" = win64 ]; then
    E2E_WINE=/usr/lib/wine/wine64
    export WINELOADER=$E2E_WINE
  else
    E2E_WINE=wine
  fi
  trap e2e_cleanup EXIT
  trap 'e2e_fail "interrupted"' INT TERM
  # A server of its own for this prefix, kept alive between the many short driver processes.
  # Its standard streams must not be ctest's pipes, or ctest waits for it to end. It ends by
  # itself a minute after the last Wine process, should the clean-up never run.
  wineserver -p60 </dev/null >/dev/null 2>&1
  e2e_log "prefix $E2E_PREFIX, display $DISPLAY"
}

e2e_own_display() {
  local n i
  for n in $(seq 150 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
    E2E_XVFB_PID=$!
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$E2E_XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "e2e: could not start a display of $1" >&2
  exit 1
}

# Every process of a scenario must share one display: the caller's, or the one
# `wine-run --prepare` started for the build.
e2e_find_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local pid_file=$TARN_BUILD/wineprefix.xvfb-pid display_file=$TARN_BUILD/wineprefix.display
  if [ -f "$pid_file" ] && [ -f "$display_file" ] && kill -0 "$(cat "$pid_file")" 2>/dev/null; then
    DISPLAY=$(cat "$display_file")
    export DISPLAY
    return 0
  fi
  echo "e2e: no display; run '$TARN_BUILD/wine-run --prepare' first" >&2
  exit 1
}

e2e_wine() {
  "$E2E_WINE" "$@" </dev/null
}

e2e_start() {
  [ -z "$E2E_APP_PID" ] || e2e_fail "e2e_start: a program is already running"
  e2e_log "starting $*"
  "$E2E_WINE" "$@" </dev/null >>"$E2E_LOGS/app.log" 2>&1 &
  E2E_APP_PID=$!
}

e2e_wait_exit() {
  local timeout=${1:-60}
  [ -n "$E2E_APP_PID" ] || e2e_fail "e2e_wait_exit: no program was started"
  local end=$((SECONDS + timeout))
  while kill -0 "$E2E_APP_PID" 2>/dev/null; do
    if [ "$SECONDS" -ge "$end" ]; then
      e2e_log "the program did not end within $timeout s"
      return 1
    fi
    sleep 0.2
  done
  E2E_APP_STATUS=0
  wait "$E2E_APP_PID" || E2E_APP_STATUS=$?
  E2E_APP_PID=
  e2e_log "the program ended with exit status $E2E_APP_STATUS"
}

e2e_drive() {
  e2e_wine "$E2E_DRIVER" "$@"
}

e2e_step() {
  local what=$1
  shift
  e2e_drive "$@" >>"$E2E_LOGS/driver.log" || e2e_fail "$what (tarndriver $*)"
}

e2e_watch_start() {
  [ -z "$E2E_WATCH_PID" ] || e2e_fail "e2e_watch_start: a watch is already running"
  E2E_WATCH_LOG=$E2E_LOGS/watch-${1:-main}.log
  : >"$E2E_WATCH_LOG"
  "$E2E_WINE" "$E2E_DRIVER" --timeout 300 --partial watch "" </dev/null >"$E2E_WATCH_LOG" \
    2>>"$E2E_LOGS/driver.log" &
  E2E_WATCH_PID=$!
  # Only a watch that is already looking sees the first window of the program started next.
  local end=$((SECONDS + 60))
  until grep -qx '0 watching' "$E2E_WATCH_LOG"; do
    kill -0 "$E2E_WATCH_PID" 2>/dev/null || e2e_fail "the watch ended before it began"
    [ "$SECONDS" -lt "$end" ] || e2e_fail "the watch did not begin within 60 s"
    sleep 0.05
  done
}

e2e_watch_wait() {
  local timeout=${1:-60}
  [ -n "$E2E_WATCH_PID" ] || e2e_fail "e2e_watch_wait: no watch was started"
  local end=$((SECONDS + timeout))
  while kill -0 "$E2E_WATCH_PID" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || e2e_fail "the watch did not end within $timeout s"
    sleep 0.2
  done
  wait "$E2E_WATCH_PID" || e2e_fail "the watch failed"
  E2E_WATCH_PID=
  grep -qE '^[0-9]+ end$' "$E2E_WATCH_LOG" || e2e_fail "the watch's timeline is incomplete"
}

e2e_watch_stop() {
  [ -n "$E2E_WATCH_PID" ] || e2e_fail "e2e_watch_stop: no watch was started"
  kill "$E2E_WATCH_PID" 2>/dev/null || true
  wait "$E2E_WATCH_PID" 2>/dev/null || true
  E2E_WATCH_PID=
  grep -qx '0 watching' "$E2E_WATCH_LOG" || e2e_fail "the watch had not begun"
}

e2e_screenshot() {
  E2E_SHOT_COUNT=$((E2E_SHOT_COUNT + 1))
  local file
  file=$E2E_SHOTS/$(printf '%02d' "$E2E_SHOT_COUNT")-$1.png
  import -display "$DISPLAY" -window root "$file" 2>>"$E2E_LOGS/screenshots.log" ||
    e2e_log "could not take screenshot $file"
}

# `reg query` prints "    NAME    TYPE    DATA" lines ending in CR LF; the default value's NAME
# is "(Default)". Prints "TYPE<tab>DATA" of the value, or fails when it is missing.
e2e_reg_line() {
  local key=$1 name=$2 out line
  if [ -z "$name" ]; then
    out=$(e2e_wine reg query "$key" /ve 2>/dev/null) || return 1
    name="(Default)"
  else
    out=$(e2e_wine reg query "$key" /v "$name" 2>/dev/null) || return 1
  fi
  while IFS= read -r line; do
    line=${line%$'\r'}
    local head="    $name    "
    [[ "$line" == "$head"REG_* ]] || continue
    line=${line#"$head"}
    local type=${line%%    *} data=
    [[ "$line" == *"    "* ]] && data=${line#*    }
    printf '%s\t%s\n' "$type" "$data"
    return 0
  done <<<"$out"
  return 1
}

e2e_reg_value() {
  local line
  line=$(e2e_reg_line "$1" "$2") || return 1
  printf '%s\n' "${line#*$'\t'}"
}

e2e_reg_type() {
  local line
  line=$(e2e_reg_line "$1" "$2") || return 1
  printf '%s\n' "${line%%$'\t'*}"
}

e2e_reg_has_key() {
  e2e_wine reg query "$1" >/dev/null 2>&1
}

# regedit writes UTF-16 with a byte order mark and writes nothing for a missing key. Unlike
# `reg` it knows the root keys by their long names only.
e2e_reg_export() {
  local key=$1 root file=$E2E_DIR/export.reg
  root=${key%%\\*}
  case "${root^^}" in
    HKLM) key=HKEY_LOCAL_MACHINE${key#"$root"} ;;
    HKCU) key=HKEY_CURRENT_USER${key#"$root"} ;;
    HKCR) key=HKEY_CLASSES_ROOT${key#"$root"} ;;
    HKU) key=HKEY_USERS${key#"$root"} ;;
    HKCC) key=HKEY_CURRENT_CONFIG${key#"$root"} ;;
  esac
  rm -f "$file"
  e2e_wine regedit /E "Z:${file//\//\\}" "$key" >/dev/null 2>&1 || true
  [ -f "$file" ] || return 1
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
  rm -f "$file"
}

e2e_unix_path() {
  local path=${1//\\//}
  local drive
  drive=$(tr '[:upper:]' '[:lower:]' <<<"${path:0:1}")
  printf '%s\n' "$E2E_PREFIX/dosdevices/$drive:${path:2}"
}

e2e_files() {
  local folder=$E2E_PREFIX/drive_c/${1:-}
  folder=${folder//\\//}
  [ -d "$folder" ] || return 1
  (cd "$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

e2e_expect_eq() {
  [ "$1" = "$2" ] || e2e_fail "$3: got '$1', expected '$2'"
}

e2e_fail() {
  trap - INT TERM
  E2E_FAILED=1
  echo "FAIL [$E2E_NAME]: $*" >&2
  if [ -n "${DISPLAY:-}" ] && [ -n "${E2E_SHOTS:-}" ]; then e2e_screenshot failure; fi
  if [ -n "${E2E_PREFIX:-}" ] && [ -d "$E2E_PREFIX" ]; then
    # The windows on screen at the time, for finding out what went wrong.
    {
      e2e_drive list || true
      local caption
      while IFS= read -r caption; do
        e2e_drive list "$caption" || true
      done < <(e2e_drive list 2>/dev/null | sed -n 's/.* caption="\(.*\)" owner=.*/\1/p' | sort -u)
    } >"$E2E_LOGS/windows.txt" 2>&1
    echo "screenshots, logs and prefix: $E2E_DIR" >&2
  fi
  exit 1
}

e2e_cleanup() {
  local status=$?
  trap - EXIT INT TERM
  local pid
  for pid in "${E2E_APP_PID:-}" "${E2E_WATCH_PID:-}"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  done
  if [ -n "${WINEPREFIX:-}" ] && [ "$WINEPREFIX" = "${E2E_PREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "${E2E_XVFB_PID:-}" ]; then kill "$E2E_XVFB_PID" 2>/dev/null || true; fi
  if [ "$status" -eq 0 ] && [ "${E2E_FAILED:-0}" -eq 0 ] && [ "${E2E_KEEP_PREFIX:-0}" != 1 ]; then
    rm -rf "${E2E_PREFIX:?}"
  fi
  exit "$status"
}

e2e_end() {
  if [ -n "$E2E_APP_PID" ] && kill -0 "$E2E_APP_PID" 2>/dev/null; then
    e2e_fail "the program is still running at the end of the scenario"
  fi
  echo "PASS [$E2E_NAME]: $E2E_SHOT_COUNT screenshot(s) in $E2E_SHOTS"
}
