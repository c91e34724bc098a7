"""run.stats, run.converged and run.compare against the command's -stats."""

import io
import os
import subprocess

import numpy as np
import pandas as pd
import pytest

import monexport

RUN = os.path.join(os.environ["MONEXPORT_EXAMPLES"], "transient.mon")


def command_table(*options):
    done = subprocess.run([os.environ["MONEXPORT_COMMAND"], "-mon", RUN, "-stats", *options],
                          capture_output=True, text=True)
    return done.returncode, done.stdout


@pytest.mark.parametrize("call, options", [
    (lambda run: (True, run.stats(rule="CATEGORY = RESIDUAL", window=8)),
     ["-varrule", "CATEGORY = RESIDUAL", "-window", "8"]),
    (lambda run: run.converged("CATEGORY = RESIDUAL : drop 0.6"),
     ["-converged", "CATEGORY = RESIDUAL : drop 0.6"]),
    (lambda run: run.converged("NAME = RMS* : stderr 50%", window=6),
     ["-converged", "NAME = RMS* : stderr 50%", "-window", "6"]),
])
def test_same_rows_and_verdicts_as_the_command(call, options):
    met, table = call(monexport.open(RUN))
    status, text = command_table(*options)
    expected = pd.read_csv(io.StringIO(text), index_col=0, keep_default_na=False,
                           na_values=[""])
    assert met == (status == 0)
    assert list(table.index) == list(expected.index)
    assert list(table.columns) == [c.lower() for c in expected.columns]
    for column in ["mean", "std", "stderr", "neff", "drift", "orders", "cauchy"]:
        np.testing.assert_allclose(table[column], expected[column.upper()], rtol=1e-7)
    assert (table["first step"] == expected["FIRST STEP"]).all()
    assert list(table["note"]) == list(expected["NOTE"].fillna(""))
    if "verdict" in table:
        assert list(table["verdict"]) == list(expected["VERDICT"] == "yes")


def test_compare_with_a_table_or_values(tmp_path):
    run = monexport.open(RUN)
    reference = tmp_path / "reference.csv"
    reference.write_text(command_table("-varlist", "RMS P-Mass")[1])
    met, table = run.compare(str(reference))
    assert met and list(table.index) == ["RMS P-Mass"]
    mean, error = table.loc["RMS P-Mass", ["mean", "stderr"]]
    shifted = {"RMS P-Mass": mean + 2 * error}
    met, table = run.compare(shifted, k=0)
    assert not met and table.loc["RMS P-Mass", "difference"] == pytest.approx(-2 * error)
    assert run.compare(shifted, k=0, atol=3 * error)[0]


@pytest.mark.parametrize("call, error", [
    (lambda run: run.converged("NAME = X : below"), monexport.Error),
    (lambda run: run.stats(window="last"), ValueError),
])
def test_errors(call, error):
    with pytest.raises(error):
        call(monexport.open(RUN))
