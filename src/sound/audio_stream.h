// One output stream: plays a wave of its own on a device, 4096 bytes at a
// time with three blocks in flight, refilled as the device finishes each.
#pragma once

#include "sound/audio_device.h"
#include "sound/wave_data.h"
#include "sound/wave_out.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace pausora {

class CAudioStream {
  public:
    static constexpr std::uint32_t kChunkSize = 4096;
    static constexpr std::size_t kHeaderCount = 3;

    explicit CAudioStream(IWaveOut& out);
    virtual ~CAudioStream();

    // A deep copy of the wave to play. Any playback is stopped first, because
    // the queued blocks point into the samples being replaced.
    bool AssignWave(const CWaveData& wave);
    bool AssignDevice(const CAudioDevice& device);
    // Opens the device for the wave's format (closing an output still open).
    bool OpenOutput();
    // Plays the whole wave from its start. Returns false when fewer than three
    // blocks could be queued, although what was queued still plays.
    bool StartPlayback();
    // Silences the stream at once and waits until the device has handed back
    // every block, so no completion of this playback is left to run. False
    // (with kWaveStillPlaying) when the device keeps blocks past the return
    // time-out; a later stop may still get them back.
    bool StopPlayback();
    bool CloseOutput();
    // The device is done with `header`: release it and queue the next block.
    // Runs on the output's completion thread.
    void OnBlockDone(WaveOutHandle handle, std::uint32_t message, SWaveHeader* header);

    bool IsOpen() const;
    // Everything up to the end has been queued (or playback was stopped).
    bool IsDrained() const;
    // Blocks handed to the device and not yet given back.
    std::size_t BlocksInFlight() const;
    // The result of the most recent waveform call, kWaveNoError after success.
    WaveResult LastResult() const;
    const CWaveData& Wave() const { return m_wave; }

    // How long StopPlayback waits for a device to give its blocks back. A
    // device that keeps them longer is not waited for.
    void SetReturnTimeout(std::chrono::milliseconds timeout) { m_returnTimeout = timeout; }

  private:
    bool QueueChunk(WaveOutHandle handle);  // with m_lock held
    bool IsDrainedLocked() const { return m_currentOffset >= m_endOffset; }

    std::uint32_t m_endOffset = 0;
    std::uint32_t m_currentOffset = 0;
    const std::uint32_t m_chunkSize = kChunkSize;
    WaveOutHandle m_handle = 0;
    WaveResult m_lastResult = kWaveNoError;
    int m_ringIndex = 2;
    std::array<SWaveHeader, kHeaderCount> m_headers{};
    CWaveData m_wave;
    CAudioDevice m_device;

    IWaveOut& m_out;
    // The completion thread and the owner's thread share the offsets, the ring
    // and the headers; the lock keeps a stop from racing a refill.
    mutable std::mutex m_lock;
    std::condition_variable m_returned;
    std::size_t m_queued = 0;  // blocks written and not yet handed back
    std::chrono::milliseconds m_returnTimeout{2000};
};

}  // namespace pausora
