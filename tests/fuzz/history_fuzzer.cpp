// Reads history.csv of arbitrary contents. Whatever it holds: every line is
// either a day record or kept as it was; writing the file and reading it back
// gives the same records and the same text; a day added and the two-year trim
// keep every line that is not a record; a record read is one the writer would
// write the same way.
#include "history/history_file.h"
#include "fuzz/require.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace pausora;

using pausora::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    HistoryFile file = HistoryFile::Parse(text);
    const std::string written = file.Serialise();
    Require(written.starts_with(kHistoryHeader));
    const HistoryFile again = HistoryFile::Parse(written);
    Require(again.Records() == file.Records());
    Require(again.KeptLineCount() == file.KeptLineCount());
    Require(again.Serialise() == written);
    for (const DayRecord& r : file.Records()) {
        DayRecord back;
        Require(ParseDayLine(FormatDayLine(r), back) && back == r);
        Require(IsValidDate(r.date));
    }
    // A new day and the trim change records only.
    const std::size_t kept = file.KeptLineCount();
    const Date today = file.Records().empty() ? Date{2026, 12, 7} : file.Records().back().date;
    file.Day(today).minutes += 1;
    file.Trim(today);
    Require(file.KeptLineCount() == kept);
    Require(file.Find(today) != nullptr);
    for (const DayRecord& r : file.Records()) {
        Require(!(r.date < Date{today.year - 2, today.month, today.day}));
    }
    return 0;
}
