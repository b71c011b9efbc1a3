#pragma once
// What the user chose for one size class: its own model, the shared default model at a
// percentage, or none. The window's session and the command line hold it; the generation reads
// the FooterModelChoice made from it.

namespace pw {

struct FooterChoice {
    enum class Model { Own, Default, None };
    Model model = Model::None;
    // What the default model is scaled by. The window keeps its scale box's value here while
    // another model is chosen.
    int scalePercent = 100;
    friend bool operator==(const FooterChoice&, const FooterChoice&) = default;
};

}  // namespace pw
