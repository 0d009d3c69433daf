// The player: how a wave is cut into blocks and kept flowing, how a stop
// silences it, and what a play request does with good and bad files.
#include "core/sound_fakes.h"
#include "sound/audio_stream.h"
#include "sound/sound_set.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace pausora {
namespace {

using test::Bytes;
using test::FakeWaveOut;
using test::kWaveBadDevice;
using test::kWaveBadFormat;
using test::kWaveError;
using test::MakeWav;
using test::Pattern;
using test::Pcm;
using namespace std::chrono_literals;

CWaveData WaveOf(const Bytes& samples, SWaveFormat format = Pcm(1, 8000, 8)) {
    CWaveData wave;
    const Bytes bytes = MakeWav(format, samples);
    test::MemoryFile file(bytes);
    wave.ReadFrom(file);
    return wave;
}

// One stream on a fake device, opened for a wave of `n` bytes.
struct Player {
    explicit Player(std::size_t n, SWaveFormat format = Pcm(1, 8000, 8))
        : samples(Pattern(n)), stream(out) {
        stream.AssignWave(WaveOf(samples, format));
        stream.AssignDevice(CAudioDevice(kWaveMapper));
        EXPECT_TRUE(stream.OpenOutput());
    }
    Bytes samples;
    FakeWaveOut out;
    CAudioStream stream;
};

TEST(AudioStream, PlaysTheWholeWaveInBlocksOf4096WithThreeInFlight) {
    Player p(5 * 4096 + 100);
    EXPECT_EQ(p.out.openedDevice, kWaveMapper);
    EXPECT_EQ(p.out.openedFormat, Pcm(1, 8000, 8));

    EXPECT_TRUE(p.stream.StartPlayback());
    EXPECT_EQ(p.out.Queued(), 3u);
    EXPECT_FALSE(p.stream.IsDrained());
    while (p.out.CompleteNext()) {
        EXPECT_LE(p.out.Queued(), 3u);
    }
    EXPECT_EQ(p.out.written, p.samples);
    EXPECT_EQ(p.out.completed, p.samples);
    EXPECT_EQ(p.out.blockLengths, (std::vector<std::uint32_t>{4096, 4096, 4096, 4096, 4096, 100}));
    // Header 0 first, then round the three; each released once played.
    const auto& h = p.out.writtenHeaders;
    ASSERT_EQ(h.size(), 6u);
    EXPECT_EQ(h[1], h[0] + 1);
    EXPECT_EQ(h[2], h[0] + 2);
    EXPECT_EQ(h[3], h[0]);
    EXPECT_EQ(h[5], h[2]);
    EXPECT_EQ(p.out.Prepared(), 0u);
    EXPECT_EQ(p.out.misuse, 0);
    // Played out, the stream stays open until its owner's next request.
    EXPECT_TRUE(p.stream.IsDrained());
    EXPECT_TRUE(p.stream.IsOpen());
    EXPECT_EQ(p.stream.LastResult(), kWaveNoError);
}

TEST(AudioStream, BlocksHoldWholeSamplesWhenTheSampleSizeDoesNotDivide4096) {
    // 24-bit stereo: six bytes a sample, so a block is 682 samples.
    Player p(6 * 1500, Pcm(2, 48000, 24));
    p.stream.StartPlayback();
    p.out.CompleteAll();
    EXPECT_EQ(p.out.written, p.samples);
    EXPECT_EQ(p.out.blockLengths, (std::vector<std::uint32_t>{4092, 4092, 816}));

    // A sample bigger than a block still goes out whole, one a block.
    Player wide(2 * 6000, Pcm(2000, 8000, 24));
    wide.stream.StartPlayback();
    wide.out.CompleteAll();
    EXPECT_EQ(wide.out.written, wide.samples);
    EXPECT_EQ(wide.out.blockLengths, (std::vector<std::uint32_t>{6000, 6000}));
}

TEST(AudioStream, AWaveOfAtMostTwoBlocksReportsFalseButPlaysInFull) {
    for (std::size_t n : {std::size_t{1}, std::size_t{4096}, std::size_t{8192}}) {
        Player p(n);
        EXPECT_FALSE(p.stream.StartPlayback()) << n;
        p.out.CompleteAll();
        EXPECT_EQ(p.out.written, p.samples) << n;
        EXPECT_EQ(p.out.Prepared(), 0u);
    }
    Player empty(0);
    EXPECT_FALSE(empty.stream.StartPlayback());
    EXPECT_EQ(empty.out.writes, 0);
}

TEST(AudioStream, StopSilencesAtOnceAndAStartBeginsAgainFromTheTop) {
    Player p(20 * 4096);
    ASSERT_TRUE(p.stream.StartPlayback());
    p.out.CompleteNext();
    p.out.CompleteNext();
    const std::size_t writtenBeforeStop = p.out.written.size();
    EXPECT_TRUE(p.stream.StopPlayback());
    EXPECT_TRUE(p.stream.IsDrained());
    EXPECT_EQ(p.out.Queued(), 0u);
    EXPECT_EQ(p.out.Prepared(), 0u);
    EXPECT_EQ(p.out.written.size(), writtenBeforeStop);

    p.out.written.clear();
    EXPECT_TRUE(p.stream.StartPlayback());
    p.out.CompleteAll();
    EXPECT_EQ(p.out.written, p.samples);

    EXPECT_TRUE(p.stream.CloseOutput());
    EXPECT_FALSE(p.stream.IsOpen());
    EXPECT_FALSE(p.out.IsOpen());
    EXPECT_EQ(p.out.misuse, 0);
    // Closed, both succeed without a word to the device.
    const std::size_t calls = p.out.calls.size();
    EXPECT_TRUE(p.stream.StopPlayback());
    EXPECT_TRUE(p.stream.CloseOutput());
    EXPECT_EQ(p.out.calls.size(), calls);
}

TEST(AudioStream, AFailedPrepareOrWriteIsReportedAndTheHeaderReused) {
    Player p(10 * 4096);
    p.out.failWriteAt = 1;
    EXPECT_FALSE(p.stream.StartPlayback());
    EXPECT_EQ(p.stream.LastResult(), kWaveError);
    EXPECT_EQ(p.out.written.size(), 4096u);
    EXPECT_EQ(p.out.Prepared(), 1u);  // the failed block was released again
    // Each completion queues the next block: the one that failed, into the
    // header it could not use.
    p.out.CompleteNext();
    ASSERT_EQ(p.out.writtenHeaders.size(), 2u);
    EXPECT_EQ(p.out.writtenHeaders[1], p.out.writtenHeaders[0] + 1);
    p.out.CompleteAll();
    EXPECT_EQ(p.out.written, p.samples);
    EXPECT_EQ(p.out.misuse, 0);

    Player q(10 * 4096);
    q.out.failPrepareAt = 0;
    EXPECT_FALSE(q.stream.StartPlayback());
    EXPECT_EQ(q.stream.LastResult(), kWaveError);
    EXPECT_EQ(q.out.writes, 0);
}

TEST(AudioStream, OpenAndResetFailuresKeepTheirCode) {
    FakeWaveOut out;
    CAudioStream stream(out);
    stream.AssignWave(WaveOf(Pattern(100)));
    out.openResult = kWaveBadDevice;
    EXPECT_FALSE(stream.OpenOutput());
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_EQ(stream.LastResult(), kWaveBadDevice);
    // Never opened: a start reaches the device with no handle and fails there.
    EXPECT_FALSE(stream.StartPlayback());
    EXPECT_EQ(out.writes, 0);

    Player p(10 * 4096);
    p.stream.StartPlayback();
    p.out.resetResult = kWaveError;
    EXPECT_FALSE(p.stream.StopPlayback());
    EXPECT_FALSE(p.stream.CloseOutput());
    EXPECT_TRUE(p.stream.IsOpen());  // the handle is kept for another try
    EXPECT_EQ(p.stream.LastResult(), kWaveError);
    p.out.resetResult = kWaveNoError;
    EXPECT_TRUE(p.stream.CloseOutput());
}

TEST(AudioStream, IgnoresCompletionsThatAreNotItsBlocks) {
    Player p(10 * 4096);
    ASSERT_TRUE(p.stream.StartPlayback());
    SWaveHeader stranger{nullptr, 0, kHeaderDone, nullptr};
    p.stream.OnBlockDone(FakeWaveOut::kHandle, kWomDone, nullptr);
    p.stream.OnBlockDone(FakeWaveOut::kHandle, kWomDone, &stranger);
    p.stream.OnBlockDone(0, kWomDone, &stranger);
    p.stream.OnBlockDone(FakeWaveOut::kHandle, 0x3BB /* WOM_OPEN */, &stranger);
    EXPECT_EQ(p.out.writes, 3);
    EXPECT_EQ(stranger.flags, kHeaderDone);
}

TEST(AudioStream, ANewWaveWaitsUntilTheDeviceHasLetGoOfTheOldSamples) {
    Player p(10 * 4096);
    ASSERT_TRUE(p.stream.StartPlayback());
    // Replacing the samples under queued blocks would play freed memory.
    ASSERT_TRUE(p.stream.AssignWave(WaveOf(Pattern(3 * 4096, 9))));
    EXPECT_EQ(p.out.Queued(), 0u);
    EXPECT_EQ(p.out.Prepared(), 0u);
    p.out.written.clear();
    ASSERT_TRUE(p.stream.StartPlayback());
    p.out.CompleteAll();
    EXPECT_EQ(p.out.written, Pattern(3 * 4096, 9));
}

TEST(AudioStream, ADeviceThatKeepsItsBlocksIsWaitedForOnlySoLongAndNothingIsReused) {
    Player p(10 * 4096);
    p.stream.SetReturnTimeout(50ms);
    ASSERT_TRUE(p.stream.StartPlayback());
    p.out.holdBlocksOnReset = true;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(p.stream.StopPlayback());
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_EQ(p.stream.LastResult(), kWaveStillPlaying);

    // The held headers and the samples they point into stay untouched: no
    // new playback, no new wave, no close.
    const int prepares = p.out.prepares;
    const int writes = p.out.writes;
    EXPECT_FALSE(p.stream.StartPlayback());
    EXPECT_FALSE(p.stream.AssignWave(WaveOf(Pattern(4096, 7))));
    EXPECT_EQ(p.stream.Wave().GetDataLength(), 10u * 4096u);
    EXPECT_FALSE(p.stream.CloseOutput());
    EXPECT_EQ(p.stream.LastResult(), kWaveStillPlaying);
    EXPECT_EQ(p.out.prepares, prepares);
    EXPECT_EQ(p.out.writes, writes);
    EXPECT_EQ(p.out.misuse, 0);

    // Once the device lets go, everything works again.
    p.out.holdBlocksOnReset = false;
    EXPECT_TRUE(p.stream.StartPlayback());
    EXPECT_TRUE(p.stream.CloseOutput());
    EXPECT_EQ(p.out.misuse, 0);
}

// Completions on a thread of their own, as the system delivers them: stops at
// any moment must leave nothing queued, nothing written afterwards, and
// nothing for the completion thread to touch once the stream is gone.
TEST(AudioStream, StopsRacingTheCompletionThreadLeaveNothingBehind) {
    const Bytes samples = Pattern(64 * 4096);
    for (int round = 0; round < 40; ++round) {
        FakeWaveOut out;
        out.Threaded(std::chrono::microseconds(50 + 20 * (round % 5)));
        {
            CAudioStream stream(out);
            stream.AssignWave(WaveOf(samples));
            ASSERT_TRUE(stream.OpenOutput());
            ASSERT_TRUE(stream.StartPlayback());
            std::this_thread::sleep_for(std::chrono::microseconds(100 * (round % 8)));
            ASSERT_TRUE(stream.StopPlayback());
            const std::size_t writtenAtStop = out.written.size();
            EXPECT_EQ(out.Queued(), 0u);
            EXPECT_EQ(out.Prepared(), 0u);
            std::this_thread::sleep_for(1ms);
            EXPECT_EQ(out.written.size(), writtenAtStop);
            EXPECT_LE(writtenAtStop, samples.size());
            EXPECT_TRUE(std::equal(out.written.begin(), out.written.end(), samples.begin()));
            if (round % 2 == 0) {
                ASSERT_TRUE(stream.StartPlayback());  // and let the destructor stop it
            } else {
                EXPECT_TRUE(stream.CloseOutput());
            }
        }
        out.StopThread();
        EXPECT_EQ(out.misuse, 0);
        EXPECT_FALSE(out.IsOpen());
    }
}

TEST(AudioStream, UnderACompletionThreadAWavePlaysToItsLastByte) {
    FakeWaveOut out;
    out.Threaded(std::chrono::microseconds(20));
    const Bytes samples = Pattern(30 * 4096 + 7);
    CAudioStream stream(out);
    stream.AssignWave(WaveOf(samples));
    ASSERT_TRUE(stream.OpenOutput());
    ASSERT_TRUE(stream.StartPlayback());
    for (int i = 0; i < 2000 && !(stream.IsDrained() && out.Queued() == 0); ++i) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(stream.CloseOutput());
    out.StopThread();
    EXPECT_EQ(out.written, samples);
    EXPECT_EQ(out.misuse, 0);
}

// ---- A play request, as the main window and the Sounds page make it.

struct Owner {
    explicit Owner(RefusedFormat refused) : set(out, files, feedback, refused) {}
    test::FakeFiles files;
    test::RecordingFeedback feedback;
    FakeWaveOut out;
    CSoundSet set;
};

TEST(PlaySoundFile, QueuesTheFirstBlocksAndLetsTheRestFollow) {
    Owner o(RefusedFormat::kBeep);
    const Bytes samples = Pattern(50000);
    o.files.files["C:\\Windows\\Media\\ding.wav"] = MakeWav(Pcm(2, 22050, 16), samples);
    o.set.PlaySoundFile("C:\\Windows\\Media\\ding.wav");
    EXPECT_EQ(o.out.openedFormat, Pcm(2, 22050, 16));
    EXPECT_EQ(o.out.openedDevice, kWaveMapper);
    EXPECT_EQ(o.out.written.size(), 3u * 4096u);  // returned before the rest
    o.out.CompleteAll();
    EXPECT_EQ(o.out.written, samples);
    EXPECT_TRUE(o.feedback.messages.empty());
    EXPECT_TRUE(o.feedback.beeps.empty());
    EXPECT_EQ(o.out.calls.front(), "query");
}

TEST(PlaySoundFile, ASecondRequestCutsTheFirstOffAndStartsFromItsBeginning) {
    Owner o(RefusedFormat::kBeep);
    o.files.files["a.wav"] = MakeWav(Pcm(1, 8000, 8), Pattern(100000, 1));
    o.files.files["b.wav"] = MakeWav(Pcm(1, 11025, 8), Pattern(20000, 2));
    o.set.PlaySoundFile("a.wav");
    o.out.CompleteNext();
    const std::size_t ofFirst = o.out.written.size();
    o.set.PlaySoundFile("b.wav");
    EXPECT_EQ(o.out.opens, 2);
    EXPECT_EQ(o.out.closes, 1);
    o.out.CompleteAll();
    EXPECT_EQ(ofFirst, 4u * 4096u);
    EXPECT_EQ(
        Bytes(o.out.written.begin() + static_cast<std::ptrdiff_t>(ofFirst), o.out.written.end()),
        Pattern(20000, 2));
    EXPECT_EQ(o.out.openedFormat, Pcm(1, 11025, 8));
    EXPECT_EQ(o.out.misuse, 0);
}

TEST(PlaySoundFile, ReportsAFileThatCannotBeLoadedAndPlaysNothing) {
    Owner o(RefusedFormat::kBeep);
    o.files.files["C:\\bad.wav"] = Pattern(100);
    o.files.errors["C:\\busy.wav"] = FileErrorCause::kSharingViolation;
    o.set.PlaySoundFile("C:\\missing.wav");
    o.set.PlaySoundFile("C:\\bad.wav");
    o.set.PlaySoundFile("C:\\busy.wav");
    using M = std::pair<std::string, SoundMessageStyle>;
    EXPECT_EQ(o.feedback.messages,
              (std::vector<M>{
                  {"C:\\missing.wav was not found.", SoundMessageStyle::kFileError},
                  {"C:\\bad.wav is not a WAVE file that Pausora can play.",
                   SoundMessageStyle::kFileError},
                  {"A sharing violation occurred while accessing C:\\busy.wav.",
                   SoundMessageStyle::kFileError},
              }));
    EXPECT_EQ(o.out.opens, 0);
    EXPECT_TRUE(o.feedback.beeps.empty());
}

TEST(PlaySoundFile, AFileTooBigForMemoryIsReportedAsOutOfMemory) {
    struct NoMemory final : IFileOpener {
        std::unique_ptr<IReadFile> OpenExclusive(std::string_view) override {
            throw std::bad_alloc();
        }
    } files;
    test::RecordingFeedback feedback;
    FakeWaveOut out;
    CSoundSet set(out, files, feedback, RefusedFormat::kBeep);
    set.PlaySoundFile("C:\\huge.wav");
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].first, "Out of memory.");
    EXPECT_EQ(feedback.messages[0].second, SoundMessageStyle::kOutOfMemory);
}

TEST(PlaySoundFile, ARefusedFormatBeepsInTheMainWindowAndIsSilentOnTheSoundsPage) {
    for (RefusedFormat refused : {RefusedFormat::kBeep, RefusedFormat::kSilence}) {
        Owner o(refused);
        SWaveFormat odd = Pcm(1, 8000, 8);
        odd.wFormatTag = 0x55;
        o.files.files["mp3.wav"] = MakeWav(odd, Pattern(100));
        o.out.queryResult = kWaveBadFormat;
        o.set.PlaySoundFile("mp3.wav");
        EXPECT_EQ(o.out.lastQueried, odd);
        EXPECT_EQ(o.out.opens, 0);
        EXPECT_TRUE(o.feedback.messages.empty());
        using B = std::pair<std::uint32_t, std::uint32_t>;
        const std::vector<B> tones = {{100, 50}, {200, 50}, {300, 50}, {400, 50},  {600, 50},
                                      {700, 50}, {800, 50}, {900, 50}, {1000, 50}, {1100, 50}};
        EXPECT_EQ(o.feedback.beeps, refused == RefusedFormat::kBeep ? tones : std::vector<B>{});
    }
}

TEST(PlaySoundFile, ADeviceThatWillNotOpenLeavesTheRequestSilent) {
    Owner o(RefusedFormat::kBeep);
    o.files.files["a.wav"] = MakeWav(Pcm(1, 8000, 8), Pattern(100));
    o.out.openResult = kWaveBadDevice;
    o.set.PlaySoundFile("a.wav");
    EXPECT_EQ(o.out.writes, 0);
    EXPECT_TRUE(o.feedback.messages.empty());
    EXPECT_TRUE(o.feedback.beeps.empty());
    EXPECT_EQ(o.out.opens, 1);
    EXPECT_FALSE(o.set.Stream().IsOpen());
}

TEST(PlaySoundFile, TheMainWindowReportsEachBadPathOnceThenBeeps) {
    test::FakeFiles files;
    test::RecordingFeedback feedback;
    FakeWaveOut out;
    CSoundSet set(out, files, feedback, RefusedFormat::kBeep, LoadErrors::kReportOncePerPath);
    files.files["good.wav"] = MakeWav(Pcm(1, 8000, 8), Pattern(100));
    set.PlaySoundFile("good.wav");
    for (int round = 0; round < 3; ++round) {
        set.PlaySoundFile("C:\\gone.wav");
        set.PlaySoundFile("C:\\also gone.wav");
    }
    using M = std::pair<std::string, SoundMessageStyle>;
    EXPECT_EQ(
        feedback.messages,
        (std::vector<M>{{"C:\\gone.wav was not found.", SoundMessageStyle::kFileError},
                        {"C:\\also gone.wav was not found.", SoundMessageStyle::kFileError}}));
    EXPECT_EQ(feedback.beeps.size(), 4u * 10u);  // the later failures are still heard
    // A file that comes back plays again; the stream never lost its device.
    set.PlaySoundFile("good.wav");
    EXPECT_EQ(out.opens, 2);
    EXPECT_EQ(out.misuse, 0);
}

}  // namespace
}  // namespace pausora
