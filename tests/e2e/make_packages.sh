#!/usr/bin/env bash
# Builds the packages of the start-up scenarios into OUT_DIR from the files of the build tree:
# the four sample variants (scripts/make-sample-package.sh) and "sample-slow", the sample with
# its advertisement, a language file whose LoadingInstallFiles text differs from the loading
# dialog's first text, and a large incompressible installer file, so that extracting the
# installer's files lasts long enough to be watched.
#   make_packages.sh BUILD_TREE OUT_DIR
set -euo pipefail

build=$1
out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
tarnpack=${TARNPACK:-$root/build/native/bin/tarnpack}
export TARNPACK=$tarnpack

fail() {
  echo "make_packages: $*" >&2
  exit 1
}

bash "$root/scripts/make-sample-package.sh" "$build" "$out"

stage=$out/stage/slow
rm -rf "$stage"
cp -R "$out/stage/sample" "$stage"
# The scenario tells the two texts of the loading dialog apart by this one.
sed -i '3s/^LoadingInstallFiles=.*\r$/LoadingInstallFiles=Unpacking the installer files...\r/' \
  "$stage/Language.ini"
grep -q $'^LoadingInstallFiles=Unpacking the installer files...\r$' "$stage/Language.ini" ||
  fail "could not change LoadingInstallFiles in $stage/Language.ini"
# Random bytes do not compress, so their decompression takes its time even on a fast machine.
head -c 6000000 /dev/urandom >"$stage/bulk.bin"
project=$stage/project-slow.xml
sed '/^<File>\[TempFileDir\]\\~TarnInstall-SoftReadme\.HTM,/a <File>[TempFileDir]\\~TarnInstall-Bulk.bin,bulk.bin,K</File>\r' \
  "$stage/project-sample.xml" >"$project"
grep -q '~TarnInstall-Bulk.bin,bulk.bin,K' "$project" || fail "could not add the bulk file"
rm -rf "${out:?}/sample-slow"
mkdir -p "$out/sample-slow"
"$tarnpack" build --stub "$build/bin/TarnSetup.exe" --project "$project" \
  -o "$out/sample-slow/Setup.exe"
"$tarnpack" verify "$out/sample-slow/Setup.exe" >/dev/null || fail "sample-slow does not verify"
# Variants of the sample without the advertisement, for the wizard scenarios.
base=$out/stage/sample/project-sample-no-ad.xml
variant() {  # NAME SED-SCRIPT [tarnpack build options...]
  local name=$1 script=$2 project=$out/stage/sample/project-$1.xml
  shift 2
  sed "$script" "$base" >"$project"
  ! cmp -s "$base" "$project" || fail "$name: the project did not change"
  rm -rf "${out:?}/$name"
  mkdir -p "$out/$name"
  "$tarnpack" build --stub "$build/bin/TarnSetup.exe" --project "$project" \
    -o "$out/$name/Setup.exe" "$@"
  "$tarnpack" verify "$out/$name/Setup.exe" >/dev/null || fail "$name does not verify"
}
# The progress page is the last page: no finish page at all.
variant sample-last-progress 's/^<Task ID="2010" Type="ShowDialogBox" IsExec="1">/<Task ID="2010" Type="ShowDialogBox" IsExec="0">/'
# The finish page that offers a restart.
variant sample-restart 's/^<Task ID="2009" Type="ShowDialogBox" IsExec="0">/<Task ID="2009" Type="ShowDialogBox" IsExec="1">/;s/^<Task ID="2010" Type="ShowDialogBox" IsExec="1">/<Task ID="2010" Type="ShowDialogBox" IsExec="0">/'
# The program's shortcut also in Quick Launch, with an argument: on current systems it goes to
# the user's own Quick Launch folder, once.
variant sample-quick '/^<Task ID="2404"/,/^<\/Task>/{/^<SubTask ID="10002"/,/^<\/SubTask>/{s/<IsToQuickLaunch>0</<IsToQuickLaunch>1</;s/<Parameter></<Parameter>--from-quick-launch</}}'
# "sample-bulk-1" and "sample-bulk-2": the sample with 300 more files in two versions, for the
# scenario that kills an upgrade and lets the next run repair it. Extra sources stay outside
# files/, which the sample packs whole.
for v in 1 2; do
  bulk_dir=$out/stage/sample/bulk$v
  lines=$out/stage/sample/bulk$v.lines
  rm -rf "$bulk_dir"
  mkdir -p "$bulk_dir"
  : >"$lines"
  for i in $(seq -w 1 300); do
    { echo "version $v of file $i"; head -c 30000 /dev/urandom | base64; } >"$bulk_dir/f$i.txt"
    printf '<File>[InstallDir]\\Bulk\\f%s.txt,bulk%s\\f%s.txt,A</File>\r\n' "$i" "$v" "$i" \
      >>"$lines"
  done
  variant "sample-bulk-$v" "/^<File>\\[InstallDir\\]\\\\Data\\\\Samples\\\\Notes, Spring\\.txt,/r $lines
/^<Folder>\\[InstallDir\\]\\\\Data\\\\Samples<\\/Folder>/a <Folder>[InstallDir]\\\\Bulk</Folder>\\r"
done
# Three volumes with the installer's own files in the first: 6 MB more of random data after
# them, and a capacity of two fifths of the whole.
head -c 6000000 /dev/urandom >"$out/stage/sample/bulk.bin"
bulk='/^<File>\[InstallDir\]\\Data\\Samples\\Notes, Spring\.txt,/a <File>[InstallDir]\\Data\\bulk.bin,bulk.bin,A</File>\r'
variant sample-split "$bulk"
whole=$(stat -c %s "$out/sample-split/Setup.exe")
variant sample-split "$bulk"$'\n'"s/^<DiskSize>.*<\\/DiskSize>\\r\$/<DiskSize>$((whole * 2 / 5))<\\/DiskSize>\\r/"
[ -f "$out/sample-split/Setup3.Cab" ] && [ ! -f "$out/sample-split/Setup4.Cab" ] ||
  fail "sample-split is not three volumes: $(ls "$out/sample-split")"

echo "packages in $out: $(cd "$out" && echo sample*)"
# "sample-signed": sample-no-ad signed with osslsigncode and a self-signed certificate made here.
signing=$out/stage/signing
rm -rf "$signing" "${out:?}/sample-signed"
mkdir -p "$signing" "$out/sample-signed"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarn test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$signing/key.pem" -out "$signing/cert.pem" \
  2>/dev/null || fail "openssl could not make the test certificate"
osslsigncode sign -certs "$signing/cert.pem" -key "$signing/key.pem" -n "Tarn Sample" \
  -in "$out/sample-no-ad/Setup.exe" -out "$out/sample-signed/Setup.exe" >/dev/null ||
  fail "osslsigncode could not sign sample-no-ad"
osslsigncode verify -CAfile "$signing/cert.pem" -in "$out/sample-signed/Setup.exe" >/dev/null ||
  fail "sample-signed: the signature does not verify"
"$tarnpack" verify "$out/sample-signed/Setup.exe" >/dev/null || fail "sample-signed does not verify"
