// The program keeps all its state under HKEY_CURRENT_USER. The rules that read
// and write it speak to this small interface so that they can be exercised
// against an in-memory registry as well as the real one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pausora {

// What a value holds, as far as the program tells kinds apart.
enum class RegistryType { kMissing, kString, kDword, kMultiString, kOther };

// One registry key handle, closed while not open. Every operation reports
// success with true; none throws. Paths are relative to HKEY_CURRENT_USER.
class IRegistryKey {
  public:
    virtual ~IRegistryKey() = default;
    virtual bool Open(std::string_view subkey) = 0;
    // Opens the key, creating it (and its parents) when it does not exist.
    virtual bool Create(std::string_view subkey) = 0;
    virtual bool IsOpen() const = 0;
    // Reads any value as text up to its first zero; `out` is emptied first.
    virtual bool ReadString(std::string_view name, std::string& out) = 0;
    // Reads a value of at most four bytes; `out` is set to 0 first.
    virtual bool ReadDword(std::string_view name, std::uint32_t& out) = 0;
    virtual bool WriteString(std::string_view name, std::string_view text) = 0;
    virtual bool WriteDword(std::string_view name, std::uint32_t value) = 0;
    // A REG_QWORD of exactly eight bytes; any other type or size fails, with
    // `out` set to 0 first.
    virtual bool ReadQword(std::string_view name, std::uint64_t& out) = 0;
    virtual bool WriteQword(std::string_view name, std::uint64_t value) = 0;
    // A REG_MULTI_SZ, its strings in order. A value of another type, or one
    // damaged (an odd number of bytes, a missing terminator, larger than
    // kMaxRegistryValueBytes), fails with `out` empty.
    virtual bool ReadMultiString(std::string_view name, std::vector<std::string>& out) = 0;
    // Empty strings are left out: the layout cannot hold them.
    virtual bool WriteMultiString(std::string_view name, const std::vector<std::string>& items) = 0;
    virtual bool DeleteValue(std::string_view name) = 0;
    // The value's kind: a REG_DWORD of exactly four bytes, a REG_SZ or
    // REG_EXPAND_SZ, a REG_MULTI_SZ; kMissing when it cannot be read.
    virtual RegistryType TypeOf(std::string_view name) = 0;
    virtual void Close() = 0;
};

// Hands out closed keys of one registry.
class IRegistry {
  public:
    virtual ~IRegistry() = default;
    virtual std::unique_ptr<IRegistryKey> NewKey() = 0;
};

// No value of ours comes near this size; a larger one is treated as
// unreadable rather than allocated.
inline constexpr std::size_t kMaxRegistryValueBytes = std::size_t{1} << 20;

// Key paths and value names shared by several parts of the program.
namespace reg {
inline constexpr std::string_view kAppKey = "Software\\Pausora";
inline constexpr std::string_view kSettingsKey = "Software\\Pausora\\TimeSettings";
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "Pausora";
inline constexpr std::string_view kFirstUse = "FirstUse";
inline constexpr std::string_view kInstallDir = "InstallDir";
inline constexpr std::string_view kFullWorkTime = "FullWorkTime";
inline constexpr std::string_view kLastYear = "LastY";
inline constexpr std::string_view kLastMonth = "LastM";
inline constexpr std::string_view kLastDay = "LastD";
inline constexpr std::string_view kPausedUntil = "PausedUntil";
}  // namespace reg

}  // namespace pausora
