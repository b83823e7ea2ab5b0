#!/usr/bin/env bash
# The main job: builds the Tarn Sample package with the setup program of a Windows build tree,
# runs it under Wine (Xvfb when there is no display) and tells what happened.
#   scripts/demo.sh BUILD_TREE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-build/win32}
out="$tree/demo"

echo "== Building the sample package"
rm -rf "$out"
SAMPLE_VARIANTS=sample "$root/scripts/make-sample-package.sh" "$tree" "$out"
setup="$out/sample/Setup.exe"
"$root/build/native/bin/tarnpack" list "$setup" | sed -n '1,12p'

echo "== Running $setup under Wine"
"$tree/wine-run" --prepare
prefix="$tree/wineprefix"
temp=$(find "$prefix/drive_c/users" -maxdepth 2 -type d -name Temp | head -n 1)
display=$(cat "$prefix.display" 2>/dev/null || echo "${DISPLAY:-}")
status=0
"$tree/wine-run" "$setup" &
pid=$!
sleep 3
if [ -n "$display" ]; then
  DISPLAY=$display import -window root "$out/running.png" 2>/dev/null || true
fi
echo "While it runs, the temporary folder holds:"
ls "$temp" | sed 's/^/  /'
wait $pid || status=$?
echo "Afterwards it holds: $(ls "$temp" | wc -l) file(s)"
"$tree/wine-run" --stop
echo "Setup.exe ended with exit status $status (0: installation completed; 1: nothing installed)"
[ -f "$out/running.png" ] && echo "Screenshot taken while it ran: $out/running.png"
exit 0
