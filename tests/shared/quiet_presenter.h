// A presenter that shows and plays nothing: for a window under test or on
// show that needs one but whose notices and tray icon nobody looks at.
#pragma once

#include "scheduler/engine_ports.h"

#include <cstdint>
#include <string_view>

namespace pausora::test {

class QuietPresenter final : public IPresenter {
  public:
    void ShowNotice(const Notice&, std::uint32_t, NoticeEntry, int) override {}
    void HideNotice() override {}
    void SetIcon(int) override {}
    void SetTooltipText(std::string_view) override {}
    void SetIconList(int, int) override {}
    void Animate(std::uint32_t, std::uint32_t) override {}
    void StopAnimation() override {}
    void SetStartStopCaption(std::string_view) override {}
    void SetCountdown(std::uint32_t) override {}
    void PlaySound(SoundEvent, std::string_view) override {}
    void ReportTrouble(Trouble) override {}
};

}  // namespace pausora::test
