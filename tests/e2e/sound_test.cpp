// The whole program with sounds on, as a newcomer gets it: our own event
// sounds in C:\windows\Media, where the default settings look for them, and
// Wine's audio going into files (tests/win/audio_capture.sh) so that we can
// hear what was played.
#include "e2e/fixture.h"
#include "store/time_settings.h"
#include "win/sound_wav.h"
#include "ui/utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace pausora::test {
namespace {

std::string MediaFolder() {
    char root[MAX_PATH] = {};
    ::GetEnvironmentVariableA("SYSTEMROOT", root, MAX_PATH);
    return std::string(root) + "\\Media\\";
}

// The sounds of the source tree (res/sounds), by their place in the
// host's file system as Wine shows it on drive Z.
std::string SourceSound(const char* name) {
    std::string path = std::string("Z:") + PAUSORA_SOUNDS_DIR + "/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The samples of one of our canonical WAV files, without the silent samples
// at either end (a capture cannot tell those from the padding around them).
Bytes AudibleSamplesOf(const Bytes& wav) {
    auto begin = wav.begin() + 44;
    auto end = wav.end();
    while (end - begin >= 2 && begin[0] == 0 && begin[1] == 0) {
        begin += 2;
    }
    while (end - begin >= 2 && end[-1] == 0 && end[-2] == 0) {
        end -= 2;
    }
    return Bytes(begin, end);
}

bool Contains(const Bytes& capture, const Bytes& samples) {
    return !samples.empty() && capture.size() > 44 &&
           std::search(capture.begin() + 44, capture.end(), samples.begin(), samples.end()) !=
               capture.end();
}

// Reads the raw bytes of a value, as the installer left them.
std::vector<BYTE> RawValue(const wchar_t* key, const wchar_t* name) {
    std::vector<BYTE> bytes(4096);
    DWORD size = static_cast<DWORD>(bytes.size());
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, nullptr,
                       bytes.data(), &size) != ERROR_SUCCESS) {
        return {};
    }
    bytes.resize(size);
    return bytes;
}

// The words a window of the program carries as its name.
std::string WindowName(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return Narrow(text);
}

class SoundTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_FALSE(CaptureBase().empty()) << "run through tests/win/audio_capture.sh";
        // What scripts/run.sh does for a fresh profile.
        ::CreateDirectoryA(MediaFolder().c_str(), nullptr);
        for (const char* name : {"ding.wav", "chimes.wav", "tada.wav", "notify.wav"}) {
            // A new file, never written through: the prefix may share its files
            // with others by hard links.
            ::DeleteFileA((MediaFolder() + name).c_str());
            ASSERT_TRUE(
                ::CopyFileA(SourceSound(name).c_str(), (MediaFolder() + name).c_str(), TRUE))
                << SourceSound(name);
        }
        TakeCaptures();
        Set("UseSounds", 1);
    }

    // A short break every 3 seconds that sounds `path` at its start and end.
    void ShortBreaksSounding(const std::string& path, std::uint32_t lengthSeconds) {
        ShortBreaks(3, lengthSeconds);
        Set("MicropauseSound", path);
        Set("EndMicropauseSound", path);
    }

    // One break comes, ends and earns its two points, with no message box
    // holding the schedule up on the way; then Exit closes the device and
    // its capture, one capture per opening of the device.
    std::vector<Bytes> CapturesOfOneBreak() {
        EXPECT_TRUE(WaitFor(kTimeoutMs, [&] { return Bonus() == 102; })) << "Bonus " << Bonus();
        EXPECT_FALSE(m_program.ShowsADialog()) << "a message box is open";
        EXPECT_TRUE(Exit());
        return TakeCaptures();
    }
};

TEST_F(SoundTest, AShortBreakPlaysTheDefaultDingAndItsEndTheDefaultChimes) {
    // A short break every 3 seconds, 2 seconds long, with the sounds a fresh
    // installation chooses for its start and its end (ding and chimes).
    ShortBreaks(3);
    for (const SoundEventInfo& event : SoundEvents()) {
        Set(event.valueName, MediaFolder() + std::string(event.defaultFile.substr(7)));
    }
    ASSERT_NO_FATAL_FAILURE(Start());

    // The ding, then the chimes.
    const std::vector<Bytes> captures = CapturesOfOneBreak();
    ASSERT_GE(captures.size(), 2u);
    const Bytes ding = AudibleSamplesOf(
        ReadFileBytes(m_store.String(reg::kSettingsKey, "MicropauseSound").value_or("")));
    const Bytes chimes = AudibleSamplesOf(
        ReadFileBytes(m_store.String(reg::kSettingsKey, "EndMicropauseSound").value_or("")));
    ASSERT_GT(ding.size(), 10000u);
    ASSERT_GT(chimes.size(), 10000u);
    EXPECT_TRUE(Contains(captures[0], ding)) << "the break did not sound ding.wav";
    EXPECT_TRUE(Contains(captures[1], chimes)) << "the break's end did not sound chimes.wav";
    EXPECT_FALSE(Contains(captures[0], chimes));
}

TEST_F(SoundTest, AFileWrittenByAnEditorPlaysWithoutAMessage) {
    // An INFO list, an 18-byte format and a fact chunk around the samples.
    const PcmShape shape{2, 22050, 16};
    const Bytes samples = AudibleSamples(shape.BlockAlign() * 8000u, shape.bits, 5);
    const std::string path = MediaFolder() + "pausora-editor.wav";
    WriteFileBytes(path, EditorWav(shape, samples, false));
    ShortBreaksSounding(path, 2);
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::vector<Bytes> captures = CapturesOfOneBreak();
    ASSERT_GE(captures.size(), 2u);
    EXPECT_TRUE(Contains(captures[0], samples));
    EXPECT_TRUE(Contains(captures[1], samples));
    ::DeleteFileA(path.c_str());
}

// A profile named in letters the system's 8-bit code page lacks (Cyrillic and
// Greek on a Western-European Windows): the program installed in it, and a
// sound named so, work as anywhere else, and nothing the installer wrote is
// written back.
TEST_F(SoundTest, AFolderAndASoundNamedBeyondTheCodePageWorkAndKeepTheirNames) {
    ASSERT_EQ(::GetACP(), 1252u) << "the prefix should have a Western-European code page";
    wchar_t local[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    // "Пауза Ωμέγα"
    const std::wstring folder = std::wstring(local) +
                                L"\\Programs\\\u041F\u0430\u0443\u0437\u0430 "
                                L"\u03A9\u03BC\u03AD\u03B3\u03B1\\";
    ::CreateDirectoryW((std::wstring(local) + L"\\Programs").c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"Pausora.exe", L"InputWatch.dll", L"all.txt"}) {
        ASSERT_TRUE(
            ::CopyFileW((Widen(Program::Folder()) + name).c_str(), (folder + name).c_str(), FALSE))
            << Narrow(name);
    }
    const std::string sound = Narrow(folder + L"\u0437\u0432\u0443\u043A \u03C9.wav");
    const PcmShape shape{1, 22050, 16};
    const Bytes samples = AudibleSamples(shape.BlockAlign() * 8000u, shape.bits, 9);
    WriteFileBytes(sound, CanonicalWav(shape, samples));

    // What the installer writes: the folder with its separator and the zero.
    const std::wstring settingsKey = Widen(reg::kAppKey);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, settingsKey.c_str(), L"InstallDir", REG_SZ,
                                folder.c_str(),
                                static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const std::vector<BYTE> installDir = RawValue(settingsKey.c_str(), L"InstallDir");
    ShortBreaksSounding(sound, 3);

    ASSERT_TRUE(m_program.Start(Narrow(folder + L"Pausora.exe")));
    m_main = m_program.WaitForMainWindow(kTimeoutMs);
    ASSERT_NE(m_main, nullptr);
    // The notice carries a saying from the tips file in that folder: a line
    // of its own beneath the title and the link.
    std::string words;
    EXPECT_TRUE(WaitFor(kTimeoutMs,
                        [&] {
                            const HWND notice = Popup();
                            words = notice != nullptr ? WindowName(notice) : "";
                            return std::count(words.begin(), words.end(), '\n') >= 2;
                        }))
        << "no saying on the notice: " << words;
    const std::vector<Bytes> captures = CapturesOfOneBreak();
    ASSERT_GE(captures.size(), 2u);
    EXPECT_TRUE(Contains(captures[0], samples)) << "the break's sound was not heard";
    EXPECT_EQ(RawValue(settingsKey.c_str(), L"InstallDir"), installDir);
    EXPECT_EQ(m_store.String(reg::kRunKey, reg::kRunValue),
              "\"" + Narrow(folder) + "Pausora.exe\"");
    EXPECT_EQ(m_store.String(reg::kSettingsKey, "MicropauseSound"), sound);
}

}  // namespace
}  // namespace pausora::test

int main(int argc, char** argv) {
    pausora::test::UseAlsaForTheCapture();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
