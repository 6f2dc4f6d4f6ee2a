#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/common/program_folder.h"

class Dialogs;
class QComboBox;
class QLabel;
class QPushButton;

// The price scheme controls: the selector `Cmbfangan` and the buttons
// `Cmdf` 0 "删除所选方案", 1 "导出价格方案", 2 "刷新", 3 "修复系统默认数据".
// The selected entry is the current scheme; selecting one copies its four
// stored tables over the working tables from which every price is taken.
class SchemePanel : public QWidget {
    Q_OBJECT

public:
    enum Button { DeleteButton, ExportButton, RefreshButton, RepairButton };

    SchemePanel(const inkquot::ProgramFolder& folder, Dialogs& dialogs, QWidget* parent = nullptr);

    QLabel* label = nullptr;
    QComboBox* Cmbfangan = nullptr;
    std::array<QPushButton*, 4> Cmdf{};

    // Fills the selector from the scheme list. A list that cannot be read
    // or names no scheme is offered to be written anew; without one the
    // selector still offers the built-in scheme.
    void loadSchemeList();
    // Makes entry `index` current. False when its tables could not be
    // copied; the working tables are then those of the scheme current
    // before, and so is the selector.
    bool selectEntry(int index);

    void deleteSelected();
    void exportScheme();
    // Reloads the list and makes its first scheme current.
    void refresh();
    void repairDefaultScheme();

    // The scheme whose tables are the working tables; empty when none is.
    const QString& currentScheme() const { return current_; }
    QStringList entries() const;

signals:
    void schemeSelected();

private:
    // Offers to write the built-in scheme anew after an installation fault.
    bool offerRestore(const QString& problem);
    void restoreSelectorTo(const QString& name);
    void warnAboutDamage(const std::vector<std::string>& damage);

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    QString current_;
    std::set<std::string> toldDamage_;
};
