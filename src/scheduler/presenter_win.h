// What the engine shows and plays, on the real notice popup, tray icon and
// sound device.
#pragma once

#include "notify/notifier_popup.h"
#include "notify/tray_icon.h"
#include "scheduler/engine_ports.h"
#include "sound/win_sound.h"

// The system's PlaySound macro would rename the presenter's method.
#undef PlaySound

namespace pausora {

class WindowPresenter final : public IPresenter {
  public:
    WindowPresenter(CNotifierPopup& popup, CTrayIcon& tray, CWinSoundSet& sounds)
        : m_popup(popup), m_tray(tray), m_sounds(sounds) {}

    void ShowNotice(const Notice& notice, std::uint32_t stayMs, NoticeEntry entry,
                    int stars) override;
    void HideNotice() override;
    void SetIcon(int iconId) override;
    void SetTooltipText(std::string_view text) override;
    void SetIconList(int firstIconId, int lastIconId) override;
    void Animate(std::uint32_t frameMs, std::uint32_t lengthSeconds) override;
    void StopAnimation() override;
    void SetStartStopCaption(std::string_view caption) override;
    void SetCountdown(std::uint32_t minutes) override;
    // The device needs the file only; the event names what the engine asked
    // for, for presenters that keep a record of it.
    void PlaySound(SoundEvent event, std::string_view path) override;
    // Shown in a box after the step, like the sound errors and behind them:
    // once per run for whatever could not be saved, once for the timers and
    // once for the history.
    void ReportTrouble(Trouble trouble) override;

  private:
    CNotifierPopup& m_popup;
    CTrayIcon& m_tray;
    CWinSoundSet& m_sounds;
    bool m_savingReported = false;
    bool m_timersReported = false;
    bool m_historyReported = false;
};

}  // namespace pausora
