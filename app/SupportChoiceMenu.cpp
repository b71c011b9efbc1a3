#include "SupportChoiceMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

#include <vector>

namespace pw {

namespace {

struct KeyedChoice {
    int key;
    std::optional<SupportChoice> choice;  // empty: back to the class's choice
};

// The menu's items in order, each with the key it shows.
std::vector<KeyedChoice> keyedChoices()
{
    std::vector<KeyedChoice> rows{{Qt::Key_Delete, SupportChoice::noFooter()}};
    for (const TubeSizeClass sizeClass : allSizeClasses)
        rows.push_back({Qt::Key_1 + static_cast<int>(sizeClass), SupportChoice::modelOf(sizeClass)});
    rows.push_back({Qt::Key_Backspace, std::nullopt});
    return rows;
}

QString itemText(const std::optional<SupportChoice>& choice)
{
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("SupportChoiceMenu", text);
    };
    if (!choice)
        return tr("As its size class");
    if (!choice->model)
        return tr("No footer here");
    return tr("The %1 model here").arg(QLatin1String(sizeClassLabel(*choice->model)));
}

}  // namespace

std::optional<std::optional<SupportChoice>> supportChoiceForKey(int key)
{
    // 0 sits beside 1 to 5 where Delete is far from them.
    if (key == Qt::Key_0)
        key = Qt::Key_Delete;
    for (const KeyedChoice& row : keyedChoices())
        if (row.key == key)
            return row.choice;
    return std::nullopt;
}

std::unique_ptr<QMenu> supportChoiceMenu(
    const FooterModelChoices& models, bool hasOwnChoice,
    std::function<void(std::optional<SupportChoice>)> choose)
{
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(QStringLiteral("supportMenu"));
    for (const KeyedChoice& row : keyedChoices()) {
        QAction* action = menu->addAction(itemText(row.choice));
        action->setShortcut(QKeySequence(row.key));  // shown beside the item; the view takes keys
        if (!row.choice)
            action->setEnabled(hasOwnChoice);
        else if (row.choice->model)  // only a class with a model to place can lend it
            action->setEnabled(models[static_cast<std::size_t>(*row.choice->model)].enabled);
        QObject::connect(action, &QAction::triggered, menu.get(),
                         [choose, choice = row.choice] { choose(choice); });
    }
    return menu;
}

}  // namespace pw
