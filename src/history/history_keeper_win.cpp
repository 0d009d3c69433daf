#include "history/history_keeper_win.h"

#include "resource.h"
#include "ui/window.h"

#include <string>

namespace pausora {

namespace {
constexpr wchar_t kMessageTitle[] = L"Pausora";

// The string table's text with "%1" replaced by `path`.
std::wstring WithPath(UINT id, const std::wstring& path) {
    std::wstring text = ui::ResourceString(id);
    if (const std::size_t at = text.find(L"%1"); at != std::wstring::npos) {
        text.replace(at, 2, path);
    }
    return text;
}
}  // namespace

void HistoryKeeper::Delete(HWND owner) {
    // Off first: nothing may write the file again once it is deleted.
    m_recorder.SetKeeping(false);
    if (m_file.Remove()) {
        return;
    }
    const std::wstring text = WithPath(IDS_HISTORY_DELETE_FAILED, m_file.Path());
    ::MessageBox(owner, text.c_str(), kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool HistoryKeeper::AskToDelete(HWND owner) {
    const std::wstring text = WithPath(IDS_HISTORY_ASK_DELETE, HistoryFilePath());
    return ::MessageBox(owner, text.c_str(), kMessageTitle,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace pausora
