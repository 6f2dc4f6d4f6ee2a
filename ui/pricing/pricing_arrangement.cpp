// Placing the sections of the pricing page's kind panels by the width of the
// page: on a large screen the printing content beside prepress and
// finishing, on a middling one above them side by side, on a small one all
// three stacked.

#include <QGridLayout>
#include <QLayout>
#include <QResizeEvent>
#include <algorithm>

#include "ui/pricing/pricing_page.h"

PricingPage::Arrangement PricingPage::arrangementFor(const SectionGrid& sg, int width) {
    const Sections& s = sg.sections;
    const int spacing = sg.grid->horizontalSpacing();
    const int printing = s.printing->minimumSizeHint().width();
    const int prepress = s.prepress->minimumSizeHint().width();
    const int finishing = s.finishing != nullptr ? s.finishing->minimumSizeHint().width() : 0;
    if (width >= printing + spacing + std::max(prepress, finishing)) {
        return Arrangement::Wide;
    }
    const int sideBySide = s.finishing != nullptr ? prepress + spacing + finishing : prepress;
    if (width >= std::max(printing, sideBySide)) {
        return Arrangement::SideBySide;
    }
    return Arrangement::Stacked;
}

void PricingPage::arrange(SectionGrid& sg, Arrangement arrangement) {
    if (sg.arrangement == arrangement) {
        return;
    }
    sg.arrangement = arrangement;
    const Sections& s = sg.sections;
    QGridLayout* grid = sg.grid;
    for (QWidget* w : {s.prepress, s.printing, s.finishing}) {
        if (w != nullptr) {
            grid->removeWidget(w);
        }
    }
    for (int i = 0; i < 3; ++i) {
        grid->setRowStretch(i, 0);
        grid->setColumnStretch(i, 0);
    }
    switch (arrangement) {
        case Arrangement::Wide:
            // The printing content on the left, prepress and finishing in a
            // column beside it.
            grid->addWidget(s.printing, 0, 0, 2, 1);
            grid->addWidget(s.prepress, 0, 1);
            if (s.finishing != nullptr) {
                grid->addWidget(s.finishing, 1, 1);
            }
            grid->setRowStretch(1, 1);
            grid->setColumnStretch(0, 3);
            grid->setColumnStretch(1, 2);
            break;
        case Arrangement::SideBySide:
            // The printing content across the page, prepress and finishing
            // side by side below it.
            grid->addWidget(s.printing, 0, 0, 1, 2);
            if (s.finishing != nullptr) {
                grid->addWidget(s.prepress, 1, 0);
                grid->addWidget(s.finishing, 1, 1);
            } else {
                grid->addWidget(s.prepress, 1, 0, 1, 2);
            }
            grid->setColumnStretch(0, 1);
            grid->setColumnStretch(1, 1);
            break;
        case Arrangement::Stacked:
        case Arrangement::Unset:
            grid->addWidget(s.printing, 0, 0);
            grid->addWidget(s.prepress, 1, 0);
            if (s.finishing != nullptr) {
                grid->addWidget(s.finishing, 2, 0);
            }
            grid->setColumnStretch(0, 1);
            break;
    }
}

QSize PricingPage::minimumSizeHint() const {
    // The sections stack on a narrow page, so the page needs only the width
    // of the stacked panels.
    const QSize current = QWidget::minimumSizeHint();
    if (minimumPageWidth_ <= 0) {
        return current;
    }
    return {minimumPageWidth_, current.height()};
}

void PricingPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QMargins m = layout()->contentsMargins();
    if (minimumPageWidth_ <= 0) {
        // Measured once the widgets know their fonts.
        int stacked = 0;
        for (const SectionGrid& sg : sectionGrids_) {
            const Sections& s = sg.sections;
            stacked = std::max(
                {stacked, sg.common->minimumSizeHint().width(),
                 s.printing->minimumSizeHint().width(), s.prepress->minimumSizeHint().width(),
                 s.finishing != nullptr ? s.finishing->minimumSizeHint().width() : 0});
        }
        minimumPageWidth_ = stacked + m.left() + m.right();
        updateGeometry();
    }
    const int room = width() - m.left() - m.right();
    bool changed = false;
    for (SectionGrid& sg : sectionGrids_) {
        const Arrangement a = arrangementFor(sg, room);
        changed = changed || a != sg.arrangement;
        arrange(sg, a);
    }
    if (changed) {
        updateGeometry();
    }
}
