// The font of the wizards' page titles.
#pragma once

#include "ui/handles.h"

namespace pausora {

// Arial at 12 points (16 pixels at 96 dots per inch, 24 at 144): bold for
// the welcome and last pages, normal weight for the pages between, where the
// size alone sets the title off from the advice.
ui::FontHandle CreateWizardTitleFont(bool bold, int dpi);

}  // namespace pausora
