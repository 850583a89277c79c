#include "gui/pages/RespCmdView.h"

#include "gui/application/VORMEXSettingToolApp.h"
#include "gui/binding/AccessibleNames.h"
#include "gui/binding/GuiStrings.h"
#include "gui/binding/PropertyBinding.h"
#include "gui/widgets/PageScrollArea.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace vormex::gui {
namespace {

constexpr int kRestoreQuestion = 8114;
constexpr int kFileNameField = 9100;
constexpr int kFirstEdit = 9201;
// The edits have room for the longest answer the definitions allow.
constexpr int kAnswerChars = 40;
constexpr int kFormatMissing = 300240;

}  // namespace

CRespCmdView::CRespCmdView(std::shared_ptr<InitialTableGroup> group, QWidget* parent)
    : InitialTablePage(std::move(group), InitialTableTab::ResponseCommands,
                       {kRead, kSave, kGet, kDownload, kRestore, kFileNameField}, parent)
{
    setObjectName(QStringLiteral("RespCmdView"));
    buildControls();
    placeButtonsLastInTabOrder();
    this->group().Register(*this);
}

void CRespCmdView::buildControls()
{
    QScrollArea* scroll = CreatePageScrollArea(QStringLiteral("ResponseArea"), this);
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("ResponseCommands"));
    scroll->setWidget(area);
    auto* column = new QHBoxLayout(area);
    column->setContentsMargins(0, 4, 0, 0);
    QFormLayout* form = CreateItemForm(8, 4);
    column->addLayout(form);
    column->addStretch(1);
    for (int row = 0; row < kResponseCount; ++row) {
        auto* caption = new QLabel(text(text::controlCaption(kFirstEdit + row)), area);
        auto* edit = new QLineEdit(area);
        edit->setObjectName(ResponseLabel(row));
        edit->setAccessibleName(AccessibleNameOf(caption->text()));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kAnswerChars, QLatin1Char('0'))) + 16);
        caption->setBuddy(edit);
        connect(edit, &QLineEdit::textEdited, this, [this, row](const QString& answer) {
            group().document().responses.answers[size_t(row)] = answer;
            group().MarkChanged(tab());
        });
        form->addRow(caption, edit);
        edits_[size_t(row)] = edit;
    }
    content()->addWidget(scroll, 1);
}

void CRespCmdView::limitEdits(const PrinterDefinition* printer)
{
    for (int row = 0; row < kResponseCount; ++row) {
        int limit = 32767;
        if (printer) {
            for (const ResponseCommandDefinition& command : printer->responseCommands) {
                if (command.name == ResponseLabel(row)) {
                    limit = command.max > 0 ? command.max : limit;
                    break;
                }
            }
        }
        limits_[size_t(row)] = limit;
        edits_[size_t(row)]->setEnabled(printer != nullptr);
    }
}

void CRespCmdView::SetUpForPrinter(const PrinterDefinition* printer)
{
    limitEdits(printer);
    enableDocumentButtons(printer != nullptr);
    ShowDocument();
}

void CRespCmdView::ShowDocument()
{
    const ResponseSet& responses = group().document().responses;
    for (int row = 0; row < kResponseCount; ++row) {
        QLineEdit* edit = edits_[size_t(row)];
        // The limit does not cut a longer answer read from a file: the check names it instead.
        edit->setMaxLength(std::max<int>(limits_[size_t(row)], int(responses.answers[size_t(row)].size())));
        edit->setText(responses.answers[size_t(row)]);
    }
}

void CRespCmdView::CommitPage()
{
    ResponseSet& responses = group().document().responses;
    for (int row = 0; row < kResponseCount; ++row)
        responses.answers[size_t(row)] = edits_[size_t(row)]->text();
}

std::optional<PageProblem> CRespCmdView::CheckPage(bool leaving)
{
    CommitPage();
    const PrinterDefinition* printer = group().printer();
    if (!printer)
        return std::nullopt;
    Application& app = this->app().app();
    const std::optional<ResponseFailure> failure =
        ValidateResponseCommands(group().document().responses, *printer, app.parameterCheck, app.strings);
    if (!failure || (failure->formatMissing && leaving))
        return std::nullopt;
    QString message = failure->message;
    if (failure->formatMissing && app.parameterCheck.currentSectionName.isEmpty())
        message = text(kFormatMissing).arg(printer->name, ResponseLabel(failure->row));
    return PageProblem{edits_[size_t(failure->row)], QMessageBox::NoIcon, message};
}

void CRespCmdView::FillResponseDefaults()
{
    if (const PrinterDefinition* printer = group().printer())
        vormex::FillResponseDefaults(*printer, group().document().responses);
    ShowDocument();
    group().ClearChanged(tab());
}

void CRespCmdView::OnRestoreDefaults()
{
    if (askRestore(kRestoreQuestion))
        FillResponseDefaults();
}

}  // namespace vormex::gui
