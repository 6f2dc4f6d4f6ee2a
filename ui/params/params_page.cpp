#include "ui/params/params_page.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "ui/params/gongjia_editor.h"
#include "ui/params/jiben_editor.h"
#include "ui/params/letterhead_dialog.h"
#include "ui/params/scheme_panel.h"
#include "ui/params/zhijia_editor.h"

ParamsPage::ParamsPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs, SchemePanel* schemes,
                       QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("paramsPage"));
    schemes_ = schemes ? schemes : new SchemePanel(folder, dialogs);
    schemes_->setParent(this);
    schemes_->show();  // with the page
    editorArea_ = new QFrame(this);
    editorArea_->setObjectName(QStringLiteral("editorArea"));
    editorArea_->setFrameShape(QFrame::StyledPanel);
    editorArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // Saves go to the stored files of the scheme current at that moment.
    auto current = [this] { return schemes_->currentScheme(); };
    jiben_ = new JibenEditor(folder, dialogs, current);
    zhijia_ = new ZhijiaEditor(folder, dialogs, current);
    gongjia_ = new GongjiaEditor(folder, dialogs, current);
    Picanshu = {jiben_, zhijia_, gongjia_};

    auto* chooser = new QHBoxLayout;
    chooser->setSpacing(20);
    auto* group = new QButtonGroup(this);
    const char* captions[3] = {"基本数据", "纸价数据", "工价数据"};
    for (int k = 0; k < 3; ++k) {
        Optfang[std::size_t(k)] = new QRadioButton(QString::fromUtf8(captions[k]), editorArea_);
        Optfang[std::size_t(k)]->setObjectName(QStringLiteral("Optfang%1").arg(k));
        group->addButton(Optfang[std::size_t(k)], k);
        chooser->addWidget(Optfang[std::size_t(k)]);
    }
    chooser->addStretch(1);
    // The shop's letterhead for the printouts sits with the other settings.
    cmdxintou = new QPushButton(QStringLiteral("信头设置…"), editorArea_);
    cmdxintou->setObjectName(QStringLiteral("cmdxintou"));
    cmdxintou->setToolTip(QStringLiteral("设置印在报价单和价格表上方的店名、地址、电话和标志"));
    chooser->addWidget(cmdxintou);
    connect(cmdxintou, &QPushButton::clicked, this, [this, folder, &dialogs] {
        LetterheadDialog dialog(folder, dialogs, this);
        dialog.exec();
    });

    auto* stackHolder = new QWidget(editorArea_);
    panels_ = new QStackedLayout(stackHolder);
    for (QWidget* panel : Picanshu) {
        panels_->addWidget(panel);
    }

    auto* area = new QVBoxLayout(editorArea_);
    area->setContentsMargins(10, 8, 10, 10);
    area->setSpacing(6);
    area->addLayout(chooser);
    area->addWidget(stackHolder, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(schemes_);
    layout->addWidget(editorArea_, 1);

    connect(group, &QButtonGroup::idToggled, this, [this](int k, bool checked) {
        if (checked) {
            choosePanel(k);
        }
    });
    connect(schemes_, &SchemePanel::schemeSelected, this, [this] {
        refreshEditors();
        emit schemeSelected();
    });
    connect(zhijia_, &ZhijiaEditor::papersSaved, this, &ParamsPage::papersSaved);
    connect(zhijia_, &ZhijiaEditor::stickerPapersSaved, this, &ParamsPage::stickerPapersSaved);

    Optfang[BasicPanel]->setChecked(true);
    choosePanel(BasicPanel);
    if (!schemes_->currentScheme().isEmpty()) {
        refreshEditors();
    }
}

void ParamsPage::loadSchemes() {
    schemes_->refresh();
}

void ParamsPage::refreshEditors() {
    jiben_->refresh();
    zhijia_->refresh();
    gongjia_->refresh();
}

void ParamsPage::choosePanel(int k) {
    if (k < 0 || k >= int(Picanshu.size())) {
        return;
    }
    if (!Optfang[std::size_t(k)]->isChecked()) {
        Optfang[std::size_t(k)]->setChecked(true);  // comes back here
        return;
    }
    panels_->setCurrentIndex(k);
    for (int i = 0; i < int(Picanshu.size()); ++i) {
        Picanshu[std::size_t(i)]->setEnabled(i == k);
    }
}

int ParamsPage::shownPanel() const {
    return panels_->currentIndex();
}
