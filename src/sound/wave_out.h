// The waveform output calls the player makes, behind an interface so that the
// chunk-queue rules can be run without a sound card. The Windows layer
// implements it over waveOut; one implementation serves one stream.
#pragma once

#include "sound/wave_format.h"

#include <cstdint>

namespace pausora {

class CAudioStream;

// The system's result codes (MMRESULT), of which we name the few we act on.
using WaveResult = std::uint32_t;
inline constexpr WaveResult kWaveNoError = 0;
inline constexpr WaveResult kWaveStillPlaying = 33;  // WAVERR_STILLPLAYING

// The wave mapper: whatever output the user chose as the default.
inline constexpr std::uint32_t kWaveMapper = 0xFFFFFFFFu;

// An open output, as the system numbers it; 0 while closed.
using WaveOutHandle = std::uintptr_t;

// The completion message (WOM_DONE) and the header flag the system sets on a
// block that has played (WHDR_DONE).
inline constexpr std::uint32_t kWomDone = 0x3BD;
inline constexpr std::uint32_t kHeaderDone = 0x1;

// One block handed to the device: a window into the stream's samples.
struct SWaveHeader {
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    std::uint32_t flags = 0;  // kHeaderDone once the device has played it
    CAudioStream* user = nullptr;
};

class IWaveOut {
  public:
    virtual ~IWaveOut() = default;
    // Whether `device` accepts `format`, asked without opening anything.
    virtual WaveResult QueryFormat(std::uint32_t device, const SWaveFormat& format) = 0;
    // Opens `device` for `format`. The implementation reports every block that
    // the device is done with (played, or returned by Reset) by copying the
    // system's flags into the header and calling stream.OnBlockDone with
    // kWomDone, on a thread where waveform calls are allowed (never inside the
    // system's own callback).
    virtual WaveResult Open(std::uint32_t device, const SWaveFormat& format, CAudioStream& stream,
                            WaveOutHandle& handle) = 0;
    virtual WaveResult Prepare(WaveOutHandle handle, SWaveHeader& header) = 0;
    virtual WaveResult Unprepare(WaveOutHandle handle, SWaveHeader& header) = 0;
    virtual WaveResult Write(WaveOutHandle handle, SWaveHeader& header) = 0;
    // Stops the device and gives back every queued block.
    virtual WaveResult Reset(WaveOutHandle handle) = 0;
    virtual WaveResult Close(WaveOutHandle handle) = 0;
};

}  // namespace pausora
