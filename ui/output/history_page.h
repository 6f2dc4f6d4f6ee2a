#pragma once

#include <QWidget>

// The history page: saved quotations, looked up and deleted by date.
class HistoryPage : public QWidget {
    Q_OBJECT

public:
    explicit HistoryPage(QWidget* parent = nullptr);

    // Sets the cut-off date box; the main window calls it last when loading.
    void initCutoffDate() {}
};
