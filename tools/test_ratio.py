#!/usr/bin/env python3
"""Counts the non-blank lines of C++ and Python sources, code against tests.

Code is every .cpp/.h/.py file except tests, bench/, fuzz/, build folders and
.git; tests are the *_test.cpp files and everything under tests/ and
python/tests/. Prints both counts and their ratio (we keep it between a
quarter and a third).

    tools/test_ratio.py [ROOT] [--files]
"""
import argparse
import os
import sys

SUFFIXES = (".cpp", ".h", ".py")
SKIPPED = {".git", "bench", "fuzz"}
TEST_FOLDERS = ("tests", os.path.join("python", "tests"))


def is_build_folder(name):
    return name.startswith("build") or name.startswith("cmake-build")


def is_test(relative):
    return relative.endswith("_test.cpp") or any(
        relative.startswith(folder + os.sep) for folder in TEST_FOLDERS)


def non_blank_lines(path):
    with open(path, "rb") as source:
        return sum(1 for line in source if line.strip())


def count(root):
    """Returns {relative path: (is_test, lines)} for every counted file."""
    counted = {}
    for folder, subfolders, files in os.walk(root):
        relative_folder = os.path.relpath(folder, root)
        subfolders[:] = sorted(
            name for name in subfolders
            if not is_build_folder(name)
            and not (relative_folder == "." and name in SKIPPED)
            and name != ".git")
        for name in files:
            if name.endswith(SUFFIXES):
                relative = os.path.normpath(os.path.join(relative_folder, name))
                counted[relative] = (is_test(relative),
                                     non_blank_lines(os.path.join(folder, name)))
    return counted


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("root", nargs="?",
                        default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--files", action="store_true",
                        help="also list the test files, largest first")
    args = parser.parse_args()
    counted = count(args.root)
    code = sum(lines for test, lines in counted.values() if not test)
    tests = sum(lines for test, lines in counted.values() if test)
    if args.files:
        for path, (_, lines) in sorted(((p, v) for p, v in counted.items() if v[0]),
                                       key=lambda item: -item[1][1]):
            print(f"{lines:7,}  {path}")
    print(f"code  {code:,}")
    print(f"tests {tests:,}")
    print(f"ratio {tests / code:.2f}" if code else "ratio -")
    return 0


if __name__ == "__main__":
    sys.exit(main())
