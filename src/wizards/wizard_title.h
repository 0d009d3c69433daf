// The font of the wizards' page titles.
#pragma once

#include "ui/handles.h"

namespace pausora {

// Arial with a character cell 12 pixels high, normal weight.
ui::FontHandle CreateWizardTitleFont();

}  // namespace pausora
