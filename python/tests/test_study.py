"""monexport.study and monexport.dask.study against monexport -study."""

import io
import os
import subprocess

import numpy as np
import pandas as pd
import pytest

import monexport

COMMAND = os.environ["MONEXPORT_COMMAND"]
TOOLS = os.path.dirname(COMMAND)


def tool(name, *args):
    subprocess.run([os.path.join(TOOLS, name), *map(str, args)], check=True,
                   capture_output=True)


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


def command_table(*args):
    done = subprocess.run([COMMAND, "-study", *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return pd.read_csv(io.StringIO(done.stdout), keep_default_na=False, na_values=[""])


def comparable(table):
    """Values as float32 (the command writes them to float32's precision)."""
    table = table.copy()
    table["ERROR"] = table["ERROR"].fillna("")
    table["STEPS"] = table["STEPS"].astype("Int64")
    for name in table.columns[3:-2]:
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
    assert list(table.columns[:3]) == ["RUN", "mesh", "alpha"]
    assert table["alpha"].dtype == np.float64 and table["mesh"].dtype == object
    assert (table["ERROR"] != "").sum() == 1
    pd.testing.assert_frame_equal(comparable(table), comparable(command_table(sweep, *args)))
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


@pytest.mark.parametrize("options, error", [
    ({"names": ["nowhere"]}, monexport.Error), ({"matrix": "/nowhere.csv"}, monexport.Error),
    ({"mode": "mean"}, ValueError),
])
def test_study_errors(sweep, options, error):
    with pytest.raises(error):
        monexport.study(sweep, **options)
