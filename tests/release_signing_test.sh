#!/usr/bin/env bash
# The release signed as a team signs it, with throwaway keys: a PKCS#12 keystore made by keytool,
# an OpenPGP key (with a passphrase) made by gpg --batch in a temporary GNUPGHOME, and a
# self-signed code-signing certificate with its key (with a password) made by openssl, given to
# scripts/release through its variables (TVJ_SIGN_*, TVJ_GPG_*, TVJ_AUTHENTICODE_*). Checks:
#   - the unsigned release, made first, holds no signature: no jar has META-INF/*.SF, no .asc,
#     no DLL an Authenticode signature;
#   - signed, every Windows DLL in the jars carries an Authenticode signature that osslsigncode
#     verifies against the team's certificate, its .sha256 beside it is the signed file's, and
#     what the signature covers (all but the checksum and the signature) is the unsigned DLL;
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
# dlls <jar> <folder>: the jar's Windows DLLs, with their .sha256, into the folder
dlls() {
  mkdir -p "$2"
  (cd "$2" && "$bin/jar" --extract --file "$OLDPWD/$1" && find . -path '*/native/windows-*/*.dll*' -type f | sort)
}
unsigned_dlls=()
for jar in tarvexjni.jar tarvexjni-standin.jar; do
  while read -r dll; do
    [[ $dll == *.dll ]] || continue
    unsigned_dlls+=("$jar/$dll")
    ! osslsigncode extract-signature -in "$work/dlls-unsigned/$jar/$dll" -out "$work/sig" >/dev/null 2>&1 ||
      say "$jar: $dll signed without a key"
  done < <(dlls "dist/$jar" "$work/dlls-unsigned/$jar")
done
[ ${#unsigned_dlls[@]} -ge 2 ] || say "the jars hold ${#unsigned_dlls[@]} Windows DLLs, not the bridge and the stand-in"

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
export TVJ_AUTHENTICODE_KEY=$work/authenticode.key TVJ_AUTHENTICODE_CERT=$work/authenticode.crt
export TVJ_AUTHENTICODE_PASS=key-pass-$RANDOM
openssl req -x509 -newkey rsa:3072 -sha256 -days 2 -subj "/CN=tarvexjni authenticode test" \
  -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
  -passout env:TVJ_AUTHENTICODE_PASS -keyout "$TVJ_AUTHENTICODE_KEY" -out "$TVJ_AUTHENTICODE_CERT" 2>/dev/null ||
  { echo "openssl could not make the code-signing certificate" >&2; exit 1; }

scripts/release >"$work/signed.log" 2>&1 || { cat "$work/signed.log" >&2; exit 1; }
grep -q '^=== dist/, made in .*, signed, DLLs signed:$' "$work/signed.log" || say "the release does not say it is signed"

for path in "${unsigned_dlls[@]}"; do
  jar=${path%%/*} dll=${path#*/}
  [ -d "$work/dlls-signed/$jar" ] || dlls "dist/$jar" "$work/dlls-signed/$jar" >/dev/null
  copy=$work/dlls-signed/$jar/$dll
  osslsigncode verify -CAfile "$TVJ_AUTHENTICODE_CERT" -in "$copy" >"$work/verify.out" 2>&1 ||
    { say "$jar: $dll does not verify:"; tail -5 "$work/verify.out" >&2; continue; }
  grep -q 'CN=tarvexjni authenticode test' "$work/verify.out" || say "$jar: $dll not signed by the team's certificate"
  (cd "$(dirname "$copy")" && sha256sum --quiet -c "$(basename "$dll").sha256") || say "$jar: $dll.sha256 is not the signed file's"
  # What the signature covers (the file but its checksum and signature) is the unsigned DLL's.
  for side in signed unsigned; do
    osslsigncode extract-data -h sha256 -in "$work/dlls-$side/$jar/$dll" -out "$work/$side.data" >/dev/null 2>&1
  done
  cmp -s "$work/signed.data" "$work/unsigned.data" || say "$jar: $dll signed is not the unsigned DLL"
  rm -f "$work/signed.data" "$work/unsigned.data"
done

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
  # (the DLLs and their .sha256 were compared above)
  find "$work/a" "$work/b" -path '*/native/windows-*/*.dll*' -delete
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
  echo "  signed: ${#unsigned_dlls[@]} DLLs verify with Authenticode; $(wc -w <<<"$jars") jars verify, every entry signed; $(wc -w <<<"$signed") Maven files with a verified .asc; nothing else changed"
exit $fail
