#include "ui/output/letterhead_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "core/common/program_folder.h"
#include "ui/common/utf8_text.h"
#include "ui/output/page_printer.h"

namespace {

// The band in twips.
constexpr int kMarginTwips = 600;  // left and right of the band
constexpr int kTopTwips = 300;     // above the band's first line
constexpr int kLogoHeightTwips = 900;
constexpr int kLogoWidthTwips = 2400;
constexpr int kGapTwips = 150;  // between the logo and the texts, and around the rule

QLabel* bandLabel(QWidget* parent, const char* name, const QFont& font, const QString& text) {
    QLabel* l =
        pageLabel(parent, QString::fromLatin1(name), font, Qt::AlignHCenter | Qt::AlignTop, text);
    l->setWordWrap(true);
    l->setVisible(!text.isEmpty());
    return l;
}

// How far down the page its first text or line starts.
int blankTop(const PrintPage& page) {
    qreal top = page.height();
    for (const QLineF& line : page.rules()) {
        top = std::min({top, line.y1(), line.y2()});
    }
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&page) && !label->text().isEmpty()) {
            top = std::min<qreal>(top, label->mapTo(&page, QPoint(0, 0)).y());
        }
    }
    return std::max(0, int(top));
}

}  // namespace

LetterheadPage::LetterheadPage(const inkquot::Letterhead& letterhead, const QImage& logoImage,
                               PrintPage& body)
    : body_(body) {
    setObjectName(QStringLiteral("letterheadPage"));
    const int width = body.width();

    // The logo keeps its proportions within its box, at the left margin.
    QSize logoSize;
    logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("letterheadLogo"));
    logo->setScaledContents(true);
    if (!logoImage.isNull()) {
        logoSize =
            logoImage.size().scaled(tw(kLogoWidthTwips), tw(kLogoHeightTwips), Qt::KeepAspectRatio);
        logo->setPixmap(QPixmap::fromImage(logoImage));
        logo->setGeometry(tw(kMarginTwips), tw(kTopTwips), logoSize.width(), logoSize.height());
    }
    logo->setVisible(!logoImage.isNull());

    // The texts are centred on the page; with a logo they keep clear of it
    // on both sides, so the centre stays the page's centre.
    const int side = tw(kMarginTwips) + (logoSize.isValid() ? logoSize.width() + tw(kGapTwips) : 0);
    const int textWidth = std::max(width - 2 * side, width / 3);
    const int textLeft = (width - textWidth) / 2;
    shopName = bandLabel(this, "letterheadName", printFont(16, true), fromUtf8(letterhead.name));
    shopAddress = bandLabel(this, "letterheadAddress", printFont(10.5),
                            letterhead.address.empty()
                                ? QString()
                                : QStringLiteral("地址：") + fromUtf8(letterhead.address));
    shopTelephone = bandLabel(this, "letterheadTelephone", printFont(10.5),
                              letterhead.telephone.empty()
                                  ? QString()
                                  : QStringLiteral("电话：") + fromUtf8(letterhead.telephone));
    int y = tw(kTopTwips);
    for (QLabel* line : {shopName, shopAddress, shopTelephone}) {
        if (line->text().isEmpty()) {
            continue;
        }
        const int height = line->heightForWidth(textWidth);
        line->setGeometry(textLeft, y, textWidth, height);
        y += height + tw(60);
    }
    const int bandBottom = std::max(y, tw(kTopTwips) + logoSize.height());
    ruleY_ = bandBottom + tw(kGapTwips);

    // The body keeps its own layout; its blank top goes under the band.
    const int bodyTop = std::max(0, int(ruleY_) + tw(kGapTwips) - blankTop(body));
    bodyPlace_ = body_.pos();
    bodyParent_ = body_.parentWidget();
    bodyWasHidden_ = body_.isHidden();
    body_.setParent(this);
    body_.move(0, bodyTop);
    body_.show();
    setFixedSize(width, bodyTop + body.height());
}

LetterheadPage::~LetterheadPage() {
    body_.hide();
    body_.setParent(bodyParent_);
    body_.move(bodyPlace_);
    if (bodyParent_ && !bodyWasHidden_) {
        body_.show();
    }
}

std::vector<QLineF> LetterheadPage::rules() const {
    std::vector<QLineF> lines{QLineF(tw(kMarginTwips), ruleY_, width() - tw(kMarginTwips), ruleY_)};
    const QPointF offset = body_.pos();
    for (const QLineF& line : body_.rules()) {
        lines.push_back(line.translated(offset));
    }
    return lines;
}

void LetterheadPage::paintDrawing(QPainter& painter) const {
    painter.save();
    painter.translate(body_.pos());
    body_.paintDrawing(painter);
    painter.restore();
}

QImage letterheadLogo(const inkquot::ProgramFolder& folder, const inkquot::Letterhead& letterhead) {
    if (letterhead.logoFile.empty()) {
        return {};
    }
    QImage image;
    image.load(QString::fromStdString(folder.file(letterhead.logoFile).string()), "PNG");
    return image;
}

bool printWithLetterhead(PagePrinter& printer, PrintPage& page, const QString& title,
                         const inkquot::ProgramFolder* shopFolder, const PrintPage* nextPage) {
    const auto letterhead =
        shopFolder ? inkquot::readLetterhead(*shopFolder) : std::optional<inkquot::Letterhead>();
    std::vector<const PrintPage*> pages = {&page};
    if (nextPage != nullptr) {
        pages.push_back(nextPage);
    }
    if (!letterhead) {
        return printer.printPages(pages, title);
    }
    LetterheadPage headed(*letterhead, letterheadLogo(*shopFolder, *letterhead), page);
    pages.front() = &headed;
    return printer.printPages(pages, title);
}
