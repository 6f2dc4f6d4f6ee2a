#pragma once

#include <QComboBox>

// A drop-down list whose width follows what it holds: as wide as its
// longest item, or as a set number of characters. QComboBox can keep such a
// width itself, but asking it to builds the list's popup there and then; a
// page of a hundred lists would build a hundred popups before the clerk has
// opened one. This list computes the same width and leaves the popup to its
// first opening.
class SizedList : public QComboBox {
public:
    explicit SizedList(QWidget* parent = nullptr);

    // 0: as wide as the longest item (the default); otherwise as wide as
    // that many characters, whatever the items.
    void setWidthInCharacters(int characters);
    int widthInCharacters() const { return characters_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void itemsChanged();
    QSize computeHint() const;

    int characters_ = 0;
    mutable QSize hint_;
    mutable QSize minimumHint_;
};
