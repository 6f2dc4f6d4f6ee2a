#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "core/common/program_folder.h"

class Dialogs;
class PricingPage;
class PricingRun;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;

// The file dialogs of job files, behind a seam so that tests name the file
// without a modal dialog.
class JobFileChooser {
public:
    virtual ~JobFileChooser() = default;
    // The job file to open, starting in `folder`; nothing when cancelled.
    virtual std::optional<QString> chooseJobToOpen(QWidget* parent, const QString& folder) = 0;
    // The name to save under, starting from `proposedPath`; nothing when
    // cancelled.
    virtual std::optional<QString> chooseJobToSave(QWidget* parent,
                                                   const QString& proposedPath) = 0;
};

// The system's file dialogs; a name chosen for saving gets ".inkjob" when it
// has no such suffix.
class QtJobFileChooser final : public JobFileChooser {
public:
    std::optional<QString> chooseJobToOpen(QWidget* parent, const QString& folder) override;
    std::optional<QString> chooseJobToSave(QWidget* parent, const QString& proposedPath) override;
};

// Saved jobs on the pricing page: "保存印件…" (Ctrl+S) writes the job on the
// screen to a job file, "打开印件…" (Ctrl+O) and "最近印件" put a saved job
// back on the screen. A job arrives as if the clerk had typed it: every
// control is set through the screen in the order of the event rules, so the
// presses, sheet sizes and self-turn boxes come out as they were saved, and
// pricing it gives what `inkquot-cli price` gives on the same file.
//
// A job is checked in full on a form of its own before the screen is
// touched: a file that is not a job, of a newer format, or with a value the
// screen refuses leaves the screen as it was and says what is wrong.
class JobFiles : public QObject {
    Q_OBJECT

public:
    JobFiles(PricingPage& page, PricingRun& run, const inkquot::ProgramFolder& folder,
             Dialogs& dialogs, QObject* parent = nullptr);
    ~JobFiles() override;

    void setChooser(std::unique_ptr<JobFileChooser> chooser);

    // "保存印件…" and "打开印件…"; false when nothing was saved or opened.
    bool saveJob();
    bool openJob();
    bool openJobFile(const QString& path);

    // Puts a job file's text on the screen (a job reopened from the
    // history); `where` names it in messages. False, after a message and
    // with the screen unchanged, when the job is refused.
    bool showJobText(const std::string& text, const QString& where);

    // The recent jobs as the menu lists them, newest first.
    QStringList recentJobs() const;

    // Whether the entries differ from the job last saved to a file or put on
    // the screen from one (or from the history); false before either.
    bool jobChangedSinceFile() const;

    QPushButton* cmdopenjob = nullptr;
    QPushButton* cmdsavejob = nullptr;
    QToolButton* cmdrecent = nullptr;

private:
    void fillRecentMenu();
    // The customer of the job on the screen goes to the top of the offers.
    void rememberCustomerShown();
    QString proposedSavePath() const;

    PricingPage& page_;
    PricingRun& run_;
    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    std::unique_ptr<JobFileChooser> chooser_;
    QMenu* recentMenu_ = nullptr;
    // The description of that job, as describeJob gives it.
    std::optional<nlohmann::json> fileJob_;
};
