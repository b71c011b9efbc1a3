#pragma once
// Every option plinthwright-cli knows. Each command names by CliOption those it takes; it refuses
// the others.

#include "footers/SizeClasses.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <array>
#include <vector>

namespace pw {

// What an option is for, beside help and version, which every command line may hold. A command
// given several options it does not take names the first of them in this order.
enum class CliOption {
    ObjectDir,
    ReplaceFundaments,
    AlignToTangent,
    SizeClasses,     // one option per size class
    EarlierFooters,  // --replace-footers and --add-footers
    SupportChoices,
    Output,
    ModelsDir,
    NolimitsDir,
    Front,
    ThreeD,
};
inline constexpr std::array allCliOptions{CliOption::ObjectDir,      CliOption::ReplaceFundaments,
                                          CliOption::AlignToTangent, CliOption::SizeClasses,
                                          CliOption::EarlierFooters, CliOption::SupportChoices,
                                          CliOption::Output,         CliOption::ModelsDir,
                                          CliOption::NolimitsDir,    CliOption::Front,
                                          CliOption::ThreeD};

struct CliOptions {
    CliOptions();

    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption output;
    QCommandLineOption nolimitsDir;
    QCommandLineOption modelsDir;
    QCommandLineOption objectDir;
    std::vector<QCommandLineOption> sizeClasses;  // by TubeSizeClass: --small, ...
    // Both front ends replace the fundaments and align the footers unless told otherwise:
    // --keep-fundaments and --no-align.
    QCommandLineOption replaceFundaments;
    QCommandLineOption alignToTangent;
    // What generate does with footers placed before: replace them, or add beside them (also what
    // it does with neither, warning then).
    QCommandLineOption replaceFooters;
    QCommandLineOption addFooters;
    QCommandLineOption supportChoices;  // --choices FILE
    QCommandLineOption front;
    QCommandLineOption threeD;

    // In the order help lists them.
    std::vector<const QCommandLineOption*> all() const;
    // One option, or one per size class.
    std::vector<const QCommandLineOption*> of(CliOption option) const;
};

// The parser of these options, with the two positionals `commandNames` (joined as a sentence)
// and TRACK.
void setUpParser(QCommandLineParser& parser, const CliOptions& options,
                 const QString& commandNames);

// The name a message gives an option: its long one.
QString optionName(const QCommandLineOption& option);

}  // namespace pw
