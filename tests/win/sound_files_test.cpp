// Loading WAV files through the system: exclusive opens, the message for each
// kind of failure, and what the main window does on a machine without sound.
#include "sound/win_sound.h"
#include "win/sound_wav.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace pausora::test {
namespace {

std::string LoadError(const std::string& path) {
    CWinFileOpener files;
    CWaveData wave;
    try {
        wave.LoadFile(path, files);
    } catch (const CFileError& error) {
        return FileErrorText(error);
    }
    return "loaded";
}

TEST(SoundFiles, AreReadWholeAndHeldExclusivelyWhileOpen) {
    const std::string path = TempPath("pausora-load.wav");
    const Bytes samples = AudibleSamples(30001 * 4, 16, 3);
    WriteFileBytes(path, CanonicalWav({2, 44100, 16}, samples));

    CWinFileOpener files;
    CWaveData wave;
    wave.LoadFile(path, files);
    EXPECT_EQ(wave.GetFormat().nSamplesPerSec, 44100u);
    ASSERT_EQ(wave.GetDataLength(), samples.size());
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), wave.Samples().Data()));

    // While we read, nobody else may open the file, not even only to read.
    std::unique_ptr<IReadFile> open = files.OpenExclusive(path);
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    // And a file someone else holds is reported as such.
    EXPECT_EQ(LoadError(path), "A sharing violation occurred while accessing " + path + ".");
    open.reset();
    EXPECT_EQ(LoadError(path), "loaded");
    ::DeleteFileA(path.c_str());
}

TEST(SoundFiles, EachFailureGetsItsOwnMessage) {
    const std::string dir = TempPath("");
    EXPECT_EQ(LoadError(dir + "pausora-none.wav"), dir + "pausora-none.wav was not found.");
    EXPECT_EQ(LoadError(dir + "no-such-folder\\a.wav"),
              dir + "no-such-folder\\a.wav contains an invalid path.");
    EXPECT_EQ(LoadError(dir + "a<b.wav"), dir + "a<b.wav contains an invalid path.");

    // A file that stops short of its declared samples plays what it holds;
    // one that is no wave at all says so in plain words.
    const std::string cut = TempPath("pausora-cut.wav");
    Bytes file = CanonicalWav({1, 8000, 8}, AudibleSamples(1000, 8, 1));
    file.resize(500);
    WriteFileBytes(cut, file);
    EXPECT_EQ(LoadError(cut), "loaded");
    file[0] = 'X';
    WriteFileBytes(cut, file);
    EXPECT_EQ(LoadError(cut), cut + " is not a WAVE file that Pausora can play.");
    ::DeleteFileA(cut.c_str());

    EXPECT_EQ(FileErrorCauseOf(ERROR_ACCESS_DENIED), FileErrorCause::kAccessDenied);
    EXPECT_EQ(FileErrorCauseOf(ERROR_TOO_MANY_OPEN_FILES), FileErrorCause::kTooManyOpenFiles);
    EXPECT_EQ(FileErrorCauseOf(ERROR_CRC), FileErrorCause::kGeneric);
}

TEST(SoundFiles, WithoutASoundDeviceTheMainWindowBeepsAndTheSoundsPageStaysSilent) {
    if (::waveOutGetNumDevs() != 0) {
        GTEST_SKIP() << "this machine has a sound device";
    }
    const std::string path = TempPath("pausora-nodevice.wav");
    WriteFileBytes(path, CanonicalWav({1, 22050, 16}, AudibleSamples(2000, 16, 2)));
    CWinWaveOut mainOut;
    CWinWaveOut pageOut;
    CWinFileOpener files;
    RecordingFeedback mainWindow;
    RecordingFeedback soundsPage;
    {
        CSoundSet main(mainOut, files, mainWindow, RefusedFormat::kBeep);
        main.PlaySoundFile(path);
        CSoundSet page(pageOut, files, soundsPage, RefusedFormat::kSilence);
        page.PlaySoundFile(path);
        EXPECT_FALSE(main.Stream().IsOpen());
    }
    EXPECT_EQ(mainWindow.tones,
              (std::vector<std::uint32_t>{100, 200, 300, 400, 600, 700, 800, 900, 1000, 1100}));
    EXPECT_TRUE(mainWindow.messages.empty());
    EXPECT_TRUE(soundsPage.tones.empty());
    EXPECT_TRUE(soundsPage.messages.empty());
    ::DeleteFileA(path.c_str());
}

// The main window's tones (half a second of them) play beside its thread: the
// step that asked goes on at once, and a second request while they play is
// not queued up behind them.
std::atomic<int> g_tonesHeard{0};
std::atomic<DWORD> g_toneThread{0};
BOOL WINAPI SlowTone(DWORD, DWORD milliseconds) {
    ::Sleep(milliseconds);
    g_toneThread = ::GetCurrentThreadId();
    ++g_tonesHeard;
    return TRUE;
}

TEST(SoundFiles, TheFallbackTonesDoNotHoldUpTheWindowThread) {
    CWinSoundFeedback feedback;
    feedback.SetToneFunction(&SlowTone);
    CWinWaveOut out;
    CWinFileOpener files;
    CSoundSet set(out, files, feedback, RefusedFormat::kBeep);
    const DWORD start = ::GetTickCount();
    set.PlayFallbackBeeps();
    set.PlayFallbackBeeps();
    EXPECT_LT(::GetTickCount() - start, 100u);
    for (int i = 0; i < 100 && g_tonesHeard < 10; ++i) {
        ::Sleep(20);
    }
    ::Sleep(200);
    EXPECT_EQ(g_tonesHeard, 10);
    EXPECT_NE(g_toneThread, ::GetCurrentThreadId());
}

}  // namespace
}  // namespace pausora::test

namespace pausora::test {
namespace {

// Finds the message box a thread of ours opened, returns its text and closes it.
std::string TakeMessageBox(DWORD threadId) {
    struct Search {
        DWORD thread;
        HWND found;
    } search{threadId, nullptr};
    for (int i = 0; i < 500 && search.found == nullptr; ++i) {
        ::Sleep(10);
        ::EnumThreadWindows(
            threadId,
            [](HWND window, LPARAM param) -> BOOL {
                char title[64] = {};
                ::GetWindowTextA(window, title, sizeof title);
                if (std::string(title) == "Pausora") {
                    reinterpret_cast<Search*>(param)->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    if (search.found == nullptr) {
        return "no message box";
    }
    char text[512] = {};
    ::GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    ::PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    return text;
}

TEST(SoundMessages, AMissingFileIsReportedInAMessageBoxNamingIt) {
    CWinSoundSet sounds(RefusedFormat::kBeep);
    const std::string path = TempPath("pausora-absent.wav");
    std::atomic<DWORD> threadId = 0;
    std::thread request([&] {
        threadId = ::GetCurrentThreadId();
        sounds.PlaySoundFile(path);
    });
    while (threadId == 0) {
        ::Sleep(1);
    }
    EXPECT_EQ(TakeMessageBox(threadId), path + " was not found.");
    request.join();
    EXPECT_FALSE(sounds.Set().Stream().IsOpen());
}

}  // namespace
}  // namespace pausora::test
