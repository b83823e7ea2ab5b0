#!/usr/bin/env bash
# Runs the setup program of the Windows build under Wine and reports how it ended.
set -euo pipefail
build=${1:-build/win32}
"$build/wine-run" --prepare
status=0
"$build/wine-run" "$build/bin/TarnSetup.exe" || status=$?
"$build/wine-run" --stop
echo "TarnSetup.exe ended with exit status $status (0: installation completed; 1: nothing installed)"
