#pragma once

#include <xlsxwriter.h>
#include <zlib.h>

#include <string>

namespace inkquot {

// Every function of the Excel workbook library that the workbook writer
// calls, listed once for the table below and for resolving it.
#define INKQUOT_XLSX_FUNCTIONS(X) \
    X(workbook_new_opt)           \
    X(workbook_add_worksheet)     \
    X(workbook_add_format)        \
    X(workbook_close)             \
    X(lxw_workbook_free)          \
    X(format_set_font_name)       \
    X(format_set_font_size)       \
    X(format_set_bold)            \
    X(format_set_align)           \
    X(format_set_border)          \
    X(format_set_text_wrap)       \
    X(format_set_bg_color)        \
    X(format_set_num_format)      \
    X(worksheet_set_column)       \
    X(worksheet_set_row)          \
    X(worksheet_set_paper)        \
    X(worksheet_set_landscape)    \
    X(worksheet_fit_to_pages)     \
    X(worksheet_freeze_panes)     \
    X(worksheet_merge_range)      \
    X(worksheet_write_string)     \
    X(worksheet_write_number)     \
    X(worksheet_write_blank)      \
    X(worksheet_insert_image_buffer)

// The functions of the compression library the workbook library writes
// with, which read a finished workbook back to check it.
#define INKQUOT_ZLIB_FUNCTIONS(X) \
    X(inflateInit2_)              \
    X(inflate)                    \
    X(inflateEnd)                 \
    X(crc32)

// The workbook library, with the compression and cryptography libraries it
// pulls in, is opened only when a workbook is first written: most runs of
// either program never export one and need not load, relocate and keep them
// in memory.
struct XlsxLibrary {
#define INKQUOT_XLSX_POINTER(name) decltype(&::name) name = nullptr;
    INKQUOT_XLSX_FUNCTIONS(INKQUOT_XLSX_POINTER)
    INKQUOT_ZLIB_FUNCTIONS(INKQUOT_XLSX_POINTER)
#undef INKQUOT_XLSX_POINTER

    // Empty when the library is open and every function was found; else a
    // message for the user naming the library file and what went wrong.
    std::string problem;
};

// The installed library, opened by its exact file name on the first call;
// every later call, from any thread, gets the same result.
const XlsxLibrary& xlsxLibrary();

// Opens the library file `file` (a name the dynamic linker looks up, or a
// path) and the compression library it writes with, and resolves every
// function. Usable libraries stay open for the rest of the process.
XlsxLibrary openXlsxLibrary(const char* file);

}  // namespace inkquot
