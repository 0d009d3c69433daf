// Test doubles for the sound classes: WAV files built in memory, a waveform
// output that records what it was given, and a feedback that records beeps
// and messages.
#pragma once

#include "sound/sound_set.h"
#include "sound/wave_out.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace pausora::test {

using Bytes = std::vector<std::uint8_t>;

// The system's failures a fake device gives.
inline constexpr WaveResult kWaveError = 1;          // MMSYSERR_ERROR
inline constexpr WaveResult kWaveBadDevice = 2;      // MMSYSERR_BADDEVICEID
inline constexpr WaveResult kWaveInvalidHandle = 5;  // MMSYSERR_INVALHANDLE
inline constexpr WaveResult kWaveBadFormat = 32;     // WAVERR_BADFORMAT

inline void PutLe(Bytes& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
inline void PutTag(Bytes& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

inline SWaveFormat Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    SWaveFormat f;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nBlockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

// A recognisable pattern, different at every offset within a few kilobytes.
inline Bytes Pattern(std::size_t n, std::uint32_t seed = 1) {
    Bytes b(n);
    std::uint32_t x = seed * 2654435761u + 12345u;
    for (auto& v : b) {
        x = x * 1103515245u + 12345u;
        v = static_cast<std::uint8_t>(x >> 16);
    }
    return b;
}

struct WavLayout {
    std::uint32_t fmtSize = 16;
    Bytes extraFmtBytes;                          // after the 16 bytes of the format
    std::string extraChunk;                       // a whole chunk ("LIST"/"fact") before "data"
    std::optional<std::uint32_t> declaredLength;  // instead of the samples' size
};

inline WavLayout FmtSize(std::uint32_t size, Bytes extra = {}) {
    WavLayout layout;
    layout.fmtSize = size;
    layout.extraFmtBytes = std::move(extra);
    return layout;
}
inline WavLayout ChunkBeforeData(std::string id) {
    WavLayout layout;
    layout.extraChunk = std::move(id);
    return layout;
}
inline WavLayout DeclaredLength(std::uint32_t length) {
    WavLayout layout;
    layout.declaredLength = length;
    return layout;
}

inline Bytes MakeWav(const SWaveFormat& f, const Bytes& samples, const WavLayout& layout = {}) {
    Bytes out;
    PutTag(out, "RIFF");
    PutLe(out, static_cast<std::uint32_t>(samples.size() + 36), 4);
    PutTag(out, "WAVEfmt ");
    PutLe(out, layout.fmtSize, 4);
    PutLe(out, f.wFormatTag, 2);
    PutLe(out, f.nChannels, 2);
    PutLe(out, f.nSamplesPerSec, 4);
    PutLe(out, f.nAvgBytesPerSec, 4);
    PutLe(out, f.nBlockAlign, 2);
    PutLe(out, f.wBitsPerSample, 2);
    out.insert(out.end(), layout.extraFmtBytes.begin(), layout.extraFmtBytes.end());
    if (!layout.extraChunk.empty()) {
        PutTag(out, layout.extraChunk);
        PutLe(out, 4, 4);
        PutTag(out, "abcd");
    }
    PutTag(out, "data");
    PutLe(out, layout.declaredLength.value_or(static_cast<std::uint32_t>(samples.size())), 4);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

// A file held in memory.
class MemoryFile final : public IReadFile {
  public:
    explicit MemoryFile(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::size_t Read(std::span<std::uint8_t> into) override {
        const std::size_t n = std::min(into.size(), m_bytes.size() - m_position);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position), n, into.begin());
        m_position += n;
        return n;
    }
    std::uint64_t Remaining() override { return m_bytes.size() - m_position; }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// Files by path, held in memory; a path may instead carry an open error.
class FakeFiles final : public IFileOpener {
  public:
    std::map<std::string, Bytes, std::less<>> files;
    std::map<std::string, FileErrorCause, std::less<>> errors;
    std::vector<std::string> opened;

    std::unique_ptr<IReadFile> OpenExclusive(std::string_view path) override {
        opened.emplace_back(path);
        if (auto e = errors.find(path); e != errors.end()) {
            throw CFileError(e->second, std::string(path));
        }
        auto f = files.find(path);
        if (f == files.end()) {
            throw CFileError(FileErrorCause::kFileNotFound, std::string(path));
        }
        return std::make_unique<MemoryFile>(f->second);
    }
};

class RecordingFeedback final : public ISoundFeedback {
  public:
    std::vector<std::pair<std::uint32_t, std::uint32_t>> beeps;
    std::vector<std::pair<std::string, SoundMessageStyle>> messages;
    void BeepTones(std::span<const std::uint32_t> frequencies,
                   std::uint32_t milliseconds) override {
        for (const std::uint32_t frequency : frequencies) {
            beeps.emplace_back(frequency, milliseconds);
        }
    }
    void ShowMessage(std::string_view text, SoundMessageStyle style) override {
        messages.emplace_back(std::string(text), style);
    }
};

// A waveform output that behaves like the system's where the player can tell:
// headers must be prepared before they are written and may not be prepared
// twice or unprepared while queued, a handle must be open, and a reset hands
// every queued block back. Completions run when the test says so, or, with
// `Threaded`, on a thread of the fake's own, as the system's would.
class FakeWaveOut final : public IWaveOut {
  public:
    static constexpr WaveOutHandle kHandle = 0x5157;

    ~FakeWaveOut() override { StopThread(); }

    // Scripted results.
    WaveResult queryResult = kWaveNoError;
    WaveResult openResult = kWaveNoError;
    WaveResult resetResult = kWaveNoError;
    int failPrepareAt = -1;  // 0-based number of the Prepare call that fails
    int failWriteAt = -1;
    bool holdBlocksOnReset = false;  // a device that never gives blocks back

    // What happened.
    std::vector<std::string> calls;
    Bytes written;    // every block's bytes at the moment it was written
    Bytes completed;  // bytes of blocks that finished playing
    std::vector<std::uint32_t> blockLengths;
    std::vector<const SWaveHeader*> writtenHeaders;  // which header each write used
    int misuse = 0;  // calls the system would refuse or that would corrupt it
    int prepares = 0, writes = 0, opens = 0, closes = 0;

    WaveResult QueryFormat(std::uint32_t, const SWaveFormat& format) override {
        std::lock_guard lock(m_mutex);
        calls.push_back("query");
        lastQueried = format;
        return queryResult;
    }
    WaveResult Open(std::uint32_t device, const SWaveFormat& format, CAudioStream& stream,
                    WaveOutHandle& handle) override {
        std::lock_guard lock(m_mutex);
        calls.push_back("open");
        ++opens;
        if (openResult != kWaveNoError) {
            return openResult;
        }
        if (m_open) {
            ++misuse;  // a second open handle would leak
        }
        openedDevice = device;
        openedFormat = format;
        m_stream = &stream;
        m_open = true;
        handle = kHandle;
        return kWaveNoError;
    }
    WaveResult Prepare(WaveOutHandle handle, SWaveHeader& header) override {
        std::lock_guard lock(m_mutex);
        calls.push_back("prepare");
        if (!Valid(handle)) {
            return kWaveInvalidHandle;
        }
        if (prepares++ == failPrepareAt) {
            return kWaveError;
        }
        if (!m_prepared.insert(&header).second) {
            ++misuse;
        }
        return kWaveNoError;
    }
    WaveResult Unprepare(WaveOutHandle handle, SWaveHeader& header) override {
        std::lock_guard lock(m_mutex);
        calls.push_back("unprepare");
        if (!Valid(handle)) {
            return kWaveInvalidHandle;
        }
        if (std::find(m_queue.begin(), m_queue.end(), &header) != m_queue.end()) {
            return kWaveStillPlaying;
        }
        m_prepared.erase(&header);
        return kWaveNoError;
    }
    WaveResult Write(WaveOutHandle handle, SWaveHeader& header) override {
        std::lock_guard lock(m_mutex);
        calls.push_back("write");
        if (!Valid(handle)) {
            return kWaveInvalidHandle;
        }
        if (writes++ == failWriteAt) {
            return kWaveError;
        }
        if (m_prepared.count(&header) == 0 ||
            std::find(m_queue.begin(), m_queue.end(), &header) != m_queue.end()) {
            ++misuse;
        }
        written.insert(written.end(), header.data, header.data + header.length);
        blockLengths.push_back(header.length);
        writtenHeaders.push_back(&header);
        m_queue.push_back(&header);
        m_wake.notify_all();
        return kWaveNoError;
    }
    WaveResult Reset(WaveOutHandle handle) override {
        std::unique_lock lock(m_mutex);
        calls.push_back("reset");
        if (!Valid(handle)) {
            return kWaveInvalidHandle;
        }
        if (resetResult != kWaveNoError) {
            return resetResult;
        }
        if (holdBlocksOnReset) {
            return kWaveNoError;
        }
        for (SWaveHeader* h : m_queue) {
            h->flags |= kHeaderDone;
            m_returned.push_back(h);
        }
        m_queue.clear();
        if (m_thread.joinable()) {
            m_wake.notify_all();
            return kWaveNoError;
        }
        // Like the system, hand the blocks back before returning.
        std::deque<SWaveHeader*> returned;
        returned.swap(m_returned);
        lock.unlock();
        for (SWaveHeader* h : returned) {
            m_stream->OnBlockDone(kHandle, kWomDone, h);
        }
        return kWaveNoError;
    }
    WaveResult Close(WaveOutHandle handle) override {
        std::lock_guard lock(m_mutex);
        calls.push_back("close");
        ++closes;
        if (!Valid(handle)) {
            return kWaveInvalidHandle;
        }
        if (!m_queue.empty() || !m_returned.empty()) {
            return kWaveStillPlaying;
        }
        if (!m_prepared.empty()) {
            ++misuse;  // closing with prepared headers leaks them
        }
        m_open = false;
        return kWaveNoError;
    }

    // Plays the oldest queued block to its end; false when nothing is queued.
    bool CompleteNext() {
        std::unique_lock lock(m_mutex);
        if (m_queue.empty()) {
            return false;
        }
        SWaveHeader* h = m_queue.front();
        m_queue.pop_front();
        h->flags |= kHeaderDone;
        completed.insert(completed.end(), h->data, h->data + h->length);
        lock.unlock();
        m_stream->OnBlockDone(kHandle, kWomDone, h);
        return true;
    }
    int CompleteAll(int limit = 1'000'000) {
        int n = 0;
        while (n < limit && CompleteNext()) {
            ++n;
        }
        return n;
    }
    std::size_t Queued() {
        std::lock_guard lock(m_mutex);
        return m_queue.size();
    }
    std::size_t Prepared() {
        std::lock_guard lock(m_mutex);
        return m_prepared.size();
    }
    bool IsOpen() {
        std::lock_guard lock(m_mutex);
        return m_open;
    }

    // From now on blocks play by themselves, one every `period`, on a thread.
    void Threaded(std::chrono::microseconds period) {
        m_period = period;
        m_thread = std::thread([this] { Run(); });
    }
    void StopThread() {
        if (!m_thread.joinable()) {
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    std::uint32_t openedDevice = 0;
    SWaveFormat openedFormat;
    SWaveFormat lastQueried;

  private:
    bool Valid(WaveOutHandle handle) const { return m_open && handle == kHandle; }

    void Run() {
        std::unique_lock lock(m_mutex);
        while (!m_quit) {
            if (!m_returned.empty()) {
                SWaveHeader* h = m_returned.front();
                m_returned.pop_front();
                lock.unlock();
                m_stream->OnBlockDone(kHandle, kWomDone, h);
                lock.lock();
                continue;
            }
            if (!m_queue.empty()) {
                lock.unlock();
                std::this_thread::sleep_for(m_period);
                lock.lock();
                if (m_queue.empty()) {
                    continue;  // reset meanwhile
                }
                SWaveHeader* h = m_queue.front();
                m_queue.pop_front();
                h->flags |= kHeaderDone;
                completed.insert(completed.end(), h->data, h->data + h->length);
                lock.unlock();
                m_stream->OnBlockDone(kHandle, kWomDone, h);
                lock.lock();
                continue;
            }
            m_wake.wait(lock);
        }
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    bool m_quit = false;
    std::chrono::microseconds m_period{0};
    CAudioStream* m_stream = nullptr;
    bool m_open = false;
    std::set<const SWaveHeader*> m_prepared;
    std::deque<SWaveHeader*> m_queue;
    std::deque<SWaveHeader*> m_returned;
};

}  // namespace pausora::test
