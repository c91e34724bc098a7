"""HTTP end to end: the security refusals, the API against monexport's tables
of the same runs, and live updates by server-sent events."""

import csv
import io
import json
import math
import os
import shutil
import socket
import subprocess
import time

import pytest

from conftest import HEADER, MONPLOT, SOURCE, append_history, monexport, write_history

SECURITY_HEADERS = {
    "Content-Security-Policy": "default-src 'self'; frame-ancestors 'none'",
    "X-Content-Type-Options": "nosniff",
    "Referrer-Policy": "no-referrer",
}


@pytest.fixture
def history(tmp_path):
    return write_history(str(tmp_path / "run" / "history.csv"), 30)


def table(*args):
    return list(csv.DictReader(io.StringIO(monexport(*args))))


def close(a, b):
    return math.isclose(a, b, rel_tol=1e-6, abs_tol=1e-12)


def test_prints_one_line_with_the_token_and_the_tunnel(serve, history):
    server = serve("-mon", history)
    assert server.line.startswith("Dashboard: " + server.url)
    assert f"ssh -N -L {server.port}:localhost:{server.port} " in server.line
    response, _ = server.request("GET", "/?token=" + server.token, token=False)
    assert response.status == 303 and response.getheader("Location") == "/"
    cookie = response.getheader("Set-Cookie")
    assert cookie == f"monplot_{server.port}={server.token}; HttpOnly; SameSite=Strict; Path=/"
    response, page = server.request("GET", "/", token=False,
                                    headers={"Cookie": cookie.split(";")[0]})
    assert response.status == 200 and b"<title>monplot</title>" in page
    for name, value in SECURITY_HEADERS.items():
        assert response.getheader(name) == value
    assert response.getheader("Access-Control-Allow-Origin") is None


REFUSALS = [
    # what, method, path, headers, with token, status
    ("no token", "GET", "/api/runs", {}, False, 401),
    ("wrong token", "GET", "/api/runs", {"Authorization": "token " + "0" * 32}, False, 401),
    ("wrong token in the address", "GET", "/?token=" + "0" * 32, {}, False, 401),
    ("foreign host", "GET", "/api/runs", {"Host": "attacker.example:80"}, True, 403),
    ("host without port", "GET", "/api/runs", {"Host": "localhost"}, True, 403),
    ("foreign origin", "GET", "/api/runs", {"Origin": "http://attacker.example"}, True, 403),
    ("cross-site fetch", "GET", "/api/runs", {"Sec-Fetch-Site": "cross-site"}, True, 403),
    ("post", "POST", "/api/runs", {"Content-Length": "0"}, True, 405),
    ("put", "PUT", "/", {"Content-Length": "0"}, True, 405),
    ("delete", "DELETE", "/", {}, True, 405),
    ("dot dot", "GET", "/../../../../etc/passwd", {}, True, 404),
    ("escaped dot dot", "GET", "/%2e%2e/%2e%2e/etc/passwd", {}, True, 404),
    ("absolute path", "GET", "//etc/passwd", {}, True, 404),
    ("web folder file", "GET", "/uplot/LICENSE", {}, True, 404),
    ("absolute target", "GET", "http://127.0.0.1/etc/passwd", {}, True, 400),
    ("run by path", "GET", "/api/data?runs=/etc/passwd&plot=0", {}, True, 404),
    ("unknown run", "GET", "/api/plots?runs=r99", {}, True, 404),
    ("over-long header", "GET", "/", {"X-Long": "a" * 20000}, True, 431),
]


@pytest.mark.parametrize("what,method,path,headers,token,status", REFUSALS,
                         ids=[case[0] for case in REFUSALS])
def test_refuses(serve, history, what, method, path, headers, token, status):
    server = serve("-mon", history)
    try:
        response, body = server.request(method, path, headers=headers, token=token)
    except ConnectionResetError:
        pytest.fail("the connection was dropped instead of answered")
    assert response.status == status, body
    assert b"root:" not in body
    for name, value in SECURITY_HEADERS.items():
        assert response.getheader(name) == value


def test_limits_event_streams(serve, history):
    server = serve("-mon", history)
    streams = []
    for _ in range(17):
        sock = socket.create_connection(("127.0.0.1", server.port), timeout=10)
        sock.sendall(f"GET /api/events HTTP/1.1\r\nHost: {server.host}\r\n"
                     f"Authorization: token {server.token}\r\n\r\n".encode())
        streams.append(sock)
    heads = [sock.recv(4096).split(b"\r\n")[0] for sock in streams]
    # Requests are answered on several threads: any one of them may be refused.
    assert heads.count(b"HTTP/1.1 200 OK") == 16
    assert sum(head.startswith(b"HTTP/1.1 503") for head in heads) == 1, heads
    for sock in streams:
        sock.close()


def test_api_answers_as_monexport_tables(serve, history):
    server = serve("-mon", history, "-varlist", "CD;CL")
    runs = server.runs(1)
    assert runs["variables"] == ["CD", "CL"]
    rows = table("-mon", history, "-varlist", "CD;CL", "-nocoeffloops")
    last = table("-mon", history, "-varlist", "CD;CL", "-lastvaluesonly")[0]
    run = runs["runs"][0]
    assert (run["id"], run["kind"], run["state"]) == ("r1", "mon", "running")
    assert run["lastStep"] == int(rows[-1]["ACCUMULATED TIMESTEP"])
    assert all(close(value, float(last[name])) for value, name in zip(run["values"], ["CD", "CL"]))

    plots = server.json("/api/plots?runs=r1")["plots"]
    assert [line["name"] for line in plots[0]["lines"]] == ["CD", "CL"]
    data = server.json("/api/data?runs=r1&plot=0")
    for line, name in zip(data["lines"], ["CD", "CL"]):
        assert line["x"] == [int(row["ACCUMULATED TIMESTEP"]) for row in rows]
        assert all(close(y, float(row[name])) for y, row in zip(line["y"], rows))

    # A run of the default plots, followed (a run folder) and read whole (a
    # results file): every line of its first plot, by the name monexport
    # gives the same variable.
    server = serve("-dir", f"{SOURCE}/examples/transient.dir", "-res",
                   f"{SOURCE}/examples/transient.res")
    server.runs(2)
    transient = table("-dir", f"{SOURCE}/examples/transient.dir", "-nocoeffloops")
    for run in ("r2", "r1"):
        plot = server.json(f"/api/plots?runs={run}")["plots"][0]
        data = server.json(f"/api/data?runs={run}&plot=0")
        for description, line in zip(plot["lines"], data["lines"]):
            values = [float(row[description["name"]]) for row in transient]
            assert len(line["y"]) == len(values)
            assert all(close(y, v) for y, v in zip(line["y"], values))
    # The TIME of each step, for the values under the cursor.
    assert data["companion"]["name"] == "TIME"
    times = [float(row["TIME"]) for row in transient]
    assert all(close(t, v) for t, v in zip(data["companion"]["line"]["y"], times))
    reduced = server.json("/api/data?runs=r1&plot=0&px=4")
    assert len(reduced["lines"][0]["x"]) < len(data["lines"][0]["x"])


def read_events(sock, until, seconds=20):
    """Reads the event stream until an event satisfies `until`."""
    sock.settimeout(seconds)
    text = b""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        text += sock.recv(65536)
        for block in text.decode().split("\n\n"):
            lines = dict(line.split(": ", 1) for line in block.split("\n") if ": " in line)
            if "event" in lines and until(lines["event"], json.loads(lines.get("data", "{}"))):
                return
    raise AssertionError("no such event: " + text.decode())


def open_events(server):
    sock = socket.create_connection(("127.0.0.1", server.port))
    sock.sendall(f"GET /api/events HTTP/1.1\r\nHost: {server.host}\r\n"
                 f"Authorization: token {server.token}\r\n\r\n".encode())
    return sock


def test_a_growing_run_shows_up_in_the_event_stream(serve, history):
    server = serve("-mon", history, "-varlist", "CD;CL", "-poll", "0.2")
    assert server.runs(1)["runs"][0]["lastStep"] == 29
    sock = open_events(server)
    read_events(sock, lambda name, data: name == "hello")
    append_history(history, 30, 15)
    read_events(sock, lambda name, data: name == "run" and data == {
        "id": "r1", "lastStep": 44, "state": "running"})
    sock.close()
    # The page fetches only the new part.
    new = server.json("/api/data?runs=r1&plot=0&after=29")
    assert new["lines"][0]["x"] == list(range(30, 45))
    assert new["lastSteps"] == {"r1": 44}


def test_a_new_study_run_appears_with_its_parameters(serve, tmp_path):
    for alpha in ("1", "2"):
        write_history(str(tmp_path / "sweep" / f"alpha={alpha}" / "history.csv"), 10)
    server = serve("-study", str(tmp_path / "sweep" / "*" / "history.csv"), "-poll", "0.2")
    server.runs(2)
    sock = open_events(server)
    write_history(str(tmp_path / "sweep" / "alpha=3" / "history.csv"), 400)
    read_events(sock, lambda name, data: name == "runs")
    sock.close()
    runs = server.json("/api/runs")
    assert runs["parameters"] == ["alpha"]
    assert [run["parameters"] for run in runs["runs"]] == [["1"], ["2"], ["3"]]
    study = server.wait_for(lambda: (lambda s: s if len(s["runs"]) == 3 and "mean" in s["runs"][2] else None)(
        server.json("/api/study?var=CD")), "the third run read")
    stats = table("-mon", str(tmp_path / "sweep" / "alpha=3" / "history.csv"), "-stats", "-varlist", "CD")[0]
    assert close(study["runs"][2]["mean"], float(stats["MEAN"]))
    assert close(study["runs"][2]["stderr"], float(stats["STDERR"]))
    assert study["runs"][2]["period"] is None and not study["runs"][2]["converged"]
    # CL repeats every 7 iterations: periodic is no doubt.
    periodic = server.json("/api/study?var=CL")["runs"][2]
    stats = table("-mon", str(tmp_path / "sweep" / "alpha=3" / "history.csv"), "-stats", "-varlist", "CL")[0]
    assert (periodic["note"], periodic["converged"]) == ("periodic", True)
    assert close(periodic["period"], float(stats["PERIOD"])) and close(periodic["amplitude"], float(stats["AMPLITUDE"]))


def test_a_run_matrix_gives_the_parameters_and_a_broken_one_stops_the_server(serve, tmp_path):
    for case in ("a", "b"):
        write_history(str(tmp_path / "sweep" / case / "history.csv"), 10)
    matrix = tmp_path / "matrix.csv"
    matrix.write_text("run,aoa,mach\na,2,0.3\nb,10,0.3\nc,4,0.5\n")
    pattern = str(tmp_path / "sweep" / "*" / "history.csv")
    server = serve("-study", pattern, "-matrix", str(matrix), "-poll", "0.2")
    server.runs(2)
    write_history(str(tmp_path / "sweep" / "c" / "history.csv"), 10)
    runs = server.runs(3)
    assert runs["parameters"] == ["aoa", "mach"]
    assert [run["parameters"] for run in runs["runs"]] == [["2", "0.3"], ["10", "0.3"], ["4", "0.5"]]
    matrix.write_text("run,aoa\nnone,1\n")
    done = subprocess.run([MONPLOT, "-serve", "0", "-study", pattern, "-matrix", str(matrix)],
                          capture_output=True, text=True, timeout=30)
    assert done.returncode == 255 and "names none of the study's runs" in done.stderr, done


def test_tells_the_state_of_each_run(serve, tmp_path):
    idle = write_history(str(tmp_path / "idle.csv"), 20)
    os.utime(idle, (time.time() - 3600, time.time() - 3600))
    diverged = write_history(str(tmp_path / "diverged.csv"), 20, nan_at=19)
    failed = str(tmp_path / "log.pimpleFoam")
    shutil.copy(f"{SOURCE}/tests/data/foamlog/failed.log", failed)
    unreadable = str(tmp_path / "garbage.csv")
    with open(unreadable, "w") as out:
        out.write("hello world\nthis is no run\n")
    running = write_history(str(tmp_path / "running.csv"), 20)
    server = serve("-mon", idle, "-mon", diverged, "-mon", failed, "-mon", unreadable,
                   "-mon", running, "-converged", "NAME = CD : below 0.4")
    runs = server.runs(5)["runs"]
    states = {run["name"]: run["state"] for run in runs}
    assert states == {"idle.csv": "idle", "diverged.csv": "diverged", "log.pimpleFoam": "failed",
                      "garbage.csv": "unreadable", "running.csv": "running"}
    reasons = {run["name"]: run["reason"] for run in runs}
    assert reasons["diverged.csv"] == "CD: nan at step 19"
    assert reasons["log.pimpleFoam"].startswith("FOAM FATAL ERROR")
    assert "not a monitor file" in reasons["garbage.csv"]
    verdict = runs[0]["verdict"]
    assert verdict["met"] is False and verdict["reason"].startswith("CD")


def test_requests_at_once_get_the_answers_of_requests_alone(serve, history):
    """Many requests of every kind side by side, over several runs (a results
    file whose values are read on first use among them), each answered as the
    same request alone to a server of its own."""
    from concurrent.futures import ThreadPoolExecutor
    import random
    sources = ("-mon", history, "-dir", f"{SOURCE}/examples/transient.dir",
               "-res", f"{SOURCE}/examples/transient.res")
    alone, together = serve(*sources), serve(*sources)
    alone.runs(3), together.runs(3)
    paths = ["/api/study?var=CD", "/api/study?var=RMS%20P-Mass", "/api/data?runs=r2,r3&plot=0"]
    for run in ("r1", "r2", "r3"):
        count = len(alone.json(f"/api/plots?runs={run}")["plots"])
        paths += [f"/api/plots?runs={run}", f"/api/data?runs={run}&plot={count - 1}&px=2"]
        paths += [f"/api/data?runs={run}&plot={i}&columns=50&ema=0.5" for i in range(count)]
        # Figures of their own from the same values, read at once.
        paths += [f"/api/data?runs={run}&plot={count - 1}&{query}"
                  for query in ("scale=0", "scale=1", "last=5", "x=TIME")]
    asked = paths * 4
    random.Random(1).shuffle(asked)
    with ThreadPoolExecutor(max_workers=16) as pool:
        answers = list(pool.map(lambda path: together.request("GET", path), asked))
    expected = {path: alone.request("GET", path) for path in paths}
    for path, (response, body) in zip(asked, answers):
        assert (response.status, body) == (expected[path][0].status, expected[path][1]), path
