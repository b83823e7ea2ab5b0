#!/usr/bin/env bash
# Builds every variant of the sample package from a stand-in build tree (a stub of zeros,
# placeholder programs), checks what tarnpack list and verify say about it against the staged
# project, and builds the sample once more split over three volumes.
#   sample_packages_test.sh TARNPACK WORK_DIR
set -euo pipefail
tarnpack=$1
work=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/sample/check_lib.sh
source "$root/tests/sample/check_lib.sh"

rm -rf "$work"
mkdir -p "$work/tree/bin"
head -c 4096 /dev/zero >"$work/tree/bin/TarnSetup.exe"
# Placeholders of different sizes, so the verified sizes show which file went where.
printf 'sample application placeholder\r\n' >"$work/tree/bin/SampleApp.exe"
printf 'uninstaller placeholder, a little longer\r\n' >"$work/tree/bin/Tarn-UnInstall.exe"
printf 'pre-install program placeholder, longer still\r\n' >"$work/tree/bin/ProvideForInstall.exe"

TARNPACK=$tarnpack bash "$root/scripts/make-sample-package.sh" "$work/tree" "$work/out" \
  --identity sample-test | tee "$work/build.txt"
stage=$work/out/stage/sample

# Reads the File lines of a project's file list: "kind<TAB>target<TAB>source" per entry. The source is the field
# before the kind; a last field with "-" and ":" is the time stamp. A line whose source is a
# folder stands for every file below it, less the targets that lines of their own give.
file_lines() {
  tr -d '\r' <"$1" | sed -n '/ Type="FileList">$/,/^<\/SubTask>$/s|^<File>\(.*\)</File>$|\1|p' |
    while IFS= read -r value; do
      IFS=, read -r -a f <<<"$value"
      local n=${#f[@]}
      if [[ ${f[n - 1]} == *-*:* ]]; then n=$((n - 1)); fi
      local target
      target=$(IFS=,; echo "${f[*]:0:n-2}")
      printf '%s\t%s\t%s\n' "${f[n - 1]}" "$target" "${f[n - 2]}"
    done
}
entries() {
  local lines explicit
  lines=$(file_lines "$1")
  explicit=$(while IFS=$'\t' read -r _ target source; do
    [ -d "$stage/${source//\\//}" ] || echo "${target^^}"
  done <<<"$lines")
  while IFS=$'\t' read -r kind target source; do
    if [ -d "$stage/${source//\\//}" ]; then
      (cd "$stage/${source//\\//}" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) |
        while IFS= read -r rel; do
          local t="$target\\${rel//\//\\}"
          grep -qxF -- "${t^^}" <<<"$explicit" ||
            printf '%s\t%s\t%s\n' "$kind" "$t" "$source\\${rel//\//\\}"
        done
    else
      printf '%s\t%s\t%s\n' "$kind" "$target" "$source"
    fi
  done <<<"$lines"
}

size_of() { stat -c %s "$1"; }

for variant in sample sample-no-ad sample-provide sample-provide-no-ad; do
  setup=$work/out/$variant/Setup.exe
  project=$stage/project-$variant.xml
  check "$variant: Setup.exe built" test -s "$setup"
  [ -s "$setup" ] || continue
  entries "$project" >"$work/$variant.entries"
  # The project names no uninstaller: tarnpack adds the one beside the stub, last.
  printf 'U\t%s\t%s\n' '[Windows Directory]\Tarn-UnInstall.exe' '../../../tree/bin/Tarn-UnInstall.exe' \
    >>"$work/$variant.entries"
  total=$(wc -l <"$work/$variant.entries")
  counted=$(awk -F'\t' '$1 != "K"' "$work/$variant.entries" | wc -l)
  software=0
  while IFS=$'\t' read -r kind _ source; do
    [ "$kind" = K ] || software=$((software + $(size_of "$stage/${source//\\//}")))
  done <"$work/$variant.entries"

  "$tarnpack" list "$setup" >"$work/$variant.list"
  "$tarnpack" verify "$setup" >"$work/$variant.verify" || true
  check "$variant: list has $total entries" \
    grep -qx "files           $total (FileQty $counted, SoftwareSize $software)" "$work/$variant.list"
  check "$variant: every listed line is an entry" \
    test "$(grep -c '^file    ' "$work/$variant.list")" -eq "$total"
  check "$variant: project name and version" \
    grep -qx 'project         Tarn Sample 1.0 by TarnSoft Samples' "$work/$variant.list"
  check "$variant: all entries verified" grep -qx "$total passed, 0 failed" "$work/$variant.verify"
  check "$variant: the uninstaller beside the stub packed last, as kind U" \
    grep -qE '^file    U .*  \[Windows Directory\]\\Tarn-UnInstall\.exe$' \
    <(grep '^file    ' "$work/$variant.list" | tail -n 1)
  check "$variant: the uninstaller packed is the one from the build tree" \
    grep -qx "ok      \[Windows Directory\]\\\\Tarn-UnInstall.exe ($(size_of "$work/tree/bin/Tarn-UnInstall.exe") bytes)" \
    "$work/$variant.verify"
  check "$variant: the comma in a file name survives" \
    grep -q ' \[InstallDir\]\\Data\\Samples\\Notes, Spring.txt$' "$work/$variant.list"
  check "$variant: lakes.dat is stored, not compressed" \
    grep -q "^file    N .*, $(size_of "$stage/files/Data/lakes.dat") bytes, .*\\\\lakes.dat$" \
    "$work/$variant.list"
  check "$variant: the program packed is the one from the build tree" \
    grep -qx "ok      \[InstallDir\]\\\\SampleApp.exe ($(size_of "$work/tree/bin/SampleApp.exe") bytes)" \
    "$work/$variant.verify"
  check "$variant: the language file comes first" \
    bash -c "grep -m1 '^file    ' '$work/$variant.list' | grep -q 'K .*~TarnInstall-Language.ini$'"
  case $variant in *no-ad*) want_ad=0 ;; *) want_ad=1 ;; esac
  case $variant in *provide*) want_provide=1 ;; *) want_provide=0 ;; esac
  check "$variant: advertisement picture packed: $want_ad" \
    test "$(grep -c '^file    K .*\\~TarnInstall-AdPicture.bmp$' "$work/$variant.list")" -eq "$want_ad"
  check "$variant: pre-install program packed: $want_provide" \
    test "$(grep -c '^file    K .*\\~TarnInstall-ProvideForInstall.exe$' "$work/$variant.list")" \
    -eq "$want_provide"
  check "$variant: AdPicture set: $want_ad" \
    test "$(tr -d '\r' <"$project" | grep -c '^<AdPicture>..*</AdPicture>$')" -eq "$want_ad"
  check "$variant: ProvideForInstall set: $want_provide" \
    test "$(tr -d '\r' <"$project" | grep -c '^<ProvideForInstall>..*</ProvideForInstall>$')" \
    -eq "$want_provide"
  check "$variant: no further volume" test ! -e "$work/out/$variant/Setup2.Cab"
done

# Three volumes: a capacity of a third of the package's data, rounded up.
bytes=$(sed -n 's|^.*/sample/Setup.exe: .* files, \([0-9]*\) bytes of package in 1 volume(s)$|\1|p' \
  "$work/build.txt")
check "the single-volume build reported its size" test -n "$bytes"
if [ -n "$bytes" ]; then
  disk=$(((bytes + 2) / 3))
  SAMPLE_VARIANTS=sample TARNPACK=$tarnpack bash "$root/scripts/make-sample-package.sh" \
    "$work/tree" "$work/split" --disk-size "$disk" | tee "$work/split.txt"
  setup=$work/split/sample/Setup.exe
  total=$(wc -l <"$work/sample.entries")
  check "split: three volumes reported" grep -q ' in 3 volume(s)$' "$work/split.txt"
  check "split: Setup2.Cab and Setup3.Cab written" \
    test -s "$work/split/sample/Setup2.Cab" -a -s "$work/split/sample/Setup3.Cab"
  check "split: no fourth volume" test ! -e "$work/split/sample/Setup4.Cab"
  "$tarnpack" list "$setup" >"$work/split.list"
  "$tarnpack" verify "$setup" >"$work/split.verify" || true
  check "split: disk size $disk recorded" grep -qx "disk size       $disk" "$work/split.list"
  check "split: entries on volume 3" grep -q '^file    . volume 3 at ' "$work/split.list"
  check "split: all $total entries verified" grep -qx "$total passed, 0 failed" "$work/split.verify"
fi

check_report
