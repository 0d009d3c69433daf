// The machine side of a sound set: files opened through the system, beeps
// and message boxes, and the waveOut device.
#pragma once

#include "sound/sound_set.h"
#include "sound/wave_file.h"
#include "sound/win_wave_out.h"

#include <windows.h>

#include <deque>
#include <string>
#include <utility>

namespace pausora {

// The message a failed open or read carries, by the system's error code.
FileErrorCause FileErrorCauseOf(DWORD systemError);

// Opens files with no sharing, so nobody rewrites a WAV while we read it.
class CWinFileOpener final : public IFileOpener {
  public:
    std::unique_ptr<IReadFile> OpenExclusive(std::string_view path) override;
};

class CWinSoundFeedback final : public ISoundFeedback {
  public:
    explicit CWinSoundFeedback(HWND owner = nullptr) : m_owner(owner) {}
    void SetOwner(HWND owner) { m_owner = owner; }
    // From now on a message is not shown where it arises but kept, and
    // `notify` is posted to the owner, which shows it with ShowNextMessage
    // once the step that asked for the sound has returned.
    void DeferMessages(UINT notify) { m_notify = notify; }
    // Shows the oldest kept message and returns true, or returns false when
    // none is waiting.
    bool ShowNextMessage();

    // On a thread of its own: the caller (a scheduler step) does not wait the
    // half second the fallback tones take. While one run of tones plays,
    // another request is dropped.
    void BeepTones(std::span<const std::uint32_t> frequencies, std::uint32_t milliseconds) override;
    void ShowMessage(std::string_view text, SoundMessageStyle style) override;
    std::string FileErrorText(const CFileError& error) const override;

    // What sounds one tone; the system's Beep unless a test listens instead.
    using ToneFunction = BOOL(WINAPI*)(DWORD frequency, DWORD milliseconds);
    void SetToneFunction(ToneFunction tone) { m_tone = tone; }

  private:
    void Show(std::string text, SoundMessageStyle style) const;

    ToneFunction m_tone = &::Beep;
    HWND m_owner;
    UINT m_notify = 0;
    std::deque<std::pair<std::string, SoundMessageStyle>> m_waiting;
};

// Everything one owner of sounds needs, ready to play.
class CWinSoundSet {
  public:
    explicit CWinSoundSet(RefusedFormat onRefused, HWND owner = nullptr,
                          LoadErrors loadErrors = LoadErrors::kReportEach)
        : m_feedback(owner), m_set(m_out, m_files, m_feedback, onRefused, loadErrors) {}

    // The window that owns the message boxes.
    void SetOwner(HWND owner) { m_feedback.SetOwner(owner); }
    CWinSoundFeedback& Feedback() { return m_feedback; }
    void PlaySoundFile(std::string_view path) { m_set.PlaySoundFile(path); }
    CSoundSet& Set() { return m_set; }
    // For a caller that loads and checks a file itself.
    IFileOpener& Files() { return m_files; }
    IWaveOut& Out() { return m_out; }

  private:
    // Declared before the set: the stream must be closed before these go.
    CWinWaveOut m_out;
    CWinFileOpener m_files;
    CWinSoundFeedback m_feedback;
    CSoundSet m_set;
};

}  // namespace pausora
