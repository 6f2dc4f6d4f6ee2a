#include "ui/common/sized_list.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHash>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>

namespace {

// Many lists hold the same items (every printed part has its own colour,
// weight and difficulty lists), and measuring a Chinese text means shaping
// it: each distinct text is measured once for each font.
int textWidth(const QString& fontKey, const QFontMetrics& metrics, const QString& text) {
    static QHash<QString, int> widths;
    const QString key = fontKey + QLatin1Char('\n') + text;
    const auto known = widths.constFind(key);
    if (known != widths.constEnd()) {
        return *known;
    }
    const int width = metrics.boundingRect(text).width();
    widths.insert(key, width);
    return width;
}

}  // namespace

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
        minimumHint_ = QSize();
    }
    QComboBox::changeEvent(event);
}

QSize SizedList::sizeHint() const {
    if (!hint_.isValid()) {
        hint_ = computeHint();
    }
    return hint_;
}

// The smallest a list may be squeezed to. A list of N characters asks for
// exactly that width; a list sized to its items takes, as QComboBox does,
// the width of the items it held when first asked, until its font or style
// changes.
QSize SizedList::minimumSizeHint() const {
    if (characters_ > 0) {
        return sizeHint();
    }
    if (!minimumHint_.isValid()) {
        minimumHint_ = computeHint();
    }
    return minimumHint_;
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
        const QString fontKey = font().key();
        for (int i = 0; i < count(); ++i) {
            int width = textWidth(fontKey, fm, itemText(i));
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
