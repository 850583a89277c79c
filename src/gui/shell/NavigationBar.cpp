#include "gui/shell/NavigationBar.h"

#include "gui/pages/PageInterfaces.h"
#include "gui/widgets/SvgIcon.h"

#include <QIcon>
#include <QPointer>
#include <QVBoxLayout>

namespace vormex::gui {
namespace {

const char* const kIcons[] = {
    ":/vormex/icons/printer-settings.svg", ":/vormex/icons/system-parameters.svg",
    ":/vormex/icons/initial-values.svg",   ":/vormex/icons/download.svg",
    ":/vormex/icons/tools.svg",
};

// "&&" in a caption shows one "&"; a single "&" would become a mnemonic.
QString buttonText(const QString& caption)
{
    QString text = caption;
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1String("&&"));
    return text;
}

QAccessibleInterface* navigationButtonInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String(NavigationButton::staticMetaObject.className()) && object)
        return new AccessibleNavigationButton(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

NavigationButton::NavigationButton(int destination, QWidget* parent) : QToolButton(parent), destination_(destination) {}

AccessibleNavigationButton::AccessibleNavigationButton(QWidget* widget) : QAccessibleWidget(widget, QAccessible::PushButton)
{
}

void AccessibleNavigationButton::Install()
{
    QAccessible::removeFactory(&navigationButtonInterface);
    QAccessible::installFactory(&navigationButtonInterface);
}

NavigationButton* AccessibleNavigationButton::button() const { return static_cast<NavigationButton*>(object()); }

QAccessible::State AccessibleNavigationButton::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = button()->isChecked();
    state.pressed = button()->isDown();
    return state;
}

QStringList AccessibleNavigationButton::actionNames() const
{
    if (!button()->isEnabled())
        return {};
    return {pressAction(), toggleAction()};
}

void AccessibleNavigationButton::doAction(const QString& actionName)
{
    if (!button()->isEnabled() || !actionNames().contains(actionName))
        return;
    QPointer<NavigationButton> pressed = button();
    QMetaObject::invokeMethod(
        pressed, [pressed] {
            if (pressed)
                pressed->click();
        },
        Qt::QueuedConnection);
}

QStringList AccessibleNavigationButton::keyBindingsForAction(const QString& actionName) const
{
    if (actionName != pressAction())
        return {};
    return {NavigationBar::ShortcutFor(button()->destination()).toString(QKeySequence::NativeText)};
}

NavigationBar::NavigationBar(const QStringList& captions, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("NavigationBar"));
    setAttribute(Qt::WA_StyledBackground, true);
    AccessibleNavigationButton::Install();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 8, 6, 8);
    layout->setSpacing(6);
    for (int i = 0; i < kDestinationCount; ++i) {
        auto* button = new NavigationButton(i, this);
        const QString caption = captions.value(i);
        button->setText(buttonText(caption));
        button->setAccessibleName(QString(caption).replace(QLatin1String("&&"), QLatin1String("&")));
        button->setToolTip(QStringLiteral("%1 (%2)").arg(button->accessibleName(),
                                                         ShortcutFor(i).toString(QKeySequence::NativeText)));
        button->setIcon(SvgIcon(QString::fromLatin1(kIcons[i])));
        button->setIconSize(QSize(64, 64));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        const int command = kFirstDestinationCommand + i;
        // The frame decides which page is shown: the button only asks.
        connect(button, &QToolButton::clicked, this, [this, command] {
            emit commandTriggered(command);
        });
        layout->addWidget(button);
        buttons_[static_cast<size_t>(i)] = button;
    }
    layout->addStretch(1);
    setCurrent(0);
}

QKeySequence NavigationBar::ShortcutFor(int destination)
{
    return QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + destination));
}

void NavigationBar::setCurrent(int destination)
{
    for (int i = 0; i < kDestinationCount; ++i)
        buttons_[static_cast<size_t>(i)]->setChecked(i == destination);
}

int NavigationBar::current() const
{
    for (int i = 0; i < kDestinationCount; ++i) {
        if (buttons_[static_cast<size_t>(i)]->isChecked())
            return i;
    }
    return -1;
}

}  // namespace vormex::gui
