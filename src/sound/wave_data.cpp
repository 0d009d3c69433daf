#include "sound/wave_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>

namespace pausora {

namespace {

// The sub-format of an extensible header that means plain integer PCM:
// {00000001-0000-0010-8000-00AA00389B71}, as it lies in the file.
constexpr std::array<std::uint8_t, 16> kPcmSubFormat = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// 16 bytes of the common format, then the extensible part: extra size (2),
// valid bits (2), channel mask (4), sub-format (16).
constexpr std::uint32_t kBasicFormatSize = 16;
constexpr std::uint32_t kExtensibleFormatSize = 40;

bool SameTag(const std::array<std::uint8_t, 4>& id, std::string_view tag) {
    return std::memcmp(id.data(), tag.data(), id.size()) == 0;
}

// Reads a file front to back, with room to give back a few bytes read ahead
// and a way out for anything that does not make a playable wave.
class ChunkReader {
  public:
    ChunkReader(IReadFile& file, std::string_view path) : m_file(file), m_path(path) {}

    [[noreturn]] void Reject() const {
        throw CFileError(FileErrorCause::kNotWave, std::string(m_path));
    }

    // Reads exactly into.size() bytes, or rejects a file that ends first.
    void Read(std::span<std::uint8_t> into) {
        std::size_t done = std::min(into.size(), m_aheadLength);
        std::memcpy(into.data(), m_ahead.data(), done);
        std::memmove(m_ahead.data(), m_ahead.data() + done, m_aheadLength - done);
        m_aheadLength -= done;
        while (done < into.size()) {
            const std::size_t n = m_file.Read(into.subspan(done));
            if (n == 0) {
                Reject();
            }
            done += n;
        }
    }
    // Puts bytes back in front of what is still to read.
    void Unread(std::span<const std::uint8_t> bytes) {
        std::memmove(m_ahead.data() + bytes.size(), m_ahead.data(), m_aheadLength);
        std::memcpy(m_ahead.data(), bytes.data(), bytes.size());
        m_aheadLength += bytes.size();
    }
    std::uint64_t Remaining() { return m_file.Remaining() + m_aheadLength; }

    std::array<std::uint8_t, 4> Id() {
        std::array<std::uint8_t, 4> id{};
        Read(id);
        return id;
    }
    void Expect(std::string_view tag) {
        if (!SameTag(Id(), tag)) {
            Reject();
        }
    }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Little(2)); }
    std::uint32_t Dword() { return static_cast<std::uint32_t>(Little(4)); }

    // Passes over `count` bytes. A chunk that claims more than the file still
    // holds cannot be followed by the data, so we give up at once rather than
    // read to the end.
    void Skip(std::uint64_t count) {
        if (count > Remaining()) {
            Reject();
        }
        std::array<std::uint8_t, 4096> scratch{};
        while (count > 0) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, scratch.size()));
            Read(std::span<std::uint8_t>(scratch.data(), n));
            count -= n;
        }
    }

  private:
    std::uint32_t Little(std::size_t size) {
        std::array<std::uint8_t, 4> bytes{};
        Read(std::span<std::uint8_t>(bytes.data(), size));
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = (value << 8) | bytes[i];
        }
        return value;
    }

    IReadFile& m_file;
    std::string_view m_path;
    std::array<std::uint8_t, 8> m_ahead{};
    std::size_t m_aheadLength = 0;
};

// Reads the body of a "fmt " chunk of `size` bytes (at least 16) and passes
// over the rest of the chunk.
void ReadFormat(ChunkReader& in, std::uint32_t size, SWaveFormat& format) {
    format.wFormatTag = in.Word();
    format.nChannels = in.Word();
    format.nSamplesPerSec = in.Dword();
    format.nAvgBytesPerSec = in.Dword();
    format.nBlockAlign = in.Word();
    format.wBitsPerSample = in.Word();
    format.cbSize = 0;
    if (size == kBasicFormatSize) {
        return;
    }
    // Files written with a fixed 44-byte header and a careless size field
    // have always played: "data" right after the 16 bytes wins over the size.
    const std::array<std::uint8_t, 4> next = in.Id();
    in.Unread(next);
    if (SameTag(next, "data")) {
        return;
    }
    std::uint64_t rest = size - kBasicFormatSize;
    if (format.wFormatTag == kWaveFormatExtensible && size >= kExtensibleFormatSize) {
        // Only the sub-format says what the samples are. Integer PCM plays as
        // PCM in its container size; we convert nothing else.
        in.Word();   // extra size
        in.Word();   // valid bits: the device reads whole containers
        in.Dword();  // channel mask: the usual speakers for the count will do
        std::array<std::uint8_t, 16> subFormat{};
        in.Read(subFormat);
        if (subFormat != kPcmSubFormat) {
            in.Reject();
        }
        format.wFormatTag = kWaveFormatPcm;
        rest = size - kExtensibleFormatSize;
    }
    in.Skip(rest + (size & 1u));
}

}  // namespace

CWaveData::CWaveData(const CWaveData& other) : m_format(other.m_format) {
    m_samples.CopyFrom(other.m_samples.Data(), other.m_samples.Count(),
                       other.m_samples.SampleSize());
}

CWaveData& CWaveData::operator=(const CWaveData& other) {
    if (this != &other) {
        // Copied first so that a failed allocation leaves this wave whole.
        CWaveData copy(other);
        m_samples.Swap(copy.m_samples);
        m_format = other.m_format;
    }
    return *this;
}

void CWaveData::LoadFile(std::string_view path, IFileOpener& opener) {
    std::unique_ptr<IReadFile> file = opener.OpenExclusive(path);
    ReadFrom(*file, path);
}

void CWaveData::ReadFrom(IReadFile& file, std::string_view path) {
    ChunkReader in(file, path);
    in.Expect("RIFF");
    in.Dword();  // the RIFF size: we stop at "data" whatever it says
    in.Expect("WAVE");

    // Everything goes into scratch objects first: a file refused on the way
    // leaves this wave, format and samples, as it was.
    SWaveFormat format;
    bool haveFormat = false;
    for (;;) {
        const std::array<std::uint8_t, 4> id = in.Id();
        const std::uint32_t size = in.Dword();
        if (SameTag(id, "data")) {
            if (!haveFormat) {
                in.Reject();
            }
            // A length past the end of the file plays the whole blocks that
            // are there; we never allocate more than the file can fill.
            const std::uint32_t align = format.nBlockAlign;
            const std::uint64_t count =
                align == 0 ? 0 : std::min<std::uint64_t>(size, in.Remaining()) / align;
            CSampleBuffer samples;
            samples.Allocate(static_cast<std::uint32_t>(count), align);
            in.Read(std::span<std::uint8_t>(samples.Data(), samples.ByteLength()));
            m_format = format;
            m_samples.Swap(samples);
            return;
        }
        if (SameTag(id, "fmt ") && !haveFormat && size >= kBasicFormatSize) {
            haveFormat = true;
            ReadFormat(in, size, format);
            continue;
        }
        // Anything else (LIST, fact, cue, a second or too short "fmt "...) is
        // passed over with its pad byte.
        in.Skip(static_cast<std::uint64_t>(size) + (size & 1u));
    }
}

std::uint32_t CWaveData::GetDataLength() const {
    // Measured on the buffer itself, so it never says more than the samples hold.
    return static_cast<std::uint32_t>(m_samples.ByteLength());
}

}  // namespace pausora
