#pragma once
// ScriptInterpreter: parses one script file and runs it by walking the syntax tree. It owns the
// global variables, one FunctionFrame per user function, the classes "new" can create and the
// counters that carry break, continue, return and the stop of a run through the tree.
//
// Names are interned once per run: every identifier node gets a name id, so a lookup compares
// integers (the function's parameters, then its locals, then a table of globals by id).
// Variables live on a VariableStack whose entries never move, so a Reference to a variable stays
// valid while an expression is evaluated.

#include "platform/break_key.h"
#include "script/script_value.h"
#include "script/syntax_tree.h"
#include "script/variable_stack.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorpane::script {

constexpr int kMaxCallDepth = 400;
constexpr size_t kMaxNameLength = 63;

struct Op;

// Lets a long library operation (sorting, filling a large array) spend the step budget of the
// run in progress on this thread. False when the budget is used up: the run has then been
// stopped silently and the operation should give up.
bool spendSteps(uint64_t steps);

// Builds a new object for «new Name(args)»: stores it in result and returns a CallStatus.
using ClassFactory = std::function<int(ScriptValue* args, int argCount, ScriptValue& result)>;

struct RunFlags {
    int32_t breakCount = 0;
    int32_t returnCount = 0;
    int32_t continueCount = 0;
    int32_t abort = 0;
};

// One per user function, reused by every call of it; the global scope is one too.
struct FunctionFrame {
    const FunctionDef* def = nullptr;
    std::vector<int32_t> parameterIds;
    std::vector<ScriptValue> parameters;
    size_t localBase = 0; // the running call's variables on the variable stack...
    uint32_t localCount = 0; // ...newest on top
    // The names the body declares, in the order its declarations run; a name's place here is
    // normally its place among the call's variables.
    std::vector<int32_t> localNames;
    uint64_t activation = 0; // unique per call
    const Op* body = nullptr;
    int activeCalls = 0;
    bool global = false;
};

// The state of a frame put aside while another call of the same function runs. The parameter
// values are kept on the variable stack (unnamed), below the new call's variables.
struct SavedFrame {
    size_t localBase = 0;
    uint32_t localCount = 0;
    uint64_t activation = 0;
    size_t parameters = 0; // where the saved parameter values start on the variable stack
};

// What an identifier node resolves to in the frame it runs in (always the same one): a
// parameter, the place of a local variable, or neither (then a global, or nothing).
// Within one call the variables only grow during the leading declarations, each of which runs
// once per call, so a name found once is found at the same place for the rest of that call: the
// storage found is kept with the call's activation number.
struct NameSlot {
    int32_t nameId = -1;
    int32_t parameter = -1;
    int32_t local = -1;
    const FunctionFrame* frame = nullptr;
    uint64_t activation = 0;
    ScriptValue* storage = nullptr;
};

class ScriptInterpreter {
public:
    explicit ScriptInterpreter(std::string scriptPath);
    ~ScriptInterpreter();
    ScriptInterpreter(const ScriptInterpreter&) = delete;
    ScriptInterpreter& operator=(const ScriptInterpreter&) = delete;

    // Runs this text instead of reading the script file.
    void setScriptText(std::string text);

    // A global variable before the run. A name already declared is reported and stops the run.
    bool declareGlobal(const std::string& name, const ScriptValue& value);
    // Refused when the name is taken (ignoring case) or too long.
    bool registerClass(const std::string& name, ClassFactory factory);

    // 1 on success, 0 on failure; outValue gets the integer value of the script's last statement.
    int run(int32_t* outValue = nullptr);

    void stop()
    {
        m_flags.abort = 1;
        m_stopped = 1;
    }
    // "Script Error" box, with "Line %d : " when there is a node; stops the run.
    void reportError(const SyntaxNode* node, std::string_view message);

    // Node evaluations allowed before the run stops silently; 0 means no limit.
    void setStepBudget(uint64_t steps) { m_stepBudget = steps; }

    const RunFlags& flags() const { return m_flags; }
    const std::string& scriptPath() const { return m_path; }

private:
    friend struct OpHandlers;
    friend bool spendSteps(uint64_t steps);

    struct ClassEntry {
        std::string name;
        ClassFactory factory;
    };
    struct StackExhausted { };

    bool loadProgram();
    void prepareTree();
    void buildOps();
    void collectLocalNames(FunctionFrame& frame);
    int32_t internName(const std::string& name);
    void setStackLimit();

    // Evaluation (op_tree.h, interpreter_eval.cpp).
    inline ScriptValue eval(const Op& op);
    // eval's entry checks alone: whether the node's handler may run now.
    inline bool enter(const Op& op);
    inline const ScriptValue& read(const Op& op, ScriptValue& temp);
    inline const ScriptValue* peek(const Op& op);
    // Whether any of the counts or the abort flag is set; kept up to date by the two below.
    bool stopped() const { return m_stopped != 0; }
    void countUp(int32_t& count)
    {
        ++count;
        m_stopped = 1;
    }
    void countDown(int32_t& count)
    {
        --count;
        m_stopped = (m_flags.breakCount | m_flags.returnCount | m_flags.continueCount | m_flags.abort) != 0;
    }
    bool pending() const { return stopped() || breakKeyPending(); }
    bool enterInterrupted(const SyntaxNode* node);
    bool enterLimited();
    bool breakRequested(const SyntaxNode* node);
    void valueError(const SyntaxNode* node, int code);

    // Variables.
    [[gnu::always_inline]] ScriptValue* lookup(NameSlot& slot)
    {
        FunctionFrame* scope = m_scope;
        if (slot.activation == scope->activation)
            return slot.storage;
        if (slot.frame == scope) {
            if (ScriptValue* v = placeOf(slot, *scope))
                return v;
        }
        return lookupSlow(slot);
    }
    // A parameter, or a local variable at its usual place; none otherwise.
    [[gnu::always_inline]] ScriptValue* placeOf(const NameSlot& slot, FunctionFrame& scope)
    {
        if (slot.parameter >= 0)
            return &scope.parameters[size_t(slot.parameter)];
        if (uint32_t(slot.local) < scope.localCount) {
            Variable& v = m_variables.at(scope.localBase + size_t(slot.local));
            if (v.nameId == slot.nameId)
                return &v.value;
        }
        return nullptr;
    }
    ScriptValue* lookupSlow(NameSlot& slot);
    ScriptValue* findVariable(int32_t nameId);
    bool declare(FunctionFrame& scope, int32_t nameId, ScriptValue&& value, const SyntaxNode* node);
    bool isDeclared(const FunctionFrame& scope, int32_t nameId)
    {
        if (scope.global)
            return m_globalById[size_t(nameId)] >= 0;
        bool taken = false;
        for (int32_t id : scope.parameterIds)
            taken |= id == nameId;
        for (size_t i = scope.localBase, end = i + scope.localCount; i < end && !taken; ++i)
            taken = m_variables.at(i).nameId == nameId;
        return taken;
    }
    // The scope's variables are the top of the stack: every call made since has ended.
    void addVariable(FunctionFrame& scope, int32_t nameId, ScriptValue&& value)
    {
        if (scope.global)
            m_globalById[size_t(nameId)] = int32_t(m_variables.size());
        m_variables.push(nameId, std::move(value));
        ++scope.localCount;
    }
    [[gnu::cold, gnu::noinline]] void reportDeclaredTwice(const SyntaxNode* node, int32_t nameId);

    std::string m_path;
    std::string m_text;
    bool m_hasText = false;
    SyntaxTree m_tree;

    std::unordered_map<std::string, int32_t> m_nameIds;
    std::vector<std::string> m_names;
    std::vector<int32_t> m_globalById; // index on the variable stack, or -1
    std::vector<int32_t> m_functionById; // index into m_frames, or -1
    std::vector<NameSlot> m_nameSlots; // one per identifier node
    std::vector<Op> m_ops; // one per node
    std::unique_ptr<Op> m_nothing; // stands for every missing child
    std::vector<std::unique_ptr<FunctionFrame>> m_frames;
    FunctionFrame m_global;
    FunctionFrame* m_scope = &m_global;
    uint64_t m_lastActivation = 0;

    VariableStack m_variables;

    std::vector<ClassEntry> m_classes; // newest first
    ScriptValue m_scratch;
    RunFlags m_flags;
    int32_t m_stopped = 0;
    int m_callDepth = 0;
    uint64_t m_stepBudget = 0;
    uint64_t m_stepsLeft = UINT64_MAX;
    uintptr_t m_stackLimit = 0;
};

} // namespace vorpane::script
