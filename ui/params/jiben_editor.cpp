#include "ui/params/jiben_editor.h"

#include <QLineEdit>

#include "ui/common/utf8_text.h"

JibenEditor::JibenEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         std::function<QString()> currentScheme, QWidget* parent)
    : RecordEditor({.title = "基本数据设置",
                    .objectName = "jibenEditor",
                    .word = "ji",
                    .tables = {{inkquot::PriceTable::Jiben}},
                    .boxes = {"项目名称", "项目数据", "单    位", "说    明"},
                    .buttons = {"显示/刷新", "查看", "更改", "保存改动"},
                    .editable = {ValueBox}},
                   folder, dialogs, std::move(currentScheme), parent),
      lstji(list_),
      txtji(arrayOf<4>(boxes_)),
      labels(arrayOf<4>(labels_)),
      cmdji(buttons_) {
    layOut();
}

void JibenEditor::showRecord(const inkquot::JibenRec& rec) {
    showTexts({inkquot::withoutPadding(rec.Mingcheng), inkquot::numberBoxText(rec.Shuju),
               inkquot::withoutPadding(rec.Danwei), inkquot::withoutPadding(rec.Shuoming)});
    txtji[NoteBox]->setCursorPosition(0);
    txtji[NoteBox]->setToolTip(txtji[NoteBox]->text());
}

std::optional<std::string> JibenEditor::apply(inkquot::JibenRec& rec) const {
    if (!inkquot::applyJibenEdit(rec, toUtf8(txtji[ValueBox]->text()))) {
        return inkquot::kCannotSave;
    }
    return std::nullopt;
}

// Whichever box the focus leaves, the value box must hold a number.
inkquot::LeaveVerdict JibenEditor::leaving(QLineEdit*) const {
    return inkquot::leaveJibenBox(toUtf8(txtji[ValueBox]->text()));
}
