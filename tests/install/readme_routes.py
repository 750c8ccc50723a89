#!/usr/bin/env python3
"""Runs the README's routes into the installed library exactly as the README writes them.

readme_routes.py README BUILD_DIR

The README marks its pieces with HTML comments, invisible where it is read:
`<!-- readme-route: file NAME -->` before a code block that is a file of the program, and
`<!-- readme-route: run NAME -->` before a shell block that builds and runs it. The build
is installed into a temporary prefix; each route runs in a folder of its own holding the
files, with PREFIX naming the prefix and neither LD_LIBRARY_PATH nor PKG_CONFIG_PATH set,
and must exit 0 printing the file type the program looks up.
"""
import os
import re
import subprocess
import sys
import tempfile

MARKED_BLOCK = re.compile(
    r"^<!-- readme-route: (file|run) (\S+) -->\n```[^\n]*\n(.*?)^```$", re.M | re.S)
ROUTES = {"cmake", "pkg-config"}
EXPECTED = "DNA/RNA Documents"


def main():
    readme, build = sys.argv[1:3]
    with open(readme) as f:
        text = f.read()
    files, runs = {}, {}
    for kind, name, body in MARKED_BLOCK.findall(text):
        (files if kind == "file" else runs)[name] = body
    markers = len(re.findall(r"<!-- readme-route:", text))
    if markers != len(files) + len(runs):
        print(f"{readme}: {markers} route markers, {len(files) + len(runs)} of them before a code block")
        return 1
    if set(runs) != ROUTES or not files:
        print(f"{readme}: routes {sorted(runs)} and files {sorted(files)}; "
              f"expected the routes {sorted(ROUTES)} and the program's files")
        return 1

    with tempfile.TemporaryDirectory() as tmp:
        prefix = os.path.join(tmp, "prefix")
        install = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                                 capture_output=True, text=True)
        if install.returncode != 0:
            print(f"cmake --install failed:\n{install.stdout}{install.stderr}")
            return 1
        env = {k: v for k, v in os.environ.items()
               if k not in ("LD_LIBRARY_PATH", "PKG_CONFIG_PATH", "CMAKE_PREFIX_PATH")}
        env["PREFIX"] = prefix
        failed = 0
        for name, script in sorted(runs.items()):
            folder = os.path.join(tmp, name)
            os.mkdir(folder)
            for file_name, body in files.items():
                with open(os.path.join(folder, file_name), "w") as f:
                    f.write(body)
            run = subprocess.run(["bash", "-euo", "pipefail", "-c", script], cwd=folder,
                                 env=env, capture_output=True, text=True)
            last = run.stdout.strip().split("\n")[-1] if run.stdout.strip() else ""
            if run.returncode != 0 or last != EXPECTED:
                print(f"the README's {name} route failed (exit {run.returncode}, last line "
                      f"{last!r}, expected {EXPECTED!r}):\n{script}")
                print(run.stdout[-2000:], run.stderr[-2000:], sep="\n")
                failed += 1
            else:
                print(f"the README's {name} route: built and ran, printing {last!r}")
        return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
