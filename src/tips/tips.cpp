#include "tips/tips.h"

#include "store/registry_store.h"
#include "store/languages.h"
#include "store/time_settings.h"
#include "tips/random_range.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace pausora {

// Between a saying and the name of its source.
constexpr std::string_view kSourceMark = "\r\n-- ";

namespace {

constexpr std::size_t kFirst = kFirstTipLine;

class TipLines {
  public:
    explicit TipLines(const std::vector<std::string>& lines)
        // Lines past the end of a short file are simply not candidates.
        : m_lines(lines),
          m_end(std::min(lines.size(), static_cast<std::size_t>(kLastTipLine) + 1)) {}

    // One pass: is there any saying with a heading above it among the
    // candidates? Without one no number of draws can succeed.
    bool AnyShowable() const {
        bool headingSeen = false;
        for (std::size_t i = 0; i < m_end; ++i) {
            if (IsTipHeading(m_lines[i])) {
                headingSeen = true;
            } else if (headingSeen && i >= kFirst && IsTipSaying(m_lines[i])) {
                return true;
            }
        }
        return false;
    }

    std::optional<std::string> Compose(std::size_t index) const {
        if (index < kFirst || index >= m_end || !IsTipSaying(m_lines[index])) {
            return std::nullopt;
        }
        // The source is the nearest heading above.
        for (std::size_t n = index; n-- > 0;) {
            if (IsTipHeading(m_lines[n])) {
                return m_lines[index] + std::string(kSourceMark) + TipSourceName(m_lines[n]);
            }
        }
        return std::nullopt;
    }

    // The first showable saying at or after `index`, going round to the first
    // candidate after the last one. Only called once AnyShowable() said yes.
    std::string ComposeFrom(std::size_t index) const {
        const std::size_t count = m_end - kFirst;
        for (std::size_t step = 0; step < count; ++step) {
            const std::size_t i = kFirst + (index - kFirst + step) % count;
            if (std::optional<std::string> tip = Compose(i)) {
                return *tip;
            }
        }
        return {};
    }

  private:
    const std::vector<std::string>& m_lines;
    std::size_t m_end;
};

}  // namespace

void DecodeTipLine(std::string& line) {
    for (char& c : line) {
        c = static_cast<char>(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) - kTipsShift));
    }
}

bool IsTipHeading(std::string_view line) {
    return !line.empty() && line.front() == '[';
}

bool IsTipSaying(std::string_view line) {
    return !line.empty() && line != "\r\n" && !IsTipHeading(line);
}

std::string TipSourceName(std::string_view heading) {
    std::string name(heading);
    std::erase_if(name, [](char c) { return c == '[' || c == ']'; });
    return name;
}

std::string_view TipSaying(std::string_view tip) {
    return tip.substr(0, tip.find(kSourceMark));
}

const std::vector<std::string>& CTipsFile::Lines(std::string_view path) {
    // The stamp is taken before the read: a file that changes while it is
    // read then differs from it at the next look and is read again.
    const std::optional<FileStamp> stamp = m_stamps.Stamp(path);
    if (stamp && m_stamp && *stamp == *m_stamp && path == m_path) {
        return m_lines;
    }
    m_path = path;
    m_stamp.reset();
    // A file whose stamp cannot be had is read at every notice, as is one
    // that could not be read this time.
    const bool read = m_files.ReadLines(path, m_lines);
    for (std::string& line : m_lines) {
        DecodeTipLine(line);
    }
    if (read && stamp) {
        m_stamp = stamp;
    }
    return m_lines;
}

std::string TipsFileName(std::string_view language) {
    if (language.empty() || language == kEnglish) {
        return std::string(kTipsFileName);
    }
    return "all." + std::string(language) + ".txt";
}

std::string PickTip(IRegistry& registry, CTipsFile& file, IRandomEnvironment& random,
                    std::string_view programFolder, std::string_view fileName) {
    // A copy installed for the whole machine leaves no "InstallDir" in the
    // user's key: the file lies beside the program.
    std::string folder = ReadInstallDir(registry);
    if (folder.empty() && !programFolder.empty()) {
        folder = programFolder;
        if (folder.back() != '\\' && folder.back() != '/') {
            folder += '\\';
        }
    }
    const TipLines tips(file.Lines(folder + std::string(fileName)));
    if (!tips.AnyShowable()) {
        return {};
    }

    RandomRange range(random, kFirstTipLine, kLastTipLine);
    range.Seed();
    std::size_t index = kFirst;
    for (int draw = 0; draw < kMaxTipDraws; ++draw) {
        const std::int32_t drawn = range.Next();
        if (drawn < kFirstTipLine || drawn > kLastTipLine) {
            return {};
        }
        index = static_cast<std::size_t>(drawn);
        if (std::optional<std::string> tip = tips.Compose(index)) {
            return *tip;
        }
    }
    return tips.ComposeFrom(index);
}

}  // namespace pausora
