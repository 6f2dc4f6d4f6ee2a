#include "core/identity/remembered_headings.h"

#include <nlohmann/json.hpp>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/program_folder_lock.h"
#include "core/costing/price_table.h"
#include "core/identity/letterhead.h"
#include "core/job/json_text.h"
#include "core/job/json_writer.h"
#include "core/job/quotation_text.h"

namespace inkquot {

namespace {

constexpr std::size_t kMaxHeadingsFileBytes = 64 * 1024;

const char* keyOf(HeadingKind kind) {
    return kind == HeadingKind::Quotation ? "quotation" : "priceTable";
}

nlohmann::json parseHeadings(std::string_view bytes) {
    return readJsonObject(bytes).value_or(nlohmann::json::object());
}

// The kept headings, or an empty object when there are none or the file is
// damaged.
nlohmann::json readHeadings(const ProgramFolder& folder) {
    std::string bytes;
    if (!readWholeFile(folder.file(kHeadingsFileName), bytes, kMaxHeadingsFileBytes)) {
        return nlohmann::json::object();
    }
    return parseHeadings(bytes);
}

}  // namespace

std::optional<std::string> parseHeading(std::string_view bytes, HeadingKind kind) {
    const nlohmann::json headings = parseHeadings(bytes);
    const auto it = headings.find(keyOf(kind));
    if (it == headings.end() || !it->is_string()) {
        return std::nullopt;
    }
    std::string heading = it->get<std::string>();
    if (heading.empty() || heading.size() > kMaxKeptHeadingBytes) {
        return std::nullopt;
    }
    return heading;
}

std::optional<std::string> lastHeading(const ProgramFolder& folder, HeadingKind kind) {
    std::string bytes;
    if (!readWholeFile(folder.file(kHeadingsFileName), bytes, kMaxHeadingsFileBytes)) {
        return std::nullopt;
    }
    return parseHeading(bytes, kind);
}

std::string proposedHeading(const ProgramFolder* folder, HeadingKind kind) {
    if (folder) {
        if (auto kept = lastHeading(*folder, kind)) {
            return *kept;
        }
        // Until a heading of the kind is used, the shop's own name stands
        // where the placeholder's "XXX印务有限公司" would.
        if (const auto letterhead = readLetterhead(*folder);
            letterhead && !letterhead->name.empty()) {
            return letterhead->name + (kind == HeadingKind::Quotation ? "报价单" : "价格表");
        }
    }
    return std::string(kind == HeadingKind::Quotation ? kQuotationTitleProposal
                                                      : kTableTitleProposal);
}

IoStatus rememberHeading(const ProgramFolder& folder, HeadingKind kind, std::string_view heading) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (heading.empty() || heading.size() > kMaxKeptHeadingBytes) {
        return IoStatus::success();
    }
    nlohmann::json headings = readHeadings(folder);
    if (headings.value(keyOf(kind), std::string()) == heading) {
        return IoStatus::success();
    }
    // Not UTF-8: nothing a screen hands over, but never written.
    if (!isValidUtf8(heading)) {
        return IoStatus::failure(IoError::BadText, "标题含有无法保存的字符。");
    }
    headings[keyOf(kind)] = std::string(heading);
    return writeFileAtomically(folder.file(kHeadingsFileName),
                               jsonText(headings, JsonWriter::Layout::Indented) + "\n");
}

}  // namespace inkquot
