#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers
"""Runs clang-tidy over every module of src/, one module at a time.

clang-tidy spends most of its time on the Qt headers a file includes: it parses them and
matches every check against them, for each file anew. A module's files share their
compile command, so they are checked together as one unit that includes them all, and
Qt's headers are read once per module instead of once per file. Files that do not compile
as one unit (two of them defining the same private name) are checked in halves, down to
one file a unit where need be, and the output says so.

    tidy-modules.py BUILD_DIR [JOBS]

BUILD_DIR holds compile_commands.json of a finished build. Exit 1 on any finding.
"""

import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CONFIG = os.path.join(ROOT, ".clang-tidy")


def compile_flags(entry):
    """The compiler's arguments without the compiler (or its launcher), -c SOURCE and -o OUT."""
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    args = args[1:]
    if args and not args[0].startswith("-"):  # a launcher such as ccache before the compiler
        args = args[1:]
    flags, skip = [], False
    for arg in args:
        if skip:
            skip = False
        elif arg in ("-c", "-o"):
            skip = True
        else:
            flags.append(arg)
    return flags


def modules(build_dir):
    """{module: (directory, flags, [sources])} for the .cpp files under src/."""
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        entries = json.load(f)
    src = os.path.join(ROOT, "src") + os.sep
    found = {}
    for entry in entries:
        path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        if not path.startswith(src) or not path.endswith(".cpp"):
            continue
        module = path[len(src):].split(os.sep)[0]
        directory, flags, sources = found.setdefault(
            module, (entry["directory"], compile_flags(entry), []))
        sources.append(path)
    return found


def tidy(directory, flags, source):
    run = subprocess.run(["clang-tidy", "--quiet", "--config-file=" + CONFIG, source, "--"]
                         + flags, cwd=directory, capture_output=True, text=True)
    return run.returncode, run.stdout


def check_unit(build_dir, name, directory, flags, sources):
    """Checks `sources` as one unit; where they do not compile together, checks each half."""
    unit = os.path.join(os.path.abspath(build_dir), "tidy", name + ".cpp")
    os.makedirs(os.path.dirname(unit), exist_ok=True)
    with open(unit, "w") as f:
        for source in sources:
            f.write('#include "%s" // NOLINT(bugprone-suspicious-include)\n' % source)
    code, output = tidy(directory, flags, unit)
    if "[clang-diagnostic-error" not in output or len(sources) == 1:
        return code, output
    half = len(sources) // 2
    first = check_unit(build_dir, name + "-a", directory, flags, sources[:half])
    second = check_unit(build_dir, name + "-b", directory, flags, sources[half:])
    note = "%s: %d files do not compile as one unit; checked in two halves\n" % (
        name, len(sources))
    return first[0] or second[0], note + first[1] + second[1]


def main():
    build_dir = sys.argv[1]
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else 2
    found = modules(build_dir)
    if not found:
        sys.exit("no sources of src/ in %s/compile_commands.json" % build_dir)
    with ThreadPoolExecutor(jobs) as pool:
        results = pool.map(lambda m: (m, check_unit(build_dir, m, found[m][0], found[m][1], sorted(found[m][2]))), sorted(found))
        failed = False
        for module, (code, output) in results:
            sys.stdout.write(output)
            print("clang-tidy %s: %s" % (module, "findings" if code else "clean"), flush=True)
            failed = failed or code != 0
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
