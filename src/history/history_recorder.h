// Keeps the break history: the engine's hooks fill today's record, and the
// minute step writes the file when something changed.
#pragma once

#include "history/history_file.h"
#include "scheduler/engine_ports.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace pausora {

// Where history.csv lives. Write replaces the whole file in one step, so a
// kill at any moment leaves either the old file or the new one.
class IHistoryStorage {
  public:
    virtual ~IHistoryStorage() = default;
    enum class ReadResult { kRead, kMissing, kFailed };
    // Reads at most `limit` bytes; a larger file is kFailed.
    virtual ReadResult Read(std::string& text, std::size_t limit) = 0;
    virtual bool Write(std::string_view text) = 0;
    // Deletes the file; true when it is gone (or was never there).
    virtual bool Remove() = 0;
};

class HistoryRecorder final : public IHistorySink {
  public:
    // Larger than any history Pausora writes (two years are some 40 KB) by
    // far; a larger file is someone else's, read and written by nobody.
    static constexpr std::size_t kLargestFile = 64 * 1024 * 1024;

    HistoryRecorder(IHistoryStorage& storage, IPresenter& presenter)
        : m_storage(storage), m_presenter(presenter) {}

    // "KeepHistory": on reads the file (once, while it stays on); off
    // forgets everything and writes nothing.
    void SetKeeping(bool keep);
    bool Keeping() const { return m_keeping; }
    // The history as it is now, today's line with this minute in it. Empty
    // while not keeping.
    const HistoryFile& File() const { return m_file; }
    // The file could not be read: it is left alone, and nothing is written.
    bool Blocked() const { return m_blocked; }

    void OnBreak(const LocalTime& day, BreakKind kind, BreakOutcome outcome) override;
    void OnPoints(const LocalTime& day, std::int64_t change) override;
    void OnMinuteStep(const LocalTime& day, const LocalTime& now, std::uint32_t dayMinutes,
                      bool active) override;

    // Writes now if something changed since the last write.
    void Flush();

  private:
    DayRecord* Record(const LocalTime& day);

    IHistoryStorage& m_storage;
    IPresenter& m_presenter;
    HistoryFile m_file;
    bool m_keeping = false;
    bool m_blocked = false;
    bool m_dirty = false;
    bool m_failing = false;  // the last write failed; reported once
    Date m_trimmedOn;
};

}  // namespace pausora
