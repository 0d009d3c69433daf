#include "sound/sample_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pausora {

// A count times a size, both 32-bit, always fits the size_t of the machines
// we build for.
static_assert(sizeof(std::size_t) >= 8);

CSampleBuffer::~CSampleBuffer() {
    m_count = 0;
    m_data.reset();
}

void CSampleBuffer::Allocate(std::uint32_t count, std::uint32_t size) {
    // Zeroed rather than left as the allocator found it: whatever we hand to
    // the sound card must never be leftovers of other memory.
    Adopt(std::make_unique<std::uint8_t[]>(std::size_t{count} * size), count, size);
}

void CSampleBuffer::Adopt(std::unique_ptr<std::uint8_t[]> data, std::uint32_t count,
                          std::uint32_t size) {
    m_data = std::move(data);
    m_count = count;
    m_sampleSize = size;
}

void CSampleBuffer::CopyFrom(const std::uint8_t* data, std::uint32_t count, std::uint32_t size) {
    if (!m_data) {
        Allocate(count, size);
    }
    const std::size_t wanted = std::size_t{std::min(count, m_count)} * size;
    if (wanted == 0 || data == nullptr) {
        return;
    }
    // The source's samples may be larger than ours; never write past the end
    // of what this buffer owns.
    const std::size_t own = ByteLength();
    std::memset(m_data.get(), 0, own);
    std::memcpy(m_data.get(), data, std::min(wanted, own));
}

void CSampleBuffer::Swap(CSampleBuffer& other) noexcept {
    std::swap(m_sampleSize, other.m_sampleSize);
    std::swap(m_data, other.m_data);
    std::swap(m_count, other.m_count);
}

}  // namespace pausora
