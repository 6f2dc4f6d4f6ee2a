#include <optional>
#include <string>

#include "core/common/clock.h"
#include "core/common/date_text.h"
#include "core/common/file_io.h"
#include "core/common/number_text.h"
#include "core/spreadsheet/export_staging.h"
#include "core/spreadsheet/sheet_writer_kinds.h"

namespace inkquot {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kFlushBytes = 64 * 1024;

// A field is quoted when it holds a separator, a quote or a line break, or
// has blanks at its ends that a reader would otherwise drop.
std::string csvField(std::string_view text) {
    const bool needs = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!needs) {
        return std::string(text);
    }
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    return out + '"';
}

// A spreadsheet program runs a field that starts like a formula ("=", "+",
// "-", "@"), so a customer name such as "=HYPERLINK(...)" would become a live
// link. Such a text gets a leading apostrophe, which shows it as text; a
// lone "-" (a cell without a price) is harmless and stays.
std::string inertText(const std::string& text) {
    if (text.size() > 1 && std::string_view("=+-@").find(text.front()) != std::string_view::npos) {
        return "'" + text;
    }
    return text;
}

// The rows go to a file in the export's own folder, which is renamed over
// the target once it is complete and on disk.
class CsvSheetWriter final : public SheetWriter {
public:
    explicit CsvSheetWriter(const std::filesystem::path& target) : staging_(target) {
        if (staging_.ready()) {
            file_.emplace(staging_.file());
        }
        buffer_ = kByteOrderMark;
    }

    void row(const std::vector<SheetCell>& cells, double) override {
        bool first = true;
        for (const SheetCell& cell : cells) {
            for (int n = 0; n < std::max(cell.span, 1); ++n) {
                if (!first) {
                    buffer_ += ',';
                }
                first = false;
                if (n > 0) {
                    continue;
                }
                if (cell.kind == SheetCell::Kind::Text) {
                    buffer_ += csvField(inertText(cell.text));
                } else if (cell.kind == SheetCell::Kind::Number) {
                    buffer_ += csvField(cell.shown.empty() ? csvNumberText(cell.number, cell.look)
                                                           : cell.shown);
                }
            }
        }
        buffer_ += "\r\n";
        if (buffer_.size() >= kFlushBytes) {
            flush();
        }
    }

    void freezeRowsAbove() override {}

    void addPicture(int, int, std::string) override {}

    IoStatus finish() override {
        if (!file_) {
            return IoStatus::failure(IoError::WriteFailed, staging_.failure());
        }
        flush();
        std::filesystem::path staged;
        if (!file_->stage(staged)) {
            return IoStatus::failure(IoError::WriteFailed, staging_.failure(file_->fault()));
        }
        return staging_.placeStaged(staged);
    }

private:
    void flush() {
        if (file_) {
            file_->write(buffer_);
        }
        buffer_.clear();
    }

    ExportStaging staging_;
    std::optional<AtomicFileWriter> file_;
    std::string buffer_;
};

}  // namespace

std::string csvNumberText(double value, CellLook look) {
    int decimals = 0;
    switch (look) {
        case CellLook::UnitPrice:
        case CellLook::UnitPriceInDoubt:
            decimals = 4;
            break;
        case CellLook::Amount:
            decimals = 2;
            break;
        case CellLook::Date:
            return shortDateText(dateFromSerial(static_cast<int>(value)));
        case CellLook::Quantity:
        case CellLook::QuantityHeading:
            break;
        default:
            return shortestDoubleText(value);
    }
    std::string text = groupedFixed(value, decimals);
    std::erase(text, ',');
    return text;
}

std::unique_ptr<SheetWriter> openCsvSheetWriter(const std::filesystem::path& target) {
    return std::make_unique<CsvSheetWriter>(target);
}

}  // namespace inkquot
