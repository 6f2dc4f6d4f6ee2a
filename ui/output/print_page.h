#pragma once

#include <QLineF>
#include <QString>
#include <QWidget>
#include <vector>

class QFont;
class QLabel;
class QPainter;

// Print layouts are drawn in pixels of 1/96 inch: one pixel is 15 twips, so
// a layout given in twips keeps its proportions on any screen or paper.
inline constexpr int kTwipsPerPixel = 15;
constexpr int tw(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The 宋体 (Ming) face of the printouts: AR PL UMing CN (Debian's
// fonts-arphic-uming), else the CJK serif font the system has. The size is in points at
// 96 pixels per inch, so it does not depend on the screen's resolution.
QFont printFont(double points, bool bold = false);

// A plain-text label of a print layout, named so that the code filling the
// layout finds it.
QLabel* pageLabel(QWidget* parent, const QString& name, const QFont& font, Qt::Alignment align,
                  const QString& text = QString());

// A page laid out for printing: labels placed on a widget of the page's
// size, plus the rules (grid lines) it draws between them. The same widget
// can be shown on screen; printing and PDF export draw it with paintPage.
class PrintPage : public QWidget {
    Q_OBJECT

public:
    explicit PrintPage(QWidget* parent = nullptr);

    // The lines of the page in its own pixels.
    virtual std::vector<QLineF> rules() const { return {}; }
    // What the page draws besides its labels and rules (a chart), in its
    // own pixels; nothing by default.
    virtual void paintDrawing(QPainter&) const {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Draws `page` onto `painter`, scaled to fit `target` (in the painter's
// coordinates) with its proportions kept, centred across and at the top.
// The texts of the page's visible labels are drawn as text, unclipped, so a
// printout or a PDF carries real characters in the labels' fonts; the
// page's own drawing goes under them.
void paintPage(QPainter& painter, const PrintPage& page, const QRectF& target);
