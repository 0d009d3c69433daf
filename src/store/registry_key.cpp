#include "store/registry_key.h"

#include <string>
#include <vector>

namespace pausora {
namespace {
// The API wants zero-terminated names; string_views need not be.
std::string Z(std::string_view text) {
    return std::string(text);
}
}  // namespace

bool CRegistryKey::Check(LONG result) {
    m_lastResult = result;
    return result == ERROR_SUCCESS;
}

bool CRegistryKey::Open(HKEY root, std::string_view subkey) {
    Close();
    HKEY key = nullptr;
    LSTATUS result = ::RegOpenKeyExA(root, Z(subkey).c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_ACCESS_DENIED) {
        // A key made read-only (by policy) still gives its values; each
        // write then fails on its own and says so.
        result = ::RegOpenKeyExA(root, Z(subkey).c_str(), 0, KEY_READ, &key);
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
    if (!Check(::RegCreateKeyExA(root, Z(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
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
    const std::string valueName = Z(name);
    DWORD size = 0;
    if (!Check(::RegQueryValueExA(m_key, valueName.c_str(), nullptr, nullptr, nullptr, &size))) {
        return false;
    }
    if (size == 0) {
        return true;
    }
    if (size > kMaxRegistryValueBytes) {
        m_lastResult = ERROR_MORE_DATA;
        return false;
    }
    // One spare zero byte, so text stored without its terminator still ends.
    std::vector<char> buffer(size + 1, '\0');
    DWORD got = size;
    if (!Check(::RegQueryValueExA(m_key, valueName.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(buffer.data()), &got))) {
        return false;
    }
    out.assign(buffer.data());  // up to the first zero
    return true;
}

bool CRegistryKey::ReadDword(std::string_view name, std::uint32_t& out) {
    out = 0;
    if (m_key == nullptr) {
        return false;
    }
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Check(::RegQueryValueExA(m_key, Z(name).c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(&value), &size))) {
        return false;
    }
    out = value;
    return true;
}

bool CRegistryKey::WriteString(std::string_view name, std::string_view text) {
    if (m_key == nullptr) {
        return false;
    }
    // The stored length is the character count without a terminator, as the
    // program has always written it; readers add the zero themselves.
    const std::string data = Z(text);
    return Check(::RegSetValueExA(m_key, Z(name).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>(data.size())));
}

bool CRegistryKey::WriteDword(std::string_view name, std::uint32_t value) {
    if (m_key == nullptr) {
        return false;
    }
    const DWORD data = value;
    return Check(::RegSetValueExA(m_key, Z(name).c_str(), 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&data), sizeof data));
}

bool CRegistryKey::DeleteValue(std::string_view name) {
    if (m_key == nullptr) {
        return false;
    }
    return Check(::RegDeleteValueA(m_key, Z(name).c_str()));
}

bool CRegistryKey::DeleteKey(HKEY root, std::string_view subkey) {
    return Check(::RegDeleteKeyA(root, Z(subkey).c_str()));
}

bool CRegistryKey::SaveKey(std::string_view file) {
    return m_key != nullptr && Check(::RegSaveKeyA(m_key, Z(file).c_str(), nullptr));
}

bool CRegistryKey::RestoreKey(std::string_view file) {
    return m_key != nullptr && Check(::RegRestoreKeyA(m_key, Z(file).c_str(), 0));
}

bool CRegistryKey::LoadKey(HKEY root, std::string_view subkey, std::string_view file) {
    return Check(::RegLoadKeyA(root, Z(subkey).c_str(), Z(file).c_str()));
}

void CRegistryKey::Close() {
    if (m_key != nullptr) {
        ::RegCloseKey(m_key);
        m_key = nullptr;
    }
}

}  // namespace pausora
