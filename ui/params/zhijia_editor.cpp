#include "ui/params/zhijia_editor.h"

#include <QLineEdit>

#include "ui/common/utf8_text.h"
#include "ui/params/editor_support.h"

using inkquot::PriceTable;

ZhijiaEditor::ZhijiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                           std::function<QString()> currentScheme, QWidget* parent)
    : RecordEditor({.title = "查看或修改纸价",
                    .objectName = "zhijiaEditor",
                    .word = "zhi",
                    .tables = {{PriceTable::Zhijia, "普通纸"}, {PriceTable::Zhijiabu, "不干胶纸"}},
                    .boxes = {"纸张种类", "纸张价格", "单    位", "说    明"},
                    .buttons = {"显示/刷新", "查看", "更改", "保存更改"},
                    .editable = {PriceBox, NameBox, NoteBox},
                    .refusalCopiesFile = false},
                   folder, dialogs, std::move(currentScheme), parent),
      optzhi({choices_[0], choices_[1]}),
      lstzhi(list_),
      txtzhi(arrayOf<4>(boxes_)),
      labels(arrayOf<4>(labels_)),
      cmdzhi(buttons_) {
    layOut();
}

void ZhijiaEditor::showRecord(const inkquot::ZhijiaRec& rec) {
    showTexts({inkquot::withoutPadding(rec.Mingcheng), inkquot::numberBoxText(rec.Jiage),
               inkquot::withoutPadding(rec.Danwei), inkquot::withoutPadding(rec.Shuoming)});
}

std::optional<std::string> ZhijiaEditor::apply(inkquot::ZhijiaRec& rec) const {
    return inkquot::applyPaperEdit(rec, toUtf8(txtzhi[NameBox]->text()),
                                   toUtf8(txtzhi[PriceBox]->text()),
                                   toUtf8(txtzhi[NoteBox]->text()));
}

inkquot::LeaveVerdict ZhijiaEditor::leaving(QLineEdit*) const {
    // Only what the user is typing is judged: the shown record as read from
    // the file, blank or not, must never hold the focus in a locked box.
    if (!editing()) {
        return {};
    }
    return inkquot::leavePaperBox(toUtf8(txtzhi[NameBox]->text()), toUtf8(txtzhi[PriceBox]->text()),
                                  toUtf8(txtzhi[NoteBox]->text()), !boxLocked(txtzhi[NameBox]));
}

// A built-in paper (`Neizhi` not 0) keeps its name and note.
bool ZhijiaEditor::opens(int box, const inkquot::ZhijiaRec& rec) const {
    return rec.Neizhi == 0 || (box != NameBox && box != NoteBox);
}

void ZhijiaEditor::recordSaved() {
    if (shownTable() == PriceTable::Zhijia) {
        emit papersSaved();
    } else {
        emit stickerPapersSaved();
    }
}
