#!/usr/bin/env python3
"""Which production lines does each test file run that no other one does?

Runs every GoogleTest suite of the unit and end-to-end binaries alone in a
build made with coverage (the commands the end-to-end tests start write
their counts too), collects the lines each suite ran with gcov, and prints
one line per test file: the lines only its suites run, then all the lines
they run. A file whose suites run no line of their own is a place to look for
checks made twice; it is no proof, as a test may run a line for another
check than its neighbours do.

    cmake -S . -B build-cov -DCMAKE_BUILD_TYPE=Debug -DMONEXPORT_TESTS=ON \\
        -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage
    cmake --build build-cov -j2
    tools/suite_coverage.py build-cov
"""
import argparse
import collections
import glob
import gzip
import json
import os
import re
import subprocess
import tempfile

BINARIES = ("unit_tests", os.path.join("tests", "e2e_tests"))


def suites(binary):
    listing = subprocess.run([binary, "--gtest_list_tests"], capture_output=True,
                             text=True, check=True).stdout
    return [line.split()[0].rstrip(".") for line in listing.splitlines()
            if line and not line.startswith(" ") and line.split()[0].endswith(".")]


def is_production(path):
    return not (path.startswith("..") or path.endswith("_test.cpp")
                or path.startswith("tests" + os.sep))


def ran_lines(build, root):
    """The production lines the counts of the build say were run."""
    counts = glob.glob(os.path.join(build, "**", "*.gcda"), recursive=True)
    lines = set()
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run(["gcov", "--json-format", "--preserve-paths"] + counts, cwd=scratch,
                       capture_output=True)
        for report in glob.glob(os.path.join(scratch, "*.gcov.json.gz")):
            data = json.load(gzip.open(report))
            base = data.get("current_working_directory", "")
            for source in data["files"]:
                path = os.path.relpath(os.path.join(base, source["file"]), root)
                if is_production(path):
                    lines.update(f"{path}:{line['line_number']}" for line in source["lines"]
                                 if line["count"] > 0)
    return lines


def lines_per_suite(build, root):
    """{(binary, suite): lines}"""
    per_suite = {}
    for name in BINARIES:
        binary = os.path.join(build, name)
        for suite in suites(binary):
            for count in glob.glob(os.path.join(build, "**", "*.gcda"), recursive=True):
                os.remove(count)
            subprocess.run([binary, f"--gtest_filter={suite}.*"], cwd=os.path.dirname(binary),
                           capture_output=True)
            per_suite[(name, suite)] = ran_lines(build, root)
    return per_suite


def file_of_suite(root):
    """{(binary, suite): test file}: end-to-end suites live in tests/, unit ones beside the code."""
    found = {}
    tests = subprocess.run(["git", "ls-files", "*_test.cpp", "tests/*.cpp"], cwd=root,
                           capture_output=True, text=True, check=True).stdout.split()
    for test in tests:
        with open(os.path.join(root, test), encoding="utf-8") as text:
            for match in re.finditer(r"\bTEST(?:_P|_F)?\((\w+),", text.read()):
                binary = BINARIES[1] if test.startswith("tests" + os.sep) else BINARIES[0]
                found.setdefault((binary, match.group(1)), test)
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build", help="a build folder made with --coverage")
    parser.add_argument("root", nargs="?", default=".", help="the source tree")
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    per_suite = lines_per_suite(os.path.abspath(args.build), root)
    runs = collections.Counter(line for lines in per_suite.values() for line in lines)
    files = file_of_suite(root)
    own, ran = collections.Counter(), collections.defaultdict(set)
    for (binary, suite), lines in per_suite.items():
        test = files.get((binary, suite.split("/")[-1]), suite)
        own[test] += sum(runs[line] == 1 for line in lines)
        ran[test] |= lines
    for test in sorted(ran, key=lambda t: (own[t], t)):
        print(f"{own[test]:6d} {len(ran[test]):6d}  {test}")


if __name__ == "__main__":
    main()
