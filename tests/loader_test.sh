#!/usr/bin/env bash
# The jar as applications deploy it: copied into an empty folder, no java.library.path, no
# LD_LIBRARY_PATH, the vendor library in a folder of its own. Each run is a fresh JVM under
# -Xcheck:jni with libjsig preloaded, and anything it writes to stderr (where the JVM's own output
# goes too) fails the case.
# Usage: loader_test.sh <case> <java> <tarvexjni.jar> <probe.jar> <libtarvex.so> <standin.jar> <c++>
#   (the bridge, libtarvexjni.so, beside libtarvex.so; the C++ compiler builds stand-ins for a
#   bridge of another build and for a vendor library that lacks a function)
#   cases: jar kill order version vendor messages workdir availability modules concurrent kit
#          forced
set -uo pipefail
case_name=$1
java=$2
bin=$(dirname "$java")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
mkdir "$work/app" "$work/vendor" "$work/tmp"
cp "$3" "$4" "$6" "$work/app/"
cp "$5" "$work/vendor/libtarvex.so"
jar=$work/app/$(basename "$3")
probe=$work/app/$(basename "$4")
kit=$work/app/$(basename "$6")
vendor=$work/vendor/libtarvex.so
cxx=$7
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
# empty <folder>: nothing was left in it
empty() {
  local left
  left=$(ls -A "$1")
  [ -z "$left" ] || say "left in $1: $left"
}
# strip: the jar without its bridge, as one built for another platform
strip() {
  mkdir "$work/unpacked"
  (cd "$work/unpacked" && "$bin/jar" --extract --file "$jar")
  rm -r "$work/unpacked/tarvexjni/native"
  "$bin/jar" --create --file "$jar" -C "$work/unpacked" .
}
# planted <file> [reported version]: a library in the bridge's name that leaves the file
# planted-ran in the working folder when it loads, and reports a version if one is given
planted() {
  local defines=()
  [ -z "${2:-}" ] || defines=(-DREPORTS="\"$2\"")
  cat >"$work/planted.cpp" <<'EOF'
#include <jni.h>
#include <cstdio>
__attribute__((constructor)) static void mark() {
  if (FILE* f = std::fopen("planted-ran", "w")) std::fclose(f);
}
#ifdef REPORTS
static jstring version(JNIEnv* env, jclass) { return env->NewStringUTF(REPORTS); }
extern "C" JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
  JNIEnv* env = nullptr;
  vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8);
  jclass loader = env->FindClass("tarvexjni/internal/NativeLoader");
  JNINativeMethod m{const_cast<char*>("bridgeVersion0"), const_cast<char*>("()Ljava/lang/String;"),
                    reinterpret_cast<void*>(&version)};
  env->RegisterNatives(loader, &m, 1);
  return JNI_VERSION_1_8;
}
#endif
EOF
  mkdir -p "$(dirname "$1")"
  "$cxx" -shared -fPIC -I"$bin/../include" -I"$bin/../include/linux" "${defines[@]}" -o "$1" "$work/planted.cpp"
}
classpath=(--enable-native-access=ALL-UNNAMED -cp "$jar:$probe")
version=$("$bin/jar" --describe-module --file "$jar" | sed -n '1s/^tarvexjni@\([^ ]*\) .*/\1/p')

case $case_name in
jar)  # from inside the jar, an executable jar whose manifest grants native access; the copy and
      # its folder are gone once loaded; the version is everywhere the same
  printf 'Main-Class: tvload.Probe\nClass-Path: %s %s\nEnable-Native-Access: ALL-UNNAMED\n' \
    "$(basename "$jar")" "$(basename "$probe")" >"$work/manifest"
  "$bin/jar" --create --file "$work/app/app.jar" --manifest "$work/manifest"
  run jar -Dtarvex.library="$vendor" -jar app.jar
  expect jar "hashed: status 0, 32 bytes" "versions: jar $version, bridge $version, module unnamed, available true, cause null" \
    "bridge: $work/tmp/tarvexjni-" "/libtarvexjni.so (deleted)"
  empty "$work/tmp"
  [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || say "the module's version is '$version'"
  for j in "$jar" "$kit"; do
    (cd "$work/tmp" && "$bin/jar" --extract --file "$j" META-INF/MANIFEST.MF)
    manifest=$(tr -d '\r' <"$work/tmp/META-INF/MANIFEST.MF")
    grep -qx "Implementation-Version: $version" <<<"$manifest" || say "$j: no Implementation-Version $version"
    grep -q "^Implementation-Title: tarvexjni" <<<"$manifest" || say "$j: no Implementation-Title"
    "$bin/jar" --describe-module --file "$j" | grep -q "@$version " || say "$j: not module version $version"
    rm -r "$work/tmp/META-INF"
  done
  ;;
kill)  # a JVM killed after loading leaves nothing behind
  (cd "$work/app" && exec env -u LD_LIBRARY_PATH "$java" "${classpath[@]}" -Djava.io.tmpdir="$work/tmp" \
     -Dtarvex.library="$vendor" tvload.Probe wait >"$work/kill.out" 2>&1) &
  pid=$!
  for _ in $(seq 100); do grep -q waiting "$work/kill.out" && break; sleep 0.1; done
  kill -9 "$pid"
  wait "$pid" 2>/dev/null
  expect kill "hashed: status 0" "waiting"
  empty "$work/tmp"
  ;;
order)  # a bridge lying on the library path is never taken over the jar's; where the jar has
        # none for the platform, the library path's is taken, and must be of the jar's build
  planted "$work/app/libtarvexjni.so"
  planted "$work/planted/libtarvexjni.so"
  run planted LD_LIBRARY_PATH=/opt/none: "${classpath[@]}" -Djava.library.path="$work/planted" \
    -Dtarvex.library="$vendor" tvload.Probe
  expect planted "hashed: status 0" "bridge: $work/tmp/tarvexjni-"
  [ ! -e "$work/app/planted-ran" ] || say "planted: a planted bridge was loaded"
  strip
  run fallback "${classpath[@]}" -Djava.library.path="$work/none:$work/planted" -Dtarvex.library="$vendor" tvload.Probe
  expect fallback "UnsatisfiedLinkError: The bridge $work/planted/libtarvexjni.so (from java.library.path ($work/planted/libtarvexjni.so), since tarvexjni.jar has no bridge for Linux on " \
    "(it has none)) reports no version, but tarvexjni.jar is version $version: the bridge and the jar must come from the same build; take it off java.library.path"
  run nowhere "${classpath[@]}" -Djava.library.path="$work/none" -Dtarvex.library="$vendor" tvload.Probe
  expect nowhere "UnsatisfiedLinkError: tarvexjni.jar has no bridge for Linux on " "(it has none), and java.library.path ($work/none) has no libtarvexjni.so: build the bridge for this platform and name it with the system property tarvexjni.library"
  ;;
version)  # the bridge a property names must be of the jar's build
  planted "$work/other/libtarvexjni.so" 0.0.9
  run other "${classpath[@]}" -Dtarvexjni.library="$work/other/libtarvexjni.so" -Dtarvex.library="$vendor" tvload.Probe
  expect other "UnsatisfiedLinkError: The bridge $work/other/libtarvexjni.so (from the system property tarvexjni.library ($work/other/libtarvexjni.so)) is version 0.0.9, but tarvexjni.jar is version $version: the bridge and the jar must come from the same build; point the system property tarvexjni.library at the bridge of version $version, or leave it unset to use the jar's own"
  planted "$work/old/libtarvexjni.so"
  run old "${classpath[@]}" -Dtarvexjni.library="$work/old/libtarvexjni.so" -Dtarvex.library="$vendor" tvload.Probe
  expect old "UnsatisfiedLinkError: The bridge $work/old/libtarvexjni.so (from the system property tarvexjni.library ($work/old/libtarvexjni.so)) reports no version"
  ;;
vendor)  # the vendor library from the variable, and the property winning over it; an installed
         # bridge; a vendor library that lacks a function is refused when the bridge loads
  run variable TARVEX_LIBRARY="$vendor" "${classpath[@]}" tvload.Probe
  expect variable "hashed: status 0" "vendor: $vendor rwx"
  mkdir -p "$work/installed/lib"
  cp "$(dirname "$5")/libtarvexjni.so" "$work/installed/lib/"
  run property TARVEX_LIBRARY="$work/none/libtarvex.so" "${classpath[@]}" -Dtarvex.library="$vendor" \
    -Dtarvexjni.library="$work/installed/lib/libtarvexjni.so" tvload.Probe
  expect property "hashed: status 0" "bridge: $work/installed/lib/libtarvexjni.so r"
  # Libraries of the stand-in's functions that do nothing: one without QUMEN_HashMem, one whose
  # SONAME is not libtarvex.so.
  mkdir "$work/lacking" "$work/renamed"
  nm -D --defined-only "$vendor" | awk '$3 ~ /^QUMEN_/ { print "extern \"C\" int " $3 "() { return 0; }" }' >"$work/all.cpp"
  grep -v ' QUMEN_HashMem(' "$work/all.cpp" >"$work/lacking.cpp"
  "$cxx" -shared -fPIC -Wl,-soname,libtarvex.so -o "$work/lacking/libtarvex.so" "$work/lacking.cpp"
  "$cxx" -shared -fPIC -Wl,-soname,libvendor.so -o "$work/renamed/libtarvex.so" "$work/all.cpp"
  run lacking "${classpath[@]}" -Dtarvex.library="$work/lacking/libtarvex.so" tvload.Probe
  expect lacking "UnsatisfiedLinkError: The tarvex library libtarvex.so from the system property tarvex.library ($work/lacking/libtarvex.so) lacks the function QUMEN_HashMem, which libtarvexjni.so $version calls: use a tarvex library that has it. Cannot load libtarvexjni.so from the jar's copy for linux-"
  run renamed "${classpath[@]}" -Dtarvex.library="$work/renamed/libtarvex.so" tvload.Probe
  expect renamed "UnsatisfiedLinkError: libtarvex.so from the system property tarvex.library ($work/renamed/libtarvex.so) was loaded, but the bridge still did not find libtarvex.so by that name: its SONAME must be libtarvex.so."
  ;;
messages)  # what a user reads when a library cannot be found
  run no-vendor "${classpath[@]}" tvload.Probe
  expect no-vendor "UnsatisfiedLinkError: Cannot find libtarvex.so, the tarvex library that libtarvexjni.so needs: set the system property tarvex.library or the environment variable TARVEX_LIBRARY to its path, or put it in a folder on LD_LIBRARY_PATH (tests over the stand-in: put tarvexjni-standin.jar on JUnit's class path, or initialise tarvexjni.standin.StandIn first). Cannot load libtarvexjni.so from the jar's copy for linux-"
  run bad-vendor "${classpath[@]}" -Dtarvex.library=lib/libtarvex.so tvload.Probe
  expect bad-vendor "UnsatisfiedLinkError: Cannot load libtarvex.so from the system property tarvex.library ($work/app/lib/libtarvex.so): no such file"
  run again "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe again
  expect again "again: libtarvexjni.so is already loaded in this process ($work/tmp/tarvexjni-"
  run no-bridge "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library=/nowhere/libtarvexjni.so tvload.Probe
  expect no-bridge "UnsatisfiedLinkError: Cannot load libtarvexjni.so from the system property tarvexjni.library (/nowhere/libtarvexjni.so): no such file"
  # java.io.tmpdir on a file system mounted noexec, in a mount namespace of its own: the message
  # points at tarvexjni.workdir, which then works.
  wrap=(unshare -m sh -c 'mount -t tmpfs -o noexec tmpfs "$0" && exec "$@"' "$work/tmp")
  if "${wrap[@]}" true 2>/dev/null; then
    run noexec "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
    mkdir "$work/exec"
    run exec "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/exec" tvload.Probe
    wrap=()
    expect noexec "failed to map segment from shared object (its folder is on a file system mounted noexec: set the system property tarvexjni.workdir to a folder that allows executables)"
    expect exec "hashed: status 0" "bridge: $work/exec/tarvexjni-"
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
  expect damaged "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the copy of $native extracted to $work/tmp/tarvexjni-" \
    "but the digest beside it in the jar $jar says 0000000000000000000000000000000000000000000000000000000000000000: the jar is damaged; replace it"
  empty "$work/tmp"
  ;;
workdir)  # the folder to extract into, instead of java.io.tmpdir
  mkdir "$work/work"
  run workdir "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/work" tvload.Probe
  expect workdir "hashed: status 0" "bridge: $work/work/tarvexjni-"
  empty "$work/work"
  run missing "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir=work2 tvload.Probe
  expect missing "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the folder in the system property tarvexjni.workdir ($work/app/work2) does not exist: set tarvexjni.workdir to an existing folder that this user can write"
  empty "$work/tmp"
  ;;
availability)  # asked before the first use, and what LocalIface's uses show after a failure
  run availability "${classpath[@]}" tvload.Probe availability
  expect availability "available: false" "cause: Cannot find libtarvex.so, the tarvex library" \
    "attempt: java.lang.UnsatisfiedLinkError: $work/tmp/tarvexjni-" \
    "ensureAvailable: same message true, cause is the first true" \
    "first use: java.lang.UnsatisfiedLinkError: Cannot find libtarvex.so" "  caused by the first cause" \
    "second use: java.lang.NoClassDefFoundError: Could not initialize class Norv1.LocalIface"
  # JDK 18 and later (and the later updates of 17) say why the class could not be initialised.
  if [ "$("$java" -XshowSettings:properties -version 2>&1 | sed -n 's/^ *java\.version = \([0-9]*\).*/\1/p')" -ge 18 ]; then
    expect availability "  caused by java.lang.ExceptionInInitializerError: Exception java.lang.UnsatisfiedLinkError: Cannot find libtarvex.so"
  fi
  ;;
modules)  # the jar as the named module tarvexjni, native access granted to it alone
  run modules "--enable-native-access=tarvexjni" -p "$jar" --add-modules tarvexjni -cp "$probe" \
    -Dtarvex.library="$vendor" tvload.Probe
  expect modules "hashed: status 0, 32 bytes, module tarvexjni" "versions: jar $version, bridge $version, module $version" \
    "bridge: $work/tmp/tarvexjni-"
  ;;
concurrent)  # two JVMs extracting at once: each its own folder, both load
  run first "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe &
  run second "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  wait
  quiet first
  expect first "hashed: status 0" "bridge: $work/tmp/tarvexjni-"
  expect second "hashed: status 0" "bridge: $work/tmp/tarvexjni-"
  [ "$(grep bridge: "$work/first.out")" != "$(grep bridge: "$work/second.out")" ] || say "both JVMs used one folder"
  empty "$work/tmp"
  ;;
kit)  # the test kit's stand-in, then the bridge, each gone with its folder once loaded
  run kit --enable-native-access=ALL-UNNAMED -cp "$jar:$kit:$probe" tvload.Probe kit
  expect kit "hashed: status 0" "vendor: $work/tmp/tarvexjni-" "/libtarvex.so (deleted)" \
    "bridge: $work/tmp/tarvexjni-" "/libtarvexjni.so (deleted)"
  empty "$work/tmp"
  ;;
forced)  # the loader's decisions for Windows x64, on this JVM
  run forced -cp "$jar:$probe" tarvexjni.internal.ForcedPlatforms "$work/forced"
  expect forced "forced platforms: all passed"
  ;;
*)
  say "no such case"
  ;;
esac
exit $fail
