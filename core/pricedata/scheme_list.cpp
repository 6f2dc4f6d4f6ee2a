#include "core/pricedata/scheme_list.h"

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/program_folder.h"

namespace inkquot {

namespace {

// The list is a few lines; anything much larger is not a scheme list.
constexpr std::size_t kMaxListBytes = 1024 * 1024;

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// The bytes of one quoted line. Quote, comma, CR and LF are all below 0x40,
// so they never occur as the second byte of a GBK character and the raw
// bytes can be split before decoding.
IoStatus quotedLine(std::string_view name, std::string& line) {
    IoStatus status = checkSchemeName(name);
    if (!status) {
        return status;
    }
    std::string gbk;
    status = encodeGbk(name, gbk);
    if (!status) {
        return status;
    }
    line = "\"" + gbk + "\"\r\n";
    return IoStatus::success();
}

}  // namespace

std::vector<std::string> parseSchemeList(std::string_view bytes) {
    std::vector<std::string> names;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trimSpaces(line);
        if (line.empty()) {
            continue;
        }
        std::string_view field;
        if (line.front() == '"') {
            line.remove_prefix(1);
            field = line.substr(0, line.find('"'));
        } else {
            field = trimSpaces(line.substr(0, line.find(',')));
        }
        names.push_back(decodeGbk(field));
    }
    return names;
}

IoStatus readSchemeList(const std::filesystem::path& file, std::vector<std::string>& names) {
    names.clear();
    std::string bytes;
    IoStatus status = readWholeFile(file, bytes, kMaxListBytes);
    if (!status) {
        if (status.error == IoError::Missing) {
            status.message = "找不到价格方案列表文件“" + displayName(file) + "”。";
        }
        return status;
    }
    names = parseSchemeList(bytes);
    return IoStatus::success();
}

IoStatus checkSchemeName(std::string_view name) {
    if (!isValidUtf8(name)) {
        return IoStatus::failure(IoError::BadText, "方案名的编码无效。");
    }
    // A scheme name starts four file names, the longest followed by
    // "zhibu.dat" and, while it is written, by a temporary ending. Sixty
    // characters (at most 3 bytes each in a file name) keep all of them well
    // inside the 255 bytes a file system allows for a name.
    std::size_t characters = 0;
    for (unsigned char c : name) {
        characters += (c & 0xC0) != 0x80;
    }
    if (characters > kMaxSchemeNameCharacters) {
        return IoStatus::failure(
            IoError::BadText,
            "方案名太长：最多" + std::to_string(kMaxSchemeNameCharacters) + "个字。");
    }
    if (!isValidSchemeName(name)) {
        return IoStatus::failure(
            IoError::BadText,
            "方案名“" + std::string(name) + "”不能使用：不能为空，不能含有 / \\ : \" 或控制字符。");
    }
    std::string gbk;
    IoStatus status = encodeGbk(name, gbk);
    if (!status) {
        return IoStatus::failure(IoError::BadText,
                                 "方案名“" + std::string(name) + "”含有无法保存的字符。");
    }
    return IoStatus::success();
}

IoStatus schemeListWithName(const std::filesystem::path& file, std::string_view name,
                            std::string& bytes) {
    std::string line;
    IoStatus status = quotedLine(name, line);
    if (!status) {
        return status;
    }
    status = readWholeFile(file, bytes, kMaxListBytes);
    if (!status && status.error != IoError::Missing) {
        return status;
    }
    // A last line without its line end would otherwise run into the new one.
    if (!bytes.empty() && bytes.back() != '\n') {
        bytes += "\r\n";
    }
    bytes += line;
    return IoStatus::success();
}

IoStatus schemeListBytes(const std::vector<std::string>& names, std::string& bytes) {
    bytes.clear();
    for (const auto& name : names) {
        std::string line;
        IoStatus status = quotedLine(name, line);
        if (!status) {
            return status;
        }
        bytes += line;
    }
    return IoStatus::success();
}

IoStatus appendSchemeName(const std::filesystem::path& file, std::string_view name) {
    std::string bytes;
    IoStatus status = schemeListWithName(file, name, bytes);
    if (!status) {
        return status;
    }
    return writeFileAtomically(file, bytes);
}

IoStatus rewriteSchemeList(const std::filesystem::path& file,
                           const std::vector<std::string>& names) {
    std::string bytes;
    IoStatus status = schemeListBytes(names, bytes);
    if (!status) {
        return status;
    }
    return writeFileAtomically(file, bytes);
}

}  // namespace inkquot
