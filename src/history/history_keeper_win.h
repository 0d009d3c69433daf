// The break history's whole life in one place: kept or not as the settings
// say, written when something is owed, and its file deleted when the user,
// asked, wants it gone.
#pragma once

#include "history/history_recorder.h"
#include "history/history_store_win.h"

#include <windows.h>

#include <string>

namespace pausora {

class HistoryKeeper final : public IHistorySink {
  public:
    explicit HistoryKeeper(IPresenter& presenter, std::wstring path = HistoryFilePath())
        : m_file(std::move(path)), m_recorder(m_file, presenter) {}

    // What the history window shows and exports.
    const HistoryRecorder& Recorder() const { return m_recorder; }

    // "KeepHistory" on or off.
    void SetKeeping(bool keep) { m_recorder.SetKeeping(keep); }
    // Stops keeping and deletes the file, as the user chose; a file that will
    // not go is reported over `owner`.
    void Delete(HWND owner);
    // Writes what changed since the last minute step.
    void Flush() { m_recorder.Flush(); }

    // Asks over `owner`, as the user clears "Keep a history", whether the
    // file kept so far goes too; true for Yes.
    static bool AskToDelete(HWND owner);

    void OnBreak(const LocalTime& day, BreakKind kind, BreakOutcome outcome) override {
        m_recorder.OnBreak(day, kind, outcome);
    }
    void OnPoints(const LocalTime& day, std::int64_t change) override {
        m_recorder.OnPoints(day, change);
    }
    void OnMinuteStep(const LocalTime& day, const LocalTime& now, std::uint32_t dayMinutes,
                      bool active) override {
        m_recorder.OnMinuteStep(day, now, dayMinutes, active);
    }

  private:
    WinHistoryStorage m_file;
    HistoryRecorder m_recorder;
};

}  // namespace pausora
