#pragma once

#include <QBoxLayout>
#include <QLayout>
#include <QWidget>

// The box layout that holds `widget`, searched from `layout` down through
// its nested layouts; nullptr when none does. Lets a feature place its
// buttons beside the ones a page already has.
inline QBoxLayout* boxLayoutHolding(QLayout* layout, QWidget* widget) {
    if (layout == nullptr) {
        return nullptr;
    }
    if (layout->indexOf(widget) >= 0) {
        return qobject_cast<QBoxLayout*>(layout);
    }
    for (int i = 0; i < layout->count(); ++i) {
        if (QBoxLayout* found = boxLayoutHolding(layout->itemAt(i)->layout(), widget)) {
            return found;
        }
    }
    return nullptr;
}
