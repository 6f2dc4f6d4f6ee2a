#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/io_status.h"

namespace inkquot {

// users.dat: slots of 32 bytes of which only slot 1 is used. Its record
// fills the first 16 bytes (two GBK fields of 8 bytes, space padded); the
// rest of the slot is zero filler.
struct UserRec {
    std::string Yonghu;  // 8 bytes, always "user0000"
    std::string Mima;    // 8 bytes, the password
};

inline constexpr std::size_t kUserSlotLength = 32;
inline constexpr std::size_t kUserFieldWidth = 8;
inline constexpr const char* kUserName = "user0000";
inline constexpr const char* kInitialPassword = "604172";

// Slot 1 from the file's bytes, texts decoded with their padding. No record
// when the bytes are too short to hold one or the password field is not
// valid GBK: such a store has no password that anything could match.
std::optional<UserRec> parseUserFile(std::string_view bytes);

// Reads slot 1 of the file; a missing, empty or unreadable file gives no
// record.
std::optional<UserRec> readUserFile(const std::filesystem::path& file);

// Whether a typed password opens the system: both sides trimmed of spaces,
// then equal, case-sensitive. A missing record or a blank stored password
// never matches.
bool passwordMatches(const std::optional<UserRec>& stored, std::string_view typed);

// Stores a new password in slot 1 with the user name "user0000", replacing
// the file atomically and keeping whatever follows slot 1. A password that
// is blank, cannot be written in GBK or needs more than 8 bytes is refused
// (IoError::BadText): cutting it would store a password nobody typed.
IoStatus writePassword(const std::filesystem::path& file, std::string_view password);

// Creates the file with the initial password when it does not exist; an
// existing file, even an empty one, is never touched.
IoStatus ensureUserFile(const std::filesystem::path& file);

}  // namespace inkquot
