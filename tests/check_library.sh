#!/usr/bin/env bash
# The bridge as other people's JVMs load it: it needs libtarvex.so by that exact name, finds it
# beside itself, binds its functions when it loads (a library that lacks one is refused then, not
# at its first call), exports only JNI entry points, and (unless sanitized) carries its C++
# runtime; it is built for the machine it is named for.
# Usage: check_library.sh <libtarvexjni.so> <sanitized: ON|OFF> <x86_64|aarch64>
set -euo pipefail
lib=$1
sanitized=$2
arch=$3
fail=0
say() { echo "$lib: $*" >&2; fail=1; }

case $arch in
  x86_64) machine="Advanced Micro Devices X86-64" ;;  # EM_X86_64
  aarch64) machine="AArch64" ;;                       # EM_AARCH64
  *) machine="unknown architecture $arch" ;;
esac
actual=$(readelf -h "$lib" | sed -n 's/^ *Machine: *//p')
[ "$actual" = "$machine" ] || say "is built for $actual, not $arch"

needed=$(readelf -d "$lib" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
grep -qx 'libtarvex.so' <<<"$needed" || say "does not need libtarvex.so (needs: $needed)"
if [ "$sanitized" != "ON" ]; then
  grep -qE 'libstdc\+\+|libgcc_s' <<<"$needed" && say "needs the shared C++ runtime: $needed"
fi
readelf -d "$lib" | grep -qE '\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*NOW' || say "is not linked with -z now"
runpath=$(readelf -d "$lib" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ "$runpath" = '$ORIGIN' ] || say "RUNPATH is '$runpath', not \$ORIGIN"
exported=$(nm -D --defined-only "$lib" | awk '{print $3}' | grep -vE '^(Java_Norv1_LocalIface_QUMENJNI_1[A-Za-z0-9]+|JNI_OnLoad)$' || true)
if [ -n "$exported" ]; then say "exports more than JNI entry points: $(echo $exported | head -c 300)"; fi
exit $fail
