#include "core/identity/letterhead.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <system_error>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/program_folder_lock.h"
#include "core/job/json_text.h"
#include "core/job/json_writer.h"

namespace inkquot {

namespace {

constexpr std::size_t kMaxLetterheadFileBytes = 64 * 1024;
constexpr std::string_view kLogoPrefix = "letterhead-logo-";
constexpr std::string_view kLogoSuffix = ".png";

// Characters of a UTF-8 text: every byte that does not continue a sequence.
std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

bool hasControlCharacter(std::string_view text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

std::string trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    // The ideographic space that Chinese input methods type.
    constexpr std::string_view kWideBlank = "\xE3\x80\x80";
    while (text.starts_with(kWideBlank)) {
        text.remove_prefix(kWideBlank.size());
    }
    while (text.ends_with(kWideBlank)) {
        text.remove_suffix(kWideBlank.size());
    }
    return std::string(text);
}

bool isLogoName(std::string_view name) {
    if (!name.starts_with(kLogoPrefix) || !name.ends_with(kLogoSuffix)) {
        return false;
    }
    const std::string_view middle =
        name.substr(kLogoPrefix.size(), name.size() - kLogoPrefix.size() - kLogoSuffix.size());
    if (middle.empty() || middle.size() > 32) {
        return false;
    }
    for (char c : middle) {
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
        if (!alnum) {
            return false;
        }
    }
    return true;
}

std::string newLogoName(const std::string& current) {
    std::random_device device;
    std::mt19937_64 random(device());
    const char* digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (;;) {
        std::string middle;
        for (int i = 0; i < 10; ++i) {
            middle += digits[random() % 36];
        }
        std::string name = std::string(kLogoPrefix) + middle + std::string(kLogoSuffix);
        if (name != current) {
            return name;
        }
    }
}

// Removes every logo of the letterhead but `keep`; a logo that cannot be
// removed only costs its space.
void removeLogosBut(const ProgramFolder& folder, const std::string& keep) {
    std::error_code ec;
    std::vector<std::filesystem::path> stale;
    for (std::filesystem::directory_iterator it(folder.root(), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = displayName(it->path().filename());
        if (isLogoName(name) && name != keep) {
            stale.push_back(it->path());
        }
    }
    for (const auto& file : stale) {
        removeFile(file);
    }
}

IoStatus textTooLong(const char* what, std::size_t limit) {
    return IoStatus::failure(IoError::BadText,
                             std::string(what) + "不能超过" + std::to_string(limit) + "个字。");
}

}  // namespace

Letterhead trimmedLetterhead(Letterhead letterhead) {
    letterhead.name = trimmed(letterhead.name);
    letterhead.address = trimmed(letterhead.address);
    letterhead.telephone = trimmed(letterhead.telephone);
    return letterhead;
}

std::string letterheadRefusal(const Letterhead& raw) {
    const Letterhead letterhead = trimmedLetterhead(raw);
    struct Field {
        const char* caption;
        const std::string& text;
        std::size_t limit;
    };
    const Field fields[] = {{"店名", letterhead.name, kShopNameLimit},
                            {"地址", letterhead.address, kShopAddressLimit},
                            {"电话", letterhead.telephone, kShopTelephoneLimit}};
    for (const Field& field : fields) {
        if (hasControlCharacter(field.text)) {
            return std::string(field.caption) + "只能是一行文字。";
        }
        if (characterCount(field.text) > field.limit) {
            return textTooLong(field.caption, field.limit).message;
        }
    }
    return {};
}

std::optional<Letterhead> parseLetterhead(std::string_view bytes) {
    const auto read = readJsonObject(bytes);
    if (!read) {
        return std::nullopt;
    }
    const nlohmann::json& json = *read;
    auto text = [&json](const char* key) {
        const auto it = json.find(key);
        return it != json.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    Letterhead letterhead{text("name"), text("address"), text("telephone"), text("logo")};
    if (!letterheadRefusal(letterhead).empty()) {
        return std::nullopt;
    }
    letterhead = trimmedLetterhead(std::move(letterhead));
    if (!isLogoName(letterhead.logoFile)) {
        letterhead.logoFile.clear();
    }
    if (letterhead.empty()) {
        return std::nullopt;
    }
    return letterhead;
}

std::optional<Letterhead> readLetterhead(const ProgramFolder& folder) {
    std::string bytes;
    if (!readWholeFile(folder.file(kLetterheadFileName), bytes, kMaxLetterheadFileBytes)) {
        return std::nullopt;
    }
    std::optional<Letterhead> letterhead = parseLetterhead(bytes);
    std::error_code ec;
    if (letterhead && !letterhead->logoFile.empty() &&
        !std::filesystem::is_regular_file(folder.file(letterhead->logoFile), ec)) {
        letterhead->logoFile.clear();
        if (letterhead->empty()) {
            return std::nullopt;
        }
    }
    return letterhead;
}

IoStatus saveLetterhead(const ProgramFolder& folder, Letterhead letterhead,
                        const std::optional<std::string>& newLogoPng) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (const std::string refusal = letterheadRefusal(letterhead); !refusal.empty()) {
        return IoStatus::failure(IoError::BadText, refusal);
    }
    letterhead = trimmedLetterhead(std::move(letterhead));
    const std::optional<Letterhead> current = readLetterhead(folder);
    const std::string currentLogo = current ? current->logoFile : std::string();

    std::string writtenLogo;
    if (newLogoPng && !newLogoPng->empty()) {
        writtenLogo = newLogoName(currentLogo);
        if (IoStatus status = writeFileAtomically(folder.file(writtenLogo), *newLogoPng);
            !status && status.error != IoError::NotDurable) {
            return status;
        }
        letterhead.logoFile = writtenLogo;
    } else if (newLogoPng) {
        letterhead.logoFile.clear();  // the logo is taken off
    } else if (!isLogoName(letterhead.logoFile)) {
        letterhead.logoFile.clear();
    }

    IoStatus status;
    if (letterhead.empty()) {
        status = removeFile(folder.file(kLetterheadFileName));
    } else {
        const nlohmann::json json = {{"format", kLetterheadFormat},
                                     {"name", letterhead.name},
                                     {"address", letterhead.address},
                                     {"telephone", letterhead.telephone},
                                     {"logo", letterhead.logoFile}};
        if (!isValidUtf8(letterhead.name) || !isValidUtf8(letterhead.address) ||
            !isValidUtf8(letterhead.telephone) || !isValidUtf8(letterhead.logoFile)) {
            status = IoStatus::failure(IoError::BadText, "信头含有无法保存的字符。");
        } else {
            status = writeFileAtomically(folder.file(kLetterheadFileName),
                                         jsonText(json, JsonWriter::Layout::Indented) + "\n");
        }
    }
    if (!status && status.error != IoError::NotDurable) {
        if (!writtenLogo.empty()) {
            removeFile(folder.file(writtenLogo));
        }
        return status;
    }
    removeLogosBut(folder, letterhead.logoFile);
    return status;
}

std::vector<std::string> letterheadLines(const Letterhead& letterhead) {
    std::vector<std::string> lines;
    if (!letterhead.name.empty()) {
        lines.push_back(letterhead.name);
    }
    if (!letterhead.address.empty()) {
        lines.push_back("地址：" + letterhead.address);
    }
    if (!letterhead.telephone.empty()) {
        lines.push_back("电话：" + letterhead.telephone);
    }
    return lines;
}

std::vector<std::string> letterheadLines(const ProgramFolder& folder) {
    const auto letterhead = readLetterhead(folder);
    return letterhead ? letterheadLines(*letterhead) : std::vector<std::string>();
}

}  // namespace inkquot
