"""Monitor data of solver runs as NumPy arrays and pandas tables.

The compiled calls live in monexport._core; this package gives them their
public names and adds the parts written in Python.
"""

from monexport._core import *  # noqa: F401,F403 (every public call, whoever adds it)
from monexport._core import __doc__, __version__  # noqa: F401
from monexport._study import study  # noqa: E402,F401
