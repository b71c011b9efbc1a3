#include "CliTestSupport.h"
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/InfoCommand.h"
#include "cli/TrackJson.h"
#include "tracklib/TrackFile.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

namespace pw {
namespace {

const QString usageLine = cliUsageLine();

const QString richSummary = QStringLiteral(
    "Info text: Rich test track\n"
    "Vertices: 6\n"
    "Segments: 5\n"
    "Fundaments: 4\n"
    "Rail connectors: 5 (in 5 groups)\n"
    "Free nodes: 3\n"
    "Tubes: 8 (small 1, medium 1, large 1, x-large 1, xx-large 1, no class 3; 6 on a fundament)\n"
    "Catwalks: 3\n"
    "Scenery items: 2\n"
    "Scenery objects: 2\n"
    "Terrain: 4 columns x 3 rows\n");

TEST(CommandLine, UsageErrorsExitWithTwoAndTheUsageLine)
{
    const QStringList generate{"generate",       "a.nltrack", "-o",           "b.nltrack",
                               "--nolimits-dir", "n",         "--models-dir", "m"};
    const QString choices =
        QStringLiteral(" (own, default, default:PCT with PCT 10 to 1000, none)");
    const struct {
        QStringList arguments;
        QString problem;
    } rows[] = {
        {{}, "no command given"},
        {{"inspect", "a.nltrack"}, "unknown command 'inspect'"},
        {{"info"}, "info needs a TRACK"},
        {{"info", "a.nltrack", "b.nltrack"}, "unexpected argument 'b.nltrack'"},
        {{"info", "a.nltrack", "--frobnicate"}, "Unknown option 'frobnicate'."},
        {{"dump", "a.nltrack", "-o", "x.json"}, "dump takes no --output"},
        {{"info", "a.nltrack", "--no-align"}, "info takes no --no-align"},
        {{"plan", "a.nltrack"}, "plan needs --output"},
        {{"plan", "a.nltrack", "-o", "p.svg", "--small", "own"}, "plan takes no --small"},
        {{"plan", "a.nltrack", "-o", "p.svg", "--3d"}, "plan --3d writes .png, not 'p.svg'"},
        {{"plan", "a.nltrack", "-o", "p.png", "--3d", "--front"},
         "plan takes --3d or --front, not both"},
        {generate + QStringList{"--3d"}, "generate takes no --3d"},
        {{"info", "a.nltrack", "--3d"}, "info takes no --3d"},
        {{"generate", "a.nltrack", "-o"}, "Missing value after '-o'."},
        {generate.mid(0, 6), "generate needs --models-dir"},
        {generate.mid(0, 4) + generate.mid(6), "generate needs --nolimits-dir"},
        {generate.mid(0, 2) + generate.mid(4), "generate needs --output"},
        {generate + QStringList{"--medium", "big"}, "--medium: bad choice 'big'" + choices},
        {generate + QStringList{"--xxlarge", "default:5"},
         "--xxlarge: bad choice 'default:5'" + choices},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = runCli(row.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err, "plinthwright-cli: " + row.problem + '\n' + usageLine + '\n');
    }
}

// help2man makes the man page from --help: the synopsis from the "Usage:" and "  or:" lines, a
// subsection from each line that ends in a colon, the examples from the "$ " lines after
// "Examples:". The synopsis holds the forms the usage line of an error shows side by side.
TEST(CommandLine, HelpIsLaidOutForHelp2man)
{
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.err.isEmpty());
    ASSERT_TRUE(help.out.endsWith('\n'));
    const QStringList lines = help.out.chopped(1).split('\n');

    QStringList forms;
    for (const QString& line : lines) {
        if (line.startsWith("Usage: plinthwright-cli ") ||
            line.startsWith("  or:  plinthwright-cli "))
            forms << line.section(QLatin1String("plinthwright-cli "), 1);
    }
    EXPECT_EQ(forms.size(), 4);
    EXPECT_EQ("Usage: plinthwright-cli " + forms.join(" | "), usageLine);
    EXPECT_EQ(lines.mid(0, forms.size() + 1).last(), "");

    QStringList headings;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith(':') && !lines[i].startsWith(' ')) {
            headings << lines[i];
            EXPECT_EQ(lines[i - 1], "") << lines[i].toStdString();
        }
    }
    EXPECT_EQ(headings,
              (QStringList{"Commands:", "Options:", "Choices file:", "Exit status:", "Examples:"}));
    const qsizetype examples = lines.indexOf("Examples:");
    ASSERT_GT(examples, 0);
    for (const QString& example : lines.mid(examples + 1))
        EXPECT_TRUE(example.startsWith("  $ plinthwright-cli ")) << example.toStdString();
    EXPECT_TRUE(help.out.contains("\n\nOptions:\n  -h, --help "));
    EXPECT_FALSE(help.out.contains("Arguments:"));

    EXPECT_EQ(runCli({"--version"}).out,
              QStringLiteral("plinthwright-cli " PLINTHWRIGHT_VERSION "\n"));
}

TEST(CommandLine, AnUnreadableTrackFailsNamingTheFileAndWritesNothing)
{
    TempFiles files;
    const QString missing = files.path("gone.nltrack");
    const QString svg = files.path("plan.svg");
    for (const QStringList& arguments : {QStringList{"info", missing},
                                         QStringList{"dump", missing},
                                         {"plan", missing, "-o", svg}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CliRun run = runCli(arguments);
        expectFailure(run, missing);
        EXPECT_EQ(run.err.count(missing), 1);
    }
    EXPECT_FALSE(QFileInfo::exists(svg));
}

TEST(InfoCommand, SummarisesTheTrackAndWhatTheReaderPassedOver)
{
    Track track = makeNewTrack();
    track.infoText =
        "Gr\xFC\xDF"
        "e";  // shown as Latin-1
    const QString summary = QString::fromUtf8(
        "Info text: Gr\u00fc\u00dfe\nVertices: 1\nSegments: 0\nFundaments: 0\n"
        "Rail connectors: 0 (in 0 groups)\nFree nodes: 0\n"
        "Tubes: 0 (small 0, medium 0, large 0, x-large 0, xx-large 0, no class 0; 0 on a "
        "fundament)\n"
        "Catwalks: 0\nScenery items: 0\nScenery objects: 0\nTerrain: none\n");
    const struct {
        std::size_t bytesSkipped;
        int chunksCutShort;
        int negativeTextLengths;
        const char* passedOver;
    } rows[] = {{0, 0, 0, ""},
                {12, 1, 0, "Passed over: 12 bytes skipped; chunks cut short: 1\n"},
                {0, 1, 0, "Passed over: 0 bytes skipped; chunks cut short: 1\n"},
                {4, 0, 0, "Passed over: 4 bytes skipped; chunks cut short: 0\n"},
                {0, 1, 2, "Passed over: 0 bytes skipped; chunks cut short: 3\n"},
                {0, 0, 1, "Passed over: 0 bytes skipped; chunks cut short: 1\n"}};
    for (const auto& row : rows) {
        ReadDiagnostics diagnostics;
        diagnostics.bytesSkipped = row.bytesSkipped;
        diagnostics.chunksCutShort = row.chunksCutShort;
        diagnostics.negativeTextLengths = row.negativeTextLengths;
        EXPECT_EQ(trackSummary(track, diagnostics), summary + row.passedOver);
    }
    // Texts that saving cuts at a zero byte are damage too.
    ReadDiagnostics cutTexts;
    cutTexts.textsCutAtZero = 2;
    EXPECT_EQ(trackSummary(track, cutTexts),
              summary +
                  "Passed over: 0 bytes skipped; chunks cut short: 0; texts cut at a zero "
                  "byte: 2\n");
}

TEST(InfoCommand, ShowsControlCharactersOfTheInfoTextEscapedOnItsOneLine)
{
    Track track = makeNewTrack();
    // A text that would forge a line and clear the screen, printed raw.
    track.infoText = std::string("a\nVertices: 99\x1b[2J\r\tb\\c\x7f\x9b\xe9\0z", 28);
    const QString summary = trackSummary(track, ReadDiagnostics{});
    const QString firstLine = summary.section('\n', 0, 0);
    EXPECT_EQ(firstLine,
              QString::fromUtf8("Info text: a\\nVertices: 99\\x1b[2J\\r\\tb\\\\c\\x7f\\x9b"
                                "\u00e9\\x00z"));
    EXPECT_EQ(summary.count('\n'), 11);
    EXPECT_EQ(summary.section('\n', 1, 1), "Vertices: 1");
}

// The real program: exit codes, and which stream its text goes to, as UTF-8.
TEST(Executable, ExitCodesAndStreams)
{
    TempFiles files;
    const QString rich = files.track("rich.nltrack");
    const QString missing = files.path("gone.nltrack");
    const QString notes = files.path("notes.nltrack");
    writeFile(notes, "Lift hill: 40 m, then the first drop.\n");
    const struct {
        QStringList arguments;
        int exitCode;
        QString out;  // what stdout begins with; empty: stdout is empty; likewise stderr
        QString err;
    } rows[] = {
        {{"--version"}, 0, "plinthwright-cli " PLINTHWRIGHT_VERSION "\n", ""},
        {{"-h"}, 0, "Usage: plinthwright-cli info TRACK\n", ""},
        {{"generate", "a.nltrack", "--bogus"},
         2,
         "",
         "plinthwright-cli: Unknown option 'bogus'.\n" + usageLine + '\n'},
        {{"info", missing}, 1, "", "plinthwright-cli: "},
        // A summary of nothing would pass other bytes off as an empty track.
        {{"info", notes},
         1,
         "",
         "plinthwright-cli: Cannot open \"" + notes + "\": it holds no track data\n"},
        // The child counts and the custom chunk pair of a saved file are nothing passed over.
        {{"info", rich}, 0, richSummary, ""},
        {{"dump", rich}, 0, QString::fromStdString(trackToJson(makeRichTrack())), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const CliRun run = runProgram(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.out.left(row.out.size()), row.out);
        EXPECT_EQ(run.out.isEmpty(), row.out.isEmpty());
        EXPECT_EQ(run.err.left(row.err.size()), row.err);
        EXPECT_EQ(run.err.isEmpty(), row.err.isEmpty());
    }
    // Nothing follows the summary of a file with nothing passed over.
    EXPECT_EQ(runProgram({"info", rich}).out, richSummary);
}

// A track piped in, as "-" or through a device name, reads as the file itself does.
TEST(Executable, ReadsATrackFromAPipe)
{
    TempFiles files;
    const QString rich = files.track("rich.nltrack");
    const QByteArray bytes = fileBytes(rich);
    QStringList inputs{"-"};
#ifdef __linux__
    inputs << "/dev/stdin";
#endif
    for (const QString& input : inputs) {
        for (const char* command : {"info", "dump"}) {
            SCOPED_TRACE(input.toStdString() + " " + command);
            const CliRun piped = runProgram({command, input}, bytes);
            EXPECT_EQ(piped.exitCode, 0);
            EXPECT_EQ(piped.out, runProgram({command, rich}).out);
            EXPECT_EQ(piped.err, QString());
        }
    }
    // Standard input has no name to give the object directory.
    const CliRun run = runCli({"generate", "-", "-o", files.path("out.nltrack"), "--nolimits-dir",
                               files.path(""), "--models-dir", files.path("")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(
        run.err.startsWith("plinthwright-cli: generate needs --object-dir to read standard "
                           "input\n"))
        << run.err.toStdString();
    // Nor is an empty name one: the models would go straight into objects.
    const CliRun empty = runProgram({"generate", "-", "--object-dir", "", "-o",
                                     files.path("out.nltrack"), "--nolimits-dir", files.path(""),
                                     "--models-dir", files.path("")},
                                    bytes);
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err,
              "plinthwright-cli: no object directory name is given: the footer models go into a "
              "directory of their own inside the simulator's objects directory\n");
    EXPECT_FALSE(QFileInfo::exists(files.path("objects")));
}

// AddressSanitizer reserves more address space than any limit this test could set.
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
TEST(CommandLine, RunningOutOfMemoryEndsWithAnErrorInsteadOfAnAbort)
{
    // 400,000 empty segments: 15 MB of file, about 120 MB of record.
    std::vector<std::uint8_t> file = encodeTrack(makeNewTrack());
    const char* tag = "SEGM";
    const auto at = static_cast<std::size_t>(std::search(file.begin(), file.end(), tag, tag + 4) -
                                             file.begin());
    ASSERT_LT(at, file.size());
    const std::uint32_t count = 400000;
    for (int i = 0; i < 4; ++i)
        file[at + 8 + i] = static_cast<std::uint8_t>(count >> (24 - 8 * i));
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(at + 29), std::size_t{count} * 37, 0);
    TempFiles files;
    const QString path = files.path("many-segments.nltrack");
    writeFile(path, QByteArray(reinterpret_cast<const char*>(file.data()),
                               static_cast<qsizetype>(file.size())));

    for (const char* command : {"dump", "info"}) {
        SCOPED_TRACE(command);
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            // Room for 64 MB more than the process holds now.
            long pages = 0;
            std::FILE* statm = std::fopen("/proc/self/statm", "r");
            if (statm == nullptr || std::fscanf(statm, "%ld", &pages) != 1)
                _exit(3);
            std::fclose(statm);
            const rlim_t room = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (64 << 20);
            const rlimit limit{room, room};
            if (setrlimit(RLIMIT_AS, &limit) != 0)
                _exit(3);
            QString out;
            QString err;
            QTextStream outStream(&out);
            QTextStream errStream(&err);
            const int code =
                runCommandLine({"plinthwright-cli", command, path}, outStream, errStream);
            errStream.flush();
            _exit(code == 1 && err.contains("not enough memory") && err.count('\n') == 1
                      ? 0
                      : 10 + code);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}
#endif

}  // namespace
}  // namespace pw
