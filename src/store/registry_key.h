// The registry wrapper through which all of the program's registry access
// goes. One key handle, null while closed; results are true on success.
#pragma once

#include "store/registry_store.h"

#include <windows.h>

namespace pausora {

class CRegistryKey final : public IRegistryKey {
  public:
    // A key under `root`: the current user's hive, or for policies set for
    // the whole machine, HKEY_LOCAL_MACHINE.
    explicit CRegistryKey(HKEY root = HKEY_CURRENT_USER) : m_root(root) {}
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    ~CRegistryKey() override { Close(); }

    bool Open(std::string_view subkey) override;
    bool Create(std::string_view subkey) override;
    bool IsOpen() const override { return m_key != nullptr; }
    bool ReadString(std::string_view name, std::string& out) override;
    bool ReadDword(std::string_view name, std::uint32_t& out) override;
    bool WriteString(std::string_view name, std::string_view text) override;
    bool WriteDword(std::string_view name, std::uint32_t value) override;
    bool ReadQword(std::string_view name, std::uint64_t& out) override;
    bool WriteQword(std::string_view name, std::uint64_t value) override;
    bool ReadMultiString(std::string_view name, std::vector<std::string>& out) override;
    bool WriteMultiString(std::string_view name, const std::vector<std::string>& items) override;
    bool DeleteValue(std::string_view name) override;
    RegistryType TypeOf(std::string_view name) override;
    void Close() override;

  private:
    bool Query(std::string_view name, DWORD* type, void* data, DWORD* size);
    bool SetValue(std::string_view name, DWORD type, const void* data, DWORD size);
    HKEY m_root;
    HKEY m_key = nullptr;
};

// The real registry of the current user, or of the machine.
class WinRegistry final : public IRegistry {
  public:
    explicit WinRegistry(HKEY root = HKEY_CURRENT_USER) : m_root(root) {}
    std::unique_ptr<IRegistryKey> NewKey() override {
        return std::make_unique<CRegistryKey>(m_root);
    }

  private:
    HKEY m_root;
};

}  // namespace pausora
