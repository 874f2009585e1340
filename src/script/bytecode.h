#pragma once
// The bytecode form of a parsed script: compact register instructions per function, made once
// from the walker's prepared Ops, run by one dispatch loop with a jump per handler
// (bytecode_runner.cpp; computed goto, a GCC and Clang extension). Registers are laid out as the
// walker's call records, so whatever the compiler leaves to the walker (an Evaluate instruction)
// reads and writes the same variables. Internal to the interpreter; see BYTECODE.md.

#include "script/script_value.h"
#include "script/syntax_tree.h"
#include "script/variable_stack.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vorpane::script {

struct Op;
struct FunctionFrame;

enum class Opcode : uint8_t {
    Nop, // only its steps: the nodes entered before a point other paths jump to
    LoadConstant, // R[a] = K[b]
    Move, // R[a] = R[b]
    Store, // R[a] = RK[b] as an assignment stores into a variable (a read-only one refuses)
    LoadGlobal, // R[a] = the global the instruction's identifier names, else that identifier evaluated
    Evaluate, // R[a] = the instruction's Op evaluated by the tree walker, on the same variables;
    // sub: kReadAsOperand, kValueUnused
    // R[a] = R[b][RK[c]], an element that holds a number, else as Evaluate of the instruction's Op.
    GetElement,
    // R[b][RK[c]] = RK[a] as a statement: a number into an element that holds one, else as
    // Evaluate of the instruction's Op, its value unused.
    SetElement,
    // R[a] = RK[b] <operator> RK[c]; RK: a constant with kConstantOperand set. sub: the BinaryOp,
    // with kIntoVariable.
    Add,
    Subtract,
    Multiply,
    Divide,
    Remainder,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    GreaterEqual,
    Greater,
    Binary, // the other operators (bitwise, logical, shifts), by the general rules
    Unary, // R[a] = <sub> R[b], sub a UnaryOp
    Step, // R[b] stepped in place, R[a] its value before (sub & 2) or after; sub & 1: up
    Jump, // to target
    JumpIfFalse, // to target unless R[a] is true as "if" and "while" test it
    // To a unless RK[b] <comparison> RK[c] holds (a comparison as a condition); sub: the
    // BinaryOp, with kLeafOperands (a step only when it is not of two numbers).
    JumpUnlessEqual,
    JumpUnlessNotEqual,
    JumpUnlessLess,
    JumpUnlessLessEqual,
    JumpUnlessGreaterEqual,
    JumpUnlessGreater,
    JumpIfForFalse, // to target unless R[a] != 0, as "for" tests its condition
    LoopBack, // to target: a backward jump, where the break key and stop are checked
    // Back to a, as LoopBack, when the comparison holds (a loop's test at its end).
    LoopIfEqual,
    LoopIfNotEqual,
    LoopIfLess,
    LoopIfLessEqual,
    LoopIfGreaterEqual,
    LoopIfGreater,
    CallCheck, // the call limit, checked where the walker checks it: before the arguments
    Call, // function b with its arguments in R[a]...; its value lands in R[a]
    Return, // the value R[a] goes to the caller
    End, // the program's value is R[a]
};

// The opcodes of an operator, of a comparison as a condition and as a loop's test.
inline Opcode operatorOpcode(BinaryOp op)
{
    const int comparison = int(op) - int(BinaryOp::Equal);
    if (comparison >= 0)
        return Opcode(int(Opcode::Equal) + comparison);
    return op <= BinaryOp::Remainder ? Opcode(int(Opcode::Add) + int(op)) : Opcode::Binary;
}
inline Opcode jumpUnlessOpcode(BinaryOp op)
{
    return Opcode(int(Opcode::JumpUnlessEqual) + int(op) - int(BinaryOp::Equal));
}
inline Opcode loopIfOpcode(BinaryOp op)
{
    return Opcode(int(Opcode::LoopIfEqual) + int(op) - int(BinaryOp::Equal));
}
inline bool isOperator(Opcode op) { return op >= Opcode::Add && op <= Opcode::Binary; }
inline bool jumpsToA(Opcode op)
{
    return (op >= Opcode::JumpUnlessEqual && op <= Opcode::JumpUnlessGreater)
        || (op >= Opcode::LoopIfEqual && op <= Opcode::LoopIfGreater);
}

// Registers and constants share the operands of Binary: this bit marks a constant's index.
constexpr uint16_t kConstantOperand = 0x8000;
// In the sub of an arithmetic instruction: R[a] is a variable, stored into as assignment does; its
// Op is then the assignment, whose value (child 1) is the operator.
constexpr uint8_t kIntoVariable = 0x80;
// In the sub of Evaluate: read as an operand is read (a name holding a plain value costs no
// step); a statement whose value nobody uses (R[a] is left as it is).
constexpr uint8_t kReadAsOperand = 1;
constexpr uint8_t kValueUnused = 2;
// In the sub of Evaluate and LoadGlobal: the value stays a reference when it is one (a global's
// place, an element), so that the operator reads it when it runs, as the walker does.
constexpr uint8_t kKeepReference = 4;
// In the sub of a comparison used as a condition: both operands are names or literals.
constexpr uint8_t kLeafOperands = 0x40;

// Ten bytes. A jump goes by an offset from itself (so the runner needs no start of the code):
// b and c together, or a for the comparisons that jump. Steps are the nodes the walker enters up
// to this instruction (since the one before it), spent before it runs.
struct Instruction {
    Opcode op;
    uint8_t sub = 0;
    uint16_t steps = 0;
    uint16_t a = 0;
    uint16_t b = 0;
    uint16_t c = 0;

    int32_t offset() const { return int32_t(uint32_t(b) << 16 | c); }
    void setOffset(int32_t offset)
    {
        b = uint16_t(uint32_t(offset) >> 16);
        c = uint16_t(uint32_t(offset) & 0xFFFF);
    }
    int16_t shortOffset() const { return int16_t(a); }
};
static_assert(sizeof(Instruction) == 10, "instructions are meant to stay compact");

struct BytecodeFunction {
    std::vector<Instruction> code;
    std::vector<const Op*> ops; // per instruction: the node it stands for (its line for errors)
    std::vector<ScriptValue> constants;
    FunctionFrame* frame = nullptr; // none for the top level
    uint16_t parameterCount = 0;
    uint16_t recordSize = 0; // parameters and locals, laid out as the walker's call record
    uint16_t frameSize = 0; // the record and the temporaries
    // Whether the walker may look at the call's variables (the function has Evaluate
    // instructions): then its frame points at them while it runs.
    bool pointsFrame = false;
};

struct BytecodeProgram {
    std::vector<BytecodeFunction> functions; // the top level first
    uint16_t largestFrame = 0;
};

class ScriptInterpreter;

// The program in bytecode, once the walker's Ops are prepared; none when its top level is left
// to the walker.
std::unique_ptr<BytecodeProgram> compileBytecode(ScriptInterpreter& in);

// Whether runs use the bytecode engine when they do not say: yes, unless
// VORPANE_SCRIPT_ENGINE=walker.
bool bytecodeByDefault();

} // namespace vorpane::script
