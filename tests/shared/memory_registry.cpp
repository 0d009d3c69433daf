#include "shared/memory_registry.h"

#include "store/multi_string.h"

#include <algorithm>
#include <cstring>

namespace pausora {

namespace {

// Key and value names are ASCII; folding by hand spares the C library's
// locale lookup on every character of every comparison.
unsigned char Fold(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

}  // namespace

bool MemoryRegistry::NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) {
            const unsigned char x = Fold(a[i]);
            const unsigned char y = Fold(b[i]);
            if (x != y) {
                return x < y;
            }
        }
    }
    return a.size() < b.size();
}

std::string_view MemoryRegistry::Normalise(std::string_view path) {
    while (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return path;
}

bool MemoryRegistry::KeyExists(std::string_view path) const {
    return m_keys.count(Normalise(path)) != 0;
}

void MemoryRegistry::CreateKeyPath(std::string_view path) {
    const std::string_view full = Normalise(path);
    for (std::size_t pos = full.find('\\');; pos = full.find('\\', pos + 1)) {
        const std::string_view key = full.substr(0, pos);
        if (m_keys.find(key) == m_keys.end()) {
            m_keys.emplace(key, Values{});
        }
        if (pos == std::string_view::npos) {
            return;
        }
    }
}

void MemoryRegistry::DeleteKeyTree(std::string_view path) {
    const std::string_view root = Normalise(path);
    const auto sameNoCase = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return Fold(x) == Fold(y); });
    };
    for (auto it = m_keys.begin(); it != m_keys.end();) {
        const std::string_view name = it->first;
        const bool inTree =
            sameNoCase(name, root) || (name.size() > root.size() && name[root.size()] == '\\' &&
                                       sameNoCase(name.substr(0, root.size()), root));
        it = inTree ? m_keys.erase(it) : std::next(it);
    }
}

void MemoryRegistry::SetRaw(std::string_view path, std::string_view name, Type type,
                            std::vector<std::uint8_t> bytes) {
    const std::string_view full = Normalise(path);
    auto key = m_keys.find(full);
    if (key == m_keys.end()) {
        CreateKeyPath(full);
        key = m_keys.find(full);
    }
    Values& values = key->second;
    const auto value = values.find(name);
    if (value != values.end()) {
        value->second = Value{type, std::move(bytes)};
    } else {
        values.emplace(name, Value{type, std::move(bytes)});
    }
}

const MemoryRegistry::Value* MemoryRegistry::Find(std::string_view path,
                                                  std::string_view name) const {
    const auto key = m_keys.find(Normalise(path));
    if (key == m_keys.end()) {
        return nullptr;
    }
    const auto value = key->second.find(name);
    return value == key->second.end() ? nullptr : &value->second;
}

std::optional<MemoryRegistry::Value> MemoryRegistry::Raw(std::string_view path,
                                                         std::string_view name) const {
    const Value* value = Find(path, name);
    return value ? std::optional<Value>(*value) : std::nullopt;
}

std::optional<std::string> MemoryRegistry::String(std::string_view path,
                                                  std::string_view name) const {
    const Value* raw = Find(path, name);
    return raw ? AsString(*raw) : std::nullopt;
}

std::optional<std::uint32_t> MemoryRegistry::Dword(std::string_view path,
                                                   std::string_view name) const {
    const Value* raw = Find(path, name);
    return raw ? AsDword(*raw) : std::nullopt;
}

std::optional<std::string> MemoryRegistry::AsString(const Value& value) {
    if (value.bytes.size() > kMaxRegistryValueBytes) {
        return std::nullopt;
    }
    const auto end = std::find(value.bytes.begin(), value.bytes.end(), 0);
    return std::string(value.bytes.begin(), end);
}

std::optional<std::uint32_t> MemoryRegistry::AsDword(const Value& value) {
    if (value.bytes.size() > 4) {
        return std::nullopt;
    }
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < value.bytes.size(); ++i) {
        number |= static_cast<std::uint32_t>(value.bytes[i]) << (8 * i);
    }
    return number;
}

std::optional<std::uint64_t> MemoryRegistry::AsQword(const Value& value) {
    if (value.type != Type::kQword || value.bytes.size() != 8) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        number |= static_cast<std::uint64_t>(value.bytes[i]) << (8 * i);
    }
    return number;
}

std::optional<std::uint64_t> MemoryRegistry::Qword(std::string_view path,
                                                   std::string_view name) const {
    const Value* raw = Find(path, name);
    return raw ? AsQword(*raw) : std::nullopt;
}

std::size_t MemoryRegistry::ValueCount(std::string_view path) const {
    const auto key = m_keys.find(Normalise(path));
    return key == m_keys.end() ? 0 : key->second.size();
}

class MemoryRegistryKey final : public IRegistryKey {
  public:
    explicit MemoryRegistryKey(MemoryRegistry& registry) : m_registry(registry) {}

    bool Open(std::string_view subkey) override {
        Close();
        if (!m_registry.KeyExists(subkey)) {
            return false;
        }
        m_path = std::string(MemoryRegistry::Normalise(subkey));
        return true;
    }
    bool Create(std::string_view subkey) override {
        Close();
        m_registry.CreateKeyPath(subkey);
        m_path = std::string(MemoryRegistry::Normalise(subkey));
        return true;
    }
    bool IsOpen() const override { return m_path.has_value(); }

    bool ReadString(std::string_view name, std::string& out) override {
        out.clear();
        const auto text = Live() ? m_registry.String(*m_path, name) : std::nullopt;
        if (!text) {
            return false;
        }
        out = *text;
        return true;
    }
    bool ReadDword(std::string_view name, std::uint32_t& out) override {
        out = 0;
        const auto value = Live() ? m_registry.Dword(*m_path, name) : std::nullopt;
        if (!value) {
            return false;
        }
        out = *value;
        return true;
    }
    bool WriteString(std::string_view name, std::string_view text) override {
        ++m_registry.m_writes;
        if (!Writable()) {
            return false;
        }
        m_registry.SetRaw(*m_path, name, MemoryRegistry::Type::kString,
                          std::vector<std::uint8_t>(text.begin(), text.end()));
        return true;
    }
    bool WriteDword(std::string_view name, std::uint32_t value) override {
        ++m_registry.m_writes;
        if (!Writable()) {
            return false;
        }
        std::vector<std::uint8_t> bytes(4);
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        m_registry.SetRaw(*m_path, name, MemoryRegistry::Type::kDword, std::move(bytes));
        return true;
    }
    bool ReadQword(std::string_view name, std::uint64_t& out) override {
        out = 0;
        const auto value = Live() ? m_registry.Qword(*m_path, name) : std::nullopt;
        if (!value) {
            return false;
        }
        out = *value;
        return true;
    }
    bool WriteQword(std::string_view name, std::uint64_t value) override {
        ++m_registry.m_writes;
        if (!Live()) {
            return false;
        }
        std::vector<std::uint8_t> bytes(8);
        for (std::size_t i = 0; i < 8; ++i) {
            bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        m_registry.SetRaw(*m_path, name, MemoryRegistry::Type::kQword, std::move(bytes));
        return true;
    }
    // Kept as the real registry keeps it: UTF-16 units, low byte first.
    bool ReadMultiString(std::string_view name, std::vector<std::string>& out) override {
        out.clear();
        const auto raw = Live() ? m_registry.Raw(*m_path, name) : std::nullopt;
        if (!raw || raw->type != MemoryRegistry::Type::kMultiString ||
            raw->bytes.size() > kMaxRegistryValueBytes || raw->bytes.size() % 2 != 0) {
            return false;
        }
        std::wstring units;
        for (std::size_t i = 0; i < raw->bytes.size(); i += 2) {
            units.push_back(static_cast<wchar_t>(raw->bytes[i] | raw->bytes[i + 1] << 8));
        }
        auto items = ParseMultiString(units);
        if (!items) {
            return false;
        }
        out = std::move(*items);
        return true;
    }
    bool WriteMultiString(std::string_view name, const std::vector<std::string>& items) override {
        ++m_registry.m_writes;
        if (!Writable()) {
            return false;
        }
        std::vector<std::uint8_t> bytes;
        for (const wchar_t unit : FormatMultiString(items)) {
            bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFF));
        }
        m_registry.SetRaw(*m_path, name, MemoryRegistry::Type::kMultiString, std::move(bytes));
        return true;
    }
    bool DeleteValue(std::string_view name) override {
        ++m_registry.m_writes;
        if (!Writable()) {
            return false;
        }
        MemoryRegistry::Values& values = m_registry.m_keys.find(*m_path)->second;
        const auto value = values.find(name);
        if (value == values.end()) {
            return false;
        }
        values.erase(value);
        return true;
    }
    RegistryType TypeOf(std::string_view name) override {
        const auto value = Live() ? m_registry.Raw(*m_path, name) : std::nullopt;
        if (!value) {
            return RegistryType::kMissing;
        }
        switch (value->type) {
            case MemoryRegistry::Type::kDword:
                return value->bytes.size() == 4 ? RegistryType::kDword : RegistryType::kOther;
            case MemoryRegistry::Type::kString:
                return RegistryType::kString;
            case MemoryRegistry::Type::kMultiString:
                return RegistryType::kMultiString;
            default:
                return RegistryType::kOther;
        }
    }
    void Close() override { m_path.reset(); }

  private:
    // A key deleted behind an open handle behaves as the real one does: every
    // operation on it fails.
    bool Live() const { return m_path && m_registry.KeyExists(*m_path); }
    bool Writable() const { return Live() && m_registry.m_readOnly.count(*m_path) == 0; }

    MemoryRegistry& m_registry;
    std::optional<std::string> m_path;
};

std::unique_ptr<IRegistryKey> MemoryRegistry::NewKey() {
    return std::make_unique<MemoryRegistryKey>(*this);
}

}  // namespace pausora
