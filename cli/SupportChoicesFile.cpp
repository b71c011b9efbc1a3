#include "SupportChoicesFile.h"

#include "qtbridge/VisibleText.h"

#include <QRegularExpression>
#include <QStringList>

#include <limits>
#include <optional>

namespace pw {

namespace {

// "none, small, medium, large, xlarge or xxlarge".
QString choiceWords()
{
    QStringList words{QLatin1String(noFooterWord)};
    for (const SizeClass& row : sizeClasses)
        words << QLatin1String(row.name);
    const QString last = words.takeLast();
    return words.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

std::optional<SupportChoice> choiceOf(const QString& word)
{
    if (word == QLatin1String(noFooterWord))
        return SupportChoice::noFooter();
    for (const TubeSizeClass sizeClass : allSizeClasses)
        if (word == QLatin1String(sizeClassRow(sizeClass).name))
            return SupportChoice::modelOf(sizeClass);
    return std::nullopt;
}

// Plain digits up to the largest index a track can hold; no sign, no blanks.
std::optional<std::int32_t> indexOf(const QString& word)
{
    if (word.isEmpty() || word.size() > 10)
        return std::nullopt;
    for (const QChar c : word)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 value = word.toLongLong();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::variant<ChoicesFile, ChoicesFileProblem> parseChoicesFile(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    ChoicesFile file;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        QString line = lines[number - 1];
        if (const qsizetype comment = line.indexOf(QLatin1Char('#')); comment >= 0)
            line.truncate(comment);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringList words = line.trimmed().split(blanks, Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const std::optional<std::int32_t> index =
            words.size() == 2 ? indexOf(words[0]) : std::nullopt;
        const std::optional<SupportChoice> choice =
            words.size() == 2 ? choiceOf(words[1]) : std::nullopt;
        if (!index || !choice) {
            // A file of something else may have lines of any length.
            QString shown = line.trimmed();
            if (shown.size() > 40)
                shown = shown.left(40) + QStringLiteral("...");
            return ChoicesFileProblem{number,
                                      QStringLiteral("expected a fundament index and %1, not '%2'")
                                          .arg(choiceWords(), visibleText(shown))};
        }
        if (const auto earlier = file.lines.find(*index); earlier != file.lines.end())
            return ChoicesFileProblem{number,
                                      QStringLiteral("support %1 is chosen for on line %2 already")
                                          .arg(*index)
                                          .arg(earlier->second)};
        file.supports.set(*index, *choice);
        file.lines.emplace(*index, number);
    }
    return file;
}

}  // namespace pw
