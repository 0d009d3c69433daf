#include "scheduler/presenter_win.h"

#include <string>

namespace pausora {

void WindowPresenter::ShowNotice(const Notice& notice, std::uint32_t stayMs, NoticeEntry entry,
                                 int stars) {
    m_popup.SetItemText(kItemTitle, notice.title);
    m_popup.SetItemPictures(kItemPicture, static_cast<UINT>(notice.picture),
                            static_cast<UINT>(notice.picture));
    m_popup.SetItemClickable(kItemLink, notice.linkOpensExercises);
    m_popup.SetItemText(kItemLink, notice.link);
    m_popup.SetItemText(kItemBody, notice.body);
    m_popup.ShowPopup(kAppearMs, stayMs, kDisappearMs, kShowStep,
                      entry == NoticeEntry::kFade ? kModeTransparency : kModeMotion, stars);
}

void WindowPresenter::HideNotice() {
    m_popup.HidePopup();
}

void WindowPresenter::SetIcon(int iconId) {
    m_tray.SetIcon(static_cast<UINT>(iconId));
}

void WindowPresenter::SetTooltipText(std::string_view text) {
    m_tray.SetTooltipText(std::string(text).c_str());
}

void WindowPresenter::SetIconList(int firstIconId, int lastIconId) {
    m_tray.SetIconList(static_cast<UINT>(firstIconId), static_cast<UINT>(lastIconId));
}

void WindowPresenter::Animate(std::uint32_t frameMs, std::uint32_t lengthSeconds) {
    m_tray.Animate(frameMs, lengthSeconds);
}

void WindowPresenter::StopAnimation() {
    m_tray.StopAnimation();
}

void WindowPresenter::SetCountdown(std::uint32_t minutes) {
    m_tray.SetCountdown(minutes);
}

void WindowPresenter::SetStartStopCaption(std::string_view caption) {
    m_tray.SetStartStopCaption(std::string(caption).c_str());  // the menu keeps a copy
}

void WindowPresenter::PlaySound(SoundEvent /*event*/, std::string_view path) {
    m_sounds.PlaySoundFile(path);
}

namespace {

// Something that could not be saved, and what that costs.
std::string NotSavedText(std::string_view what) {
    return std::string(what) + "\n\nPausora goes on, but what it cannot save is lost when it ends.";
}

std::string TroubleText(Trouble trouble) {
    switch (trouble) {
        case Trouble::kPointsNotSaved:
            return NotSavedText(
                "Your experience points could not be saved: the registry key "
                "HKEY_CURRENT_USER\\Software\\Pausora\\TimeSettings cannot be written.");
        case Trouble::kWorkTimeNotSaved:
            return NotSavedText(
                "Today's computer time could not be saved: the registry key "
                "HKEY_CURRENT_USER\\Software\\Pausora cannot be written.");
        case Trouble::kSettingsNotSaved:
            return NotSavedText(
                "The settings could not be saved: the registry key "
                "HKEY_CURRENT_USER\\Software\\Pausora\\TimeSettings or the "
                "start-with-Windows entry cannot be written.");
        case Trouble::kHistoryNotSaved:
            return "The history of your breaks could not be saved: the file "
                   "%LOCALAPPDATA%\\Pausora\\history.csv cannot be written (or read).\n\n"
                   "Pausora goes on, and keeps trying at every minute; to keep no history, "
                   "clear \"Keep a history of my breaks\" under Settings, Customize, Startup.";
        case Trouble::kTimerRefused:
            return "Windows refused Pausora a timer, so breaks may not come when they are due.\n\n"
                   "Closing other programs and starting Pausora again may help.";
    }
    return {};
}

}  // namespace

void WindowPresenter::ReportTrouble(Trouble trouble) {
    bool& reported = trouble == Trouble::kTimerRefused      ? m_timersReported
                     : trouble == Trouble::kHistoryNotSaved ? m_historyReported
                                                            : m_savingReported;
    if (reported) {
        return;
    }
    reported = true;
    m_sounds.Feedback().ShowMessage(TroubleText(trouble), SoundMessageStyle::kFileError);
}

}  // namespace pausora
