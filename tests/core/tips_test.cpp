#include "tips/tips.h"

#include "scheduler/tip_source.h"

#include "shared/memory_registry.h"
#include "tips/random_range.h"
#include "tips/line_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pausora {
namespace {

std::string Encode(std::string_view text) {
    std::string stored(text);
    for (char& c : stored) {
        c = static_cast<char>(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) + kTipsShift));
    }
    return stored;
}

// Files held in memory, stored shifted as on disk; remembers what was asked.
// Every Put gives the file a new last-write time.
class MemoryLineSource final : public ILineSource, public IFileStamps {
  public:
    std::map<std::string, std::vector<std::string>> files;
    std::map<std::string, FileStamp> stamps;
    std::vector<std::string> requested;
    bool unreadable = false;  // found, but every read fails (a locked file)

    void Put(const std::string& path, const std::vector<std::string>& decoded) {
        std::vector<std::string>& stored = files[path];
        stored.clear();
        for (const std::string& line : decoded) {
            stored.push_back(Encode(line));
        }
        stamps[path] = {stored.size(), stamps[path].lastWrite + 1};
    }

    std::optional<FileStamp> Stamp(std::string_view path) override {
        const auto stamp = stamps.find(std::string(path));
        if (stamp == stamps.end() || !files.count(stamp->first)) {
            return std::nullopt;
        }
        return stamp->second;
    }

    bool ReadLines(std::string_view path, std::vector<std::string>& lines) override {
        requested.emplace_back(path);
        lines.clear();
        const auto file = files.find(std::string(path));
        if (file == files.end() || unreadable) {
            return false;
        }
        lines = file->second;
        return true;
    }
};

// A fixed clock. Each draw either lands on the next line of `script` or, when
// the script is used up, moves the counter on so that draws differ. `stuck`
// keeps the counter still, so every draw gives the same line.
class ScriptedRandom final : public IRandomEnvironment {
  public:
    std::deque<std::int32_t> script;
    bool stuck = false;
    int draws = 0;

    std::int64_t NowSeconds() override { return 1'765'000'000; }
    LocalDate LocalCalendar(std::int64_t) override { return {2026, 12, 7}; }
    std::int64_t PerformanceCounter() override {
        ++draws;
        if (!script.empty()) {
            const std::int32_t line = script.front();
            script.pop_front();
            return CounterLandingOn(line);
        }
        return stuck ? 42 : m_counter += 7919;
    }
    void ShowMessage(std::string_view) override { ADD_FAILURE() << "no message expected"; }

  private:
    // Tries counters on a twin of this clock until RandomRange lands on `line`.
    std::int64_t CounterLandingOn(std::int32_t line) {
        struct Probe final : IRandomEnvironment {
            std::int64_t counter = 0;
            std::int64_t NowSeconds() override { return 1'765'000'000; }
            LocalDate LocalCalendar(std::int64_t) override { return {2026, 12, 7}; }
            std::int64_t PerformanceCounter() override { return counter; }
            void ShowMessage(std::string_view) override {}
        } probe;
        RandomRange range(probe, kFirstTipLine, kLastTipLine);
        for (probe.counter = 0; probe.counter < 10'000'000; ++probe.counter) {
            if (range.Next() == line) {
                return probe.counter;
            }
        }
        ADD_FAILURE() << "no counter lands on line " << line;
        return 0;
    }

    std::int64_t m_counter = 0;
};

constexpr const char* kFolder = "C:\\Program Files\\Pausora\\";

class PickTipTest : public ::testing::Test {
  protected:
    PickTipTest() {
        registry.CreateKeyPath(reg::kAppKey);
        registry.SetRaw(reg::kAppKey, reg::kInstallDir, MemoryRegistry::Type::kString,
                        {kFolder, kFolder + std::char_traits<char>::length(kFolder) + 1});
    }

    // A file of `count` lines: line 0 the heading "[Filler]", the rest empty,
    // then `lines` placed at their indices.
    void PutFile(std::size_t count, const std::map<std::size_t, std::string>& lines) {
        std::vector<std::string> decoded(count);
        if (count > 0) {
            decoded[0] = "[Filler]";
        }
        for (const auto& [index, text] : lines) {
            decoded.at(index) = text;
        }
        files.Put(std::string(kFolder) + "all.txt", decoded);
    }

    // A fresh keeper each time: every pick reads the file.
    std::string Pick() {
        CTipsFile file(files, files);
        return PickTip(registry, file, random);
    }

    MemoryRegistry registry;
    MemoryLineSource files;
    ScriptedRandom random;
};

TEST_F(PickTipTest, ReadsAllTxtInTheInstallFolderOrElseTheProgramsOrTheCurrentFolder) {
    PutFile(2132, {{5, "Blink."}});
    EXPECT_EQ(Pick(), "Blink.\r\n-- Filler");
    ASSERT_EQ(files.requested.size(), 1u);
    EXPECT_EQ(files.requested[0], "C:\\Program Files\\Pausora\\all.txt");

    const std::unique_ptr<IRegistryKey> key = registry.NewKey();
    ASSERT_TRUE(key->Open(reg::kAppKey));
    ASSERT_TRUE(key->WriteString(reg::kInstallDir, "D:\\Tools\\Pausora"));
    Pick();
    EXPECT_EQ(files.requested.back(), "D:\\Tools\\Pausora\\all.txt");

    ASSERT_TRUE(key->DeleteValue(reg::kInstallDir));
    key->Close();
    Pick();
    EXPECT_EQ(files.requested.back(), "all.txt");

    registry.DeleteKeyTree(reg::kAppKey);
    Pick();
    EXPECT_EQ(files.requested.back(), "all.txt");
    // Installed for the whole machine: beside the program.
    CTipsFile file(files, files);
    PickTip(registry, file, random, "C:\\Program Files\\Pausora");
    EXPECT_EQ(files.requested.back(), "C:\\Program Files\\Pausora\\all.txt");
}

// The user's language has a file of its own, UTF-8 as it stands; without
// one (an English user, or a language whose file is missing) the English file.
TEST_F(PickTipTest, ReadsTheLanguagesOwnFileAndElseTheEnglishOne) {
    PutFile(2132, {{5, "Blink."}});
    std::vector<std::string> german(2132);
    german[0] = "[Pausora: Augen]";
    german[7] = "Blinzeln Sie öfter.";
    files.Put(std::string(kFolder) + "all.de-DE.txt", german);
    TipsFileSource source(registry, files, files, random);
    const struct {
        std::string_view language;
        std::string_view tip;
        bool translated;
    } rows[] = {
        {"de-DE", "Blinzeln Sie öfter.\r\n-- Pausora: Augen", true},
        {"ja-JP", "Blink.\r\n-- Filler", false},
        {"en-US", "Blink.\r\n-- Filler", false},
        {"", "Blink.\r\n-- Filler", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.language);
        source.SetLanguage(row.language);
        EXPECT_EQ(source.PickTip(), row.tip);
        EXPECT_EQ(source.LastTranslated(), row.translated);
    }
}

TEST_F(PickTipTest, ShowsTheSayingWithTheNearestHeadingAboveWithoutAnyBrackets) {
    PutFile(2132, {{1, "[Pausora: Eyes]"},
                   {2, "Look twenty feet away."},
                   {10, "[Far]"},
                   {11, "[Near [the] source]]"},
                   {12, "Roll your shoulders."},
                   {13, "Unclench your jaw."}});
    random.script = {2, 13, 12};
    EXPECT_EQ(Pick(), "Look twenty feet away.\r\n-- Pausora: Eyes");
    EXPECT_EQ(Pick(), "Unclench your jaw.\r\n-- Near the source");
    EXPECT_EQ(Pick(), "Roll your shoulders.\r\n-- Near the source");
    EXPECT_EQ(random.draws, 3);
}

TEST(TipSaying, IsThePickedTipUpToItsSourceLine) {
    EXPECT_EQ(TipSaying("Stand up.\r\n-- Pausora: Movement"), "Stand up.");
    EXPECT_EQ(TipSaying("Stand up."), "Stand up.");
    EXPECT_EQ(TipSaying(""), "");
}

TEST_F(PickTipTest, TheEnginesTipSourceReadsTheFileAgainOnlyWhenItChanged) {
    TipsFileSource source(registry, files, files, random);
    ITipSource& tips = source;
    const std::string path = std::string(kFolder) + "all.txt";
    PutFile(2132, {{5, "Blink."}});
    EXPECT_EQ(tips.PickTip(), "Blink.\r\n-- Filler");
    EXPECT_EQ(tips.PickTip(), "Blink.\r\n-- Filler");
    EXPECT_EQ(files.requested.size(), 1u);

    // A new last-write time alone, or a new size alone, is a changed file.
    PutFile(2132, {{6, "Stretch."}});
    EXPECT_EQ(tips.PickTip(), "Stretch.\r\n-- Filler");
    PutFile(2133, {{7, "Walk."}});
    files.stamps[path].lastWrite -= 1;
    EXPECT_EQ(tips.PickTip(), "Walk.\r\n-- Filler");
    EXPECT_EQ(files.requested.size(), 3u);

    // Another folder is another file, whatever its stamp.
    files.files["D:\\all.txt"] = {Encode("[Other]"), Encode("Breathe.")};
    files.stamps["D:\\all.txt"] = files.stamps[path];
    const std::unique_ptr<IRegistryKey> key = registry.NewKey();
    ASSERT_TRUE(key->Open(reg::kAppKey));
    ASSERT_TRUE(key->WriteString(reg::kInstallDir, "D:\\"));
    EXPECT_EQ(tips.PickTip(), "Breathe.\r\n-- Other");
    ASSERT_TRUE(key->WriteString(reg::kInstallDir, kFolder));
    EXPECT_EQ(tips.PickTip(), "Walk.\r\n-- Filler");

    // Gone: nothing to show; back: read again. A file that is there but
    // cannot be read is tried again at every notice.
    files.files.erase(path);
    EXPECT_EQ(tips.PickTip(), "");
    PutFile(2132, {{8, "Sit up."}});
    files.unreadable = true;
    EXPECT_EQ(tips.PickTip(), "");
    files.unreadable = false;
    EXPECT_EQ(tips.PickTip(), "Sit up.\r\n-- Filler");
    const std::size_t reads = files.requested.size();
    EXPECT_EQ(tips.PickTip(), "Sit up.\r\n-- Filler");
    EXPECT_EQ(files.requested.size(), reads);
}

TEST_F(PickTipTest, DrawsAgainOnHeadingsEmptyLinesAndBareLineEnds) {
    PutFile(2132, {{3, "[Source]"}, {4, "\r\n"}, {2131, "Stand up."}});
    random.script = {3, 4, 1000, 2131};
    EXPECT_EQ(Pick(), "Stand up.\r\n-- Source");
    EXPECT_EQ(random.draws, 4);
}

TEST_F(PickTipTest, DecodesEveryByteInEightBitArithmetic) {
    std::string everyByte;
    for (int code = 1; code < 256; ++code) {
        if (code != '[' && code != ']') {
            everyByte += static_cast<char>(code);
        }
    }
    PutFile(2132, {{7, everyByte}});
    random.script = {7};
    EXPECT_EQ(Pick(), everyByte + "\r\n-- Filler");

    std::string stored = Encode(everyByte);
    DecodeTipLine(stored);
    EXPECT_EQ(stored, everyByte);
}

TEST_F(PickTipTest, LinesZeroAndPastTheLastCandidateAreNeverShown) {
    PutFile(2200, {{0, "[Source]"}, {2132, "Too far down."}, {2199, "Also too far."}});
    EXPECT_EQ(Pick(), "");

    files.Put(std::string(kFolder) + "all.txt", {"A saying on line 0."});
    EXPECT_EQ(Pick(), "");
}

// A generator that keeps giving the same unusable line must not hold the
// notice up: after the last draw the next saying after that line is taken,
// going round to the top of the file if need be.
TEST_F(PickTipTest, AStuckGeneratorEndsWithTheNextSayingAfterItsLine) {
    PutFile(2132, {{2, "First."}, {1500, "Second."}});
    random.stuck = true;
    RandomRange twin(random, kFirstTipLine, kLastTipLine);
    const std::int32_t stuckAt = twin.Next();
    ASSERT_NE(stuckAt, 2);
    ASSERT_NE(stuckAt, 1500);
    random.draws = 0;

    EXPECT_EQ(Pick(),
              stuckAt < 1500 && stuckAt > 2 ? "Second.\r\n-- Filler" : "First.\r\n-- Filler");
    EXPECT_EQ(random.draws, kMaxTipDraws);
}

TEST_F(PickTipTest, BrokenFilesGiveAnEmptyTextWithoutDrawingOrReadingPastTheEnd) {
    const std::string path = std::string(kFolder) + "all.txt";
    const std::vector<std::vector<std::string>> broken = {
        {},
        {"", "", ""},
        {"[Only]", "[Headings]", "", "[Here]"},
        {"No heading", "above these", "sayings."},
        {"Saying first.", "[Heading]", "", ""},
    };
    for (const std::vector<std::string>& file : broken) {
        files.Put(path, file);
        random.draws = 0;
        EXPECT_EQ(Pick(), "") << "file of " << file.size() << " lines";
        EXPECT_EQ(random.draws, 0) << "file of " << file.size() << " lines";
    }

    files.files.clear();  // no file at all
    EXPECT_EQ(Pick(), "");
    EXPECT_EQ(random.draws, 0);
}

TEST_F(PickTipTest, AShortFileStillGivesItsSayings) {
    files.Put(std::string(kFolder) + "all.txt", {"[Seneca]", "", "Nothing is ours, except time."});
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        random.draws = 0;
        seen.insert(Pick());
        EXPECT_LE(random.draws, kMaxTipDraws);
    }
    EXPECT_EQ(seen, std::set<std::string>{"Nothing is ours, except time.\r\n-- Seneca"});
}

// --- CLineFile on real files ------------------------------------------------

class LineFileTest : public ::testing::Test {
  protected:
    LineFileTest() {
        dir = std::filesystem::temp_directory_path() /
              ("pausora_tips_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    ~LineFileTest() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path dir;
};

TEST_F(LineFileTest, SplitsAtCrLfOnlyAndKeepsEveryByte) {
    const std::string path = Write("a.txt", "one\r\n\r\ntwo\nstill two\rand\x1A\xFF\r\nlast");
    CLineFile file;
    std::vector<std::string> lines = {"left over"};
    ASSERT_TRUE(file.ReadLines(path, lines));
    EXPECT_EQ(file.LastError(), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "", "two\nstill two\rand\x1A\xFF", "last"}));

    // A final line end ends the last line; it does not start an empty one.
    ASSERT_TRUE(file.ReadLines(Write("b.txt", "x\r\n\r\n"), lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"x", ""}));
    ASSERT_TRUE(file.ReadLines(Write("c.txt", ""), lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(LineFileTest, AFileThatCannotBeOpenedLeavesNoLinesAndAnError) {
    CLineFile file;
    std::vector<std::string> lines = {"left over"};
    EXPECT_FALSE(file.ReadLines((dir / "missing.txt").string(), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(file.LastError(), 0);

    EXPECT_TRUE(file.ReadLines(Write("there.txt", "y"), lines));
    EXPECT_EQ(file.LastError(), 0);
}

TEST_F(LineFileTest, ANameWithoutExtensionGetsTheDefaultOne) {
    Write("notes.txt", "found");
    CLineFile file;
    std::vector<std::string> lines;
    ASSERT_TRUE(file.ReadLines((dir / "notes").string(), lines));
    EXPECT_EQ(lines, std::vector<std::string>{"found"});

    EXPECT_EQ(file.FullPath("C:\\my.dir\\all"), "C:\\my.dir\\all.txt");
    EXPECT_EQ(file.FullPath("all.txt"), "all.txt");
    EXPECT_EQ(file.FullPath("folder.v2/tips"), "folder.v2/tips.txt");
}

// --- The shipped tips file ---------------------------------------------------

std::vector<std::string> ReadShipped(const char* path, bool decode) {
    CLineFile file;
    std::vector<std::string> lines;
    EXPECT_TRUE(file.ReadLines(path, lines)) << path;
    if (decode) {
        for (std::string& line : lines) {
            DecodeTipLine(line);
        }
    }
    return lines;
}

TEST(ShippedTips, DecodesToItsSourceAndHoldsOverAThousandSayingsUnderHeadings) {
    const std::vector<std::string> decoded = ReadShipped(PAUSORA_TIPS_FILE, true);

    // The readable source may have either line end; the shipped file is what
    // the encoder made of it, character for character.
    std::ifstream sourceFile(PAUSORA_TIPS_SOURCE, std::ios::binary);
    std::string source{std::istreambuf_iterator<char>(sourceFile), {}};
    std::vector<std::string> sourceLines;
    CLineFile::SplitLines(source, "\n", sourceLines);
    for (std::string& line : sourceLines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    EXPECT_EQ(decoded, sourceLines);

    ASSERT_GE(decoded.size(), 2132u);
    EXPECT_TRUE(IsTipHeading(decoded[0]));
    std::set<std::string> sayings;
    bool headingSeen = false;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const std::string& line = decoded[i];
        headingSeen = headingSeen || IsTipHeading(line);
        if (IsTipSaying(line)) {
            EXPECT_TRUE(headingSeen) << "line " << i;
            EXPECT_LE(line.size(), 100u) << "line " << i << " does not fit the popup";
            EXPECT_EQ(line.find('&'), std::string::npos) << "line " << i;
            EXPECT_TRUE(sayings.insert(line).second) << "line " << i << " twice: " << line;
        }
    }
    EXPECT_GE(sayings.size(), 1000u);
}

TEST(ShippedTips, PicksAreSayingsWithTheirSourcesSpreadOverTheWholeFile) {
    const std::vector<std::string> stored = ReadShipped(PAUSORA_TIPS_FILE, false);
    const std::vector<std::string> decoded = ReadShipped(PAUSORA_TIPS_FILE, true);

    // Every text a pick may give, and the line it comes from.
    std::map<std::string, std::size_t> lineOf;
    std::string source;
    for (std::size_t i = 0; i < decoded.size() && i <= 2131; ++i) {
        if (IsTipHeading(decoded[i])) {
            source = TipSourceName(decoded[i]);
        } else if (i > 0 && IsTipSaying(decoded[i])) {
            lineOf[decoded[i] + "\r\n-- " + source] = i;
        }
    }

    MemoryRegistry registry;
    MemoryLineSource files;
    files.files["all.txt"] = stored;
    ScriptedRandom random;
    std::set<std::size_t> picked;
    constexpr int kPicks = 1000;
    CTipsFile file(files, files);
    for (int n = 0; n < kPicks; ++n) {
        const std::string tip = PickTip(registry, file, random);
        const auto found = lineOf.find(tip);
        ASSERT_NE(found, lineOf.end()) << tip;
        picked.insert(found->second);
    }
    // 1000 draws over about 1100 sayings reach about 60% of them.
    EXPECT_GE(picked.size(), lineOf.size() / 2);
    for (std::size_t tenth = 0; tenth < 10; ++tenth) {
        const std::size_t from = 1 + tenth * 213;
        EXPECT_NE(picked.lower_bound(from), picked.lower_bound(from + 213))
            << "nothing picked from lines " << from << " to " << from + 212;
    }
}

}  // namespace
}  // namespace pausora
