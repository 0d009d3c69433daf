// Feeds arbitrary bytes to the WAVE reader as a file, checks its answer
// against a second reading of the layout done by offsets, then plays whatever
// it accepted through a device that reads every byte it is handed. Any fault,
// any read outside the samples, any played byte that is not the file's own
// byte at that place, or a refusal that touched the previous wave ends the run.
#include "core/sound_fakes.h"
#include "fuzz/require.h"
#include "sound/audio_stream.h"
#include "sound/wave_data.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

using namespace pausora;

using pausora::fuzz::Require;

void PlayAndCompare(const CWaveData& wave, const std::uint8_t* expected) {
    test::FakeWaveOut device;
    CAudioStream stream(device);
    stream.AssignWave(wave);
    Require(stream.OpenOutput());
    stream.StartPlayback();
    device.CompleteAll();
    Require(device.written.size() == wave.GetDataLength());
    Require(device.written.empty() ||
            std::memcmp(device.written.data(), expected, device.written.size()) == 0);
    Require(device.misuse == 0);
}

// A wave that already holds samples, so that a rejected file is read over
// something the reader must leave as it was.
CWaveData Previous() {
    const test::Bytes file = test::MakeWav(test::Pcm(2, 8000, 16), test::Pattern(4100));
    test::MemoryFile source(file);
    CWaveData wave;
    wave.ReadFrom(source);
    return wave;
}

// What the reader should make of the bytes, worked out over the whole file at
// once by offsets rather than by reading it front to back.
struct SExpected {
    SWaveFormat format;
    std::size_t offset = 0;  // of the samples in the file
    std::size_t length = 0;
};

std::optional<SExpected> Reference(const std::uint8_t* d, std::size_t size) {
    auto u16 = [d](std::size_t at) { return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8); };
    auto u32 = [d](std::size_t at) {
        return static_cast<std::uint32_t>(d[at] | d[at + 1] << 8 | d[at + 2] << 16) |
               static_cast<std::uint32_t>(d[at + 3]) << 24;
    };
    auto is = [d](std::size_t at, const char* tag) { return std::memcmp(d + at, tag, 4) == 0; };
    static const std::uint8_t pcm[16] = {1,    0, 0, 0,    0, 0,    0x10, 0,
                                         0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};

    if (size < 12 || !is(0, "RIFF") || !is(8, "WAVE")) {
        return std::nullopt;
    }
    std::optional<SWaveFormat> format;
    std::uint64_t pos = 12;
    for (;;) {
        if (pos + 8 > size) {
            return std::nullopt;
        }
        const auto at = static_cast<std::size_t>(pos);
        const std::uint32_t chunk = u32(at + 4);
        const std::size_t body = at + 8;
        if (is(at, "data")) {
            if (!format) {
                return std::nullopt;
            }
            const std::size_t align = format->nBlockAlign;
            const std::size_t count =
                align == 0 ? 0 : std::min<std::size_t>(chunk / align, (size - body) / align);
            return SExpected{*format, body, count * align};
        }
        if (is(at, "fmt ") && !format && chunk >= 16) {
            if (body + 16 > size) {
                return std::nullopt;
            }
            SWaveFormat f;
            f.wFormatTag = u16(body);
            f.nChannels = u16(body + 2);
            f.nSamplesPerSec = u32(body + 4);
            f.nAvgBytesPerSec = u32(body + 8);
            f.nBlockAlign = u16(body + 12);
            f.wBitsPerSample = u16(body + 14);
            format = f;
            if (chunk != 16) {
                if (body + 20 > size) {
                    return std::nullopt;
                }
                if (is(body + 16, "data")) {
                    pos = body + 16;
                    continue;
                }
                if (f.wFormatTag == kWaveFormatExtensible && chunk >= 40) {
                    if (body + 40 > size || std::memcmp(d + body + 24, pcm, 16) != 0) {
                        return std::nullopt;
                    }
                    format->wFormatTag = kWaveFormatPcm;
                }
            }
        }
        pos = body + static_cast<std::uint64_t>(chunk) + (chunk & 1u);
        if (pos > size) {
            return std::nullopt;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CWaveData previous = Previous();
    const std::optional<SExpected> expected = Reference(data, size);
    CWaveData wave = previous;
    test::MemoryFile file(std::span<const std::uint8_t>(data, size));
    try {
        wave.ReadFrom(file, "fuzz.wav");
    } catch (const CFileError& error) {
        Require(error.Cause() == FileErrorCause::kNotWave);
        Require(!expected);
        // A refused file leaves the previous wave whole, and it still plays
        // only its own samples.
        Require(wave.GetFormat() == previous.GetFormat());
        Require(wave.GetDataLength() == previous.GetDataLength());
        Require(std::memcmp(wave.Samples().Data(), previous.Samples().Data(),
                            previous.GetDataLength()) == 0);
        PlayAndCompare(wave, previous.Samples().Data());
        return 0;
    }
    // Accepted: exactly the format and the whole blocks the file holds.
    Require(expected.has_value());
    Require(wave.GetFormat() == expected->format);
    const std::uint32_t length = wave.GetDataLength();
    Require(length == expected->length);
    Require(length == 0 ||
            std::memcmp(wave.Samples().Data(), data + expected->offset, length) == 0);
    PlayAndCompare(wave, data + expected->offset);
    const CWaveData copy(wave);
    Require(copy.GetDataLength() == length);
    return 0;
}
