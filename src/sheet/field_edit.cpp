#include "sheet/field_edit.h"

#include "platform/cp1252.h"
#include "rules/text_case.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_painter.h"

#include <algorithm>

namespace vorpane {

using script::ScriptValue;
using script::ValueKind;

namespace {

bool isNumber(const ScriptValue& value)
{
    const ValueKind kind = value.effectiveKind();
    return kind == ValueKind::Integer || kind == ValueKind::Unsigned;
}

std::string textOf(const ScriptValue& value)
{
    try {
        if (isNumber(value))
            return std::to_string(value.toInteger());
        return value.toText();
    } catch (const script::ScriptError&) {
        return {};
    }
}

// The editor works with LF; a CR before an LF (or alone) is a line break too.
std::string withLineFeeds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

FieldEditPlan fieldEditPlan(const PlacedField& placement, const UserTextLook& look)
{
    const CapturedContext& context = placement.context;
    const TextStyle style = context.fieldTextStyle;
    const bool user = style & UserText;

    FieldEditPlan plan;
    plan.rotated = (context.font && context.font->rotation != 0) || (user && context.userTextRotation != 0);
    plan.multiline = style & TextMultiline;
    plan.clipped = style & TextClipped;
    plan.alignment = (style & AlignCenter) ? EditAlignment::Center
        : (style & AlignRight)             ? EditAlignment::Right
                                           : EditAlignment::Left;
    if (user) {
        plan.font
            = SheetPainter::makeFont(look.face, context.userTextSize, look.weight, look.italic, false, false);
        plan.textColour = look.colour;
    } else {
        plan.font = SheetPainter::fontFor(context.font);
        plan.textColour = context.textColour;
    }

    const ScriptValue value = placement.field ? placement.field->value(&placement) : ScriptValue("");
    plan.text = textOf(value);
    if (isNumber(value)) {
        // Digits only: a number is never a multi-line text.
        plan.numeric = true;
        plan.multiline = false;
        plan.maxLength = std::max(kNumberEditLength, int(plan.text.size()));
    } else if (plan.multiline) {
        plan.text = withLineFeeds(plan.text);
    }
    return plan;
}

std::string storedEditText(std::string_view edited, bool multiline)
{
    if (!multiline)
        return std::string(edited);
    std::string out;
    out.reserve(edited.size() + edited.size() / 16);
    for (char c : withLineFeeds(edited)) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::vector<std::string> sortedSuggestions(std::vector<std::string> entries)
{
    // Letters sort with their accented forms ("Álamo" before "Barco"), case ignored.
    std::vector<std::pair<QString, std::string>> keyed;
    keyed.reserve(entries.size());
    for (std::string& entry : entries) {
        QString key = fromCp1252(entry).normalized(QString::NormalizationForm_D);
        key.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
        keyed.emplace_back(key.toCaseFolded(), std::move(entry));
    }
    std::stable_sort(
        keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    entries.clear();
    for (auto& [key, entry] : keyed)
        entries.push_back(std::move(entry));
    return entries;
}

int exactSuggestion(const std::vector<std::string>& suggestions, std::string_view text)
{
    const auto found = std::find(suggestions.begin(), suggestions.end(), text);
    return found == suggestions.end() ? -1 : int(found - suggestions.begin());
}

int prefixSuggestion(const std::vector<std::string>& suggestions, std::string_view text)
{
    for (size_t i = 0; i < suggestions.size(); ++i) {
        if (startsWithIgnoreCase(suggestions[i], text))
            return int(i);
    }
    return -1;
}

QString qtFileDialogFilter(std::string_view windowsFilter)
{
    const QStringList parts = fromCp1252(windowsFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() || patterns.isEmpty())
            continue;
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QStringList list = patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString& pattern : list) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters << description + QStringLiteral(" (") + list.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace vorpane
