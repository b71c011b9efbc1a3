#include "ClassChoice.h"

#include "footers/ModelDirectory.h"

namespace pw {

std::optional<ClassChoice> parseClassChoice(const QString& text, TubeSizeClass sizeClass)
{
    if (text == QLatin1String("own"))
        return ClassChoice{ClassChoice::Model::Own, 0};
    if (text == QLatin1String("none"))
        return ClassChoice{ClassChoice::Model::None, 0};
    if (text == QLatin1String("default"))
        return ClassChoice{ClassChoice::Model::Default, defaultScalePercent(sizeClass)};
    const QLatin1String prefix("default:");
    if (!text.startsWith(prefix))
        return std::nullopt;
    const QString digits = text.mid(prefix.size());
    // toInt() would accept a sign and surrounding blanks; a percentage is plain digits.
    if (digits.isEmpty() || digits.size() > 4)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const int percent = digits.toInt();
    if (percent < minimumScalePercent || percent > maximumScalePercent)
        return std::nullopt;
    return ClassChoice{ClassChoice::Model::Default, percent};
}

ClassChoice choiceFromModelDirectory(const std::filesystem::path& modelDirectory,
                                     TubeSizeClass sizeClass)
{
    return inspectModelDirectory(modelDirectory).ownModel[static_cast<std::size_t>(sizeClass)]
               ? ClassChoice{ClassChoice::Model::Own, 0}
               : ClassChoice{};
}

FooterModelChoice toFooterModelChoice(TubeSizeClass sizeClass, const ClassChoice& choice)
{
    return makeFooterModelChoice(sizeClass, choice.model == ClassChoice::Model::Own,
                                 choice.model == ClassChoice::Model::Default, choice.scalePercent);
}

}  // namespace pw
