#pragma once
// What the field editor of a sheet view decides without a widget: how a placement is edited (its
// look, single or multi-line, digits only, the text it starts with), how the edited text becomes
// the stored value, and how the suggestion list follows the text.

#include "sheet/sheet_item_types.h"

#include <QFont>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

class PlacedField;
struct UserTextLook;

enum class EditAlignment { Left, Center, Right };

// The editor of a number field takes digits only, this many.
constexpr int kNumberEditLength = 3;

struct FieldEditPlan {
    // The captured font item turns the text, or the user text is drawn turned.
    bool rotated = false;
    bool multiline = false;
    // TextClipped in the captured style: the editor fills the field's rectangle.
    bool clipped = false;
    // A number field: digits only, at most maxLength characters (never fewer than the value
    // already has, so that opening a field never shortens it).
    bool numeric = false;
    int maxLength = 0; // 0: no limit
    EditAlignment alignment = EditAlignment::Left;
    // The font the placement was drawn in, sized in sheet units like SheetPainter's fonts and
    // never turned.
    QFont font;
    SheetColour textColour = kColourBlack;
    // The value as the editor shows it (Windows-1252; line breaks as LF).
    std::string text;
};

// How the placement is edited, from its field's current value and the context the painter
// captured when it was last drawn.
FieldEditPlan fieldEditPlan(const PlacedField& placement, const UserTextLook& look);

// The text an edit stores: multi-line texts keep CR LF line ends, as the files hold them.
std::string storedEditText(std::string_view edited, bool multiline);

// The suggestions of an option list in the order the list shows them: sorted without regard to
// case or accents.
std::vector<std::string> sortedSuggestions(std::vector<std::string> entries);
// The entry equal to the text, or -1.
int exactSuggestion(const std::vector<std::string>& suggestions, std::string_view text);
// The first entry that begins with the text, case ignored, or -1.
int prefixSuggestion(const std::vector<std::string>& suggestions, std::string_view text);

// A file-dialog filter written as "Description|*.a;*.b|...||" in the form Qt's file dialogs take
// ("Description (*.a *.b);;..."). A description that names its patterns in parentheses keeps
// only its words, so that the patterns (which match case on Linux) are the filter's own; "*.*"
// becomes "*" so that names without a dot are listed too.
QString qtFileDialogFilter(std::string_view windowsFilter);

} // namespace vorpane
