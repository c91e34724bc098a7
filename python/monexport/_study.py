"""A study: one table row per run, as `monexport -study` writes it.

The runs are read by the compiled part (monexport._core), on several
threads here or in Dask tasks (monexport.dask); this module turns what they
give into the pandas table, the same way for both.
"""

import math
import warnings

from monexport import _core

MODES = ("last", "stats")


def _warn(text, stacklevel=4):
    """A MonexportWarning, shown at the line that called study() (from a
    function that study() calls; 3 from study() itself)."""
    warnings.warn(text, _core.MonexportWarning, stacklevel=stacklevel)


def _as_list(patterns):
    return [patterns] if isinstance(patterns, str) else list(patterns)


def _names(names):
    if names is None:
        return []
    if isinstance(names, str):
        return _core._parse_var_list(names)
    return list(names)


def plan(patterns, matrix=None):
    """The runs a study's patterns match, in the order of their parameters'
    values (numbers as numbers), else of their paths, and their parameters as
    a DataFrame (one column per parameter, each of its own dtype)."""
    import pandas as pd

    runs, unmatched = _core._study_runs(_as_list(patterns))
    for pattern in unmatched:
        _warn(f"The study pattern '{pattern}' matches no path.")
    if not runs:
        raise _core.Error("No path matches the study patterns.")
    runs, names, values = _core._study_parameters(runs, matrix or "")
    parameters = pd.DataFrame(values, columns=names, dtype=object)
    for name in names:
        try:
            parameters[name] = pd.to_numeric(parameters[name])
        except (ValueError, TypeError):
            parameters[name] = parameters[name].astype(str)
    return runs, parameters


def read_rows(runs, names, rule, mode, window="auto", converged=None, workers=0, times=(None, None)):
    """The rows of the runs, read by the compiled part (never raising for a
    run's own faults: they are the row's error). times: (first_time,
    last_time) of the statistics."""
    if mode not in MODES:
        raise ValueError(f'mode must be "last" or "stats", not "{mode}"')
    rows = _core._study_rows(list(runs), names, rule or "", mode, workers or 0, str(window),
                             converged or "", *times)
    for row in rows:
        for line in row[5].splitlines():
            _warn(f"{row[0]}: {line.removeprefix('Warning: ')}")
    return [row[:5] for row in rows]


def variables_of(rows):
    return [[name for name, _ in row[1]] for row in rows]


def frame(rows, parameters, variables, mode, verdicts=False, start=0):
    """The table of rows (parameters: their lines of the parameter frame)."""
    import pandas as pd

    suffixes = _core._study_suffixes(mode, verdicts)
    value_columns = [variable + suffix for variable in variables for suffix in suffixes]
    data = {name: [] for name in value_columns}
    for _, fields, _, _, _ in rows:
        by_name = dict(fields)
        for variable in variables:
            values = by_name.get(variable, [math.nan] * len(suffixes))
            for suffix, value in zip(suffixes, values):
                data[variable + suffix].append(value)
    index = pd.RangeIndex(start, start + len(rows))
    columns = {"RUN": pd.Series([row[0] for row in rows], dtype=object, index=index)}
    for name in parameters.columns:
        columns[name] = pd.Series(parameters[name].to_numpy(), index=index)
    for name in value_columns:
        values = data[name]
        if name.endswith(" VERDICT") and mode == "stats" and verdicts:
            # As run.converged's verdicts, <NA> where the run has no value.
            values = [{"yes": True, "no": False}.get(v, pd.NA) for v in values]
            columns[name] = pd.Series(values, dtype="boolean", index=index)
        else:
            is_text = mode == "stats" and name.endswith((" NOTE", " REASON"))
            columns[name] = pd.Series(values, dtype=object if is_text else "float64", index=index)
    columns["STEPS"] = pd.Series([row[3] for row in rows], dtype="Int64", index=index)
    columns["ERROR"] = pd.Series([row[4] for row in rows], dtype=object, index=index)
    table = pd.concat(columns, axis=1) if rows else pd.DataFrame(columns, index=index)
    return table


def study_variables(per_run, any_read, names):
    return _core._study_variables(per_run, any_read, names)


def study(patterns, *, names=None, rule=None, mode="last", window="auto", matrix=None,
          workers=None, converged=None, first_time=None, last_time=None):
    """One row per run the patterns match (globs, '**' for any depth, or
    '@FILE'), sorted by parameters, then path: RUN, the parameters (from the
    paths, or from the matrix CSV), each selected variable's last value
    (mode="last") or statistics over the window (mode="stats": NAME,
    NAME STDERR, NAME STD, NAME MIN, NAME MAX, NAME NOTE, NAME NEFF,
    NAME COUNT, NAME PERIOD, NAME AMPLITUDE, and with converged criteria
    NAME VERDICT (booleans) and NAME REASON), STEPS and ERROR. workers:
    threads reading runs (None: the usable cores). first_time, last_time:
    the statistics' range of each run's TIME, as -firsttime and -lasttime.
    Reader messages and patterns that match nothing are MonexportWarnings."""
    names = _names(names)
    runs, parameters = plan(patterns, matrix)
    rows = read_rows(runs, names, rule, mode, window, converged, workers,
                     (first_time, last_time))
    any_read = any(not row[4] for row in rows)
    variables = study_variables(variables_of(rows), any_read, names)
    if rule and not names and any_read and not variables:
        _warn(f"The rule '{rule}' matches no variable of any run.", stacklevel=3)
    return frame(rows, parameters, variables, mode, bool(converged))
