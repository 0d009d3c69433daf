#include "sound/wave_data.h"

#include <array>
#include <cstring>
#include <string>

namespace pausora {

namespace {

// Reads exactly into.size() bytes; false when the file ends first.
bool ReadExact(IReadFile& file, std::span<std::uint8_t> into) {
    std::size_t done = 0;
    while (done < into.size()) {
        const std::size_t n = file.Read(into.subspan(done));
        if (n == 0) {
            return false;
        }
        done += n;
    }
    return true;
}

class HeaderReader {
  public:
    HeaderReader(IReadFile& file, std::string_view path) : m_file(file), m_path(path) {}

    void ExpectTag(std::string_view tag) {
        std::array<std::uint8_t, 8> bytes{};
        const std::span<std::uint8_t> part(bytes.data(), tag.size());
        if (!ReadExact(m_file, part) || std::memcmp(bytes.data(), tag.data(), tag.size()) != 0) {
            Reject();
        }
    }

    std::uint16_t Word() { return static_cast<std::uint16_t>(Little(2)); }
    std::uint32_t Dword() { return static_cast<std::uint32_t>(Little(4)); }

    [[noreturn]] void Reject() const {
        throw CFileError(FileErrorCause::kInvalidFile, std::string(m_path));
    }

  private:
    std::uint64_t Little(std::size_t size) {
        std::array<std::uint8_t, 4> bytes{};
        if (!ReadExact(m_file, std::span<std::uint8_t>(bytes.data(), size))) {
            Reject();
        }
        std::uint64_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = (value << 8) | bytes[i];
        }
        return value;
    }

    IReadFile& m_file;
    std::string_view m_path;
};

}  // namespace

CWaveData::CWaveData(const CWaveData& other) : m_format(other.m_format) {
    m_samples.CopyFrom(other.m_samples.Data(), other.m_samples.Count(),
                       other.m_samples.SampleSize());
}

CWaveData& CWaveData::operator=(const CWaveData& other) {
    if (this == &other) {
        return *this;
    }
    // Build the copy first so that a failed allocation leaves this wave whole.
    CSampleBuffer copy;
    copy.CopyFrom(other.m_samples.Data(), other.m_samples.Count(), other.m_samples.SampleSize());
    m_samples.Swap(copy);
    m_format = other.m_format;
    return *this;
}

void CWaveData::LoadFile(std::string_view path, IFileOpener& opener) {
    std::unique_ptr<IReadFile> file = opener.OpenExclusive(path);
    ReadFrom(*file, path);
}

void CWaveData::ReadFrom(IReadFile& file, std::string_view path) {
    HeaderReader header(file, path);
    header.ExpectTag("RIFF");
    header.Dword();  // the RIFF size says nothing we need
    header.ExpectTag("WAVEfmt ");
    header.Dword();  // nor does the fmt size: only the 16-byte layout reaches "data"

    // Into a scratch record: a file rejected below must leave this wave as it was.
    SWaveFormat format;
    format.wFormatTag = header.Word();
    format.nChannels = header.Word();
    format.nSamplesPerSec = header.Dword();
    format.nAvgBytesPerSec = header.Dword();
    format.nBlockAlign = header.Word();
    format.wBitsPerSample = header.Word();
    header.ExpectTag("data");
    format.cbSize = 0;
    m_format = format;

    const std::uint32_t dataLength = header.Dword();
    // A block alignment of 0 describes no sample at all; such a wave holds
    // nothing, and the device decides whether its format is playable.
    const std::uint32_t count = format.nBlockAlign == 0 ? 0 : dataLength / format.nBlockAlign;
    const std::uint64_t bytes = static_cast<std::uint64_t>(count) * format.nBlockAlign;
    // A file that ends before its declared samples is refused: we never play
    // what the file does not hold, and we never allocate for a length the
    // file cannot back.
    if (bytes > file.Remaining()) {
        header.Reject();
    }
    m_samples.Allocate(count, format.nBlockAlign);
    if (!ReadExact(file,
                   std::span<std::uint8_t>(m_samples.Data(), static_cast<std::size_t>(bytes)))) {
        header.Reject();
    }
}

std::uint32_t CWaveData::GetDataLength() const {
    // Measured on the buffer itself, so a load that failed after taking a new
    // format can never make us read past the old samples.
    return static_cast<std::uint32_t>(m_samples.ByteLength());
}

}  // namespace pausora
