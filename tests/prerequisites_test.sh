#!/usr/bin/env bash
# scripts/prerequisites on a machine that pretends to lack packages: what it would install, and
# the command it leaves to the user where it cannot install.
# Usage: prerequisites_test.sh <scripts/prerequisites>
set -uo pipefail
prerequisites=$1
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

# Two packages missing, neither root nor sudo: the exact command, and nothing else installed.
out=$(TVJ_PRETEND_MISSING="cmake libgtest-dev" TVJ_PRETEND_NO_ROOT=1 "$prerequisites" --install 2>&1)
expect "no root, --install" 1 $? "$out" \
  "^  su -c 'apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y cmake libgtest-dev'\$"

# Without --install it only checks, and says how to install (both packages pretend to be missing:
# whether this machine has gnuplot must not matter).
out=$(TVJ_PRETEND_MISSING="g++ gnuplot-nox" "$prerequisites" bench 2>&1)
expect "check" 1 $? "$out" '^Missing prerequisites \(base bench\): g\+\+ gnuplot-nox$' 'scripts/prerequisites --install bench$'
exit $fail
