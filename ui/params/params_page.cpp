#include "ui/params/params_page.h"

#include <QFrame>
#include <QVBoxLayout>

#include "ui/params/scheme_panel.h"

ParamsPage::ParamsPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("paramsPage"));
    schemes_ = new SchemePanel(folder, dialogs, this);
    editorArea_ = new QFrame(this);
    editorArea_->setObjectName(QStringLiteral("editorArea"));
    editorArea_->setFrameShape(QFrame::StyledPanel);
    editorArea_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    new QVBoxLayout(editorArea_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(schemes_);
    layout->addWidget(editorArea_, 1);

    connect(schemes_, &SchemePanel::schemeSelected, this, [this] {
        refreshEditors();
        emit schemeSelected();
    });
}

void ParamsPage::loadSchemes() {
    schemes_->refresh();
}
