// history.csv on disk: %LOCALAPPDATA%\Pausora\history.csv, replaced whole at
// every write through a temporary file in the same folder.
#pragma once

#include "history/history_recorder.h"

#include <string>
#include <string_view>

namespace pausora {

// The full path of history.csv; empty when the system names no local
// application-data folder.
std::wstring HistoryFilePath();

// Writes `text` to `path` all or nothing, through "<path>.tmp" beside it.
// False, leaving the old file as it was, when any step fails.
bool WriteFileWhole(const std::wstring& path, std::string_view text);

class WinHistoryStorage final : public IHistoryStorage {
  public:
    // The real file, or another one (for tests and the export).
    explicit WinHistoryStorage(std::wstring path = HistoryFilePath()) : m_path(std::move(path)) {}

    ReadResult Read(std::string& text, std::size_t limit) override;
    bool Write(std::string_view text) override;
    bool Remove() override;

    const std::wstring& Path() const { return m_path; }

  private:
    std::wstring m_path;
};

}  // namespace pausora
