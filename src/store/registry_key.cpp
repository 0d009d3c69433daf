#include "store/registry_key.h"

#include "ui/code_page.h"
#include "ui/utf.h"

#include <algorithm>
#include <string>
#include <vector>

namespace pausora {
namespace {
// The API wants zero-terminated UTF-16 names; ours are UTF-8 views.
std::wstring Z(std::string_view text) {
    return Widen(text);
}
}  // namespace

bool CRegistryKey::Check(LONG result) {
    m_lastResult = result;
    return result == ERROR_SUCCESS;
}

bool CRegistryKey::Open(HKEY root, std::string_view subkey) {
    Close();
    HKEY key = nullptr;
    LSTATUS result = ::RegOpenKeyExW(root, Z(subkey).c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_ACCESS_DENIED) {
        // A key made read-only (by policy) still gives its values; each
        // write then fails on its own and says so.
        result = ::RegOpenKeyExW(root, Z(subkey).c_str(), 0, KEY_READ, &key);
    }
    if (!Check(result)) {
        m_key = nullptr;
        return false;
    }
    m_key = key;
    return true;
}

bool CRegistryKey::Create(HKEY root, std::string_view subkey) {
    Close();
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (!Check(::RegCreateKeyExW(root, Z(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &key, &disposition))) {
        m_key = nullptr;
        return false;
    }
    m_key = key;
    return true;
}

bool CRegistryKey::ReadString(std::string_view name, std::string& out) {
    out.clear();
    if (m_key == nullptr) {
        return false;
    }
    const std::wstring valueName = Z(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (!Check(::RegQueryValueExW(m_key, valueName.c_str(), nullptr, &type, nullptr, &size))) {
        return false;
    }
    if (size == 0) {
        return true;
    }
    if (size > kMaxRegistryValueBytes) {
        m_lastResult = ERROR_MORE_DATA;
        return false;
    }
    // Room for whole UTF-16 units and a spare zero, so that text stored
    // without its terminator (or with an odd byte count) still ends.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD got = size;
    if (!Check(::RegQueryValueExW(m_key, valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &got))) {
        return false;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        out = Narrow(buffer.data());  // up to the first zero
        return true;
    }
    // Any other type is read as the bytes it holds, taken as 8-bit text up
    // to the first zero, which is what the program has always made of them.
    const auto* bytes = reinterpret_cast<const char*>(buffer.data());
    const std::string_view raw(bytes, std::min<std::size_t>(got, size));
    out = Narrow(WidenFromCodePage(raw.substr(0, raw.find('\0'))));
    return true;
}

bool CRegistryKey::ReadDword(std::string_view name, std::uint32_t& out) {
    out = 0;
    if (m_key == nullptr) {
        return false;
    }
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Check(::RegQueryValueExW(m_key, Z(name).c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(&value), &size))) {
        return false;
    }
    out = value;
    return true;
}

bool CRegistryKey::SetValue(std::string_view name, DWORD type, const void* data, DWORD size) {
    if (m_key == nullptr) {
        return false;
    }
    return Check(
        ::RegSetValueExW(m_key, Z(name).c_str(), 0, type, static_cast<const BYTE*>(data), size));
}

bool CRegistryKey::WriteString(std::string_view name, std::string_view text) {
    // The stored length is the text without a terminator, as the program has
    // always written it; readers add the zero themselves.
    const std::wstring data = Z(text);
    return SetValue(name, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

bool CRegistryKey::WriteDword(std::string_view name, std::uint32_t value) {
    const DWORD data = value;
    return SetValue(name, REG_DWORD, &data, sizeof data);
}

bool CRegistryKey::ReadQword(std::string_view name, std::uint64_t& out) {
    out = 0;
    if (m_key == nullptr) {
        return false;
    }
    // Unlike the DWORD values of old, this one is new and has one shape: a
    // value of another type or size was not written by us and reads as none.
    ULONGLONG value = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof value;
    if (!Check(::RegQueryValueExW(m_key, Z(name).c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value), &size))) {
        return false;
    }
    if (type != REG_QWORD || size != sizeof value) {
        m_lastResult = ERROR_INVALID_DATA;
        return false;
    }
    out = value;
    return true;
}

bool CRegistryKey::WriteQword(std::string_view name, std::uint64_t value) {
    const ULONGLONG data = value;
    return SetValue(name, REG_QWORD, &data, sizeof data);
}

bool CRegistryKey::DeleteValue(std::string_view name) {
    if (m_key == nullptr) {
        return false;
    }
    return Check(::RegDeleteValueW(m_key, Z(name).c_str()));
}

void CRegistryKey::Close() {
    if (m_key != nullptr) {
        ::RegCloseKey(m_key);
        m_key = nullptr;
    }
}

}  // namespace pausora
