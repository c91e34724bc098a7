"""pip installs the package offline into a fresh venv (NumPy and pandas
from the system), where monexport imports and reads a study and finds the
dashboard's page. Under ctest, pip's build uses the test build's folder
(MONEXPORT_CMAKE_BUILD); without it, pip builds the C++ libraries again
(ctest label "slow")."""

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
        return 0 if done.stdout.strip() == "ok" and commands_work(env_dir, temp) else 1


def commands_work(env_dir, temp):
    """The console scripts run the wheel's commands, and monplot finds its
    page: a dashboard that cannot start says so at once, so a -serve that
    prints its address has read every page file."""
    scripts = os.path.join(env_dir, "bin")
    version = subprocess.run([os.path.join(scripts, "monexport"), "--version"],
                             capture_output=True, text=True)
    served = subprocess.Popen([os.path.join(scripts, "monplot"), "-serve", "127.0.0.1:0",
                               "-mon", os.path.join(EXAMPLES, "transient.mon")],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, cwd=temp)
    try:
        line = served.stdout.readline()
    finally:
        served.terminate()
        _, errors = served.communicate(timeout=30)
    print(version.stdout, version.stderr, line, errors)
    return version.returncode == 0 and "http://127.0.0.1:" in line


if __name__ == "__main__":
    sys.exit(main())
