"""The console scripts monexport and monplot of a pip installation: they run
the commands the wheel carries in monexport/bin/, whose page and template
(monexport/share/monexport/) lie where an installation keeps them."""

import os
import sys

_BIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bin")


def _run(command):
    path = os.path.join(_BIN, command)
    if not os.access(path, os.X_OK):
        sys.exit(f"{command}: not part of this installation of the monexport package "
                 f"(looked for {path})")
    os.execv(path, [command] + sys.argv[1:])


def monexport():
    _run("monexport")


def monplot():
    _run("monplot")
