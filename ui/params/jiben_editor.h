#pragma once

#include <QGroupBox>
#include <array>
#include <functional>
#include <vector>

#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The basic data panel "基本数据设置": the 18 basic parameters of the current
// scheme (start-up amounts, minimum charges, the paper management fee). Only
// the value of an item can be changed.
class JibenEditor : public QGroupBox {
    Q_OBJECT

public:
    enum Box { NameBox, ValueBox, UnitBox, NoteBox };
    enum Button { RefreshButton, ViewButton, EditButton, SaveButton };

    // `currentScheme` names the scheme whose stored file a save updates.
    JibenEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                std::function<QString()> currentScheme, QWidget* parent = nullptr);

    QListWidget* lstji = nullptr;
    std::array<QLineEdit*, 4> txtji{};
    std::array<QLabel*, 4> labels{};
    std::array<QPushButton*, 4> cmdji{};

    // "显示/刷新": reads the 18 records afresh and shows the first.
    void refresh();
    // "查看": shows the selected record.
    void view();
    // "更改": opens the value box.
    void beginEdit();
    // "保存改动": true when the record was written into the working file and
    // the scheme.
    bool save();

    const std::vector<inkquot::JibenRec>& records() const { return records_; }

signals:
    void saved();

private:
    bool checkLeave();

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    std::function<QString()> currentScheme_;
    std::vector<inkquot::JibenRec> records_;
};
