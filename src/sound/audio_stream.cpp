#include "sound/audio_stream.h"

#include <algorithm>
#include <new>

namespace pausora {

CAudioStream::CAudioStream(IWaveOut& out) : m_out(out) {}

CAudioStream::~CAudioStream() {
    CloseOutput();
}

bool CAudioStream::AssignWave(const CWaveData& wave) {
    if (!StopPlayback()) {
        return false;
    }
    try {
        std::lock_guard lock(m_lock);
        m_wave = wave;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CAudioStream::AssignDevice(const CAudioDevice& device) {
    m_device = device;
    return true;
}

bool CAudioStream::OpenOutput() {
    if (m_handle != 0 && !CloseOutput()) {
        return false;
    }
    WaveOutHandle handle = 0;
    const WaveResult result = m_out.Open(m_device.Id(), m_wave.GetFormat(), *this, handle);
    std::lock_guard lock(m_lock);
    m_lastResult = result;
    if (result != kWaveNoError) {
        return false;
    }
    m_handle = handle;
    return true;
}

bool CAudioStream::StartPlayback() {
    if (!StopPlayback()) {
        return false;
    }
    std::lock_guard lock(m_lock);
    m_currentOffset = 0;
    m_endOffset = m_wave.GetDataLength();
    m_ringIndex = 2;  // so that the first block goes into header 0
    for (std::size_t i = 0; i < kHeaderCount; ++i) {
        if (!QueueChunk(m_handle)) {
            return false;
        }
    }
    return true;
}

bool CAudioStream::QueueChunk(WaveOutHandle handle) {
    const std::uint32_t left = IsDrainedLocked() ? 0 : m_endOffset - m_currentOffset;
    // Whole samples only: the device drops a partial one at the end of a block,
    // and everything after it would play shifted by a channel or a byte. Of
    // the block alignments in use only 3, 6, 12... do not divide 4096.
    const std::uint32_t sample = std::max<std::uint32_t>(m_wave.Samples().SampleSize(), 1);
    const std::uint32_t chunk = std::max(sample, m_chunkSize / sample * sample);
    const std::uint32_t n = std::min(chunk, left);
    if (n == 0) {
        return false;
    }
    const int previousRing = m_ringIndex;
    m_ringIndex = m_ringIndex == 2 ? 0 : m_ringIndex + 1;
    SWaveHeader& header = m_headers[static_cast<std::size_t>(m_ringIndex)];
    header.data = m_wave.Samples().Data() + m_currentOffset;
    header.length = n;
    header.flags = 0;
    header.user = this;

    m_lastResult = m_out.Prepare(handle, header);
    if (m_lastResult != kWaveNoError) {
        return false;
    }
    m_lastResult = m_out.Write(handle, header);
    if (m_lastResult != kWaveNoError) {
        m_out.Unprepare(handle, header);
        header = SWaveHeader{};
        m_ringIndex = previousRing;
        return false;
    }
    ++m_queued;
    m_currentOffset += n;
    return true;
}

void CAudioStream::OnBlockDone(WaveOutHandle handle, std::uint32_t message, SWaveHeader* header) {
    if (message != kWomDone || header == nullptr || handle == 0 || header->user == nullptr) {
        return;
    }
    std::lock_guard lock(m_lock);
    if (header->user != this) {
        return;
    }
    if ((header->flags & kHeaderDone) != 0) {
        header->flags = 0;
        // The block is back from the device, whatever the unprepare says.
        if (m_queued > 0 && --m_queued == 0) {
            m_returned.notify_all();
        }
        m_lastResult = m_out.Unprepare(handle, *header);
        if (m_lastResult != kWaveNoError) {
            return;
        }
        header->data = nullptr;
    }
    if (!IsDrainedLocked()) {
        QueueChunk(handle);
    }
}

bool CAudioStream::StopPlayback() {
    WaveOutHandle handle = 0;
    {
        std::lock_guard lock(m_lock);
        if (m_handle == 0) {
            return true;
        }
        handle = m_handle;
        // First, so that the blocks the reset hands back queue nothing more.
        m_currentOffset = m_endOffset;
    }
    // Without the lock: the device may hand the blocks back before it returns.
    const WaveResult result = m_out.Reset(handle);
    std::unique_lock lock(m_lock);
    m_lastResult = result;
    if (result != kWaveNoError) {
        return false;
    }
    // Each returned block still has to be released by the completion thread.
    // Until it is, its header and the samples it points into are in use: a new
    // playback, a new wave or our own destruction must wait for that, and a
    // stop that times out is no successful stop.
    if (!m_returned.wait_for(lock, m_returnTimeout, [this] { return m_queued == 0; })) {
        m_lastResult = kWaveStillPlaying;
        return false;
    }
    return true;
}

bool CAudioStream::CloseOutput() {
    if (m_handle == 0) {
        return true;
    }
    if (!StopPlayback()) {
        return false;
    }
    const WaveResult result = m_out.Close(m_handle);
    std::lock_guard lock(m_lock);
    m_lastResult = result;
    if (result != kWaveNoError) {
        return false;
    }
    m_handle = 0;
    return true;
}

bool CAudioStream::IsOpen() const {
    std::lock_guard lock(m_lock);
    return m_handle != 0;
}

bool CAudioStream::IsDrained() const {
    std::lock_guard lock(m_lock);
    return IsDrainedLocked();
}

std::size_t CAudioStream::BlocksInFlight() const {
    std::lock_guard lock(m_lock);
    return m_queued;
}

WaveResult CAudioStream::LastResult() const {
    std::lock_guard lock(m_lock);
    return m_lastResult;
}

}  // namespace pausora
