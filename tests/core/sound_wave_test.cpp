// The WAVE reader: the chunk layouts it reads, what it refuses, and the copies
// the player makes of a wave.
#include "store/time_settings.h"
#include "core/sound_fakes.h"
#include "sound/wave_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

namespace pausora {
namespace {

using test::Bytes;
using test::MakeWav;
using test::Pattern;
using test::Pcm;

Bytes SampleBytes(const CWaveData& wave) {
    const CSampleBuffer& s = wave.Samples();
    if (s.Data() == nullptr) {
        return {};
    }
    return Bytes(s.Data(), s.Data() + wave.GetDataLength());
}

void Read(CWaveData& wave, const Bytes& file, std::string_view path = "C:\\a.wav") {
    test::MemoryFile f(file);
    wave.ReadFrom(f, path);
}

FileErrorCause RejectionOf(CWaveData& wave, const Bytes& file) {
    try {
        Read(wave, file);
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Path(), "C:\\a.wav");
        EXPECT_EQ(FileErrorText(e), "C:\\a.wav is not a WAVE file that Pausora can play.");
        return e.Cause();
    }
    ADD_FAILURE() << "file was accepted";
    return FileErrorCause::kGeneric;
}

class CanonicalFiles
    : public ::testing::TestWithParam<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> {};

TEST_P(CanonicalFiles, AreReadWhole) {
    const auto [bits, channels, rate] = GetParam();
    const SWaveFormat format = Pcm(channels, rate, bits);
    const Bytes samples = Pattern(format.nBlockAlign * 3001u, rate + bits);
    CWaveData wave;
    Read(wave, MakeWav(format, samples));
    EXPECT_EQ(wave.GetFormat(), format);
    EXPECT_EQ(wave.GetDataLength(), samples.size());
    EXPECT_EQ(wave.Samples().Count(), 3001u);
    EXPECT_EQ(wave.Samples().SampleSize(), format.nBlockAlign);
    EXPECT_EQ(SampleBytes(wave), samples);
}

INSTANTIATE_TEST_SUITE_P(BitsChannelsRates, CanonicalFiles,
                         ::testing::Combine(::testing::Values<std::uint16_t>(8, 16),
                                            ::testing::Values<std::uint16_t>(1, 2),
                                            ::testing::Values<std::uint32_t>(8000, 11025, 22050,
                                                                             44100, 48000)));

TEST(WaveReader, TakesAnyFormatTagAndIgnoresBothSizeFields) {
    // Whether a format plays is the device's decision, not the reader's; and
    // only the layout matters, not what the RIFF and fmt sizes claim.
    SWaveFormat format = Pcm(1, 8000, 8);
    format.wFormatTag = 0x55;
    Bytes file = MakeWav(format, Pattern(100), test::FmtSize(9999));
    file[4] = 0xFF;
    CWaveData wave;
    Read(wave, file);
    EXPECT_EQ(wave.GetFormat().wFormatTag, 0x55);
    EXPECT_EQ(wave.GetDataLength(), 100u);
}

// RIFF files built chunk by chunk, as editors and converters write them.
Bytes Chunk(std::string_view id, const Bytes& body, bool pad = true) {
    Bytes out;
    test::PutTag(out, id);
    test::PutLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2 != 0) {
        out.push_back(0);
    }
    return out;
}

Bytes Riff(std::initializer_list<Bytes> chunks) {
    Bytes body;
    test::PutTag(body, "WAVE");
    for (const Bytes& c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    Bytes out;
    test::PutTag(out, "RIFF");
    test::PutLe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes FmtBody(const SWaveFormat& f, const Bytes& extra = {}) {
    Bytes out;
    test::PutLe(out, f.wFormatTag, 2);
    test::PutLe(out, f.nChannels, 2);
    test::PutLe(out, f.nSamplesPerSec, 4);
    test::PutLe(out, f.nAvgBytesPerSec, 4);
    test::PutLe(out, f.nBlockAlign, 2);
    test::PutLe(out, f.wBitsPerSample, 2);
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

// The 22 extra bytes of an extensible header with the sub-format's first
// byte given (1 = integer PCM, 3 = IEEE float).
Bytes Extensible(std::uint16_t validBits, std::uint8_t subFormat) {
    Bytes out;
    test::PutLe(out, 22, 2);
    test::PutLe(out, validBits, 2);
    test::PutLe(out, 0x3, 4);  // front left and right
    const Bytes guid = {subFormat, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                        0x80,      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    out.insert(out.end(), guid.begin(), guid.end());
    return out;
}

SWaveFormat ExtensibleTag(SWaveFormat f) {
    f.wFormatTag = kWaveFormatExtensible;
    return f;
}

const Bytes kInfo = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 6,
                     0,   0,   0,   'L', 'a', 'v', 'f', '5', 0};

TEST(WaveReader, WalksTheChunksThatEditorsWriteAroundFormatAndData) {
    const SWaveFormat stereo16 = Pcm(2, 22050, 16);
    const SWaveFormat stereo24 = Pcm(2, 48000, 24);
    const Bytes samples = Pattern(6000, 3);
    struct Case {
        const char* what;
        Bytes file;
        SWaveFormat format;
    };
    const Case cases[] = {
        {"LIST before data",
         Riff({Chunk("fmt ", FmtBody(stereo16)), Chunk("LIST", kInfo), Chunk("data", samples)}),
         stereo16},
        {"18-byte fmt with extra size 0",
         Riff({Chunk("fmt ", FmtBody(stereo16, {0, 0})), Chunk("data", samples)}), stereo16},
        {"fact chunk",
         Riff({Chunk("fmt ", FmtBody(stereo16)), Chunk("fact", {0x70, 0x17, 0, 0}),
               Chunk("data", samples)}),
         stereo16},
        {"odd chunks with their pad byte, before and after fmt",
         Riff({Chunk("JUNK", Pattern(7)), Chunk("fmt ", FmtBody(stereo16)),
               Chunk("cue ", Pattern(3)), Chunk("data", samples)}),
         stereo16},
        {"a short fmt and a later second fmt are passed over",
         Riff({Chunk("fmt ", Bytes(14, 0x55)), Chunk("fmt ", FmtBody(stereo16)),
               Chunk("fmt ", FmtBody(Pcm(1, 8000, 8))), Chunk("data", samples)}),
         stereo16},
        {"extensible 24-bit stereo PCM plays as PCM",
         Riff({Chunk("fmt ", FmtBody(ExtensibleTag(stereo24), Extensible(24, 1))),
               Chunk("fact", {0xE8, 0x03, 0, 0}), Chunk("data", samples)}),
         stereo24},
        {"extensible with 20 valid bits in 24-bit containers, and more after the GUID",
         Riff({Chunk("fmt ", FmtBody(ExtensibleTag(stereo24),
                                     [] {
                                         Bytes x = Extensible(20, 1);
                                         x.insert(x.end(), {9, 9, 9});
                                         return x;
                                     }())),
               Chunk("data", samples)}),
         stereo24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CWaveData wave;
        Read(wave, c.file);
        EXPECT_EQ(wave.GetFormat(), c.format);
        EXPECT_EQ(wave.Samples().SampleSize(), c.format.nBlockAlign);
        EXPECT_EQ(SampleBytes(wave), samples);
    }
}

TEST(WaveReader, RefusesWhatItCannotPlayAndKeepsThePreviousWave) {
    const SWaveFormat format = Pcm(2, 22050, 16);
    const Bytes samples = Pattern(400);
    const Bytes fmt = Chunk("fmt ", FmtBody(format));
    Bytes rifx = MakeWav(format, samples);
    rifx[3] = 'X';
    Bytes notWave = MakeWav(format, samples);
    notWave[8] = 'A';
    Bytes upper = MakeWav(format, samples);
    upper[12] = 'F';
    Bytes cutInFormat = MakeWav(format, samples);
    cutInFormat.resize(30);
    Bytes cutInTag = MakeWav(format, samples);
    cutInTag.resize(38);
    Bytes cutInExtension = Riff({Chunk("fmt ", FmtBody(ExtensibleTag(format), Extensible(16, 1)))});
    cutInExtension.resize(50);
    const Bytes float32 =
        Riff({Chunk("fmt ", FmtBody(ExtensibleTag(Pcm(2, 44100, 32)), Extensible(32, 3))),
              Chunk("data", samples)});
    const Bytes dataFirst = Riff({Chunk("data", samples), fmt});
    const Bytes noData = Riff({fmt, Chunk("LIST", kInfo)});
    Bytes hugeChunk = Riff({fmt, Chunk("LIST", kInfo), Chunk("data", samples)});
    hugeChunk[40] = hugeChunk[41] = hugeChunk[42] = hugeChunk[43] = 0xFF;  // LIST's size

    const Bytes previous = Pattern(60, 7);
    CWaveData wave;
    Read(wave, MakeWav(Pcm(1, 8000, 8), previous));
    for (const Bytes* file : std::initializer_list<const Bytes*>{
             &rifx, &notWave, &upper, &cutInFormat, &cutInTag, &cutInExtension, &float32,
             &dataFirst, &noData, &hugeChunk}) {
        EXPECT_EQ(RejectionOf(wave, *file), FileErrorCause::kNotWave);
        EXPECT_EQ(wave.GetFormat(), Pcm(1, 8000, 8));
        EXPECT_EQ(SampleBytes(wave), previous);
    }
    EXPECT_EQ(RejectionOf(wave, Bytes{}), FileErrorCause::kNotWave);
    EXPECT_EQ(RejectionOf(wave, Bytes{'R', 'I', 'F', 'F'}), FileErrorCause::kNotWave);
}

TEST(WaveReader, DropsATrailingPartialBlockAndIgnoresBytesAfterTheData) {
    const SWaveFormat format = Pcm(2, 44100, 16);  // 4-byte blocks
    Bytes samples = Pattern(4098);
    Bytes file = MakeWav(format, samples);
    const Bytes trailer = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'a', 'b', 'c', 'd'};
    file.insert(file.end(), trailer.begin(), trailer.end());
    CWaveData wave;
    Read(wave, file);
    EXPECT_EQ(wave.Samples().Count(), 1024u);
    EXPECT_EQ(wave.GetDataLength(), 4096u);
    samples.resize(4096);
    EXPECT_EQ(SampleBytes(wave), samples);
}

TEST(WaveReader, AcceptsEmptyDataAndAZeroBlockAlignmentAsNoSamples) {
    CWaveData wave;
    Read(wave, MakeWav(Pcm(1, 8000, 16), {}));
    EXPECT_EQ(wave.GetDataLength(), 0u);
    EXPECT_EQ(wave.GetFormat(), Pcm(1, 8000, 16));

    SWaveFormat broken = Pcm(1, 8000, 16);
    broken.nBlockAlign = 0;
    Read(wave, MakeWav(broken, Pattern(300)));
    EXPECT_EQ(wave.GetFormat(), broken);
    EXPECT_EQ(wave.Samples().Count(), 0u);
    EXPECT_EQ(wave.GetDataLength(), 0u);
}

TEST(WaveReader, PlaysTheWholeBlocksOfAFileThatEndsBeforeItsDeclaredData) {
    const SWaveFormat mono8 = Pcm(1, 11025, 8);
    const SWaveFormat stereo16 = Pcm(2, 48000, 16);
    struct Case {
        const char* what;
        Bytes file;
        SWaveFormat format;
        Bytes played;
    };
    const Bytes data = Pattern(503, 9);
    const Case cases[] = {
        {"half the data", MakeWav(mono8, data, test::DeclaredLength(1000)), mono8, data},
        {"absurd length", MakeWav(mono8, data, test::DeclaredLength(0xFFFFFFFFu)), mono8, data},
        {"absurd length in whole blocks, partial block at the end",
         MakeWav(stereo16, data, test::DeclaredLength(0x7FFFFFFCu)), stereo16,
         Bytes(data.begin(), data.begin() + 500)},
        {"after other chunks, the file cut 100 bytes into the data",
         [&] {
             Bytes file = Riff({Chunk("fmt ", FmtBody(stereo16)), Chunk("LIST", kInfo),
                                Chunk("data", Bytes(data.begin(), data.begin() + 400))});
             file.resize(file.size() - 300);
             return file;
         }(),
         stereo16, Bytes(data.begin(), data.begin() + 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CWaveData wave;
        Read(wave, c.file);
        EXPECT_EQ(wave.GetFormat(), c.format);
        EXPECT_EQ(SampleBytes(wave), c.played);
    }
}

TEST(WaveReader, RefusesAFileThatEndsBeforeItsDataLength) {
    const Bytes previous = Pattern(60, 7);
    const SWaveFormat format = Pcm(1, 11025, 8);
    Bytes afterData = MakeWav(format, {});
    afterData.resize(40);  // nothing after "data", not even its length
    Bytes partLength = MakeWav(format, {});
    partLength.resize(42);
    for (const Bytes* file : {&afterData, &partLength}) {
        CWaveData wave;
        Read(wave, MakeWav(Pcm(1, 8000, 8), previous));
        EXPECT_EQ(RejectionOf(wave, *file), FileErrorCause::kNotWave);
        EXPECT_EQ(wave.GetFormat(), Pcm(1, 8000, 8));
        EXPECT_EQ(SampleBytes(wave), previous);
    }
}

TEST(WaveData, StartsAsEmptyPcmAndCopiesDeeply) {
    CWaveData empty;
    EXPECT_EQ(empty.GetFormat(), SWaveFormat{});
    EXPECT_EQ(empty.GetFormat().wFormatTag, kWaveFormatPcm);
    EXPECT_EQ(empty.GetDataLength(), 0u);

    const Bytes first = Pattern(1000, 1);
    CWaveData wave;
    Read(wave, MakeWav(Pcm(2, 8000, 16), first));
    CWaveData copy(wave);
    CWaveData assigned;
    assigned = wave;
    EXPECT_NE(copy.Samples().Data(), wave.Samples().Data());
    EXPECT_NE(assigned.Samples().Data(), wave.Samples().Data());

    Read(wave, MakeWav(Pcm(1, 44100, 8), Pattern(50, 2)));
    for (const CWaveData* w : {&copy, &assigned}) {
        EXPECT_EQ(w->GetFormat(), Pcm(2, 8000, 16));
        EXPECT_EQ(SampleBytes(*w), first);
    }
    const std::uint8_t* before = assigned.Samples().Data();
    CWaveData& self = assigned;
    assigned = self;
    EXPECT_EQ(assigned.Samples().Data(), before);
    EXPECT_EQ(SampleBytes(assigned), first);

    copy = empty;
    EXPECT_EQ(copy.GetDataLength(), 0u);
    EXPECT_EQ(copy.GetFormat(), SWaveFormat{});
}

TEST(SampleBuffer, CopyFromNeverWritesPastItsOwnSamples) {
    CSampleBuffer buffer;
    buffer.Allocate(4, 2);  // 8 bytes
    const Bytes source = Pattern(40);
    buffer.CopyFrom(source.data(), 10, 4);  // wants 4 samples of 4 bytes
    EXPECT_EQ(Bytes(buffer.Data(), buffer.Data() + 8), Bytes(source.begin(), source.begin() + 8));

    buffer.CopyFrom(source.data(), 1, 2);  // fewer samples: the rest is zeroed
    EXPECT_EQ(Bytes(buffer.Data(), buffer.Data() + 8),
              Bytes({source[0], source[1], 0, 0, 0, 0, 0, 0}));

    CSampleBuffer fresh;
    fresh.CopyFrom(source.data(), 5, 3);
    EXPECT_EQ(fresh.Count(), 5u);
    EXPECT_EQ(fresh.SampleSize(), 3u);
    EXPECT_EQ(Bytes(fresh.Data(), fresh.Data() + 15), Bytes(source.begin(), source.begin() + 15));
}

TEST(WaveData, LoadFileOpensThroughTheOpenerAndNamesThePathInErrors) {
    test::FakeFiles files;
    files.files["C:\\ding.wav"] = MakeWav(Pcm(1, 8000, 8), Pattern(10));
    files.files["C:\\bad.wav"] = Pattern(100);
    files.errors["C:\\locked.wav"] = FileErrorCause::kSharingViolation;
    CWaveData wave;
    wave.LoadFile("C:\\ding.wav", files);
    EXPECT_EQ(wave.GetDataLength(), 10u);

    auto causeOf = [&](std::string_view path) {
        try {
            wave.LoadFile(path, files);
        } catch (const CFileError& e) {
            EXPECT_EQ(e.Path(), path);
            return e.Cause();
        }
        return FileErrorCause::kGeneric;
    };
    EXPECT_EQ(causeOf("C:\\bad.wav"), FileErrorCause::kNotWave);
    EXPECT_EQ(causeOf("C:\\locked.wav"), FileErrorCause::kSharingViolation);
    EXPECT_EQ(causeOf("C:\\none.wav"), FileErrorCause::kFileNotFound);
}

TEST(FileErrorText, IsTheFixedSentenceForEachCause) {
    const std::pair<FileErrorCause, const char*> expected[] = {
        {FileErrorCause::kFileNotFound, "C:\\x y.wav was not found."},
        {FileErrorCause::kBadPath, "C:\\x y.wav contains an invalid path."},
        {FileErrorCause::kAccessDenied, "Access to C:\\x y.wav was denied."},
        {FileErrorCause::kSharingViolation,
         "A sharing violation occurred while accessing C:\\x y.wav."},
        {FileErrorCause::kTooManyOpenFiles,
         "C:\\x y.wav could not be opened because there are too many open files."},
        {FileErrorCause::kGeneric, "An unknown error occurred while accessing C:\\x y.wav."},
        {FileErrorCause::kInvalidFile, "An invalid file handle was associated with C:\\x y.wav."},
        {FileErrorCause::kNotWave, "C:\\x y.wav is not a WAVE file that Pausora can play."},
    };
    for (const auto& [cause, text] : expected) {
        EXPECT_EQ(FileErrorText(CFileError(cause, "C:\\x y.wav")), text);
    }
}

TEST(DefaultSounds, EveryDefaultAndFallbackFileShipsWithUsAndReadsAsASmallWave) {
    // scripts/run.sh puts res/sounds into the profile's Media folder: every
    // name the settings fall back to must be there, and read as a wave.
    for (const SoundEventInfo& event : SoundEvents()) {
        for (std::string_view under : {event.defaultFile, event.fallbackFile}) {
            SCOPED_TRACE(std::string(under));
            ASSERT_EQ(under.substr(0, 7), "\\Media\\");
            const std::filesystem::path path =
                std::filesystem::path(PAUSORA_SOUNDS_DIR) / std::string(under.substr(7));
            std::ifstream in(path, std::ios::binary);
            ASSERT_TRUE(in) << path;
            const Bytes file((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
            EXPECT_LT(file.size(), 50'000u);
            CWaveData wave;
            Read(wave, file);
            EXPECT_EQ(wave.GetFormat(), Pcm(1, 22050, 16));
            EXPECT_GT(wave.GetDataLength(), 22050u / 4);
        }
    }
}

}  // namespace
}  // namespace pausora
