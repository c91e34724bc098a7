"""A study on a Dask cluster: monexport.dask.study(...) gives the table of
monexport.study(...) as a dask.dataframe.DataFrame, one partition per batch
of runs, each batch read by a task on whichever worker runs it (on a
cluster, the node that reads the runs' file system).

The table's columns depend on what the runs hold, so the call reads the
runs at once (the partitions stay on the workers) and then gathers only
their variable names; compute() brings the rows to the caller.
"""

import math

from monexport import _study


def _read_batch(runs, names, rule, mode, window, converged, times):
    return _study.read_rows(runs, names, rule, mode, window, converged, workers=1, times=times)


def _variables(rows):
    return _study.variables_of(rows), any(not row[4] for row in rows)


def _frame(rows, parameters, variables, mode, verdicts, start):
    return _study.frame(rows, parameters, variables, mode, verdicts, start)


def study(patterns, *, names=None, rule=None, mode="last", window="auto", matrix=None,
          batch_size=None, converged=None, first_time=None, last_time=None):
    """As monexport.study, on the Dask scheduler in use (a distributed.Client's
    cluster, or Dask's local scheduler). batch_size: runs per task (None:
    about 64 tasks, each of one run at least)."""
    import dask
    import dask.dataframe as dd

    names = _study._names(names)
    verdicts = bool(converged)
    runs, parameters = _study.plan(patterns, matrix)
    size = batch_size or max(1, math.ceil(len(runs) / 64))
    starts = list(range(0, len(runs), size))
    batches = [
        dask.delayed(_read_batch, pure=True)(runs[s:s + size], names, rule, mode, window,
                                             converged, (first_time, last_time))
        for s in starts
    ]
    batches = dask.persist(*batches)
    found = dask.compute(*[dask.delayed(_variables)(batch) for batch in batches])
    per_run = [names_of_run for batch_names, _ in found for names_of_run in batch_names]
    variables = _study.study_variables(per_run, any(read for _, read in found), names)
    parts = [
        dask.delayed(_frame)(batch, parameters.iloc[s:s + size], variables, mode, verdicts, s)
        for batch, s in zip(batches, starts)
    ]
    meta = _study.frame([], parameters.iloc[0:0], variables, mode, verdicts)
    return dd.from_delayed(parts, meta=meta, divisions=starts + [len(runs) - 1],
                           verify_meta=False)
