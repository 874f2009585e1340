#pragma once
// ScriptInterpreter: parses one script file and runs it by walking the syntax tree. It owns the
// global variables, one FunctionFrame per user function, the classes "new" can create and the
// counters that carry break, continue, return and the stop of a run through the tree.
//
// Names are interned once per run and every identifier node is resolved before the run to a
// parameter or local of its function, or a global (NameSlot), so a lookup is an index.
// Globals live on a VariableStack, the variables of calls on a FrameStack; the entries of both
// never move, so a Reference to a variable stays valid while an expression is evaluated.

#include "platform/break_key.h"
#include "script/script_value.h"
#include "script/step_budget.h"
#include "script/syntax_tree.h"
#include "script/variable_stack.h"

#include <cstddef>
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
// Node evaluations between two calls of pollBreakKey(): a few tens of microseconds of running,
// so that a clock read per call costs nothing measurable.
constexpr uint64_t kBreakKeyPollSteps = 4096;

struct Op;
struct BytecodeProgram;

// Whether a run is in progress on this thread (the desktop's event processing during a run asks).
bool scriptRunInProgress();

// Builds a new object for «new Name(args)»: stores it in result and returns a CallStatus.
using ClassFactory = std::function<int(ScriptValue* args, int argCount, ScriptValue& result)>;

struct RunFlags {
    int32_t breakCount = 0;
    int32_t returnCount = 0;
    int32_t continueCount = 0;
    int32_t abort = 0;
};

// One per user function. Each call gets a record on the frame stack; the frame points at the
// records of the innermost running call of the function.
struct FunctionFrame {
    const FunctionDef* def = nullptr;
    std::vector<int32_t> parameterIds;
    // The names the body declares that are not parameters; the place of a name here is its place
    // among the call's locals.
    std::vector<int32_t> localNames;
    // The innermost running call's parameters and locals; between calls, `resting`.
    Variable* parameters = nullptr;
    Variable* locals = nullptr;
    std::vector<Variable> resting; // Integer 0 parameters and undeclared locals
    size_t parameterCount = 0;
    size_t recordSize = 0; // parameters and locals
    const Op* body = nullptr;
};

// Where an identifier node finds its variable. Fixed before the run: a node always runs in the
// function whose body holds it (or at the top level), and a parameter hides everything else.
enum class NamePlace : uint8_t {
    Parameter, // always there
    // A local of the declarations that open the body, named after them: the statements run only
    // once those declarations have, so it is always there.
    LeadingLocal,
    Local, // there once its declaration has run in this call; until then a global is found
    Global,
};

struct NameSlot {
    int32_t nameId = -1;
    NamePlace place = NamePlace::Global;
    int32_t index = -1; // among the parameters or the locals of frame
    FunctionFrame* frame = nullptr;
    // The frame's pointer to the parameters or the locals of its innermost call.
    Variable* const* base = nullptr;
};

class ScriptInterpreter final : private StepBudgetKeeper {
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

    // 1 on success, 0 on failure; outValue gets the integer value of the script's last statement,
    // 0 when the run failed.
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
    // Bytes of texts and arrays the run may hold; 0 means the default (memory_budget.h).
    void setMemoryBudget(uint64_t bytes) { m_memoryBudget = bytes; }
    // Whether the run used up its step budget (or came within a step of it).
    bool stepBudgetSpent() const { return m_stepBudget != 0 && m_stepsBeyond == 0 && m_stepsLeft <= 1; }

    // Runs on the bytecode engine when the program compiles to it, else on the tree walker.
    // On unless VORPANE_SCRIPT_ENGINE=walker.
    void setBytecodeEngine(bool on) { m_useBytecode = on; }
    // Whether the last run went through the bytecode engine.
    bool ranBytecode() const { return m_ranBytecode; }

    const RunFlags& flags() const { return m_flags; }
    const std::string& scriptPath() const { return m_path; }

private:
    friend struct OpHandlers;
    friend class BytecodeCompiler;
    bool spendSteps(uint64_t steps) override;

    struct ClassEntry {
        std::string name;
        ClassFactory factory;
    };
    struct StackExhausted { };

    bool loadProgram();
    // The program's value (bytecode_runner.cpp).
    ScriptValue runBytecode(const BytecodeProgram& program);
    // «s = s + piece» with s a text only s holds: the piece appended in place, as the walker
    // does. 1 when done, 0 when the general way has to decide, -1 when the run stopped.
    int appendToText(ScriptValue& target, const ScriptValue& right);
    void prepareTree();
    void buildOps();
    void resolveNames(FunctionFrame& frame);
    void skipPlainDeclarations(FunctionFrame& frame);
    int32_t internName(const std::string& name);
    void setStackLimit();

    // Evaluation (op_tree.h, interpreter_eval_inline.h and the evaluator's three tiers).
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
    bool pending() const { return (m_stopped | breakKeyWord()) != 0; }
    bool enterInterrupted(const SyntaxNode* node);
    // The countdown to the next poll of the break key reached zero: polls and counts on, or
    // stops the run silently when the step budget is used up.
    bool stepsRanOut();
    // Spends steps one at a time, as the walker spends one per node: false when that stopped the
    // run (the budget used up).
    bool spendStepsOneByOne(uint32_t steps)
    {
        for (; steps > 0; --steps)
            if (--m_stepsLeft == 0 && !stepsRanOut())
                return false;
        return true;
    }
    // Moves the next stretch of the budget into the countdown.
    void refillSteps();
    // The machine stack is checked at every call and every few levels of nesting (guardStack),
    // not at every node: between two checks the evaluation cannot go much deeper.
    [[gnu::always_inline]] void checkStack()
    {
        if (uintptr_t(__builtin_frame_address(0)) < m_stackLimit) [[unlikely]]
            throw StackExhausted();
    }
    void guardStack();
    bool breakRequested(const SyntaxNode* node);
    void valueError(const SyntaxNode* node, int code);

    // Variables.
    [[gnu::always_inline]] ScriptValue* lookup(const NameSlot& slot)
    {
        if (slot.place <= NamePlace::LeadingLocal) [[likely]]
            return &(*slot.base)[slot.index].value;
        if (slot.place == NamePlace::Local) {
            Variable& v = (*slot.base)[slot.index];
            if (v.nameId >= 0)
                return &v.value;
        }
        return m_globalById[size_t(slot.nameId)];
    }
    // Declares the name of a declarator; false (with the message) when the scope has it already.
    bool declare(const NameSlot& slot, ScriptValue&& value, const SyntaxNode* node);
    void addGlobal(int32_t nameId, ScriptValue&& value)
    {
        m_globalById[size_t(nameId)] = &m_variables.push(nameId, std::move(value)).value;
    }
    // Puts every function back between calls, after a run that unwound.
    void resetFrames();
    [[gnu::cold, gnu::noinline]] void reportDeclaredTwice(const SyntaxNode* node, int32_t nameId);

    std::string m_path;
    std::string m_text;
    bool m_hasText = false;
    std::shared_ptr<SyntaxTree> m_tree; // possibly shared with the parse cache

    std::unordered_map<std::string, int32_t> m_nameIds;
    std::vector<std::string> m_names;
    std::vector<ScriptValue*> m_globalById; // none when not declared
    std::vector<int32_t> m_functionById; // index into m_frames, or -1
    std::vector<NameSlot> m_nameSlots; // one per identifier node
    std::vector<Op> m_ops; // one per node
    std::unique_ptr<Op> m_nothing; // stands for every missing child
    std::vector<std::unique_ptr<FunctionFrame>> m_frames;

    VariableStack m_variables; // the globals
    FrameStack m_calls;

    std::vector<ClassEntry> m_classes; // newest first
    ScriptValue m_scratch;
    ScriptValue m_zero; // Integer 0 always: the value of an "if" that runs nothing
    ScriptValue m_returned; // the value of a "return" run through its exec, until it is copied
    ScriptValue m_statementValue; // the value of some statements run through their exec, as m_returned
    RunFlags m_flags;
    int32_t m_stopped = 0;
    int m_callDepth = 0;
    uint64_t m_stepBudget = 0;
    uint64_t m_memoryBudget = 0;
    // Steps left before the next poll; the budget beyond them. Together they are what is left of
    // the budget (all but unlimited without one).
    uint64_t m_stepsLeft = UINT64_MAX;
    uint64_t m_stepsBeyond = 0;
    uintptr_t m_stackLimit = 0;
    bool m_useBytecode;
    bool m_ranBytecode = false;
};

} // namespace vorpane::script
