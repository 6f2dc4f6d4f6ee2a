#pragma once

#include <QString>
#include <QWidget>

class QListWidget;
class QTextBrowser;

// The user guide built into the program: the list of its pages on the left,
// the chosen page on the right; links between pages are followed inside the
// window. The pages are HTML files compiled into the program (":/help/").
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a page by its file name ("pricing.html"); an unknown name shows
    // the first page.
    void showPage(const QString& file);
    QString shownPage() const;

    // The pages in list order: file name and title.
    static QStringList pageFiles();

    QListWidget* pageList = nullptr;
    QTextBrowser* browser = nullptr;
};
