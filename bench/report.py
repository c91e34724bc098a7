#!/usr/bin/env python3
"""Where monexport stands on speed and memory, in one command.

    bench/report.py [--build BUILD] [--work WORKDIR] [--repeat N] [--only NAME,...] [--record]

Generates the runs it needs once (with monsynth and monpack, cached in
WORKDIR, default /tmp/monexport-bench), then measures every figure against
its reference or target, each whole command in its own process (wall, user
and system seconds and peak memory, from wait4), the median of --repeat runs
(default 3; figures compared with each other are run in turn). Prints one line per figure and writes them, with the machine's
load average before and after, to WORKDIR/report.txt.

CPU time (user + system) is the steady figure on a shared machine; wall time
depends on what else runs. "two sizes" lines show that a step grows no faster
than its input: the time at twice the input over the time at the input
should be about 2 (at most 2.5 passes). Outputs are compared with cmp where
two ways must write the same bytes, and with the checksums in
bench/expected-outputs.sha256 where they must stay what they were.
"""

import argparse
import hashlib
import os
import re
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class Runner:
    def __init__(self, build, work, repeat):
        self.build, self.work, self.repeat = build, work, repeat
        self.lines = []
        self.failures = 0
        self.record = False
        self.env = dict(os.environ, ORB_DATA_DIR=os.path.join(ROOT, "data"))

    # --- running commands -------------------------------------------------
    def tool(self, name):
        for path in (os.path.join(self.build, name), os.path.join(self.build, "bench", name)):
            if os.path.exists(path):
                return path
        raise SystemExit(f"report.py: {name} is not built in {self.build} (tools/dev.sh bench)")

    def measure_once(self, args, stdout=subprocess.DEVNULL, cores=None):
        if cores:
            args = ["taskset", "-c", cores] + args
        start = time.monotonic()
        process = subprocess.Popen(args, stdout=stdout, stderr=subprocess.PIPE, env=self.env)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
        error = process.stderr.read().decode(errors="replace")
        process.stderr.close()
        process.returncode = os.waitstatus_to_exitcode(status)
        if process.returncode != 0:
            raise SystemExit(f"report.py: {' '.join(args)} failed ({process.returncode}): {error}")
        return {"wall": wall, "cpu": usage.ru_utime + usage.ru_stime,
                "user": usage.ru_utime, "sys": usage.ru_stime, "mb": usage.ru_maxrss / 1024}

    def measure(self, args, cores=None):
        return self.measure_interleaved([(args, cores)])[0]

    def measure_interleaved(self, commands):
        """Medians of commands run in turn, so that figures compared with each
        other are taken while the machine runs at the same speed (a shared VM
        runs faster or slower for seconds at a time)."""
        runs = [[] for _ in commands]
        for _ in range(self.repeat):
            for i, (args, cores) in enumerate(commands):
                runs[i].append(self.measure_once(args, cores=cores))
        return [{key: statistics.median(run[key] for run in each) for key in each[0]}
                for each in runs]

    def output_of(self, args, path):
        with open(path, "wb") as out:
            self.measure_once(args, stdout=out)
        return path

    # --- generated runs ---------------------------------------------------
    def path(self, name):
        return os.path.join(self.work, name)

    def input(self, name):
        target = self.path(name)
        options = INPUTS[name]
        if not os.path.exists(target):
            flag = "--dir" if "--segments" in options else "--out"
            partial = target + ".partial"
            subprocess.run(["rm", "-rf", partial], check=True)
            subprocess.run([self.tool("monsynth"), flag, partial, *options], check=True,
                           stdout=subprocess.DEVNULL)
            os.rename(partial, target)
        return target

    def results(self, name):
        monitor_file = self.input(name)
        target = monitor_file[: -len(".mon")] + ".res"
        if not os.path.exists(target):
            subprocess.run([self.tool("monpack"), "-mon", monitor_file, "-out", target + ".partial"],
                           check=True)
            os.rename(target + ".partial", target)
        return target

    # --- reporting --------------------------------------------------------
    def say(self, text):
        print(text, flush=True)
        self.lines.append(text)

    def check(self, label, passed, detail):
        if not passed:
            self.failures += 1
        self.say(f"[{'pass' if passed else 'MISS'}] {label}: {detail}")

    def timing(self, label, figure):
        return (f"{label} {figure['cpu']:.3f} s CPU ({figure['user']:.3f} user + "
                f"{figure['sys']:.3f} sys), {figure['wall']:.3f} s wall, {figure['mb']:.0f} MB")

    def two_sizes(self, label, small, large, ratio_of_input=2.0):
        growth = large["cpu"] / max(small["cpu"], 1e-9)
        passed = growth <= ratio_of_input * 1.25
        self.check(f"{label}, two sizes", passed,
                   f"{small['cpu']:.3f} s -> {large['cpu']:.3f} s CPU for {ratio_of_input:.0f}x the "
                   f"input: {growth:.2f}x")


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as file:
        for block in iter(lambda: file.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def expected_outputs():
    expected = {}
    with open(os.path.join(ROOT, "bench", "expected-outputs.sha256")) as file:
        for line in file:
            if line.strip() and not line.startswith("#"):
                digest, name = line.split(None, 1)
                expected[name.strip()] = digest
    return expected



def synth_options(variables, steps, seed, *more):
    return ["--variables", str(variables), "--steps", str(steps), "--seed", str(seed), *more]


# Every generated run, by file name: monsynth's options. Generated (and the
# results files packed) before anything is measured, then synced, so that no
# measurement shares the machine with writing them.
INPUTS = {
    "table-200x10000.mon": synth_options(200, 10000, 5, "--loops", "3-5"),
    "table-200x20000.mon": synth_options(200, 20000, 5, "--loops", "3-5"),
    "open-2499.mon": synth_options(2499, 2000, 5),
    "open-4997.mon": synth_options(4997, 2000, 5),
    "vars-20000.mon": synth_options(20000, 3, 1),
    "vars-40000.mon": synth_options(40000, 3, 1),
    "vars-50000.mon": synth_options(50000, 3, 1),
    "vars-100000.mon": synth_options(100000, 3, 1),
    "groups-1000.mon": synth_options(5000, 3, 1, "--groups", "1000"),
    "groups-2000.mon": synth_options(10000, 3, 1, "--groups", "2000"),
    "dir-one.mon": synth_options(200, 1600, 3),
    "dir-400": synth_options(200, 800, 3, "--segments", "400"),
    "dir-800": synth_options(200, 1600, 3, "--segments", "800"),
}
PACKED = ["table-200x10000.mon", "table-200x20000.mon", "open-2499.mon", "open-4997.mon"]

# --- the figures ---------------------------------------------------------

def table(r):
    """Write phase of the full table: monexport's writer against the literal
    iostream way, on one loaded run (table_bench), and the formatter alone."""
    res = r.results("table-200x10000.mon")
    out = subprocess.run([r.tool("table_bench"), "-res", res, r.work], check=True,
                         capture_output=True, text=True).stdout
    r.say("table_bench, 200 variables x ~40,000 records (results file):")
    for line in out.splitlines():
        r.say("    " + line)
    discarded = out.split("output discarded:")[1]
    ratios = {}
    for line in discarded.splitlines():
        match = re.match(r"(\S.*?)\s+wall .* ([\d.]+)x \| cpu .* ([\d.]+)x", line)
        if match:
            ratios[match.group(1).strip()] = (float(match.group(2)), float(match.group(3)))
    single = ratios["monexport (1 thread)"][1]
    r.check("table writer, one thread, vs literal iostream", single >= 20,
            f"{single:.1f}x in CPU time (target >= 20x)")
    parallel = [value for key, value in ratios.items() if "workers" in key]
    if parallel:
        r.check("table writer, all cores, vs literal iostream", parallel[0][0] >= 30,
                f"{parallel[0][0]:.1f}x in wall time (target >= 30x with 2 free cores)")
    r.check("table outputs identical (literal, writer, one thread)", "outputs identical" in out, "cmp")
    bench = subprocess.run([r.tool("format_bench"), "--benchmark_filter=Solver",
                            "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
                           check=True, capture_output=True, text=True).stdout

    def nanoseconds(name):
        median = [line for line in bench.splitlines() if f"{name}_median" in line][0]
        return 1e3 / float(re.search(r"items_per_second=([\d.]+)M/s", median).group(1))
    r.check("formatter alone", nanoseconds("SolverValues") <= 12,
            f"{nanoseconds('SolverValues'):.1f} ns/value CPU (target <= 12)")
    r.say(f"    rows of 200 fields: {nanoseconds('SolverRows'):.1f} ns/value CPU")
    small = r.measure([r.tool("monexport"), "-res", res, "-out", "/dev/null"])
    large_res = r.results("table-200x20000.mon")
    large = r.measure([r.tool("monexport"), "-res", large_res, "-out", "/dev/null"])
    r.say(r.timing("    monexport -res (40,000 records) to /dev/null:", small))
    r.two_sizes("table export from a results file", small, large)


def whole_export(r):
    """The whole export of a results file's table: monexport against the literal
    iostream program, each a whole command (its start, the reading, the writing)."""
    res = r.results("table-200x10000.mon")
    literal = r.tool("table_reference")
    fast, plain = r.measure_interleaved([
        ([r.tool("monexport"), "-res", res, "-out", "/dev/null"], None),
        ([literal, "-res", res, "/dev/null"], None)])
    r.say(r.timing("    monexport -res (40,000 records) to /dev/null:", fast))
    r.say(r.timing("    literal iostream program, the same:", plain))
    ratio = plain["cpu"] / fast["cpu"]
    r.check("whole export from a results file vs literal iostream", ratio >= 20,
            f"{ratio:.1f}x in CPU time (target >= 20x)")
    files = [r.path("whole-monexport.csv"), r.path("whole-literal.csv")]
    fast, plain = r.measure_interleaved([
        ([r.tool("monexport"), "-res", res, "-out", files[0]], None),
        ([literal, "-res", res, files[1]], None)])
    same = subprocess.run(["cmp", "-s", *files]).returncode == 0
    for path in files:
        os.remove(path)
    r.say(f"    the same into files (the kernel's page cache costs both alike): "
          f"{plain['cpu'] / fast['cpu']:.1f}x in CPU time ({fast['cpu']:.3f} vs "
          f"{plain['cpu']:.3f} s)")
    r.check("whole export outputs identical (monexport, literal)", same, "cmp")


def loading(r):
    """Monitor-file load: MB/s of CPU on one core, wall speed with every core,
    peak memory against the parsed data."""
    mon = r.input("table-200x10000.mon")
    mb = os.path.getsize(mon) / 1e6
    args = [r.tool("monexport"), "-mon", mon, "-lastvaluesonly", "-out", "/dev/null"]
    one, every = r.measure_interleaved([(args, "0"), (args, None)])
    r.say(r.timing(f"    load {mb:.0f} MB, one core:", one))
    r.say(r.timing(f"    load {mb:.0f} MB, all cores:", every))
    r.check("monitor-file load, one core", mb / one["cpu"] >= 600,
            f"{mb / one['cpu']:.0f} MB/s of CPU (target >= 600)")
    r.check("monitor-file load, wall with every core", every["wall"] < one["wall"],
            f"{one['wall']:.3f} s on one core, {every['wall']:.3f} s on {os.cpu_count()}")
    records = subprocess.run([r.tool("monexport"), "-mon", mon, "-varlist", "TIME", "-noheader"],
                             env=r.env, check=True, capture_output=True, text=True).stdout.count("\n")
    variables = 201
    parsed = variables * records * 4 / 2**20
    r.check("monitor-file load, peak memory", every["mb"] <= parsed + 64,
            f"{every['mb']:.0f} MB for {parsed:.0f} MB of parsed values (target <= parsed + 64)")
    large = r.input("table-200x20000.mon")
    r.two_sizes("monitor-file load", one,
                r.measure([r.tool("monexport"), "-mon", large, "-lastvaluesonly", "-out",
                           "/dev/null"], cores="0"))


def results_open(r):
    """A few variables of a results file that holds thousands."""
    figures = {}
    for variables in (2499, 4997):
        res = r.results(f"open-{variables}.mon")
        figures[variables] = r.measure([r.tool("monexport"), "-res", res, "-varlist",
                                        "RMS P-Mass;TIME;MAX P-Mass", "-out", "/dev/null"])
    big = figures[4997]
    r.say(r.timing("    3 of ~5,000 variables:", big))
    r.check("3 of ~5,000 variables from a results file", big["cpu"] < 0.05 and big["mb"] < 30,
            f"{big['cpu']:.3f} s CPU, {big['mb']:.0f} MB (target < 0.05 s, < 30 MB)")
    growth = big["cpu"] - figures[2499]["cpu"]
    r.say(f"    2,500 -> 5,000 variables in the file: {figures[2499]['cpu']:.3f} -> "
          f"{big['cpu']:.3f} s CPU (+{growth:.3f} s), {figures[2499]['mb']:.0f} -> "
          f"{big['mb']:.0f} MB")


def metadata(r, mode, sizes, target, kind="variables"):
    figures = {}
    for size in sizes:
        source = r.input(f"{'vars' if kind == 'variables' else 'groups'}-{size}.mon")
        figures[size] = r.measure([r.tool("monexport"), "-mon", source, mode, "-out", "/dev/null"])
        r.say(r.timing(f"    {mode}, {size:,} {kind}:", figures[size]))
    figure = figures[target[0]]
    r.check(f"{mode}, {target[0]:,} {kind}", figure["cpu"] < target[1],
            f"{figure['cpu']:.3f} s CPU (target < {target[1]} s)")
    r.two_sizes(f"{mode} by {kind}", figures[sizes[0]], figures[sizes[1]], sizes[1] / sizes[0])


def varinfo(r):
    """-varinfo at 100,000 variables; 50,000 for the growth."""
    metadata(r, "-varinfo", (50000, 100000), (100000, 1.0))


def plotinfo(r):
    """-plotinfo at 20,000 variables and at 2,000 groups; half of each for the growth."""
    metadata(r, "-plotinfo", (20000, 40000), (20000, 0.3))
    metadata(r, "-plotinfo", (1000, 2000), (2000, 0.5), kind="groups")


def selection(r):
    """Selecting by rule among many variables."""
    figures = []
    for size in (50000, 100000):
        source = r.input(f"vars-{size}.mon")
        figures.append(r.measure([r.tool("monexport"), "-mon", source, "-varrule",
                                  'category = "RESIDUAL" or name = "*1*"', "-out", "/dev/null"]))
    r.say(r.timing("    -varrule, 100,000 variables:", figures[1]))
    r.two_sizes("selection by rule and its table", figures[0], figures[1])


def joined_segments(r, folder, name):
    """The run of a run directory as one monitor file: the segments' lines in
    order, restarts included, each declaration line once (a monitor file
    declares a variable once, where the segments repeat their declarations)."""
    target = r.path(name)
    if not os.path.exists(target):
        seen, lines = set(), []
        for index, segment in enumerate(sorted(os.listdir(folder))):
            with open(os.path.join(folder, segment), "rb") as text:
                for number, line in enumerate(text.read().splitlines(keepends=True)):
                    if number == 0 and index > 0:
                        continue  # the header line, once
                    if line.startswith(b"var "):
                        if line in seen:
                            continue
                        seen.add(line)
                    lines.append(line)
        with open(target + ".partial", "wb") as out:
            out.writelines(lines)
        os.rename(target + ".partial", target)
    return target


def run_directory(r):
    """A run directory of 800 segments against the same run in one file: the
    same records and restarts, declared once. The run's final records alone
    (dir-one.mon, half the records, a quarter of the bytes) are shown too."""
    def table(option, source):
        return ([r.tool("monexport"), option, source, "-lastvaluesonly", "-out", "/dev/null"], None)

    joined = joined_segments(r, r.input("dir-800"), "dir-800-joined.mon")
    small, large, single, final = r.measure_interleaved([
        table("-dir", r.input("dir-400")), table("-dir", r.input("dir-800")),
        table("-mon", joined), table("-mon", r.input("dir-one.mon"))])
    figures = {400: small, 800: large}
    r.say(r.timing("    one file, the same records:", single))
    r.say(r.timing("    one file, the final records only:", final))
    r.say(r.timing("    800 segments:", figures[800]))
    same = [subprocess.run([r.tool("monexport"), option, source, "-out", "/dev/stdout"],
                           env=r.env, check=True, capture_output=True).stdout
            for option, source in (("-dir", r.path("dir-800")), ("-mon", joined))]
    r.check("-dir and the same run in one file give the same table", same[0] == same[1],
            "identical" if same[0] == same[1] else "they differ")
    ratio = figures[800]["cpu"] / single["cpu"]
    r.check("-dir, 800 segments vs the same run in one file", ratio <= 1.5,
            f"{ratio:.2f}x the CPU time (target <= 1.5x; "
            f"{figures[800]['cpu'] / final['cpu']:.2f}x the final records alone)")
    r.two_sizes("-dir by segments", figures[400], figures[800])


def workers(r):
    """Worker threads follow the cores the process may use."""
    res = r.results("table-200x10000.mon")
    out = subprocess.run(["taskset", "-c", "0", r.tool("table_bench"), "-res", res, r.work],
                         check=True, capture_output=True, text=True).stdout
    r.check("workers on one allowed core", "monexport (0 workers)" in out,
            "table_bench under taskset -c 0 starts no worker thread")


def outputs(r):
    """Outputs the same bytes as before the speed work."""
    expected = {} if r.record else expected_outputs()
    recorded = []
    cases = {
        "table-200x10000.csv": ["-res", r.results("table-200x10000.mon")],
        "vars-100000.varinfo": ["-mon", r.path("vars-100000.mon"), "-varinfo"],
        "vars-20000.plotinfo": ["-mon", r.path("vars-20000.mon"), "-plotinfo"],
        "groups-2000.plotinfo": ["-mon", r.path("groups-2000.mon"), "-plotinfo"],
        "dir-800.csv": ["-dir", r.path("dir-800")],
        "dir-one.csv": ["-mon", r.path("dir-one.mon")],
    }
    for example in sorted(os.listdir(os.path.join(ROOT, "examples"))):
        if example.endswith(".mon"):
            source = ["-mon", os.path.join(ROOT, "examples", example)]
            for mode in ("", "-varinfo", "-plotinfo", "-lastvaluesonly"):
                cases[f"{example}{mode or '.csv'}"] = source + ([mode] if mode else [])
    for name, args in cases.items():
        got = sha256(r.output_of([r.tool("monexport"), *args], r.path("output.tmp")))
        recorded.append(f"{got}  {name}")
        if r.record:
            continue
        want = expected.get(name)
        r.check(f"output {name}", got == want, "as before" if got == want else
                f"sha256 {got[:16]} (expected {want[:16] if want else 'none recorded'})")
    os.remove(r.path("output.tmp"))
    if r.record:
        with open(os.path.join(ROOT, "bench", "expected-outputs.sha256"), "w") as file:
            file.write("# monexport's outputs on bench/report.py's generated runs and the examples\n")
            file.write("\n".join(recorded) + "\n")
        r.say(f"    recorded {len(recorded)} checksums in bench/expected-outputs.sha256")


FIGURES = [table, whole_export, loading, results_open, plotinfo, varinfo, selection, run_directory, workers,
           outputs]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--work", default="/tmp/monexport-bench")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--record", action="store_true",
                        help="write bench/expected-outputs.sha256 from this build's outputs")
    parser.add_argument("--only", default="", help="comma-separated figures: " +
                        ",".join(f.__name__ for f in FIGURES))
    options = parser.parse_args()
    os.makedirs(options.work, exist_ok=True)
    r = Runner(os.path.abspath(options.build), os.path.abspath(options.work), options.repeat)
    r.record = options.record
    chosen = [f for f in FIGURES if not options.only or f.__name__ in options.only.split(",")]
    r.say(f"monexport benchmark report, {time.strftime('%Y-%m-%d %H:%M')}, "
          f"{os.cpu_count()} cores, load average {os.getloadavg()[0]:.2f} at the start")
    for name in INPUTS:
        r.input(name)
    for name in PACKED:
        r.results(name)
    os.sync()
    for figure in chosen:
        r.say(f"== {figure.__name__}: {figure.__doc__.splitlines()[0]}")
        figure(r)
    r.say(f"load average {os.getloadavg()[0]:.2f} at the end; {r.failures} figure(s) missed")
    with open(os.path.join(options.work, "report.txt"), "w") as file:
        file.write("\n".join(r.lines) + "\n")
    print(f"written to {os.path.join(options.work, 'report.txt')}")
    return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
