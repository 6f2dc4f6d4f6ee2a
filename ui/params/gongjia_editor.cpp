#include "ui/params/gongjia_editor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "core/common/number_text.h"
#include "ui/common/utf8_text.h"

GongjiaEditor::GongjiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                             std::function<QString()> currentScheme, QWidget* parent)
    : RecordEditor({.title = "查看或修改工价",
                    .objectName = "gongjiaEditor",
                    .word = "gong",
                    .tables = {{inkquot::PriceTable::Gongjia}},
                    .boxes = {"项目名称", "单    价", "单    位", "TAG1", "TAG2", "TAG3", "TAG4"},
                    .buttons = {"显示/刷新列表", "查看", "更改", "保存改动"},
                    .editable = {PriceBox, Tag1Box, Tag2Box, Tag3Box, Tag4Box}},
                   folder, dialogs, std::move(currentScheme), parent),
      lstgong(list_),
      txtgong(arrayOf<7>(boxes_)),
      labels(arrayOf<8>(labels_)),
      cmdgong(buttons_) {
    txtgongNote = new QPlainTextEdit(this);
    txtgongNote->setObjectName(QStringLiteral("txtgong7"));
    txtgongNote->setReadOnly(true);
    txtgongNote->setTabChangesFocus(true);
    // Notes wrap; they never need a sideways scroll.
    txtgongNote->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QPalette pal = txtgongNote->palette();
        pal.setColor(QPalette::Base, txtgong[0]->palette().color(QPalette::Base));
        txtgongNote->setPalette(pal);
    }
    const int lineHeight = txtgongNote->fontMetrics().lineSpacing();
    txtgongNote->setMinimumHeight(lineHeight * 3 + 12);
    txtgongNote->setMaximumHeight(lineHeight * 5 + 12);
    labels[7] = new QLabel(QStringLiteral("说    明"), this);
    labels[7]->setBuddy(txtgongNote);
    setTabOrder(txtgong[Tag4Box], txtgongNote);

    // The four factors side by side, two to a row.
    auto* tags = new QWidget(this);
    auto* tagGrid = new QGridLayout(tags);
    tagGrid->setContentsMargins(0, 0, 0, 0);
    tagGrid->setHorizontalSpacing(8);
    tagGrid->setVerticalSpacing(8);
    for (int k = 0; k < 4; ++k) {
        const int row = k / 2;
        const int col = (k % 2) * 2;
        labels[std::size_t(Tag1Box + k)]->setParent(tags);
        txtgong[std::size_t(Tag1Box + k)]->setParent(tags);
        tagGrid->addWidget(labels[std::size_t(Tag1Box + k)], row, col);
        tagGrid->addWidget(txtgong[std::size_t(Tag1Box + k)], row, col + 1);
        txtgong[std::size_t(Tag1Box + k)]->setMaximumWidth(110);
    }
    tagGrid->setColumnStretch(4, 1);
    labels[Tag1Box]->setMinimumWidth(labels[NameBox]->sizeHint().width());

    layOut(tags, {labels[7], txtgongNote});
    setTabOrder(txtgong[UnitBox], txtgong[Tag1Box]);
}

void GongjiaEditor::showRecord(const inkquot::GongjiaRec& rec) {
    rememberedTags_ = {rec.Tag1, rec.Tag2, rec.Tag3, rec.Tag4};
    showTexts({inkquot::withoutPadding(rec.Mingcheng), inkquot::numberBoxText(rec.Danjia),
               inkquot::withoutPadding(rec.Danwei), inkquot::numberBoxText(rec.Tag1),
               inkquot::numberBoxText(rec.Tag2), inkquot::numberBoxText(rec.Tag3),
               inkquot::numberBoxText(rec.Tag4)});
    txtgongNote->setPlainText(fromUtf8(inkquot::withoutPadding(rec.Shuoming)));
    rememberedPrice_ = txtgong[PriceBox]->text();
}

std::optional<std::string> GongjiaEditor::apply(inkquot::GongjiaRec& rec) const {
    std::array<std::string, 4> tags;
    for (int k = 0; k < 4; ++k) {
        tags[std::size_t(k)] = toUtf8(txtgong[std::size_t(Tag1Box + k)]->text());
    }
    if (!inkquot::applyGongjiaEdit(rec, toUtf8(txtgong[PriceBox]->text()),
                                   {tags[0], tags[1], tags[2], tags[3]})) {
        return inkquot::kCannotSave;
    }
    return std::nullopt;
}

void GongjiaEditor::entered(QLineEdit* box) {
    if (box == txtgong[PriceBox]) {
        rememberedPrice_ = box->text();
    } else if (const int k = tagOf(box); k >= 0) {
        rememberedTags_[std::size_t(k)] = inkquot::parseNumber(toUtf8(box->text())).value_or(0);
    }
}

inkquot::LeaveVerdict GongjiaEditor::leaving(QLineEdit* box) const {
    if (box == txtgong[PriceBox]) {
        return inkquot::leaveUnitPriceBox(toUtf8(box->text()), toUtf8(rememberedPrice_));
    }
    if (const int k = tagOf(box); k >= 0) {
        return inkquot::leaveTagBox(toUtf8(box->text()), rememberedTags_[std::size_t(k)]);
    }
    return {};
}

int GongjiaEditor::tagOf(const QLineEdit* box) const {
    const auto tag = std::find(txtgong.begin() + Tag1Box, txtgong.end(), box);
    return tag == txtgong.end() ? -1 : int(tag - txtgong.begin()) - Tag1Box;
}
