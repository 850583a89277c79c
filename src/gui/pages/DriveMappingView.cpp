#include "gui/pages/DriveMappingView.h"

#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace vormex::gui {
namespace {

constexpr int kRestoreQuestion = 8113;
constexpr int kFileNameField = 6481;
constexpr int kVormexCaption = 300230;
constexpr int kKirnCaption = 300231;
constexpr int kFirstVormexEdit = 6401;
constexpr int kFirstKirnList = 6441;

}  // namespace

CDriveMappingView::CDriveMappingView(std::shared_ptr<InitialTableGroup> group, QWidget* parent)
    : InitialTablePage(std::move(group), InitialTableTab::DriveMapping,
                       {kRead, kSave, kGet, kDownload, kRestore, kFileNameField}, parent)
{
    setObjectName(QStringLiteral("DriveMappingView"));
    buildControls();
    placeButtonsLastInTabOrder();
    this->group().Register(*this);
}

void CDriveMappingView::buildControls()
{
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("DriveMapping"));
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 8, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    auto* vormexCaption = new QLabel(text(kVormexCaption), area);
    auto* kirnCaption = new QLabel(text(kKirnCaption), area);
    grid->addWidget(vormexCaption, 0, 0);
    grid->addWidget(kirnCaption, 0, 2);
    for (int row = 0; row < kDriveRows; ++row) {
        auto* vormex = new QLineEdit(area);
        vormex->setObjectName(QStringLiteral("Edit%1").arg(kFirstVormexEdit + row));
        vormex->setReadOnly(true);
        vormex->setFocusPolicy(Qt::NoFocus);
        vormex->setMaximumWidth(vormex->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMM")) + 16);
        auto* arrow = new QLabel(QStringLiteral("→"), area);
        arrow->setAlignment(Qt::AlignCenter);
        auto* kirn = new QComboBox(area);
        kirn->setObjectName(QStringLiteral("List%1").arg(kFirstKirnList + row));
        kirn->setMinimumWidth(kirn->fontMetrics().horizontalAdvance(QStringLiteral("USB memory")) + 48);
        connect(kirn, &QComboBox::activated, this, [this, row](int index) { driveChosen(row, index); });
        grid->addWidget(vormex, row + 1, 0);
        grid->addWidget(arrow, row + 1, 1);
        grid->addWidget(kirn, row + 1, 2);
        vormex_[size_t(row)] = vormex;
        kirn_[size_t(row)] = kirn;
    }
    vormexCaption->setBuddy(vormex_[0]);
    kirnCaption->setBuddy(kirn_[0]);
    kirnColumnName_ = AccessibleNameOf(kirnCaption->text());
    // "Z drive 1" to "Z drive 4": the column and the row; the field holds the drive's name.
    for (int row = 0; row < kDriveRows; ++row)
        vormex_[size_t(row)]->setAccessibleName(QStringLiteral("%1 %2").arg(AccessibleNameOf(vormexCaption->text())).arg(row + 1));
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(kDriveRows + 1, 1);
    content()->addWidget(area, 1);
}

void CDriveMappingView::SetUpForPrinter(const PrinterDefinition* printer)
{
    const QStringList names =
        printer && printer->driveMapping ? KirnDriveNames(*printer->driveMapping) : QStringList();
    for (QComboBox* list : kirn_) {
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(names);
    }
    enableDocumentButtons(printer != nullptr);
    ShowDocument();
}

void CDriveMappingView::ShowDocument()
{
    const DriveMappingSet& drives = group().document().drives;
    for (int row = 0; row < kDriveRows; ++row) {
        // A printer with fewer than four VORMEX drives leaves the rows without one empty.
        const bool used = row < drives.vormexNames.size();
        vormex_[size_t(row)]->setText(drives.vormexNames.value(row));
        QComboBox* list = kirn_[size_t(row)];
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(used ? drives.selection[size_t(row)] : -1);
        // "R: KIRN drive": the drive it maps (the row's number while it maps none), then the column.
        const QString drive = used ? drives.vormexNames.value(row) : QString::number(row + 1);
        list->setAccessibleName(QStringLiteral("%1 %2").arg(drive, kirnColumnName_));
        list->setEnabled(used && list->count() > 0);
    }
}

void CDriveMappingView::driveChosen(int row, int index)
{
    group().document().drives.selection[size_t(row)] = index;
    group().MarkChanged(tab());
}

void CDriveMappingView::FillDriveDefaults()
{
    if (const PrinterDefinition* printer = group().printer())
        vormex::FillDriveDefaults(*printer, group().document().drives);
    ShowDocument();
    group().ClearChanged(tab());
}

void CDriveMappingView::OnRestoreDefaults()
{
    if (!askRestore(kRestoreQuestion))
        return;
    FillDriveDefaults();
    group().ClearFilePath();
}

}  // namespace vormex::gui
