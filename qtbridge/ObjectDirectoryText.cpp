#include "ObjectDirectoryText.h"

#include "QtPaths.h"

#include <algorithm>

namespace pw {

Result<ObjectDirectory> objectDirectoryFromText(const QString& text)
{
    const QString composed = text.normalized(QString::NormalizationForm_C);
    if (std::any_of(composed.begin(), composed.end(), [](QChar c) { return c.unicode() > 0xFF; }))
        return CoreError{FooterError::ObjectDirectoryNotLatin1, toFileSystemPath(composed)};
    std::string latin1 = toAsciiPath(composed);
    if (Result<void> refused = checkObjectDirectoryName(latin1); !refused)
        return refused.error();
    return ObjectDirectory{std::move(latin1)};
}

}  // namespace pw
