#!/usr/bin/env bash
# The jar as applications deploy it: copied into an empty folder, no java.library.path, no
# LD_LIBRARY_PATH, the vendor library in a folder of its own. Each run is a fresh JVM under
# -Xcheck:jni with libjsig preloaded, and anything it writes to stderr (where the JVM's own output
# goes too) fails the case.
# Usage: loader_test.sh <case> <java> <tarvexjni.jar> <probe.jar> <libtarvex.so> <standin.jar> <c++>
#   (the bridge, libtarvexjni.so, beside libtarvex.so; the C++ compiler builds stand-ins for a
#   bridge of another build and for a vendor library that lacks a function, and the programs in
#   tests/loader/)
#   cases: jar kill order version vendor messages workdir availability modules concurrent kit
#          forced safety handlers residue signed users codeset overflow install cds texts
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
sources=$(cd "$(dirname "$0")/loader" && pwd)
bridge=$(dirname "$5")/libtarvexjni.so
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
  (cd "$work/app" && env -u LD_LIBRARY_PATH -u TARVEX_LIBRARY -u TARVEXJNI_CODESET "${vars[@]}" "${wrap[@]}" \
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
  cp "$bridge" "$work/installed/lib/"
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
workdir)  # the folder to extract into, instead of java.io.tmpdir, and what makes a folder fit
  mkdir "$work/work"
  run workdir "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/work" tvload.Probe
  expect workdir "hashed: status 0" "bridge: $work/work/tarvexjni-"
  empty "$work/work"
  run missing "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir=work2 tvload.Probe
  expect missing "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the folder in the system property tarvexjni.workdir ($work/app/work2) does not exist: set tarvexjni.workdir to an existing folder that this user can write"
  empty "$work/tmp"
  # Through a link: the folder it leads to, by its real path.
  ln -s "$work/work" "$work/link"
  run link "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/link" tvload.Probe
  expect link "hashed: status 0" "bridge: $work/work/tarvexjni-"
  # A folder everyone may write, without the sticky bit: refused when named; as java.io.tmpdir,
  # this user's cache folder instead ($XDG_CACHE_HOME/tarvexjni, else ~/.cache/tarvexjni), made
  # owner-only; refused when that is not safe either.
  mkdir -m 777 "$work/open"
  run open "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/open" tvload.Probe
  expect open "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the folder in the system property tarvexjni.workdir ($work/open) is not safe to extract into: $work/open can be written by its group and other users and is not sticky, so another user could swap the library between its check and its load; remove that permission (chmod go-w $work/open), or set tarvexjni.workdir to a folder that only this user and root can change"
  run cache XDG_CACHE_HOME="$work/xdg" "${classpath[@]}" -Dtarvex.library="$vendor" -Djava.io.tmpdir="$work/open" tvload.Probe
  expect cache "hashed: status 0" "bridge: $work/xdg/tarvexjni/tarvexjni-"
  mkdir "$work/home"
  run home XDG_CACHE_HOME=relative "${classpath[@]}" -Dtarvex.library="$vendor" -Djava.io.tmpdir="$work/open" \
    -Duser.home="$work/home" tvload.Probe
  expect home "hashed: status 0" "bridge: $work/home/.cache/tarvexjni/tarvexjni-"
  for made in "$work/xdg" "$work/xdg/tarvexjni" "$work/home/.cache" "$work/home/.cache/tarvexjni"; do
    [ "$(stat -c %a "$made")" = 700 ] || say "$made is not owner-only: $(stat -c %A "$made")"
  done
  empty "$work/open"
  empty "$work/xdg/tarvexjni"
  run neither XDG_CACHE_HOME="$work/open/cache" "${classpath[@]}" -Dtarvex.library="$vendor" -Djava.io.tmpdir="$work/open" tvload.Probe
  expect neither "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: java.io.tmpdir ($work/open) is not safe to extract into: $work/open can be written by its group and other users and is not sticky, so another user could swap the library between its check and its load; remove that permission (chmod go-w $work/open); nor is this user's cache folder $work/open/cache/tarvexjni: $work/open can be written by its group and other users and is not sticky, so another user could swap the library between its check and its load; remove that permission (chmod go-w $work/open); set the system property tarvexjni.workdir to a folder that only this user and root can change"
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
safety)  # a library loaded by its path, and each folder above it, must be safe from other users;
         # the vendor library's pinned digest
  mkdir -m 777 "$work/open"
  cp "$vendor" "$bridge" "$work/open/"
  run open-vendor "${classpath[@]}" -Dtarvex.library="$work/open/libtarvex.so" tvload.Probe
  expect open-vendor "UnsatisfiedLinkError: Cannot load libtarvex.so from the system property tarvex.library ($work/open/libtarvex.so): $work/open can be written by its group and other users and is not sticky, so another user could replace the library before it is loaded; remove that permission (chmod go-w $work/open), or install it where only this user and root can change it"
  run open-bridge "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library="$work/open/libtarvexjni.so" tvload.Probe
  expect open-bridge "UnsatisfiedLinkError: Cannot load libtarvexjni.so from the system property tarvexjni.library ($work/open/libtarvexjni.so): $work/open can be written by its group and other users and is not sticky, so another user could replace the library before it is loaded; remove that permission (chmod go-w $work/open)"
  chmod 664 "$vendor"
  run group-file TARVEX_LIBRARY="$vendor" "${classpath[@]}" tvload.Probe
  expect group-file "UnsatisfiedLinkError: Cannot load libtarvex.so from the environment variable TARVEX_LIBRARY ($vendor): $vendor can be written by its group, so another user could replace the library before it is loaded; remove that permission (chmod g-w $vendor), or install it where only this user and root can change it"
  chmod 755 "$vendor"
  # A sticky folder that everyone can write, as /tmp is: what belongs to this user is safe there.
  mkdir -m 1777 "$work/sticky"
  cp "$vendor" "$work/sticky/"
  run sticky "${classpath[@]}" -Dtarvex.library="$work/sticky/libtarvex.so" tvload.Probe
  expect sticky "hashed: status 0" "vendor: $work/sticky/libtarvex.so"
  digest=$(sha256sum "$vendor" | cut -d' ' -f1)
  zeros=0000000000000000000000000000000000000000000000000000000000000000
  run pinned "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvex.library.sha256="${digest^^}" tvload.Probe
  expect pinned "hashed: status 0"
  run mispinned "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvex.library.sha256=$zeros tvload.Probe
  expect mispinned "UnsatisfiedLinkError: Cannot load libtarvex.so from the system property tarvex.library ($vendor): it has SHA-256 $digest, but the system property tarvex.library.sha256 pins $zeros: it is not the library that was pinned; install that one, or pin this one if you trust it"
  run malformed "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvex.library.sha256="$digest " tvload.Probe
  expect malformed "UnsatisfiedLinkError: The system property tarvex.library.sha256 ($digest ) is not a SHA-256 digest: set it to the 64 hexadecimal digits that sha256sum prints for the tarvex library"
  run unnamed LD_LIBRARY_PATH="$(dirname "$vendor")" "${classpath[@]}" -Dtarvex.library.sha256="$digest" tvload.Probe
  expect unnamed "UnsatisfiedLinkError: The system property tarvex.library.sha256 pins the tarvex library, but neither tarvex.library nor TARVEX_LIBRARY names it, so it cannot be checked before it is loaded: set tarvex.library to its path"
  ;;
handlers)  # a bridge refused at the handshake has done nothing to the process: no signal handler
           # of its own (a copy of the bridge whose version is another of the same length); the
           # accepted bridge has its fault handlers, and so has one loaded without the jar
  "$cxx" -shared -fPIC -I"$bin/../include" -I"$bin/../include/linux" -o "$work/libhandlers.so" "$sources/handlers.cpp"
  other=$(tr 0-9 1-90 <<<"$version")
  mkdir "$work/patched"
  perl -0777 -pe 'BEGIN { ($v, $o) = splice @ARGV, 0, 2 } $n = s/\x00\Q$v\E\x00/\x00$o\x00/g; die "$n copies of the version\n" if $n != 1' \
    "$version" "$other" "$bridge" >"$work/patched/libtarvexjni.so" || say "cannot patch the version"
  run refused "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library="$work/patched/libtarvexjni.so" \
    -Dtvload.handlers="$work/libhandlers.so" tvload.Probe handlers
  expect refused "UnsatisfiedLinkError: The bridge $work/patched/libtarvexjni.so (from the system property tarvexjni.library ($work/patched/libtarvexjni.so)) is version $other, but tarvexjni.jar is version $version" \
    "handlers: SIGSEGV "
  ! grep "handlers:" "$work/refused.out" | grep -q libtarvexjni || say "the refused bridge installed handlers: $(grep handlers: "$work/refused.out")"
  run accepted "${classpath[@]}" -Dtarvex.library="$vendor" -Dtvload.handlers="$work/libhandlers.so" tvload.Probe handlers
  expect accepted "hashed: status 0" "handlers: SIGSEGV $work/tmp/tarvexjni-" "/libtarvexjni.so, SIGBUS $work/tmp/tarvexjni-"
  # Loaded without the jar's loader, which would activate it: it activates itself.
  run direct --enable-native-access=ALL-UNNAMED -cp "$probe" -Dtvload.handlers="$work/libhandlers.so" tvload.Direct "$bridge"
  expect direct "handlers: SIGSEGV $bridge, SIGBUS $bridge"
  ;;
residue)  # JVMs killed while they extract leave their folders; the next JVM removes them
  caught=0
  for _ in 1 2 3 4 5; do
    (cd "$work/app" && exec env -u LD_LIBRARY_PATH LD_PRELOAD="$jsig" "$java" "${classpath[@]}" \
       -Djava.io.tmpdir="$work/tmp" -Dtarvex.library="$vendor" tvload.Probe >/dev/null 2>&1) &
    pid=$!
    # Killed as soon as its folder is there: the poll starts no process, to catch it at once.
    made=()
    while kill -0 "$pid" 2>/dev/null; do
      made=("$work/tmp/tarvexjni-$pid-"*)
      if [ -e "${made[0]}" ]; then kill -9 "$pid"; break; fi
    done
    wait "$pid" 2>/dev/null
    if [ -e "${made[0]}" ]; then caught=$((caught + 1)); fi
  done
  echo "residue: $caught of 5 JVMs were killed while they extracted; left: $(ls -A "$work/tmp" | tr '\n' ' ')"
  [ "$caught" -gt 0 ] || say "no JVM was killed during its extraction"
  run after "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  expect after "hashed: status 0"
  empty "$work/tmp"
  ;;
signed)  # a signed jar loads as before; a native entry its signer did not sign is refused
  keys=(-keystore "$work/keys.p12" -storepass secret)
  for k in a b; do
    "$bin/keytool" -genkeypair "${keys[@]}" -keypass secret -alias $k -dname "CN=tarvexjni-test-$k" \
      -keyalg RSA -keysize 2048 -validity 2 >/dev/null 2>&1 || say "keytool: no key $k"
  done
  sign() { "$bin/jarsigner" "${keys[@]}" "$1" "$2" >/dev/null 2>&1 || say "jarsigner: cannot sign $1 with $2"; }
  native=tarvexjni/native/linux-x86_64/libtarvexjni.so
  probe_with() {  # probe_with <name> <jar>: the probe with that jar in place of tarvexjni.jar
    run "$1" --enable-native-access=ALL-UNNAMED -cp "$2:$probe" -Dtarvex.library="$vendor" tvload.Probe
  }
  cp "$jar" "$work/app/signed.jar"
  sign "$work/app/signed.jar" a
  probe_with signed "$work/app/signed.jar"
  expect signed "hashed: status 0"
  # The bridge replaced after signing (by a library that reports the right version), its digest
  # beside it too.
  mkdir -p "$work/replacement/$(dirname "$native")"
  planted "$work/replacement/$native" "$version"
  (cd "$work/replacement" && sha256sum "$native" >"$native.sha256")
  cp "$work/app/signed.jar" "$work/app/replaced.jar"
  "$bin/jar" --update --file "$work/app/replaced.jar" -C "$work/replacement" "$native" -C "$work/replacement" "$native.sha256"
  probe_with replaced "$work/app/replaced.jar"
  expect replaced "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the entry $native of the jar $work/app/replaced.jar does not match the jar's signature (" \
    "): it was changed after the jar was signed; use the jar as it was released"
  # The native entries added to a jar signed without them; then that jar signed again by another
  # key, which signs its classes a second time and the native entries alone.
  mkdir -p "$work/unpacked" "$work/added/tarvexjni"
  (cd "$work/unpacked" && "$bin/jar" --extract --file "$jar")
  mv "$work/unpacked/tarvexjni/native" "$work/added/tarvexjni/"
  "$bin/jar" --create --file "$work/app/added.jar" -C "$work/unpacked" .
  sign "$work/app/added.jar" a
  "$bin/jar" --update --file "$work/app/added.jar" -C "$work/added" tarvexjni/native
  cp "$work/app/added.jar" "$work/app/resigned.jar"
  sign "$work/app/resigned.jar" b
  # On the module path the JDK gives a module's classes no signers: their class files' count.
  # (JDK 17 sees no signature there when it is EC: its EC provider is not in reach. RSA keys.)
  run added-module --enable-native-access=tarvexjni -p "$work/app/added.jar" --add-modules tarvexjni -cp "$probe" \
    -Dtarvex.library="$vendor" tvload.Probe
  expect added-module "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the jar $work/app/added.jar is signed by CN=tarvexjni-test-a, but its entry $native is not signed"
  run signed-module --enable-native-access=tarvexjni -p "$work/app/signed.jar" --add-modules tarvexjni -cp "$probe" \
    -Dtarvex.library="$vendor" tvload.Probe
  expect signed-module "hashed: status 0, 32 bytes, module tarvexjni"
  probe_with added "$work/app/added.jar"
  expect added "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the jar $work/app/added.jar is signed by CN=tarvexjni-test-a, but its entry $native is not signed: it was added or replaced after the jar was signed; use the jar as it was released"
  probe_with resigned "$work/app/resigned.jar"
  expect resigned "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the jar $work/app/resigned.jar is signed by CN=tarvexjni-test-a and CN=tarvexjni-test-b, but its entry $native is signed only by CN=tarvexjni-test-b: it was added or replaced after the jar was signed"
  [ ! -e "$work/app/planted-ran" ] || say "the replaced bridge was loaded"
  ;;
users)  # another local user, who can rename entries in the folder the bridge would be extracted
        # into: that folder is refused when named, avoided when it is java.io.tmpdir, and the
        # user's swap attack, run all along, gets none of its code run in this JVM
  user=tvjload$$
  if [ "$(id -u)" != 0 ] || ! useradd --no-create-home --user-group --shell /usr/sbin/nologin "$user" 2>/dev/null; then
    echo "users: skipped (a second local user is made with useradd, which needs root)"
    exit 0
  fi
  swapper=""
  trap '[ -z "$swapper" ] || kill "$swapper" 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"; userdel "$user"' EXIT
  uid=$(id -u "$user")
  as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups)
  chmod 711 "$work"
  mkdir -m 755 "$work/attack"
  "$cxx" -O2 -o "$work/attack/swapper" "$sources/swapper.cpp" || say "cannot build the swapper"
  planted "$work/attack/libplanted.so" "$version"  # leaves planted-ran where the victim runs
  chmod 755 "$work/attack/libplanted.so"
  mkdir -m 777 "$work/open"  # root's, everyone may write, not sticky
  mkdir -m 1777 "$work/sticky"  # root's and sticky, as /tmp
  mkdir "$work/attack/own" "$work/theirs"
  chown "$user:" "$work/attack/own" "$work/theirs"
  chmod 1777 "$work/theirs"  # the other user's, sticky
  "${as_user[@]}" ln -s "$work/theirs" "$work/attack/own/link"
  # watch <name> <folder>: the other user's swapper watching <folder>, its lines in $work/<name>.swap
  watch() {
    "${as_user[@]}" "$work/attack/swapper" "$2" "$work/attack/libplanted.so" >"$work/$1.swap" 2>&1 &
    swapper=$!
    for _ in $(seq 100); do grep -q "^watching" "$work/$1.swap" && return; sleep 0.05; done
    say "$1: the swapper did not start: $(cat "$work/$1.swap")"
  }
  unwatch() {
    kill "$swapper"
    wait "$swapper" 2>/dev/null
    swapper=""
    echo "$1: the swapper: $(head -c 2000 "$work/$1.swap" | tr '\n' ';')"
  }
  # seen <name> <text...>: the swapper's lines for <name> have each text
  seen() {
    local name=$1
    shift
    for text in "$@"; do grep -qF -- "$text" "$work/$name.swap" || say "$name: the swapper did not say '$text'"; done
  }
  # Where the rules let it, the swapper has its way: a folder made in the open folder is
  # exchanged for its own, and the file read back from it then replaced by its library.
  watch control "$work/open"
  mkdir -m 700 "$work/open/tarvexjni-1-control"
  for _ in $(seq 100); do grep -q "^exchanged" "$work/control.swap" && break; sleep 0.05; done
  cp "$bridge" "$work/open/tarvexjni-1-control/libtarvexjni.so"
  cat "$work/open/tarvexjni-1-control/libtarvexjni.so" >/dev/null
  for _ in $(seq 100); do grep -q "^planted" "$work/control.swap" && break; sleep 0.05; done
  unwatch control
  seen control "saw tarvexjni-1-control" "exchanged tarvexjni-1-control" "planted $work/open/tarvexjni-1-control/libtarvexjni.so"
  cmp -s "$work/open/tarvexjni-1-control/libtarvexjni.so" "$work/attack/libplanted.so" || say "control: the swapper's library is not in place"
  rm -rf "$work/open/tarvexjni-1-control" "$work/open"/.decoy-*
  refusal="is not safe to extract into:"
  advice="so another user could swap the library between its check and its load;"
  watch open-workdir "$work/open"
  run open-workdir "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/open" tvload.Probe
  unwatch open-workdir
  expect open-workdir "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the folder in the system property tarvexjni.workdir ($work/open) $refusal $work/open can be written by its group and other users and is not sticky, $advice remove that permission (chmod go-w $work/open), or set tarvexjni.workdir to a folder that only this user and root can change"
  watch theirs-workdir "$work/theirs"
  run theirs-workdir "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/theirs" tvload.Probe
  unwatch theirs-workdir
  expect theirs-workdir "UnsatisfiedLinkError: Cannot extract the jar's copy of libtarvexjni.so for linux-x86_64: the folder in the system property tarvexjni.workdir ($work/theirs) $refusal $work/theirs belongs to $user (user id $uid), neither this user nor root, $advice have it belong to this user or root, or set tarvexjni.workdir to a folder that only this user and root can change"
  watch link-workdir "$work/theirs"
  run link-workdir "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.workdir="$work/attack/own/link" tvload.Probe
  unwatch link-workdir
  expect link-workdir "the folder in the system property tarvexjni.workdir ($work/attack/own/link) $refusal $work/theirs belongs to $user (user id $uid)"
  for parent in open theirs; do
    watch $parent-tmpdir "$work/$parent"
    run $parent-tmpdir XDG_CACHE_HOME="$work/cache" "${classpath[@]}" -Dtarvex.library="$vendor" -Djava.io.tmpdir="$work/$parent" tvload.Probe
    unwatch $parent-tmpdir
    expect $parent-tmpdir "hashed: status 0" "bridge: $work/cache/tarvexjni/tarvexjni-"
    seen $parent-tmpdir "watching $work/$parent"
    empty "$work/$parent"
  done
  # A sticky folder of root's: the swapper sees the new folder, and may not exchange it.
  watch sticky-tmpdir "$work/sticky"
  run sticky-tmpdir "${classpath[@]}" -Dtarvex.library="$vendor" -Djava.io.tmpdir="$work/sticky" tvload.Probe
  unwatch sticky-tmpdir
  expect sticky-tmpdir "hashed: status 0" "bridge: $work/sticky/tarvexjni-"
  seen sticky-tmpdir "saw tarvexjni-" "exchange failed for tarvexjni-" ": Operation not permitted"
  [ ! -e "$work/app/planted-ran" ] || say "the other user's library ran in this JVM"
  # Libraries that belong to the other user are not loaded, wherever they are.
  mkdir "$work/lib"
  cp "$vendor" "$bridge" "$work/lib/"
  chown "$user:" "$work/lib/libtarvex.so" "$work/lib/libtarvexjni.so"
  run theirs-vendor "${classpath[@]}" -Dtarvex.library="$work/lib/libtarvex.so" tvload.Probe
  expect theirs-vendor "UnsatisfiedLinkError: Cannot load libtarvex.so from the system property tarvex.library ($work/lib/libtarvex.so): $work/lib/libtarvex.so belongs to $user (user id $uid), neither this user nor root, so another user could replace the library before it is loaded; have it belong to this user or root, or install it where only this user and root can change it"
  run theirs-bridge "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library="$work/lib/libtarvexjni.so" tvload.Probe
  expect theirs-bridge "UnsatisfiedLinkError: Cannot load libtarvexjni.so from the system property tarvexjni.library ($work/lib/libtarvexjni.so): $work/lib/libtarvexjni.so belongs to $user (user id $uid)"
  ;;
codeset)  # the encoding of texts: a name this JVM does not know, or of an encoding that is not
          # single-byte, is refused before anything is loaded; the property wins over the variable
  examples="for example windows-1252, ISO-8859-1, ISO-8859-5 or KOI8-R"
  run unknown "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.codeset=windows-125 tvload.Probe
  expect unknown "UnsatisfiedLinkError: The system property tarvexjni.codeset (windows-125) names no encoding this JVM knows: name the single-byte encoding of the library's texts as java.nio.charset knows it, $examples"
  run multi-byte TARVEXJNI_CODESET=utf8 "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  expect multi-byte "UnsatisfiedLinkError: The environment variable TARVEXJNI_CODESET (utf8) names UTF-8, which writes a character with up to 3 bytes, but texts cross one byte per character: name a single-byte encoding, $examples"
  empty "$work/tmp"
  run property TARVEXJNI_CODESET=UTF-8 "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.codeset=KOI8-R tvload.Probe
  expect property "hashed: status 0"
  run variable TARVEXJNI_CODESET=cp1252 "${classpath[@]}" -Dtarvex.library="$vendor" tvload.Probe
  expect variable "hashed: status 0"
  ;;
overflow)  # a stack overflow inside the library, on Linux: not caught. The fault comes with no
          # stack left for a handler to run on, and the JVM's handler, first with libjsig, takes
          # no alternate stack; the JVM ends at once, by a signal: it neither hangs nor carries on
  (cd "$work/app" && env -u LD_LIBRARY_PATH LD_PRELOAD="$jsig" "$java" -Xcheck:jni -XX:-CreateCoredumpOnCrash \
     -XX:ErrorFile="$work/hs_err.log" -Djava.io.tmpdir="$work/tmp" --enable-native-access=ALL-UNNAMED \
     -cp "$jar:$kit:$probe" tvload.Probe kit overflow) >"$work/overflow.out" 2>"$work/overflow.err"
  status=$?
  expect overflow "overflowing"
  ! grep -q "^returned" "$work/overflow.out" || say "the call returned: $(grep '^returned' "$work/overflow.out")"
  [ "$status" -gt 128 ] || say "the JVM ended with status $status, not by a signal"
  echo "overflow: the JVM ended with status $status ($(kill -l $((status - 128)) 2>/dev/null)); it wrote: $(head -c 300 "$work/overflow.err" | tr '\n' ' ')"
  ;;
texts)  # the texts the loader reads by hand: /proc/self/maps, folder names, digest files
  run texts "${classpath[@]}" tarvexjni.internal.LoaderTexts
  expect texts "loader texts: all passed"
  ;;
install)  # java -jar tarvexjni.jar install: the jar's bridge checked and put into a folder once, then
          # loaded from there; installed again over itself; a folder that is missing or that
          # others can change, and a damaged jar, are refused and leave nothing behind
  mkdir -m 755 "$work/opt"
  run install -jar "$jar" install "$work/opt"
  expect install "Installed $work/opt/libtarvexjni.so (tarvexjni $version, linux-" \
    "start the JVMs that use it with -Dtarvexjni.library=$work/opt/libtarvexjni.so"
  mode=$(stat -c %A "$work/opt/libtarvexjni.so")
  [ "$mode" = -r-xr-xr-x ] || say "installed with mode $mode"
  run installed "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library="$work/opt/libtarvexjni.so" tvload.Probe
  expect installed "hashed: status 0" "versions: jar $version, bridge $version" "bridge: $work/opt/libtarvexjni.so r"
  empty "$work/tmp"
  run again -jar "$jar" install "$work/opt"
  expect again "Installed $work/opt/libtarvexjni.so"
  # Installed by root, loaded by another local user, whom root's file in root's folder satisfies.
  user=tvjinst$$
  if [ "$(id -u)" = 0 ] && useradd --no-create-home --user-group --shell /usr/sbin/nologin "$user" 2>/dev/null; then
    trap 'chmod -R u+w "$work"; rm -rf "$work"; userdel "$user"' EXIT
    chmod 711 "$work"
    wrap=(setpriv --reuid="$user" --regid="$user" --clear-groups)
    run other-user "${classpath[@]}" -Dtarvex.library="$vendor" -Dtarvexjni.library="$work/opt/libtarvexjni.so" tvload.Probe
    wrap=()
    expect other-user "hashed: status 0" "bridge: $work/opt/libtarvexjni.so r"
  else
    echo "install: another user's JVM skipped (a second local user is made with useradd, which needs root)"
  fi
  # refused <name> <folder> <texts...>: exit status 1, the texts said, nothing new in the folder
  refused() {
    local before
    before=$(ls -A "$2" 2>/dev/null)
    (cd "$work/app" && "$java" -jar "$jar" install "$2") >"$work/$1.out" 2>&1
    local status=$?
    [ $status -eq 1 ] || say "$1: exit status $status"
    expect "$1" "${@:3}"
    [ "$(ls -A "$2" 2>/dev/null)" = "$before" ] || say "$1: $2 holds $(ls -A "$2")"
  }
  refused missing "$work/none" "Cannot install libtarvexjni.so in $work/none: no such folder"
  chmod 777 "$work/opt"
  refused unsafe "$work/opt" "Cannot install libtarvexjni.so in $work/opt: $work/opt can be written by its group and other users and is not sticky, so another user could replace the bridge before a JVM loads it; remove that permission (chmod go-w $work/opt)"
  chmod 755 "$work/opt"
  mkdir "$work/unpacked"
  (cd "$work/unpacked" && "$bin/jar" --extract --file "$jar")
  for digest in "$work"/unpacked/tarvexjni/native/linux-*/libtarvexjni.so.sha256; do
    echo "0000000000000000000000000000000000000000000000000000000000000000  x" >"$digest"
  done
  "$bin/jar" --create --file "$jar" --main-class tarvexjni.internal.Main -C "$work/unpacked" .
  refused damaged "$work/opt" "Cannot install libtarvexjni.so in $work/opt: the copy of tarvexjni/native/linux-" \
    "/libtarvexjni.so written to $work/opt/.libtarvexjni.so." \
    ", but the digest beside it in the jar $jar says 0000000000000000000000000000000000000000000000000000000000000000: the jar is damaged; replace it"
  [ "$(stat -c %A "$work/opt/libtarvexjni.so")" = -r-xr-xr-x ] || say "damaged: the installed copy changed"
  ;;
cds)  # under the JDK's application class-data sharing: an archive made at the end of a run
      # (-XX:ArchiveClassesAtExit), then used (-XX:SharedArchiveFile). The host class and the
      # loader come from the archive, none of the jar's classes is left out of it, and the bridge
      # is extracted, checked, loaded and deleted as without it. Native access is granted by the
      # manifest: granted on the command line, JDK 24 and later refuse part of their own base
      # archive under a dynamic one, with errors
  printf 'Main-Class: tvload.Probe\nClass-Path: %s %s\nEnable-Native-Access: ALL-UNNAMED\n' \
    "$(basename "$jar")" "$(basename "$probe")" >"$work/manifest"
  "$bin/jar" --create --file "$work/app/app.jar" --manifest "$work/manifest"
  run cds-dump -XX:ArchiveClassesAtExit="$work/app.jsa" -Dtarvex.library="$vendor" -jar app.jar
  expect cds-dump "hashed: status 0, 32 bytes"
  [ -s "$work/app.jsa" ] || say "cds-dump: no archive written"
  # The JDK leaves its own JFR event classes out, and says so; nothing else may be left out.
  if grep '\[warning\]\|\[error\]' "$work/cds-dump.out" | grep -v '\[warning\].* Skipping jdk/internal/event/[A-Za-z]*: '; then
    say "cds-dump: the JVM warned of more than the JDK's own classes"
  fi
  run cds -XX:SharedArchiveFile="$work/app.jsa" -Xlog:class+load=info -Dtarvex.library="$vendor" -jar app.jar
  expect cds "hashed: status 0, 32 bytes" "versions: jar $version, bridge $version" \
    "Norv1.LocalIface source: shared objects file" "tarvexjni.internal.NativeLoader source: shared objects file" \
    "tarvexjni.internal.Host source: shared objects file"
  if grep '\[warning\]\|\[error\]' "$work/cds.out"; then say "cds: the JVM warned"; fi
  empty "$work/tmp"
  ;;
*)
  say "no such case"
  ;;
esac
exit $fail
