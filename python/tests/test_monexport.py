"""The monexport module against the command: same tables, statistics,
studies and errors."""

import io
import os
import re
import subprocess
import sys
import warnings

import numpy as np
import pandas as pd
import pytest

import monexport

COMMAND = os.environ["MONEXPORT_COMMAND"]
EXAMPLES = os.environ["MONEXPORT_EXAMPLES"]
TEST_RUNS = os.environ["MONEXPORT_TEST_RUNS"]

SOURCES = {"transient.mon": "-mon", "transient.dir": "-dir", "transient.res": "-res",
           "steady.mon": "-mon"}


def example(name):
    return os.path.join(EXAMPLES, name)


MON = example("transient.mon")


def command(*args):
    return subprocess.run([COMMAND, *args], capture_output=True, text=True)


def tool(name, *args):
    subprocess.run([os.path.join(os.path.dirname(COMMAND), name), *map(str, args)], check=True,
                   capture_output=True)


def command_csv(*args, **read):
    done = command(*args)
    assert done.returncode == 0, done.stderr
    return pd.read_csv(io.StringIO(done.stdout), **read)


def command_error(*args):
    done = command(*args)
    assert done.returncode != 0
    lines = done.stderr.splitlines()
    assert lines[0] == "Exporter error:"
    return "\n".join(lines[1:])


def options_of(names=None, rule=None, loops=True, first=None, last=None):
    pairs = [("-varlist", names and ";".join(names)), ("-varrule", rule),
             ("-firsttimestep", first), ("-lasttimestep", last)]
    return [a for o, v in pairs if v is not None for a in (o, str(v))] + \
        ([] if loops else ["-nocoeffloops"])


def assert_same_table(frame, expected):
    assert list(frame.columns) == list(expected.columns) and len(frame) == len(expected)
    for position, name in enumerate(expected.columns):
        ours, theirs = frame.iloc[:, position], expected.iloc[:, position]
        key = name in ("ACCUMULATED TIMESTEP", "COEFFICIENT LOOP")
        assert ours.dtype == (np.int64 if key else np.float32)
        # Nine significant digits in the CSV give back the very float.
        np.testing.assert_array_equal(ours.to_numpy(), theirs.to_numpy(ours.dtype), err_msg=name)


RUNS = [(SOURCES[n][1:], example(n)) for n in sorted(SOURCES)] + \
    [("mon", os.path.join(TEST_RUNS, n)) for n in sorted(os.listdir(TEST_RUNS)) if n.endswith(".mon")]
SELECTIONS = [(None, None), (["MAX P-Mass", "RMS P-Mass"], None), (["TIME"], "CATEGORY = RESIDUAL")]


# The test runs add skipped loops, huge step numbers, odd names and restarts.
@pytest.mark.filterwarnings("ignore::monexport.MonexportWarning")  # runs without residuals
@pytest.mark.parametrize("source,path", RUNS)
@pytest.mark.parametrize("loops", [True, False])
@pytest.mark.parametrize("names,rule", SELECTIONS)
@pytest.mark.parametrize("first,last", [(None, None), (4, 7), (0, -1), (20000000, None)])
def test_table_equals_the_commands_csv(source, path, loops, names, rule, first, last):
    if names and not set(names) <= set(monexport.open(path).variables):
        names = None
    frame = monexport.open(path).table(names=names, rule=rule, loops=loops, first=first, last=last)
    assert_same_table(frame, command_csv("-" + source, path, *options_of(names, rule, loops, first, last)))


@pytest.mark.parametrize("source", sorted(SOURCES))
def test_keys_values_and_last_values_are_the_tables(source):
    run = monexport.open(example(source))
    name = run.select()[-1]
    for loops in (True, False):
        steps, loop_numbers = run.keys(loops=loops)
        frame = run.table(loops=loops)
        assert steps.dtype == np.int64 and loop_numbers.dtype == np.int64
        assert steps.tolist() == frame["ACCUMULATED TIMESTEP"].tolist()
        if "COEFFICIENT LOOP" in frame.columns:
            assert loop_numbers.tolist() == frame["COEFFICIENT LOOP"].tolist()
        values = run.values(name, loops=loops)
        assert values.dtype == np.float32
        np.testing.assert_array_equal(values, frame[name].to_numpy(), err_msg=name)
    rule = "CATEGORY = RESIDUAL"
    expected = command_csv(SOURCES[source], example(source), "-lastvaluesonly", "-varrule", rule)
    values = run.last_values(rule=rule)
    assert list(values) == list(expected.columns)
    np.testing.assert_array_equal(np.float32(list(values.values())),
                                  expected.iloc[0].to_numpy(np.float32))


def test_selection_info_and_source_are_python_values():
    run = monexport.open(example("transient.mon"))
    assert run.select() == run.variables and isinstance(run.variables, list)
    assert run.select(names='"MAX P-Mass"; RMS P-Mass') == ["MAX P-Mass", "RMS P-Mass"]
    info = run.info("RMS P-Mass")
    assert (info["label"], info["group"]) == ("RMS P-Mass", "Momentum and Mass")
    assert info["attributes"]["path"] == "Residuals/Momentum and Mass/RMS"
    assert "Momentum and Mass" in run.groups
    for source in SOURCES:
        assert monexport.open(example(source)).variables == \
            monexport.open(example(source), source=SOURCES[source][1:]).variables
    with pytest.raises(ValueError):
        monexport.open(example("steady.mon"), source="csv")
    with pytest.raises(ValueError):
        run.stats(window="last")
    assert repr(run) == f"<monexport.Run {MON!r} (monitor file): 35 variables, 26 records>"
    assert monexport.__version__ == command("--version").stdout.split()[1]



@pytest.mark.parametrize("call, args", [
    (lambda run: run.table(names=["RMS P-Mass", "NO SUCH", "OTHER"]),
     ["-mon", MON, "-varlist", "RMS P-Mass;NO SUCH;OTHER"]),
    (lambda run: run.table(rule="CATEGORY ="), ["-mon", MON, "-varrule", "CATEGORY ="]),
    (lambda run: run.converged("NAME = X : below"),
     ["-mon", MON, "-stats", "-converged", "NAME = X : below"]),
    (lambda run: run.values("NO SUCH"), None),
    (lambda run: run.info("NO SUCH"), None),
    (lambda run: run.select(rule="NAME = ("), None),
    # Where the command's text names an option, Python's names the argument.
    (lambda run: monexport.open(MON, source="res"), 'is a monitor file: use source="mon" to read it.'),
    (lambda run: monexport.open(EXAMPLES, source="mon"), 'is a folder: use source="dir" to read it.'),
    (lambda run: monexport.study(MON, mode="stats", window="ten"), "Invalid value 'ten' for window=:"),
    (lambda run: monexport.study("@/nowhere.txt"), "'/nowhere.txt' (the study pattern '@FILE')."),
])
def test_errors_are_monexport_errors_with_the_commands_text(call, args):
    with pytest.raises(monexport.Error) as raised:
        call(monexport.open(MON))
    if isinstance(args, str):
        assert args in str(raised.value)
    elif args:
        assert str(raised.value) == command_error(*args)


def test_reader_messages_and_empty_selections_are_monexport_warnings(tmp_path, sweep, capfd):
    log = tmp_path / "log.simpleFoam"
    log.write_text("Exec   : simpleFoam\nTime = 1\nGAMG:  Solving for p, Initial residual = 0.0#5, "
                   "Final residual = 0.1, No Iterations 3\nExecutionTime = 1 s  ClockTime = 1 s\n")
    with pytest.warns(monexport.MonexportWarning, match=re.escape(f"{log}:3: skipped: ") + ".*1 line"):
        monexport.open(str(log))
    run, nothing = monexport.open(MON), "The rule 'NAME = nothing' matches no variable; the categories"
    for call in (run.select, run.table, run.last_values, run.stats):
        with pytest.warns(monexport.MonexportWarning, match=nothing):
            call(rule="NAME = nothing")
    with warnings.catch_warnings():
        warnings.simplefilter("error", monexport.MonexportWarning)
        pytest.raises(monexport.MonexportWarning, run.table, rule="NAME = nothing")
        run.table(rule="NAME = RMS*")  # a rule that matches warns of nothing
    with pytest.warns(monexport.MonexportWarning) as caught:
        monexport.study([sweep, str(tmp_path / "none*")], rule="NAME = nothing")
    assert [str(w.message) for w in caught] == [f"The study pattern '{tmp_path / 'none*'}' matches no path.",
                                                "The rule 'NAME = nothing' matches no variable of any run."]
    assert issubclass(monexport.MonexportWarning, UserWarning) and capfd.readouterr().err == ""


def test_unreadable_sources_give_the_commands_error(tmp_path):
    (tmp_path / "empty.mon").write_text("")
    (tmp_path / "nothing").mkdir()
    for source, path in (("-mon", tmp_path / "empty.mon"), ("-dir", tmp_path / "nothing"),
                         ("-res", tmp_path / "missing.res")):
        with pytest.raises(monexport.Error) as raised:
            monexport.open(str(path))
        assert str(raised.value) == command_error(source, str(path))


def test_results_file_reads_only_the_asked_variable(tmp_path):
    # Each further variable read adds its own values to the resident memory;
    # had the first read loaded them all, the others would add nothing.
    steps, names = 100000, [f"V{i}" for i in range(40)]
    source, packed = tmp_path / "big.mon", tmp_path / "big.res"
    source.write_text("monitor-file 1\n" + "".join(f'var "{n}"\n' for n in names) +
                      "".join(f"{s}" + " 0.5" * len(names) + "\n" for s in range(1, steps + 1)))
    tool("monpack", "-mon", source, "-out", packed)
    probe = ("import sys, monexport\n"
             "rss = lambda: int(next(l for l in open('/proc/self/status')"
             " if l.startswith('VmRSS:')).split()[1])\n"
             "run = monexport.open(sys.argv[1]); before = rss()\n"
             "for name in sys.argv[2:]: run.values(name)\n"
             "print(rss() - before)\n")

    def growth(*asked):
        return int(subprocess.run([sys.executable, "-c", probe, str(packed), *asked],
                                  capture_output=True, text=True, check=True).stdout)

    assert growth(*names) - growth("V0") > (len(names) - 1) * (steps * 4 // 1024) // 2


def test_update_reads_what_the_solver_appended(tmp_path):
    path = tmp_path / "run.mon"
    path.write_text("monitor-file 1\nvar A\n1 10\n2 2")  # the last line is unfinished
    run = monexport.open(str(path))
    assert run.values("A").tolist() == [10.0] and run.update() == 0
    with open(path, "a") as solver:
        solver.write("0\nvar B\n3 30 31\n")
    assert run.update() == 2
    assert run.values("A").tolist() == [10.0, 20.0, 30.0]
    assert run.table()["B"].isna().tolist() == [True, True, False]
    assert run.update() == 0


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
    table = monexport.study([str(path)], rule="NAME = Δp", mode="stats",
                            converged="NAME = 温度: below 9")
    assert [c for c in table.columns if c in ("Δp", "温度", "温度 VERDICT")] == ["Δp", "温度", "温度 VERDICT"]
    assert table["温度 VERDICT"].tolist() == [True]
    # A run whose names Latin-1 cannot all spell is written in UTF-8, whole.
    done = subprocess.run([COMMAND, "-mon", str(path), "-showvars"], capture_output=True)
    assert done.stdout.decode("utf-8").split("\n")[1:] == names + ["bad\ufffd", ""]


def test_times_keep_double_precision_from_source_and_packed_file(tmp_path):
    folder = tmp_path / "case" / "postProcessing" / "probes" / "0"
    folder.mkdir(parents=True)
    (folder / "p").write_text("# Probe 0 (0 0 0)\n#     Probe   0\n#      Time\n" +
                              "".join(f"20.00000{i} {i}\n" for i in range(1, 6)))
    packed = tmp_path / "run.res"
    tool("monpack", "-dir", tmp_path / "case", "-out", packed)
    for path in (tmp_path / "case", packed):
        run = monexport.open(str(path))
        times = run.values("TIME")
        assert times.dtype == np.float64
        assert times.tolist() == [20.000001, 20.000002, 20.000003, 20.000004, 20.000005]
        assert run.table()["TIME"].dtype == np.float64
        assert run.last_values()["TIME"] == 20.000005


def test_log_patterns_give_variables_and_errors(tmp_path):
    log = tmp_path / "log.interFoam"
    log.write_text("Exec   : interFoam\nTime = 1\n"
                   "Phase-1 volume fraction = 0.25  Min(alpha.water) = -1e-9\n"
                   "ExecutionTime = 1 s  ClockTime = 1 s\n")
    pattern = "Phase-1 volume fraction = {alpha}  Min(alpha.water) = {alpha_min}"
    for patterns in ([pattern], pattern):  # one pattern alone is a list of one
        run = monexport.open(str(log), patterns=patterns)
        assert run.last_values(rule="SUBCATEGORY = PATTERN") == {"alpha": 0.25, "alpha_min": -1e-9}
    with pytest.raises(monexport.Error) as raised:
        monexport.open(str(log), patterns=["alpha = {a"])
    assert str(raised.value) == "Pattern 'alpha = {a': '{' without '}'"


# run.stats, run.converged and run.compare against the command's -stats.
@pytest.mark.parametrize("call, options", [
    (lambda run: (True, run.stats(rule="CATEGORY = RESIDUAL", window=8)),
     ["-varrule", "CATEGORY = RESIDUAL", "-window", "8"]),
    (lambda run: run.converged("CATEGORY = RESIDUAL : drop 0.6"),
     ["-converged", "CATEGORY = RESIDUAL : drop 0.6"]),
    (lambda run: run.converged("NAME = RMS* : stderr 50%", window=6),
     ["-converged", "NAME = RMS* : stderr 50%", "-window", "6"]),
])
def test_same_statistics_and_verdicts_as_the_command(call, options):
    met, table = call(monexport.open(MON))
    done = command("-mon", MON, "-stats", *options)
    expected = pd.read_csv(io.StringIO(done.stdout), index_col=0, keep_default_na=False,
                           na_values=[""])
    assert met == (done.returncode == 0)
    assert list(table.index) == list(expected.index)
    assert list(table.columns) == [c.lower() for c in expected.columns]
    for column in ["mean", "std", "stderr", "neff", "drift", "orders", "cauchy", "period", "amplitude"]:
        np.testing.assert_allclose(table[column], expected[column.upper()], rtol=1e-7)
    assert (table["first step"] == expected["FIRST STEP"]).all()
    assert list(table["note"]) == list(expected["NOTE"].fillna(""))
    if "verdict" in table:
        assert list(table["verdict"]) == list(expected["VERDICT"] == "yes")


# first_time/last_time select rows and statistics as -firsttime/-lasttime do.
def test_time_ranges_are_the_commands():
    run = monexport.open(MON)
    times = run.values("TIME", loops=False)
    first, last = float(times[3]), float(times[8])
    frame = run.table(first_time=first, last_time=last)
    assert_same_table(frame, command_csv("-mon", MON, "-firsttime", repr(first), "-lasttime", repr(last)))
    table = run.stats(first_time=first)
    expected = command_csv("-mon", MON, "-stats", "-firsttime", repr(first), index_col=0)
    np.testing.assert_allclose(table["mean"], expected["MEAN"], rtol=1e-7)
    assert (table["first step"] == expected["FIRST STEP"]).all()
    study = monexport.study(MON, names=["RMS P-Mass"], mode="stats", first_time=first)
    assert study["RMS P-Mass"][0] == pytest.approx(table.loc["RMS P-Mass", "mean"], rel=1e-7)


def test_compare_with_a_table_or_values(tmp_path):
    tool("monsynth", "--out", tmp_path / "long.mon", "--steps", 1000)
    run = monexport.open(str(tmp_path / "long.mon"))
    reference = tmp_path / "reference.csv"
    reference.write_text(command("-mon", tmp_path / "long.mon", "-stats", "-varlist",
                                 "P1 Pressure").stdout)
    met, table = run.compare(str(reference))
    assert met and list(table.index) == ["P1 Pressure"]
    mean, error = table.loc["P1 Pressure", ["mean", "stderr"]]
    shifted = {"P1 Pressure": mean + 2 * error}
    # P1 Pressure is periodic: over whole periods its STDERR (3e-7 of the
    # mean) is below the default rtol, so rtol=0 leaves the terms under test.
    met, table = run.compare(shifted, k=0, rtol=0)
    assert not met and table.loc["P1 Pressure", "difference"] == pytest.approx(-2 * error)
    assert run.compare(shifted, k=0, rtol=0, atol=3 * error)[0]
    # A window too short to trust fails whatever the difference.
    met, table = monexport.open(MON).compare({"RMS P-Mass": 0}, atol=1)
    assert not met and table.loc["RMS P-Mass", "reason"] == "window too short"


# monexport.study and monexport.dask.study against monexport -study.
@pytest.fixture(scope="module")
def sweep(tmp_path_factory):
    """mesh_fine|coarse/alpha_N.EXT: monitor files, a results file, a run
    with fewer variables and a damaged one."""
    root = tmp_path_factory.mktemp("sweep")
    for mesh in ("fine", "coarse"):
        (root / f"mesh_{mesh}").mkdir()
    tool("monsynth", "--out", root / "mesh_fine/alpha_1.5.mon", "--steps", 30)
    tool("monsynth", "--out", root / "packed.mon", "--steps", 20, "--seed", 3)
    tool("monpack", "-mon", root / "packed.mon", "-out", root / "mesh_fine/alpha_3.res")
    (root / "mesh_coarse/alpha_1.5.mon").write_text("damaged\n")
    su2 = root / "mesh_coarse/alpha_3"
    su2.mkdir()
    (su2 / "history.csv").write_text('"Inner_Iter","CL","Drag Force"\n0,0.5,1\n1,0.75,2\n')
    return str(root / "mesh_*" / "alpha_*")


def comparable(table):
    """Values as float32 (the command writes them to float32's precision)."""
    table = table.copy()
    table["ERROR"] = table["ERROR"].fillna("")
    table["STEPS"] = table["STEPS"].astype("Int64")
    for name in table.columns[3:-2]:
        if name.endswith(" NOTE"):
            table[name] = table[name].fillna("")
        else:
            table[name] = table[name].astype(np.float32)
    return table


@pytest.mark.parametrize("options, args", [
    ({}, []),
    ({"names": ["Drag Force", "CL"]}, ["-varlist", "Drag Force;CL"]),
    ({"rule": "CATEGORY = FORCE", "names": "CL"}, ["-varlist", "CL", "-varrule", "CATEGORY = FORCE"]),
    ({"mode": "stats", "names": "Drag Force;CL"}, ["-varlist", "Drag Force;CL", "-stats"]),
])
def test_study_is_the_commands_table(sweep, options, args):
    table = monexport.study(sweep, **options)
    assert (table["ERROR"] != "").sum() == 1
    expected = command_csv("-study", sweep, *args, keep_default_na=False, na_values=[""])
    pd.testing.assert_frame_equal(comparable(table), comparable(expected))
    pd.testing.assert_frame_equal(monexport.study([sweep], workers=1, **options), table)


def test_dask_study_on_a_local_cluster_is_the_same_table(sweep):
    distributed = pytest.importorskip("distributed")
    import monexport.dask

    with distributed.LocalCluster(n_workers=2, processes=True, threads_per_worker=1,
                                  dashboard_address=None) as cluster:
        with distributed.Client(cluster):
            lazy = monexport.dask.study(sweep, names="CL;Drag Force", batch_size=2)
            assert lazy.npartitions == 2
            table = lazy.compute()
    pd.testing.assert_frame_equal(table, monexport.study(sweep, names="CL;Drag Force"))


def test_study_verdicts_are_booleans_as_in_run_converged(sweep):
    table = monexport.study(sweep, mode="stats", names="CL", converged="NAME = CL : below 0.7")
    assert table["CL VERDICT"].dtype == "boolean"  # the SU2 run's CL ends at 0.75; no CL elsewhere
    verdicts = dict(zip(table["RUN"], table["CL VERDICT"].astype(object).fillna("none")))
    assert sorted(verdicts.values(), key=str) == [False, "none", "none", "none"]
    assert verdicts[next(run for run in verdicts if run.endswith("mesh_coarse/alpha_3"))] is False


@pytest.mark.parametrize("options, error", [
    ({"names": ["nowhere"]}, monexport.Error), ({"matrix": "/nowhere.csv"}, monexport.Error),
    ({"mode": "mean"}, ValueError),
])
def test_study_errors(sweep, options, error):
    with pytest.raises(error):
        monexport.study(sweep, **options)
