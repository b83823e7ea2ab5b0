# shellcheck shell=bash
# Checks of the sample scripts: each check prints a line, failures are counted, and the script
# ends with check_report, which fails it if any check failed. Source after setting `work`.
failures=0

check() {  # description condition...
  local what=$1
  shift
  if "$@"; then
    echo "ok    $what"
  else
    echo "FAIL  $what" >&2
    failures=$((failures + 1))
  fi
}

check_report() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; evidence in $work" >&2
    exit 1
  fi
  echo "all checks passed"
}
