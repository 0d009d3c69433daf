#include "scheduler/presenter_win.h"

#include "resource.h"
#include "ui/utf.h"
#include "ui/window.h"

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

std::string Text(UINT id) {
    return Narrow(ui::ResourceString(id));
}

// Something that could not be saved, and what that costs.
std::string NotSavedText(UINT what) {
    return Text(what) + "\n\n" + Text(IDS_TROUBLE_NOT_SAVED);
}

std::string TroubleText(Trouble trouble) {
    switch (trouble) {
        case Trouble::kPointsNotSaved:
            return NotSavedText(IDS_TROUBLE_POINTS);
        case Trouble::kWorkTimeNotSaved:
            return NotSavedText(IDS_TROUBLE_WORK_TIME);
        case Trouble::kSettingsNotSaved:
            return NotSavedText(IDS_TROUBLE_SETTINGS);
        case Trouble::kHistoryNotSaved:
            return Text(IDS_TROUBLE_HISTORY);
        case Trouble::kTimerRefused:
            return Text(IDS_TROUBLE_TIMER);
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
