#pragma once

#include <QWidget>

// The fixed sketch "示意图" of the sheet layout calculator: a press sheet with
// the gripper strip along its bottom edge (c) and one piece on it, its sides
// marked a and b. A book page is shown as an open spread, two pages either
// side of the spine ("书脊"): a runs across the spine, b along it.
class KaiSketch : public QWidget {
    Q_OBJECT

public:
    explicit KaiSketch(bool bookSpread, QWidget* parent = nullptr);

    bool bookSpread() const { return bookSpread_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool bookSpread_;
};
