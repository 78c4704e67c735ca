// The pictures of the form toolbars' buttons, drawn rather than loaded so
// that they follow the palette and need no resource files.
#pragma once

#include <QIcon>

#include "form/FormDesigner.h"

namespace varn {

QIcon formCommandIcon(DesignerCommand command);

}  // namespace varn
