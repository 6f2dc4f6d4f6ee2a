#pragma once

#include <cstddef>
#include <string_view>

namespace inkquot {

struct XlsxLibrary;

// Reads a finished workbook back before it may replace anything. The
// workbook library assembles a workbook from temporary files whose writes
// it does not check: when one of them fails (a full disk, an input/output
// error) it still reports success and the archive holds a part with rows
// missing or cut in two. So every part of the archive is unpacked and must
// be whole XML (each element closed, in order, one root), and the worksheet
// must hold exactly `sheetRows` rows.
bool workbookIsWhole(std::string_view bytes, std::size_t sheetRows, const XlsxLibrary& library);

}  // namespace inkquot
