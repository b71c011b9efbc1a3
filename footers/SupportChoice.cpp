#include "SupportChoice.h"

#include <algorithm>

namespace pw {

const SupportChoice* SupportChoices::find(std::int32_t fundament) const
{
    const auto found = byFundament_.find(fundament);
    return found == byFundament_.end() ? nullptr : &found->second;
}

SupportChoices SupportChoices::afterFundamentsRemoved(const std::vector<std::size_t>& removed) const
{
    SupportChoices renumbered;
    for (const auto& [fundament, choice] : byFundament_) {
        // A choice for no fundament of the track (below 0) keeps its number, as tube ends do.
        if (fundament < 0) {
            renumbered.byFundament_.emplace_hint(renumbered.byFundament_.end(), fundament, choice);
            continue;
        }
        const auto index = static_cast<std::size_t>(fundament);
        const auto below = std::lower_bound(removed.begin(), removed.end(), index);
        if (below != removed.end() && *below == index)
            continue;
        renumbered.byFundament_.emplace_hint(
            renumbered.byFundament_.end(),
            static_cast<std::int32_t>(index - static_cast<std::size_t>(below - removed.begin())),
            choice);
    }
    return renumbered;
}

}  // namespace pw
