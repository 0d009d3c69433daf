// Real playback through waveOut. Run by audio_capture.sh, which points Wine's
// ALSA output into a file (PAUSORA_AUDIO_CAPTURE, one file per opening of the
// device: name, name.0001, ...). What reaches that file must be the WAV's own
// samples, whole and unchanged, apart from the silence Wine pads around them.
#include "sound/win_sound.h"
#include "win/sound_wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace pausora::test {
namespace {

using Clock = std::chrono::steady_clock;

struct Capture {
    PcmShape shape{};
    Bytes audible;  // the data without the device's silence
};

std::uint32_t Le(const Bytes& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size; i-- > 0;) {
        v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    }
    return v;
}

Capture Parse(const Bytes& file) {
    Capture c;
    if (file.size() < 44 || std::string(file.begin(), file.begin() + 4) != "RIFF" ||
        std::string(file.begin() + 36, file.begin() + 40) != "data") {
        ADD_FAILURE() << "capture is not a canonical WAV (" << file.size() << " bytes)";
        return c;
    }
    c.shape = {static_cast<std::uint16_t>(Le(file, 22, 2)), Le(file, 24, 4),
               static_cast<std::uint16_t>(Le(file, 34, 2))};
    const std::size_t block = c.shape.BlockAlign();
    const std::uint8_t silence = c.shape.bits == 8 ? 0x80 : 0x00;
    auto silent = [&](std::size_t at) {
        for (std::size_t i = 0; i < block; ++i) {
            if (file[at + i] != silence) {
                return false;
            }
        }
        return true;
    };
    // The test sounds have no silent frame, so every silent frame is the
    // device's own: before, after, or (when a loaded machine let Wine's
    // buffer run dry for a moment) in the middle of the sound.
    const std::size_t end =
        44 + std::min<std::size_t>(Le(file, 40, 4), file.size() - 44) / block * block;
    for (std::size_t at = 44; at < end; at += block) {
        if (!silent(at)) {
            c.audible.insert(c.audible.end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                             file.begin() + static_cast<std::ptrdiff_t>(at + block));
        }
    }
    return c;
}

class RealAudio : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(CaptureBase().empty()) << "run through tests/win/audio_capture.sh";
        ASSERT_EQ(::waveOutGetNumDevs(), 1u) << "Wine found no ALSA device";
        TakeCaptures();
    }

    std::string WriteWav(const std::string& name, const PcmShape& shape, const Bytes& samples,
                         std::uint16_t tag = 1) {
        const std::string path = TempPath(name);
        WriteFileBytes(path, CanonicalWav(shape, samples, tag));
        m_files.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const std::string& path : m_files) {
            ::DeleteFileA(path.c_str());
        }
    }

    // Waits until the device has handed back the last block, then closes it
    // so that ALSA finishes the capture file.
    static void PlayOut(CSoundSet& set) {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (!(set.Stream().IsDrained() && set.Stream().BlocksInFlight() == 0) &&
               Clock::now() < deadline) {
            ::Sleep(5);
        }
        EXPECT_TRUE(set.Stream().CloseOutput());
    }

    CWinWaveOut m_out;
    CWinFileOpener m_files_opener;
    RecordingFeedback m_feedback;
    std::vector<std::string> m_files;
};

TEST_F(RealAudio, EveryCanonicalShapePlaysWholeAndUnchangedWhileTheRequestReturnsAtOnce) {
    const PcmShape shapes[] = {{1, 8000, 8},  {2, 11025, 8},  {1, 22050, 8},  {2, 48000, 8},
                               {1, 8000, 16}, {2, 22050, 16}, {1, 44100, 16}, {2, 48000, 16}};
    CSoundSet set(m_out, m_files_opener, m_feedback, RefusedFormat::kBeep);
    std::uint32_t seed = 1;
    Clock::duration slowest{};
    for (const PcmShape& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.channels) + " ch, " + std::to_string(shape.rate) +
                     " Hz, " + std::to_string(shape.bits) + " bits");
        // Two seconds, and at least twelve blocks: the request must return
        // long before the last block is queued.
        const std::size_t bytes =
            std::max<std::size_t>(shape.rate * 2u * shape.BlockAlign(), 12u * 4096u);
        const Bytes samples =
            AudibleSamples(bytes / shape.BlockAlign() * shape.BlockAlign(), shape.bits, seed);
        const std::string path =
            WriteWav("pausora-shape-" + std::to_string(seed++) + ".wav", shape, samples);
        const auto start = Clock::now();
        set.PlaySoundFile(path);
        const auto returned = Clock::now() - start;
        EXPECT_FALSE(set.Stream().IsDrained()) << "the request waited for the sound";
        EXPECT_LT(returned, std::chrono::milliseconds(500));
        slowest = std::max(slowest, returned);
        PlayOut(set);
        const std::vector<Bytes> captures = TakeCaptures();
        ASSERT_EQ(captures.size(), 1u);
        const Capture c = Parse(captures[0]);
        EXPECT_EQ(c.shape.channels, shape.channels);
        EXPECT_EQ(c.shape.rate, shape.rate);
        EXPECT_EQ(c.shape.bits, shape.bits);
        EXPECT_EQ(c.audible.size(), samples.size());
        EXPECT_TRUE(c.audible == samples) << "the samples were changed on the way";
    }
    EXPECT_TRUE(m_feedback.messages.empty());
    EXPECT_TRUE(m_feedback.tones.empty());
    std::printf("slowest play request returned after %.1f ms\n",
                std::chrono::duration<double, std::milli>(slowest).count());
}

TEST_F(RealAudio, ASecondRequestCutsTheFirstOffAndPlaysItselfWhole) {
    const PcmShape longShape{2, 44100, 16};
    const Bytes longSamples = AudibleSamples(44100u * 4u * 10u, 16, 77);  // ten seconds
    const PcmShape shortShape{1, 22050, 16};
    const Bytes shortSamples = AudibleSamples(22050u * 2u, 16, 78);
    const std::string first = WriteWav("pausora-long.wav", longShape, longSamples);
    const std::string second = WriteWav("pausora-short.wav", shortShape, shortSamples);

    CSoundSet set(m_out, m_files_opener, m_feedback, RefusedFormat::kBeep);
    set.PlaySoundFile(first);
    ::Sleep(300);
    set.PlaySoundFile(second);
    PlayOut(set);

    const std::vector<Bytes> captures = TakeCaptures();
    ASSERT_EQ(captures.size(), 2u);
    const Capture cut = Parse(captures[0]);
    EXPECT_EQ(cut.shape.rate, 44100u);
    EXPECT_GT(cut.audible.size(), 0u);
    EXPECT_LT(cut.audible.size(), longSamples.size() / 2);
    EXPECT_TRUE(std::equal(cut.audible.begin(), cut.audible.end(), longSamples.begin()))
        << "the first sound did not play from its start";
    const Capture whole = Parse(captures[1]);
    EXPECT_EQ(whole.shape.rate, 22050u);
    EXPECT_TRUE(whole.audible == shortSamples);
    std::printf("first sound cut after %zu of %zu bytes\n", cut.audible.size(), longSamples.size());
}

TEST_F(RealAudio, FilesFromEditorsPlayWholeIncludingExtensible24BitStereo) {
    struct Case {
        PcmShape shape;
        bool extensible;
    };
    CSoundSet set(m_out, m_files_opener, m_feedback, RefusedFormat::kBeep);
    std::uint32_t seed = 40;
    for (const Case& c :
         {Case{{2, 44100, 16}, false}, Case{{2, 48000, 24}, true}, Case{{1, 22050, 16}, true}}) {
        SCOPED_TRACE(std::to_string(c.shape.bits) + " bits" +
                     (c.extensible ? ", extensible" : ", 18-byte fmt"));
        const Bytes samples = AudibleSamples(c.shape.BlockAlign() * 20000u, c.shape.bits, seed);
        const std::string path = TempPath("pausora-editor-" + std::to_string(seed++) + ".wav");
        WriteFileBytes(path, EditorWav(c.shape, samples, c.extensible));
        m_files.push_back(path);
        set.PlaySoundFile(path);
        PlayOut(set);
        const std::vector<Bytes> captures = TakeCaptures();
        ASSERT_EQ(captures.size(), 1u);
        const Capture capture = Parse(captures[0]);
        EXPECT_EQ(capture.shape.channels, c.shape.channels);
        EXPECT_EQ(capture.shape.rate, c.shape.rate);
        EXPECT_EQ(capture.shape.bits, c.shape.bits);
        EXPECT_TRUE(capture.audible == samples) << "the samples were changed on the way";
    }
    EXPECT_TRUE(m_feedback.messages.empty());
    EXPECT_TRUE(m_feedback.tones.empty());
}

TEST_F(RealAudio, AFormatTheDeviceRefusesBeepsInsteadOfPlaying) {
    const std::string path =
        WriteWav("pausora-odd.wav", {1, 8000, 8}, AudibleSamples(16000, 8, 5), 0x55);
    CSoundSet set(m_out, m_files_opener, m_feedback, RefusedFormat::kBeep);
    set.PlaySoundFile(path);
    EXPECT_EQ(m_feedback.tones,
              (std::vector<std::uint32_t>{100, 200, 300, 400, 600, 700, 800, 900, 1000, 1100}));
    EXPECT_FALSE(set.Stream().IsOpen());
    EXPECT_TRUE(TakeCaptures().empty());
}

}  // namespace
}  // namespace pausora::test

int main(int argc, char** argv) {
    pausora::test::UseAlsaForTheCapture();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
