#include "sheet/field_object.h"

#include "platform/ui_services.h"
#include "script/member_name.h"
#include "sheet/sheet_layout.h"

namespace vorpane {

using script::ScriptValue;

namespace {

int reportField(const char* message, const ScriptValue& id)
{
    showMessage(message + id.toText(), {}, MsgIcon::None);
    return script::CallReported;
}

} // namespace

FieldObject::FieldObject(SheetLayout& layout)
    : m_layout(&layout)
{
}

ScriptValue* FieldObject::findMember(const std::string& name)
{
    if (!m_layout)
        return nullptr;
    const auto& fields = m_layout->fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!script::sameName(name, fields[i]->name()))
            continue;
        while (m_properties.size() <= i)
            m_properties.emplace_back();
        ScriptValue& slot = m_properties[i];
        slot = fields[i]->id();
        slot.setReadOnly(true);
        return &slot;
    }
    return nullptr;
}

int FieldObject::callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result)
{
    bool get = script::sameName(name, "getfieldvalue");
    bool set = !get && script::sameName(name, "setfieldvalue");
    if ((!get && !set) || !m_layout)
        return script::CallNotFound;
    int wanted = get ? 1 : 2;
    if (argCount < wanted)
        return script::CallTooFew;
    if (argCount > wanted)
        return script::CallTooMany;

    SheetField* field = m_layout->findField(args[0]);
    if (!field)
        return reportField("Field not found: ", args[0]);
    if (get) {
        if (!field->hasFlag(FieldReadable))
            return reportField("Field is protected: ", args[0]);
        result = field->value(nullptr);
        return script::CallOk;
    }
    if (!field->hasFlag(FieldWritable))
        return reportField("Field is protected: ", args[0]);
    field->setValue(args[1], nullptr);
    return script::CallOk;
}

script::HostMemberList FieldObject::memberList()
{
    // The fields themselves are properties too, named by the layout of each view.
    return {
        { "getfieldvalue", script::HostMemberKind::Function, "id" },
        { "setfieldvalue", script::HostMemberKind::Function, "id, value" },
    };
}

} // namespace vorpane
