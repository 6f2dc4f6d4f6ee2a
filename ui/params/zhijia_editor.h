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
class QRadioButton;

// The paper price panel "查看或修改纸价": the 50 papers (`optzhi` 0 "普通纸")
// or the 10 sticker papers (`optzhi` 1 "不干胶纸") of the current scheme.
// Prices are shown and saved as stored, without the management fee that
// pricing adds. Built-in papers keep their name and note; the user-definable
// ones ("自定义纸张") can be named and described.
class ZhijiaEditor : public QGroupBox {
    Q_OBJECT

public:
    enum Box { NameBox, PriceBox, UnitBox, NoteBox };
    enum Button { RefreshButton, ViewButton, EditButton, SaveButton };

    ZhijiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                 std::function<QString()> currentScheme, QWidget* parent = nullptr);

    std::array<QRadioButton*, 2> optzhi{};
    QListWidget* lstzhi = nullptr;
    std::array<QLineEdit*, 4> txtzhi{};
    std::array<QLabel*, 4> labels{};
    std::array<QPushButton*, 4> cmdzhi{};

    // "显示/刷新": reads the chosen table afresh and shows its first paper.
    void refresh();
    void view();
    void beginEdit();
    bool save();

    // The table shown in the list (the one a save writes).
    inkquot::PriceTable shownTable() const { return shownTable_; }
    const std::vector<inkquot::ZhijiaRec>& records() const { return records_; }

signals:
    // A paper or sticker paper record was saved: the paper lists of the job
    // entry must show the table anew.
    void papersSaved();
    void stickerPapersSaved();

private:
    void tableChosen();
    void lockAll();
    bool checkLeave();

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    std::function<QString()> currentScheme_;
    std::vector<inkquot::ZhijiaRec> records_;
    inkquot::PriceTable shownTable_ = inkquot::PriceTable::Zhijia;
    bool editing_ = false;
};
