#include "JsonWriter.h"

#include <array>
#include <charconv>
#include <cmath>

namespace pw {

std::string formatFloat(float value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)error;  // 32 characters hold any float
    return std::string(buffer.data(), end);
}

namespace {

void appendCodePoint(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else {
        // Latin-1 never exceeds U+00FF, so two UTF-8 bytes suffice.
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Escapes the characters JSON forbids inside a string; everything else passes as it is.
void appendEscaped(std::string& out, char c)
{
    static constexpr char hexDigits[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    if (byte < 0x20) {
        out += "\\u00";
        out += hexDigits[byte >> 4];
        out += hexDigits[byte & 0x0F];
    } else {
        out += c;
    }
}

}  // namespace

void JsonWriter::handOn()
{
    if (sink_ && !text_.empty()) {
        sink_(text_);
        text_.clear();
    }
}

void JsonWriter::newLine()
{
    if (sink_ && text_.size() >= sinkPieceSize)
        handOn();
    text_ += '\n';
    text_.append(2 * levels_.size(), ' ');
}

void JsonWriter::beforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty())
        return;
    Level& level = levels_.back();
    if (!level.empty)
        text_ += level.isInline ? ", " : ",";
    if (!level.isInline)
        newLine();
    level.empty = false;
}

void JsonWriter::open(char bracket, bool inlineContainer)
{
    beforeValue();
    text_ += bracket;
    // Inside an inline container everything stays on the line.
    const bool parentInline = !levels_.empty() && levels_.back().isInline;
    levels_.push_back({inlineContainer || parentInline, true});
}

void JsonWriter::close(char bracket)
{
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.isInline && !level.empty)
        newLine();
    text_ += bracket;
    if (levels_.empty()) {
        text_ += '\n';
        handOn();
    }
}

void JsonWriter::beginObject(bool inlineContainer) { open('{', inlineContainer); }
void JsonWriter::endObject() { close('}'); }
void JsonWriter::beginArray(bool inlineContainer) { open('[', inlineContainer); }
void JsonWriter::endArray() { close(']'); }

void JsonWriter::key(std::string_view name)
{
    value(name);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::value(std::int32_t number)
{
    beforeValue();
    text_ += std::to_string(number);
}

void JsonWriter::value(float number)
{
    beforeValue();
    const std::string digits = formatFloat(number);
    if (std::isfinite(number))
        text_ += digits;
    else
        text_ += '"' + digits + '"';
}

void JsonWriter::value(std::string_view utf8Text)
{
    beforeValue();
    text_ += '"';
    for (const char c : utf8Text)
        appendEscaped(text_, c);
    text_ += '"';
}

void JsonWriter::latin1Value(std::string_view latin1Text)
{
    std::string utf8;
    utf8.reserve(latin1Text.size());
    for (const char c : latin1Text)
        appendCodePoint(utf8, static_cast<unsigned char>(c));
    value(utf8);
}

void JsonWriter::nullValue()
{
    beforeValue();
    text_ += "null";
}

}  // namespace pw
