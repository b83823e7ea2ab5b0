#!/usr/bin/env bash
# Prints which Windows build runs under Wine on this machine (call it after install-deps.sh):
#   win32  32-bit Linux programs run here and wine32 is installed, so wine32 runs the i686
#          product itself;
#   win64  the kernel runs 64-bit code only (an i386 execve fails with ENOEXEC), or wine32 could
#          not be installed (its i386 libraries must match the amd64 ones): wine64 runs an
#          x86_64 build of the same sources.
# `--why` adds a second line that says which of these it is.
# Any 32-bit loader will do: the i386 libc of wine32, or the one of g++-multilib.
kernel_runs_i386() {
  local loader
  for loader in /lib/i386-linux-gnu/ld-linux.so.2 /lib32/ld-linux.so.2; do
    [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1 && return 0
  done
  return 1
}
wine32_installed() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' \
    && [ -x /usr/lib/wine/wine ]
}

if ! kernel_runs_i386; then
  arch=win64 why="the kernel runs 64-bit code only"
elif ! wine32_installed; then
  arch=win64 why="32-bit code runs here, but wine32 is not installed"
else
  arch=win32 why="wine32 is installed and 32-bit code runs here"
fi
echo "$arch"
[ "${1:-}" = --why ] && echo "$why"
exit 0
