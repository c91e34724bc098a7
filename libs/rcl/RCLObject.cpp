#include "libs/rcl/RCLObject.h"

namespace owl {

RCLObject* RCLObject::findChild(const QString& childType, const QString& childName) const {
    return childIndex_.value(qMakePair(childType, childName), nullptr);
}

RCLObject& RCLObject::ensureChild(const QString& childType, const QString& childName) {
    if (RCLObject* existing = findChild(childType, childName)) return *existing;
    children.push_back(std::make_unique<RCLObject>());
    RCLObject& created = *children.back();
    created.type = childType;
    created.name = childName;
    childIndex_.insert(qMakePair(childType, childName), &created);
    return created;
}

}  // namespace owl
