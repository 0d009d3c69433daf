// The waveform output calls over the system's waveOut functions. The system
// reports finished blocks on a thread of its own where no waveform call may be
// made; this class carries each report to a thread of ours and hands it to
// the stream there. The thread comes with the first open device.
#pragma once

#include "sound/audio_stream.h"
#include "sound/wave_out.h"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <mutex>
#include <thread>

namespace pausora {

class CWinWaveOut final : public IWaveOut {
  public:
    // Every stream that used this output must be closed by now.
    ~CWinWaveOut() override;

    WaveResult QueryFormat(std::uint32_t device, const SWaveFormat& format) override;
    WaveResult Open(std::uint32_t device, const SWaveFormat& format, CAudioStream& stream,
                    WaveOutHandle& handle) override;
    WaveResult Prepare(WaveOutHandle handle, SWaveHeader& header) override;
    WaveResult Unprepare(WaveOutHandle handle, SWaveHeader& header) override;
    WaveResult Write(WaveOutHandle handle, SWaveHeader& header) override;
    WaveResult Reset(WaveOutHandle handle) override;
    WaveResult Close(WaveOutHandle handle) override;

  private:
    // The system's header behind each of the stream's headers.
    struct Slot {
        SWaveHeader* header = nullptr;
        WAVEHDR system{};
    };

    static void CALLBACK OnDeviceMessage(HWAVEOUT out, UINT message, DWORD_PTR instance,
                                         DWORD_PTR param1, DWORD_PTR param2);
    void StartCompletionThread();
    void CompletionLoop();
    // The slot of a header seen before; a free one is claimed only to prepare.
    Slot* SlotFor(SWaveHeader& header, bool claim);
    // Hands the system's header of a prepared block to a wave-out call that
    // takes one (unpreparing or writing); WAVERR_UNPREPARED for a block
    // never prepared.
    using HeaderCall = MMRESULT(WINAPI*)(HWAVEOUT, LPWAVEHDR, UINT);
    WaveResult CallWithPrepared(HeaderCall call, WaveOutHandle handle, SWaveHeader& header);

    // The completion thread and the stream's own thread both look up slots;
    // the lock covers them, never a call into the stream (which has a lock
    // of its own that is always taken first).
    std::mutex m_slotsLock;
    std::array<Slot, CAudioStream::kHeaderCount> m_slots{};
    DWORD m_threadId = 0;
    std::thread m_thread;
};

}  // namespace pausora
