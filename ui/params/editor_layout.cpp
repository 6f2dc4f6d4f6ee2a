#include "ui/params/editor_layout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

void layOutEditor(QGroupBox* panel, QWidget* top, QListWidget* list,
                  const std::vector<LabeledBox>& rows, QWidget* extra, LabeledBox note,
                  const std::vector<QPushButton*>& buttons) {
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(8);
    fields->setColumnStretch(1, 1);
    int row = 0;
    for (const auto& r : rows) {
        fields->addWidget(r.label, row, 0);
        fields->addWidget(r.box, row, 1);
        ++row;
    }
    if (extra) {
        fields->addWidget(extra, row++, 0, 1, 2);
    }
    if (note.label) {
        fields->addWidget(note.label, row, 0, Qt::AlignTop);
        fields->addWidget(note.box, row, 1);
        ++row;
    }
    fields->setRowStretch(row, 1);

    list->setMinimumWidth(180);
    list->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    body->addWidget(list, 2);
    body->addLayout(fields, 3);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(8);
    for (QPushButton* b : buttons) {
        b->setMinimumHeight(28);
        b->setMinimumWidth(b->sizeHint().width() + 12);
        bar->addWidget(b);
    }
    bar->addStretch(1);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(10, 12, 10, 10);
    layout->setSpacing(10);
    if (top) {
        layout->addWidget(top);
    }
    layout->addLayout(body, 1);
    layout->addLayout(bar);
}
