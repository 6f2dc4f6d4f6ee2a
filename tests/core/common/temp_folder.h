#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace inkquot::testing_support {

// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends.
class TempFolder {
public:
    TempFolder() {
        static std::mt19937_64 random{std::random_device{}()};
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("inkquot-" + std::to_string(random() % 1000000000000ull));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view utf8Name) const {
        return path_ / std::filesystem::path(std::u8string(utf8Name.begin(), utf8Name.end()));
    }

private:
    std::filesystem::path path_;
};

inline std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void spit(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The bytes written in `hex` as pairs of hexadecimal digits, e.g. "d6bd".
inline std::string fromHex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return out;
}

}  // namespace inkquot::testing_support
