// A registry held in memory, with the real registry's observable rules: key
// and value names compare without regard to case, a key must exist before it
// can be opened, and values keep their raw bytes and type.
#pragma once

#include "store/registry_store.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pausora {

class MemoryRegistry final : public IRegistry {
  public:
    enum class Type : std::uint32_t {
        kString = 1,
        kBinary = 3,
        kDword = 4,
        kMultiString = 7,
        kQword = 11
    };
    struct Value {
        Type type;
        std::vector<std::uint8_t> bytes;
        bool operator==(const Value&) const = default;
    };

    std::unique_ptr<IRegistryKey> NewKey() override;

    // Direct access for tests, bypassing the key rules.
    bool KeyExists(std::string_view path) const;
    void CreateKeyPath(std::string_view path);
    void DeleteKeyTree(std::string_view path);
    void SetRaw(std::string_view path, std::string_view name, Type type,
                std::vector<std::uint8_t> bytes);
    std::optional<Value> Raw(std::string_view path, std::string_view name) const;
    std::optional<std::string> String(std::string_view path, std::string_view name) const;
    std::optional<std::uint32_t> Dword(std::string_view path, std::string_view name) const;
    std::size_t ValueCount(std::string_view path) const;
    // A value as the real registry hands it to a reader: text up to its first
    // zero (none above kMaxRegistryValueBytes), a number of at most 4 bytes.
    static std::optional<std::string> AsString(const Value& value);
    static std::optional<std::uint32_t> AsDword(const Value& value);
    // From now on every write and deletion in the key fails, as in a key
    // made read-only by policy; reading still works.
    void MakeReadOnly(std::string_view path) { m_readOnly.emplace(Normalise(path)); }
    // Only a REG_QWORD of exactly 8 bytes.
    static std::optional<std::uint64_t> AsQword(const Value& value);
    std::optional<std::uint64_t> Qword(std::string_view path, std::string_view name) const;
    // Writes and deletions made through keys, successful or not.
    std::size_t WriteCount() const { return m_writes; }

  private:
    friend class MemoryRegistryKey;
    struct NoCaseLess {
        using is_transparent = void;  // looked up by views, without copies
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using Values = std::map<std::string, Value, NoCaseLess>;
    static std::string_view Normalise(std::string_view path);
    const Value* Find(std::string_view path, std::string_view name) const;

    std::map<std::string, Values, NoCaseLess> m_keys;
    std::size_t m_writes = 0;
    std::set<std::string, NoCaseLess> m_readOnly;
};

}  // namespace pausora
