#!/usr/bin/env bash
# Installation speed of the engine against the decoder alone:
#   1. tarn_bench's BM_Install builds a package of TARN_BENCH_SMALL_FILES 4 KiB files (default
#      2000) and three large files of TARN_BENCH_LARGE_MIB each (default 16; two text-like, one
#      random) and installs it three times through the whole worker into a scratch folder; the
#      worker's prescribed pauses are only added up, so its time is the engine's own work;
#   2. the very same streams are cut out of that package at the offsets `tarnpack list` gives and
#      decoded by `xz --format=lzma -dc`, each into a file of its own, like the engine does.
#      For the small files, the cost of starting xz that many times is measured separately (the
#      same loop decoding an empty stream) and taken off.
# Every xz measurement runs once: the machine is shared. Uses a Release tree in build/bench.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
export TARN_BENCH_SMALL_FILES=${TARN_BENCH_SMALL_FILES:-2000}
export TARN_BENCH_LARGE_MIB=${TARN_BENCH_LARGE_MIB:-16}

for tool in xz cmake dd /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare-install: $tool is missing" >&2; exit 1; }
done

# TARN_COMPARE_SKIP_BUILD=1 takes the programs already in the tree.
if [ "${TARN_COMPARE_SKIP_BUILD:-0}" != 1 ]; then
  echo "== building $build (Release)"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli >/dev/null
  cmake --build "$build" -j"$(nproc)" --target tarnpack tarn_bench >/dev/null
fi
tarnpack="$build/bin/tarnpack"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-compare-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "== engine: $TARN_BENCH_SMALL_FILES x 4 KiB + 3 x $TARN_BENCH_LARGE_MIB MiB, three installations"
TARN_BENCH_INSTALL_KEEP="$work/package" "$build/bin/tarn_bench" \
  --benchmark_filter='^BM_Install' >engine.log 2>&1 || { cat engine.log >&2; exit 1; }
line=$(grep '^BM_Install' engine.log) || { cat engine.log >&2; exit 1; }
case $line in *ERROR*) echo "$line" >&2; exit 1 ;; esac
engine_ms=$(awk '{ print $2 }' <<<"$line")
counter() { grep -o "$1=[0-9.e+]*" <<<"$line" | head -1 | cut -d= -f2; }

echo "== cutting the streams out of the package"
mkdir -p small large out/small out/large
"$tarnpack" list package/Setup.exe |
  awk '$1 == "file" && $2 == "A" { gsub(",", "", $6); print $6, $7, $NF }' >streams.txt
while read -r offset size target; do
  case $target in
    *\\small\\*) dest=small ;;
    *) dest=large ;;
  esac
  name=${target##*\\}
  dd if=package/Setup.exe of="$dest/$name.lzma" bs=1M iflag=skip_bytes,count_bytes \
    skip="$offset" count="$size" status=none
done <streams.txt
small_count=$(find small -name '*.lzma' | wc -l)
xz --format=lzma -c </dev/null >empty.lzma

# Runs a command once; leaves "wall user sys" in the file named first.
timed() {
  local out=$1
  shift
  /usr/bin/time -f '%e %U %S' -o "$out" "$@"
}

echo "== xz: the large streams"
large_wall=0
for stream in large/*.lzma; do
  name=$(basename "$stream" .lzma)
  timed "$name.time" sh -c 'xz --format=lzma -dc "$1" >"$2"' sh "$stream" "out/large/$name"
  large_wall=$(awk -v a="$large_wall" -v b="$(cut -d' ' -f1 "$name.time")" 'BEGIN { print a + b }')
done

echo "== xz: the $small_count small streams, and as many starts decoding nothing"
timed small.time sh -c 'for s in small/*.lzma; do
  n=${s##*/}; xz --format=lzma -dc "$s" >"out/small/${n%.lzma}"; done'
timed starts.time sh -c 'i=0; while [ "$i" -lt "$1" ]; do
  xz --format=lzma -dc empty.lzma >out/empty; i=$((i + 1)); done' sh "$small_count"
small_wall=$(cut -d' ' -f1 small.time)
starts_wall=$(cut -d' ' -f1 starts.time)
decoded_mib=$(du -sm --apparent-size out/small out/large | awk '{ s += $1 } END { print s }')

echo
echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)," \
  "$(xz --version | head -1)"
echo "Package: $small_count x 4 KiB + 3 x $TARN_BENCH_LARGE_MIB MiB, $(stat -c %s package/Setup.exe) bytes; xz wrote $decoded_mib MiB"
echo
awk -v e="$engine_ms" -v fps="$(counter 'files/s')" -v mps="$(counter 'MiB/s')" \
  -v p="$(counter pauses_s)" -v lw="$large_wall" -v sw="$small_wall" -v st="$starts_wall" \
  -v n="$small_count" 'BEGIN {
    x = lw + sw - st
    printf "engine (RunInstallWorker, pauses not waited): %.3f s per installation, %.0f files/s, %.1f MiB/s\n",
      e / 1000, fps, mps
    printf "  the prescribed pauses would add %.2f s\n", p
    printf "xz alone: large streams %.3f s, small streams %.3f s - %.3f s for %d starts = %.3f s\n",
      lw, sw, st, n, sw - st
    printf "xz total %.3f s; engine / xz = %.2f (target: at most 1.10)\n", x, (e / 1000) / x }'
