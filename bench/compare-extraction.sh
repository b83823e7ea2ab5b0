#!/usr/bin/env bash
# Extraction speed and memory of the package reader against xz, end to end:
#   1. a text-like file and a file of random bytes (TARN_COMPARE_MIB each, default 64) are
#      packaged with tarnpack; the raw LZMA stream of each is cut out of its package at the
#      offset and size `tarnpack list` gives;
#   2. `xz --format=lzma -dc` decodes that very stream to /dev/null, and `tarnpack verify`
#      decodes the package through the setup program's own reader into a discarding sink;
#   3. a package holding one highly compressible file of TARN_COMPARE_BIG_MIB (default 1024) is
#      verified under `/usr/bin/time -v` for its peak resident memory.
# Every measurement runs once: the machine is shared. Uses a Release tree in build/bench.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
mib=${TARN_COMPARE_MIB:-64}
big_mib=${TARN_COMPARE_BIG_MIB:-1024}

for tool in xz cmake /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare-extraction: $tool is missing" >&2; exit 1; }
done

echo "== building $build (Release)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli >/dev/null
cmake --build "$build" -j"$(nproc)" --target tarnpack >/dev/null
tarnpack="$build/bin/tarnpack"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# Words, numbers and punctuation from a small vocabulary: compresses like prose or source code.
make_text() {
  awk -v size="$1" 'BEGIN {
    srand(1)
    n = split("the setup program installs files into folder of a product and writes keys " \
              "to registry when user chooses next on page with its shortcut version company " \
              "path is not found please insert disk volume stream bytes read from package " \
              "for each entry time stamp local error cancel finish window text size value " \
              "name list task uninstall record font group menu start data temp copy", w, " ")
    total = 0
    while (total < size) {
      r = int(rand() * 80)
      if (r < 64) s = w[r % n + 1] " "
      else if (r < 70) s = int(rand() * 100000) " "
      else if (r < 76) s = ", "
      else s = ".\r\n"
      printf "%s", s
      total += length(s)
    }
  }' >"$2"
  truncate -s "$1" "$2"
}

# Packages `$2` as the one application file of the package in folder `$1`.
make_package() {
  local dir=$1 source=$2
  mkdir -p "$dir"
  head -c 4096 /dev/zero >"$dir/TarnSetup.exe"
  printf '[Language=409]\r\nSureDesc=OK\r\n' >"$dir/lang.ini"
  printf '%s\r\n' \
    '<?xml version="1.0" encoding="GB2312"?>' '<InstallProject>' \
    '<Version>TarnInstall5.0</Version>' \
    '<Task ID="2401" Type="DataSetting" IsExec="0">' \
    '<SubTask ID="10001" Type="GetAllVar">' '<ProjectName>Compare</ProjectName>' \
    '<DiskSize></DiskSize>' '<SoftwareSize></SoftwareSize>' '<FileQty></FileQty>' \
    '</SubTask>' '</Task>' \
    '<Task ID="2412" Type="ExtractFiles" IsExec="0">' \
    '<SubTask ID="10001" Type="FolderList">' '<Folder>[InstallDir]</Folder>' '</SubTask>' \
    '<SubTask ID="10002" Type="FileList">' \
    '<File>[TempFileDir]\~TarnInstall-Language.ini,lang.ini,K</File>' \
    "<File>[InstallDir]\\data.bin,$(realpath --relative-to="$dir" "$source"),A</File>" \
    '</SubTask>' '</Task>' '</InstallProject>' >"$dir/project.xml"
  "$tarnpack" build --stub "$dir/TarnSetup.exe" --project "$dir/project.xml" \
    -o "$dir/Setup.exe" >/dev/null
}

# Cuts the application file's stream out of the package: offset and size from `tarnpack list`.
cut_stream() {
  local dir=$1 at
  at=$("$tarnpack" list "$dir/Setup.exe" |
    awk '$1 == "file" && $2 == "A" { gsub(",", "", $6); gsub(",", "", $7); print $6, $7 }')
  read -r offset size <<<"$at"
  dd if="$dir/Setup.exe" of="$dir/stream.lzma" bs=1M iflag=skip_bytes,count_bytes \
    skip="$offset" count="$size" status=none
}

# Runs a command once; leaves "wall user sys maxrss-KiB" in the file named first.
timed() {
  local out=$1
  shift
  /usr/bin/time -f '%e %U %S %M' -o "$out" "$@"
}

verify_once() {
  local dir=$1
  timed "$dir/ours.time" "$tarnpack" verify "$dir/Setup.exe" >"$dir/verify.log"
  grep -q '^2 passed, 0 failed$' "$dir/verify.log" || {
    echo "compare-extraction: tarnpack verify failed for $dir" >&2
    cat "$dir/verify.log" >&2
    exit 1
  }
}

rows=()
for sample in text noise; do
  echo "== $sample: $mib MiB"
  if [ "$sample" = text ]; then
    make_text $((mib << 20)) "$sample.bin"
  else
    head -c $((mib << 20)) /dev/urandom >"$sample.bin"
  fi
  start=$SECONDS
  make_package "$sample" "$sample.bin"
  echo "   packaged in $((SECONDS - start)) s"
  cut_stream "$sample"

  # xz reads the stream exactly as tarnpack wrote it (size in the header, no end marker).
  if xz --format=lzma -dc "$sample/stream.lzma" | cmp -s - "$sample.bin"; then
    reference="$sample/stream.lzma"
  else
    echo "   xz does not decode tarnpack's stream to the same bytes; timing xz on its own" \
      "--format=lzma stream of the same data instead"
    xz --format=lzma -6 -c "$sample.bin" >"$sample/xz-own.lzma"
    reference="$sample/xz-own.lzma"
  fi
  timed "$sample/xz.time" xz --format=lzma -dc "$reference" >/dev/null
  verify_once "$sample"
  rows+=("$sample $mib $(stat -c %s "$sample/stream.lzma") $(cat "$sample/ours.time") $(cat "$sample/xz.time")")
  rm -f "$sample.bin"
done

echo "== one file of $big_mib MiB (a repeated line of text)"
{ yes 'TarnInstall bench: one line of a highly compressible file, repeated over and over' ||
  true; } | head -c $((big_mib << 20)) >big.bin
start=$SECONDS
make_package big big.bin
echo "   packaged in $((SECONDS - start)) s"
rm -f big.bin
cut_stream big
timed big/xz.time xz --format=lzma -dc big/stream.lzma >/dev/null
/usr/bin/time -v "$tarnpack" verify big/Setup.exe 2>big/time-v.log >big/verify.log
grep -q '^2 passed, 0 failed$' big/verify.log || { cat big/verify.log >&2; exit 1; }
big_rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' big/time-v.log)
big_wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { print $2 }' big/time-v.log)
big_stream=$(stat -c %s big/stream.lzma)
read -r _ _ _ xz_big_rss <big/xz.time

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
  "$(xz --version | head -1)"
echo "Throughput = uncompressed MiB / wall seconds of one run; cpu = user + system seconds."
echo "Ours is tarnpack verify (it also reads the package's project); both discard the output."
echo
printf '%-6s %8s %10s | %7s %7s %10s %8s | %7s %7s %10s %8s\n' sample 'file MiB' \
  'stream MiB' 'ours s' 'cpu s' 'ours MiB/s' 'ours RSS' 'xz s' 'cpu s' 'xz MiB/s' 'xz RSS'
for row in "${rows[@]}"; do
  read -r name size stream ow ou os orss xw xu xs xrss <<<"$row"
  awk -v n="$name" -v s="$size" -v c="$stream" -v ow="$ow" -v oc="$ou" -v os="$os" \
    -v orss="$orss" -v xw="$xw" -v xc="$xu" -v xs="$xs" -v xrss="$xrss" 'BEGIN {
      printf "%-6s %8d %10.1f | %7.2f %7.2f %10.1f %7.1fM | %7.2f %7.2f %10.1f %7.1fM\n", n, s,
        c / 1048576, ow, oc + os, s / ow, orss / 1024, xw, xc + xs, s / xw, xrss / 1024 }'
done
echo
awk -v m="$big_mib" -v c="$big_stream" -v r="$big_rss" -v x="$xz_big_rss" -v w="$big_wall" 'BEGIN {
  printf "%d MiB file (stream %.2f MiB): tarnpack verify peak RSS %.1f MiB in %s; xz %.1f MiB\n",
    m, c / 1048576, r / 1024, w, x / 1024
  printf "holding the whole stream and the whole decoded file would need at least %.0f MiB\n",
    (m * 1048576 + c) / 1048576 }'
