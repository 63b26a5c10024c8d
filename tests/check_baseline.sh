#!/usr/bin/env bash
# What the native libraries inside jars need of the system they load on, read from the copies in
# the jars (tarvexjni/native/<platform>/..., tarvexjni/standin/native/<platform>/...):
#   - no glibc symbol version above the baseline (GLIBC_2.17; TVJ_GLIBC_BASELINE overrides it),
#     each symbol named that needs a later one, whether it is the library's own reference or one
#     its C++ runtime brought in;
#   - no GLIBCXX_, CXXABI_ or GCC_ version: the C++ runtime is inside the library;
#   - NEEDED: only the C library's own parts, and libtarvex.so for the bridge, which must need it;
#   - built for the machine its folder names; the bridge as tests/check_library.sh checks it;
#   - a Windows x64 library (no glibc there) imports only KERNEL32.dll and msvcrt.dll, and the
#     bridge tarvex.dll besides: the C++ runtime, libgcc and winpthreads are inside.
# Prints one line per library; exits non-zero if any fails.
# Usage: check_baseline.sh <jar>...   (the jar tool: $JAVA_HOME/bin/jar, else jar on PATH)
set -uo pipefail
baseline=${TVJ_GLIBC_BASELINE:-2.17}
here=$(cd "$(dirname "$0")" && pwd)
jar=${JAVA_HOME:+$JAVA_HOME/bin/}jar
system_libraries='libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 ld-linux-x86-64.so.2 ld-linux-aarch64.so.1'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0 count=0

# check <jar's name> <entry> <file>: one library; says what is wrong, or what it needs.
check() {
  local name=$1/$2 lib=$3 problems=() platform arch machine needed versions version symbols
  platform=$(basename "$(dirname "$2")")
  case $platform in
    linux-x86_64) arch=x86_64 machine="Advanced Micro Devices X86-64" ;;
    linux-aarch64) arch=aarch64 machine=AArch64 ;;
    windows-x86_64) check_windows "$name" "$lib" "$2"; return ;;
    *) echo "$name: no rule for the platform $platform" >&2; fail=1; return ;;
  esac
  [ "$(readelf -h "$lib" 2>/dev/null | sed -n 's/^ *Machine: *//p')" = "$machine" ] ||
    problems+=("not an ELF library for $arch")

  # The versions the loader will insist on (every one the library lists is required, used or
  # not), each with the symbols that reference it.
  versions=$(readelf -V -W "$lib" | sed -n 's/.*Name: \([A-Z_]*[0-9][0-9.]*\) .*Flags.*/\1/p' | sort -u)
  for version in $versions; do
    case $version in
      GLIBC_2.*)
        [ "$(printf '%s\n' "$baseline" "${version#GLIBC_}" | sort -V | tail -1)" != "$baseline" ] || continue ;;
      GLIBCXX_* | CXXABI_* | GCC_*) ;;
      *) continue ;;
    esac
    symbols=$(readelf --dyn-syms -W "$lib" | awk -v v="@$version" '
      { n = $8; if (index(n, v) && substr(n, length(n) - length(v) + 1) == v) print substr(n, 1, length(n) - length(v)) }' | sort -u | xargs)
    problems+=("needs $version (${symbols:-no symbol names it})")
  done

  needed=$(readelf -d "$lib" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | xargs)
  for library in $needed; do
    [[ " $system_libraries " == *" $library "* ]] && continue
    [[ $2 == tarvexjni/native/* && $library == libtarvex.so ]] && continue
    problems+=("needs $library")
  done
  if [[ $2 == tarvexjni/native/*/libtarvexjni.so ]]; then
    [[ " $needed " == *" libtarvex.so "* ]] || problems+=("does not need libtarvex.so")
    local elf
    elf=$("$here/check_library.sh" "$lib" OFF "$arch" 2>&1) || problems+=("${elf//$lib: /}")
  fi

  count=$((count + 1))
  if [ ${#problems[@]} -gt 0 ]; then
    fail=1
    echo "$name: FAILS the glibc $baseline baseline:" >&2
    printf '  %s\n' "${problems[@]}" >&2
  else
    local newest
    newest=$(grep '^GLIBC_2\.' <<<"$versions" | sort -V | tail -1)
    echo "$name: ${newest:-no GLIBC version} at most, NEEDED $needed"
  fi
}

# check_windows <name> <file> <entry>: what a Windows library imports.
check_windows() {
  local imports expected="KERNEL32.dll msvcrt.dll"
  [[ $3 != tarvexjni/native/*/tarvexjni.dll ]] || expected+=" tarvex.dll"
  count=$((count + 1))
  imports=$(llvm-objdump-14 -p "$2" 2>/dev/null | sed -n 's/^ *DLL Name: //p' | sort | xargs)
  if [ "$imports" != "$expected" ]; then
    fail=1
    echo "$1: imports ${imports:-nothing readable}, not only $expected" >&2
  else
    echo "$1: imports $imports"
  fi
}

[ $# -gt 0 ] || { echo "usage: check_baseline.sh <jar>..." >&2; exit 2; }
for jarfile in "$@"; do
  dir=$work/$(basename "$jarfile")
  mkdir -p "$dir"
  absolute=$(realpath "$jarfile")
  (cd "$dir" && "$jar" --extract --file "$absolute") || { fail=1; continue; }
  found=0
  while IFS= read -r entry; do
    found=1
    check "$(basename "$jarfile")" "$entry" "$dir/$entry"
  done < <(cd "$dir" && find tarvexjni -path '*/native/*/*' -type f ! -name '*.sha256' | sort)
  [ "$found" -eq 1 ] || { echo "$jarfile: no native library inside" >&2; fail=1; }
done
[ "$count" -gt 0 ] || fail=1
exit $fail
