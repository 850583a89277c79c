#include "gui/pages/PlaceholderPage.h"

#include "gui/widgets/PageTitle.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vormex::gui {

PlaceholderPage::PlaceholderPage(const QString& title, const QString& note, QWidget* parent) : QWidget(parent)
{
    setAccessibleName(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(CreatePageTitle(title, this));
    auto* noteLabel = new QLabel(note, this);
    noteLabel->setWordWrap(true);
    layout->addWidget(noteLabel);
    layout->addStretch(1);
}

void PlaceholderPage::OnPrinterChanged(const QString& printerName)
{
    printerName_ = printerName;
    ++printerChanges_;
}

}  // namespace vormex::gui
