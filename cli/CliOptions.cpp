#include "CliOptions.h"

namespace pw {

namespace {

std::vector<QCommandLineOption> sizeClassOptions()
{
    const SizeClass& first = sizeClasses.front();
    std::vector<QCommandLineOption> options;
    for (const SizeClass& row : sizeClasses) {
        const QString description =
            &row == &first ? QStringLiteral(
                                 "Footer model of %1 tubes: own, default, default:PCT (PCT from "
                                 "%2 to %3) or none. Left out: own when the models directory "
                                 "holds the class's model, else none.")
                                 .arg(QLatin1String(row.label))
                                 .arg(minimumScalePercent)
                                 .arg(maximumScalePercent)
                           : QStringLiteral("Footer model of %1 tubes, as for --%2.")
                                 .arg(QLatin1String(row.label), QLatin1String(first.name));
        options.emplace_back(QLatin1String(row.name), description, QStringLiteral("C"));
    }
    return options;
}

}  // namespace

CliOptions::CliOptions()
    : help({"h", "help"}, "Show this help."),
      version({"v", "version"}, "Show the version."),
      output({"o", "output"},
             "generate: the track file to write (may be TRACK itself); "
             "plan: the picture to write (.svg or .png).",
             "file"),
      nolimitsDir("nolimits-dir",
                  "The simulator's installation directory (plan: draw the "
                  "footers already in the track as their installed models).",
                  "dir"),
      modelsDir("models-dir",
                "The directory holding the footer models (plan: draw each "
                "footer as its model's outline).",
                "dir"),
      objectDir("object-dir",
                "Directory below the simulator's objects directory for the "
                "models (default: TRACK's name up to its first dot).",
                "name"),
      sizeClasses(sizeClassOptions()),
      replaceFundaments("keep-fundaments",
                        "Keep the native fundaments instead of replacing them by free nodes."),
      alignToTangent("no-align",
                     "Turn footers about the vertical only instead of tilting them along their "
                     "tube."),
      replaceFooters("replace-footers",
                     "Remove the footers placed on this track before, where they stand on a "
                     "fundament, and place the new ones."),
      addFooters("add-footers",
                 "Keep the footers placed on this track before and add the new ones (without "
                 "either option too, with a warning)."),
      supportChoices("choices",
                     "A file of choices for single supports, one a line by fundament index: "
                     "'12 none' (no footer) or '7 large' (that class's model); # comments.",
                     "file"),
      front("front", "plan: draw from the front (x right, y up) instead of from above."),
      threeD("3d",
             "plan: render the 3D view from its default camera into a .png (needs OpenGL 3.3).")
{
}

std::vector<const QCommandLineOption*> CliOptions::all() const
{
    std::vector<const QCommandLineOption*> list{&help,        &version,   &output,
                                                &nolimitsDir, &modelsDir, &objectDir};
    for (const QCommandLineOption& option : sizeClasses)
        list.push_back(&option);
    list.insert(list.end(), {&replaceFundaments, &alignToTangent, &replaceFooters, &addFooters,
                             &supportChoices, &front, &threeD});
    return list;
}

std::vector<const QCommandLineOption*> CliOptions::of(CliOption option) const
{
    switch (option) {
    case CliOption::ObjectDir: return {&objectDir};
    case CliOption::ReplaceFundaments: return {&replaceFundaments};
    case CliOption::AlignToTangent: return {&alignToTangent};
    case CliOption::SizeClasses: {
        std::vector<const QCommandLineOption*> list;
        for (const QCommandLineOption& sizeClass : sizeClasses)
            list.push_back(&sizeClass);
        return list;
    }
    case CliOption::EarlierFooters: return {&replaceFooters, &addFooters};
    case CliOption::SupportChoices: return {&supportChoices};
    case CliOption::Output: return {&output};
    case CliOption::ModelsDir: return {&modelsDir};
    case CliOption::NolimitsDir: return {&nolimitsDir};
    case CliOption::Front: return {&front};
    case CliOption::ThreeD: return {&threeD};
    }
    return {};
}

void setUpParser(QCommandLineParser& parser, const CliOptions& options, const QString& commandNames)
{
    parser.setApplicationDescription(
        "Inspects NoLimits Coaster track files and places footer models on their supports.");
    for (const QCommandLineOption* option : options.all())
        parser.addOption(*option);
    parser.addPositionalArgument("command", commandNames + QLatin1Char('.'));
    parser.addPositionalArgument("track", "The track file (.nltrack); - for standard input.");
}

QString optionName(const QCommandLineOption& option) { return option.names().constLast(); }

}  // namespace pw
