// The last-values table (-lastvaluesonly).

#include "export/RunHistoryWriter.h"
#include "libs/exception/Error.h"

void RunHistoryWriter::outputLastVarValues() {
    throw owl::internal::error("RunHistoryWriter", "outputLastVarValues",
                               "The last-values table is not available yet.", owl::errorFatal);
}
