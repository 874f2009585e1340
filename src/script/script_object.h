#pragma once
// ScriptObject: what every object that scripts can reach implements (host objects, math, Array).
// Objects are reference-counted: the count starts at 0, every Object value that holds the object
// counts once, and the object deletes itself when the count drops from 1 to 0. Counts are not
// atomic: objects live on the one thread that runs scripts.
// Every operation has a base behaviour, so an object overrides only what it supports.

#include "script/script_value.h"

#include <cstdint>
#include <string>

namespace vorpane::script {

// Results of callMember and of class factories.
enum CallStatus : int {
    CallOk = 0,
    CallReported = 1, // the object showed its own message; the engine only stops the run
    CallNotFound = 2,
    CallTooFew = 3,
    CallTooMany = 4,
};

class ScriptObject {
public:
    ScriptObject() = default;
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    void addRef() { ++m_refCount; }
    void release()
    {
        if (--m_refCount == 0)
            destroyWhenSafe();
    }
    int refCount() const { return m_refCount; }
    // Whether the object is an ArrayObject: the bytecode reads and stores its elements in place,
    // without a virtual call.
    bool isArray() const { return m_isArray; }

    // Frees the object.
    virtual void destroy();

    // A member function call. args may be References (convert them with ScriptValue's
    // conversions); result starts as Integer 0. Returns a CallStatus.
    virtual int callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result);
    // A member variable owned by the object, or nullptr when there is none of that name.
    virtual ScriptValue* findMember(const std::string& name);

    // Comparisons and logic give 0 or 1.
    virtual int equals(const ScriptValue& other);
    virtual int notEquals(const ScriptValue& other);
    virtual int less(const ScriptValue& other);
    virtual int lessEqual(const ScriptValue& other);
    virtual int greaterEqual(const ScriptValue& other);
    virtual int greater(const ScriptValue& other);
    virtual int logicalAnd(const ScriptValue& other);
    virtual int logicalOr(const ScriptValue& other);

    virtual void add(ScriptValue& result, const ScriptValue& other);
    virtual void negate(ScriptValue& result);
    virtual void subtract(ScriptValue& result, const ScriptValue& other);
    virtual void multiply(ScriptValue& result, const ScriptValue& other);
    virtual void divide(ScriptValue& result, const ScriptValue& other);
    virtual void remainder(ScriptValue& result, const ScriptValue& other);
    virtual void bitAnd(ScriptValue& result, const ScriptValue& other);
    virtual void bitOr(ScriptValue& result, const ScriptValue& other);
    virtual void bitXor(ScriptValue& result, const ScriptValue& other);
    virtual void logicalNot(ScriptValue& result);
    virtual void bitNot(ScriptValue& result);

    virtual void increment();
    virtual void postIncrement(); // kept for the operation order; the engine never calls it
    virtual void decrement();
    virtual void postDecrement(); // kept for the operation order; the engine never calls it
    virtual void shiftLeft(ScriptValue& result, const ScriptValue& count);
    virtual void shiftRight(ScriptValue& result, const ScriptValue& count);
    // Element «[index]»: storage owned by the object.
    virtual ScriptValue* element(uint32_t index);
    // The element «[index]» when element() would give it without changing anything or raising;
    // none otherwise (and by default).
    virtual const ScriptValue* existingElement(uint32_t index) const { return nullptr; }
    virtual void shiftRightAssign(const ScriptValue& count);
    virtual void shiftLeftAssign(const ScriptValue& count);

    virtual int32_t toInteger();
    virtual uint32_t toUnsigned();
    virtual double toFloat();
    virtual std::string toText();

protected:
    virtual ~ScriptObject() = default;

    bool m_isArray = false;

private:
    // Objects that die while another is being destroyed wait for it to finish, so a long chain of
    // objects holding each other is freed one after the other, not by recursion.
    void destroyWhenSafe();

    int m_refCount = 0;
};

} // namespace vorpane::script
