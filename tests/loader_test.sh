#!/usr/bin/env bash
# The jar as applications deploy it: copied into an empty folder, no java.library.path, no
# LD_LIBRARY_PATH, the vendor library in a folder of its own. Each run is a fresh JVM under
# -Xcheck:jni with libjsig preloaded, and anything it writes to stderr (where the JVM's own output
# goes too) fails the case.
# Usage: loader_test.sh <case> <java> <tarvexjni.jar> <probe.jar> <libtarvex.so>
#   (the bridge, libtarvexjni.so, beside libtarvex.so)
#   cases: jar vendor messages modules concurrent
set -uo pipefail
case_name=$1
java=$2
bin=$(dirname "$java")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/app" "$work/vendor" "$work/tmp"
cp "$3" "$4" "$work/app/"
cp "$5" "$work/vendor/libtarvex.so"
jar=$work/app/$(basename "$3")
probe=$work/app/$(basename "$4")
vendor=$work/vendor/libtarvex.so
jsig=$bin/../lib/libjsig.so
[ -f "$jsig" ] || jsig=""
fail=0
say() { echo "$case_name: $*" >&2; fail=1; }

# run <name> [VAR=value...] <java options and arguments...>: output in $work/<name>.out
run() {
  local name=$1
  shift
  local vars=()
  while [[ $# -gt 0 && $1 == *=* && $1 != -* ]]; do vars+=("$1"); shift; done
  (cd "$work/app" && env -u LD_LIBRARY_PATH -u TARVEX_LIBRARY "${vars[@]}" "${wrap[@]}" \
     env LD_PRELOAD="$jsig" "$java" -Xcheck:jni -XX:+DisplayVMOutputToStderr -Djava.io.tmpdir="$work/tmp" "$@") >"$work/$name.out" 2>"$work/$name.err"
  quiet "$name"
}
quiet() {
  if [ -s "$work/$1.err" ]; then say "$1: the JVM wrote to stderr:"; cat "$work/$1.err" >&2; fi
}
wrap=()
# expect <name> <text...>: each text is in the output of <name>
expect() {
  local name=$1
  shift
  for text in "$@"; do
    grep -qF -- "$text" "$work/$name.out" || { say "$name: no '$text' in:"; cat "$work/$name.out" >&2; }
  done
}
classpath=(--enable-native-access=ALL-UNNAMED -cp "$jar:$probe")

case $case_name in
jar)  # from inside the jar, an executable jar whose manifest grants native access
  printf 'Main-Class: tvload.Probe\nClass-Path: %s %s\nEnable-Native-Access: ALL-UNNAMED\n' \
    "$(basename "$jar")" "$(basename "$probe")" >"$work/manifest"
  "$bin/jar" --create --file "$work/app/app.jar" --manifest "$work/manifest"
  run jar -Dtarvex.library="$vendor" -jar app.jar
  expect jar "hashed: status 0, 32 bytes" "bridge: $work/tmp/tarvexjni-" "/libtarvexjni.so r-x------, folder rwx------"
  left=$(ls -A "$work/tmp")
  [ -z "$left" ] || say "the private folder outlived the JVM: $left"
  ;;
vendor)  # the vendor library from the variable, and the property winning over it; an installed bridge
  run variable TARVEX_LIBRARY="$vendor" "${classpath[@]}" tvload.Probe
  expect variable "hashed: status 0"
  mkdir -p "$work/installed/lib"
  cp "$(dirname "$5")/libtarvexjni.so" "$work/installed/lib/"
  run property TARVEX_LIBRARY="$work/none/libtarvex.so" "${classpath[@]}" -Dtarvex.library="$vendor" \
    -Dtarvexjni.library="$work/installed/lib/libtarvexjni.so" tvload.Probe
  expect property "hashed: status 0" "bridge: $work/installed/lib/libtarvexjni.so"
  ;;
messages)  # what a user reads when a library cannot be found
  run no-vendor "${classpath[@]}" tvload.Probe
  expect no-vendor "UnsatisfiedLinkError: Cannot find libtarvex.so" "system property tarvex.library" \
    "environment variable TARVEX_LIBRARY"
  run bad-vendor "${classpath[@]}" -Dtarvex.library=lib/libtarvex.so tvload.Probe
  expect bad-vendor "Cannot load libtarvex.so from the system property tarvex.library ($work/app/lib/libtarvex.so): no such file"
  run again "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe again
  expect again "again: libtarvexjni.so is already loaded in this process ($work/tmp/tarvexjni-"
  run no-bridge "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library=/nowhere/libtarvexjni.so tvload.Probe
  expect no-bridge "tried, in order:" "1. the system property tarvexjni.library (/nowhere/libtarvexjni.so)"
  # java.io.tmpdir on a file system mounted noexec, in a mount namespace of its own.
  wrap=(unshare -m sh -c 'mount -t tmpfs -o noexec tmpfs "$0" && exec "$@"' "$work/tmp")
  if "${wrap[@]}" true 2>/dev/null; then
    run noexec "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
    wrap=()
    expect noexec "failed to map segment" "mounted noexec: set java.io.tmpdir to a folder that allows executables"
  else
    wrap=()
    echo "noexec: skipped (this user cannot mount in a namespace of its own)"
  fi
  # A jar whose bridge does not match its digest, then one without the bridge.
  mkdir "$work/unpacked"
  (cd "$work/unpacked" && "$bin/jar" --extract --file "$jar")
  native=tarvexjni/native/linux-x86_64/libtarvexjni.so
  echo "0000000000000000000000000000000000000000000000000000000000000000  x" >"$work/unpacked/$native.sha256"
  "$bin/jar" --create --file "$jar" -C "$work/unpacked" .
  run damaged "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  expect damaged "1. java.library.path: no tarvexjni in java.library.path" "2. the copy inside the jar: the extracted $native has SHA-256" "the jar is damaged"
  rm "$work/unpacked/$native"*
  "$bin/jar" --create --file "$jar" -C "$work/unpacked" .
  run stripped "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  expect stripped "2. the copy inside the jar: the jar of tarvexjni.internal.NativeLoader has no $native"
  ;;
modules)  # the jar as the named module tarvexjni, native access granted to it alone
  run modules "--enable-native-access=tarvexjni" -p "$jar" --add-modules tarvexjni -cp "$probe" \
    -Dtarvex.library="$vendor" tvload.Probe
  expect modules "hashed: status 0, 32 bytes, module tarvexjni" "bridge: $work/tmp/tarvexjni-"
  ;;
concurrent)  # two JVMs extracting at once: each its own folder, both load
  run first "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe &
  run second "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  wait
  quiet first
  expect first "hashed: status 0" "bridge: $work/tmp/tarvexjni-"
  expect second "hashed: status 0" "bridge: $work/tmp/tarvexjni-"
  [ "$(grep bridge: "$work/first.out")" != "$(grep bridge: "$work/second.out")" ] || say "both JVMs used one folder"
  ;;
*)
  say "no such case"
  ;;
esac
exit $fail
