// Reading a text file as a list of lines. The tips picker reads its file
// through ILineSource so that its rules can be tried on files held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

// What tells a changed file from the one read before, without reading it.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t lastWrite = 0;  // in the file system's own units
    bool operator==(const FileStamp&) const = default;
};

class IFileStamps {
  public:
    virtual ~IFileStamps() = default;
    // The size and last-write time of the file at `path`; nothing when it
    // cannot be found or asked.
    virtual std::optional<FileStamp> Stamp(std::string_view path) = 0;
};

class ILineSource {
  public:
    virtual ~ILineSource() = default;
    // Empties `lines`, then appends every line of the file at `path` without
    // its line end. False, with `lines` left empty, when the file cannot be
    // opened.
    virtual bool ReadLines(std::string_view path, std::vector<std::string>& lines) = 0;
};

// A text file on disk. The bytes are taken as they are (no character set
// conversion, no end-of-file character); lines end at "\r\n". A final line
// end adds no empty line.
class CLineFile final : public ILineSource {
  public:
    bool ReadLines(std::string_view path, std::vector<std::string>& lines) override;

    // The system's error number of the last read that failed; 0 after a
    // successful read.
    int LastError() const { return m_lastError; }

    // The path that is opened for `path`: ".txt" added to a file name
    // without an extension.
    static std::string FullPath(std::string_view path);

    // Splits file contents into lines at `lineEnd`.
    static void SplitLines(std::string_view contents, std::string_view lineEnd,
                           std::vector<std::string>& lines);

  private:
    int m_lastError = 0;
};

}  // namespace pausora
