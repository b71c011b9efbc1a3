#include "FooterChoiceArgument.h"

#include "footers/ModelDirectory.h"

namespace pw {

namespace {

using Model = FooterChoice::Model;

}  // namespace

std::optional<FooterChoice> parseFooterChoice(const QString& text, TubeSizeClass sizeClass)
{
    if (text == QLatin1String(ownModelWord))
        return FooterChoice{Model::Own};
    if (text == QLatin1String(noModelWord))
        return FooterChoice{Model::None};
    if (text == QLatin1String(defaultModelWord))
        return FooterChoice{Model::Default, defaultScalePercent(sizeClass)};
    const QLatin1String prefix(defaultPercentPrefix);
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
    return FooterChoice{Model::Default, percent};
}

FooterChoice footerChoiceFromModelDirectory(const std::filesystem::path& modelDirectory,
                                            TubeSizeClass sizeClass)
{
    return hasModelFile(modelDirectory, ownModelFile(sizeClass)) ? FooterChoice{Model::Own}
                                                                 : FooterChoice{};
}

}  // namespace pw
