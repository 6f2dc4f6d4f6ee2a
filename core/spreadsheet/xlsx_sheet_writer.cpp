#include <array>
#include <cerrno>
#include <deque>
#include <optional>
#include <string>

#include "core/common/file_io.h"
#include "core/common/native_stderr.h"
#include "core/spreadsheet/export_staging.h"
#include "core/spreadsheet/sheet_writer_kinds.h"
#include "core/spreadsheet/workbook_check.h"
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
    if (f == nullptr) {
        return nullptr;
    }
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

// No workbook a worksheet's rows make comes near this size.
constexpr std::size_t kMaxWorkbookBytes = std::size_t(1) << 30;

// What a refusal of the library means for the clerk; its own English text
// is never shown.
std::string libraryRefusal(lxw_error error) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "内存不足";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "有单元格的文字超过Excel允许的长度";
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_PARAMETER_ERROR:
        case LXW_ERROR_ZIP_BAD_ZIP_FILE:
        case LXW_ERROR_ZIP_INTERNAL_ERROR:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return "写出工作簿时出错";
        default:
            return "Excel工作簿函数库出错";
    }
}

// The workbook library builds the workbook in the export's own folder,
// with its temporary files there too, and writes it out in workbook_close.
// Every call's answer is checked, and the written workbook is read back
// and checked whole (workbookIsWhole) before it replaces the target. The
// library's own messages on the standard error stream are kept off it
// while the writer lives: the writer reports every failure itself.
class XlsxSheetWriter final : public SheetWriter {
public:
    XlsxSheetWriter(const std::filesystem::path& target, const SheetSetup& setup,
                    const XlsxLibrary& xl)
        : xl_(xl) {
        // Without the library nothing is written, not even the export's folder.
        if (!xl_.problem.empty()) {
            problem_ = xl_.problem;
            return;
        }
        staging_.emplace(target);
        if (!staging_->ready()) {
            problem_ = staging_->failure();
            return;
        }
        quiet_.emplace();
        // Rows are written in order and go to disk as they come, so a long
        // history does not have to fit in memory.
        tmpdir_ = displayName(staging_->folder());
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tmpdir_.data();
        book_ = xl_.workbook_new_opt(displayName(staging_->file()).c_str(), &options);
        if (book_ != nullptr) {
            sheet_ = xl_.workbook_add_worksheet(book_, setup.name.c_str());
        }
        if (sheet_ == nullptr) {
            problem_ = staging_->failure(native::Fault::None, "无法建立Excel工作簿的临时文件");
            return;
        }
        for (int n = 0; n < kLookCount && problem_.empty(); ++n) {
            formats_[n] = makeFormat(xl_, book_, static_cast<CellLook>(n));
            if (formats_[n] == nullptr) {
                refused(LXW_ERROR_MEMORY_MALLOC_FAILED);
            }
        }
        for (std::size_t c = 0; c < setup.columnWidths.size(); ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            check(xl_.worksheet_set_column(sheet_, col, col, setup.columnWidths[c], nullptr));
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
        // The library writes a row that has a height or a cell; the rows
        // of the finished worksheet are counted against these.
        bool written = height > 0;
        if (height > 0) {
            check(xl_.worksheet_set_row(sheet_, row_, height, nullptr));
        }
        lxw_col_t col = 0;
        for (const SheetCell& cell : cells) {
            lxw_format* f = formats_[static_cast<int>(cell.look)];
            const auto last = static_cast<lxw_col_t>(col + std::max(cell.span, 1) - 1);
            const bool blank = cell.kind == SheetCell::Kind::Empty && cell.look == CellLook::Plain;
            written = written || !blank;
            if (last > col && !blank) {
                const std::string text = cell.kind == SheetCell::Kind::Text ? cell.text : "";
                check(xl_.worksheet_merge_range(sheet_, row_, col, row_, last, text.c_str(), f));
                if (cell.kind == SheetCell::Kind::Number) {
                    check(xl_.worksheet_write_number(sheet_, row_, col, cell.number, f));
                }
            } else if (cell.kind == SheetCell::Kind::Text) {
                check(xl_.worksheet_write_string(sheet_, row_, col, cell.text.c_str(), f));
            } else if (cell.kind == SheetCell::Kind::Number) {
                check(xl_.worksheet_write_number(sheet_, row_, col, cell.number, f));
            } else if (cell.look != CellLook::Plain) {
                check(xl_.worksheet_write_blank(sheet_, row_, col, f));
            }
            col = last + 1;
        }
        rowsWritten_ += written ? 1 : 0;
        ++row_;
    }

    void freezeRowsAbove() override {
        if (problem_.empty()) {
            xl_.worksheet_freeze_panes(sheet_, row_, 0);
        }
    }

    void addPicture(int row, int column, std::string png) override {
        if (!problem_.empty() || png.empty()) {
            return;
        }
        // The picture's bytes stay here until the workbook is written out,
        // whenever the library reads them.
        const std::string& kept = pictures_.emplace_back(std::move(png));
        check(xl_.worksheet_insert_image_buffer(
            sheet_, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
            reinterpret_cast<const unsigned char*>(kept.data()), kept.size()));
    }

    IoStatus finish() override {
        std::string bytes;
        if (problem_.empty()) {
            errno = 0;
            const lxw_error closed = xl_.workbook_close(book_);
            const int error = errno;
            book_ = nullptr;
            if (closed != LXW_NO_ERROR) {
                const bool memory = closed == LXW_ERROR_MEMORY_MALLOC_FAILED;
                problem_ =
                    staging_->failure(memory ? native::Fault::None : native::faultOfErrno(error),
                                      libraryRefusal(closed));
            }
        }
        if (problem_.empty()) {
            if (const IoStatus read = readWholeFile(staging_->file(), bytes, kMaxWorkbookBytes);
                !read) {
                problem_ = staging_->failure(native::lastFault(), "写出的工作簿无法读回");
            } else if (!workbookIsWhole(bytes, rowsWritten_, xl_)) {
                problem_ = staging_->failure(native::Fault::None, "写出的工作簿不完整");
            }
        }
        quiet_.reset();
        if (!problem_.empty()) {
            return IoStatus::failure(IoError::WriteFailed, problem_);
        }
        return staging_->place(bytes);
    }

private:
    void check(lxw_error error) {
        if (error != LXW_NO_ERROR && problem_.empty()) {
            refused(error);
        }
    }

    void refused(lxw_error error) {
        problem_ = staging_->failure(native::Fault::None, libraryRefusal(error));
    }

    const XlsxLibrary& xl_;
    std::optional<ExportStaging> staging_;
    std::optional<native::SilencedStderr> quiet_;
    std::string tmpdir_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::array<lxw_format*, kLookCount> formats_{};
    std::deque<std::string> pictures_;
    lxw_row_t row_ = 0;
    std::size_t rowsWritten_ = 0;
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
