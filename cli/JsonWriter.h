#pragma once
// A small writer of JSON text. QJsonDocument holds numbers as doubles and would print a float's
// double expansion (0.1f as 0.10000000149011612); this writer prints each float as the shortest
// decimal that reads back as the same float, so a dump shows the values the file holds.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw {

// Shortest round-trip decimal of a float; "nan", "inf" and "-inf" (unquoted) for non-finite ones.
std::string formatFloat(float value);

// Builds indented JSON. Containers opened as inline keep their contents on one line, which keeps
// vectors, colours and matrices readable in a diff. Commas are placed automatically.
class JsonWriter {
public:
    // Receives the text in pieces as it is written, so that a large document is never held whole.
    using Sink = std::function<void(std::string_view)>;

    JsonWriter() = default;
    // Hands the text to `sink` in pieces of about sinkPieceSize bytes, and the rest when the
    // outermost container closes; text() then holds only what has not been handed on.
    explicit JsonWriter(Sink sink) : sink_(std::move(sink)) {}

    static constexpr std::size_t sinkPieceSize = 64 * 1024;

    void beginObject(bool inlineContainer = false);
    void endObject();
    void beginArray(bool inlineContainer = false);
    void endArray();
    void key(std::string_view name);

    void value(std::int32_t number);
    void value(float number);  // non-finite values become the strings "nan", "inf", "-inf"
    void value(std::string_view utf8Text);
    void latin1Value(std::string_view latin1Text);  // each byte is one character
    void nullValue();

    const std::string& text() const { return text_; }

private:
    struct Level {
        bool isInline = false;
        bool empty = true;
    };
    void beforeValue();
    void open(char bracket, bool inlineContainer);
    void close(char bracket);
    void newLine();

    void handOn();

    Sink sink_;
    std::string text_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

}  // namespace pw
