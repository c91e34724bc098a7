#include "libs/rcl/RCLObject.h"

namespace owl {

RCLObject* RCLObject::findChild(const QString& childType, const QString& childName) const {
    for (const auto& child : children)
        if (child->type == childType && child->name == childName) return child.get();
    return nullptr;
}

RCLObject& RCLObject::ensureChild(const QString& childType, const QString& childName) {
    if (RCLObject* existing = findChild(childType, childName)) return *existing;
    children.push_back(std::make_unique<RCLObject>());
    RCLObject& created = *children.back();
    created.type = childType;
    created.name = childName;
    return created;
}

}  // namespace owl
