#!/usr/bin/env bash
# The shipped jars on an older Linux: inside a Debian 11 root file system (glibc 2.31, made by
# scripts/rootfs), entered with chroot, with that system's own JDK 17 and each JDK given (bound
# into it read-only at its own path; Temurin 25 needs only glibc 2.17). For each JDK:
#   demo   the demo from the jars alone, the vendor library (the kit's stand-in, taken from its
#          jar) named by -Dtarvex.library and nothing else
#   junit  the kit's and the example application's JUnit tests over the two jars alone
#          (-Xcheck:jni with libjsig preloaded; any output beyond the launcher's fails)
#   hint   a library built natively on this machine (it needs the newer glibc of this machine),
#          as the bridge, as the vendor library and as the kit's stand-in: each refused, with the
#          sentence that names the glibc it needs and the one the system has
# and once, on this machine: that tests/check_baseline.sh refuses such a library, and the
# sentence's parts (tests/java/GlibcHintTest.java, over the jar).
# Runs as root (chroot, mounts), else through sudo.
# Usage: debian11_test.sh <rootfs> <dist folder> <folder with tarvexjni-demo.jar and the tests'
#        jars> <junit-platform-console-standalone.jar> [<JDK home>...]
set -uo pipefail
root=$(realpath "$1") dist=$(realpath "$2") jars=$(realpath "$3") junit=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
jar=${JAVA_HOME:+$JAVA_HOME/bin/}jar
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "debian11_test.sh: chroot needs root: run as root" >&2; exit 1; }
  sudo=(sudo)
fi
work=$(mktemp -d "$root/tmp/tarvexjni.XXXXXX")
trap '[ -n "${TVJ_KEEP:-}" ] || rm -rf "$work"' EXIT
inner=${work#"$root"}   # the same folder, seen from inside
fail=0
say() { echo "  $*" >&2; fail=$((fail + 1)); }
# ok <text>: says <text> when nothing failed since the last mark (mark=$fail).
ok() { [ "$fail" -ne "$mark" ] || echo "  $*"; mark=$fail; }
mark=0

# inside <command...>: runs in the root file system as root, in a clean environment, with /proc
# and the given JDKs mounted in a mount namespace of its own (nothing stays mounted after it).
binds=()
for jdk in "$@"; do binds+=("$(realpath "$jdk")"); done
inside() {
  "${sudo[@]}" unshare --mount --propagation private --fork -- sh -c '
    root=$1 binds=$2
    shift 2
    mount -t proc proc "$root/proc" || exit 125
    for dir in $binds; do mkdir -p "$root$dir" && mount --bind -o ro "$dir" "$root$dir" || exit 125; done
    exec chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 "$@"' \
    sh "$root" "${binds[*]}" "$@"
}

# The application's folder: the jars, and the stand-in from the kit's jar as the vendor library
# (a copy of it elsewhere is the "other" libtarvex.so that the kit's tests need).
mkdir -p "$work/app" "$work/vendor" "$work/other" "$work/native/kit" "$work/unpacked"
cp "$dist/tarvexjni.jar" "$dist/tarvexjni-standin.jar" "$jars/tarvexjni-demo.jar" \
   "$jars/tarvexjni-documents.jar" "$jars/tarvexjni-documents-tests.jar" \
   "$jars/tarvexjni-standin-tests.jar" "$junit" "$work/app/" || exit 1
(cd "$work/unpacked" && $jar --extract --file "$dist/tarvexjni-standin.jar" &&
  $jar --extract --file "$dist/tarvexjni.jar" tarvexjni/native) || exit 1
standin=tarvexjni/standin/native/linux-x86_64/libtarvex.so
cp "$work/unpacked/$standin" "$work/vendor/libtarvex.so"
cp "$work/unpacked/$standin" "$work/other/libtarvex.so"

# A library built here, natively, as a team would build it without an old sysroot: it needs
# this machine's glibc (dlopen has a new version since 2.34) and, in C++, this machine's C++
# runtime too. The first must be refused with the sentence, the second by the check.
cat >"$work/native.c" <<'EOF'
#include <dlfcn.h>
void* tvj_open(const char* name) { return dlopen(name, RTLD_NOW); }
EOF
cat >"$work/native.cpp" <<'EOF'
#include <dlfcn.h>
#include <string>
extern "C" void* tvj_open(const char* name) { static std::string last; last = name; return dlopen(last.c_str(), RTLD_NOW); }
EOF
gcc -shared -fPIC -o "$work/native/libtarvexjni.so" "$work/native.c" &&
  g++ -shared -fPIC -o "$work/native/libtarvex.so" "$work/native.cpp" || exit 1
highest() { readelf -V -W "$1" | sed -n 's/.*Name: GLIBC_\([0-9.]*\) .*/\1/p' | sort -V | tail -1; }
needs=$(highest "$work/native/libtarvexjni.so")
has=$(inside getconf GNU_LIBC_VERSION | sed 's/^glibc //')
[ -n "$has" ] || { echo "debian11_test.sh: cannot enter $root" >&2; exit 1; }
echo "Debian 11 root file system $root: glibc $has; a library built here needs glibc $needs"
[ "$(printf '%s\n' "$has" "$needs" | sort -V | tail -1)" != "$has" ] ||
  { echo "debian11_test.sh: this machine's glibc is not newer than $has: no natively built library to refuse" >&2; exit 1; }
# The kit's jar with the native library as its stand-in (its digest made to match), and a jar
# with the C++ one.
cp "$dist/tarvexjni-standin.jar" "$work/native/kit/"
cp "$work/native/libtarvexjni.so" "$work/unpacked/$standin"
(cd "$work/unpacked" && sha256sum "$standin" | sed 's|  .*/|  |' >"$standin.sha256" &&
  $jar --update --file "$work/native/kit/tarvexjni-standin.jar" "$standin" "$standin.sha256" &&
  cp "$work/native/libtarvex.so" "$standin" && $jar --create --file "$work/native/cxx.jar" "$standin") || exit 1

echo "tests/check_baseline.sh on a jar with the C++ library built here:"
out=$("$here/check_baseline.sh" "$work/native/cxx.jar" 2>&1) && say "it passed a library that needs glibc $needs"
for text in "needs GLIBC_$needs (" "dlopen" "needs GLIBCXX_" "needs libstdc++.so.6"; do
  grep -qF -- "$text" <<<"$out" || say "it did not say '$text':"$'\n'"$out"
done
ok "refused:"$'\n'"$(sed -n 's/^  /    /p' <<<"$out")"

echo "GlibcHint on this machine (tests/java/GlibcHintTest.java):"
libraries=()
for lib in "$work"/unpacked/tarvexjni/native/*/libtarvexjni.so "$work/native/libtarvexjni.so"; do
  libraries+=("$lib" "$(highest "$lib")")
done
"${JAVA_HOME:+$JAVA_HOME/bin/}java" -cp "$dist/tarvexjni.jar" "$here/java/GlibcHintTest.java" \
  "$(getconf GNU_LIBC_VERSION | sed 's/^glibc //')" "${libraries[@]}" | sed 's/^/  /' || say "GlibcHintTest failed"

# run <name> <JDK home inside> [LD_PRELOAD=...] <java options and arguments...>: in the
# application's folder; output in $work/<name>.out and .err, status in $status.
run() {
  local name=$1 home=$2 preload=LD_PRELOAD=
  shift 2
  [[ $1 != LD_PRELOAD=* ]] || { preload=$1; shift; }
  inside sh -c 'cd "$0" && exec env "$@"' "$inner/app" "$preload" "$home/bin/java" "${access[@]}" "$@" \
    >"$work/$name.out" 2>"$work/$name.err"
  status=$?
}
contains() {  # contains <name> <text>
  grep -qF -- "$2" "$work/$1.out" "$work/$1.err" ||
    say "$1: no '$2' in its output:"$'\n'"$(cat "$work/$1.out" "$work/$1.err")"
}

app=$inner/app
for home in /usr/lib/jvm/java-17-openjdk-amd64 "${binds[@]}"; do
  version=$(inside "$home/bin/java" -version 2>&1 | sed -n 's/.* version "\([^"]*\)".*/\1/p' | head -1)
  [ -n "$version" ] || { say "no java in $home inside $root"; continue; }
  access=()
  [ "${version%%.*}" -lt 24 ] || access=(--enable-native-access=ALL-UNNAMED)
  echo "JDK $version ($home):"
  mark=$fail

  run demo "$home" -Dtarvex.library="$inner/vendor/libtarvex.so" -cp tarvexjni.jar:tarvexjni-demo.jar Demo
  [ "$status" -eq 0 ] && [ ! -s "$work/demo.err" ] ||
    say "demo: status $status:"$'\n'"$(cat "$work/demo.out" "$work/demo.err")"
  contains demo "context ended"
  ok "demo: $(grep -c . "$work/demo.out") lines, ends with \"$(tail -1 "$work/demo.out")\""

  classpath=$(printf '%s:' "$(basename "$junit")" tarvexjni.jar tarvexjni-standin.jar \
    tarvexjni-documents.jar tarvexjni-documents-tests.jar tarvexjni-standin-tests.jar)
  run junit "$home" LD_PRELOAD="$home/lib/libjsig.so" -Xcheck:jni -Dtvkit.foreign="$inner/other/libtarvex.so" \
    -cp "${classpath%:}" org.junit.platform.console.ConsoleLauncher --disable-banner --details=none \
    --fail-if-no-tests --select-class documents.DocumentServiceTest --select-class tvkit.ProgrammingTest \
    --select-class tvkit.ResultsTest --select-class tvkit.RecordingTest --select-class tvkit.ExtensionTest \
    --select-class tvkit.LoadingTest
  [ "$status" -eq 0 ] && [ ! -s "$work/junit.out" ] && [ ! -s "$work/junit.err" ] ||
    say "junit: status $status:"$'\n'"$(cat "$work/junit.out" "$work/junit.err")"
  ok "junit: passed"

  # The sentence comes first, then the loader's own text.
  sentence="needs glibc $needs or later, and this system has glibc $has. "
  run hint-bridge "$home" -Dtarvex.library="$inner/vendor/libtarvex.so" \
    -Dtarvexjni.library="$inner/native/libtarvexjni.so" -cp tarvexjni.jar:tarvexjni-demo.jar Demo
  contains hint-bridge "($inner/native/libtarvexjni.so): libtarvexjni.so $sentence/lib/x86_64-linux-gnu/libc.so.6: version"
  run hint-vendor "$home" -Dtarvex.library="$inner/native/libtarvex.so" -cp tarvexjni.jar:tarvexjni-demo.jar Demo
  contains hint-vendor "libtarvex.so $sentence"
  run hint-kit "$home" -cp "$(basename "$junit"):tarvexjni.jar:$inner/native/kit/tarvexjni-standin.jar:tarvexjni-standin-tests.jar" \
    org.junit.platform.console.ConsoleLauncher --disable-banner --details=flat --select-class tvkit.ProgrammingTest
  contains hint-kit "libtarvex.so $sentence"
  ok "hint: $(grep -ohE "libtarvexjni.so needs glibc [^.]*\.[^.]*\.[0-9]*\." "$work/hint-bridge.err" | head -1)"
done
[ "$fail" -eq 0 ]
