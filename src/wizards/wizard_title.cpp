#include "wizards/wizard_title.h"

namespace pausora {

ui::FontHandle CreateWizardTitleFont() {
    LOGFONTA font{};
    font.lfHeight = 12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return ui::FontHandle(::CreateFontIndirectA(&font));
}

}  // namespace pausora
