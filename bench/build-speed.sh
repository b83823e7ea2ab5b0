#!/usr/bin/env bash
# How long `tarnpack build` takes for a mixed payload of TARN_BUILD_MIB (default 200) MiB, on one
# thread and on every core, and whether both builds wrote the same bytes:
#   - 40% real binaries (ELF files of this machine's /usr/bin and /usr/lib, in name order),
#   - 40% text of words, numbers and punctuation, in files of 192 KiB to 6 MiB,
#   - 20% random bytes, in files of 4 MiB;
# every file is one compressed entry. Each build runs once: the machine is shared, so run this
# when it is quiet. Uses a Release tree in build/bench. Prints one line per figure.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
mib=${TARN_BUILD_MIB:-200}
cores=$(nproc)

for tool in cmake awk /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "build-speed: $tool is missing" >&2; exit 1; }
done

echo "== building $build (Release)" >&2
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target tarnpack >/dev/null
tarnpack="$build/bin/tarnpack"

work=$(mktemp -d "${TMPDIR:-/tmp}/tarn-build-speed.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/files"
cd "$work"

binary_bytes=$((mib * 4 / 10 << 20))
text_bytes=$((mib * 4 / 10 << 20))
random_bytes=$(((mib << 20) - binary_bytes - text_bytes))

echo "== making the payload in $work" >&2
# Real binaries: compress like a product's programs and libraries do.
total=0
n=0
while IFS= read -r file; do
  [ "$total" -lt "$binary_bytes" ] || break
  [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
  size=$(stat -c %s "$file")
  left=$((binary_bytes - total))
  [ "$size" -le "$left" ] || size=$left
  head -c "$size" "$file" >"files/bin$n.$(basename "$file")"
  total=$((total + size))
  n=$((n + 1))
done < <(find /usr/bin /usr/lib/x86_64-linux-gnu /usr/lib -maxdepth 1 -type f -size +64k \
  -size -8M 2>/dev/null | LC_ALL=C sort)
[ "$total" -eq "$binary_bytes" ] || { echo "build-speed: too few binaries here" >&2; exit 1; }

# Text: words, numbers and punctuation from a small vocabulary, in files of varied size.
awk -v size="$text_bytes" 'BEGIN {
  srand(1)
  n = split("the setup program installs files into folder of a product and writes keys " \
            "to registry when user chooses next on page with its shortcut version company " \
            "path is not found please insert disk volume stream bytes read from package " \
            "for each entry time stamp local error cancel finish window text size value " \
            "name list task uninstall record font group menu start data temp copy", w, " ")
  split("196608 1048576 3145728 524288 6291456", sizes, " ")
  total = 0; file = 0; used = 0; limit = sizes[1]; out = "files/text0.txt"
  while (total < size) {
    r = int(rand() * 80)
    if (r < 64) s = w[r % n + 1] " "
    else if (r < 70) s = int(rand() * 100000) " "
    else if (r < 76) s = ", "
    else s = ".\r\n"
    if (length(s) > size - total) s = substr(s, 1, size - total)
    printf "%s", s > out
    total += length(s); used += length(s)
    if (used >= limit && total < size) {
      close(out); file++; used = 0; limit = sizes[file % 5 + 1]; out = "files/text" file ".txt"
    }
  }
}'

# Random bytes: nothing for the compressor to find.
left=$random_bytes
n=0
while [ "$left" -gt 0 ]; do
  size=$((left < 4 << 20 ? left : 4 << 20))
  head -c "$size" /dev/urandom >"files/random$n.bin"
  left=$((left - size))
  n=$((n + 1))
done

head -c 4096 /dev/zero >TarnSetup.exe
printf '[Language=409]\r\nSureDesc=OK\r\n' >lang.ini
{
  printf '%s\r\n' '<?xml version="1.0" encoding="GB2312"?>' '<InstallProject>' \
    '<Version>TarnInstall5.0</Version>' \
    '<Task ID="2401" Type="DataSetting" IsExec="0">' \
    '<SubTask ID="10001" Type="GetAllVar">' '<ProjectName>Bench</ProjectName>' \
    '<DiskSize></DiskSize>' '<SoftwareSize></SoftwareSize>' '<FileQty></FileQty>' \
    '</SubTask>' '</Task>' \
    '<Task ID="2412" Type="ExtractFiles" IsExec="0">' \
    '<SubTask ID="10001" Type="FolderList">' '<Folder>[InstallDir]</Folder>' '</SubTask>' \
    '<SubTask ID="10002" Type="FileList">' \
    '<File>[TempFileDir]\~TarnInstall-Language.ini,lang.ini,K</File>'
  for f in files/*; do
    printf '<File>[InstallDir]\\%s,%s,A</File>\r\n' "${f#files/}" "$f"
  done
  printf '%s\r\n' '</SubTask>' '</Task>' '</InstallProject>'
} >project.xml
files=$(find files -type f | wc -l)

# Builds with $1 threads into folder $2; leaves "wall user sys maxrss-KiB" in $2.time.
build() {
  mkdir -p "$2"
  echo "== building with $1 thread(s)" >&2
  /usr/bin/time -f '%e %U %S %M' -o "$2.time" "$tarnpack" build --stub TarnSetup.exe \
    --project project.xml -o "$2/Setup.exe" --threads "$1" >/dev/null </dev/null
}

build 1 one
build "$cores" all
read -r one_wall one_user one_sys one_rss <one.time
read -r all_wall all_user all_sys all_rss <all.time
same=no
cmp -s one/Setup.exe all/Setup.exe && same=yes

echo "machine: $cores cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)"
awk -v t="$((mib << 20))" -v f="$files" -v b="$binary_bytes" -v x="$text_bytes" \
  -v r="$random_bytes" -v p="$(stat -c %s one/Setup.exe)" 'BEGIN {
  m = 1048576
  printf "payload: %.1f MiB in %d files (%.1f MiB binaries, %.1f MiB text, %.1f MiB random)\n",
    t / m, f, b / m, x / m, r / m
  printf "package: %.1f MiB\n", p / m }'
awk -v w="$one_wall" -v u="$one_user" -v s="$one_sys" -v m="$one_rss" -v t="$((mib << 20))" '
  BEGIN { printf "1 thread: %.2f s wall, %.2f s cpu, %.2f MiB/s, peak RSS %.0f MiB\n", w, u + s,
    t / 1048576 / w, m / 1024 }'
awk -v n="$cores" -v w="$all_wall" -v u="$all_user" -v s="$all_sys" -v m="$all_rss" \
  -v o="$one_wall" -v t="$((mib << 20))" 'BEGIN {
  printf "%d threads: %.2f s wall, %.2f s cpu, %.2f MiB/s, peak RSS %.0f MiB\n", n, w, u + s,
    t / 1048576 / w, m / 1024
  printf "%d threads / 1 thread: %.2f of the single-thread time\n", n, w / o }'
echo "identical packages from 1 and $cores threads: $same"
[ "$same" = yes ]
