#pragma once

#include <array>

#include "ui/params/record_editor.h"

// The basic data panel "基本数据设置": the 18 basic parameters of the current
// scheme (start-up amounts, minimum charges, the paper management fee). Only
// the value of an item can be changed.
class JibenEditor : public RecordEditor<inkquot::JibenRec> {
    Q_OBJECT

public:
    enum Box { NameBox, ValueBox, UnitBox, NoteBox };

    // `currentScheme` names the scheme whose stored file a save updates.
    JibenEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                std::function<QString()> currentScheme, QWidget* parent = nullptr);

    QListWidget* lstji = nullptr;
    std::array<QLineEdit*, 4> txtji{};
    std::array<QLabel*, 4> labels{};
    std::array<QPushButton*, 4> cmdji{};

signals:
    void saved();

private:
    void showRecord(const inkquot::JibenRec& rec) override;
    std::optional<std::string> apply(inkquot::JibenRec& rec) const override;
    inkquot::LeaveVerdict leaving(QLineEdit* box) const override;
    void recordSaved() override { emit saved(); }
};
