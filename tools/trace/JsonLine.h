#pragma once
// One line of JSON, written piece by piece into a buffer that is kept from line to line, so that
// a long replay formats its lines without allocating once the buffer has grown.

#include <cstdint>
#include <string>

class JsonLine {
public:
    JsonLine() { text_.reserve(1024); }

    // Empties the line and forgets any value that was not finite.
    void Reset();
    // '{' or '['; a value of its own (after a key, or separated from the one before it).
    void Open(char bracket);
    // '}' or ']'.
    void Close(char bracket);
    void Key(const char* name);
    void Integer(int64_t value);
    // With 17 significant digits, so that it reads back as the same double; `null` when the value
    // is not finite (and the line then reports it).
    void Number(double value);
    void Null();

    const std::string& Text() const { return text_; }
    bool AllFinite() const { return allFinite_; }

private:
    // The comma between two values or members of one container.
    void BeforeValue();

    std::string text_;
    bool first_ = true;    // nothing written yet in the innermost container
    bool afterKey_ = false; // the next value belongs to the key just written
    bool allFinite_ = true;
};
