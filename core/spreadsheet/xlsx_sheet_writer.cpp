
#include <array>
#include <string>

#include "core/common/file_io.h"
#include "core/spreadsheet/sheet_writer_kinds.h"
#include "core/spreadsheet/xlsx_library.h"

namespace inkquot {

namespace {

// The rows a worksheet can hold.
constexpr lxw_row_t kMaxRows = 1048576;
constexpr int kLookCount = static_cast<int>(CellLook::Date) + 1;
// Chinese texts in the font of the printed tables.
constexpr const char* kFontName = "宋体";
constexpr lxw_color_t kHeadingShade = 0xE7E6E6;
constexpr lxw_color_t kDoubtShade = 0xFFC7CE;

bool framed(CellLook look) {
    switch (look) {
        case CellLook::Heading:
        case CellLook::Label:
        case CellLook::Text:
        case CellLook::Quantity:
        case CellLook::QuantityHeading:
        case CellLook::UnitPrice:
        case CellLook::UnitPriceInDoubt:
        case CellLook::Amount:
        case CellLook::Date:
            return true;
        default:
            return false;
    }
}

lxw_format* makeFormat(const XlsxLibrary& xl, lxw_workbook* book, CellLook look) {
    lxw_format* f = xl.workbook_add_format(book);
    xl.format_set_font_name(f, kFontName);
    xl.format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    if (framed(look)) {
        xl.format_set_border(f, LXW_BORDER_THIN);
    }
    switch (look) {
        case CellLook::Letterhead:
            xl.format_set_bold(f);
            xl.format_set_font_size(f, 12);
            xl.format_set_align(f, LXW_ALIGN_CENTER);
            break;
        case CellLook::Title:
            xl.format_set_bold(f);
            xl.format_set_font_size(f, 16);
            xl.format_set_align(f, LXW_ALIGN_CENTER);
            break;
        case CellLook::Right:
            xl.format_set_align(f, LXW_ALIGN_RIGHT);
            break;
        case CellLook::Note:
            xl.format_set_text_wrap(f);
            xl.format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
            break;
        case CellLook::Heading:
            xl.format_set_bold(f);
            xl.format_set_align(f, LXW_ALIGN_CENTER);
            xl.format_set_bg_color(f, kHeadingShade);
            break;
        case CellLook::Label:
            xl.format_set_align(f, LXW_ALIGN_CENTER);
            break;
        case CellLook::QuantityHeading:
            xl.format_set_bold(f);
            xl.format_set_align(f, LXW_ALIGN_CENTER);
            xl.format_set_bg_color(f, kHeadingShade);
            xl.format_set_num_format(f, "#,##0");
            break;
        case CellLook::Quantity:
            xl.format_set_num_format(f, "#,##0");
            break;
        case CellLook::UnitPrice:
            xl.format_set_num_format(f, "#,##0.0000");
            break;
        case CellLook::UnitPriceInDoubt:
            xl.format_set_num_format(f, "#,##0.0000");
            xl.format_set_bg_color(f, kDoubtShade);
            break;
        case CellLook::Amount:
            xl.format_set_num_format(f, "#,##0.00");
            break;
        case CellLook::Date:
            xl.format_set_num_format(f, "yyyy/m/d");
            xl.format_set_align(f, LXW_ALIGN_CENTER);
            break;
        default:
            break;
    }
    return f;
}

// Flushes a written file to disk before it is renamed into place.
bool syncFile(const std::filesystem::path& file) {
    native::File f = native::File::openForWriting(file);
    return f.valid() && f.sync() && f.close();
}

// The workbook is built in memory (and the library's own temporary files)
// and written out by workbook_close, into a file beside the target that
// replaces the target only when complete.
class XlsxSheetWriter final : public SheetWriter {
public:
    XlsxSheetWriter(const std::filesystem::path& target, const SheetSetup& setup,
                    const XlsxLibrary& xl)
        : xl_(xl), target_(target) {
        // Without the library nothing is written, not even the placeholder.
        if (!xl_.problem.empty()) {
            problem_ = xl_.problem;
            return;
        }
        // A placeholder with the right permissions reserves the name.
        if (!stageFile(target_, {}, temporary_)) {
            problem_ = writeFailureReason(target_, "无法写入文件“" + displayName(target_) + "”。");
            return;
        }
        // Rows are written in order and go to disk as they come, so a long
        // history does not have to fit in memory.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        book_ = xl_.workbook_new_opt(displayName(temporary_).c_str(), &options);
        if (book_ != nullptr) {
            sheet_ = xl_.workbook_add_worksheet(book_, setup.name.c_str());
        }
        if (sheet_ == nullptr) {
            problem_ = "无法建立Excel工作簿（临时文件夹不能写入？）。";
            return;
        }
        for (int n = 0; n < kLookCount; ++n) {
            formats_[n] = makeFormat(xl_, book_, static_cast<CellLook>(n));
        }
        for (std::size_t c = 0; c < setup.columnWidths.size(); ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            xl_.worksheet_set_column(sheet_, col, col, setup.columnWidths[c], nullptr);
        }
        xl_.worksheet_set_paper(sheet_, 9);  // A4
        if (setup.landscape) {
            xl_.worksheet_set_landscape(sheet_);
        }
        xl_.worksheet_fit_to_pages(sheet_, 1, 0);
    }

    ~XlsxSheetWriter() override {
        if (book_ != nullptr) {
            xl_.lxw_workbook_free(book_);
        }
        if (!temporary_.empty()) {
            unlinkFile(temporary_);
        }
    }

    XlsxSheetWriter(const XlsxSheetWriter&) = delete;
    XlsxSheetWriter& operator=(const XlsxSheetWriter&) = delete;

    void row(const std::vector<SheetCell>& cells, double height) override {
        if (!problem_.empty()) {
            return;
        }
        if (row_ >= kMaxRows) {
            problem_ = "Excel工作表最多容纳" + std::to_string(kMaxRows) +
                       "行，要导出的内容更多；请缩小范围或导出为CSV文件。";
            return;
        }
        if (height > 0) {
            xl_.worksheet_set_row(sheet_, row_, height, nullptr);
        }
        lxw_col_t col = 0;
        for (const SheetCell& cell : cells) {
            lxw_format* f = formats_[static_cast<int>(cell.look)];
            const auto last = static_cast<lxw_col_t>(col + std::max(cell.span, 1) - 1);
            const bool blank = cell.kind == SheetCell::Kind::Empty && cell.look == CellLook::Plain;
            if (last > col && !blank) {
                const std::string text = cell.kind == SheetCell::Kind::Text ? cell.text : "";
                xl_.worksheet_merge_range(sheet_, row_, col, row_, last, text.c_str(), f);
                if (cell.kind == SheetCell::Kind::Number) {
                    xl_.worksheet_write_number(sheet_, row_, col, cell.number, f);
                }
            } else if (cell.kind == SheetCell::Kind::Text) {
                xl_.worksheet_write_string(sheet_, row_, col, cell.text.c_str(), f);
            } else if (cell.kind == SheetCell::Kind::Number) {
                xl_.worksheet_write_number(sheet_, row_, col, cell.number, f);
            } else if (cell.look != CellLook::Plain) {
                xl_.worksheet_write_blank(sheet_, row_, col, f);
            }
            col = last + 1;
        }
        ++row_;
    }

    void freezeRowsAbove() override {
        if (sheet_ != nullptr) {
            xl_.worksheet_freeze_panes(sheet_, row_, 0);
        }
    }

    IoStatus finish() override {
        if (problem_.empty()) {
            const lxw_error closed = xl_.workbook_close(book_);
            book_ = nullptr;
            if (closed != LXW_NO_ERROR) {
                problem_ = writeFailureReason(target_, "无法写入文件“" + displayName(target_) +
                                                           "”：" + xl_.lxw_strerror(closed));
            }
        }
        if (problem_.empty() && (!syncFile(temporary_) || !renameFile(temporary_, target_))) {
            problem_ = writeFailureReason(
                target_, "无法写入文件“" + displayName(target_) + "”，原文件未改动。");
        }
        if (!problem_.empty()) {
            return IoStatus::failure(IoError::WriteFailed, problem_);
        }
        temporary_.clear();
        if (!syncFolder(target_.parent_path())) {
            return IoStatus::failure(
                IoError::NotDurable,
                "文件“" + displayName(target_) + "”已写入，但未能同步到磁盘：断电后可能丢失。");
        }
        return IoStatus::success();
    }

private:
    const XlsxLibrary& xl_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::array<lxw_format*, kLookCount> formats_{};
    lxw_row_t row_ = 0;
    std::string problem_;
};

}  // namespace

std::unique_ptr<SheetWriter> openXlsxSheetWriter(const std::filesystem::path& target,
                                                 const SheetSetup& setup) {
    return openXlsxSheetWriter(target, setup, xlsxLibrary());
}

std::unique_ptr<SheetWriter> openXlsxSheetWriter(const std::filesystem::path& target,
                                                 const SheetSetup& setup,
                                                 const XlsxLibrary& library) {
    return std::make_unique<XlsxSheetWriter>(target, setup, library);
}

}  // namespace inkquot
