// Raw access to the real registry of the current user, for tests under Wine.
#pragma once

#include "shared/registry_backdoor.h"

#include "store/registry_key.h"
#include "ui/utf.h"

#include <windows.h>

#include <string>

namespace pausora::test {

class WinBackdoor final : public RegistryBackdoor {
  public:
    IRegistry& Registry() override { return m_registry; }

    void Reset() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Widen(reg::kAppKey).c_str());
        HKEY run = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(reg::kRunKey).c_str(), 0, KEY_ALL_ACCESS,
                            &run) == ERROR_SUCCESS) {
            ::RegDeleteValueW(run, L"Pausora");
            ::RegCloseKey(run);
        }
    }
    bool KeyExists(std::string_view path) override {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        ::RegCloseKey(key);
        return true;
    }
    void CreateKey(std::string_view path) override {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegCloseKey(key);
        }
    }
    void SetRaw(std::string_view path, std::string_view name, RawType type,
                std::vector<std::uint8_t> bytes) override {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        // Text is UTF-8 on our side and UTF-16 in the registry.
        if (type == RawType::kString) {
            const std::wstring text = Widen(std::string(bytes.begin(), bytes.end()));
            bytes.assign(reinterpret_cast<const std::uint8_t*>(text.data()),
                         reinterpret_cast<const std::uint8_t*>(text.data() + text.size()));
        }
        ::RegSetValueExW(key, Widen(name).c_str(), 0, static_cast<DWORD>(type), bytes.data(),
                         static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(key);
    }
    std::optional<RawValue> Raw(std::string_view path, std::string_view name) override {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        DWORD type = 0;
        DWORD size = 0;
        std::optional<RawValue> result;
        const std::wstring valueName = Widen(name);
        if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS) {
            std::vector<std::uint8_t> bytes(size);
            if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, bytes.data(), &size) ==
                ERROR_SUCCESS) {
                bytes.resize(size);
                if (static_cast<RawType>(type) == RawType::kString) {
                    const std::string text = Narrow(
                        std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), size / 2));
                    bytes.assign(text.begin(), text.end());
                }
                result = RawValue{static_cast<RawType>(type), std::move(bytes)};
            }
        }
        ::RegCloseKey(key);
        return result;
    }
    std::size_t ValueCount(std::string_view path) override {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return 0;
        }
        DWORD count = 0;
        ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return count;
    }

  private:
    WinRegistry m_registry;
};

}  // namespace pausora::test
