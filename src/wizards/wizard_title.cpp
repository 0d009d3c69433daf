#include "wizards/wizard_title.h"

namespace pausora {

ui::FontHandle CreateWizardTitleFont() {
    LOGFONT font{};
    font.lfHeight = 12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpyn(font.lfFaceName, L"Arial", LF_FACESIZE);
    return ui::FontHandle(::CreateFontIndirect(&font));
}

}  // namespace pausora
