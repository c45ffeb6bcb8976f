#include "tools/trace/JsonLine.h"

#include <charconv>
#include <cmath>

void JsonLine::Reset()
{
    text_.clear();
    first_ = true;
    afterKey_ = false;
    allFinite_ = true;
}

void JsonLine::BeforeValue()
{
    if (!afterKey_ && !first_)
        text_ += ',';
    afterKey_ = false;
    first_ = false;
}

void JsonLine::Open(char bracket)
{
    BeforeValue();
    text_ += bracket;
    first_ = true;
}

void JsonLine::Close(char bracket)
{
    text_ += bracket;
    first_ = false;
}

void JsonLine::Key(const char* name)
{
    BeforeValue();
    text_ += '"';
    text_ += name;
    text_ += "\":";
    afterKey_ = true;
}

void JsonLine::Integer(int64_t value)
{
    BeforeValue();
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, end.ptr);
}

void JsonLine::Number(double value)
{
    if (!std::isfinite(value)) {
        allFinite_ = false;
        Null();
        return;
    }
    BeforeValue();
    // The C++ library's own conversion, not the C library's printf: both builds print the same
    // double the same way.
    char digits[40];
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 17);
    text_.append(digits, end.ptr);
}

void JsonLine::Null()
{
    BeforeValue();
    text_ += "null";
}
