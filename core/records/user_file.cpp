#include "core/records/user_file.h"

#include <cerrno>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/program_folder_lock.h"

namespace inkquot {

namespace {

constexpr std::size_t kMaxUserFileBytes = 64 * 1024;

std::string_view trimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

std::optional<UserRec> parseUserFile(std::string_view bytes) {
    if (bytes.size() < 2 * kUserFieldWidth) {
        return std::nullopt;
    }
    bool clean = true;
    UserRec rec;
    rec.Yonghu = decodeGbkField(bytes.substr(0, kUserFieldWidth));
    rec.Mima = decodeGbkField(bytes.substr(kUserFieldWidth, kUserFieldWidth), &clean);
    if (!clean) {
        return std::nullopt;
    }
    return rec;
}

std::optional<UserRec> readUserFile(const std::filesystem::path& file) {
    std::string bytes;
    if (!readFilePrefix(file, kUserSlotLength, bytes, true)) {
        return std::nullopt;
    }
    return parseUserFile(bytes);
}

bool passwordMatches(const std::optional<UserRec>& stored, std::string_view typed) {
    if (!stored) {
        return false;
    }
    std::string_view mima = trimSpaces(stored->Mima);
    return !mima.empty() && trimSpaces(typed) == mima;
}

IoStatus writePassword(const std::filesystem::path& file, std::string_view password) {
    const ProgramFolderLock lock(ProgramFolder(file.parent_path()));
    if (!lock) {
        return lock.refusal();
    }
    if (trimSpaces(password).empty()) {
        return IoStatus::failure(IoError::BadText, "密码不能为空。");
    }
    std::string gbk;
    IoStatus status = encodeGbk(password, gbk);
    if (!status) {
        return IoStatus::failure(IoError::BadText, "密码含有无法保存的字符。");
    }
    if (gbk.size() > kUserFieldWidth) {
        return IoStatus::failure(IoError::BadText,
                                 "密码太长：最多8个字节（8个字母或数字，或4个汉字）。");
    }
    std::string bytes;
    status = readWholeFile(file, bytes, kMaxUserFileBytes);
    if (!status && status.error != IoError::Missing) {
        return status;
    }
    if (bytes.size() < kUserSlotLength) {
        bytes.resize(kUserSlotLength, '\0');
    }
    std::string slot(kUserSlotLength, '\0');
    std::string field;
    encodeGbkField(kUserName, kUserFieldWidth, field);
    slot.replace(0, kUserFieldWidth, field);
    encodeGbkField(password, kUserFieldWidth, field);
    slot.replace(kUserFieldWidth, kUserFieldWidth, field);
    bytes.replace(0, kUserSlotLength, slot);
    return writeFileAtomically(file, bytes);
}

IoStatus ensureUserFile(const std::filesystem::path& file) {
    const ProgramFolderLock lock(ProgramFolder(file.parent_path()));
    if (!lock) {
        return lock.refusal();
    }
    if (native::pathExists(file)) {
        return IoStatus::success();
    }
    if (native::lastFault() != native::Fault::Missing) {
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    return writePassword(file, kInitialPassword);
}

}  // namespace inkquot
