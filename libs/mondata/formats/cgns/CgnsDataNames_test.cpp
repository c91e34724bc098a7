// How the standard data names of CGNS histories map to categories and groups
// that the template's plots and variable rules select on (the names of the
// test files, RSDMassRMS, CoefLift, totalR and more: cgns_test.cpp).

#include "libs/mondata/formats/cgns/CgnsDataNames.h"

#include <gtest/gtest.h>

namespace mon {
namespace {

TEST(CgnsDataNames, StandardNamesGiveCategoryNormAndGroup) {
    struct Case {
        const char* name;
        const char* category;
        const char* subcategory;
        const char* group;
    };
    const Case cases[] = {
        {"RSDMomentumXMax", "RESIDUAL", "MAX", "Momentum and Mass"},
        {"RSDEnergyRMS", "RESIDUAL", "RMS", "Heat Transfer"},
        {"RSDTurbKineticEnergyRMS", "RESIDUAL", "RMS", "Turbulence Quantities"},
        {"RSDTurbulentDissipationLinf", "RESIDUAL", "MAX", "Turbulence Quantities"},
        {"RSD_L2", "RESIDUAL", "RMS", "Residuals"},
        {"RSD_oo", "RESIDUAL", "MAX", "Residuals"},
        {"RSD_oo_diff", "RESIDUAL", "MAX", "Residuals"},
        {"CHGDensity", "CHANGE", "", "Solution Changes"},
        {"ForceX", "FORCE", "", ""},
        {"MomentZeta", "MOMENT", "", ""},
        {"Drag", "FORCE", "", ""},
        {"rsdmassrms", "", "", "Convergence History"},
    };
    for (const Case& c : cases) {
        const CgnsArrayKind kind = kindOfDataName(c.name);
        EXPECT_EQ(kind.category.toStdString(), c.category) << c.name;
        EXPECT_EQ(kind.subcategory.toStdString(), c.subcategory) << c.name;
        EXPECT_EQ(kind.group.toStdString(), c.group) << c.name;
    }
}

TEST(CgnsDataNames, OnlyIterationNumberArraysGiveSteps) {
    for (const char* name : {"IterationNumber", "IterationNumbers", "IterationValues"})
        EXPECT_TRUE(isIterationArrayName(name)) << name;
    for (const char* name : {"Iterations", "iterationnumber", "IterationNumberX", "TimeValues"})
        EXPECT_FALSE(isIterationArrayName(name)) << name;
}

}  // namespace
}  // namespace mon
