#pragma once

#include <QDialog>
#include <QHash>
#include <array>

#include "core/layout/layout_page.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class Dialogs;
class KaiSketch;

namespace inkquot {
class JobForm;
}

// "开版": the sheet layout calculator. It finds, for an unfolded size, the
// paper series, the 开 and the cut of the full sheet that use the paper best,
// and writes them back into one size group of the job entry screen. Each
// calculator button of the job entry screen opens it on its own page; the
// page decides the fitting (a book page is fitted as an open spread, a box
// may use the whole sheet, a sticker goes on the sticker sheet) and the group
// written back.
class FrmKai : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPages = inkquot::kLayoutPageCount;

    // page: 0..6 (anything else opens page 0).
    FrmKai(int page, inkquot::JobForm& form, Dialogs& dialogs, QWidget* parent = nullptr);

    // Opens the calculator modally on page `page` for the job entry screen's
    // calculator button of that page; true when "确定" wrote the result back.
    static bool run(QWidget* parent, int page, inkquot::JobForm& form, Dialogs& dialogs);

    int page() const { return page_; }

    // "开始计算>>>" of the shown page.
    void calculate();
    // "确定": writes the shown page's result into its size group and closes.
    // False (and nothing written) while a box of the page holds a text that
    // is not a number.
    bool writeBack();

    // Controls, indexed by page. Only the shown page is visible and enabled.
    std::array<QWidget*, kPages> pages{};
    std::array<QLineEdit*, kPages> txta{};
    std::array<QLineEdit*, kPages> txtb{};
    std::array<QLineEdit*, kPages> txtbian{};
    std::array<QScrollBar*, kPages> VScroll1{};
    std::array<QLineEdit*, kPages> Txtyaokou{};
    std::array<QComboBox*, kPages> Comkaiji{};
    std::array<QPushButton*, kPages> cmdsuankai{};
    std::array<QComboBox*, kPages> comsuandu{};
    std::array<QComboBox*, kPages> comsuankai{};
    std::array<QComboBox*, kPages> comsuankaizhi{};
    std::array<QLabel*, kPages> Labzzlyl{};
    std::array<KaiSketch*, kPages> Picshiyitu{};
    // 0 "确定", 1 "取消".
    std::array<QPushButton*, 2> Cmdkai{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPage(int p);
    void watchNumberBox(QWidget* box, QLineEdit* edit);
    bool keyIsDiscarded(const QKeyEvent& key) const;
    void boxLeft(QWidget* box, QLineEdit* edit);
    bool pageBoxesValid();

    int page_;
    inkquot::JobForm& form_;
    Dialogs& dialogs_;
    QStackedWidget* stack_ = nullptr;
    // The boxes that take a number, by the widget that holds the focus (the
    // combo box itself for comsuankai), with the line edit holding the text.
    QHash<QObject*, QLineEdit*> numberBoxes_;
};
