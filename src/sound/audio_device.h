// A waveform output device, by number.
#pragma once

#include "sound/wave_data.h"
#include "sound/wave_out.h"

#include <cstdint>

namespace pausora {

class CAudioDevice {
  public:
    CAudioDevice() = default;
    explicit CAudioDevice(std::uint32_t id) : m_id(id) {}
    virtual ~CAudioDevice() = default;

    // Asks the device whether it would play the wave's format; opens nothing.
    bool CanPlayFormat(const CWaveData& wave, IWaveOut& out) const {
        return out.QueryFormat(m_id, wave.GetFormat()) == kWaveNoError;
    }

    std::uint32_t Id() const { return m_id; }

  private:
    std::uint32_t m_id = kWaveMapper;
};

}  // namespace pausora
