#pragma once
// ScriptValue: the one value type of the script language.
//
// A value is 24 bytes: a read-only flag, a kind and a payload.
//   Null       no payload.
//   String     a shared, immutable, reference-counted text (Windows-1252 bytes). Texts never change
//              after they are made, so copying a value shares the text instead of duplicating it;
//              the effect is that of an owned copy.
//   Integer    signed 32 bits. Also the kind of truth values and of fresh storage.
//   Unsigned   unsigned 32 bits.
//   Float      double.
//   Reference  the address of another value (a variable, slot, element or member) plus an optional
//              holder object that keeps the storage's owner alive while the reference exists.
//              References are what names evaluate to; assignment never stores one.
//   Object     a ScriptObject with an intrusive count; every Object value holds it once.
// Numbers never touch the heap. Operations that fail raise ScriptError with an ErrorCode.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vorpane::script {

class ScriptObject;

enum class ValueKind : int32_t {
    Null = 0,
    String = 1,
    Integer = 2,
    Unsigned = 3,
    Float = 4,
    Reference = 5,
    Object = 6
};

// Codes raised by value operations; the interpreter turns them into messages.
enum ErrorCode : int32_t {
    ErrIntegerOperator = -1,
    ErrUnsignedOperator = -2,
    ErrFloatOperator = -3,
    ErrStringOperator = -4,
    ErrObjectOperator = -5,
    ErrOutOfBounds = -6,
    ErrReadOnly = -7,
    ErrOutOfMemory = -8,
    ErrDivideByZero = -9,
};

// Longest text a String may hold; longer results raise ErrOutOfMemory so that a concatenating
// loop cannot eat all memory.
constexpr size_t kMaxStringLength = 16u * 1024 * 1024;

// The exception that carries an ErrorCode (or any other integer a host object raises).
class ScriptError {
public:
    explicit ScriptError(int code)
        : m_code(code)
    {
    }
    int code() const { return m_code; }

private:
    int m_code;
};

[[noreturn]] void raiseError(int code);

// The message of a code, or nullptr for a code outside -9 to -1.
const char* errorMessage(int code);

class ScriptValue {
public:
    // Fresh storage: Integer 0.
    ScriptValue() { setNumber(ValueKind::Integer, 0); }
    explicit ScriptValue(int32_t value) { setNumber(ValueKind::Integer, uint32_t(value)); }
    explicit ScriptValue(uint32_t value) { setNumber(ValueKind::Unsigned, value); }
    explicit ScriptValue(double value) { setNumber(ValueKind::Float, std::bit_cast<uint64_t>(value)); }
    explicit ScriptValue(std::string_view text);
    explicit ScriptValue(const char* text)
        : ScriptValue(std::string_view(text))
    {
    }
    explicit ScriptValue(const std::string& text)
        : ScriptValue(std::string_view(text))
    {
    }
    // Holds the object (may be null, which gives Null).
    explicit ScriptValue(ScriptObject* object);

    static ScriptValue null();
    // A reference to storage; holder (optional) is kept alive as long as the reference.
    static ScriptValue reference(ScriptValue* target)
    {
        ScriptValue v(Uninitialized {});
        v.m_header = header(ValueKind::Reference);
        v.setWords(reinterpret_cast<uintptr_t>(target), 0);
        return v;
    }
    static ScriptValue reference(ScriptValue* target, ScriptObject* holder);

    // Plain C++ copies (kind, payload and the flag as the copy rules say); no read-only check.
    // Script assignment is assign(). Numbers take the inline paths.
    ScriptValue(const ScriptValue& other)
        : m_header(other.copiedHeader())
        , m_payload(other.m_payload)
    {
        if (ownsPayload())
            holdPayloadOf(other);
    }
    ScriptValue(ScriptValue&& other) noexcept
        : m_header(other.m_header)
        , m_payload(other.m_payload)
    {
        other.m_header = header(ValueKind::Integer);
    }
    [[gnu::always_inline]] ScriptValue& operator=(const ScriptValue& other)
    {
        if (!ownsPayload() && !other.ownsPayload()) {
            m_header = other.copiedHeader();
            m_payload = other.m_payload;
            return *this;
        }
        return copySlow(other);
    }
    [[gnu::always_inline]] ScriptValue& operator=(ScriptValue&& other) noexcept
    {
        if (!ownsPayload() && this != &other) {
            m_header = other.m_header;
            m_payload = other.m_payload;
            other.m_header = header(ValueKind::Integer);
            return *this;
        }
        return moveSlow(std::move(other));
    }
    ~ScriptValue()
    {
        if (ownsPayload() && (kind() != ValueKind::Reference || m_payload.ref.holder))
            releasePayload();
    }

    // Back to fresh storage: Integer 0, writable.
    void reset()
    {
        if (ownsPayload())
            releasePayload();
        setNumber(ValueKind::Integer, 0);
    }

    // --- Inspection -------------------------------------------------------------------------
    ValueKind kind() const { return m_parts.kind; }
    bool isReadOnly() const { return m_parts.readOnly != 0; }
    // Overwrites a value that holds nothing to release (see isWritableNumber).
    void overwriteInteger(int32_t value) { setNumber(ValueKind::Integer, uint32_t(value)); }
    void overwriteFloat(double value) { setNumber(ValueKind::Float, std::bit_cast<uint64_t>(value)); }
    void overwriteUnsigned(uint32_t value) { setNumber(ValueKind::Unsigned, value); }
    // A writable Float, told by one compare: a loop's numbers are Floats after its first turn.
    bool isWritableFloat() const { return m_header == header(ValueKind::Float); }
    // The number of a writable Float (see isWritableFloat), its header left as it is.
    void overwriteFloatNumber(double value) { setWords(std::bit_cast<uint64_t>(value), 0); }
    // A writable Null, Integer, Unsigned or Float: nothing to release when it is overwritten.
    bool isWritableNumber() const
    {
        return m_parts.readOnly == 0 && kind() != ValueKind::String && kind() <= ValueKind::Float;
    }
    void setReadOnly(bool readOnly) { m_header = header(kind(), readOnly ? 1 : 0); }

    // The value at the end of a chain of references (a reference leading nowhere gives Integer 0).
    const ScriptValue& deref() const
    {
        if (kind() != ValueKind::Reference)
            return *this;
        const ScriptValue* target = m_payload.ref.target;
        if (target && target->kind() != ValueKind::Reference)
            return *target;
        return derefSlow();
    }
    ScriptValue& derefStorage() { return const_cast<ScriptValue&>(deref()); }

    ValueKind effectiveKind() const { return deref().kind(); }
    bool isNull() const { return effectiveKind() == ValueKind::Null; }
    bool isString() const { return effectiveKind() == ValueKind::String; }
    bool isNumeric() const
    {
        ValueKind k = effectiveKind();
        return k == ValueKind::Integer || k == ValueKind::Unsigned || k == ValueKind::Float;
    }
    bool isObject() const { return effectiveKind() == ValueKind::Object; }

    // Raw payload access; valid only for the matching kind (no references followed).
    int32_t integerValue() const { return m_payload.integer; }
    uint32_t unsignedValue() const { return m_payload.unsignedValue; }
    double floatValue() const { return m_payload.number; }
    std::string_view stringValue() const;
    ScriptObject* objectValue() const { return kind() == ValueKind::Object ? m_payload.object : nullptr; }
    ScriptValue* referenceTarget() const
    {
        return kind() == ValueKind::Reference ? m_payload.ref.target : nullptr;
    }
    ScriptObject* referenceHolder() const
    {
        return kind() == ValueKind::Reference ? m_payload.ref.holder : nullptr;
    }
    // The object after following references, or nullptr.
    ScriptObject* object() const { return deref().objectValue(); }

    // --- Conversions (references followed) --------------------------------------------------
    int32_t toInteger() const;
    // Whole numbers in range, the usual array index, without the call.
    uint32_t toUnsigned() const
    {
        if (kind() == ValueKind::Unsigned)
            return m_payload.unsignedValue;
        if (kind() == ValueKind::Float && m_payload.number >= 0.0 && m_payload.number < 4294967295.0)
            return uint32_t(m_payload.number);
        return toUnsignedSlow();
    }
    double toFloat() const;
    std::string toText() const;
    void appendText(std::string& out) const;

    // --- Setters: each raises ErrReadOnly when this value is read-only ----------------------
    void setNull();
    void setInteger(int32_t value);
    void setUnsigned(uint32_t value);
    void setFloat(double value);
    void setString(std::string_view text);
    void setObject(ScriptObject* object);
    void setReference(ScriptValue* target, ScriptObject* holder = nullptr);

    // The text of a writable String that no other value shares, which may then grow in place;
    // nullptr for anything else.
    std::string* unsharedText();
    // Appends to the text unsharedText() gave, charging the run's memory budget.
    void appendToUnsharedText(std::string_view added);

    // Script assignment: follows this value's references to the storage, checks read-only on the
    // way, and stores a copy of source's final value (never a reference). Returns the storage.
    ScriptValue& assign(const ScriptValue& source);

private:
    struct StringData;
    union Payload {
        int32_t integer;
        uint32_t unsignedValue;
        double number;
        StringData* string;
        ScriptObject* object;
        struct {
            ScriptValue* target;
            ScriptObject* holder;
        } ref;
    };

    // Strings, objects and references (which may hold an object) own something that copies
    // must share or hold.
    bool ownsPayload() const { return kind() == ValueKind::String || kind() >= ValueKind::Reference; }

    // The flag and the kind form one word, and every write stores the whole word and the whole
    // payload at once: a value is often read back right after it is written, and the processor
    // forwards a store to a load only when the load lies within that one store.
    struct HeaderParts {
        int32_t readOnly;
        ValueKind kind;
    };
    static constexpr uint64_t header(ValueKind kind, int32_t readOnly = 0)
    {
        return std::bit_cast<uint64_t>(HeaderParts { readOnly, kind });
    }
    // The header a copy gets: only objects and references keep the read-only flag.
    uint64_t copiedHeader() const { return kind() >= ValueKind::Reference ? m_header : header(kind()); }
    void setWords(uint64_t first, uint64_t second)
    {
        using Words = uint64_t __attribute__((vector_size(16)));
        const Words words = { first, second };
        std::memcpy(static_cast<void*>(&m_payload), &words, sizeof words);
    }
    void setNumber(ValueKind kind, uint64_t bits)
    {
        m_header = header(kind);
        setWords(bits, 0);
    }
    struct Uninitialized { };
    explicit ScriptValue(Uninitialized) { }
    const ScriptValue& derefSlow() const;
    uint32_t toUnsignedSlow() const;
    void releasePayload();
    void holdPayloadOf(const ScriptValue& other);
    ScriptValue& copySlow(const ScriptValue& other);
    ScriptValue& moveSlow(ScriptValue&& other) noexcept;
    void checkWritable() const
    {
        if (isReadOnly())
            raiseError(ErrReadOnly);
    }

    union {
        uint64_t m_header; // written whole
        HeaderParts m_parts; // read in parts
    };
    Payload m_payload;

    friend struct ValueAccess;
};

static_assert(sizeof(ScriptValue) == 24, "variables and records are laid out for 24-byte values");

// --- Operators --------------------------------------------------------------------------------
// The rule is chosen by the kind of the left operand after following references; the right one
// is converted to what that rule needs.

enum class BinaryOp {
    Add,
    Subtract,
    Multiply,
    Divide,
    Remainder,
    BitAnd,
    BitOr,
    BitXor,
    LogicalAnd,
    LogicalOr,
    ShiftLeft,
    ShiftRight,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    GreaterEqual,
    Greater,
};

enum class UnaryOp { Negate, LogicalNot, BitwiseNot };

ScriptValue binaryOperation(BinaryOp op, const ScriptValue& left, const ScriptValue& right);
ScriptValue unaryOperation(UnaryOp op, const ScriptValue& operand);

// Shorthands for comparisons used by the library (each gives 0 or 1).
inline bool scriptGreater(const ScriptValue& a, const ScriptValue& b)
{
    return binaryOperation(BinaryOp::Greater, a, b).toInteger() != 0;
}
inline bool scriptLess(const ScriptValue& a, const ScriptValue& b)
{
    return binaryOperation(BinaryOp::Less, a, b).toInteger() != 0;
}

// In-place changes of the storage a value refers to.
void incrementValue(ScriptValue& target);
void decrementValue(ScriptValue& target);
void shiftAssign(ScriptValue& target, const ScriptValue& count, bool left);

} // namespace vorpane::script
