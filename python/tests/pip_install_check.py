"""pip installs the package offline into a fresh venv (NumPy and pandas
from the system), where monexport imports and reads a study. Slow: pip
builds the C++ libraries again (ctest label "slow")."""

import os
import subprocess
import sys
import tempfile
import venv

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXAMPLES = os.path.join(SOURCE, "examples")


def main():
    with tempfile.TemporaryDirectory() as temp:
        env_dir = os.path.join(temp, "venv")
        venv.create(env_dir, system_site_packages=True, with_pip=False)
        python = os.path.join(env_dir, "bin", "python")
        subprocess.run([python, "-m", "pip", "install", "--no-build-isolation", "--no-index",
                        "--quiet", SOURCE], check=True)
        check = ("import monexport, sys; "
                 "t = monexport.study(sys.argv[1] + '/*.mon', names='TIME'); "
                 "assert monexport.__file__.startswith(sys.argv[2]), monexport.__file__; "
                 "assert len(t) == 2 and (t['ERROR'] == '').all(), t; print('ok')")
        done = subprocess.run([python, "-c", check, EXAMPLES, env_dir], cwd=temp,
                              capture_output=True, text=True)
        print(done.stdout, done.stderr)
        return 0 if done.stdout.strip() == "ok" else 1


if __name__ == "__main__":
    sys.exit(main())
