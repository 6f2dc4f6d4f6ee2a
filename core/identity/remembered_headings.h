#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// The printouts whose heading the clerk types in: the quotation letter and
// the price table. Each keeps the last heading used, so that a shop types
// its name once rather than correcting "XXX印务有限公司…" every time.
enum class HeadingKind { Quotation, PriceTable };

// The file of the program folder (per user) that keeps the last headings.
inline constexpr std::string_view kHeadingsFileName = "headings.json";

// A heading longer than this is printed but not kept.
inline constexpr std::size_t kMaxKeptHeadingBytes = 1024;

// The heading of this kind held by the bytes of the headings file; nothing
// when there is none or the bytes are damaged.
std::optional<std::string> parseHeading(std::string_view bytes, HeadingKind kind);

// The heading last used for a printout of this kind; nothing when none is
// kept or the file cannot be read (a damaged file counts as none).
std::optional<std::string> lastHeading(const ProgramFolder& folder, HeadingKind kind);

// The heading the prompt proposes: the last one used, else the shop's name
// from the letterhead with the printout's word ("东方印务报价单"), else the
// placeholder heading of that printout.
std::string proposedHeading(const ProgramFolder* folder, HeadingKind kind);

// Keeps `heading` as the last one of its kind; the other kind's heading is
// kept as it was. An empty or overlong heading is not kept.
IoStatus rememberHeading(const ProgramFolder& folder, HeadingKind kind, std::string_view heading);

}  // namespace inkquot
