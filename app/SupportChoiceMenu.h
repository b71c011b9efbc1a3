#pragma once
// The choices for one support, offered alike by the plan and the 3D view: as keys (Delete and 0
// no footer, 1 to 5 that size class's model, Backspace back to the class's choice) and as a
// context menu listing the same, each item showing its key.

#include "footers/FooterModelChoice.h"
#include "footers/SupportChoice.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace pw {

// The choice a key stands for: an empty optional inside means back to the class's choice. None
// for any other key.
std::optional<std::optional<SupportChoice>> supportChoiceForKey(int key);

// The menu for a support, in the order of its keys. A class without a model to place is greyed
// out, and so is "back to the class" while the support has no choice of its own. `choose` is
// called with the item's choice when one is triggered.
std::unique_ptr<QMenu> supportChoiceMenu(
    const FooterModelChoices& models, bool hasOwnChoice,
    std::function<void(std::optional<SupportChoice>)> choose);

}  // namespace pw
