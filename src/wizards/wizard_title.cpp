#include "wizards/wizard_title.h"

#include "ui/dpi.h"

namespace pausora {

ui::FontHandle CreateWizardTitleFont(bool bold) {
    LOGFONTA font{};
    // A negative height asks for the character's own height, as a point size does.
    font.lfHeight = -ui::ScaleToScreen(16);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return ui::FontHandle(::CreateFontIndirectA(&font));
}

}  // namespace pausora
