// Reading typed values from the front of a fuzzer's input; once the bytes run out every read
// gives zero, so any input, however short, decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <typename T>
    T take() {
        T value{};
        size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    // A whole number in [low, high].
    int64_t range(int64_t low, int64_t high) {
        uint64_t span = static_cast<uint64_t>(high - low) + 1;
        uint64_t raw = take<uint32_t>();
        return low + static_cast<int64_t>(span ? raw % span : raw);
    }
    bool flag() { return take<uint8_t>() & 1; }
    std::string rest() {
        std::string s(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return s;
    }
    size_t remaining() const { return size_; }

  private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace fuzz
