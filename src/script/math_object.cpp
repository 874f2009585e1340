// The script object "math".

#include "script/math_object.h"

#include "platform/random.h"
#include "script/member_name.h"

#include <cmath>

namespace vorpane::script {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;

using Unary = double (*)(double);
using Binary = double (*)(double, double);

struct UnaryFunction {
    const char* name;
    Unary apply;
};

double atanOne(double x) { return std::atan2(x, 1.0); }

const UnaryFunction kUnaryFunctions[] = {
    { "acos", [](double x) { return std::acos(x); } },
    { "asin", [](double x) { return std::asin(x); } },
    { "atan", atanOne },
    { "ceil", [](double x) { return std::ceil(x); } },
    { "floor", [](double x) { return std::floor(x); } },
    { "cos", [](double x) { return std::cos(x); } },
    { "sin", [](double x) { return std::sin(x); } },
    { "tan", [](double x) { return std::tan(x); } },
    { "exp", [](double x) { return std::exp(x); } },
    { "log", [](double x) { return std::log(x); } },
    { "sqrt", [](double x) { return std::sqrt(x); } },
};

int expectArguments(int given, int wanted)
{
    if (given < wanted)
        return CallTooFew;
    if (given > wanted)
        return CallTooMany;
    return CallOk;
}

} // namespace

MathObject::MathObject()
    : m_pi(kPi)
    , m_e(kE)
{
    m_pi.setReadOnly(true);
    m_e.setReadOnly(true);
}

ScriptValue* MathObject::findMember(const std::string& name)
{
    if (sameName(name, "PI"))
        return &m_pi;
    if (sameName(name, "E"))
        return &m_e;
    return nullptr;
}

int MathObject::callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result)
{
    for (const UnaryFunction& function : kUnaryFunctions) {
        if (sameName(name, function.name)) {
            int status = expectArguments(argCount, 1);
            if (status == CallOk)
                result = ScriptValue(function.apply(args[0].toFloat()));
            return status;
        }
    }
    if (sameName(name, "abs")) {
        int status = expectArguments(argCount, 1);
        if (status != CallOk)
            return status;
        const ScriptValue& x = args[0].deref();
        if (x.isNumeric() && scriptLess(x, ScriptValue(0)))
            result = binaryOperation(BinaryOp::Subtract, ScriptValue(0), x);
        else
            result = x;
        return CallOk;
    }
    if (sameName(name, "max") || sameName(name, "min")) {
        int status = expectArguments(argCount, 2);
        if (status != CallOk)
            return status;
        const ScriptValue& a = args[0].deref();
        const ScriptValue& b = args[1].deref();
        bool takeA = sameName(name, "max") ? scriptGreater(a, b) : scriptLess(a, b);
        result = takeA ? a : b;
        return CallOk;
    }
    if (sameName(name, "atan2") || sameName(name, "pow")) {
        int status = expectArguments(argCount, 2);
        if (status != CallOk)
            return status;
        Binary apply = sameName(name, "pow") ? Binary([](double x, double y) { return std::pow(x, y); })
                                             : Binary([](double y, double x) { return std::atan2(y, x); });
        result = ScriptValue(apply(args[0].toFloat(), args[1].toFloat()));
        return CallOk;
    }
    if (sameName(name, "random")) {
        int status = expectArguments(argCount, 0);
        if (status == CallOk)
            result = ScriptValue(double(nextRandom()) / kRandomMax);
        return status;
    }
    if (sameName(name, "round")) {
        int status = expectArguments(argCount, 1);
        if (status == CallOk)
            result = ScriptValue(args[0].toInteger());
        return status;
    }
    return CallNotFound;
}

HostMemberList MathObject::memberList()
{
    HostMemberList list;
    for (const UnaryFunction& function : kUnaryFunctions)
        list.push_back({ function.name, HostMemberKind::Function, "x" });
    list.push_back({ "abs", HostMemberKind::Function, "x" });
    list.push_back({ "max", HostMemberKind::Function, "a, b" });
    list.push_back({ "min", HostMemberKind::Function, "a, b" });
    list.push_back({ "atan2", HostMemberKind::Function, "y, x" });
    list.push_back({ "pow", HostMemberKind::Function, "x, y" });
    list.push_back({ "random", HostMemberKind::Function, {} });
    list.push_back({ "round", HostMemberKind::Function, "x" });
    list.push_back({ "PI", HostMemberKind::Variable, {} });
    list.push_back({ "E", HostMemberKind::Variable, {} });
    return list;
}

} // namespace vorpane::script
