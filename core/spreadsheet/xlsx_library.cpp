#include "core/spreadsheet/xlsx_library.h"

#include <dlfcn.h>

#include <utility>

namespace inkquot {

namespace {

// `state`: the library is not there at all, or lacks a function.
std::string loadFailure(const char* file, const char* state) {
    const char* reason = dlerror();
    return std::string("导出Excel文件需要函数库“") + file + "”，但它" + state + "（" +
           (reason != nullptr ? reason : "原因不明") + "）。请安装该函数库，或导出为CSV文件。";
}

}  // namespace

XlsxLibrary openXlsxLibrary(const char* file) {
    XlsxLibrary lib;
    void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        lib.problem = loadFailure(file, "未能载入");
        return lib;
    }
    // A function missing from the file (an older or newer library under
    // the same name) makes the whole library unusable.
    bool complete = true;
    auto resolve = [&]<typename Function>(Function& slot, const char* name) {
        if (!complete) {
            return;
        }
        dlerror();
        void* symbol = dlsym(handle, name);
        if (symbol == nullptr) {
            lib.problem = loadFailure(file, "缺少所需的函数");
            complete = false;
            return;
        }
        slot = reinterpret_cast<Function>(symbol);
    };
#define INKQUOT_XLSX_RESOLVE(name) resolve(lib.name, #name);
    INKQUOT_XLSX_FUNCTIONS(INKQUOT_XLSX_RESOLVE)
#undef INKQUOT_XLSX_RESOLVE
    if (!complete) {
        dlclose(handle);
        XlsxLibrary unusable;
        unusable.problem = std::move(lib.problem);
        return unusable;
    }
    return lib;
}

const XlsxLibrary& xlsxLibrary() {
    static const XlsxLibrary library = openXlsxLibrary(INKQUOT_XLSXWRITER_SONAME);
    return library;
}

}  // namespace inkquot
