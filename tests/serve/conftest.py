"""The dashboard (monplot -serve) end to end: a real server on 127.0.0.1,
port 0, reading runs the tests write and grow."""

import http.client
import os
import re
import signal
import subprocess
import tempfile
import time

import pytest

MONPLOT = os.environ["MONPLOT_COMMAND"]
MONEXPORT = os.environ["MONEXPORT_COMMAND"]
SOURCE = os.environ["MONEXPORT_SOURCE_DIR"]
SHOTS = os.environ.get("SERVE_SCREENSHOTS", tempfile.gettempdir())


def history_lines(first, count, nan_at=None):
    """SU2 history lines of iterations first..first+count-1: CD and CL."""
    lines = []
    for i in range(first, first + count):
        cd = "nan" if i == nan_at else f"{0.5 + 0.4 / (1 + i):.6f}"
        cl = "nan" if i == nan_at else f"{1.0 + 0.01 * (i % 7):.6f}"
        lines.append(f"0,0,{i},{cd},{cl}\n")
    return "".join(lines)


HEADER = '"Time_Iter","Outer_Iter","Inner_Iter","CD","CL"\n'


def write_history(path, count, nan_at=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        out.write(HEADER + history_lines(0, count, nan_at))
    return path


def append_history(path, first, count):
    with open(path, "a") as out:
        out.write(history_lines(first, count))


def monexport(*args):
    done = subprocess.run([MONEXPORT, *args], capture_output=True, text=True, check=True)
    return done.stdout


class Server:
    """monplot -serve 0 ARGS..., its address taken from the line it prints."""

    def __init__(self, *args):
        self.process = subprocess.Popen([MONPLOT, "-serve", "0", *args], stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)
        self.line = self.process.stdout.readline()
        match = re.search(r"http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})", self.line)
        assert match, self.line + self.process.stderr.read()
        self.port = int(match.group(1))
        self.token = match.group(2)
        self.url = match.group(0)
        self.host = f"127.0.0.1:{self.port}"

    def request(self, method, path, headers=None, token=True, body=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        fields = {"Host": self.host}
        if token:
            fields["Authorization"] = "token " + self.token
        fields.update(headers or {})
        connection.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
        for name, value in fields.items():
            if value is not None:
                connection.putheader(name, value)
        connection.endheaders(body.encode() if body else None)
        response = connection.getresponse()
        data = response.read()
        connection.close()
        return response, data

    def json(self, path):
        import json
        response, data = self.request("GET", path)
        assert response.status == 200, data
        return json.loads(data)

    def wait_for(self, condition, what, seconds=20):
        """Polls the API until condition() holds: the server reads at its own pace."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        raise AssertionError("timed out waiting for " + what)

    def runs(self, count):
        """The runs, once `count` of them have each been read at least once."""
        def read():
            runs = self.json("/api/runs")
            return runs if len(runs["runs"]) == count and all(r["read"] for r in runs["runs"]) else None
        return self.wait_for(read, f"{count} runs read")

    def stop(self):
        """Ends it as a user would; returns (status, stdout after the first line, stderr)."""
        self.process.send_signal(signal.SIGTERM)
        out, err = self.process.communicate(timeout=30)
        return self.process.returncode, out, err


@pytest.fixture
def serve():
    started = []

    def start(*args):
        server = Server(*args)
        started.append(server)
        return server

    yield start
    for server in started:
        if server.process.poll() is None:
            status, out, err = server.stop()
            assert status == 0, err
            assert server.token not in out + err, "the token was printed again"


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    """Keeps each test's outcome on it, for the browser tests' screenshots."""
    outcome = yield
    if call.when == "call":
        item.report_call = outcome.get_result()
