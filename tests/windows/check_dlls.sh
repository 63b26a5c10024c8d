#!/usr/bin/env bash
# The Windows libraries as they ship: what they import and export, and that the jars carry them.
#   check_dlls.sh <tarvexjni.dll> <tarvex.dll> <tarvex.def> <tarvexjni.jar> <tarvexjni-standin.jar>
#                 <tarvexjni.def>
# tarvex.def is the import library's list, made from the contract header; tarvexjni.def the
# bridge's exports, made from LocalIface's native methods.
set -euo pipefail
bridge=$1 standin=$2 def=$3 jar=$4 kit=$5 bridge_def=$6
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
imports() { llvm-objdump-14 -p "$1" | sed -n 's/^ *DLL Name: //p' | sort | xargs; }
exports() { llvm-readobj-14 --coff-exports "$1" | sed -n 's/^ *Name: \(..*\)/\1/p'; }
entries() { cmake -E tar tf "$1"; }

# Nothing but the system's C runtime and kernel, and (the bridge) tarvex.dll by that name: the
# C++ runtime, libgcc and winpthreads are inside.
[ "$(imports "$bridge")" = "KERNEL32.dll msvcrt.dll tarvex.dll" ] || fail "tarvexjni.dll imports $(imports "$bridge")"
[ "$(imports "$standin")" = "KERNEL32.dll msvcrt.dll" ] || fail "tarvex.dll imports $(imports "$standin")"

# The bridge exports LocalIface's methods and JNI_OnLoad, nothing else.
listed() { sed -n 's/^ \{1,\}\([A-Za-z_][A-Za-z0-9_]*\)$/\1/p' "$1" | sort; }
declared=$(listed "$bridge_def")
grep -q '^Java_Norv1_LocalIface_QUMENJNI_1' <<<"$declared" || fail "tarvexjni.def lists no method"
[ "$(exports "$bridge" | sort)" = "$declared" ] ||
  fail "tarvexjni.dll exports, beside tarvexjni.def: $(diff <(exports "$bridge" | sort) - <<<"$declared" | grep '^[<>]' | xargs)"

# The stand-in exports every function of the contract the bridge's import library names.
contract=$(sed -n 's/^ *\(QUMEN_[A-Za-z0-9]*\)$/\1/p' "$def")
[ -n "$contract" ] || fail "tarvex.def names no function"
missing=$(comm -23 <(sort <<<"$contract") <(exports "$standin" | sort) | xargs)
[ -z "$missing" ] || fail "tarvex.dll lacks: $missing"

# The jars: the bridge and the stand-in, each beside its digest, in the platform's folder.
jar_entries=$(entries "$jar")
for entry in tarvexjni/native/windows-x86_64/tarvexjni.dll tarvexjni/native/windows-x86_64/tarvexjni.dll.sha256; do
  grep -qx "$entry" <<<"$jar_entries" || fail "tarvexjni.jar lacks $entry"
done
kit_entries=$(entries "$kit")
for entry in tarvexjni/standin/native/windows-x86_64/tarvex.dll tarvexjni/standin/native/windows-x86_64/tarvex.dll.sha256; do
  grep -qx "$entry" <<<"$kit_entries" || fail "tarvexjni-standin.jar lacks $entry"
done
[ "$status" -eq 0 ] && echo "tarvexjni.dll and tarvex.dll: imports, exports and jars as expected"
exit "$status"
