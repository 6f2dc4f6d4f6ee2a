#pragma once

#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

struct LabeledBox {
    QLabel* label = nullptr;
    QWidget* box = nullptr;
};

// The common arrangement of the three editors: an optional row on top, the
// list of items on the left, the labelled boxes of the shown item on the
// right (then an optional block and the note), the buttons along the bottom.
void layOutEditor(QGroupBox* panel, QWidget* top, QListWidget* list,
                  const std::vector<LabeledBox>& rows, QWidget* extra, LabeledBox note,
                  const std::vector<QPushButton*>& buttons);
