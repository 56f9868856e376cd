#pragma once
// One tagged value of the machine's value stack. Values own their texts: a text made
// by a handler belongs to the value (it is copied with the value and freed with it),
// a text taken from a code's own operand is only pointed at, since the code outlives
// the run. A value is 16 bytes and numbers never allocate, so pushing and popping
// them stays cheap; the strings of owned texts come from the thread's pool.
//
// A text value may carry the knowledge that all its bytes are ASCII (below 0x80): its
// positions are then its byte offsets in every measure and mode, and the string
// functions need not read it to count them (TextMeasure.h). The flag is only ever a
// promise: false means "not known", and anything that changes a text clears it unless
// it knows better.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "machine/vm/TextPool.h"

class TVarInfo;

enum TStackDataType : uint32_t {
    sdNone = 0,  // no value; only among the trap targets
    sdLong = 1,  // signed 32-bit integer: every BASIC integer at run time
    sdSingle = 2,
    sdDouble = 3,
    sdString = 4,
    sdBool = 5,          // operands of statement variants (a STEP flag)
    sdVar = 6,           // a variable or array named as an assignment target or argument
    sdMarker = 7,        // a number the compiler wrote into the pushing code (a token kind)
    sdOmitted = 8,       // an operand the program left out
    sdReturn = 9,        // a code index at which execution resumes after RETURN
    sdVarRefStart = 10,  // the start of a variable reference's subscript list
};

struct TStackData {
    uint32_t type = sdNone;
    // For sdString: the text belongs to this value (value.owned) or is borrowed
    // (value.text).
    bool owned = false;
    // For sdString: every byte of the text is known to be ASCII.
    bool ascii = false;
    union {
        int32_t l;
        float f;
        double d;
        bool b;
        TVarInfo* var;
        uint32_t marker;
        int32_t ret;
        const char* text;
        std::string* ownedText;
    } value{};

    TStackData() = default;
    TStackData(const TStackData& other) : type(other.type), owned(other.owned), ascii(other.ascii), value(other.value)
    {
        if (owned) value.ownedText = CopyOf(*other.value.ownedText);
    }
    TStackData(TStackData&& other) noexcept
        : type(other.type), owned(other.owned), ascii(other.ascii), value(other.value)
    {
        other.owned = false;
        other.type = sdNone;
    }
    TStackData& operator=(TStackData other) noexcept
    {
        std::swap(type, other.type);
        std::swap(owned, other.owned);
        std::swap(ascii, other.ascii);
        std::swap(value, other.value);
        return *this;
    }
    ~TStackData()
    {
        if (owned) text_pool::Release(value.ownedText);
    }

private:
    void Reset(uint32_t newType)
    {
        if (owned) [[unlikely]] {
            text_pool::Release(value.ownedText);
            owned = false;
        }
        type = newType;
    }
    static std::string* CopyOf(std::string_view text)
    {
        std::string* s = text_pool::Acquire();
        s->append(text);  // the string is empty: appending skips assign's overlap checks
        return s;
    }

public:
    static TStackData Long(int32_t v)
    {
        TStackData s;
        s.type = sdLong;
        s.value.l = v;
        return s;
    }
    static TStackData Single(float v)
    {
        TStackData s;
        s.type = sdSingle;
        s.value.f = v;
        return s;
    }
    static TStackData Double(double v)
    {
        TStackData s;
        s.type = sdDouble;
        s.value.d = v;
        return s;
    }
    static TStackData Bool(bool v)
    {
        TStackData s;
        s.type = sdBool;
        s.value.b = v;
        return s;
    }
    static TStackData Var(TVarInfo* v)
    {
        TStackData s;
        s.type = sdVar;
        s.value.var = v;
        return s;
    }
    static TStackData Marker(uint32_t v)
    {
        TStackData s;
        s.type = sdMarker;
        s.value.marker = v;
        return s;
    }
    static TStackData Omitted()
    {
        TStackData s;
        s.type = sdOmitted;
        return s;
    }
    static TStackData Return(int32_t index)
    {
        TStackData s;
        s.type = sdReturn;
        s.value.ret = index;
        return s;
    }
    static TStackData VarRefStart()
    {
        TStackData s;
        s.type = sdVarRefStart;
        return s;
    }
    // A text that belongs to someone who outlives the value (a code's operand).
    static TStackData BorrowedText(const char* text)
    {
        TStackData s;
        s.type = sdString;
        s.value.text = text ? text : "";
        return s;
    }
    static TStackData OwnedText(std::string text, bool knownAscii = false)
    {
        TStackData s;
        s.type = sdString;
        s.value.ownedText = text_pool::Acquire();
        // A short text is copied into the pool's string, which keeps its room; a longer
        // one lends its storage.
        if (text.size() < sizeof(std::string))
            s.value.ownedText->append(text);
        else
            s.value.ownedText->swap(text);
        s.owned = true;
        s.ascii = knownAscii;
        return s;
    }
    // Makes this value an owned copy of text, which may be part of its own text;
    // `knownAscii` when all of text's bytes are known to be ASCII.
    void SetCopiedText(std::string_view text, bool knownAscii = false)
    {
        std::string* copy = CopyOf(text);
        Reset(sdString);
        value.ownedText = copy;
        owned = true;
        ascii = knownAscii;
    }

    // Makes this value an owned text holding `text`'s string as it is, room and all;
    // what the value owned before is freed. The caller sets `ascii`.
    void SetOwnedText(std::string text)
    {
        if (!owned) {
            Reset(sdString);
            value.ownedText = text_pool::Acquire();
            owned = true;
        }
        type = sdString;
        value.ownedText->swap(text);
    }

    // Turns the value into a number in place; an owned text is freed first.
    void SetLong(int32_t v)
    {
        Reset(sdLong);
        value.l = v;
    }
    void SetSingle(float v)
    {
        Reset(sdSingle);
        value.f = v;
    }
    void SetDouble(double v)
    {
        Reset(sdDouble);
        value.d = v;
    }

    // The text of an sdString; null for any other type.
    const char* CString() const
    {
        if (type != sdString) return nullptr;
        return owned ? value.ownedText->c_str() : value.text;
    }
    std::size_t TextLength() const
    {
        if (type != sdString) return 0;
        return owned ? value.ownedText->size() : std::strlen(value.text);
    }
    // Whether the value is a number of any of the three types.
    bool IsNumber() const { return type == sdLong || type == sdSingle || type == sdDouble; }
    // The text of an sdString, every byte of an owned one; empty for other types.
    std::string_view View() const
    {
        if (type != sdString) return {};
        if (owned) return *value.ownedText;
        return value.text;
    }
    // The text of an sdString to change in place; a borrowed text is copied first.
    // What the text was known to be is forgotten: the caller sets `ascii` again.
    std::string& OwnText()
    {
        if (!owned) SetCopiedText(value.text);
        ascii = false;
        return *value.ownedText;
    }
    // The text as a string of its own; an owned text is moved out, leaving it empty.
    std::string TakeText()
    {
        if (type != sdString) return std::string();
        if (owned) return std::move(*value.ownedText);
        return std::string(value.text);
    }
};
