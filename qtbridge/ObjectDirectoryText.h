#pragma once
// The object directory a front end's text field or option names.

#include "footers/ObjectDirectory.h"
#include "tracklib/Result.h"

#include <QString>

namespace pw {

// The object directory the text names, or why it names none. The text is composed first, so that an
// accented letter given decomposed (as file names copied from macOS often are) stores as its one
// Latin-1 character and names the same directory. Refused: a character beyond Latin-1 (the track
// would store a question mark and every footer would name a directory never made), and a name that
// is not one directory inside objects.
Result<ObjectDirectory> objectDirectoryFromText(const QString& text);

}  // namespace pw
