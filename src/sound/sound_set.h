// What an owner of sounds holds (the main window, the Sounds page): the wave
// it loaded last, the device, and a stream. Each owner has a set of its own.
#pragma once

#include "sound/audio_device.h"
#include "sound/audio_stream.h"
#include "sound/wave_data.h"
#include "sound/wave_file.h"
#include "sound/wave_out.h"

#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace pausora {

// How a message about a sound file is shown.
enum class SoundMessageStyle {
    kFileError,    // stop icon
    kOutOfMemory,  // exclamation icon, system-modal
};

// The parts of the user's machine a play request reaches besides the device.
class ISoundFeedback {
  public:
    virtual ~ISoundFeedback() = default;
    // Sounds the tones one after the other. A machine may play them in the
    // background and return at once.
    virtual void BeepTones(std::span<const std::uint32_t> frequencies,
                           std::uint32_t milliseconds) = 0;
    virtual void ShowMessage(std::string_view text, SoundMessageStyle style) = 0;
    // The message of a file that could not be loaded, in the user's language.
    virtual std::string FileErrorText(const CFileError& error) const {
        return pausora::FileErrorText(error);
    }
};

// What to do with a file whose format the device refuses.
enum class RefusedFormat {
    kBeep,     // the main window: the user still hears that something happened
    kSilence,  // the Sounds page: its Browse button refused the file already
};

// How often a file that cannot be loaded is reported.
enum class LoadErrors {
    kReportEach,         // the Sounds page: the user has just chosen or played it
    kReportOncePerPath,  // the main window: once per run, then the fallback beeps
};

class CSoundSet {
  public:
    CSoundSet(IWaveOut& out, IFileOpener& files, ISoundFeedback& feedback, RefusedFormat onRefused,
              LoadErrors loadErrors = LoadErrors::kReportEach);

    // Stops whatever plays, loads the file and starts it; returns as soon as
    // the first blocks are queued. A file that cannot be loaded is reported
    // through the feedback; one already reported once (kReportOncePerPath)
    // plays the fallback beeps instead.
    void PlaySoundFile(std::string_view path);
    // Ten short tones, rising, for a sound the device cannot play.
    void PlayFallbackBeeps();

    CWaveData& Wave() { return m_wave; }
    CAudioDevice& Device() { return m_device; }
    CAudioStream& Stream() { return m_stream; }

  private:
    enum class LoadResult { kLoaded, kReported, kReportedBefore };
    LoadResult Load(std::string_view path);

    IWaveOut& m_out;
    IFileOpener& m_files;
    ISoundFeedback& m_feedback;
    RefusedFormat m_onRefused;
    LoadErrors m_loadErrors;
    std::set<std::string, std::less<>> m_reportedPaths;
    CWaveData m_wave;
    CAudioDevice m_device{kWaveMapper};
    CAudioStream m_stream;
};

}  // namespace pausora
