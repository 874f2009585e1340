#include "sheet/sheet_script.h"

#include "platform/data_files.h"
#include "platform/whole_file.h"
#include "script/output_object.h"
#include "script/script_runner.h"
#include "script/syntax_tree.h"
#include "sheet/field_object.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_object.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <strings.h>

namespace vorpane {

using script::ScriptValue;

namespace {

constexpr int32_t kErrorPageWidth = 10000;
constexpr int32_t kErrorPageHeight = 2500;
constexpr int32_t kTitleSize = 160;
constexpr int32_t kMessageSize = 80;

uint64_t g_stepBudget = 0;

// Holds an object for the length of a run and cuts it off the layout afterwards, so a value the
// script kept somewhere can never reach a layout that has gone.
template <typename T> class RunObject {
public:
    explicit RunObject(SheetLayout& layout)
        : m_object(new T(layout))
        , m_hold(m_object)
    {
    }
    ~RunObject() { m_object->detach(); }
    RunObject(const RunObject&) = delete;
    RunObject& operator=(const RunObject&) = delete;
    const ScriptValue& value() const { return m_hold; }

private:
    T* m_object;
    ScriptValue m_hold;
};

bool runParsed(const std::string& text, SheetLayout& layout)
{
    layout.clear();
    // Parse errors show their own box; the page says the layout could not be loaded.
    if (!script::parseScriptShared(text)->program) {
        appendErrorPage(layout, kLoadFailedMessage);
        return false;
    }
    RunObject<SheetObject> sheet(layout);
    RunObject<FieldObject> field(layout);
    int ok = 0;
    {
        script::ScriptRunner runner;
        runner.setStepBudget(g_stepBudget);
        runner.loadTextInMemory(text);
        runner.registerValue("output", ScriptValue(new script::OutputObject));
        runner.registerValue("sheet", sheet.value());
        runner.registerValue("field", field.value());
        ok = runner.run();
    }
    if (!ok) {
        appendErrorPage(layout, kRunFailedMessage);
        return false;
    }
    return true;
}

} // namespace

void setSheetScriptStepBudget(uint64_t steps) { g_stepBudget = steps; }

uint64_t sheetScriptStepBudget() { return g_stepBudget; }

std::vector<std::string> sheetScriptNames(const std::string& extension)
{
    std::vector<std::string> names;
    const QString pattern = QStringLiteral("*.") + QFile::decodeName(extension.c_str());
    for (const std::string& path : dataFiles({ pattern }, QDir::Files, QDir::Name | QDir::IgnoreCase))
        names.push_back(
            QFile::encodeName(QFileInfo(QFile::decodeName(path.c_str())).completeBaseName()).toStdString());
    return names;
}

std::string sheetScriptPath(const std::string& name, const std::string& extension)
{
    return dataFilePath(name + "." + extension);
}

std::string scriptNameWithoutExtension(const std::string& name, const std::string& extension)
{
    const std::string suffix = "." + extension;
    if (name.size() > suffix.size()
        && strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0)
        return name.substr(0, name.size() - suffix.size());
    return name;
}

std::string chooseSheetScript(const std::string& givenName, const std::string& extension)
{
    const std::string name = scriptNameWithoutExtension(givenName, extension);
    if (!name.empty() && QFileInfo(QFile::decodeName(sheetScriptPath(name, extension).c_str())).isFile())
        return name;
    std::vector<std::string> names = sheetScriptNames(extension);
    return names.empty() ? std::string() : names.front();
}

bool runSheetScriptNamed(const std::string& name, const std::string& extension, SheetLayout& layout)
{
    layout.resetPageSize();
    bool ok = false;
    if (name.empty()) {
        layout.clear();
        appendErrorPage(layout, "There are no sheet files available (*." + extension + ")");
    } else {
        ok = runSheetScript(sheetScriptPath(name, extension), layout);
    }
    if (SheetHost* host = layout.host())
        host->bindTables(layout);
    return ok;
}

bool runSheetScript(const std::string& path, SheetLayout& layout)
{
    std::string text;
    if (!readTextFile(path, kMaxScriptFileBytes, text)) {
        layout.clear();
        appendErrorPage(layout, kLoadFailedMessage);
        return false;
    }
    return runParsed(text, layout);
}

bool runSheetScriptText(const std::string& text, SheetLayout& layout) { return runParsed(text, layout); }

void appendErrorPage(SheetLayout& layout, const std::string& message)
{
    layout.setPageSize(kErrorPageWidth, kErrorPageHeight);
    layout.appendUnlimited(
        std::make_unique<SheetFontItem>(SheetItemKind::Font, "Arial", kTitleSize, FontNormal, 0));
    layout.appendUnlimited(std::make_unique<SheetTextBoxItem>(
        SheetRect { 300, -200, 10000, -2500 }, "Sheet Script Error", TextNormal));
    layout.appendUnlimited(
        std::make_unique<SheetFontItem>(SheetItemKind::Font, "MS Sans Serif", kMessageSize, FontNormal, 0));
    layout.appendUnlimited(std::make_unique<SheetTextBoxItem>(SheetRect { 300, -1000, 10000, -2500 },
        message.empty() ? kDefaultErrorMessage : message, TextNormal));
}

} // namespace vorpane
