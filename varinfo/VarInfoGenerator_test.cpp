#include "varinfo/VarInfoGenerator.h"

#include <gtest/gtest.h>

#include <sstream>

#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"

namespace {

TEST(VarInfoGenerator, DatabaseWithoutVariablesWritesTheRootAloneAndOneLineEnd) {
    MonDatabase database(QStringLiteral("main"), new owl::LineMessageDisplay());
    std::ostringstream out;
    owl::VarInfoGenerator(&database).outputVarData(out);
    EXPECT_EQ(out.str(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Variables />\n");
}

}  // namespace
