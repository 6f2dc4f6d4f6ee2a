#include "ui/history/history_export.h"

#include <QApplication>
#include <QFile>

#include "core/common/clock.h"
#include "core/common/date_text.h"
#include "core/common/program_folder.h"
#include "core/records/history_file.h"
#include "core/spreadsheet/history_sheet.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/save_file_chooser.h"

void exportHistorySheet(QWidget* parent, const inkquot::ProgramFolder& folder,
                        const inkquot::HistoryQuery& query, const inkquot::HistoryMatcher& matcher,
                        Dialogs& dialogs, SaveFileChooser& files, const inkquot::Clock& clock,
                        const std::vector<std::string>& letterhead) {
    const inkquot::CivilDate today = clock.today();
    const QString name = QStringLiteral("历史报价记录-") + fromUtf8(inkquot::longDateText(today));
    const auto choice = files.chooseSheetFile(parent, proposedSheetPath(name));
    if (!choice) {
        return;
    }
    const inkquot::HistorySheetHeading heading{letterhead, inkquot::historyConditionText(query),
                                               today};
    std::uint64_t exported = 0;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const inkquot::IoStatus written = inkquot::writeHistorySheet(
        toPath(choice->path), choice->format,
        folder.file(inkquot::kHistoryFileName), matcher, heading, {}, exported);
    QApplication::restoreOverrideCursor();
    if (written.error == inkquot::IoError::NotDurable) {
        dialogs.warning(parent, fromUtf8(written.message));
    } else if (!written) {
        dialogs.warning(parent, fromUtf8(std::string(inkquot::kSaveFailedText) + written.message));
    } else {
        dialogs.plain(parent, QStringLiteral("已导出%1条记录。").arg(exported));
    }
}
