#pragma once
// A variable's field in the last-values table: its last value; for a record
// key, the exact step or loop of the record that holds it (a float cannot
// tell steps above 2^24 apart). A time has the digits its column has in the
// time-history table.

#include "export/TableFormat.h"

class TimestepData;

owl::TableField lastValueField(const TimestepData& variable, bool integer,
                               const owl::TableFormat& format);
