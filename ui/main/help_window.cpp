#include "ui/main/help_window.h"

#include <QHBoxLayout>
#include <QTextDocument>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTextBrowser>
#include <QUrl>

#include "ui/common/dialogs.h"
#include "ui/main/app_icon.h"

namespace {

struct Page {
    const char* file;
    const char* title;
};

// One page per screen, then how a price is made up and how to keep price
// schemes.
constexpr Page kPages[] = {
    {"index.html", "使用说明"},     {"pricing.html", "计价页面"},
    {"table.html", "价格表窗口"},   {"layout.html", "开度计算器"},
    {"history.html", "历史记录"},   {"params.html", "参数设置"},
    {"costing.html", "价格的构成"}, {"schemes.html", "价格方案的保存"},
};

QUrl pageUrl(const QString& file) {
    return QUrl(QStringLiteral("qrc:/help/") + file);
}

}  // namespace

QStringList HelpWindow::pageFiles() {
    QStringList files;
    for (const Page& page : kPages) {
        files << QString::fromLatin1(page.file);
    }
    return files;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmhelp"));
    setWindowTitle(applicationTitle() + QStringLiteral("-帮助"));
    setWindowIcon(applicationIcon());

    pageList = new QListWidget(this);
    pageList->setObjectName(QStringLiteral("lsthelp"));
    for (const Page& page : kPages) {
        auto* item = new QListWidgetItem(QString::fromUtf8(page.title), pageList);
        item->setData(Qt::UserRole, QString::fromLatin1(page.file));
    }
    pageList->setSpacing(4);
    pageList->setFixedWidth(pageList->sizeHintForColumn(0) + 32);

    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helptext"));
    browser->setOpenLinks(true);
    browser->setOpenExternalLinks(false);
    browser->setSearchPaths({QStringLiteral(":/help")});
    // A guide is read at length: a little larger than the screens' text,
    // with air between the lines.
    QFont text = browser->font();
    text.setPointSizeF(text.pointSizeF() * 1.15);
    browser->setFont(text);
    browser->document()->setDefaultStyleSheet(
        QStringLiteral("p, li { line-height: 140%; } td { line-height: 130%; }"));

    connect(pageList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            browser->setSource(pageUrl(pageList->item(row)->data(Qt::UserRole).toString()));
        }
    });
    // A link followed in the text marks its page in the list.
    connect(browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QString file = url.fileName();
        for (int row = 0; row < pageList->count(); ++row) {
            if (pageList->item(row)->data(Qt::UserRole).toString() == file) {
                const QSignalBlocker quiet(pageList);
                pageList->setCurrentRow(row);
            }
        }
    });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(pageList);
    layout->addWidget(browser, 1);
    resize(760, 520);
    showPage(QString::fromLatin1(kPages[0].file));
}

void HelpWindow::showPage(const QString& file) {
    const int row = int(pageFiles().indexOf(file));
    const int shown = row < 0 ? 0 : row;
    if (pageList->currentRow() == shown) {
        browser->setSource(pageUrl(pageFiles().at(shown)));
    } else {
        pageList->setCurrentRow(shown);
    }
}

QString HelpWindow::shownPage() const {
    return browser->source().fileName();
}
