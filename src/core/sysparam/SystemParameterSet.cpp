#include "sysparam/SystemParameterSet.h"

#include "definitions/Lookups.h"
#include "definitions/ParameterLine.h"

#include <limits>

namespace vormex {

QString SystemListItemName(SystemList list)
{
    switch (list) {
    case SystemList::Ribbon: return QStringLiteral("RIBBON");
    case SystemList::DotMm: return QStringLiteral("DOT/MM");
    case SystemList::PrintMode: return QStringLiteral("PRINT MODE");
    case SystemList::Sensor: return QStringLiteral("SENSOR");
    case SystemList::GraphicPosition: return QStringLiteral("GRAPHIC POSITION");
    case SystemList::PrintSpeed: return QStringLiteral("PRINT SPEED");
    case SystemList::PowerOnCalib: return QStringLiteral("POWER ON CALIB");
    case SystemList::HeadCloseCalib: return QStringLiteral("HEAD CLOSE CALIB");
    case SystemList::FormatConvert: return QStringLiteral("FORMAT CONVERT");
    case SystemList::OffsetPrint: return QStringLiteral("OFFSET PRINT");
    }
    return {};
}

QString SystemSwitchItemName(SystemSwitch box)
{
    switch (box) {
    case SystemSwitch::LabelSize: return QStringLiteral("LABEL SIZE(LL)");
    case SystemSwitch::LabelType: return QStringLiteral("LABEL TYPE(MN)");
    case SystemSwitch::MediaType: return QStringLiteral("MEDIA TYPE(MT)");
    case SystemSwitch::ToneAdjSd: return QStringLiteral("TONE ADJ(SD)");
    case SystemSwitch::ToneAdjMd: return QStringLiteral("TONE ADJ(MD)");
    }
    return {};
}

QString SystemParameterSet::selectedText(SystemList list, const PrinterDefinition& printer) const
{
    const ItemDefinition* item = FindSystemItem(printer, SystemListItemName(list));
    const int index = selected(list);
    if (!item || index < 0 || index >= item->list.size())
        return {};
    return item->list[index].text;
}

namespace {

MaskedText initialMaskedText(const PrinterDefinition& printer, const char* name, QChar placeholder, bool useValidChars)
{
    const ItemDefinition* item = FindSystemItem(printer, QString::fromLatin1(name));
    if (!item)
        return {};
    MaskedText text = MaskedText::forItem(*item, placeholder, useValidChars);
    text.setText(item->initialText);
    return text;
}

// The entry a list shows first: the last one whose text is the initial text, else the first.
int initialSelection(const ItemDefinition& item)
{
    for (int i = int(item.list.size()) - 1; i >= 0; --i) {
        if (item.list[i].text == item.initialText)
            return i;
    }
    return item.list.isEmpty() ? -1 : 0;
}

}  // namespace

SystemParameterSet DefaultSystemParameters(const PrinterDefinition& printer)
{
    SystemParameterSet set;
    const QChar blank = QLatin1Char('_');
    const QChar zero = QLatin1Char('0');
    set.labelLength = initialMaskedText(printer, "LABEL LENGTH", blank, false);
    set.labelWidth = initialMaskedText(printer, "LABEL WIDTH", blank, false);
    set.maximumLength = initialMaskedText(printer, "MAXIMUM LENGTH", blank, false);
    set.labelShift = initialMaskedText(printer, "LABEL SHIFT", blank, false);
    set.rfidAdjust = initialMaskedText(printer, "RFID ADJUST", blank, true);
    set.controlPrefix = initialMaskedText(printer, "CONTROL PREFIX", zero, true);
    set.formatPrefix = initialMaskedText(printer, "FORMAT PREFIX", zero, true);
    set.delimiterChar = initialMaskedText(printer, "DELIMITER CHAR", zero, true);

    if (const ItemDefinition* spin = FindSystemItem(printer, QStringLiteral("TAB->SP")))
        set.tabSpaces = spin->initialNumber;

    // The switches and the lists are set up in the page's order; a missing item ends its group.
    for (int i = 0; i < kSystemSwitchCount; ++i) {
        const ItemDefinition* item = FindSystemItem(printer, SystemSwitchItemName(SystemSwitch(i)));
        if (!item)
            break;
        set.ticked[i] = item->initialText == QLatin1String("CHECKED");
    }
    const SystemList pageOrder[] = {SystemList::Ribbon,         SystemList::PrintMode,     SystemList::Sensor,
                                    SystemList::PrintSpeed,     SystemList::PowerOnCalib,  SystemList::HeadCloseCalib,
                                    SystemList::DotMm,          SystemList::FormatConvert, SystemList::GraphicPosition,
                                    SystemList::OffsetPrint};
    for (SystemList list : pageOrder) {
        const ItemDefinition* item = FindSystemItem(printer, SystemListItemName(list));
        if (!item)
            break;
        set.selected(list) = initialSelection(*item);
    }
    return set;
}

int SignedFieldValue(const QString& maskedText)
{
    if (maskedText.isEmpty())
        return 0;
    const int magnitude = CDecimal(QStringView(maskedText).mid(1).trimmed());
    if (maskedText[0] != QLatin1Char('-'))
        return magnitude;
    // A second minus after the sign can give the smallest int, whose negation would overflow.
    return magnitude == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -magnitude;
}

}  // namespace vormex
