#!/usr/bin/env bash
# The release signed as a team signs it, with throwaway keys: a PKCS#12 keystore made by keytool
# and an OpenPGP key (with a passphrase) made by gpg --batch in a temporary GNUPGHOME, given to
# scripts/release through its variables (TVJ_SIGN_*, TVJ_GPG_*). Checks:
#   - the unsigned release, made first, holds no signature: no jar has META-INF/*.SF, no .asc;
#   - signed, every jar of dist/ and dist/maven/ verifies with jarsigner -verify, and every entry
#     of it but the signature's own files is signed by the team's key: the classes, the native
#     libraries and their .sha256 files, META-INF/LICENSE and NOTICE; with the signature
#     algorithm that TVJ_SIGN_OPTIONS asked for;
#   - every jar, POM and SBOM of dist/maven/ has a detached .asc that gpg verifies against that
#     file with the team's key;
#   - signing changes nothing else: each signed jar holds the unsigned one's entries, byte for
#     byte, beside its signature files and a manifest that lists their digests.
# dist/ is the signed release afterwards.
# Usage: release_signing_test.sh   (in the clone; JAVA_HOME: the JDK, else scripts/jdk's)
set -uo pipefail
cd "$(dirname "$0")/.."
JAVA_HOME=${JAVA_HOME:-$(scripts/jdk)}
bin=$JAVA_HOME/bin
work=$(mktemp -d)
export GNUPGHOME=$work/gnupg
trap 'gpgconf --kill gpg-agent 2>/dev/null; rm -rf "$work"' EXIT
fail=0
say() { echo "  $*" >&2; fail=1; }

scripts/release >"$work/unsigned.log" 2>&1 || { cat "$work/unsigned.log" >&2; exit 1; }
cp -r dist "$work/unsigned"
jars=$(cd dist && find . -name '*.jar' | sort)
for jar in $jars; do
  ! "$bin/jar" --list --file "dist/$jar" | grep -q '^META-INF/.*\.SF$' || say "$jar: signed without a key"
done
[ -z "$(find dist -name '*.asc')" ] || say "unsigned release: .asc files without a key"

# The team's keys, made for this run only.
export TVJ_SIGN_KEYSTORE=$work/team.p12 TVJ_SIGN_ALIAS=release TVJ_SIGN_STOREPASS=store-pass-$RANDOM
export TVJ_SIGN_OPTIONS="-sigalg SHA384withRSA"
"$bin/keytool" -genkeypair -keystore "$TVJ_SIGN_KEYSTORE" -storetype PKCS12 -storepass:env TVJ_SIGN_STOREPASS \
  -alias "$TVJ_SIGN_ALIAS" -keyalg RSA -keysize 3072 -validity 2 -dname "CN=tarvexjni release test" 2>/dev/null ||
  { echo "keytool could not make the keystore" >&2; exit 1; }
mkdir -m 700 "$GNUPGHOME"
export TVJ_GPG_KEY=release-test@tarvexjni.example TVJ_GPG_PASSPHRASE=gpg-pass-$RANDOM
gpg --batch --quiet --pinentry-mode loopback --passphrase "$TVJ_GPG_PASSPHRASE" \
  --quick-gen-key "tarvexjni release test <$TVJ_GPG_KEY>" rsa3072 sign 1d 2>/dev/null ||
  { echo "gpg could not make the key" >&2; exit 1; }
gpgconf --kill gpg-agent   # nothing cached: the release must give the passphrase itself

scripts/release >"$work/signed.log" 2>&1 || { cat "$work/signed.log" >&2; exit 1; }
grep -q '^=== dist/, made in .*, signed:$' "$work/signed.log" || say "the release does not say it is signed"

signature='^META-INF/(MANIFEST\.MF|[^/]*\.(SF|RSA|DSA|EC))$'
for jar in $jars; do
  out=$("$bin/jarsigner" -verify -verbose -certs "dist/$jar" 2>&1)
  grep -q '^jar verified\.' <<<"$out" || { say "$jar: jarsigner -verify fails:"; echo "$out" | tail -5 >&2; continue; }
  # Each entry's line: its flags ("s": its signature verified), size, date, name; then its signer.
  unsigned=$(awk -v sig="$signature" '
    / [A-Z][a-z][a-z] [A-Z][a-z][a-z] [ 0-9][0-9] / {
      name = $NF; flags = ($1 ~ /^[a-z]+$/) ? $1 : ""
      if (name !~ /\/$/ && name !~ sig && flags !~ /s/) print name }' <<<"$out")
  [ -z "$unsigned" ] || say "$jar: entries not signed: $(echo $unsigned)"
  grep -q 'CN=tarvexjni release test' <<<"$out" || say "$jar: not signed by the team's key"
  grep -q 'Signature algorithm: SHA384withRSA' <<<"$out" || say "$jar: not signed with TVJ_SIGN_OPTIONS' algorithm"
  # Signing added its files and the manifest's digests, and changed no entry.
  diff <("$bin/jar" --list --file "$work/unsigned/$jar" | grep -Ev "$signature" | sort) \
       <("$bin/jar" --list --file "dist/$jar" | grep -Ev "$signature" | sort) >/dev/null ||
    say "$jar: signing changed the list of entries"
  mkdir -p "$work/a" "$work/b"
  rm -rf "$work/a"/* "$work/b"/*
  (cd "$work/a" && "$bin/jar" --extract --file "$work/unsigned/$jar") &&
    (cd "$work/b" && "$bin/jar" --extract --file "$OLDPWD/dist/$jar") &&
    rm -f "$work"/[ab]/META-INF/MANIFEST.MF "$work"/b/META-INF/*.SF "$work"/b/META-INF/*.RSA
  diff -r "$work/a" "$work/b" >/dev/null || say "$jar: signing changed an entry's content"
done

signed=$(cd dist/maven && find . -name '*.jar' -o -name '*.pom' -o -name '*.json' | sort)
for file in $signed; do
  if [ ! -f "dist/maven/$file.asc" ]; then say "maven/$file: no .asc"; continue; fi
  gpg --batch --verify "dist/maven/$file.asc" "dist/maven/$file" 2>"$work/gpg.out" ||
    { say "maven/$file.asc does not verify:"; cat "$work/gpg.out" >&2; }
  grep -q "$TVJ_GPG_KEY" "$work/gpg.out" || say "maven/$file.asc: not the team's key"
done
[ "$fail" -ne 0 ] ||
  echo "  signed: $(wc -w <<<"$jars") jars verify, every entry signed; $(wc -w <<<"$signed") Maven files with a verified .asc; nothing else changed"
exit $fail
