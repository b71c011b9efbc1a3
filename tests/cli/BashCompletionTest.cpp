#include "cli/BashCompletion.h"
#include "footers/SizeClasses.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(BashCompletion, FillsThePlaceholdersFromTheTablesAndLeavesBashsOwnSigns)
{
    QStringList classOptions;
    for (const SizeClass& row : sizeClasses)
        classOptions << QStringLiteral("--") + QLatin1String(row.name);
    const struct {
        QString script;
        QString completion;
    } rows[] = {
        {"0) w='@COMMANDS@' ;;", "0) w='info dump plan generate' ;;"},
        {"@SIZE_CLASS_OPTIONS@)", classOptions.join(" | ") + ")"},
        {"-W '@SIZE_CLASS_CHOICES@'", "-W 'own default default: none'"},
        {"@OUTPUT_OPTION@) @DIRECTORY_OPTIONS@) @NAME_OPTIONS@)",
         "-o | --output) --nolimits-dir | --models-dir) --object-dir)"},
        {"@OUTPUT_FILES@", "                plan) _filedir '@(svg|png)' ;;"},
        {"${#COMPREPLY[@]} '@(a|b)' a@b.c", "${#COMPREPLY[@]} '@(a|b)' a@b.c"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(bashCompletion(row.script), row.completion) << row.script.toStdString();
    EXPECT_EQ(bashCompletion("@OUTPUT_FILE@"), std::nullopt);
}

}  // namespace
}  // namespace pw
