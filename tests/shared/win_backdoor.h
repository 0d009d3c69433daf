// Raw access to the real registry of the current user, for tests under Wine.
#pragma once

#include "shared/registry_backdoor.h"

#include "store/registry_key.h"

#include <windows.h>

#include <string>

namespace pausora::test {

class WinBackdoor final : public RegistryBackdoor {
  public:
    IRegistry& Registry() override { return m_registry; }

    void Reset() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, std::string(reg::kAppKey).c_str());
        HKEY run = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, std::string(reg::kRunKey).c_str(), 0, KEY_ALL_ACCESS,
                            &run) == ERROR_SUCCESS) {
            ::RegDeleteValueA(run, "Pausora");
            ::RegCloseKey(run);
        }
    }
    bool KeyExists(std::string_view path) override {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, std::string(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        ::RegCloseKey(key);
        return true;
    }
    void CreateKey(std::string_view path) override {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, std::string(path).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            ::RegCloseKey(key);
        }
    }
    void SetRaw(std::string_view path, std::string_view name, RawType type,
                std::vector<std::uint8_t> bytes) override {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, std::string(path).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        ::RegSetValueExA(key, std::string(name).c_str(), 0, static_cast<DWORD>(type), bytes.data(),
                         static_cast<DWORD>(bytes.size()));
        ::RegCloseKey(key);
    }
    std::optional<RawValue> Raw(std::string_view path, std::string_view name) override {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, std::string(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        DWORD type = 0;
        DWORD size = 0;
        std::optional<RawValue> result;
        const std::string valueName(name);
        if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS) {
            std::vector<std::uint8_t> bytes(size);
            if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, bytes.data(), &size) ==
                ERROR_SUCCESS) {
                bytes.resize(size);
                result = RawValue{static_cast<RawType>(type), std::move(bytes)};
            }
        }
        ::RegCloseKey(key);
        return result;
    }
    std::size_t ValueCount(std::string_view path) override {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, std::string(path).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return 0;
        }
        DWORD count = 0;
        ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        return count;
    }

  private:
    WinRegistry m_registry;
};

}  // namespace pausora::test
