#include "plotinfo/PlotDisplaySettings.h"

#include "libs/guiapp/MakeStdString.h"
#include "libs/guiutils/QStringUtils.h"
#include "libs/rcl/RCLDatabase.h"
#include "libs/rcl/RCLPath.h"

namespace owl {

namespace {
const QString kWindowLabel = QStringLiteral("Window Label");
const QString kVisibility = QStringLiteral("Visibility");
const QString kLogarithmicY = QStringLiteral("Logarithmic Y");

QString valueOr(const ParamMap& parameters, const QString& name) {
    const auto it = parameters.find(name);
    return it == parameters.end() ? QString() : it->second;
}
}  // namespace

PlotDisplaySettings readDisplaySettings(const RCLDatabase& database, const PlotDefinition& plot) {
    const ParamMap parameters = database.getObjectParameters(plot.path, false);
    PlotDisplaySettings settings;
    settings.name = RCLPath(MakeStdString(plot.path)).getLastName();
    settings.windowLabel = MakeStdString(valueOr(parameters, kWindowLabel));
    settings.visible = QStringUtils::isTrue(valueOr(parameters, kVisibility));
    settings.logarithmicY = QStringUtils::isTrue(valueOr(parameters, kLogarithmicY));
    return settings;
}

}  // namespace owl
