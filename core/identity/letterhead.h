#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// The shop's letterhead: what a quotation or a price table carries above its
// heading, so that a customer sees who quotes. Set once on the parameter
// page and kept per user in the program folder; every text is one line.
struct Letterhead {
    std::string name;       // the shop's name
    std::string address;    // street address
    std::string telephone;  // telephone (and fax) numbers
    // The logo, a PNG file in the program folder named by the letterhead;
    // empty when the letterhead has no logo.
    std::string logoFile;

    bool hasText() const { return !name.empty() || !address.empty() || !telephone.empty(); }
    bool empty() const { return !hasText() && logoFile.empty(); }
    bool operator==(const Letterhead&) const = default;
};

// The letterhead file: JSON in UTF-8, {"format":1,"name":…,"address":…,
// "telephone":…,"logo":…}. The logo sits beside it under a name of its own
// ("letterhead-logo-" + letters or digits + ".png"), so a new logo never
// overwrites the one the letterhead on disk still names.
inline constexpr std::string_view kLetterheadFileName = "letterhead.json";
inline constexpr int kLetterheadFormat = 1;

// Longest texts, in characters: each must fit on one printed line.
inline constexpr std::size_t kShopNameLimit = 30;
inline constexpr std::size_t kShopAddressLimit = 50;
inline constexpr std::size_t kShopTelephoneLimit = 40;

// Why the texts cannot be kept ("店名不能超过30个字。"), or empty when they
// can. Surrounding blanks do not count; line breaks and control characters
// are refused.
std::string letterheadRefusal(const Letterhead& letterhead);

// Blanks around each text removed.
Letterhead trimmedLetterhead(Letterhead letterhead);

// The letterhead held by the bytes of a letterhead file: nothing when they
// are damaged or hold texts that would be refused. A logo name that is not
// one of the letterhead's own is dropped.
std::optional<Letterhead> parseLetterhead(std::string_view bytes);

// The letterhead set in `folder`; nothing when none is set or the file is
// damaged (a printout then goes out without one). A logo name that is not
// one of the letterhead's own is dropped, never followed out of the folder.
std::optional<Letterhead> readLetterhead(const ProgramFolder& folder);

// Keeps `letterhead` (its texts must pass letterheadRefusal). With
// `newLogoPng` the logo is replaced by those bytes; without it the logo the
// letterhead names is kept. An empty letterhead removes the letterhead and
// its logo. The logo is written first under a new name, then the letterhead
// is replaced as a whole, then the old logo removed: a failure at any step
// leaves the previous letterhead in force and no new file behind.
IoStatus saveLetterhead(const ProgramFolder& folder, Letterhead letterhead,
                        const std::optional<std::string>& newLogoPng = std::nullopt);

// The letterhead's text lines, in print order: the name, "地址：" and the
// address, "电话：" and the telephone; a text that is not set gives no line.
// Empty when no letterhead is set. Exports put these above their tables.
std::vector<std::string> letterheadLines(const Letterhead& letterhead);
std::vector<std::string> letterheadLines(const ProgramFolder& folder);

}  // namespace inkquot
