#include "wizards/wizard_title.h"

#include "ui/dpi.h"

namespace pausora {

ui::FontHandle CreateWizardTitleFont(bool bold, int dpi) {
    // A negative height asks for the character's own height, as a point size does.
    return ui::TitleFont(-ui::ScaleToDpi(16, dpi), bold);
}

}  // namespace pausora
