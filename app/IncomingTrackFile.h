#pragma once
// Track files that reach the window other than through its open dialog: as the first
// command-line argument (from a file manager or a shell) or dropped onto the window.

#include <QString>
#include <QStringList>

class QMimeData;

namespace pw {

// The first argument after the program name, made absolute, whether or not it can be opened;
// empty when there is none or it is an option. The toolkit has already taken its own options
// out of `arguments`.
QString trackFileFromArguments(const QStringList& arguments);

// The one local ".nltrack" file carried by a drag, else empty.
QString trackFileFromMimeData(const QMimeData* mimeData);

}  // namespace pw
