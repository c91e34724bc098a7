"""The monexport module against the command: same tables, same errors."""

import io
import os
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import monexport

COMMAND = os.environ["MONEXPORT_COMMAND"]
EXAMPLES = os.environ["MONEXPORT_EXAMPLES"]
TEST_RUNS = os.environ["MONEXPORT_TEST_RUNS"]

SOURCES = {
    "transient.mon": "-mon",
    "transient.dir": "-dir",
    "transient.res": "-res",
    "steady.mon": "-mon",
}


def example(name):
    return os.path.join(EXAMPLES, name)


def command(*args):
    return subprocess.run([COMMAND, *args], capture_output=True, text=True)


def command_csv(source, *options):
    done = command(SOURCES[source], example(source), *options)
    assert done.returncode == 0, done.stderr
    return pd.read_csv(io.StringIO(done.stdout))


def command_error(*args):
    done = command(*args)
    assert done.returncode != 0
    lines = done.stderr.splitlines()
    assert lines[0] == "Exporter error:"
    return "\n".join(lines[1:])


def options_of(names, rule, loops, first, last):
    options = []
    if names is not None:
        options += ["-varlist", ";".join(names)]
    if rule is not None:
        options += ["-varrule", rule]
    if not loops:
        options.append("-nocoeffloops")
    if first is not None:
        options += ["-firsttimestep", str(first)]
    if last is not None:
        options += ["-lasttimestep", str(last)]
    return options


def assert_same_table(frame, expected):
    assert list(frame.columns) == list(expected.columns)
    assert len(frame) == len(expected)
    for position, name in enumerate(expected.columns):
        ours, theirs = frame.iloc[:, position], expected.iloc[:, position]
        if name in ("ACCUMULATED TIMESTEP", "COEFFICIENT LOOP"):
            assert ours.dtype == np.int64
            assert ours.tolist() == theirs.tolist()
        else:
            assert ours.dtype == np.float32
            # Nine significant digits in the CSV give back the very float.
            np.testing.assert_array_equal(ours.to_numpy(), theirs.to_numpy(np.float32),
                                          err_msg=name)


@pytest.mark.parametrize("name", sorted(n for n in os.listdir(TEST_RUNS) if n.endswith(".mon")))
@pytest.mark.parametrize("loops", [True, False])
@pytest.mark.parametrize("rule", [None, "CATEGORY = RESIDUAL"])
@pytest.mark.parametrize("first,last", [(None, None), (2, 3), (20000000, None)])
def test_test_runs_table_equals_the_commands_csv(name, loops, rule, first, last):
    # Skipped loops, huge step numbers, odd names and restarts.
    path = os.path.join(TEST_RUNS, name)
    frame = monexport.open(path).table(rule=rule, loops=loops, first=first, last=last)
    done = command("-mon", path, *options_of(None, rule, loops, first, last))
    assert done.returncode == 0, done.stderr
    assert_same_table(frame, pd.read_csv(io.StringIO(done.stdout)))


SELECTIONS = [
    (None, None),
    (None, "CATEGORY = RESIDUAL"),
    (["MAX P-Mass", "RMS P-Mass"], None),
    (["TIME"], "CATEGORY = RESIDUAL"),
]
RANGES = [(None, None), (3, None), (None, 5), (4, 7), (0, -1), (50, None)]


@pytest.mark.parametrize("source", sorted(SOURCES))
@pytest.mark.parametrize("loops", [True, False])
@pytest.mark.parametrize("names,rule", SELECTIONS)
@pytest.mark.parametrize("first,last", RANGES)
def test_table_equals_the_commands_csv(source, loops, names, rule, first, last):
    if names and "TIME" in names and source == "steady.mon":
        names = None
    run = monexport.open(example(source))
    frame = run.table(names=names, rule=rule, loops=loops, first=first, last=last)
    expected = command_csv(source, *options_of(names, rule, loops, first, last))
    assert_same_table(frame, expected)


@pytest.mark.parametrize("source", sorted(SOURCES))
def test_keys_and_values_are_the_table_rows(source):
    run = monexport.open(example(source))
    for loops in (True, False):
        steps, loop_numbers = run.keys(loops=loops)
        frame = run.table(loops=loops)
        assert steps.dtype == np.int64 and loop_numbers.dtype == np.int64
        assert steps.tolist() == frame["ACCUMULATED TIMESTEP"].tolist()
        if "COEFFICIENT LOOP" in frame.columns:
            assert loop_numbers.tolist() == frame["COEFFICIENT LOOP"].tolist()
        name = run.select()[-1]
        values = run.values(name, loops=loops)
        assert values.dtype == np.float32
        np.testing.assert_array_equal(values, frame[name].to_numpy(), err_msg=name)


@pytest.mark.parametrize("source", sorted(SOURCES))
def test_last_values_equal_the_commands_line(source):
    run = monexport.open(example(source))
    for rule in (None, "CATEGORY = RESIDUAL"):
        options = ["-lastvaluesonly"] + ([] if rule is None else ["-varrule", rule])
        expected = command_csv(source, *options)
        values = run.last_values(rule=rule)
        assert list(values) == list(expected.columns)
        for name in expected.columns:
            assert np.float32(values[name]) == np.float32(expected[name][0]) or \
                (np.isnan(values[name]) and np.isnan(expected[name][0])), name


def test_variables_selection_groups_info_and_source():
    run = monexport.open(example("transient.mon"))
    assert run.variables[:2] == ["ACCUMULATED TIMESTEP", "COEFFICIENT LOOP"]
    assert run.select() == run.variables
    assert run.select(names='"MAX P-Mass"; RMS P-Mass') == ["MAX P-Mass", "RMS P-Mass"]
    residuals = run.select(rule="CATEGORY = RESIDUAL")
    assert residuals and all(run.info(n)["attributes"]["category"] == "RESIDUAL"
                             for n in residuals)
    listed_first = run.select(names=["TIME"], rule="CATEGORY = RESIDUAL")
    assert listed_first == ["TIME"] + [n for n in residuals if n != "TIME"]
    assert "Momentum and Mass" in run.groups
    info = run.info("RMS P-Mass")
    assert (info["label"], info["group"]) == ("RMS P-Mass", "Momentum and Mass")
    assert info["attributes"]["path"] == "Residuals/Momentum and Mass/RMS"
    assert info["tree_path"].endswith("RMS P-Mass")
    for source in SOURCES:
        assert monexport.open(example(source)).variables == \
            monexport.open(example(source), source=SOURCES[source][1:]).variables
    with pytest.raises(ValueError):
        monexport.open(example("steady.mon"), source="csv")


def test_errors_carry_the_commands_text():
    mon = example("transient.mon")
    run = monexport.open(mon)
    expected = command_error("-mon", mon, "-varlist", "RMS P-Mass;NO SUCH;OTHER")
    with pytest.raises(monexport.Error) as raised:
        run.table(names=["RMS P-Mass", "NO SUCH", "OTHER"])
    assert str(raised.value) == expected
    with pytest.raises(monexport.Error):
        run.select(names=["NO SUCH"])
    with pytest.raises(monexport.Error) as raised:
        run.values("NO SUCH")
    assert str(raised.value) == "Requested variable(s) not found: \n    NO SUCH"
    with pytest.raises(monexport.Error) as raised:
        run.info("NO SUCH")
    assert str(raised.value) == "Unknown variable: NO SUCH"

    missing = example("no-such-file.mon")
    with pytest.raises(monexport.Error) as raised:
        monexport.open(missing)
    assert str(raised.value) == command_error("-mon", missing)

    expected = command_error("-mon", mon, "-varrule", "CATEGORY =")
    with pytest.raises(monexport.Error) as raised:
        run.table(rule="CATEGORY =")
    assert str(raised.value) == expected


def test_results_file_reads_only_the_asked_variable(tmp_path):
    # A results file large enough that each variable's values show in the
    # process's resident memory.
    steps, count = 100000, 40
    names = [f"V{i}" for i in range(count)]
    lines = ["monitor-file 1"]
    lines += [f'var "{n}" category="RESIDUAL"' for n in names]
    lines += [f"{s} " + " ".join(["0.5"] * len(names)) for s in range(1, steps + 1)]
    source = tmp_path / "big.mon"
    source.write_text("\n".join(lines) + "\n")
    packed = tmp_path / "big.res"
    subprocess.run([os.path.join(os.path.dirname(COMMAND), "monpack"),
                    "-mon", str(source), "-out", str(packed)], check=True)
    # Resident memory, which the run keeps for every variable it has read
    # (peak figures from getrusage start at the parent's peak).
    probe = ("import sys, monexport\n"
             "def resident():\n"
             "    for line in open('/proc/self/status'):\n"
             "        if line.startswith('VmRSS:'): return int(line.split()[1])\n"
             "run = monexport.open(sys.argv[1])\n"
             "before = resident()\n"
             "for name in sys.argv[2:]: run.values(name)\n"
             "print(resident() - before)\n")

    def growth(*asked):
        done = subprocess.run([sys.executable, "-c", probe, str(packed), *asked],
                              capture_output=True, text=True, check=True)
        return int(done.stdout)

    # Each further variable read adds its own values; had the first read
    # loaded them all, the others would add nothing.
    one_variable_kib = steps * 4 // 1024
    added = growth(*names) - growth("V0")
    assert added > (count - 1) * one_variable_kib // 2


def test_table_without_pandas_says_what_is_missing(monkeypatch):
    run = monexport.open(example("steady.mon"))
    monkeypatch.setitem(sys.modules, "pandas", None)
    with pytest.raises(ImportError, match="Run.table needs pandas"):
        run.table()
    assert len(run.values(run.select()[0])) == len(run.keys()[0])


def test_names_beyond_ascii_are_str_through_every_call(tmp_path):
    names = ["CL(Flügel)", "Δp", "温度"]
    path = tmp_path / "names.mon"
    path.write_bytes(("monitor-file 1\n" +
                      "".join(f'var "{n}" group="Größen"\n' for n in names) +
                      '1 2 3 4\n2 6 7 8\nvar "bad\xff"\n').encode("utf-8")
                     .replace(b"bad\xc3\xbf", b"bad\xff"))
    run = monexport.open(str(path))
    assert run.variables == ["ACCUMULATED TIMESTEP"] + names + ["bad\ufffd"]
    assert run.select(names=names[::-1]) == names[::-1]
    assert run.select(rule="NAME = Δp") == ["Δp"]
    assert run.info("温度")["group"] == "Größen" and run.groups == ["Größen"]
    assert run.values("Δp").tolist() == [3.0, 7.0]
    assert list(run.table().columns) == run.variables
    assert run.last_values(names=names) == {"CL(Flügel)": 6.0, "Δp": 7.0, "温度": 8.0}
    # The command spells names in Latin-1, '?' for what Latin-1 lacks.
    done = subprocess.run([COMMAND, "-mon", str(path), "-showvars"], capture_output=True)
    assert done.stdout == b"ACCUMULATED TIMESTEP\nCL(Fl\xfcgel)\n?p\n??\nbad?\n"


def test_times_keep_double_precision_from_source_and_packed_file(tmp_path):
    folder = tmp_path / "case" / "postProcessing" / "probes" / "0"
    folder.mkdir(parents=True)
    (folder / "p").write_text("# Probe 0 (0 0 0)\n#     Probe   0\n#      Time\n" +
                              "".join(f"20.00000{i} {i}\n" for i in range(1, 6)))
    packed = tmp_path / "run.res"
    subprocess.run([os.path.join(os.path.dirname(COMMAND), "monpack"),
                    "-dir", str(tmp_path / "case"), "-out", str(packed)], check=True)
    for path in (tmp_path / "case", packed):
        run = monexport.open(str(path))
        times = run.values("TIME")
        assert times.dtype == np.float64
        assert times.tolist() == [20.000001, 20.000002, 20.000003, 20.000004, 20.000005]
        assert run.table()["TIME"].dtype == np.float64
        assert run.last_values()["TIME"] == 20.000005


def test_every_failure_is_a_monexport_error(tmp_path):
    (tmp_path / "empty.mon").write_text("")
    (tmp_path / "nothing").mkdir()
    for path in (tmp_path / "empty.mon", tmp_path / "nothing", tmp_path / "missing.res"):
        with pytest.raises(monexport.Error) as raised:
            monexport.open(str(path))
        source = "-dir" if path.is_dir() else "-res" if path.suffix == ".res" else "-mon"
        assert str(raised.value) == command_error(source, str(path))
    with pytest.raises(monexport.Error):
        monexport.open(example("steady.mon")).select(rule="NAME = (")


def test_log_patterns_give_the_commands_variables(tmp_path):
    log = tmp_path / "log.interFoam"
    log.write_text("Exec   : interFoam\nTime = 1\n"
                   "Phase-1 volume fraction = 0.25  Min(alpha.water) = -1e-9\n"
                   "ExecutionTime = 1 s  ClockTime = 1 s\n")
    pattern = "Phase-1 volume fraction = {alpha}  Min(alpha.water) = {alpha_min}"
    run = monexport.open(str(log), patterns=[pattern])
    assert run.last_values(rule="SUBCATEGORY = PATTERN") == {"alpha": 0.25, "alpha_min": np.float32(-1e-9)}
    done = command("-mon", str(log), "-pattern", pattern, "-varrule", "SUBCATEGORY = PATTERN")
    assert done.stdout.splitlines()[0] == '"ACCUMULATED TIMESTEP","alpha","alpha_min"'
    with pytest.raises(monexport.Error) as raised:
        monexport.open(str(log), patterns=["alpha = {a"])
    assert str(raised.value) == "Pattern 'alpha = {a': '{' without '}'"
