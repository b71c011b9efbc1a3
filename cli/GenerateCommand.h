#pragma once
// The `generate` command: the window's whole workflow in one call. Open the track, install the
// chosen models, place the footers, save.

#include "ClassChoice.h"
#include "footers/FooterGeneration.h"

#include <QString>
#include <QTextStream>

#include <array>
#include <optional>

namespace pw {

struct GenerateArguments {
    QString trackPath;
    QString outputPath;  // may be trackPath itself
    QString nolimitsDirectory;
    QString modelsDirectory;
    std::optional<QString> objectDirectoryName;  // default: the track's base name
    std::array<std::optional<ClassChoice>, sizeClassCount> choices;  // by TubeSizeClass
    bool keepFundaments = false;
    bool noAlign = false;
};

// Fills the options generateFooters is given: classes left out are decided by the models
// directory. Returns why not when the object directory name is refused.
std::optional<CoreError> generationOptions(const GenerateArguments& arguments,
                                           GenerationOptions& options);

QString reportText(const GenerationReport& report);

// 0 when OUT was written; 1 (OUT untouched) when the track could not be read, the models could not
// be installed or OUT could not be written.
int runGenerate(const GenerateArguments& arguments, QTextStream& out, QTextStream& err);

}  // namespace pw
