// An owned block of equally sized samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pausora {

class CSampleBuffer {
  public:
    virtual ~CSampleBuffer();

    // Replaces the samples with `count` zeroed samples of `size` bytes each.
    // Throws std::bad_alloc when the block cannot be had.
    void Allocate(std::uint32_t count, std::uint32_t size);
    // Frees the old samples and takes ownership of `data`, which must hold
    // count × size bytes.
    void Adopt(std::unique_ptr<std::uint8_t[]> data, std::uint32_t count, std::uint32_t size);
    // Copies up to `count` samples of `size` bytes into this buffer, allocating
    // it first if it has no data. The rest of the buffer is zeroed.
    void CopyFrom(const std::uint8_t* data, std::uint32_t count, std::uint32_t size);
    void Swap(CSampleBuffer& other) noexcept;

    std::uint8_t* Data() { return m_data.get(); }
    const std::uint8_t* Data() const { return m_data.get(); }
    std::uint32_t Count() const { return m_count; }
    std::uint32_t SampleSize() const { return m_sampleSize; }
    // Count × sample size, the number of bytes the buffer holds.
    std::size_t ByteLength() const { return std::size_t{m_count} * m_sampleSize; }

  private:
    std::uint32_t m_sampleSize = 0;
    std::unique_ptr<std::uint8_t[]> m_data;
    std::uint32_t m_count = 0;
};

}  // namespace pausora
