#!/usr/bin/env bash
# The first-run kit (examples/first-run) as a user runs it, with the jars beside it, on this
# machine's JVM: the checks that mean something on Linux pass, each in a JVM of its own under
# -Xcheck:jni (libjsig preloaded), and the report file says so; the Windows-only ones are
# skipped by name.
# Usage: first_run_test.sh <java> <tarvexjni.jar> <tarvexjni-standin.jar>
set -uo pipefail
java=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$2" "$3" "$(dirname "$0")/../examples/first-run/FirstRun.java" "$work/"
jsig=$(dirname "$java")/../lib/libjsig.so
(cd "$work" && LD_PRELOAD=$jsig "$java" -cp "$work/tarvexjni.jar:$work/tarvexjni-standin.jar" FirstRun.java "$work") \
  >"$work/out" 2>&1
status=$?
fail=0
report=$(ls "$work"/tarvexjni-first-run-*.txt 2>/dev/null | head -1)
[ -n "$report" ] || { echo "no report file; the output:"; cat "$work/out"; exit 1; }
for line in "demo: PASS" "fault: PASS" "threads: PASS" "overflow, decoy, code page, sweep: skipped (Windows only)" \
  "kit tests: skipped" "all checks passed" "java.version = "; do
  grep -qF -- "$line" "$report" || { echo "the report has no '$line'"; fail=1; }
done
[ "$status" -eq 0 ] || { echo "FirstRun ended with $status"; fail=1; }
[ "$fail" -eq 0 ] || cat "$report"
exit $fail
