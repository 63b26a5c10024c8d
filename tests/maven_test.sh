#!/usr/bin/env bash
# The release's Maven repository as a Java team's build takes it: Debian's Maven, offline, with
# Debian's packaged plugins and JUnit (/usr/share/maven-repo), and the repository that
# scripts/release lays out (dist/maven), read as a remote repository through a file: URL with
# every checksum checked. One build of two modules: the example application (a Maven project,
# copied) compiled with -Xlint:all -Werror against tarvexjni, and its JUnit tests run over the test
# kit, every one of which must have run and passed; and a module that only resolves the sources
# and javadoc jars of both artifacts by their coordinates. Any warning of Maven fails it.
# Usage: maven_test.sh <dist/maven> <examples/documents>   (JAVA_HOME: the JDK Maven runs)
set -uo pipefail
repository=$(realpath "$1")
project=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The local repository: Debian's folders, linked; what Maven takes from dist/maven lands beside
# them (dist/maven's groupId is nobody else's, so its folder is not one of Debian's).
mkdir "$work/local"
for entry in /usr/share/maven-repo/*; do ln -s "$entry" "$work/local/"; done
cat >"$work/settings.xml" <<XML
<settings>
  <localRepository>$work/local</localRepository>
  <offline>true</offline>
  <profiles>
    <profile>
      <id>release</id>
      <repositories>
        <repository>
          <id>release</id>
          <url>file://$repository</url>
          <releases><checksumPolicy>fail</checksumPolicy></releases>
          <snapshots><enabled>false</enabled></snapshots>
        </repository>
      </repositories>
    </profile>
  </profiles>
  <activeProfiles><activeProfile>release</activeProfile></activeProfiles>
</settings>
XML

cp -r "$project" "$work/documents"
rm -rf "$work/documents/target"
# The attached jars, by the coordinates of the example's own dependencies; the plugins as the
# example pins them (those Debian ships).
group=$(sed -n 's:^ *<groupId>\(.*tarvexjni\)</groupId>$:\1:p' "$project/pom.xml" | head -1)
version=$(sed -n 's:^ *<tarvexjni.version>\(.*\)</tarvexjni.version>$:\1:p' "$project/pom.xml")
plugins=$(sed -n '/<build>/,/<\/build>/p' "$project/pom.xml" | grep -v '<arg>\|compilerArgs\|argLine\|<!--')
mkdir "$work/attached"
{
  echo '<project xmlns="http://maven.apache.org/POM/4.0.0"><modelVersion>4.0.0</modelVersion>'
  echo '<groupId>check</groupId><artifactId>attached</artifactId><version>1</version>'
  echo '<properties><project.build.sourceEncoding>UTF-8</project.build.sourceEncoding></properties><dependencies>'
  for artifact in tarvexjni tarvexjni-standin; do
    for classifier in sources javadoc; do
      echo "<dependency><groupId>$group</groupId><artifactId>$artifact</artifactId><version>$version</version>"
      echo "<classifier>$classifier</classifier><scope>provided</scope></dependency>"
    done
  done
  echo "</dependencies>$plugins</project>"
} >"$work/attached/pom.xml"
cat >"$work/pom.xml" <<XML
<project xmlns="http://maven.apache.org/POM/4.0.0"><modelVersion>4.0.0</modelVersion>
  <groupId>check</groupId><artifactId>all</artifactId><version>1</version><packaging>pom</packaging>
  <modules><module>attached</module><module>documents</module></modules>
</project>
XML

# Offline, file: URLs are the only ones Maven may use: the network stays out of it.
out=$(cd "$work" && mvn --batch-mode --offline --settings "$work/settings.xml" \
  -Daether.offline.protocols=file test 2>&1)
status=$?
fail=0
[ "$status" -eq 0 ] || { echo "Maven failed (exit status $status)" >&2; fail=1; }
! grep -q '^\[WARNING\]' <<<"$out" || { echo "Maven warned" >&2; fail=1; }

# Every test of the example ran, and passed: the reports' counts against its @Test methods.
for source in "$work"/documents/src/test/java/*/*Test.java; do
  class=$(basename "$(dirname "$source")").$(basename "$source" .java)
  wanted=$(grep -c '^ *@Test$' "$source")
  report=$work/documents/target/surefire-reports/TEST-$class.xml
  counts=$(sed -n 's/.*<testsuite [^>]*tests="\([0-9]*\)"[^>]*failures="\([0-9]*\)".*/\1 \2/p' "$report" 2>/dev/null |
    head -1)
  errors=$(sed -n 's/.*<testsuite [^>]*errors="\([0-9]*\)".*/\1/p' "$report" 2>/dev/null | head -1)
  skipped=$(sed -n 's/.*<testsuite [^>]*skipped="\([0-9]*\)".*/\1/p' "$report" 2>/dev/null | head -1)
  if [ "$counts" != "$wanted 0" ] || [ "$errors" != 0 ] || [ "$skipped" != 0 ]; then
    echo "$class: $wanted tests, but Maven ran and passed: tests failures = ${counts:-none}, errors ${errors:-?}, skipped ${skipped:-?}" >&2
    fail=1
  else
    echo "$class: $wanted tests run by Maven, all passed"
  fi
done
[ "$fail" -eq 0 ] || echo "$out" >&2
exit $fail
