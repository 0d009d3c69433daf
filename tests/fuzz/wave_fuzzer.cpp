// Feeds arbitrary bytes to the WAVE reader as a file, then plays whatever it
// accepted through a device that reads every byte it is handed. Any fault,
// any read outside the samples, or any played byte that is not the file's own
// byte at that place ends the run.
#include "core/sound_fakes.h"
#include "sound/audio_stream.h"
#include "sound/wave_data.h"

#include <cstdlib>
#include <cstring>

namespace {

using namespace pausora;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

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
// something the reader must leave playable.
CWaveData Previous() {
    const test::Bytes file = test::MakeWav(test::Pcm(2, 8000, 16), test::Pattern(4100));
    CMemoryFile source(file);
    CWaveData wave;
    wave.ReadFrom(source);
    return wave;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CWaveData previous = Previous();
    CWaveData wave = previous;
    CMemoryFile file(std::span<const std::uint8_t>(data, size));
    try {
        wave.ReadFrom(file, "fuzz.wav");
    } catch (const CFileError& error) {
        Require(error.Cause() == FileErrorCause::kInvalidFile);
        // Whatever is left must still play only its own samples.
        PlayAndCompare(wave, wave.Samples().Data());
        return 0;
    }
    // Accepted: the samples are exactly the bytes after the 44-byte header.
    const std::uint32_t length = wave.GetDataLength();
    Require(size >= 44 && length <= size - 44);
    const SWaveFormat format = wave.GetFormat();
    Require(format.nBlockAlign == static_cast<std::uint16_t>(data[32] | data[33] << 8));
    Require(format.cbSize == 0);
    Require(length == 0 || std::memcmp(wave.Samples().Data(), data + 44, length) == 0);
    PlayAndCompare(wave, data + 44);
    const CWaveData copy(wave);
    Require(copy.GetDataLength() == length);
    return 0;
}
