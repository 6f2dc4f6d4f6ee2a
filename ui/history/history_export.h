#pragma once

#include <string>
#include <vector>

#include "core/records/history_scan.h"

class Dialogs;
class QWidget;
class SaveFileChooser;

namespace inkquot {
class Clock;
class ProgramFolder;
}  // namespace inkquot

// "导出Excel" of the history page: every saved quotation that the query
// conditions find (all of them, not only the records listed) goes into an
// Excel workbook or a CSV file that the user names. On success the count is
// shown; a file that cannot be written gives "保存失败：" and the reason and
// leaves nothing behind. `letterhead` lines go above the heading.
void exportHistorySheet(QWidget* parent, const inkquot::ProgramFolder& folder,
                        const inkquot::HistoryQuery& query, const inkquot::HistoryMatcher& matcher,
                        Dialogs& dialogs, SaveFileChooser& files, const inkquot::Clock& clock,
                        const std::vector<std::string>& letterhead = {});
