#!/usr/bin/python3
"""Checks the release's SBOMs: each against CycloneDX's JSON schema (third_party/cyclonedx, with
Debian's python3-jsonschema, offline), and against the jar beside it (<name>.cdx.json describes
<name>.jar):
  - the jar's SHA-256 is the SBOM's subject's, and every native library listed is in the jar with
    the SHA-256 the SBOM gives; every native library in the jar is listed;
  - every Linux library names the glibc baseline (2.17) and carries libstdc++ and libgcc with a
    version; every Windows one also winpthreads and the mingw-w64 runtime; each with a licence;
  - every bom-ref is unique and every dependency names one of them.
Prints one line per SBOM; exits non-zero if any fails.
Usage: check_sbom.py <sbom.cdx.json>...
"""
import hashlib
import json
import os
import re
import sys
import zipfile

import jsonschema

SCHEMAS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "third_party", "cyclonedx")
BOM_SCHEMA = "bom-1.6.SNAPSHOT.schema.json"
NEEDED = {"linux": {"libstdc++", "libgcc"}, "windows": {"libstdc++", "libgcc", "winpthreads", "mingw-w64-crt"}}


def validator():
    """A validator for the BOM schema that resolves its references to the schemas beside it."""
    store = {}
    for name in os.listdir(SCHEMAS):
        if name.endswith(".schema.json"):
            with open(os.path.join(SCHEMAS, name)) as f:
                schema = json.load(f)
            store[schema["$id"]] = schema
            store["http://cyclonedx.org/schema/" + name] = schema  # the name the references use
    bom = store["http://cyclonedx.org/schema/" + BOM_SCHEMA]
    resolver = jsonschema.RefResolver(bom["$id"], bom, store=store)
    return jsonschema.Draft7Validator(bom, resolver=resolver, format_checker=jsonschema.FormatChecker())


def props(component):
    return {p["name"]: p["value"] for p in component.get("properties", [])}


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def check(path, schema):
    problems = []
    with open(path) as f:
        bom = json.load(f)
    for error in sorted(schema.iter_errors(bom), key=lambda e: list(e.absolute_path)):
        where = "/".join(str(p) for p in error.absolute_path) or "(top)"
        problems.append(f"schema: {where}: {error.message[:300]}")

    refs, all_components = [], []

    def walk(components):
        for c in components:
            all_components.append(c)
            if "bom-ref" in c:
                refs.append(c["bom-ref"])
            walk(c.get("components", []))
    subject = bom.get("metadata", {}).get("component", {})
    refs.append(subject.get("bom-ref"))
    walk(bom.get("components", []))
    for ref in {r for r in refs if refs.count(r) > 1}:
        problems.append(f"bom-ref {ref} used more than once")
    for dep in bom.get("dependencies", []):
        for ref in [dep["ref"]] + dep.get("dependsOn", []):
            if ref not in refs:
                problems.append(f"dependency on {ref}, which no component is")

    jar = re.sub(r"\.cdx\.json$", ".jar", path)
    natives = 0
    if not os.path.exists(jar):
        problems.append(f"no {os.path.basename(jar)} beside it")
    else:
        with open(jar, "rb") as f:
            digest = sha256(f.read())
        if [h["content"] for h in subject.get("hashes", []) if h["alg"] == "SHA-256"] != [digest]:
            problems.append(f"the subject's SHA-256 is not {os.path.basename(jar)}'s ({digest})")
        with zipfile.ZipFile(jar) as z:
            entries = {i.filename: i for i in z.infolist()}
            in_jar = {n for n in entries if re.search(r"/native/[^/]+/[^/]+$", n) and not n.endswith(".sha256")}
            listed = set()
            for c in all_components:
                entry = props(c).get("tarvexjni:jar-entry")
                if not entry:
                    continue
                natives += 1
                listed.add(entry)
                platform = props(c).get("tarvexjni:platform", "")
                if entry not in entries:
                    problems.append(f"{entry}: listed, not in the jar")
                elif [h["content"] for h in c.get("hashes", [])] != [sha256(z.read(entry))]:
                    problems.append(f"{entry}: the SHA-256 listed is not the jar's entry's")
                parts = c.get("components", [])
                names = {p["name"] for p in parts if p.get("version") and p.get("licenses")}
                missing = NEEDED.get(platform.split("-")[0], set()) - names
                if missing:
                    problems.append(f"{entry}: no {', '.join(sorted(missing))} (with version and licence) in it")
                if platform.startswith("linux-") and props(c).get("tarvexjni:glibc-baseline") != "2.17":
                    problems.append(f"{entry}: no glibc baseline 2.17")
            for entry in sorted(in_jar - listed):
                problems.append(f"{entry}: in the jar, not listed")
    name = os.path.basename(path)
    if problems:
        print(f"{name}: FAILS", file=sys.stderr)
        for p in problems:
            print(f"  {p}", file=sys.stderr)
        return False
    print(f"{name}: valid CycloneDX {bom['specVersion']}, {len(all_components)} components, "
          f"{natives} native libraries matching {os.path.basename(jar)}")
    return True


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: check_sbom.py <sbom.cdx.json>...")
    schema = validator()
    results = [check(path, schema) for path in sys.argv[1:]]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
