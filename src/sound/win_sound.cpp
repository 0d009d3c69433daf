#include "sound/win_sound.h"
#include "ui/utf.h"

#include "resource.h"
#include "ui/handles.h"
#include "ui/window.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace pausora {

namespace {

constexpr const char* kMessageTitle = "Pausora";

[[noreturn]] void ThrowLastError(std::string path) {
    throw CFileError(FileErrorCauseOf(::GetLastError()), std::move(path));
}

class CWinReadFile final : public IReadFile {
  public:
    CWinReadFile(ui::FileHandle file, std::string path)
        : m_file(std::move(file)), m_path(std::move(path)) {}

    std::size_t Read(std::span<std::uint8_t> into) override {
        std::size_t done = 0;
        while (done < into.size()) {
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(into.size() - done, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(m_file.get(), into.data() + done, want, &got, nullptr)) {
                ThrowLastError(m_path);
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        return done;
    }

    std::uint64_t Remaining() override {
        LARGE_INTEGER size{};
        LARGE_INTEGER position{};
        if (!::GetFileSizeEx(m_file.get(), &size) ||
            !::SetFilePointerEx(m_file.get(), LARGE_INTEGER{}, &position, FILE_CURRENT)) {
            ThrowLastError(m_path);
        }
        return size.QuadPart > position.QuadPart
                   ? static_cast<std::uint64_t>(size.QuadPart - position.QuadPart)
                   : 0;
    }

  private:
    ui::FileHandle m_file;
    std::string m_path;
};

}  // namespace

FileErrorCause FileErrorCauseOf(DWORD systemError) {
    switch (systemError) {
        case ERROR_FILE_NOT_FOUND:
            return FileErrorCause::kFileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return FileErrorCause::kBadPath;
        case ERROR_TOO_MANY_OPEN_FILES:
            return FileErrorCause::kTooManyOpenFiles;
        case ERROR_ACCESS_DENIED:
        case ERROR_NETWORK_ACCESS_DENIED:
            return FileErrorCause::kAccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileErrorCause::kSharingViolation;
        case ERROR_INVALID_HANDLE:
            return FileErrorCause::kInvalidFile;
        default:
            return FileErrorCause::kGeneric;
    }
}

std::unique_ptr<IReadFile> CWinFileOpener::OpenExclusive(std::string_view path) {
    std::string name(path);
    ui::FileHandle file(::CreateFile(Widen(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        ThrowLastError(std::move(name));
    }
    return std::make_unique<CWinReadFile>(std::move(file), std::move(name));
}

namespace {

// One run of tones at a time in the whole program.
std::atomic<bool> g_tonesPlaying{false};

}  // namespace

void CWinSoundFeedback::BeepTones(std::span<const std::uint32_t> frequencies,
                                  std::uint32_t milliseconds) {
    if (frequencies.empty() || g_tonesPlaying.exchange(true)) {
        return;
    }
    // The thread owns a copy of everything it needs, so it may outlive this
    // object (and is simply ended with the process).
    try {
        std::thread([tone = m_tone, tones = std::vector(frequencies.begin(), frequencies.end()),
                     milliseconds] {
            for (const std::uint32_t frequency : tones) {
                tone(frequency, milliseconds);
            }
            g_tonesPlaying = false;
        }).detach();
    } catch (const std::system_error&) {
        g_tonesPlaying = false;  // silence rather than a blocked window
    }
}

void CWinSoundFeedback::ShowMessage(std::string_view text, SoundMessageStyle style) {
    if (m_notify == 0) {
        Show(std::string(text), style);
        return;
    }
    m_waiting.emplace_back(std::string(text), style);
    ::PostMessage(m_owner, m_notify, 0, 0);
}

bool CWinSoundFeedback::ShowNextMessage() {
    if (m_waiting.empty()) {
        return false;
    }
    auto [text, style] = std::move(m_waiting.front());
    m_waiting.pop_front();
    Show(std::move(text), style);
    return true;
}

std::string CWinSoundFeedback::FileErrorText(const CFileError& error) const {
    std::string pattern(FileErrorPattern(error.Cause()));
    ui::LoadText(pattern, IDS_FILE_ERROR + static_cast<UINT>(error.Cause()));
    return pausora::FileErrorText(error, pattern);
}

void CWinSoundFeedback::Show(std::string text, SoundMessageStyle style) const {
    UINT flags = style == SoundMessageStyle::kOutOfMemory
                     ? MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL
                     : MB_OK | MB_ICONSTOP;
    if (style == SoundMessageStyle::kOutOfMemory) {
        ui::LoadText(text, IDS_OUT_OF_MEMORY);
    }
    if (m_notify != 0) {
        // The owner is the hidden main window: without these the box could
        // open behind whatever the user is working in.
        flags |= MB_SETFOREGROUND | MB_TOPMOST;
    }
    ::MessageBox(m_owner, Widen(text).c_str(), Widen(kMessageTitle).c_str(), flags);
}

}  // namespace pausora
