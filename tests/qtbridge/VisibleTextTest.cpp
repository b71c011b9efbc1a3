#include "qtbridge/VisibleText.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(VisibleText, ShowsWhatIsNotThereToBeSeenAndKeepsTheRest)
{
    const struct {
        QString text;
        QString shown;
    } rows[] = {
        // A terminal's title set by a track's name, a C1 CSI, DEL, and the line breaks.
        {QString::fromUtf8("x\x1b]0;PWNED\x07y.nltrack"), "x\\x1b]0;PWNED\\x07y.nltrack"},
        {QString::fromUtf8("a\u009b31mb\u007f"), "a\\x9b31mb\\x7f"},
        {"one\ntwo\r\tthree", "one\\ntwo\\r\\tthree"},
        // A right-to-left override would show "exe.txt" for "txt.exe"; line separators and a
        // tag character beyond the basic plane.
        {QString::fromUtf8("a\u202Etxt.exe\u2028b\U000E0041"), "a\\u{202e}txt.exe\\u{2028}b\\u{0e0041}"},
        // Backslashes are Windows' separators; letters of every script stay.
        {QString::fromUtf8("C:\\Tracks\\Caf\u00e9 \u0422\u0440\u0435\u043a.nltrack"),
         QString::fromUtf8("C:\\Tracks\\Caf\u00e9 \u0422\u0440\u0435\u043a.nltrack")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(visibleText(row.text), row.shown);
    }
}

}  // namespace
}  // namespace pw
