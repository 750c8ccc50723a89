#!/usr/bin/env python3
"""Checks that a shared library exports its public interface and nothing of its insides.

exports.py LIB --public LIST... [--private LIST] [--bridge HEADER --root DIR]
           [--objects LIST] --sources DIR...

LIST files name one file a line (the build writes them from the one install rule).
Every dynamic symbol LIB defines is demangled and taken apart into the classes and
namespaces that qualify it (template arguments included). It fails on a symbol that
names a class or namespace defined only in a header that is not installed or in a source
file, and on a global function or variable that no installed header declares. Names
declared in the bridge header (what the Qt backend alone reaches) are allowed. Given the
library's objects, it also fails on a function or variable of an installed header's
class, namespace or global name that they define but left hidden.
"""
import argparse
import os
import re
import subprocess
import sys

IDENT = re.compile(r"[A-Za-z_]\w*")
DEFINITION = re.compile(
    r"\b(?:class|struct|union|enum(?:\s+class)?)\s+(?:\[\[[^\]]*\]\]\s*)?(?:ZEL_\w+\s+)?"
    r"([A-Za-z_]\w*)\s*(?:final\s*)?[:{]")
NAMESPACE = re.compile(r"\bnamespace\s+([A-Za-z_][\w:]*)\s*\{")
# What the C++ ABI puts in front of a symbol's name.
SPECIAL = re.compile(r"^(?:typeinfo name for |typeinfo for |vtable for |VTT for |"
                     r"construction vtable for |guard variable for |"
                     r"non-virtual thunk to |virtual thunk to |covariant return thunk to )+")


# What the linker defines in every shared object.
LINKER_SYMBOLS = {"_end", "_edata", "__bss_start", "_init", "_fini"}


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def declared(paths):
    """(scopes, identifiers): classes and namespaces defined, and every identifier used."""
    scopes, idents = set(), set()
    for path in paths:
        with open(path, errors="replace") as f:
            text = strip_comments(f.read())
        scopes.update(DEFINITION.findall(text))
        for ns in NAMESPACE.findall(text):
            scopes.update(ns.split("::"))
        idents.update(IDENT.findall(text))
    return scopes, idents


def read_list(path):
    if not path:
        return []
    with open(path) as f:
        return [line.strip() for line in f if line.strip()]


def sources(dirs):
    out = []
    for d in dirs:
        for root, _, files in os.walk(d):
            out += [os.path.join(root, f) for f in files if f.endswith((".cpp", ".inc"))]
    return out


def exported(lib):
    nm = subprocess.run(["nm", "-D", "--defined-only", lib], check=True,
                        capture_output=True, text=True).stdout.split("\n")
    raw = [line.split()[-1] for line in nm if len(line.split()) >= 3]
    demangled = subprocess.run(["c++filt"], input="\n".join(raw), check=True,
                               capture_output=True, text=True).stdout.split("\n")
    return list(zip(raw, demangled))


def hidden_in(objects):
    """The global symbols the objects define with hidden visibility."""
    raw = set()
    for obj in objects:
        out = subprocess.run(["readelf", "-sW", obj], check=True, capture_output=True,
                             text=True).stdout
        for line in out.split("\n"):
            f = line.split()
            if len(f) >= 8 and f[3] in ("FUNC", "OBJECT") and f[4] == "GLOBAL" and \
                    f[5] == "HIDDEN" and f[6] != "UND":
                raw.add(f[7])
    raw = sorted(raw)
    demangled = subprocess.run(["c++filt"], input="\n".join(raw), check=True,
                               capture_output=True, text=True).stdout.split("\n")
    return list(zip(raw, demangled))


def scopes_of(symbol):
    """The qualifying names of a demangled symbol, and its name when it has none."""
    name = SPECIAL.sub("", symbol)
    qualifiers = re.findall(r"([A-Za-z_]\w*)(?:<[^:]*?>)?::", name)
    depth, top = 0, []
    for ch in name:  # the symbol's own name: outside template arguments and parameters
        if ch in "<(":
            depth += 1
        elif ch in ">)":
            depth -= 1
        elif depth == 0:
            top.append(ch)
    top = "".join(top).split()[-1] if "".join(top).split() else ""
    global_name = None if "::" in top else re.sub(r"\[.*$", "", top)
    return qualifiers, global_name


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("lib")
    ap.add_argument("--public", action="append", required=True)
    ap.add_argument("--private")
    ap.add_argument("--bridge", action="append", default=[])
    ap.add_argument("--root", default=".", help="the source root includes are written from")
    ap.add_argument("--sources", nargs="+", default=[])
    ap.add_argument("--objects", help="a file naming the library's object files, one a line")
    args = ap.parse_args()

    public_scopes, public_idents = declared([h for p in args.public for h in read_list(p)])
    bridged = list(args.bridge)
    for bridge in args.bridge:  # the bridge and the headers it brings
        with open(bridge) as f:
            names = re.findall(r'^\s*#\s*include\s*"([^"]+)"', f.read(), re.M)
        bridged += [os.path.join(args.root, n) for n in names]
    bridge_scopes, bridge_idents = declared(bridged)
    inside_scopes, _ = declared(read_list(args.private) + sources(args.sources))
    internal = inside_scopes - public_scopes - bridge_scopes
    allowed_globals = public_idents | bridge_idents

    symbols = exported(args.lib)
    if len(symbols) < 10:
        print(f"{args.lib}: only {len(symbols)} exported symbols: the list is wrong")
        return 1
    leaks = []
    for raw, symbol in symbols:
        if raw.startswith("_Z"):
            qualifiers, global_name = scopes_of(symbol)
            inner = sorted(set(qualifiers) & internal)
            if inner:
                leaks.append(f"{symbol}  [{', '.join(inner)} is not installed]")
            elif global_name and global_name.startswith("operator"):
                # A free operator belongs with the public class it takes.
                if not set(IDENT.findall(symbol)) & (public_scopes | bridge_scopes):
                    leaks.append(f"{symbol}  [takes no installed class]")
            elif global_name and not qualifiers and global_name not in allowed_globals:
                leaks.append(f"{symbol}  [no installed header declares it]")
        elif raw not in allowed_globals and raw not in LINKER_SYMBOLS:
            leaks.append(f"{raw}  [no installed header declares it]")
    # The other way round: what the installed headers declare, defined in the library's
    # objects but left hidden (a declaration without ZEL_API), fails a host's link.
    missing = []
    for raw, symbol in hidden_in(read_list(args.objects)):
        qualifiers, global_name = scopes_of(symbol)
        own = re.sub(r"\(.*$", "", SPECIAL.sub("", symbol)).split("::")[-1]
        if set(qualifiers) & internal or own not in public_idents and \
                not own.startswith("operator"):
            continue
        if (qualifiers and qualifiers[0] in public_scopes) or \
                (not qualifiers and (global_name or "").startswith("operator") and
                 set(IDENT.findall(symbol)) & public_scopes) or \
                (not qualifiers and global_name in public_idents):
            missing.append(symbol)
    print(f"{os.path.basename(args.lib)}: {len(symbols)} exported symbols, "
          f"{len(leaks)} of them not in the installed headers, "
          f"{len(missing)} declared there but hidden")
    found = leaks + [f"{name}  [declared in an installed header, not exported]"
                     for name in missing]
    for line in found[:60]:
        print("  " + line)
    if len(found) > 60:
        print(f"  ... and {len(found) - 60} more")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
