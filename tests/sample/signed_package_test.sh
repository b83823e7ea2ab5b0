#!/usr/bin/env bash
# Signs the sample package the way a publisher does, with a self-signed certificate made here:
# osslsigncode and tarnpack both verify the signed file, and a byte changed in a packaged stream
# breaks the signature, so it covers the package. The stub is a PE image of headers only.
#   signed_package_test.sh TARNPACK WORK_DIR
set -euo pipefail
tarnpack=$1
work=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/sample/check_lib.sh
source "$root/tests/sample/check_lib.sh"

fails() { ! "$@"; }

for tool in openssl osslsigncode; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

le() {  # VALUE BYTES: the value as little-endian bytes
  local i
  # shellcheck disable=SC2059 # the format is the octal escape of one byte
  for ((i = 0; i < $2; i++)); do printf "\\$(printf '%03o' $((($1 >> (8 * i)) & 255)))"; done
}

# A PE32 image: DOS header, file header, optional header with 16 empty directories, zeros.
pe_stub() {  # SIZE FILE
  {
    printf 'MZ'; head -c 58 /dev/zero; le 128 4; head -c 64 /dev/zero
    printf 'PE\0\0'; le 0x14c 2; le 0 2; le 0 12; le 224 2; le 0x102 2
    le 0x10b 2; head -c 26 /dev/zero; le 0x400000 4; le 4096 4; le 512 4; head -c 16 /dev/zero
    le 4096 4; le 512 4; le 0 4; le 2 2; le 0 2; head -c 20 /dev/zero; le 16 4
    head -c 128 /dev/zero
  } >"$2"
  truncate -s "$1" "$2"
}

rm -rf "$work"
mkdir -p "$work/tree/bin" "$work/signed"
# An odd stub size, so that only the padding tarnpack adds aligns the trailer.
pe_stub 4097 "$work/tree/bin/TarnSetup.exe"
printf 'sample application placeholder\r\n' >"$work/tree/bin/SampleApp.exe"
printf 'uninstaller placeholder\r\n' >"$work/tree/bin/Tarn-UnInstall.exe"
printf 'pre-install program placeholder\r\n' >"$work/tree/bin/ProvideForInstall.exe"
SAMPLE_VARIANTS=sample TARNPACK=$tarnpack bash "$root/scripts/make-sample-package.sh" \
  "$work/tree" "$work/out" --identity signed-test >/dev/null
setup=$work/out/sample/Setup.exe
signed=$work/signed/Setup.exe
check "the trailer ends on an 8-byte boundary" test $(($(stat -c %s "$setup") % 8)) -eq 0

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarn test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Tarn Sample" \
  -in "$setup" -out "$signed" >/dev/null
check "signing appended a certificate table" test "$(stat -c %s "$signed")" -gt "$(stat -c %s "$setup")"
# The report goes beside the file checked.
ossl_verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$1.txt" 2>&1; }
check "osslsigncode verifies the signed package" ossl_verify "$signed"

"$tarnpack" list "$signed" >"$work/signed.list" || true
"$tarnpack" verify "$signed" >"$work/signed.verify" || true
total=$("$tarnpack" list "$setup" | grep -c '^file    ')
check "tarnpack lists the signed package as the unsigned one" \
  cmp -s <("$tarnpack" list "$setup") "$work/signed.list"
check "tarnpack verifies all $total entries" grep -qx "$total passed, 0 failed" "$work/signed.verify"

# One byte in the middle of the first application file's stream.
read -r position size < <(sed -n 's/^file    A volume 1 at \([0-9]*\), \([0-9]*\) bytes.*/\1 \2/p' \
  "$work/signed.list" | head -n 1)
check "an application stream is listed" test -n "${position:-}"
if [ -n "${position:-}" ]; then
  cp "$signed" "$work/tampered.exe"
  at=$((position + size / 2))
  byte=$(od -An -tu1 -j "$at" -N1 "$signed" | tr -d ' ')
  le $((byte ^ 0xFF)) 1 | dd of="$work/tampered.exe" bs=1 seek="$at" conv=notrunc status=none
  check "the byte was changed" fails cmp -s "$signed" "$work/tampered.exe"
  check "osslsigncode refuses the changed package" fails ossl_verify "$work/tampered.exe"
fi

check_report
