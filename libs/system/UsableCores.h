#pragma once
// The number of cores this process may run on: its CPU affinity (taskset,
// a batch scheduler's cpuset), not the machine's core count, so that a job
// given one core does not start workers that only take turns on it.

namespace owl {

// At least 1.
unsigned usableCores();

}  // namespace owl
