// WAV files for the Windows-side sound tests, written to the temporary folder.
#pragma once

#include "sound/sound_set.h"
#include "ui/utf.h"

#include <windows.h>

#include <cstdint>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace pausora::test {

using Bytes = std::vector<std::uint8_t>;

// What the sound code beeped and said in place of a sound.
class RecordingFeedback final : public ISoundFeedback {
  public:
    std::vector<std::uint32_t> tones;
    std::vector<std::string> messages;
    void BeepTones(std::span<const std::uint32_t> frequencies, std::uint32_t) override {
        tones.insert(tones.end(), frequencies.begin(), frequencies.end());
    }
    void ShowMessage(std::string_view text, SoundMessageStyle) override {
        messages.emplace_back(text);
    }
};

// Wine picks PulseAudio over ALSA when it can reach a server; the capture of
// tests/win/audio_capture.sh only works through ALSA. Chosen before the first
// waveform call; a program the test starts reads the same setting.
inline void UseAlsaForTheCapture() {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Audio", REG_SZ, "alsa", 5);
}

struct PcmShape {
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint16_t bits;
    std::uint16_t BlockAlign() const { return static_cast<std::uint16_t>(channels * bits / 8); }
};

inline void PutLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// The canonical 44-byte header followed by the samples.
inline Bytes CanonicalWav(const PcmShape& shape, const Bytes& samples,
                          std::uint16_t formatTag = 1) {
    Bytes out;
    out.reserve(44 + samples.size());
    // Byte by byte: GCC 12 at -O2 misreads a four-byte range insert as an overflow.
    auto tag = [&out](const char* text) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(text[i]));
        }
    };
    tag("RIFF");
    PutLe(out, static_cast<std::uint32_t>(samples.size() + 36), 4);
    tag("WAVE");
    tag("fmt ");
    PutLe(out, 16, 4);
    PutLe(out, formatTag, 2);
    PutLe(out, shape.channels, 2);
    PutLe(out, shape.rate, 4);
    PutLe(out, shape.rate * shape.BlockAlign(), 4);
    PutLe(out, shape.BlockAlign(), 2);
    PutLe(out, shape.bits, 2);
    tag("data");
    PutLe(out, static_cast<std::uint32_t>(samples.size()), 4);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

// A file as editors write them: an INFO list before the format, then an
// 18-byte format (extra size 0), or the extensible one with the PCM
// sub-format, and a fact chunk before the data.
inline Bytes EditorWav(const PcmShape& shape, const Bytes& samples, bool extensible) {
    Bytes out;
    auto tag = [&out](const char* text) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(text[i]));
        }
    };
    tag("RIFF");
    PutLe(out, 0, 4);  // filled in below
    tag("WAVE");
    tag("LIST");
    PutLe(out, 17, 4);
    tag("INFO");
    tag("ISFT");
    PutLe(out, 5, 4);
    tag("Lavf");
    out.push_back(0);
    out.push_back(0);  // pad to even
    tag("fmt ");
    PutLe(out, extensible ? 40 : 18, 4);
    PutLe(out, extensible ? 0xFFFE : 1, 2);
    PutLe(out, shape.channels, 2);
    PutLe(out, shape.rate, 4);
    PutLe(out, shape.rate * shape.BlockAlign(), 4);
    PutLe(out, shape.BlockAlign(), 2);
    PutLe(out, shape.bits, 2);
    PutLe(out, extensible ? 22 : 0, 2);
    if (extensible) {
        PutLe(out, shape.bits, 2);
        PutLe(out, 3, 4);
        const std::uint8_t pcm[] = {1,    0, 0, 0,    0, 0,    0x10, 0,
                                    0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        out.insert(out.end(), std::begin(pcm), std::end(pcm));
    }
    tag("fact");
    PutLe(out, 4, 4);
    PutLe(out, static_cast<std::uint32_t>(samples.size() / shape.BlockAlign()), 4);
    tag("data");
    PutLe(out, static_cast<std::uint32_t>(samples.size()), 4);
    out.insert(out.end(), samples.begin(), samples.end());
    const auto riff = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) {
        out[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(riff >> (8 * i));
    }
    return out;
}

// Samples that never equal silence (0x80 for 8 bits, 0 for 16), so that
// where they start and end can be found in a capture padded with silence.
inline Bytes AudibleSamples(std::size_t bytes, std::uint16_t bits, std::uint32_t seed) {
    Bytes b(bytes);
    std::uint32_t x = seed * 2654435761u + 1u;
    for (std::size_t i = 0; i < bytes; ++i) {
        x = x * 1103515245u + 12345u;
        std::uint8_t v = static_cast<std::uint8_t>(x >> 16);
        if (bits == 8 && v == 0x80) {
            v = 0x81;
        }
        if (bits == 16 && v == 0) {
            v = 1;  // neither byte of a sample is 0, so no sample is
        }
        b[i] = v;
    }
    return b;
}

inline std::string TempPath(const std::string& name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// Paths are UTF-8, as everywhere in the program.
inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

inline Bytes ReadFileBytes(const std::string& path) {
    Bytes bytes;
    HANDLE file =
        ::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD got = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    ::CloseHandle(file);
    return bytes;
}

// The capture file that tests/win/audio_capture.sh points Wine's ALSA output
// at (a Windows path), or empty when the test runs without it; each opening
// of the device writes a new file: name, name.0001, ...
inline std::string CaptureBase() {
    const char* path = std::getenv("PAUSORA_AUDIO_CAPTURE");
    return path == nullptr ? std::string() : std::string(path);
}

inline std::string CaptureName(int index) {
    if (index == 0) {
        return CaptureBase();
    }
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%04d", index);
    return CaptureBase() + suffix;
}

// Every capture file so far, oldest first; the files are deleted.
inline std::vector<Bytes> TakeCaptures() {
    std::vector<Bytes> files;
    for (int i = 0; ::GetFileAttributesA(CaptureName(i).c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
        files.push_back(ReadFileBytes(CaptureName(i)));
        ::DeleteFileA(CaptureName(i).c_str());
    }
    return files;
}

}  // namespace pausora::test
