#include "history/history_store_win.h"

#include "ui/handles.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

namespace pausora {

std::wstring HistoryFilePath() {
    std::wstring folder;
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        folder.assign(buffer, length);
    } else if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, buffer))) {
        folder = buffer;
    }
    if (folder.empty()) {
        return {};
    }
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    return folder + L"Pausora\\history.csv";
}

namespace {

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteAll(HANDLE file, std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace

bool WriteFileWhole(const std::wstring& path, std::string_view text) {
    if (path.empty()) {
        return false;
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    if (!folder.empty() && !Exists(folder)) {
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    const std::wstring temporary = path + L".tmp";
    {
        ui::FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        if (!WriteAll(file.get(), text) || !::FlushFileBuffers(file.get())) {
            file.reset();
            ::DeleteFileW(temporary.c_str());
            return false;
        }
    }
    // ReplaceFileW keeps the old file's identity (its security and times);
    // it needs a file to replace.
    if (Exists(path) && ::ReplaceFileW(path.c_str(), temporary.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return true;
    }
    if (::MoveFileExW(temporary.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    ::DeleteFileW(temporary.c_str());
    return false;
}

IHistoryStorage::ReadResult WinHistoryStorage::Read(std::string& text, std::size_t limit) {
    if (m_path.empty()) {
        return ReadResult::kFailed;
    }
    ui::FileHandle file(::CreateFileW(m_path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kMissing
                                                                              : ReadResult::kFailed;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > limit) {
        return ReadResult::kFailed;
    }
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1u << 20));
        if (!::ReadFile(file.get(), text.data() + done, chunk, &got, nullptr)) {
            return ReadResult::kFailed;
        }
        if (got == 0) {
            break;  // shorter than it said: what is there
        }
        done += got;
    }
    text.resize(done);
    return ReadResult::kRead;
}

bool WinHistoryStorage::Write(std::string_view text) {
    return WriteFileWhole(m_path, text);
}

bool WinHistoryStorage::Remove() {
    if (m_path.empty()) {
        return true;
    }
    if (::DeleteFileW(m_path.c_str())) {
        return true;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace pausora
