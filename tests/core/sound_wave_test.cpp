// The WAVE reader: the one layout it accepts, everything it refuses, and the
// copies the player makes of a wave.
#include "core/sound_fakes.h"
#include "sound/wave_data.h"

#include <gtest/gtest.h>

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
    CMemoryFile f(file);
    wave.ReadFrom(f, path);
}

FileErrorCause RejectionOf(CWaveData& wave, const Bytes& file) {
    try {
        Read(wave, file);
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Path(), "C:\\a.wav");
        EXPECT_EQ(e.OsError(), -1);
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

TEST(WaveReader, RefusesEveryOtherLayoutAndKeepsThePreviousWave) {
    const SWaveFormat format = Pcm(2, 22050, 16);
    const Bytes samples = Pattern(400);
    Bytes fmt18 = MakeWav(format, samples, test::FmtSize(18, {0, 0}));
    Bytes list = MakeWav(format, samples, test::ChunkBeforeData("LIST"));
    Bytes fact = MakeWav(format, samples, test::ChunkBeforeData("fact"));
    Bytes rifx = MakeWav(format, samples);
    rifx[3] = 'X';
    Bytes noBlank = MakeWav(format, samples);
    noBlank[15] = '_';
    Bytes upper = MakeWav(format, samples);
    upper[12] = 'F';
    Bytes cutInFormat = MakeWav(format, samples);
    cutInFormat.resize(30);
    Bytes cutInTag = MakeWav(format, samples);
    cutInTag.resize(38);

    const Bytes previous = Pattern(60, 7);
    CWaveData wave;
    Read(wave, MakeWav(Pcm(1, 8000, 8), previous));
    for (const Bytes* file :
         {&fmt18, &list, &fact, &rifx, &noBlank, &upper, &cutInFormat, &cutInTag}) {
        EXPECT_EQ(RejectionOf(wave, *file), FileErrorCause::kInvalidFile);
        EXPECT_EQ(wave.GetFormat(), Pcm(1, 8000, 8));
        EXPECT_EQ(SampleBytes(wave), previous);
    }
    EXPECT_EQ(RejectionOf(wave, Bytes{}), FileErrorCause::kInvalidFile);
    EXPECT_EQ(RejectionOf(wave, Bytes{'R', 'I', 'F', 'F'}), FileErrorCause::kInvalidFile);
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

TEST(WaveReader, RefusesAFileThatEndsBeforeItsDeclaredData) {
    const Bytes previous = Pattern(60, 7);
    const SWaveFormat format = Pcm(1, 11025, 8);
    struct Case {
        Bytes file;
        const char* what;
        SWaveFormat format;
    };
    Bytes afterData = MakeWav(format, {});
    afterData.resize(40);  // nothing after "data", not even its length
    Bytes partLength = MakeWav(format, {});
    partLength.resize(42);
    const Case cases[] = {
        {MakeWav(format, Pattern(500), test::DeclaredLength(1000)), "half the data", format},
        {MakeWav(format, Pattern(10), test::DeclaredLength(0xFFFFFFFFu)), "absurd length", format},
        {MakeWav(Pcm(2, 48000, 16), Pattern(10), test::DeclaredLength(0x7FFFFFFCu)),
         "absurd length in whole blocks", Pcm(2, 48000, 16)},
        {afterData, "ends after the data tag", format},
        {partLength, "ends inside the data length", format},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CWaveData wave;
        Read(wave, MakeWav(Pcm(1, 8000, 8), previous));
        EXPECT_EQ(RejectionOf(wave, c.file), FileErrorCause::kInvalidFile);
        // The header was read, so the new format is taken; what the wave would
        // play is still only bytes some file really held.
        EXPECT_EQ(wave.GetFormat(), c.format);
        EXPECT_LE(wave.GetDataLength(), wave.Samples().ByteLength());
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
    EXPECT_EQ(causeOf("C:\\bad.wav"), FileErrorCause::kInvalidFile);
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
    };
    for (const auto& [cause, text] : expected) {
        EXPECT_EQ(FileErrorText(CFileError(cause, "C:\\x y.wav")), text);
    }
}

}  // namespace
}  // namespace pausora
