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
echo "packages in $out: $(cd "$out" && echo sample*)"
