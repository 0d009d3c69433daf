#include "sound/win_wave_out.h"

#include <mmreg.h>

#include <future>
#include <iterator>

namespace pausora {

namespace {

// Posted by the system's callback to our completion thread: the handle in
// wParam, the finished WAVEHDR in lParam.
constexpr UINT kBlockDoneMessage = WM_APP + 1;

// The record the device is asked with. Plain PCM of one or two channels and
// 8 or 16 bits is what every driver has always read; for more channels or
// deeper samples Windows wants the extensible record with the PCM sub-format
// (some drivers take the plain one, others refuse it). Only the extensible
// form carries the speakers, so we name the usual ones for the count.
WAVEFORMATEXTENSIBLE ToSystem(const SWaveFormat& format) {
    WAVEFORMATEXTENSIBLE wf{};
    wf.Format.wFormatTag = format.wFormatTag;
    wf.Format.nChannels = format.nChannels;
    wf.Format.nSamplesPerSec = format.nSamplesPerSec;
    wf.Format.nAvgBytesPerSec = format.nAvgBytesPerSec;
    wf.Format.nBlockAlign = format.nBlockAlign;
    wf.Format.wBitsPerSample = format.wBitsPerSample;
    wf.Format.cbSize = 0;
    if (format.wFormatTag == WAVE_FORMAT_PCM &&
        (format.nChannels > 2 || format.wBitsPerSample > 16)) {
        static constexpr DWORD kSpeakers[] = {
            0,
            SPEAKER_FRONT_CENTER,
            SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT,
            SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER,
            SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT,
            SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER | SPEAKER_BACK_LEFT |
                SPEAKER_BACK_RIGHT,
            SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT | SPEAKER_FRONT_CENTER |
                SPEAKER_LOW_FREQUENCY | SPEAKER_BACK_LEFT | SPEAKER_BACK_RIGHT,
        };
        wf.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
        wf.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
        wf.Samples.wValidBitsPerSample = format.wBitsPerSample;
        wf.dwChannelMask =
            format.nChannels < std::size(kSpeakers) ? kSpeakers[format.nChannels] : 0;
        // KSDATAFORMAT_SUBTYPE_PCM, spelt out to spare a GUID library.
        wf.SubFormat = {
            0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    }
    return wf;
}

HWAVEOUT ToSystem(WaveOutHandle handle) {
    return reinterpret_cast<HWAVEOUT>(handle);
}

}  // namespace

CWinWaveOut::~CWinWaveOut() {
    if (m_thread.joinable()) {
        ::PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }
}

// The thread is started by the first device opened: most owners live a long
// time before their first sound, and some never play one.
void CWinWaveOut::StartCompletionThread() {
    if (m_thread.joinable()) {
        return;
    }
    std::promise<DWORD> started;
    std::future<DWORD> id = started.get_future();
    m_thread = std::thread([this, &started] {
        // Touching the queue creates it; only then may the callback post to us.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
        started.set_value(::GetCurrentThreadId());
        CompletionLoop();
    });
    m_threadId = id.get();
}

void CWinWaveOut::CompletionLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != kBlockDoneMessage) {
            continue;
        }
        const auto* finished = reinterpret_cast<const WAVEHDR*>(msg.lParam);
        SWaveHeader* header = nullptr;
        {
            std::lock_guard lock(m_slotsLock);
            for (const Slot& slot : m_slots) {
                if (&slot.system == finished && slot.header != nullptr) {
                    // The device has given the block back: nobody else writes
                    // its header now.
                    header = slot.header;
                    header->flags = slot.system.dwFlags;
                    break;
                }
            }
        }
        // Without our lock: the stream takes its own and calls back into us
        // to release the block and queue the next one. The header names the
        // stream that queued it.
        if (header != nullptr && header->user != nullptr) {
            header->user->OnBlockDone(static_cast<WaveOutHandle>(msg.wParam), kWomDone, header);
        }
    }
}

void CALLBACK CWinWaveOut::OnDeviceMessage(HWAVEOUT out, UINT message, DWORD_PTR instance,
                                           DWORD_PTR param1, DWORD_PTR) {
    // Posting a thread message is one of the few things allowed in here.
    if (message == WOM_DONE && instance != 0) {
        const auto* self = reinterpret_cast<const CWinWaveOut*>(instance);
        ::PostThreadMessageW(self->m_threadId, kBlockDoneMessage, reinterpret_cast<WPARAM>(out),
                             static_cast<LPARAM>(param1));
    }
}

CWinWaveOut::Slot* CWinWaveOut::SlotFor(SWaveHeader& header, bool claim) {
    Slot* free = nullptr;
    for (Slot& slot : m_slots) {
        if (slot.header == &header) {
            return &slot;
        }
        if (slot.header == nullptr && free == nullptr) {
            free = &slot;
        }
    }
    if (!claim || free == nullptr) {
        return nullptr;
    }
    free->header = &header;
    return free;
}

WaveResult CWinWaveOut::QueryFormat(std::uint32_t device, const SWaveFormat& format) {
    WAVEFORMATEXTENSIBLE wf = ToSystem(format);
    return ::waveOutOpen(nullptr, device, &wf.Format, 0, 0, WAVE_FORMAT_QUERY);
}

WaveResult CWinWaveOut::Open(std::uint32_t device, const SWaveFormat& format,
                             CAudioStream& /*stream*/, WaveOutHandle& handle) {
    StartCompletionThread();
    WAVEFORMATEXTENSIBLE wf = ToSystem(format);
    {
        // Whatever an earlier, now closed, output held is void.
        std::lock_guard lock(m_slotsLock);
        m_slots = {};
    }
    HWAVEOUT out = nullptr;
    const MMRESULT result =
        ::waveOutOpen(&out, device, &wf.Format, reinterpret_cast<DWORD_PTR>(&OnDeviceMessage),
                      reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result == MMSYSERR_NOERROR) {
        handle = reinterpret_cast<WaveOutHandle>(out);
    }
    return result;
}

WaveResult CWinWaveOut::Prepare(WaveOutHandle handle, SWaveHeader& header) {
    std::lock_guard lock(m_slotsLock);
    Slot* slot = SlotFor(header, true);
    if (slot == nullptr) {
        return MMSYSERR_NOMEM;
    }
    if ((slot->system.dwFlags & (WHDR_PREPARED | WHDR_INQUEUE)) != 0) {
        // The device still has the system's header of this slot; filling it
        // afresh would pull it out from under the driver.
        return WAVERR_STILLPLAYING;
    }
    slot->system = WAVEHDR{};
    // The system never writes through an output block's data pointer.
    slot->system.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(header.data));
    slot->system.dwBufferLength = header.length;
    slot->system.dwFlags = header.flags;
    slot->system.dwUser = reinterpret_cast<DWORD_PTR>(header.user);
    return ::waveOutPrepareHeader(ToSystem(handle), &slot->system, sizeof(WAVEHDR));
}

WaveResult CWinWaveOut::CallWithPrepared(HeaderCall call, WaveOutHandle handle,
                                         SWaveHeader& header) {
    std::lock_guard lock(m_slotsLock);
    Slot* slot = SlotFor(header, false);
    if (slot == nullptr) {
        return WAVERR_UNPREPARED;
    }
    return call(ToSystem(handle), &slot->system, sizeof(WAVEHDR));
}

WaveResult CWinWaveOut::Unprepare(WaveOutHandle handle, SWaveHeader& header) {
    return CallWithPrepared(&::waveOutUnprepareHeader, handle, header);
}

WaveResult CWinWaveOut::Write(WaveOutHandle handle, SWaveHeader& header) {
    return CallWithPrepared(&::waveOutWrite, handle, header);
}

WaveResult CWinWaveOut::Reset(WaveOutHandle handle) {
    return ::waveOutReset(ToSystem(handle));
}

WaveResult CWinWaveOut::Close(WaveOutHandle handle) {
    return ::waveOutClose(ToSystem(handle));
}

}  // namespace pausora
