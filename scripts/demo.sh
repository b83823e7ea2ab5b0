#!/usr/bin/env bash
# The main job: builds the Tarn Sample package with the setup program of a Windows build tree,
# runs it under Wine (Xvfb when there is no display) in a copy of the tree's Wine prefix, and
# tells what happened. The tree's own prefix stays untouched for the tests.
#   scripts/demo.sh BUILD_TREE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-build/win32}" && pwd)
out="$tree/demo"
arch=$(bash "$root/scripts/wine-arch.sh")

echo "== Building the sample package"
rm -rf "$out"
SAMPLE_VARIANTS=sample "$root/scripts/make-sample-package.sh" "$tree" "$out"
setup="$out/sample/Setup.exe"
"$root/build/native/bin/tarnpack" list "$setup" | sed -n '1,12p'

echo "== Running $setup under Wine"
"$tree/wine-run" --prepare
"$tree/wine-run" --stop
prefix="$out/prefix"
cp -a "$tree/wineprefix" "$prefix"
wine() { "$root/scripts/wine-env.sh" "$prefix" "$arch" "$@"; }
wine --prepare
temp=$(find "$prefix/drive_c/users" -maxdepth 2 -type d -name Temp | head -n 1)
display=$(cat "$prefix.display" 2>/dev/null || echo "${DISPLAY:-}")
status=0
wine "$setup" &
pid=$!
sleep 3
if [ -n "$display" ]; then
  DISPLAY=$display import -window root "$out/running.png" 2>/dev/null || true
fi
echo "While it runs, the temporary folder holds:"
ls "$temp" | sed 's/^/  /'
wait $pid || status=$?
echo "Afterwards it holds: $(ls "$temp" | wc -l) file(s)"
wine --stop
rm -rf "$prefix" "$prefix.lock"
echo "Setup.exe ended with exit status $status (0: installation completed; 1: nothing installed)"
[ -f "$out/running.png" ] && echo "Screenshot taken while it ran: $out/running.png"
exit 0
