// Feeds arbitrary bytes to the tips picker as the stored file: split into
// lines, decoded, drawn from with a generator the input steers (or keeps
// stuck). The pick must be a saying of the file's candidate lines with its
// nearest heading, or empty exactly when there is none; the decoded lines kept
// must be the file's, read again only when its stamp changes. Some inputs go
// through a real file on disk.
#include "shared/memory_registry.h"
#include "fuzz/require.h"
#include "shared/posix_file_stamps.h"
#include "tips/line_file.h"
#include "tips/random_range.h"
#include "tips/tips.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace pausora;

using pausora::fuzz::Require;

class SteeredRandom final : public IRandomEnvironment {
  public:
    SteeredRandom(std::uint32_t start, std::uint32_t step, bool stuck)
        : m_counter(start), m_step(stuck ? 0 : step | 1u) {}
    std::int64_t NowSeconds() override { return 1'765'000'000; }
    LocalDate LocalCalendar(std::int64_t) override { return {2026, 12, 8}; }
    std::int64_t PerformanceCounter() override {
        ++draws;
        return m_counter += m_step;
    }
    void ShowMessage(std::string_view) override { Require(false); }
    int draws = 0;

  private:
    std::uint32_t m_counter;
    std::uint32_t m_step;
};

// Files in memory with stamps the harness sets; counts reads.
class Files final : public ILineSource, public IFileStamps {
  public:
    std::map<std::string, std::string, std::less<>> bytes;
    std::map<std::string, FileStamp, std::less<>> stamps;
    int reads = 0;
    bool ReadLines(std::string_view path, std::vector<std::string>& lines) override {
        ++reads;
        lines.clear();
        const auto file = bytes.find(path);
        if (file == bytes.end()) {
            return false;
        }
        CLineFile::SplitLines(file->second, "\r\n", lines);
        return true;
    }
    std::optional<FileStamp> Stamp(std::string_view path) override {
        const auto stamp = stamps.find(path);
        return stamp == stamps.end() ? std::nullopt : std::optional<FileStamp>(stamp->second);
    }
};

std::vector<std::string> Split(const std::string& stored) {
    std::vector<std::string> lines;
    CLineFile::SplitLines(stored, "\r\n", lines);
    // The lines and their ends give the file back.
    std::string joined;
    for (const std::string& line : lines) {
        Require(line.find("\r\n") == std::string::npos);
        joined += line;
        joined += "\r\n";
    }
    Require(joined == stored || joined == stored + "\r\n");
    return lines;
}

// Every text a pick of this file may give, worked out line by line.
std::set<std::string> Showable(const std::vector<std::string>& stored) {
    std::set<std::string> texts;
    std::string source;
    bool heading = false;
    for (std::size_t i = 0; i < stored.size() && i <= 2131; ++i) {
        std::string line = stored[i];
        for (char& c : line) {
            c = static_cast<char>(static_cast<unsigned char>(c) - kTipsShift);
        }
        if (!line.empty() && line[0] == '[') {
            heading = true;
            source.clear();
            for (const char c : line) {
                if (c != '[' && c != ']') {
                    source += c;
                }
            }
        } else if (i >= 1 && heading && !line.empty() && line != "\r\n") {
            texts.insert(line + "\r\n-- " + source);
        }
    }
    return texts;
}

constexpr const char* kPath = "C:\\Pausora\\all.txt";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::uint32_t start = input.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t step = input.ConsumeIntegral<std::uint32_t>();
    const bool stuck = input.ConsumeBool();
    const bool onDisk = input.ConsumeBool();
    const std::string second = input.ConsumeRandomLengthString(256);
    const std::string first = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string> lines = Split(first);
    const std::set<std::string> showable = Showable(lines);

    MemoryRegistry registry;
    const std::string installDir = "C:\\Pausora";  // the picker adds the separator
    registry.SetRaw(reg::kAppKey, reg::kInstallDir, MemoryRegistry::Type::kString,
                    {installDir.begin(), installDir.end()});
    Files files;
    files.bytes[kPath] = first;
    files.stamps[kPath] = {first.size(), 1};

    // Each pick may draw hundreds of times on a short file: one pick, then
    // the lines kept are looked at directly.
    CTipsFile kept(files, files);
    SteeredRandom random(start, step, stuck);
    const std::string tip = PickTip(registry, kept, random);
    Require(tip.empty() == showable.empty());
    Require(tip.empty() || showable.count(tip) == 1);
    Require(random.draws <= kMaxTipDraws);
    const int reads = files.reads;
    std::vector<std::string> decoded = lines;
    for (std::string& line : decoded) {
        DecodeTipLine(line);
    }
    Require(kept.Lines(kPath) == decoded);
    Require(files.reads == reads);

    // Replaced: a new stamp is a new file; gone, nothing.
    files.bytes[kPath] = second;
    files.stamps[kPath] = {second.size(), 2};
    std::vector<std::string> replaced = Split(second);
    for (std::string& line : replaced) {
        DecodeTipLine(line);
    }
    Require(kept.Lines(kPath) == replaced);
    files.bytes.clear();
    files.stamps.clear();
    Require(kept.Lines(kPath).empty());

    if (onDisk) {
        // The same bytes through a real file give the same lines.
        static const struct Folder {
            Folder() {
                // In memory where there is such a folder: a file system on
                // disk writes a truncated file out at every close.
                char shared[] = "/dev/shm/pausora-tips-fuzz.XXXXXX";
                char temporary[] = "/tmp/pausora-tips-fuzz.XXXXXX";
                const char* made = ::mkdtemp(shared);
                made = made ? made : ::mkdtemp(temporary);
                Require(made != nullptr);
                path = std::string(made) + "/all.txt";
            }
            ~Folder() {
                std::remove(path.c_str());
                ::rmdir(path.substr(0, path.size() - 8).c_str());
            }
            std::string path;
        } folder;
        std::ofstream(folder.path, std::ios::binary | std::ios::trunc) << first;
        CLineFile file;
        PosixFileStamps stamps;
        CTipsFile onFile(file, stamps);
        Require(onFile.Lines(folder.path) == decoded);
    }
    return 0;
}
