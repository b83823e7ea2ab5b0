#!/usr/bin/env bash
# The main job: builds the Tarn Sample package with the setup program of a Windows build tree,
# runs it under Wine (Xvfb when there is no display) in a copy of the tree's Wine prefix, and
# tells what happened; then removes it again through Wine's list of installed programs and
# shows that nothing is left. The tree's own prefix stays untouched for the tests.
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
if [ "${TARN_DEMO_SIGN:-0}" = 1 ]; then
  echo "== Signing $setup with a self-signed certificate (TARN_DEMO_SIGN=1)"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarn demo signer" \
    -addext extendedKeyUsage=codeSigning -keyout "$out/key.pem" -out "$out/cert.pem" 2>/dev/null
  osslsigncode sign -certs "$out/cert.pem" -key "$out/key.pem" -n "Tarn Sample" \
    -in "$setup" -out "$out/sample/Setup-signed.exe" >/dev/null
  mv "$out/sample/Setup-signed.exe" "$setup"
  osslsigncode verify -CAfile "$out/cert.pem" -in "$setup" | grep -E 'Signature verification|Subject:' || true
fi
"$root/build/native/bin/tarnpack" list "$setup" | sed -n '1,12p'

echo "== Running $setup under Wine"
"$tree/wine-run" --prepare
"$tree/wine-run" --stop
prefix="$out/prefix"
cp -a "$tree/wineprefix" "$prefix"
wine() { "$root/scripts/wine-env.sh" "$prefix" "$arch" "$@"; }
wine --prepare
# What the removal at the end must give back: the files of drive C: and the keys products use.
machine() {
  (cd "$prefix/drive_c" && find . -path './users/*/Temp' -prune -o -path './windows/temp' -prune \
    -o -print | LC_ALL=C sort)
  local key
  for key in 'HKLM\Software\TarnSoft' 'HKLM\Software\TarnSoft Samples' 'HKCU\Software\TarnSoft Samples' \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarn Sample 1.0' 'HKCR\.UCIP' \
    'HKCR\TarnUnInstall'; do
    wine reg query "$key" /s >/dev/null 2>&1 && echo "registry key $key"
  done
  return 0
}
machine >"$out/machine-before.txt"
temp=$(find "$prefix/drive_c/users" -maxdepth 2 -type d -name Temp | head -n 1)
display=$(cat "$prefix.display" 2>/dev/null || echo "${DISPLAY:-}")
status=0
wine "$setup" &
pid=$!
drive() { wine "$tree/bin/tarndriver.exe" "$@" >/dev/null; }
shot() {
  if [ -n "$display" ]; then
    DISPLAY=$display import -window root "$out/$1.png" 2>/dev/null || true
  fi
}
wizard="Tarn Sample 1.0 Setup"
# The way a person goes: every page's defaults, the licence accepted, and Finish without
# starting the sample application (it would keep its window open).
walk() {
  drive --timeout 90 wait "$wizard" || return 1
  echo "While the wizard shows, the temporary folder holds:"
  ls "$temp" | sed 's/^/  /'
  shot 1-welcome
  # The licence page's accept button shares its ID with a line of the frame: named by class.
  drive click "$wizard" 1001 && drive --class Button wait-state "$wizard" 1002 visible &&
    drive --class Button click "$wizard" 1002 || return 1
  local page n=2
  for page in licence readme user-information program-folder install-path; do
    shot "$n-$page"
    n=$((n + 1))
    drive click "$wizard" 1001 || return 1
  done
  drive --timeout 300 wait-text "$wizard" 1001 "&Finish" || return 1
  shot "$n-finish"
  drive untick "$wizard" 10001 && drive click "$wizard" 1001
}
walked=0
walk && walked=1
[ "$walked" = 1 ] || echo "The wizard could not be walked through; see the screenshots in $out"
# Never wait forever: a program still running a minute after the walk is ended, and Wine with it.
for _ in $(seq 1 60); do kill -0 $pid 2>/dev/null || break; sleep 1; done
if kill -0 $pid 2>/dev/null; then
  echo "Setup.exe still runs a minute after the walk: stopping it and Wine"
  kill $pid 2>/dev/null || true
  wine --stop
fi
wait $pid || status=$?
echo "Afterwards the temporary folder holds $(ls "$temp" | wc -l) file(s)"
installed="$prefix/drive_c/Program Files/Tarn Sample"
installed_ok=0
[ -f "$installed/SampleApp.exe" ] && installed_ok=1
if [ -d "$installed" ]; then
  echo "Installed in C:\\Program Files\\Tarn Sample:"
  (cd "$installed" && find . -type f -printf '  %P  (%s bytes, %TY-%Tm-%Td %TH:%TM)\n' | sort)
  echo "Shortcuts:"
  find "$prefix/drive_c" -name '*.Lnk' -printf '  %P\n' | sort
  echo "Uninstall registration:"
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarn Sample 1.0' |
    tr -d '\r' | grep REG_ | sed 's/^ */  /'
fi
echo "Setup.exe ended with exit status $status (0: installation completed; 1: not completed)"
echo "Screenshots of the pages: $out/*.png"

echo "== Removing it from Wine's list of installed programs: uninstaller --remove \"Tarn Sample 1.0\""
echo "   (which runs the registered UninstallString: our window, Uninstall, then Close)"
remove_status=0
wine uninstaller --remove "Tarn Sample 1.0" &
pid=$!
uninstaller="Uninstall"
if drive --timeout 60 wait "$uninstaller"; then
  shot uninstall-1-ready
  drive click "$uninstaller" 1205 &&
    drive --timeout 120 wait-text "$uninstaller" 1203 "The program has been removed." &&
    shot uninstall-2-done && drive click "$uninstaller" 1206 || remove_status=1
else
  remove_status=1
fi
for _ in $(seq 1 60); do kill -0 $pid 2>/dev/null || break; sleep 1; done
kill -0 $pid 2>/dev/null && kill $pid 2>/dev/null
wait $pid || remove_status=$?
echo "The removal ended with exit status $remove_status (0: removed)"

echo "== The same package installed silently, as an administrator's script does it:"
echo '   Setup.exe /S "/GROUP=Tarn Sample (silent)" /LOG=C:\tarn-silent.log /D=C:\Tarn Sample Silent'
silent_status=0
wine "$setup" /S "/GROUP=Tarn Sample (silent)" '/LOG=C:\tarn-silent.log' '/D=C:\Tarn' \
  Sample Silent &
pid=$!
for _ in $(seq 1 300); do kill -0 $pid 2>/dev/null || break; sleep 1; done
kill -0 $pid 2>/dev/null && kill $pid 2>/dev/null
wait $pid || silent_status=$?
echo "It ended with exit status $silent_status; its log:"
if [ -f "$prefix/drive_c/tarn-silent.log" ]; then
  tr -d '\r' <"$prefix/drive_c/tarn-silent.log" | sed 's/^/  /'
fi

echo "== Removing it again without a window, with its QuietUninstallString:"
list='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarn Sample 1.0'
quiet=$(wine reg query "$list" /v QuietUninstallString 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *QuietUninstallString *REG_SZ *//p')
echo "   $quiet"
removed_status=1
if [ -n "$quiet" ]; then
  program=${quiet#\"}
  program=${program%%\"*}
  program=${program//\\//}
  # shellcheck disable=SC2086  # the record path's words are passed on as one line
  wine "$prefix/drive_c/${program:3}" ${quiet#\"*\" } && removed_status=0 || removed_status=$?
fi
echo "The quiet removal ended with exit status $removed_status (0: removed)"
# The administrator's log is theirs to keep; it is no part of the product.
rm -f "$prefix/drive_c/tarn-silent.log"
echo "== Restarting Wine (wineboot -r): the running uninstaller's own file goes at the restart"
wine wineboot -r >/dev/null 2>&1 || true
wine --stop
machine >"$out/machine-after.txt"
if diff -u "$out/machine-before.txt" "$out/machine-after.txt" >"$out/machine.diff"; then
  echo "Nothing is left: drive C: and the product's registry keys are as before the installation"
  left=0
else
  echo "Left behind after the removal:"
  sed -n 's/^+[^+]/  &/p' "$out/machine.diff"
  left=1
fi
wine --stop
rm -rf "$prefix" "$prefix.lock"
# The demo succeeds only when the sample really was installed through the whole wizard, then
# once more without it, and both were removed without a trace.
[ "$walked" = 1 ] && [ "$status" = 0 ] && [ "$installed_ok" = 1 ] && [ "$silent_status" = 0 ] &&
  [ "$removed_status" = 0 ] && [ "$remove_status" = 0 ] && [ "$left" = 0 ]
