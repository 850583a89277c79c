#include "gui/application/Looks.h"

#include <QApplication>
#include <QIconEngine>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace vormex::gui {
namespace {

struct LookColours {
    const char* name;
    const char* qtStyle;
    const char* window;
    const char* base;
    const char* button;
    const char* text;
    const char* highlight;
    const char* highlightedText;
    const char* headerTop;
    const char* headerBottom;
    const char* headerText;
    const char* navigationBackground;
    const char* navigationChecked;
    const char* navigationCheckedBorder;
    const char* navigationText;
};

// Index 0..8 for ids 210..218; the last entry is the look of every other id.
constexpr LookColours kLooks[] = {
    {"Windows 2000", "Windows", "#d4d0c8", "#ffffff", "#d4d0c8", "#000000", "#0a246a", "#ffffff", "#0a246a",
     "#a6caf0", "#ffffff", "#808080", "#d4d0c8", "#404040", "#ffffff"},
    {"Office XP", "Fusion", "#f6f5f2", "#ffffff", "#ebe9e3", "#000000", "#316ac5", "#ffffff", "#ffffff", "#dcdad5",
     "#000000", "#f6f5f2", "#c1d2ee", "#316ac5", "#000000"},
    {"Windows XP", "Fusion", "#ece9d8", "#ffffff", "#f4f3ee", "#000000", "#316ac5", "#ffffff", "#0058e6", "#3a93ff",
     "#ffffff", "#d6dff7", "#ffffff", "#7ba2e7", "#215dc6"},
    {"Office 2003", "Fusion", "#e3efff", "#ffffff", "#d8e6fb", "#000000", "#316ac5", "#ffffff", "#e3efff", "#9ebfff",
     "#0b3d91", "#c4dafa", "#ffd28c", "#f29536", "#0b3d91"},
    {"Visual Studio 2005", "Fusion", "#eeede5", "#ffffff", "#e4e2d5", "#000000", "#3169c6", "#ffffff", "#fbfaf6",
     "#c1d2ee", "#000000", "#f7f6f1", "#c1d2ee", "#316ac5", "#000000"},
    {"Office 2007 BLUE", "Fusion", "#d7e6f9", "#ffffff", "#e4eefb", "#15428b", "#3d78c7", "#ffffff", "#e4eefb",
     "#a9c9f1", "#15428b", "#c9ddf6", "#ffe28a", "#e0b048", "#15428b"},
    {"Office 2007 BLACK", "Fusion", "#d9d9d9", "#ffffff", "#e6e6e6", "#000000", "#4c4c4c", "#ffffff", "#6f6f6f",
     "#2f2f2f", "#ffffff", "#535353", "#ffe28a", "#e0b048", "#ffffff"},
    {"Office 2007 SILVER", "Fusion", "#e5e8ee", "#ffffff", "#eef0f4", "#222222", "#6c7a92", "#ffffff", "#f7f8fa",
     "#c5cad4", "#2f3a4c", "#d6dae2", "#ffe28a", "#e0b048", "#2f3a4c"},
    {"Office 2007 AQUA", "Fusion", "#dfecef", "#ffffff", "#e8f2f4", "#123f4a", "#2f8a9c", "#ffffff", "#eef6f8",
     "#a9cbd3", "#123f4a", "#cbe0e5", "#ffe28a", "#e0b048", "#123f4a"},
    {"Office 2007", "Fusion", "#e2ece0", "#ffffff", "#ecf3ea", "#1f3d1a", "#4b8a3e", "#ffffff", "#f1f7ef", "#b9d4b1",
     "#1f3d1a", "#d4e5cf", "#ffe28a", "#e0b048", "#1f3d1a"},
};

// A style's icon, fetched from the style when it is first drawn.
class DeferredStandardIcon : public QIconEngine {
public:
    DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QIconEngine* clone() const override { return new DeferredStandardIcon(style_.data(), which_); }

private:
    const QIcon& icon()
    {
        if (icon_.isNull()) {
            QStyle* source = style_.data();
            if (!source) {
                auto* proxy = qobject_cast<QProxyStyle*>(QApplication::style());
                source = proxy ? proxy->baseStyle() : QApplication::style();
            }
            icon_ = source->standardIcon(which_);
        }
        return icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    QIcon icon_;
};

// The look's widget style. The extension buttons of bars, shown only when a bar is too narrow,
// get their icons when first drawn: the style's own icon files would load every image plugin
// while the window is still being made.
class LookStyle : public QProxyStyle {
public:
    explicit LookStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
            return QIcon(new DeferredStandardIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

Look LookFor(int id)
{
    const bool known = id >= kFirstLookId && id <= kLastLookId;
    const LookColours& c = kLooks[known ? id - kFirstLookId : std::size(kLooks) - 1];
    Look look;
    look.id = id;
    look.name = QString::fromLatin1(c.name);
    look.qtStyle = QString::fromLatin1(c.qtStyle);
    look.editsShowFocus = look.qtStyle != QLatin1String("Windows");
    look.window = QColor(QLatin1String(c.window));
    look.base = QColor(QLatin1String(c.base));
    look.button = QColor(QLatin1String(c.button));
    look.text = QColor(QLatin1String(c.text));
    look.highlight = QColor(QLatin1String(c.highlight));
    look.highlightedText = QColor(QLatin1String(c.highlightedText));
    look.headerTop = QColor(QLatin1String(c.headerTop));
    look.headerBottom = QColor(QLatin1String(c.headerBottom));
    look.headerText = QColor(QLatin1String(c.headerText));
    look.navigationBackground = QColor(QLatin1String(c.navigationBackground));
    look.navigationChecked = QColor(QLatin1String(c.navigationChecked));
    look.navigationCheckedBorder = QColor(QLatin1String(c.navigationCheckedBorder));
    look.navigationText = QColor(QLatin1String(c.navigationText));
    return look;
}

QString FrameStyleSheet(const Look& look)
{
    return QStringLiteral(
               "#HeaderPane { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2);"
               " border-bottom: 1px solid %6; }\n"
               "#HeaderPane QLabel, #HeaderText { color: %3; }\n"
               "#NavigationBar { background: %4; }\n"
               "#NavigationBar QToolButton { color: %7; background: transparent; border: 1px solid transparent;"
               " border-radius: 3px; padding: 6px 2px; }\n"
               "#NavigationBar QToolButton:hover { border-color: %6; }\n"
               "#NavigationBar QToolButton:checked { background: %5; border-color: %6; color: #000000; }\n"
               // The focus frame is twice as thick as the others and in the text's colour, so it
               // stands out on the bar and on the pressed button alike; the padding gives back
               // the extra pixel, so the button keeps its size.
               "#NavigationBar QToolButton:focus { border: 2px dotted %7; padding: 5px 1px; }\n"
               "#NavigationBar QToolButton:checked:focus { border-color: #000000; }\n")
        .arg(look.headerTop.name(), look.headerBottom.name(), look.headerText.name(),
             look.navigationBackground.name(), look.navigationChecked.name(), look.navigationCheckedBorder.name(),
             look.navigationText.name());
}

void ApplyLook(QWidget& frame, const QList<QWidget*>& panes, int id)
{
    const Look look = LookFor(id);
    if (QStyle* style = QStyleFactory::create(look.qtStyle))
        QApplication::setStyle(new LookStyle(style));

    QPalette palette;
    palette.setColor(QPalette::Window, look.window);
    palette.setColor(QPalette::WindowText, look.text);
    palette.setColor(QPalette::Base, look.base);
    palette.setColor(QPalette::AlternateBase, look.window);
    palette.setColor(QPalette::Button, look.button);
    palette.setColor(QPalette::ButtonText, look.text);
    palette.setColor(QPalette::Text, look.text);
    palette.setColor(QPalette::Highlight, look.highlight);
    palette.setColor(QPalette::HighlightedText, look.highlightedText);
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xe1));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    QApplication::setPalette(palette);

    ApplyLookToPanes(panes, id);
    frame.update();
    for (QWidget* child : frame.findChildren<QWidget*>())
        child->update();
}

void ApplyLookToPanes(const QList<QWidget*>& panes, int id)
{
    const QString sheet = FrameStyleSheet(LookFor(id));
    for (QWidget* pane : panes) {
        if (pane)
            pane->setStyleSheet(sheet);
    }
}

}  // namespace vormex::gui
