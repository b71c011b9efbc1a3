#pragma once
// A small writer of JSON text. QJsonDocument holds numbers as doubles and would print a float's
// double expansion (0.1f as 0.10000000149011612); this writer prints each float as the shortest
// decimal that reads back as the same float, so a dump shows the values the file holds.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Shortest round-trip decimal of a float; "nan", "inf" and "-inf" (unquoted) for non-finite ones.
std::string formatFloat(float value);

// Builds indented JSON. Containers opened as inline keep their contents on one line, which keeps
// vectors, colours and matrices readable in a diff. Commas are placed automatically.
class JsonWriter {
public:
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

    std::string text_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

}  // namespace pw
