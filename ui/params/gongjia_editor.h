#pragma once

#include <QString>
#include <array>

#include "ui/params/record_editor.h"

class QPlainTextEdit;

// The process price panel "查看或修改工价": the 44 process prices of the
// current scheme with their TAG factors. A TAG scales the unit price for
// other colour counts, sizes or layers, as the item's note says; a TAG of 0
// marks a factor the item does not use.
class GongjiaEditor : public RecordEditor<inkquot::GongjiaRec> {
    Q_OBJECT

public:
    enum Box { NameBox, PriceBox, UnitBox, Tag1Box, Tag2Box, Tag3Box, Tag4Box };

    GongjiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                  std::function<QString()> currentScheme, QWidget* parent = nullptr);

    QListWidget* lstgong = nullptr;
    // Boxes 0 to 6: name, unit price, unit, TAG1 to TAG4.
    std::array<QLineEdit*, 7> txtgong{};
    // Box 7, the note: long enough to need several lines.
    QPlainTextEdit* txtgongNote = nullptr;
    std::array<QLabel*, 8> labels{};
    std::array<QPushButton*, 4> cmdgong{};

signals:
    void saved();

private:
    void showRecord(const inkquot::GongjiaRec& rec) override;
    std::optional<std::string> apply(inkquot::GongjiaRec& rec) const override;
    inkquot::LeaveVerdict leaving(QLineEdit* box) const override;
    void entered(QLineEdit* box) override;
    void recordSaved() override { emit saved(); }
    // 0 to 3 for the TAG boxes, -1 for any other.
    int tagOf(const QLineEdit* box) const;

    // The unit price text and the TAG values as they were when their box
    // last received the focus (or the record was shown).
    QString rememberedPrice_;
    std::array<float, 4> rememberedTags_{};
};
