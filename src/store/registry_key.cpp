#include "store/registry_key.h"

#include "store/multi_string.h"

#include "ui/code_page.h"
#include "ui/utf.h"

#include <algorithm>
#include <string>
#include <vector>

namespace pausora {

// Both under the key's root; a failure leaves the key closed.
bool CRegistryKey::Open(std::string_view subkey) {
    Close();
    const std::wstring path = Widen(subkey);
    HKEY key = nullptr;
    LSTATUS result = ::RegOpenKeyExW(m_root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_ACCESS_DENIED) {
        // A key made read-only (by policy) still gives its values; each
        // write then fails on its own and says so.
        result = ::RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ, &key);
    }
    m_key = result == ERROR_SUCCESS ? key : nullptr;
    return m_key != nullptr;
}

bool CRegistryKey::Create(std::string_view subkey) {
    Close();
    HKEY key = nullptr;
    const LSTATUS result = ::RegCreateKeyExW(m_root, Widen(subkey).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr);
    m_key = result == ERROR_SUCCESS ? key : nullptr;
    return m_key != nullptr;
}

bool CRegistryKey::Query(std::string_view name, DWORD* type, void* data, DWORD* size) {
    return m_key != nullptr && ::RegQueryValueExW(m_key, Widen(name).c_str(), nullptr, type,
                                                  static_cast<BYTE*>(data), size) == ERROR_SUCCESS;
}

RegistryType CRegistryKey::TypeOf(std::string_view name) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (!Query(name, &type, nullptr, &size)) {
        return RegistryType::kMissing;
    }
    switch (type) {
        case REG_DWORD:
            return size == sizeof(DWORD) ? RegistryType::kDword : RegistryType::kOther;
        case REG_SZ:
        case REG_EXPAND_SZ:
            return RegistryType::kString;
        case REG_MULTI_SZ:
            return RegistryType::kMultiString;
        default:
            return RegistryType::kOther;
    }
}

bool CRegistryKey::ReadString(std::string_view name, std::string& out) {
    out.clear();
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (!Query(name, &type, nullptr, &size)) {
        return false;
    }
    if (size == 0) {
        return true;
    }
    if (size > kMaxRegistryValueBytes) {
        return false;
    }
    // Room for whole UTF-16 units and a spare zero, so that text stored
    // without its terminator (or with an odd byte count) still ends.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD got = size;
    if (!Query(name, &type, buffer.data(), &got)) {
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
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Query(name, nullptr, &value, &size)) {
        return false;
    }
    out = value;
    return true;
}

bool CRegistryKey::SetValue(std::string_view name, DWORD type, const void* data, DWORD size) {
    return m_key != nullptr &&
           ::RegSetValueExW(m_key, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                            size) == ERROR_SUCCESS;
}

bool CRegistryKey::WriteString(std::string_view name, std::string_view text) {
    // The stored length is the text without a terminator, as the program has
    // always written it; readers add the zero themselves.
    const std::wstring data = Widen(text);
    return SetValue(name, REG_SZ, data.c_str(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

bool CRegistryKey::WriteDword(std::string_view name, std::uint32_t value) {
    return SetValue(name, REG_DWORD, &value, sizeof value);
}

bool CRegistryKey::ReadQword(std::string_view name, std::uint64_t& out) {
    out = 0;
    // Unlike the DWORD values of old, this one is new and has one shape: a
    // value of another type or size was not written by us and reads as none.
    ULONGLONG value = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof value;
    if (!Query(name, &type, &value, &size) || type != REG_QWORD || size != sizeof value) {
        return false;
    }
    out = value;
    return true;
}

bool CRegistryKey::WriteQword(std::string_view name, std::uint64_t value) {
    return SetValue(name, REG_QWORD, &value, sizeof value);
}

bool CRegistryKey::ReadMultiString(std::string_view name, std::vector<std::string>& out) {
    out.clear();
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (!Query(name, &type, nullptr, &size) || type != REG_MULTI_SZ ||
        size > kMaxRegistryValueBytes || size % sizeof(wchar_t) != 0) {
        return false;
    }
    std::wstring units(size / sizeof(wchar_t), L'\0');
    DWORD got = size;
    // Changed between the two calls: read as it was asked for, or not at all.
    if (!Query(name, &type, units.data(), &got) || type != REG_MULTI_SZ || got != size) {
        return false;
    }
    auto items = ParseMultiString(units);
    if (!items) {
        return false;
    }
    out = std::move(*items);
    return true;
}

bool CRegistryKey::WriteMultiString(std::string_view name, const std::vector<std::string>& items) {
    const std::wstring units = FormatMultiString(items);
    return units.size() * sizeof(wchar_t) <= kMaxRegistryValueBytes &&
           SetValue(name, REG_MULTI_SZ, units.data(),
                    static_cast<DWORD>(units.size() * sizeof(wchar_t)));
}

bool CRegistryKey::DeleteValue(std::string_view name) {
    return m_key != nullptr && ::RegDeleteValueW(m_key, Widen(name).c_str()) == ERROR_SUCCESS;
}

void CRegistryKey::Close() {
    if (m_key != nullptr) {
        ::RegCloseKey(m_key);
        m_key = nullptr;
    }
}

}  // namespace pausora
