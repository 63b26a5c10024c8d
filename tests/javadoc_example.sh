#!/usr/bin/env bash
# The example in the package description of Norv1, as a reader copies it: compiled on its own
# against tarvexjni.jar and run from an empty folder over the stand-in, it must print what it
# promises, with nothing on stderr.
# Usage: javadoc_example.sh <java> <tarvexjni.jar> <libtarvex.so> <package-info.java>
set -uo pipefail
java=$1
bin=$(dirname "$java")
jar=$(realpath "$2")
vendor=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The lines between "<pre>{@code" and "}</pre>", without the comment's leading " * ".
sed -n '/<pre>{@code/,/}<\/pre>/p' "$4" | sed '1d;$d' | sed -E 's/^ *\* ?//' >"$work/SignAndVerify.java"
if ! "$bin/javac" --release 17 -Xlint:all -Werror -cp "$jar" -d "$work" "$work/SignAndVerify.java"; then
  echo "the example does not compile:" >&2
  cat -n "$work/SignAndVerify.java" >&2
  exit 1
fi
access=()
"$java" --enable-native-access=ALL-UNNAMED -version >/dev/null 2>&1 && access=(--enable-native-access=ALL-UNNAMED)
(cd "$work" && "$java" "${access[@]}" -Djava.io.tmpdir="$work" -Dtarvex.library="$vendor" -cp "$jar:." SignAndVerify) \
  >"$work/out" 2>"$work/err"
status=$?
fail=0
for text in "hash: " "signed by: CN=" "changed message: "; do
  grep -qF "$text" "$work/out" || { echo "no '$text' in its output" >&2; fail=1; }
done
if grep -q "changed message: accepted" "$work/out"; then echo "the changed message was accepted" >&2; fail=1; fi
if [ "$status" -ne 0 ] || [ -s "$work/err" ]; then echo "it exited with $status, saying:" >&2; cat "$work/err" >&2; fail=1; fi
[ "$fail" -eq 0 ] || cat "$work/out" >&2
exit $fail
