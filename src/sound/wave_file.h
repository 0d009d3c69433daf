// How the sound classes reach files: an open file read front to back, and a
// way to open one. The Windows layer opens real files exclusively; tests and
// the fuzzer read from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pausora {

// Why a WAV file could not be loaded. The message the user reads is chosen by
// the cause (see FileErrorText).
enum class FileErrorCause {
    kGeneric,
    kFileNotFound,
    kBadPath,
    kTooManyOpenFiles,
    kAccessDenied,
    kInvalidFile,  // the system found the file handle invalid
    kNotWave,      // the contents are not a wave we can play
    kSharingViolation,
};

class CFileError : public std::runtime_error {
  public:
    CFileError(FileErrorCause cause, std::string path);

    FileErrorCause Cause() const { return m_cause; }
    const std::string& Path() const { return m_path; }

  private:
    FileErrorCause m_cause;
    std::string m_path;
};

// The sentence a message box shows for a load failure: `pattern`, English
// by default, with the path for "%1". The Windows layer has the same
// sentences in the user's language, in the order of the causes.
std::string_view FileErrorPattern(FileErrorCause cause);
std::string FileErrorText(const CFileError& error);
std::string FileErrorText(const CFileError& error, std::string_view pattern);
inline constexpr std::string_view kOutOfMemoryText = "Out of memory.";

// An open file, read from its start towards its end.
class IReadFile {
  public:
    virtual ~IReadFile() = default;
    // Reads up to into.size() bytes; fewer only at the end of the file.
    // Throws CFileError when the system fails to read.
    virtual std::size_t Read(std::span<std::uint8_t> into) = 0;
    // Bytes between the read position and the end of the file.
    virtual std::uint64_t Remaining() = 0;
};

class IFileOpener {
  public:
    virtual ~IFileOpener() = default;
    // Opens `path` for reading with no sharing. Throws CFileError with the
    // cause the system gave.
    virtual std::unique_ptr<IReadFile> OpenExclusive(std::string_view path) = 0;
};

}  // namespace pausora
