#!/usr/bin/env bash
# run-i386.sh PROGRAM [ARGS...]: runs a 32-bit x86 Linux program directly where the kernel can
# (an i386 execve fails with ENOEXEC where it cannot), else under qemu-i386. TARN_QEMU=1 forces
# the emulator, to try that path on a machine that does not need it.
if [ "${TARN_QEMU:-0}" != 1 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  exec "$@"
fi
exec qemu-i386 "$@"
