#!/usr/bin/env bash
# Builds the Tarn Sample packages from examples/sample.
#
#   scripts/make-sample-package.sh BUILD_TREE OUT_DIR [extra tarnpack build arguments...]
#
# Needs the stub BUILD_TREE/bin/TarnSetup.exe with the uninstaller Tarn-UnInstall.exe beside
# it (tarnpack packs that one, as the project names none), the sample's programs SampleApp.exe
# and ProvideForInstall.exe in BUILD_TREE/bin (built from examples/sample/programs in the
# Windows trees), and tarnpack: build/native/bin/tarnpack, or the program named by $TARNPACK.
#
# The project names its sources relative to itself and expects the programs under bin/, which
# the repository does not hold: the script copies examples/sample to OUT_DIR/stage, puts the
# programs into its bin/ folder, derives the variants' project files there with sed, and runs
# tarnpack once per variant. Each variant gets a folder of its own (a split package adds
# Setup2.Cab, Setup3.Cab, ... beside its Setup.exe):
#
#   OUT_DIR/sample/Setup.exe               the sample as written (advertisement picture on)
#   OUT_DIR/sample-no-ad/Setup.exe         AdPicture empty and its picture not packed
#   OUT_DIR/sample-provide/Setup.exe       ProvideForInstall set, ProvideForInstall.exe packed
#                                          as the installer file ~TarnInstall-ProvideForInstall.exe
#   OUT_DIR/sample-provide-no-ad/Setup.exe both changes
#
# SAMPLE_VARIANTS (space-separated names from the list above) builds only those. The extra
# arguments go to every tarnpack build, for example --disk-size 200000 or --identity TEXT.
set -euo pipefail

if [ $# -lt 2 ]; then
  sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0" >&2
  exit 2
fi
build=$1
out=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
tarnpack=${TARNPACK:-$root/build/native/bin/tarnpack}
variants=${SAMPLE_VARIANTS:-sample sample-no-ad sample-provide sample-provide-no-ad}
programs=(SampleApp.exe ProvideForInstall.exe)

fail() {
  echo "make-sample-package: $*" >&2
  exit 1
}

[ -x "$tarnpack" ] || fail "no tarnpack at $tarnpack (make native builds it)"
[ -f "$build/bin/TarnSetup.exe" ] || fail "no stub at $build/bin/TarnSetup.exe"
[ -f "$build/bin/Tarn-UnInstall.exe" ] || fail "no uninstaller at $build/bin/Tarn-UnInstall.exe"
for program in "${programs[@]}"; do
  [ -f "$build/bin/$program" ] || fail "no $program in $build/bin"
done

stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage"
cp -R "$root/examples/sample" "$stage/sample"
mkdir -p "$stage/sample/bin"
for program in "${programs[@]}"; do
  cp "$build/bin/$program" "$stage/sample/bin/"
done

# Each edit must change the document; a silent no-op would build the wrong variant.
edit() {  # file sed-script what
  local before
  before=$(cksum <"$1")
  sed -i "$2" "$1"
  [ "$(cksum <"$1")" != "$before" ] || fail "could not $3 in $1"
}

without_ad() {
  edit "$1" 's|^<AdPicture>.*</AdPicture>\r$|<AdPicture></AdPicture>\r|' "empty AdPicture"
  edit "$1" '/^<File>\[TempFileDir\]\\~TarnInstall-AdPicture\.bmp,/d' "drop the advertisement"
}

with_provide() {
  edit "$1" \
    's|^<ProvideForInstall></ProvideForInstall>\r$|<ProvideForInstall>bin\\ProvideForInstall.exe</ProvideForInstall>\r|' \
    "set ProvideForInstall"
  # The pre-install program joins the installer's own files, after the readme.
  edit "$1" \
    '/^<File>\[TempFileDir\]\\~TarnInstall-SoftReadme\.HTM,/a <File>[TempFileDir]\\~TarnInstall-ProvideForInstall.exe,bin\\ProvideForInstall.exe,K</File>\r' \
    "pack the pre-install program"
}

for variant in $variants; do
  project=$stage/sample/project-$variant.xml
  cp "$stage/sample/project.xml" "$project"
  case $variant in
    sample) ;;
    sample-no-ad) without_ad "$project" ;;
    sample-provide) with_provide "$project" ;;
    sample-provide-no-ad)
      with_provide "$project"
      without_ad "$project"
      ;;
    *) fail "unknown variant $variant" ;;
  esac
  rm -rf "${out:?}/$variant"
  mkdir -p "$out/$variant"
  "$tarnpack" build --stub "$build/bin/TarnSetup.exe" --project "$project" \
    -o "$out/$variant/Setup.exe" "$@"
done
