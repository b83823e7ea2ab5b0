#!/usr/bin/env bash
# Whole-program install times under Wine, one line per figure:
#   - a silent installation (/S) of 500 files / 200 MiB of mixed payload (real programs and
#     libraries of this machine, text, random bytes), beside `xz --format=lzma -dc` decoding the
#     very same streams, each into a file of its own, single-threaded, in the same sitting;
#   - a silent installation of 16,000 files of 1 KiB, per file, beside xz on the same streams
#     (xz's own start-up, measured on an empty stream as often, taken off);
#   - an installation of the same 500 files through the wizard, with its pauses: the file stage
#     as the log times it, without its pauses, beside the same xz figure;
#   - what the file system asks at the least for 16,000 files of 1 KiB: a bare program creating
#     them, and one that also stages, time-stamps and renames each (bench/wine/FileFloor.cpp);
#   - the size of the i686 stub;
#   - the time from starting the 200 MiB package to its first wizard page, with a running
#     wineserver.
# Packs with a Release tarnpack (build/bench) and the Windows tree Wine runs here. Takes a few
# minutes; the machine should be otherwise idle.
#   bench/wine-install.sh            (BENCH_SMALL_FILES=N changes the 16,000)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
small_files=${BENCH_SMALL_FILES:-16000}
arch=$(bash "$root/scripts/wine-arch.sh")
export TARN_BUILD=$root/build/$arch TARN_ROOT=$root TARN_WINE_ARCH=$arch
for tool in xz dd cmake /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "wine-install: $tool is missing" >&2; exit 1; }
done

echo "== building (Release tarnpack in build/bench, the $arch tree, the i686 stub)" >&2
cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli >/dev/null
cmake --build "$root/build/bench" -j"$(nproc)" --target tarnpack >/dev/null
make -C "$root" wine-build >/dev/null
tarnpack=$root/build/bench/bin/tarnpack

# The scenario library gives a prefix copy, the display and the wineserver.
# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
# shellcheck source=tests/e2e/wizard_lib.sh
source "$root/tests/e2e/wizard_lib.sh"
"$TARN_BUILD/wine-run" --prepare >/dev/null
trap '"$TARN_BUILD/wine-run" --stop >/dev/null 2>&1 || true' EXIT
e2e_begin bench-wine-install
work=$E2E_DIR/payload
rm -rf "$work"
mkdir -p "$work"

# A project: the sample's, with LINES at the end of its file list and FOLDERS at the head of its
# folder list.
project_with() {  # PROJECT LINES FOLDERS
  awk -v lines="$2" -v folders="$3" '
    /Type="FileList">/ { list = 1 }
    list && /^<\/SubTask>/ { while ((getline l < lines) > 0) print l; list = 0 }
    { print }
    /Type="FolderList">/ { while ((getline l < folders) > 0) print l }
  ' "$base/project-sample-no-ad.xml" >"$1"
}

# The sample staged as its packages are (its programs in bin/), without the advertisement.
SAMPLE_VARIANTS=sample-no-ad TARNPACK=$tarnpack bash "$root/scripts/make-sample-package.sh" \
  "$TARN_BUILD" "$work/sample" >/dev/null
base=$work/sample/stage/sample

# --- the 200 MiB payload ------------------------------------------------------------------
mixed=$work/mixed
cp -r "$base" "$mixed"
mkdir -p "$mixed"/files/bench/{bin,text,random}
lines=$mixed/lines
: >"$lines"
add() {  # FOLDER NAME
  printf '<File>[InstallDir]\\Bench\\%s\\%s,files\\bench\\%s\\%s,A</File>\r\n' "$1" "$2" "$1" "$2" \
    >>"$lines"
}
# 170 programs and libraries of this machine, at most 80 MiB.
budget=$((80 << 20))
n=0
while read -r file; do
  size=$(stat -c %s "$file")
  [ "$size" -le "$budget" ] || continue
  budget=$((budget - size))
  n=$((n + 1))
  cp "$file" "$mixed/files/bench/bin/b$n.bin"
  add bin "b$n.bin"
  [ "$n" -lt 170 ] || break
done < <(find /usr/bin /usr/lib/x86_64-linux-gnu -maxdepth 1 -type f -size +20k -size -8M 2>/dev/null | sort)
# 170 text files from the machine's headers and documents, 60 MiB in all.
find /usr/include /usr/share/doc -type f \( -name '*.h' -o -name '*.txt' -o -name 'copyright' \) \
  2>/dev/null | sort | xargs cat 2>/dev/null >"$work/text.one" || true
[ "$(stat -c %s "$work/text.one")" -gt $((1 << 20)) ] || { echo "too little text here" >&2; exit 1; }
: >"$work/text.all"
while [ "$(stat -c %s "$work/text.all")" -lt $((60 << 20)) ]; do cat "$work/text.one" >>"$work/text.all"; done
truncate -s $((60 << 20)) "$work/text.all"
split -n 170 -d -a 3 "$work/text.all" "$mixed/files/bench/text/t"
for f in "$mixed"/files/bench/text/t*; do mv "$f" "$f.txt"; add text "$(basename "$f").txt"; done
# 160 files of random bytes, filling the payload up to 200 MiB.
random_bytes=$(((200 << 20) - $(du -sb "$mixed/files/bench" | cut -f1)))
for i in $(seq 1 160); do
  head -c $((random_bytes / 160)) /dev/urandom >"$mixed/files/bench/random/r$i.bin"
  add random "r$i.bin"
done
total=$(grep -c '<File>' "$lines")
printf '<Folder>[InstallDir]\\Bench</Folder>\r\n<Folder>[InstallDir]\\Bench\\%s</Folder>\r\n' \
  bin text random | awk 'NR == 1 || !/Bench<\/Folder>/' >"$mixed/folders"
project_with "$mixed/project.xml" "$lines" "$mixed/folders"
mkdir -p "$work/mixed-setup" "$work/small-setup"
"$tarnpack" build --stub "$TARN_BUILD/bin/TarnSetup.exe" --project "$mixed/project.xml" \
  -o "$work/mixed-setup/Setup.exe" >/dev/null
payload_mib=$(du -sm "$mixed/files/bench" | cut -f1)

# --- the 16,000 small files ------------------------------------------------------------------
smalls=$work/small
cp -r "$base" "$smalls"
: >"$smalls/lines"
: >"$smalls/folders"
printf '<Folder>[InstallDir]\\Small</Folder>\r\n' >>"$smalls/folders"
per_folder=500
for ((i = 0; i < small_files; i++)); do
  folder=d$((i / per_folder))
  if ((i % per_folder == 0)); then
    mkdir -p "$smalls/files/small/$folder"
    printf '<Folder>[InstallDir]\\Small\\%s</Folder>\r\n' "$folder" >>"$smalls/folders"
  fi
  printf '<File>[InstallDir]\\Small\\%s\\s%d.txt,files\\small\\%s\\s%d.txt,A</File>\r\n' \
    "$folder" "$i" "$folder" "$i" >>"$smalls/lines"
done
python3 - "$smalls/files/small" "$small_files" "$per_folder" <<'EOF'
import os, random, sys
root, count, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(7)
words = [w.strip() for w in open('/usr/share/dict/words')] if os.path.exists('/usr/share/dict/words') else ['tarn', 'lake', 'stone', 'water', 'hill', 'moss']
for i in range(count):
    text = ' '.join(rng.choice(words) for _ in range(400))[:1024]
    with open(f'{root}/d{i // per}/s{i}.txt', 'w') as f:
        f.write(text.ljust(1024))
EOF
project_with "$smalls/project.xml" "$smalls/lines" "$smalls/folders"
"$tarnpack" build --stub "$TARN_BUILD/bin/TarnSetup.exe" --project "$smalls/project.xml" \
  -o "$work/small-setup/Setup.exe" >/dev/null

# --- xz on the same streams ---------------------------------------------------------------------
# Cuts every compressed bench stream out of a package; prints the folder they are in.
cut_streams() {  # SETUP PATTERN FOLDER
  mkdir -p "$3"
  "$tarnpack" list "$1" | awk -v pat="$2" '$1 == "file" && $2 == "A" && index($NF, pat) {
      gsub(",", "", $6); print $6, $7 }' |
    while read -r offset size; do
      dd if="$1" of="$3/$offset.lzma" bs=1M iflag=skip_bytes,count_bytes skip="$offset" \
        count="$size" status=none
    done
}
decode_all() {  # FOLDER OUT
  mkdir -p "$2"
  for s in "$1"/*.lzma; do n=${s##*/}; xz --format=lzma -dc "$s" >"$2/${n%.lzma}"; done
}
# Wall seconds of a command; its own output is dropped, a failure shows in the checks after it.
seconds() {
  /usr/bin/time -f %e -o "$work/t" "$@" >/dev/null 2>&1 || true
  cat "$work/t"
}

cut_streams "$work/mixed-setup/Setup.exe" '\Bench\' "$work/xz-mixed"
cut_streams "$work/small-setup/Setup.exe" '\Small\' "$work/xz-small"
xz --format=lzma -c </dev/null >"$work/empty.lzma"
export -f decode_all

# --- the runs -------------------------------------------------------------------------------------
silent() {  # SETUP FOLDER
  e2e_wine cmd /c exit 0 >/dev/null 2>&1  # the wineserver is up and warm
  seconds "$E2E_WINE" "$1" /S "/D=C:\\$2"
}
mixed_s=$(silent "$work/mixed-setup/Setup.exe" Mixed)
[ -f "$(e2e_unix_path 'C:\Mixed\Bench\random\r160.bin')" ] || { echo "the mixed install failed" >&2; exit 1; }
mixed_xz=$(seconds bash -c 'decode_all "$1" "$2"' _ "$work/xz-mixed" "$work/xz-mixed-out")
small_s=$(silent "$work/small-setup/Setup.exe" Small)
[ -f "$(e2e_unix_path "C:\\Small\\Small\\d$(((small_files - 1) / per_folder))\\s$((small_files - 1)).txt")" ] ||
  { echo "the small-file install failed" >&2; exit 1; }
small_xz=$(seconds bash -c 'decode_all "$1" "$2"' _ "$work/xz-small" "$work/xz-small-out")
starts=$(seconds bash -c 'for ((i = 0; i < $1; i++)); do xz --format=lzma -dc "$2" >/dev/null; done' \
  _ "$small_files" "$work/empty.lzma")

# Through the wizard, paced as a person sees it; the log gives the file stage's time and pauses.
e2e_wine cmd /c exit 0 >/dev/null 2>&1
e2e_start "$work/mixed-setup/Setup.exe" '/LOG=C:\interactive.log'
wizard_walk_to_progress
e2e_step "the installation completes" --timeout 600 wait-text "$WIZARD" "$WIZARD_NEXT" "&Finish"
for box in 10001 30015; do e2e_drive untick "$WIZARD" "$box" >/dev/null 2>&1 || true; done
e2e_step "Finish" click "$WIZARD" "$WIZARD_NEXT"
e2e_wait_exit 60 || { echo "the interactive install did not end" >&2; exit 1; }
stage=$(grep -a -o 'File stage over after [0-9]* ms ([0-9]* ms of it pauses)' \
  "$(e2e_unix_path 'C:\interactive.log')" | tr -dc '0-9 ' | awk '{ print $1, $2 }')
[ -n "$stage" ] || { echo "the interactive install logged no file stage" >&2; exit 1; }

# The file system's own cost per file, measured by a program of a few lines.
case $arch in
  win64) cxx=x86_64-w64-mingw32-g++-posix ;;
  *) cxx=i686-w64-mingw32-g++-posix ;;
esac
"$cxx" -O2 -static -o "$work/FileFloor.exe" "$root/bench/wine/FileFloor.cpp"
floor=$(e2e_wine "$work/FileFloor.exe" 'C:\Floor' "$small_files" | tr -d '\r')

stub=$root/build/win32/bin/TarnSetup.exe
[ -f "$stub" ] || make -C "$root" win32 >/dev/null
stub_bytes=$(stat -c %s "$stub")

# The first page: the driver waits for the wizard while the setup program loads.
e2e_wine cmd /c exit 0 >/dev/null 2>&1
start=$(date +%s.%N)
"$E2E_WINE" "$work/mixed-setup/Setup.exe" </dev/null >/dev/null 2>&1 &
setup_pid=$!
"$E2E_WINE" "$E2E_DRIVER" --timeout 60 wait "Tarn Sample 1.0 Setup" >/dev/null 2>&1
first_page=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
"$E2E_WINE" "$E2E_DRIVER" close "Tarn Sample 1.0 Setup" >/dev/null 2>&1 || true
"$E2E_WINE" "$E2E_DRIVER" msgbox "Tarn Sample 1.0 Setup" yes >/dev/null 2>&1 || true
kill "$setup_pid" 2>/dev/null || true
wait "$setup_pid" 2>/dev/null || true

awk -v s="$mixed_s" -v x="$mixed_xz" -v mib="$payload_mib" -v n="$total" 'BEGIN {
  printf "silent install, %d files / %d MiB mixed: %.2f s; xz -dc of the same streams: %.2f s; ratio %.2f (target 0.75)\n", n, mib, s, x, s / x }'
awk -v s="$small_s" -v x="$small_xz" -v st="$starts" -v n="$small_files" 'BEGIN {
  printf "silent install, %d x 1 KiB: %.2f s, %.3f ms per file (target 0.35); xz -dc of the same streams: %.3f ms per file after its start-up\n", n, s, s * 1000 / n, (x - st) * 1000 / n }'
awk -v st="$stage" -v x="$mixed_xz" -v n="$total" 'BEGIN { split(st, t, " ")
  s = (t[1] - t[2]) / 1000
  printf "wizard install, %d files: file stage %.2f s, %.2f s of it pauses; without them %.2f s, ratio %.2f to xz (target 0.7)\n", n, t[1] / 1000, t[2] / 1000, s, s / x }'
echo "$floor" | awk -v n="$small_files" '{ f[$1] = $2 } END {
  printf "the file system alone, %d x 1 KiB: %.3f ms per file created bare, %.3f ms staged, time-stamped and renamed\n", n, f["bare"], f["staged"] }'
echo "i686 stub: $stub_bytes bytes ($((stub_bytes / 1024)) KiB; target 300 KiB)"
echo "first wizard page of the 200 MiB package: $first_page s after start (target 1.2 s)"
e2e_end >/dev/null 2>&1 || true
