#pragma once
// Running a sheet or handout layout script: choose the script file, run it with the objects
// `output`, `sheet` and `field` bound to a layout, and put the error page over what it drew when
// it cannot be loaded or fails. What a view does around it (the editor, the page cache, the
// repaint) is the view's.

#include <cstdint>
#include <string>
#include <vector>

namespace vorpane {

class SheetLayout;

inline constexpr const char* kSheetScriptExtension = "vis";
inline constexpr const char* kHandoutScriptExtension = "vhs";

// The script's names (no folder, no extension) in the data folders, in name order, a user's
// script hiding the program's of the same name.
std::vector<std::string> sheetScriptNames(const std::string& extension);

// The script a view shows: `name` when its file exists in a data folder, else the first
// script of that extension, else "". Rule files and documents sometimes name the script with
// its extension ("clasica.vis"); that name is taken as the script it names.
std::string chooseSheetScript(const std::string& name, const std::string& extension);
std::string scriptNameWithoutExtension(const std::string& name, const std::string& extension);

// The data file name + "." + extension (see dataFilePath()).
std::string sheetScriptPath(const std::string& name, const std::string& extension);

// Resets the page to 100 x 100 mm, then runs the named script of the data folders: no name
// gives the error page "There are no sheet files available (*.<extension>)". Afterwards the
// layout's host binds its tables. True when the script ran to its end.
bool runSheetScriptNamed(const std::string& name, const std::string& extension, SheetLayout& layout);

// Empties the drawing list and runs the script file at `path` on the layout (page size as it
// is). A file that cannot be read or parsed, or a run that fails, adds the error page. Does not
// bind tables.
bool runSheetScript(const std::string& path, SheetLayout& layout);

// The same with the script's text instead of a file.
bool runSheetScriptText(const std::string& text, SheetLayout& layout);

// Node evaluations a run may take before it is stopped (and fails); 0, the default, is no limit.
// The desktop has the break key; the headless tool sets a budget so that a looping script ends.
void setSheetScriptStepBudget(uint64_t steps);
uint64_t sheetScriptStepBudget();

// Appends the error page to the drawing list (which is not emptied): a 100 x 25 mm page,
// "Sheet Script Error" and the message (a default text when it is empty).
void appendErrorPage(SheetLayout& layout, const std::string& message = {});

inline constexpr const char* kLoadFailedMessage
    = "A problem was encountered trying to load the current sheet layout script";
inline constexpr const char* kRunFailedMessage
    = "A problem was encountered executing the current sheet layout script";
inline constexpr const char* kDefaultErrorMessage
    = "An error occurred while trying to process the sheet script";

} // namespace vorpane
