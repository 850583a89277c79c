#include "gui/shell/HeaderView.h"

#include "gui/binding/AccessibleNames.h"
#include "gui/widgets/SvgIcon.h"
#include "pages/PrinterSettingsModel.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace vormex::gui {
namespace {
constexpr int kHeaderHeight = 60;
constexpr int kInfoColumn = 250;  // where the device-info text starts, when the name leaves room
constexpr int kGap = 24;
}  // namespace

HeaderText::HeaderText(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HeaderText"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void HeaderText::setText(const QString& headerText)
{
    const auto [name, info] = SplitHeaderText(headerText);
    printerName_ = name;
    deviceInfo_ = info;
    setAccessibleName(deviceInfoShown_ && !info.isEmpty() ? name + QStringLiteral(" — ") + info : name);
    update();
}

void HeaderText::setDeviceInfoShown(bool shown)
{
    deviceInfoShown_ = shown;
    setText(ComposeHeaderText(printerName_, deviceInfo_));
}

QFont HeaderText::nameFont() const
{
    QFont font = this->font();
    font.setPixelSize(26);
    font.setBold(true);
    return font;
}

QFont HeaderText::infoFont() const
{
    QFont font = this->font();
    font.setPixelSize(17);
    font.setBold(false);
    return font;
}

HeaderText::Layout HeaderText::layoutTexts() const
{
    Layout layout;
    const QRect area = rect().adjusted(4, 0, -4, 0);
    const QFontMetrics nameMetrics(nameFont());
    const QFontMetrics infoMetrics(infoFont());
    const bool withInfo = deviceInfoShown_ && !deviceInfo_.isEmpty();

    // The device info keeps at least its own width (up to 400 pixels) to the right; a little
    // slack for the rounding of the text's width.
    const int infoWanted = std::min(infoMetrics.horizontalAdvance(deviceInfo_) + 4, 400);
    int nameWidth = area.width();
    if (withInfo) {
        nameWidth = std::max(0, area.width() - infoWanted - kGap);
    }
    layout.name = nameMetrics.elidedText(printerName_, Qt::ElideRight, nameWidth);
    const int nameDrawn = std::min(nameMetrics.horizontalAdvance(layout.name), nameWidth);
    layout.nameRect = QRect(area.left(), area.top(), nameWidth, area.height());

    if (withInfo) {
        // The info column when there is room for it, else right after the name.
        const int areaEnd = area.left() + area.width();
        const int column = std::min(area.left() + kInfoColumn, areaEnd - infoWanted);
        const int infoLeft = std::max(column, area.left() + nameDrawn + kGap);
        const int infoWidth = std::max(0, std::min(areaEnd - infoLeft, 400));
        layout.infoRect = QRect(infoLeft, area.top() + 4, infoWidth, area.height());
        layout.info = infoMetrics.elidedText(deviceInfo_, Qt::ElideRight, infoWidth);
    }
    return layout;
}

QString HeaderText::drawnPrinterName() const { return layoutTexts().name; }
QString HeaderText::drawnDeviceInfo() const { return layoutTexts().info; }

QSize HeaderText::sizeHint() const { return QSize(600, kHeaderHeight); }
QSize HeaderText::minimumSizeHint() const { return QSize(120, kHeaderHeight - 12); }

void HeaderText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const Layout layout = layoutTexts();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(nameFont());
    painter.drawText(layout.nameRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, layout.name);
    if (!layout.info.isEmpty()) {
        painter.setFont(infoFont());
        painter.drawText(layout.infoRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, layout.info);
    }
}

CHeaderView::CHeaderView(const QString& optionsCaption, const QString& optionsTip, QWidget* parent)
    : QWidget(parent), icon_(new QLabel(this)), text_(new HeaderText(this)), options_(new QPushButton(this))
{
    setObjectName(QStringLiteral("HeaderPane"));
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedHeight(kHeaderHeight);

    icon_->setPixmap(SvgPixmap(QStringLiteral(":/vormex/icons/header-printer.svg"), QSize(48, 48)));
    icon_->setFixedSize(48, 48);
    icon_->setAccessibleName(QStringLiteral("VORMEX"));

    options_->setText(optionsCaption.trimmed());
    options_->setAccessibleName(AccessibleNameOf(optionsCaption));
    options_->setToolTip(optionsTip.isEmpty() ? optionsCaption.trimmed() : optionsTip);
    options_->setMinimumWidth(options_->sizeHint().width() + 24);
    connect(options_, &QPushButton::clicked, this, &CHeaderView::optionsRequested);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 4, 12, 4);
    layout->setSpacing(10);
    layout->addWidget(icon_, 0, Qt::AlignVCenter);
    layout->addWidget(text_, 1);
    layout->addWidget(options_, 0, Qt::AlignVCenter);
}

void CHeaderView::SetHeaderText(const QString& headerText) { text_->setText(headerText); }

void CHeaderView::SetDeviceInfoShown(bool shown) { text_->setDeviceInfoShown(shown); }

void CHeaderView::SetIconShown(bool shown) { icon_->setVisible(shown); }

bool CHeaderView::iconShown() const { return !icon_->isHidden(); }

}  // namespace vormex::gui
