#include "history/history_keeper_win.h"

namespace pausora {

namespace {
constexpr wchar_t kMessageTitle[] = L"Pausora";
}  // namespace

void HistoryKeeper::Delete(HWND owner) {
    // Off first: nothing may write the file again once it is deleted.
    m_recorder.SetKeeping(false);
    if (m_file.Remove()) {
        return;
    }
    const std::wstring text = L"The history file could not be deleted:\n" + m_file.Path() +
                              L"\n\nPausora keeps nothing more in it; you can delete it "
                              L"yourself.";
    ::MessageBox(owner, text.c_str(), kMessageTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool HistoryKeeper::AskToDelete(HWND owner) {
    const std::wstring text =
        L"Pausora will stop keeping a history of your breaks.\n\n"
        L"Do you also want to delete the history it has kept so far?\n" +
        HistoryFilePath() + L"\n\nYes deletes the file when you apply the settings; No keeps it.";
    return ::MessageBox(owner, text.c_str(), kMessageTitle,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace pausora
