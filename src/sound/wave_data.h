// A WAVE file in memory: its format and its samples.
#pragma once

#include "sound/sample_buffer.h"
#include "sound/wave_file.h"
#include "sound/wave_format.h"

#include <cstdint>
#include <string_view>

namespace pausora {

class CWaveData {
  public:
    CWaveData() = default;
    CWaveData(const CWaveData& other);
    CWaveData& operator=(const CWaveData& other);
    virtual ~CWaveData() = default;

    // Opens `path` exclusively and reads it. Throws CFileError (the path
    // attached) or std::bad_alloc.
    void LoadFile(std::string_view path, IFileOpener& opener);
    // Walks the RIFF chunks up to "data", taking the first "fmt " chunk that
    // is big enough, and reads the whole samples the file holds. Throws
    // CFileError(kNotWave) with `path` for a file we cannot play, in which
    // case this wave keeps its format and samples.
    void ReadFrom(IReadFile& file, std::string_view path = {});

    SWaveFormat GetFormat() const { return m_format; }
    // Bytes of sample data: whole samples only.
    std::uint32_t GetDataLength() const;

    const CSampleBuffer& Samples() const { return m_samples; }

  private:
    CSampleBuffer m_samples;
    SWaveFormat m_format;
};

}  // namespace pausora
