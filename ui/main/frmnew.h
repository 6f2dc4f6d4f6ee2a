#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/common/clock.h"
#include "core/common/program_folder.h"

class QLabel;
class QPushButton;
class QStackedLayout;
class Dialogs;
class FrmAbout;
class HelpWindow;
class HistoryPage;
class HistoryReopen;
class JobFiles;
class ParamsPage;
class SchemePanel;
class PricingPage;
class PricingRun;

// The main window: the toolbar `cmdtool` down the left, the three pages
// `piccaidanzi` (pricing, history, parameters) on the right, the hint line
// `labti`(1) and the date line `labti`(2) along the bottom. It asks for the
// password once, on its first activation, and closing it ends the program.
//
// A page is built when it is first needed: the pricing and parameter pages
// by load(), the history page when it is first shown or asked for. Shown
// before it is loaded, the window asks for the password first and loads
// while the prompt is open, so the prompt does not wait for the pages.
class FrmNew : public QWidget {
    Q_OBJECT

public:
    enum Page { PricingPageIndex = 0, HistoryPageIndex = 1, ParamsPageIndex = 2 };
    enum Tool { ToolPricing, ToolHistory, ToolParams, ToolPassword, ToolAbout, ToolHelp, ToolExit };

    FrmNew(const inkquot::ProgramFolder& folder, Dialogs& dialogs, const inkquot::Clock& clock,
           QWidget* parent = nullptr);
    ~FrmNew() override;

    // Fills the window in the order the program relies on: job entry lists,
    // paper lists, title and status lines, scheme list (the first scheme
    // becomes current), history cut-off date. Runs once per window.
    void load();
    bool loaded() const { return loaded_; }

    // Shows page 0..2; the other two are hidden and disabled.
    void showPage(int page);
    int currentPage() const;

    // The start-up password question. Runs once per window: later calls do
    // nothing. False (after "密码错误！" and closing the window) when the
    // answer does not match.
    bool askPasswordOnce();
    bool passwordAsked() const { return passwordAsked_; }

    // Windows opened from here (and by the pages) are closed with the main
    // window, the last opened first.
    void trackWindow(QWidget* window);

    // Opens the help file of the program folder; the program asks the
    // desktop to open it. Tests put a recorder here.
    using HelpOpener = std::function<bool(const QUrl&)>;
    void setHelpOpener(HelpOpener opener) { helpOpener_ = std::move(opener); }

    std::array<QPushButton*, 7> cmdtool{};
    // The frames the pages sit in; a page not yet built leaves its frame
    // empty.
    std::array<QWidget*, 3> piccaidanzi{};
    // Item 0 is not used; 1 is the hint line, 2 the date line.
    std::array<QLabel*, 3> labti{};

    // Each builds its page first when it is not built yet.
    PricingPage* pricingPage();
    PricingRun* pricingRun();
    HistoryPage* historyPage();
    ParamsPage* paramsPage();
    JobFiles* jobFiles();
    HistoryReopen* historyReopen();
    FrmAbout* aboutBox() const;
    // The built-in guide, while it is open.
    HelpWindow* helpWindow() const;

    void openPasswordDialog();
    void openAbout();
    void openHelp();

signals:
    // After the window has closed; the program ends on it.
    void closed();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // Asks before leaving loses work: a priced result not saved to the
    // history, or entries changed since the job was saved to a file. True
    // when the window may close.
    bool mayLeave();
    void buildToolbar(QWidget* bar);
    void colourToolbar(QPushButton* focused);
    void fillPaperLists();
    void buildPricingPage();
    void buildHistoryPage();
    void buildParamsPage();
    SchemePanel* schemePanel();
    void buildPage(int page);
    void addPage(int index, QWidget* page);

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    const inkquot::Clock& clock_;
    PricingPage* pricingPage_ = nullptr;
    PricingRun* pricingRun_ = nullptr;
    HistoryPage* historyPage_ = nullptr;
    ParamsPage* paramsPage_ = nullptr;
    SchemePanel* schemes_ = nullptr;
    JobFiles* jobFiles_ = nullptr;
    HistoryReopen* historyReopen_ = nullptr;
    QStackedLayout* pages_ = nullptr;
    QPointer<FrmAbout> about_;
    QPointer<HelpWindow> help_;
    std::vector<QPointer<QWidget>> openWindows_;
    HelpOpener helpOpener_;
    bool passwordAsked_ = false;
    bool passwordQueued_ = false;
    bool closing_ = false;
    bool loaded_ = false;
    // The day load() ran: the history page's cut-off date counts from it.
    std::optional<inkquot::CivilDate> loadDay_;
};
