"""Seconds of monexport.dask.study(PATTERN).compute() on a 2-worker
LocalCluster (started before the clock); used by bench/study.sh."""

import sys
import time

if __name__ == "__main__":  # the workers are processes that import this file
    from distributed import Client, LocalCluster

    import monexport.dask

    with LocalCluster(n_workers=2, processes=True, threads_per_worker=1,
                      dashboard_address=None) as cluster, Client(cluster):
        start = time.perf_counter()
        table = monexport.dask.study(sys.argv[1]).compute()
        print(f"{time.perf_counter() - start:.2f}")
        assert len(table) > 0 and (table["ERROR"] == "").all()
