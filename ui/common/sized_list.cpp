#include "ui/common/sized_list.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>

SizedList::SizedList(QWidget* parent) : QComboBox(parent) {
    QAbstractItemModel* items = model();
    connect(items, &QAbstractItemModel::rowsInserted, this, &SizedList::itemsChanged);
    connect(items, &QAbstractItemModel::rowsRemoved, this, &SizedList::itemsChanged);
    connect(items, &QAbstractItemModel::dataChanged, this, &SizedList::itemsChanged);
    connect(items, &QAbstractItemModel::modelReset, this, &SizedList::itemsChanged);
    connect(items, &QAbstractItemModel::layoutChanged, this, &SizedList::itemsChanged);
}

void SizedList::setWidthInCharacters(int characters) {
    characters_ = characters < 0 ? 0 : characters;
    itemsChanged();
}

void SizedList::itemsChanged() {
    hint_ = QSize();
    updateGeometry();
}

void SizedList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        hint_ = QSize();
    }
    QComboBox::changeEvent(event);
}

QSize SizedList::sizeHint() const {
    if (!hint_.isValid()) {
        hint_ = computeHint();
    }
    return hint_;
}

// The smallest a list may be squeezed to is the width it asks for: a list
// narrower than its items would hide the end of a paper's name.
QSize SizedList::minimumSizeHint() const {
    return characters_ > 0 ? sizeHint() : QComboBox::minimumSizeHint();
}

// The width of the text area (the longest item, or the characters), the
// height of a line, and the frame and arrow the style adds around them.
QSize SizedList::computeHint() const {
    const QFontMetrics fm = fontMetrics();
    const QSize icon = iconSize();
    bool hasIcon = characters_ > 0;
    QSize text(0, 0);
    if (characters_ > 0) {
        text.setWidth(characters_ * fm.horizontalAdvance(QLatin1Char('X')) + icon.width() + 4);
    } else if (count() == 0) {
        text.setWidth(7 * fm.horizontalAdvance(QLatin1Char('x')));
    } else {
        for (int i = 0; i < count(); ++i) {
            int width = fm.boundingRect(itemText(i)).width();
            if (!itemIcon(i).isNull()) {
                hasIcon = true;
                width += icon.width() + 4;
            }
            text.setWidth(qMax(text.width(), width));
        }
    }
    if (!placeholderText().isEmpty()) {
        text.setWidth(qMax(text.width(), fm.boundingRect(placeholderText()).width()));
    }
    text.setHeight(qMax(qCeil(QFontMetricsF(fm).height()), 14) + 2);
    if (hasIcon) {
        text.setHeight(qMax(text.height(), icon.height() + 2));
    }
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this);
}
