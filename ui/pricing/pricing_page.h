#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/costing/job_form.h"
#include "core/job/form_state.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStringListModel;
class Dialogs;
class LeaveGuard;

// The pricing page of the main window: the job kind list, one entry panel per
// job kind, the result panel and the three command buttons below them.
//
// The page is a view of the core's form model (FormState): every event on
// the screen (a value typed or chosen, a press or a 开 chosen, a box or a
// part ticked, a part clicked) is handed to the model, which applies the
// event rules, and the page then shows the controls the model reports as
// changed, its warnings and its hints. Writes through the JobForm interface
// (the layout calculator, a job put on the screen) take the same road, and
// reads come from the model.
//
// The page keeps one widget for every control of the core's control
// catalogue, reached by the control's name and index as the costing, the
// press rules and the layout calculator address it (controlWidget). Items,
// captions and starting contents come from the catalogue; the page only
// places them.
//
// The member functions live in several files: pricing_page.cpp (the page
// and its panels' switching), pricing_controls.cpp (the widgets of every
// control), pricing_form.cpp (JobForm over the model, showing the model),
// pricing_wiring.cpp (handing the events over, leave checks),
// pricing_panels.cpp (the panels) and pricing_arrangement.cpp (placing the
// sections on small and large screens).
class PricingPage : public QWidget, public inkquot::JobForm {
    Q_OBJECT

public:
    // Receives the advice texts for the main window's hint line.
    using HintLine = std::function<void(const QString&)>;

    explicit PricingPage(Dialogs& dialogs, HintLine hintLine = {}, QWidget* parent = nullptr);
    ~PricingPage() override;

    // The main window's load: the first kind, then the first entry of the
    // press, gram weight, colour, spot colour, series, difficulty, film and
    // surface lists (the press choices run the press rules), then binding
    // and folds. The 开 lists keep their starting texts.
    void selectStartingEntries();

    // Paper lists from the names the current price scheme holds: the ten
    // paper lists from the 50 papers, the sticker paper list from the 10
    // sticker papers; list position + 1 is the paper's record number. Each
    // list keeps its selection when it is still inside the new list.
    void fillPaperLists(const QStringList& paperNames);
    void fillStickerPaperList(const QStringList& stickerPaperNames);

    // The customers the customer boxes offer as the clerk types (any part of
    // a name matches), the most recently quoted first; rememberCustomer puts
    // a customer just quoted at the top.
    void offerCustomers(const QStringList& customers);
    void rememberCustomer(const QString& customer);

    // JobForm over the widgets.
    std::string text(inkquot::Ctl control, int index = 0) const override;
    int listIndex(inkquot::Ctl control, int index = 0) const override;
    inkquot::CheckState checkState(inkquot::Ctl control, int index) const override;
    bool ticked(inkquot::Ctl list, int item) const override;
    int option(inkquot::Ctl group) const override;
    void setText(inkquot::Ctl control, int index, const std::string& text) override;
    void setListIndex(inkquot::Ctl control, int index, int position) override;
    void setCheckState(inkquot::Ctl control, int index, inkquot::CheckState state) override;
    void setTicked(inkquot::Ctl list, int item, bool ticked) override;
    void setOption(inkquot::Ctl group, int chosen) override;

    // Whether the control's widget itself is switched on (the state of its
    // panel and frame aside): the sheet-size lists follow their manual box,
    // the self-turn boxes follow the press.
    bool controlEnabled(inkquot::Ctl control, int index) const;

    // The widget of a control by its catalogue name and index; an option
    // group's widget holds its option buttons. The typed forms throw when
    // the control has another kind of widget.
    QWidget* controlWidget(inkquot::Ctl control, int index = 0) const;
    QLineEdit* lineEdit(inkquot::Ctl control, int index) const;
    QComboBox* comboBox(inkquot::Ctl control, int index = 0) const;
    QCheckBox* checkBox(inkquot::Ctl control, int index) const;
    QListWidget* partList(inkquot::Ctl list) const;
    QRadioButton* optionButton(inkquot::Ctl group, int option) const;

    // Puts a whole job on the screen (a job description read into a form):
    // the kind, the size entries, the presses, the sheet sizes, the
    // self-turn boxes, then everything else, each with its event rules.
    void applyJob(const inkquot::JobForm& job);
    // The job on the screen as plain values, paper names included: a copy
    // of the model.
    inkquot::FormState captureJob() const;

    // The clerk's gestures that differ from setting a value: a 开 list item
    // chosen from the list, a click on an item of a part list.
    void chooseKai(int group, int position);
    void clickPartItem(inkquot::Ctl list, int item);

    // Shows entry panel 0..4 or the result panel 5 and hides the others.
    void showPanel(int panel);
    int shownPanel() const;

    // The part frame shown in the part list's place (0-based item).
    int shownPartFrame(inkquot::Ctl list) const;

    // Opens the layout calculator for size entry p; the value written back
    // runs the rules of its size group.
    void openCalculator(int p);
    // Tests replace the modal calculator.
    using Calculator = std::function<void(int page, inkquot::JobForm& form)>;
    void setCalculator(Calculator calculator) { calculator_ = std::move(calculator); }

    // The panels: 0..4 the kinds, 5 the result panel.
    std::array<QWidget*, 6> picjijia{};
    // 0 "开始计价", 1 "保存结果", 2 "生成价格表".
    std::array<QPushButton*, 3> cmdjijia{};
    QLabel* labresult = nullptr;
    // The warning line under a result priced from damaged price tables.
    QLabel* labdamage = nullptr;
    QPushButton* cmdprint = nullptr;
    // The buttons that open the layout calculator for size entry 0..6.
    std::array<QPushButton*, 7> cmdjisuan{};

    // The frames that the section boxes switch on.
    std::array<QFrame*, 6> Frmhua{};
    std::array<QFrame*, 2> Frmbao{};
    std::array<QFrame*, 6> Frmdan{};
    std::array<QFrame*, 8> Frmhe{};
    std::array<QFrame*, 5> Frmbu{};
    // The part frames of the part lists.
    std::array<QFrame*, 5> Frameu0{};
    std::array<QFrame*, 2> Frameu1{};
    std::array<QFrame*, 2> Frameu2{};

signals:
    // A press of cmdjijia(index).
    void commandPressed(int index);

protected:
    QSize minimumSizeHint() const override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringListModel* customers_ = nullptr;

    // The widgets of every control (pricing_controls.cpp).
    void buildControls();
    void registerWidget(inkquot::Ctl control, int index, QWidget* widget);

    // The panels (pricing_panels.cpp).
    QWidget* buildBookPanel();
    QWidget* buildNewspaperPanel();
    QWidget* buildSingleSheetPanel();
    QWidget* buildBoxPanel();
    QWidget* buildStickerPanel();
    QWidget* buildResultPanel();
    QWidget* commonBlock(int kind);
    QWidget* sizeEntry(int group, int calculatorButton, bool withCaption = true);
    QFrame* partFrame(int part, QWidget* parent);
    QWidget* partSection(QListWidget* list, const std::vector<QFrame*>& frames);
    // The printing section of a kind whose parts are ticked in `list`: the
    // list beside the frames of the parts from `firstPart` on, kept in `frames`.
    template <std::size_t N>
    QWidget* partListSection(inkquot::Ctl list, int firstPart, std::array<QFrame*, N>& frames);
    struct Sections {
        QWidget* prepress;
        QWidget* printing;
        QWidget* finishing;  // nullptr for the newspaper
    };
    QWidget* kindPanel(int kind, const Sections& sections);

    // Showing the model (pricing_form.cpp).
    void handOver(const std::function<void(inkquot::FormState&)>& event);
    void showModel();
    void showEveryControl();
    void showControl(inkquot::Ctl control, int index);
    void showList(QComboBox* box, inkquot::Ctl control, int index);
    void attendToKai(int group);
    QFrame* sectionFrame(inkquot::Ctl box, int index) const;

    // Handing the events over (pricing_wiring.cpp).
    void wireEvents();
    void listEdited(inkquot::Ctl control, int index);
    void boxEdited(inkquot::Ctl control, int index);
    bool leaving(inkquot::Ctl control, int index);
    void hint(const QString& text);

    const std::vector<QWidget*>& controlWidgets(inkquot::Ctl control) const;
    int partListNumber(const QListWidget* list) const;

    Dialogs& dialogs_;
    HintLine hintLine_;
    Calculator calculator_;
    LeaveGuard* guard_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    std::array<QStackedWidget*, 3> partStacks_{};  // book, newspaper, box
    std::array<std::vector<QFrame*>, 3> partFrames_{};
    // The sections of every kind panel, placed by the width of the page
    // (pricing_arrangement.cpp): the printing content beside prepress and
    // finishing, above them side by side, or all three stacked.
    enum class Arrangement { Unset, Stacked, SideBySide, Wide };
    struct SectionGrid {
        QGridLayout* grid;
        QWidget* common;
        Sections sections;
        Arrangement arrangement = Arrangement::Unset;
    };
    static void arrange(SectionGrid& sg, Arrangement arrangement);
    static Arrangement arrangementFor(const SectionGrid& sg, int width);
    std::vector<SectionGrid> sectionGrids_;
    // The width the page needs with every panel stacked (0 until measured).
    int minimumPageWidth_ = 0;

    // The job: every value and rule of the entry controls.
    inkquot::FormState model_;
    // Every widget by catalogue control and index.
    std::vector<std::vector<QWidget*>> widgets_;
    // Set while the page writes the model into the widgets: the widgets'
    // own change signals are not events of the clerk then.
    int showing_ = 0;
    bool clickingPart_ = false;
};
