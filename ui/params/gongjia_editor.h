#pragma once

#include <QGroupBox>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The process price panel "查看或修改工价": the 44 process prices of the
// current scheme with their TAG factors. A TAG scales the unit price for
// other colour counts, sizes or layers, as the item's note says; a TAG of 0
// marks a factor the item does not use.
class GongjiaEditor : public QGroupBox {
    Q_OBJECT

public:
    enum Box { NameBox, PriceBox, UnitBox, Tag1Box, Tag2Box, Tag3Box, Tag4Box };
    enum Button { RefreshButton, ViewButton, EditButton, SaveButton };

    GongjiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                  std::function<QString()> currentScheme, QWidget* parent = nullptr);

    QListWidget* lstgong = nullptr;
    // Boxes 0 to 6: name, unit price, unit, TAG1 to TAG4.
    std::array<QLineEdit*, 7> txtgong{};
    // Box 7, the note: long enough to need several lines.
    QPlainTextEdit* txtgongNote = nullptr;
    std::array<QLabel*, 8> labels{};
    std::array<QPushButton*, 4> cmdgong{};

    // "显示/刷新列表": reads the 44 records afresh and shows the first.
    void refresh();
    void view();
    void beginEdit();
    bool save();

    const std::vector<inkquot::GongjiaRec>& records() const { return records_; }

signals:
    void saved();

private:
    bool checkLeave(QLineEdit* box);
    void remember(QLineEdit* box);

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    std::function<QString()> currentScheme_;
    std::vector<inkquot::GongjiaRec> records_;
    // The unit price text and the TAG values as they were when their box
    // last received the focus (or the record was shown).
    QString rememberedPrice_;
    std::array<float, 4> rememberedTags_{};
};
