// The numbers that describe a PCM stream, kept in the same fields and order as
// the system's WAVEFORMATEX so that the Windows layer can copy them across one
// by one. The core never sees the system's own record.
#pragma once

#include <cstdint>

namespace pausora {

inline constexpr std::uint16_t kWaveFormatPcm = 1;
// A header that names its sample type by a sub-format GUID.
inline constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;

struct SWaveFormat {
    std::uint16_t wFormatTag = kWaveFormatPcm;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;  // bytes of one sample of all channels
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;  // extra bytes after the record; always 0 here

    bool operator==(const SWaveFormat&) const = default;
};

}  // namespace pausora
