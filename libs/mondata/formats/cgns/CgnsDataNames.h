#pragma once
// What the standard data names of CGNS convergence histories say about an
// array: residual norms (RSD...), solution changes (CHG...), force and moment
// coefficients (Coef...) and forces and moments, and which arrays hold the
// iteration numbers rather than a history.

#include <QString>
#include <string>

namespace mon {

struct CgnsArrayKind {
    QString category;     // RESIDUAL, CHANGE, FORCE, MOMENT or empty
    QString subcategory;  // RMS or MAX for residuals, else empty
    QString group;        // the plot group of a base's global history array
};

CgnsArrayKind kindOfDataName(const std::string& name);

// Whether an array of that name numbers the iterations of its history.
bool isIterationArrayName(const std::string& name);

}  // namespace mon
