#include "sound/sound_set.h"

#include <array>
#include <new>
#include <string>

namespace pausora {

CSoundSet::CSoundSet(IWaveOut& out, IFileOpener& files, ISoundFeedback& feedback,
                     RefusedFormat onRefused, LoadErrors loadErrors)
    : m_out(out),
      m_files(files),
      m_feedback(feedback),
      m_onRefused(onRefused),
      m_loadErrors(loadErrors),
      m_stream(out) {}

CSoundSet::LoadResult CSoundSet::Load(std::string_view path) {
    std::string text;
    SoundMessageStyle style = SoundMessageStyle::kFileError;
    try {
        m_wave.LoadFile(path, m_files);
        return LoadResult::kLoaded;
    } catch (const CFileError& error) {
        text = m_feedback.FileErrorText(error);
    } catch (const std::bad_alloc&) {
        text = kOutOfMemoryText;
        style = SoundMessageStyle::kOutOfMemory;
    }
    if (m_loadErrors == LoadErrors::kReportOncePerPath && !m_reportedPaths.emplace(path).second) {
        return LoadResult::kReportedBefore;
    }
    m_feedback.ShowMessage(text, style);
    return LoadResult::kReported;
}

void CSoundSet::PlaySoundFile(std::string_view path) {
    m_stream.CloseOutput();
    switch (Load(path)) {
        case LoadResult::kLoaded:
            break;
        case LoadResult::kReported:
            return;
        case LoadResult::kReportedBefore:
            // The user knows about the file; the event is still heard.
            PlayFallbackBeeps();
            return;
    }
    if (!m_device.CanPlayFormat(m_wave, m_out)) {
        if (m_onRefused == RefusedFormat::kBeep) {
            PlayFallbackBeeps();
        }
        return;
    }
    // A device that will not open or a block that will not queue leaves the
    // request silent; the stream keeps the code for whoever asks.
    m_stream.AssignWave(m_wave);
    m_stream.AssignDevice(m_device);
    m_stream.OpenOutput();
    m_stream.StartPlayback();
}

void CSoundSet::PlayFallbackBeeps() {
    // Four rising tones, a step left out, then six more.
    static constexpr std::array<std::uint32_t, 10> kTones = {100, 200, 300, 400,  600,
                                                             700, 800, 900, 1000, 1100};
    m_feedback.BeepTones(kTones, 50);
}

}  // namespace pausora
