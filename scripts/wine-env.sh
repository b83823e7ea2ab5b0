#!/usr/bin/env bash
# wine-env.sh PREFIX_DIR win32|win64 (--prepare | --stop | PROGRAM [ARGS...])
# Runs Wine in a prefix of its own: created once (fonts copied in, no window-manager stalls, no
# links into $HOME), then reused. Xvfb is started when there is no display.
set -euo pipefail

prefix_dir=$1
arch=$2
shift 2

export WINEPREFIX="$prefix_dir"
export WINEARCH="$arch"
if [ "$arch" = win64 ]; then
  wine=/usr/lib/wine/wine64
  export WINELOADER=$wine
else
  wine=wine
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine keeps per-user data under $HOME: keep it inside the build folder too.
export HOME="$(dirname "$prefix_dir")/winehome"
mkdir -p "$HOME"

# A prefix is marked ready only when every step worked; a failed one is removed, so the next run
# starts again instead of testing in a half-made prefix.
prefix_failed() {
  echo "wine-env: could not prepare the Wine prefix $WINEPREFIX: $*" >&2
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  exit 1
}

prepare_prefix() {
  [ -f "$WINEPREFIX/.tarn-ready" ] && return 0
  rm -rf "$WINEPREFIX"
  local log="$WINEPREFIX.wineboot.log"
  "$wine" wineboot -i >"$log" 2>&1 || prefix_failed "wineboot failed (see $log)"
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows/system32" ] \
    || prefix_failed "wineboot left no registry or system folder (see $log)"
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Without a window manager every message box or window close stalls for seconds.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 \
    || prefix_failed "the registry cannot be written"
  # The user's shell folders are links into $HOME: make them real folders.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
  wineserver -w
  touch "$WINEPREFIX/.tarn-ready"
}

with_lock() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  prepare_prefix
  flock -u 9
  exec 9>&-
}

# One Xvfb serves every Wine process of a test run; its display is kept beside the prefix.
display_file="$WINEPREFIX.display"
pid_file="$WINEPREFIX.xvfb-pid"

start_xvfb() {
  [ -n "${DISPLAY:-}" ] && return 0
  if [ -f "$pid_file" ] && kill -0 "$(cat "$pid_file")" 2>/dev/null; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    local pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
      echo "$pid" >"$pid_file"
      echo ":$n" >"$display_file"
      return 0
    fi
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -f "$pid_file" ]; then
    kill "$(cat "$pid_file")" 2>/dev/null || true
    rm -f "$pid_file" "$display_file"
  fi
}

case "${1:-}" in
  --prepare)
    with_lock
    start_xvfb
    [ -z "${DISPLAY:-}" ] && [ -f "$display_file" ] && export DISPLAY=$(cat "$display_file")
    # A persistent server, started outside ctest so that no test inherits its pipes.
    wineserver -p >/dev/null 2>&1 </dev/null || true
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
    exit 0
    ;;
  --stop)
    wineserver -k >/dev/null 2>&1 || true
    stop_xvfb
    exit 0
    ;;
esac

with_lock
if [ -z "${DISPLAY:-}" ] && [ -f "$display_file" ] && [ -f "$pid_file" ] \
   && kill -0 "$(cat "$pid_file")" 2>/dev/null; then
  export DISPLAY=$(cat "$display_file")
fi
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$wine" "$@"
fi
exec "$wine" "$@"
