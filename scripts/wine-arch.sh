#!/usr/bin/env bash
# Prints which Windows build runs under Wine on this machine (call it after install-deps.sh):
#   win32  32-bit Linux programs run here, so wine32 runs the i686 product itself;
#   win64  the kernel runs 64-bit code only (an i386 execve fails with ENOEXEC), so only wine64
#          works and Wine runs an x86_64 build of the same sources.
if /lib/i386-linux-gnu/ld-linux.so.2 --version >/dev/null 2>&1; then
  echo win32
else
  echo win64
fi
