#include "core/spreadsheet/xlsx_library.h"

#include <utility>

#include "core/common/native_library.h"

namespace inkquot {

namespace {

// `state`: the library is not there at all, or lacks a function.
std::string loadFailure(const char* file, const char* state, const std::string& reason) {
    return std::string("导出Excel文件需要函数库“") + file + "”，但它" + state + "（" +
           (reason.empty() ? "原因不明" : reason) + "）。请安装该函数库，或导出为CSV文件。";
}

}  // namespace

XlsxLibrary openXlsxLibrary(const char* file) {
    XlsxLibrary lib;
    std::string reason;
    native::Library library = native::Library::open(file, reason);
    if (!library.loaded()) {
        lib.problem = loadFailure(file, "未能载入", reason);
        return lib;
    }
    native::Library zlib = native::Library::open(INKQUOT_ZLIB_SONAME, reason);
    if (!zlib.loaded()) {
        lib.problem = loadFailure(INKQUOT_ZLIB_SONAME, "未能载入", reason);
        return lib;
    }
    // A function missing from the file (an older or newer library under
    // the same name) makes the whole library unusable.
    bool complete = true;
    auto resolve = [&]<typename Function>(const native::Library& from, const char* fromFile,
                                          Function& slot, const char* name) {
        if (!complete) {
            return;
        }
        void* symbol = from.symbol(name, reason);
        if (symbol == nullptr) {
            lib.problem = loadFailure(fromFile, "缺少所需的函数", reason);
            complete = false;
            return;
        }
        slot = reinterpret_cast<Function>(symbol);
    };
#define INKQUOT_XLSX_RESOLVE(name) resolve(library, file, lib.name, #name);
    INKQUOT_XLSX_FUNCTIONS(INKQUOT_XLSX_RESOLVE)
#undef INKQUOT_XLSX_RESOLVE
#define INKQUOT_ZLIB_RESOLVE(name) resolve(zlib, INKQUOT_ZLIB_SONAME, lib.name, #name);
    INKQUOT_ZLIB_FUNCTIONS(INKQUOT_ZLIB_RESOLVE)
#undef INKQUOT_ZLIB_RESOLVE
    if (!complete) {
        XlsxLibrary unusable;
        unusable.problem = std::move(lib.problem);
        return unusable;
    }
    library.keep();
    zlib.keep();
    return lib;
}

const XlsxLibrary& xlsxLibrary() {
    static const XlsxLibrary library = openXlsxLibrary(INKQUOT_XLSXWRITER_SONAME);
    return library;
}

}  // namespace inkquot
