#!/usr/bin/env bash
# Installs everything the two builds and the tests need on a Debian 12 machine (run as root).
# Idempotent: a second run only checks and finishes in seconds.
#   - Debian packages (i386 architecture for wine32)
#   - Debian source lines derived from the machine's own apt sources
#   - static liblzma and GoogleTest for MinGW (i686; x86_64 too) and for 32-bit x86 Linux (the
#     -m32 test tier, run under qemu-i386 where the kernel runs 64-bit code only), built into
#     .deps/ from Debian's sources
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
export DEBIAN_FRONTEND=noninteractive

packages=(cmake make g++ pkg-config dpkg-dev
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix mingw-w64-i686-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine32 wine64 fonts-wine xvfb xauth x11-utils imagemagick
  liblzma-dev googletest libgtest-dev libbenchmark-dev xz-utils
  g++-multilib qemu-user openssl osslsigncode
  clang libclang-rt-14-dev)

log() { printf '[install-deps] %s\n' "$*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    installed "$p" || echo "$p"
  done
}

# Debian's mirror is sometimes out of step for a while (one index of the wrong size, "Mirror sync
# in progress?"): every apt step is tried a few times with a growing pause. TARN_APT_TRIES and
# TARN_APT_PAUSE (seconds before the second try; doubled each time) tune it.
apt_tries=${TARN_APT_TRIES:-4}
apt_pause=${TARN_APT_PAUSE:-10}
apt_err=$(mktemp)
trap 'rm -f "$apt_err"' EXIT

first_error() { grep -m1 -E '^(E|W): ' "$apt_err" || tail -n 1 "$apt_err"; }

# A resolver failure (a package that needs versions the loaded indexes do not have) gives the
# same answer on every try; only a download that failed is worth another one.
resolver_failure() {
  grep -qE 'Unable to correct problems|held broken packages|generated breaks|Unable to locate package|has no installation candidate' "$apt_err"
}

# with_retries WHAT COMMAND...: runs COMMAND until it succeeds or the tries are used up.
with_retries() {
  local what=$1 try pause=$apt_pause
  shift
  for try in $(seq 1 "$apt_tries"); do
    "$@" >/dev/null 2>"$apt_err" && return 0
    log "$what failed (try $try of $apt_tries): $(first_error)"
    resolver_failure && return 1
    [ "$try" -lt "$apt_tries" ] && { log "trying again in $pause s"; sleep "$pause"; }
    pause=$((pause * 2))
  done
  return 1
}

apt_updated=0
apt_update() {
  [ $apt_updated -eq 0 ] || return 0
  apt_updated=1
  # apt-get update exits 100 when one index failed even though the others loaded; the
  # packages may well resolve from them, so going on is the right call, and install says
  # precisely what did not.
  with_retries "apt-get update" as_root apt-get update -qq \
    || log "some package indexes could not be loaded; going on with the ones that did"
}

apt_install() {
  as_root apt-get install -y -qq --no-install-recommends "$@"
}

# Installs the missing packages; what cannot be installed is named with apt's reason. Only
# wine32 may be missing: the Windows tests then run the x86_64 tree under wine64.
install_packages() {
  local todo=("$@") p failed=() reason
  log "installing: ${todo[*]}"
  apt_update
  if with_retries "apt-get install" apt_install "${todo[@]}"; then return 0; fi
  log "installing the packages one by one to find the ones that fail"
  for p in "${todo[@]}"; do
    installed "$p" && continue
    if ! apt_install "$p" >/dev/null 2>"$apt_err"; then
      reason=$(grep -E '^ [^ ].*(Depends|Breaks|Conflicts):|^E: ' "$apt_err" | head -n 3 \
        | sed -E 's/^ +//' | paste -sd ';' -)
      log "could not install $p: ${reason:-$(first_error)}"
      failed+=("$p")
    fi
  done
  local fatal=()
  for p in "${failed[@]}"; do
    [ "$p" = wine32 ] || fatal+=("$p")
  done
  if [ ${#failed[@]} -gt ${#fatal[@]} ]; then
    mkdir -p "$deps" && touch "$wine32_marker"
    log "wine32 could not be installed: the Windows tests and the demo run the x86_64 build" \
      "(build/win64) under wine64 instead of the i686 product under wine32"
  fi
  if [ ${#fatal[@]} -gt 0 ]; then
    log "these packages are required and could not be installed: ${fatal[*]}"
    exit 1
  fi
}

# --- Debian packages -------------------------------------------------------
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  as_root dpkg --add-architecture i386
  apt_updated=0
fi
mapfile -t todo < <(missing_packages)
# A run that found wine32 uninstallable within the last hour is believed, so that a second run
# still finishes in seconds; later runs try again, the mirror may have caught up.
wine32_marker="$deps/wine32-unavailable"
if [ "${todo[*]}" = wine32 ] && [ -n "$(find "$wine32_marker" -mmin -60 2>/dev/null)" ]; then
  log "wine32 could not be installed in the last hour: using wine64 and build/win64"
  todo=()
fi
if [ ${#todo[@]} -gt 0 ]; then
  install_packages "${todo[@]}"
fi

# --- Debian source lines ---------------------------------------------------
# Derived from the enabled Debian entries already configured, so no host name is written here.
src_list=/etc/apt/sources.list.d/tarn-deb-src.sources
has_deb_src() {
  grep -rqsE '^\s*deb-src\s' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null && return 0
  grep -rqsE '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources 2>/dev/null
}
if ! has_deb_src; then
  log "adding Debian source lines derived from the existing apt sources"
  tmp=$(mktemp)
  # deb822 stanzas of Debian's archive: copy with Types deb-src.
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS=""; ORS="\n\n" }
         /(^|\n)URIs:[^\n]*\/debian/ && /(^|\n)Types:[^\n]*deb/ {
           out = ""
           n = split($0, lines, "\n")
           for (i = 1; i <= n; i++) {
             if (lines[i] ~ /^#/) continue
             if (lines[i] ~ /^Types:/) lines[i] = "Types: deb-src"
             out = out lines[i] "\n"
           }
           printf "%s\n", out
         }' "$f" >>"$tmp"
  done
  # One-line format.
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^\s*deb\s' /etc/apt/sources.list | grep '/debian' | sed -E 's/^\s*deb\s/deb-src /' \
      | awk '{ print }' >"$tmp.list" || true
    if [ -s "$tmp.list" ]; then
      as_root cp "$tmp.list" /etc/apt/sources.list.d/tarn-deb-src.list
    fi
    rm -f "$tmp.list"
  fi
  if [ -s "$tmp" ]; then as_root cp "$tmp" "$src_list"; fi
  rm -f "$tmp"
  apt_updated=0
fi

# --- static liblzma and GoogleTest for the cross targets ----------------------
# MinGW i686 for the product; x86_64 for Wine on machines that run 64-bit code only; 32-bit x86
# Linux for the -m32 tier.
# liblzma travels inside the setup program: small code, each function in a section of its own so
# that the link keeps only the decoder it reaches, and no unwind tables (no exception ever passes
# through C code). A stamp beside the library names the flags; other flags build it again.
lzma_flags="-Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables"
build_static_deps() {
  local arch=$1 toolchain=$2 prefix=$3
  if [ ! -f "$prefix/lib/liblzma.a" ] || [ ! -f "$prefix/include/lzma.h" ] ||
    [ "$(cat "$prefix/lib/liblzma.flags" 2>/dev/null)" != "$lzma_flags" ]; then
    log "building static liblzma for $arch from Debian's xz-utils source"
    local work="$deps/src/xz-$arch"
    rm -rf "$work"
    mkdir -p "$work"
    apt_update
    (cd "$work" && apt-get source -qq xz-utils >/dev/null 2>&1) \
      || (cd "$work" && apt-get source xz-utils)
    local xzsrc
    xzsrc=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'xz-utils-*' | head -n 1)
    [ -n "$xzsrc" ] || { log "xz-utils source not found"; exit 1; }
    cmake -S "$xzsrc" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="$lzma_flags -DNDEBUG" \
      -DBUILD_SHARED_LIBS=OFF >/dev/null
    cmake --build "$work/build" --target liblzma -j"$(nproc)" >/dev/null 2>&1
    mkdir -p "$prefix/lib" "$prefix/include"
    cp "$work/build/liblzma.a" "$prefix/lib/"
    printf '%s' "$lzma_flags" >"$prefix/lib/liblzma.flags"
    cp -r "$xzsrc/src/liblzma/api/lzma" "$xzsrc/src/liblzma/api/lzma.h" "$prefix/include/"
    rm -rf "$work"
  fi
  if [ ! -f "$prefix/lib/libgtest.a" ] || [ ! -f "$prefix/lib/libgmock.a" ]; then
    log "building GoogleTest for $arch from /usr/src/googletest"
    local build="$deps/src/gtest-$arch"
    rm -rf "$build"
    cmake -S /usr/src/googletest -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
    cmake --build "$build" -j"$(nproc)" >/dev/null
    cmake --install "$build" >/dev/null
    rm -rf "$build"
  fi
}
build_static_deps i686-mingw "$root/cmake/i686-w64-mingw32.cmake" "$deps/mingw32"
build_static_deps x86_64-mingw "$root/cmake/x86_64-w64-mingw32.cmake" "$deps/mingw64"
build_static_deps i686-linux "$root/cmake/i686-linux-gnu.cmake" "$deps/linux32"

log "all dependencies present"
