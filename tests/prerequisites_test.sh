#!/usr/bin/env bash
# scripts/prerequisites on a machine that pretends to lack packages: what it would install, and
# the command it leaves to the user where it cannot install; and scripts/test beside it on such a
# machine: each configuration names all the groups it needs, none is left out for lack of tools,
# and what is skipped on request installs nothing.
# Usage: prerequisites_test.sh <scripts/prerequisites>
set -uo pipefail
prerequisites=$1
test_script=$(dirname "$prerequisites")/test
fail=0
expect() {  # expect <what> <status wanted> <status> <output> <extended regex>...
  local what=$1 want=$2 got=$3 out=$4
  shift 4
  [ "$got" = "$want" ] || { echo "$what: status $got, not $want:"$'\n'"$out"; fail=1; }
  for re in "$@"; do
    grep -Eq -- "$re" <<<"$out" || { echo "$what: no line matching '$re' in:"$'\n'"$out"; fail=1; }
  done
}

# A bare machine: both groups in full, the foreign architecture first, nothing of other groups.
out=$(TVJ_PRETEND_MISSING=all "$prerequisites" --dry-run aarch64 2>&1)
expect "bare, --dry-run aarch64" 0 $? "$out" \
  '^  openjdk-17-jdk-headless +JDK 17' '^  qemu-user ' \
  '^  DEBIAN_FRONTEND=noninteractive apt-get install -y cmake .*libgtest-dev .*libgtest-dev:arm64'
[ "$(grep -A1 -- '--add-architecture arm64' <<<"$out" | tail -1)" = "  apt-get update" ] ||
  { echo "bare, --dry-run aarch64: arm64 not added before the update:"$'\n'"$out"; fail=1; }
grep -q clang <<<"$out" && { echo "bare, --dry-run aarch64: installs the fuzz group too:"$'\n'"$out"; fail=1; }

# Everything missing (whatever this machine has), neither root nor sudo: the exact command for the
# group, and nothing else installed.
base="cmake g\+\+ make binutils openjdk-17-jdk-headless libgtest-dev junit5"
out=$(TVJ_PRETEND_MISSING=all TVJ_PRETEND_NO_ROOT=1 "$prerequisites" --install 2>&1)
expect "no root, --install" 1 $? "$out" \
  "^  su -c 'apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $base'\$"

# Without --install it only checks, and says how to install.
out=$(TVJ_PRETEND_MISSING=all "$prerequisites" bench 2>&1)
expect "check" 1 $? "$out" "^Missing prerequisites \\(base bench\\): $base gnuplot-nox valgrind\$" \
  'scripts/prerequisites --install bench$'

# scripts/test on a bare machine: every configuration is planned with its own groups, the tools
# beyond base included; none is skipped for their lack.
out=$(TVJ_PRETEND_MISSING=all "$test_script" --list 2>&1)
expect "scripts/test --list, bare" 0 $? "$out" \
  '^  x86_64 +base format: installs cmake .*junit5 clang-format-14 nodejs npm$' '^  fuzz +base fuzz: installs .*clang-14' \
  '^  aarch64 +base aarch64: installs .*qemu-user .*libgtest-dev:arm64' \
  '^  windows-x86_64 +base windows: installs .*g\+\+-mingw-w64-x86-64-posix .*wine64' \
  '^  release +base release release-check maven: installs ' '^  release .* debootstrap ' \
  '^  release .* python3-jsonschema ' '^  release .* maven ' '^  release .* openjdk-17-jre-headless:arm64 '
grep -E '^  (x86_64|fuzz|aarch64|windows-x86_64|release) .*skipped' <<<"$out" &&
  { echo "scripts/test --list, bare: a configuration skipped for what it could install:"$'\n'"$out"; fail=1; }
grep -E '^  x86_64 .*(clang-14|wine|qemu|maven)' <<<"$out" &&
  { echo "scripts/test --list, bare: x86_64 installs another configuration's tools:"$'\n'"$out"; fail=1; }
grep -E '^  release .*(wine|libgtest-dev:arm64)' <<<"$out" &&
  { echo "scripts/test --list, bare: release installs a test group's tools:"$'\n'"$out"; fail=1; }
if [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null; then
  expect "scripts/test --list, bare, debian11" 0 0 "$out" '^  debian11 +base baseline: installs .*debootstrap'
fi

# Skipped on request: nothing installed, nothing run, each said, and a count that passes.
out=$(TVJ_PRETEND_MISSING=all "$test_script" --skip 'x86_64*' --skip '*' 2>&1)
expect "scripts/test --skip" 0 $? "$out" "^=== aarch64: skipped \(--skip '\*'\)\$" \
  "^  x86_64-asan +skipped \(--skip 'x86_64\*'\)\$" '^0 passed, 0 failed, [0-9]+ skipped in '
grep -E '^(Installing|Would install|\(pretending)|^=== [^ ]+: needs' <<<"$out" &&
  { echo "scripts/test --skip: installs for what it skips:"$'\n'"$out"; fail=1; }

# A pattern that matches nothing names the configurations; without root or sudo, what is missing
# is named before anything runs, with the command for root.
out=$("$test_script" no-such-configuration 2>&1)
expect "scripts/test no-such-configuration" 2 $? "$out" '^scripts/test: no configuration matches no-such-configuration \(configurations: .*fuzz.*\)$'
out=$(TVJ_PRETEND_NO_ROOT=1 TVJ_PRETEND_MISSING=all "$test_script" 'aarch64*' 2>&1)
expect "scripts/test, no root" 1 $? "$out" \
  "^  su -c 'dpkg --add-architecture arm64 && apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y cmake .* qemu-user .*libubsan1:arm64'\$"
grep -q '^=== aarch64: needs' <<<"$out" && { echo "scripts/test, no root: ran a configuration:"$'\n'"$out"; fail=1; }
exit $fail
