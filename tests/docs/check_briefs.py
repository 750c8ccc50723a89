#!/usr/bin/env python3
"""Runs Doxygen on the public headers and fails on a class, struct or namespace-level
function of theirs without a brief description.

  check_briefs.py DOXYGEN DOXYFILE OUTPUT_DIR  the reference: Doxygen's warnings are errors,
                                               then every entity named above has a brief
  check_briefs.py --self-test DOXYGEN FIXTURE_DIR OUTPUT_DIR
                                               the check itself: on the fixture's headers it
                                               must name exactly the entities their
                                               EXPECTED-MISSING comments list
"""
import pathlib
import re
import subprocess
import sys
import xml.etree.ElementTree as ET


def run_doxygen(doxygen, config_text, output_dir):
    output_dir.mkdir(parents=True, exist_ok=True)
    # Settings given later win: the reference's own configuration, written elsewhere.
    config = config_text + f"\nOUTPUT_DIRECTORY = {output_dir}\nGENERATE_HTML = NO\n"
    result = subprocess.run([doxygen, "-"], input=config, text=True, capture_output=True)
    sys.stdout.write(result.stdout)
    sys.stderr.write(result.stderr)
    if result.returncode != 0:
        sys.exit(f"doxygen failed (exit {result.returncode}): its warnings are errors")
    return output_dir / "xml"


def has_text(element):
    return element is not None and "".join(element.itertext()).strip() != ""


def missing_briefs(xml_dir):
    """The public classes and namespace-level functions without a brief, as
    'kind name (file:line)' lines."""
    missing = []
    index = ET.parse(xml_dir / "index.xml").getroot()
    for compound in index.findall("compound"):
        kind = compound.get("kind")
        if kind not in ("class", "struct", "namespace", "file"):
            continue
        root = ET.parse(xml_dir / f"{compound.get('refid')}.xml").getroot()
        definition = root.find("compounddef")
        name = definition.findtext("compoundname")
        if name == "std" or name.startswith("std::"):
            continue
        if kind in ("class", "struct"):
            # A base class from elsewhere (Qt's) is only a name to Doxygen: no header of
            # ours declares it.
            if definition.get("prot", "public") != "public" or definition.find("includes") is None:
                continue
            if not has_text(definition.find("briefdescription")):
                location = definition.find("location")
                missing.append(f"{kind} {name} ({location.get('file')}:{location.get('line')})")
            continue
        for member in definition.iter("memberdef"):
            if member.get("kind") != "function":
                continue
            # A file lists its namespaces' functions as well; each is checked once, where
            # it is declared.
            qualified = member.findtext("qualifiedname") or member.findtext("name")
            if kind == "file" and "::" in qualified:
                continue
            if not has_text(member.find("briefdescription")):
                location = member.find("location")
                missing.append(
                    f"function {qualified}{member.findtext('argsstring') or ''} "
                    f"({location.get('file')}:{location.get('line')})")
    return sorted(set(missing))


def reference(doxygen, doxyfile, output_dir):
    xml_dir = run_doxygen(doxygen, pathlib.Path(doxyfile).read_text(), pathlib.Path(output_dir))
    missing = missing_briefs(xml_dir)
    for line in missing:
        print(f"no brief description: {line}")
    if missing:
        sys.exit(f"{len(missing)} public entities without a brief description")
    print("every public class and namespace-level function has a brief description")


def self_test(doxygen, fixture_dir, output_dir):
    fixture = pathlib.Path(fixture_dir)
    # The reference's settings that decide what the XML holds (docs/api/Doxyfile.in).
    config = "\n".join([
        f"INPUT = {fixture}", "FILE_PATTERNS = *.h", "RECURSIVE = YES", "EXTRACT_ALL = YES",
        "JAVADOC_AUTOBRIEF = YES", "HIDE_UNDOC_RELATIONS = NO", "GENERATE_LATEX = NO",
        "GENERATE_XML = YES", "HAVE_DOT = NO", "QUIET = YES", "WARN_AS_ERROR = YES",
        "WARN_IF_UNDOCUMENTED = NO"])
    xml_dir = run_doxygen(doxygen, config, pathlib.Path(output_dir))
    found = {re.sub(r"\s*\(.*$", "", line.split(" ", 1)[1]) for line in missing_briefs(xml_dir)}
    expected = set()
    for header in fixture.rglob("*.h"):
        expected.update(re.findall(r"EXPECTED-MISSING: (\S+)", header.read_text()))
    if found != expected:
        sys.exit(f"the check named {sorted(found)}, the fixture expects {sorted(expected)}")
    print(f"the check names exactly the fixture's undocumented entities: {sorted(found)}")


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "--self-test":
        self_test(*sys.argv[2:])
    elif len(sys.argv) == 4:
        reference(*sys.argv[1:])
    else:
        sys.exit(__doc__)
