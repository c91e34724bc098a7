#pragma once
// The study's parts that monexport.study and monexport.dask.study assemble
// in Python: pattern expansion, parameters, and rows read from runs.

#include <pybind11/pybind11.h>

void addStudyBindings(pybind11::module_& m);
