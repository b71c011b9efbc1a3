#pragma once
// The `generate` command: the window's whole workflow in one call. Open the track, install the
// chosen models, place the footers, save.

#include "footers/FooterChoice.h"
#include "footers/FooterGeneration.h"

#include <QString>
#include <QTextStream>

#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace pw {

struct GenerateArguments {
    QString trackPath;
    QString outputPath;  // may be trackPath itself
    QString nolimitsDirectory;
    QString modelsDirectory;
    std::optional<QString> objectDirectoryName;  // default: the track's base name
    std::array<std::optional<FooterChoice>, sizeClassCount> choices;  // by TubeSizeClass
    bool replaceFundaments = true;
    bool alignToTangent = true;
    // Neither --replace-footers nor --add-footers: add, and warn when footers were placed before.
    std::optional<EarlierFooters> earlierFooters;
    SupportChoices supports;
    QString choicesFile;                      // where the supports were chosen, if anywhere
    std::map<std::int32_t, int> choiceLines;  // by fundament index: its line in choicesFile
};

// The options generateFooters is given: classes left out are decided by the models directory.
// Fails when the object directory name is refused.
Result<GenerationOptions> generationOptions(const GenerateArguments& arguments);

// The counts (the earlier footers' when replacing, the supports' when any was chosen for), then
// where the models went, each file copied and each copy that replaced a file of other content;
// paths below the NoLimits directory are given relative to it.
QString reportText(const GenerationReport& report, const GenerateArguments& arguments);

// 0 when OUT was written; 1 (OUT untouched) when the track could not be read, the generation was
// refused (nothing installed then) or failed, or OUT could not be written. Warnings, such as a
// model beyond our reading that was installed all the same, or footers placed before that were
// added to without being told to, go to `err`.
int runGenerate(const GenerateArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace pw
