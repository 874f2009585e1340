#pragma once
// SheetObject: the script object `sheet`. Each member call appends one item to the layout (or,
// for sheetsize and findvalidfont, acts at once); its properties are the style constants and the
// layout's sheet-parameter names. A thin adapter over a SheetLayout that it does not own: the
// owner calls detach() before the layout goes, after which every member is "not found".

#include "script/host_member.h"
#include "script/script_object.h"

#include <deque>
#include <string>

namespace vorpane {

class SheetLayout;

class SheetObject final : public script::ScriptObject {
public:
    explicit SheetObject(SheetLayout& layout);

    int callMember(const std::string& name, script::ScriptValue* args, int argCount,
        script::ScriptValue& result) override;
    script::ScriptValue* findMember(const std::string& name) override;

    // The fixed members, for tools.
    static script::HostMemberList memberList();

    void detach() { m_layout = nullptr; }

private:
    ~SheetObject() override = default;

    // Shows the limit of the drawing list and stops the run.
    static int reportFull();

    SheetLayout* m_layout;
    // Storage handed to scripts: one read-only slot per constant, one slot per parameter name.
    std::deque<script::ScriptValue> m_constants;
    std::deque<script::ScriptValue> m_parameters;
};

} // namespace vorpane
