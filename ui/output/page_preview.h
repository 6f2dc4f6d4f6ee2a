#pragma once

#include <QWidget>

class PrintPage;

// A printout as it will come out of the printer: the page drawn by the very
// routine that prints it (paintPage), at its own size on white paper.
class PagePreview : public QWidget {
    Q_OBJECT

public:
    // `page` must outlive the preview.
    explicit PagePreview(const PrintPage& page, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PrintPage& page_;
};
