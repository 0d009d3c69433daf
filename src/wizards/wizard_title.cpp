#include "wizards/wizard_title.h"

#include "ui/dpi.h"

namespace pausora {

ui::FontHandle CreateWizardTitleFont(bool bold, int dpi) {
    LOGFONT font{};
    // A negative height asks for the character's own height, as a point size does.
    font.lfHeight = -ui::ScaleToDpi(16, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpyn(font.lfFaceName, L"Arial", LF_FACESIZE);
    return ui::FontHandle(::CreateFontIndirect(&font));
}

}  // namespace pausora
