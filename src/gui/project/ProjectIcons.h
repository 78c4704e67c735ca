// The icons of the project bar: one per item kind, each with a read-only
// variant, drawn at several sizes so they stay sharp on high-density screens.
#pragma once

#include <QIcon>

#include "project/ProjectTree.h"

namespace varn::ProjectIcons {

QIcon item(ItemKind kind, bool readOnly);
QIcon category();

}  // namespace varn::ProjectIcons
