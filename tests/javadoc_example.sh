#!/usr/bin/env bash
# A complete program of the API documentation, as a reader copies it: the block between
# "<pre>{@code" and "}</pre>" that holds a public class, taken from a package description or the
# overview page (without a comment's leading " * "), compiled on its own against tarvexjni.jar
# (-Xlint:all -Werror) and run from an empty folder over the stand-in. It must print each text
# given, none given as "!text", and nothing on stderr.
# Usage: javadoc_example.sh <java> <tarvexjni.jar> <libtarvex.so> <file> [text | !text]...
set -uo pipefail
java=$1
bin=$(dirname "$java")
jar=$(realpath "$2")
vendor=$(realpath "$3")
source=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk '/<pre>\{@code/ { inside = 1; block = ""; next }
     inside && /\}<\/pre>/ { inside = 0; if (block ~ /public (final )?class /) { printf "%s", block; exit } next }
     inside { block = block $0 "\n" }' "$source" >"$work/example"
[[ $source != *.java ]] || sed -i -E 's/^ *\* ?//' "$work/example"
class=$(sed -n -E 's/^public (final )?class ([A-Za-z0-9_]+).*/\2/p' "$work/example" | head -1)
if [ -z "$class" ]; then
  echo "no complete program in $source" >&2
  exit 1
fi
mv "$work/example" "$work/$class.java"
if ! "$bin/javac" --release 17 -Xlint:all -Werror -cp "$jar" -d "$work" "$work/$class.java"; then
  echo "the example of $source does not compile:" >&2
  cat -n "$work/$class.java" >&2
  exit 1
fi
access=()
"$java" --enable-native-access=ALL-UNNAMED -version >/dev/null 2>&1 && access=(--enable-native-access=ALL-UNNAMED)
(cd "$work" && "$java" "${access[@]}" -Djava.io.tmpdir="$work" -Dtarvex.library="$vendor" -cp "$jar:." "$class") \
  >"$work/out" 2>"$work/err"
status=$?
fail=0
for text in "$@"; do
  if [[ $text == !* ]]; then
    ! grep -qF "${text#!}" "$work/out" || { echo "'${text#!}' in its output" >&2; fail=1; }
  else
    grep -qF "$text" "$work/out" || { echo "no '$text' in its output" >&2; fail=1; }
  fi
done
if [ "$status" -ne 0 ] || [ -s "$work/err" ]; then echo "$class exited with $status, saying:" >&2; cat "$work/err" >&2; fail=1; fi
[ "$fail" -eq 0 ] || cat "$work/out" >&2
exit $fail
