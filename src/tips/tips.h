// The sayings shown in the body of every break notice. They come from
// "all.txt" in the installation folder: lines of sayings grouped under
// bracketed source headings, every character stored shifted up by kTipsShift
// so that the file is not read and edited as plain text by accident.
#pragma once

#include "tips/line_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

class IRegistry;
class IRandomEnvironment;

// The one definition of the shift. tools/encode_tips.py reads the number from
// this line when it builds all.txt, so keep it a plain decimal literal.
inline constexpr std::uint8_t kTipsShift = 23;

inline constexpr std::string_view kTipsFileName = "all.txt";

// Line 0 is never shown; these are the lines a saying is drawn from.
inline constexpr std::int32_t kFirstTipLine = 1;
inline constexpr std::int32_t kLastTipLine = 2131;

// Random draws before the picker stops trusting chance and takes the next
// saying after the last line drawn. A file in which one line in ten is a
// saying gets that far once in about 5 * 10^11 notices; the shipped file
// never does.
inline constexpr int kMaxTipDraws = 256;

// Shifts every character of a stored line back, in 8-bit arithmetic.
void DecodeTipLine(std::string& line);

// A heading starts with "[".
bool IsTipHeading(std::string_view line);
// What a picked line must be to be shown: not empty, not a bare line end and
// not a heading.
bool IsTipSaying(std::string_view line);
// The heading without any of its brackets, wherever they stand.
std::string TipSourceName(std::string_view heading);
// A picked tip without the line naming its source.
std::string_view TipSaying(std::string_view tip);

// The decoded lines of the tips file, kept from one notice to the next. The
// file is read again only when its path, size or last-write time differs
// from the last read, so a replaced or edited file still shows at the next
// notice, while an unchanged one costs one look at its stamp.
class CTipsFile {
  public:
    CTipsFile(ILineSource& files, IFileStamps& stamps) : m_files(files), m_stamps(stamps) {}

    // The decoded lines of the file at `path`; empty when it cannot be read.
    const std::vector<std::string>& Lines(std::string_view path);

  private:
    ILineSource& m_files;
    IFileStamps& m_stamps;
    std::string m_path;
    std::optional<FileStamp> m_stamp;  // of the lines held; none: read next time
    std::vector<std::string> m_lines;
};

// Reads "InstallDir", takes the tips file in it through `file` and returns a
// random saying, "\r\n", "-- " and its source. Returns an empty text when the
// file holds no saying with a heading above it among the candidate lines
// (also when it is missing or too short to hold any).
// `fileName` is all.txt, or a translation's all.<language>.txt.
std::string PickTip(IRegistry& registry, CTipsFile& file, IRandomEnvironment& random,
                    std::string_view programFolder = {}, std::string_view fileName = kTipsFileName);
// The sayings file of a language ("de-DE"): all.de-DE.txt, UTF-8; English's
// (or none named) is all.txt.
std::string TipsFileName(std::string_view language);

}  // namespace pausora
