// The listing of host objects against the objects themselves: every listed member is dispatched,
// with the parameter count the listing shows.

#include "investigator/investigator.h"
#include "investigator/investigator_object.h"
#include "platform/recording_ui.h"
#include "rules/dice_object.h"
#include "script/array_object.h"
#include "script/math_object.h"
#include "script/output_object.h"
#include "sheet/field_object.h"
#include "sheet/host_members.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_object.h"

#include <QtTest>
#include <set>

using namespace vorpane;
using script::CallNotFound;
using script::CallTooFew;
using script::CallTooMany;
using script::HostMember;
using script::HostMemberKind;
using script::ScriptValue;

namespace {

// Required and most parameters of a listed member; -1 for "any number".
std::pair<int, int> parameterCounts(const std::string& parameters)
{
    if (parameters.empty())
        return { 0, 0 };
    const QStringList names = QString::fromStdString(parameters).split(", ");
    int required = 0;
    for (const QString& name : names) {
        if (name.contains("..."))
            return { required, -1 };
        if (!name.startsWith('['))
            ++required;
    }
    return { required, int(names.size()) };
}

} // namespace

class HostMembersTest : public QObject {
    Q_OBJECT

private:
    ScopedRecordingUi m_ui;
    SheetLayout m_layout;
    Investigator m_investigator;

    // A live object of that name, held by the value returned.
    ScriptValue make(const std::string& name)
    {
        if (name == "output")
            return ScriptValue(new script::OutputObject);
        if (name == "math")
            return ScriptValue(new script::MathObject);
        if (name == "dice")
            return ScriptValue(new DiceObject);
        if (name == "sheet")
            return ScriptValue(new SheetObject(m_layout));
        if (name == "field")
            return ScriptValue(new FieldObject(m_layout));
        if (name == "investigator")
            return ScriptValue(new InvestigatorObject(m_investigator));
        ScriptValue array;
        if (name == "Array")
            script::ArrayObject::create(nullptr, 0, array);
        return array;
    }

private slots:
    void everyMemberIsDispatched_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<int>("index");
        for (const HostObjectInfo& object : hostObjects()) {
            for (size_t i = 0; i < object.members.size(); ++i)
                QTest::newRow((object.name + "." + object.members[i].name).c_str())
                    << QString::fromStdString(object.name) << int(i);
        }
    }
    void everyMemberIsDispatched()
    {
        QFETCH(QString, object);
        QFETCH(int, index);
        const HostObjectInfo* info = findHostObject(object.toStdString());
        QVERIFY(info);
        const HostMember& member = info->members[size_t(index)];
        ScriptValue held = make(info->name);
        QVERIFY2(held.isObject(), "the test makes no object of that name");
        script::ScriptObject* target = held.objectValue();
        if (member.kind == HostMemberKind::Variable) {
            QVERIFY(member.parameters.empty());
            QVERIFY(target->findMember(member.name) != nullptr);
            return;
        }
        // One argument too many (or too few) is refused before anything runs, and only a
        // dispatched member gets that far.
        ScriptValue args[12];
        ScriptValue result;
        const auto [required, most] = parameterCounts(member.parameters);
        if (most >= 0)
            QCOMPARE(target->callMember(member.name, args, most + 1, result), int(CallTooMany));
        if (required > 0)
            QCOMPARE(target->callMember(member.name, args, required - 1, result), int(CallTooFew));
        else
            QVERIFY(target->callMember(member.name, args, 0, result) != CallNotFound);
    }

    void namesAreUnique()
    {
        std::set<std::string> objects;
        for (const HostObjectInfo& object : hostObjects()) {
            QVERIFY2(objects.insert(QString::fromStdString(object.name).toLower().toStdString()).second,
                object.name.c_str());
            std::set<std::string> members;
            for (const HostMember& member : object.members)
                QVERIFY2(members.insert(QString::fromStdString(member.name).toLower().toStdString()).second,
                    (object.name + "." + member.name).c_str());
        }
        QVERIFY(findHostObject("SHEET"));
        QVERIFY(!findHostObject("nothing"));
    }
};

int runHostMembersTests(int argc, char** argv)
{
    HostMembersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_host_members.moc"
