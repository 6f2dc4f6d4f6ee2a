#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace inkquot::le {

// Little-endian fields of the record files. Reads past the end of the bytes
// see zeros, so a short file reads as zero numbers.

inline std::uint64_t readUnsigned(std::string_view bytes, std::size_t pos, std::size_t width) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t at = pos + i;
        const std::uint64_t b = at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
        v |= b << (8 * i);
    }
    return v;
}

inline std::int32_t readInt32(std::string_view bytes, std::size_t pos) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(readUnsigned(bytes, pos, 4)));
}

inline float readFloat(std::string_view bytes, std::size_t pos) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(readUnsigned(bytes, pos, 4)));
}

inline double readDouble(std::string_view bytes, std::size_t pos) {
    return std::bit_cast<double>(readUnsigned(bytes, pos, 8));
}

// Writers expect the slot to be large enough already.
inline void putUnsigned(std::string& slot, std::size_t pos, std::uint64_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        slot[pos + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

inline void putInt32(std::string& slot, std::size_t pos, std::int32_t v) {
    putUnsigned(slot, pos, static_cast<std::uint32_t>(v), 4);
}

inline void putFloat(std::string& slot, std::size_t pos, float v) {
    putUnsigned(slot, pos, std::bit_cast<std::uint32_t>(v), 4);
}

inline void putDouble(std::string& slot, std::size_t pos, double v) {
    putUnsigned(slot, pos, std::bit_cast<std::uint64_t>(v), 8);
}

}  // namespace inkquot::le
