#pragma once

#include <array>

#include "ui/params/record_editor.h"

// The paper price panel "查看或修改纸价": the 50 papers (`optzhi` 0 "普通纸")
// or the 10 sticker papers (`optzhi` 1 "不干胶纸") of the current scheme.
// Prices are shown and saved as stored, without the management fee that
// pricing adds. Built-in papers keep their name and note; the user-definable
// ones ("自定义纸张") can be named and described.
class ZhijiaEditor : public RecordEditor<inkquot::ZhijiaRec> {
    Q_OBJECT

public:
    enum Box { NameBox, PriceBox, UnitBox, NoteBox };

    ZhijiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                 std::function<QString()> currentScheme, QWidget* parent = nullptr);

    std::array<QRadioButton*, 2> optzhi{};
    QListWidget* lstzhi = nullptr;
    std::array<QLineEdit*, 4> txtzhi{};
    std::array<QLabel*, 4> labels{};
    std::array<QPushButton*, 4> cmdzhi{};

signals:
    // A paper or sticker paper record was saved: the paper lists of the job
    // entry must show the table anew.
    void papersSaved();
    void stickerPapersSaved();

private:
    void showRecord(const inkquot::ZhijiaRec& rec) override;
    std::optional<std::string> apply(inkquot::ZhijiaRec& rec) const override;
    inkquot::LeaveVerdict leaving(QLineEdit* box) const override;
    bool opens(int box, const inkquot::ZhijiaRec& rec) const override;
    void recordSaved() override;
};
