#pragma once
// What the user chose for single supports, each named by its fundament's index in the track: no
// footer there, or the model of a given size class instead of the one its tube's class gets. A
// support without a choice follows its class.

#include "SizeClasses.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace pw {

struct SupportChoice {
    // None: no footer on this support. Else the footer of this class's chosen model, which must
    // have one.
    std::optional<TubeSizeClass> model;

    static SupportChoice noFooter() { return {}; }
    static SupportChoice modelOf(TubeSizeClass sizeClass) { return {sizeClass}; }
    friend bool operator==(const SupportChoice&, const SupportChoice&) = default;
};

class SupportChoices {
public:
    using Map = std::map<std::int32_t, SupportChoice>;

    // Replaces the choice for the fundament, if any.
    void set(std::int32_t fundament, SupportChoice choice) { byFundament_[fundament] = choice; }
    // The support follows its class again.
    void clear(std::int32_t fundament) { byFundament_.erase(fundament); }
    // None when the support follows its class.
    const SupportChoice* find(std::int32_t fundament) const;

    bool empty() const { return byFundament_.empty(); }
    std::size_t size() const { return byFundament_.size(); }
    // By fundament index, ascending.
    Map::const_iterator begin() const { return byFundament_.begin(); }
    Map::const_iterator end() const { return byFundament_.end(); }

    // The same choices after the fundaments at `removed` (indices before the removal, ascending)
    // were removed: theirs are dropped, and those of later fundaments move down with them.
    SupportChoices afterFundamentsRemoved(const std::vector<std::size_t>& removed) const;

    friend bool operator==(const SupportChoices&, const SupportChoices&) = default;

private:
    Map byFundament_;
};

}  // namespace pw
