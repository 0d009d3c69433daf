// Tests reach past the program's own registry code to plant and inspect raw
// values. The same settings tests run on the in-memory registry natively and
// on the real registry under Wine, each through one of these.
#pragma once

#include "store/registry_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pausora::test {

// Multi-strings' bytes are passed as they are: UTF-16 units, low byte first.
enum class RawType : std::uint32_t {
    kString = 1,
    kBinary = 3,
    kDword = 4,
    kMultiString = 7,
    kQword = 11
};

struct RawValue {
    RawType type;
    std::vector<std::uint8_t> bytes;
};

class RegistryBackdoor {
  public:
    virtual ~RegistryBackdoor() = default;
    virtual IRegistry& Registry() = 0;
    // Removes everything the program may have written.
    virtual void Reset() = 0;
    virtual bool KeyExists(std::string_view path) = 0;
    virtual void CreateKey(std::string_view path) = 0;
    virtual void SetRaw(std::string_view path, std::string_view name, RawType type,
                        std::vector<std::uint8_t> bytes) = 0;
    virtual std::optional<RawValue> Raw(std::string_view path, std::string_view name) = 0;
    virtual std::size_t ValueCount(std::string_view path) = 0;

    void SetString(std::string_view path, std::string_view name, std::string_view text) {
        SetRaw(path, name, RawType::kString, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    void SetDword(std::string_view path, std::string_view name, std::uint32_t value) {
        SetRaw(path, name, RawType::kDword,
               {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
    }
    std::optional<std::uint32_t> Dword(std::string_view path, std::string_view name) {
        const auto raw = Raw(path, name);
        if (!raw || raw->type != RawType::kDword || raw->bytes.size() != 4) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= static_cast<std::uint32_t>(raw->bytes[i]) << (8 * i);
        }
        return value;
    }
    std::optional<std::string> String(std::string_view path, std::string_view name) {
        const auto raw = Raw(path, name);
        if (!raw || raw->type != RawType::kString) {
            return std::nullopt;
        }
        std::string text(raw->bytes.begin(), raw->bytes.end());
        return text.substr(0, text.find('\0'));
    }
};

}  // namespace pausora::test
