// What the command-line tool does when the machine or the input is not
// friendly: writes over the file-size limit, targets that are not regular
// files, unreadable and endless message files.

#include "cli_process.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

using tests::CliResult;
using tests::runCli;

using tests::readAll;

// Runs the tool with a resource limit set in the child alone. For the
// file-size limit SIGXFSZ is left at its default, so the tool has to ignore it
// itself to report the failure instead of dying of the signal.
CliResult runCliWithLimit(decltype(RLIMIT_AS) resource, rlim_t limit, const QStringList& arguments, const QByteArray& input = {})
{
    return runCli(arguments, input, QStringLiteral(LEDMARQUEE_CLI), [resource, limit] {
        const rlimit low{limit, limit};
        setrlimit(resource, &low);
    });
}

struct OutputKind {
    const char* name;
    QStringList options;
};

void PrintTo(const OutputKind& kind, std::ostream* out)
{
    *out << kind.name;
}

class FileSizeLimitTest : public testing::TestWithParam<OutputKind> {};

TEST_P(FileSizeLimitTest, WriteOverTheLimitFailsAndKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sketch.ino");
    ASSERT_EQ(runCli(GetParam().options + QStringList{"--message", "earlier", "--output", path}).exitCode, 0);
    const QByteArray earlier = readAll(path);
    ASSERT_GT(earlier.size(), 1024);

    const auto result = runCliWithLimit(RLIMIT_FSIZE, 1024, GetParam().options + QStringList{"--message", "later", "--output", path});
    EXPECT_EQ(result.exitCode, 1) << result.err.constData();
    EXPECT_TRUE(result.err.startsWith("ledmarquee-cli: error 57: ")) << result.err.constData();
    EXPECT_NE(result.err.indexOf(path.toUtf8()), -1) << result.err.constData();
    EXPECT_EQ(readAll(path), earlier);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"sketch.ino"});
}

INSTANTIATE_TEST_SUITE_P(Outputs, FileSizeLimitTest,
                         testing::Values(OutputKind{"PanelSketch", {}}, OutputKind{"FileSketch", {"--file-sketch"}}),
                         [](const testing::TestParamInfo<OutputKind>& kind) { return std::string(kind.param.name); });

TEST(CliOutputTargetTest, PipesAndLinksAreWrittenThroughAndDashIsStandardOutput)
{
    QTemporaryDir dir;
    const auto expected = runCli({"--title", "x"});
    ASSERT_EQ(expected.exitCode, 0);

    // A named pipe gets the bytes and is still a pipe afterwards.
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto throughPipe = runCli({"-c", "cat \"$1\" > \"$2\" & \"$0\" --title x --output \"$1\"; s=$?; wait; exit $s",
                                     QStringLiteral(LEDMARQUEE_CLI), fifo, dir.filePath("from-fifo")},
                                    {}, QStringLiteral("/bin/sh"));
    EXPECT_EQ(throughPipe.exitCode, 0) << throughPipe.err.constData();
    EXPECT_EQ(readAll(dir.filePath("from-fifo")), expected.out);
    struct stat node {};
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &node), 0);
    EXPECT_TRUE(S_ISFIFO(node.st_mode));

    // A link to a regular file stays a link; its target is replaced.
    const QString target = dir.filePath("target.ino");
    const QString link = dir.filePath("link.ino");
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(target, link));
    for (const QStringList& kind : {QStringList{}, QStringList{"--file-sketch"}}) {
        EXPECT_EQ(runCli(kind + QStringList{"--title", "x", "--output", link}).exitCode, 0);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(readAll(target), runCli(kind + QStringList{"--title", "x"}).out);
    }

    // "-" is standard output for both sketches, run where a file "-" could appear.
    for (const QStringList& kind : {QStringList{}, QStringList{"--file-sketch"}}) {
        const auto dash = runCli(QStringList{"-c", "cd \"$1\" && shift && exec \"$0\" \"$@\"",
                                             QStringLiteral(LEDMARQUEE_CLI), dir.path(), "--title", "x", "--output", "-"}
                                     + kind,
                                 {}, QStringLiteral("/bin/sh"));
        EXPECT_EQ(dash.exitCode, 0);
        EXPECT_EQ(dash.out, runCli(kind + QStringList{"--title", "x"}).out);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("-")));
}

// A character device is written into too: a null device of the test's own,
// never the system's, which a faulty build run as root would replace.
TEST(CliOutputTargetTest, ADeviceIsWrittenThrough)
{
    QTemporaryDir dir;
    const QString device = dir.filePath("null");
    if (mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        GTEST_SKIP() << "making a device needs root (CI runs as root): " << std::strerror(errno);
    }
    EXPECT_EQ(runCli({"--output", device}).exitCode, 0);
    struct stat node {};
    ASSERT_EQ(stat(QFile::encodeName(device).constData(), &node), 0);
    EXPECT_TRUE(S_ISCHR(node.st_mode));
}

TEST(CliInputTest, MessageFilesAreReadWithCareAndArgumentsAsTyped)
{
    QTemporaryDir dir;
    const QString sink = dir.filePath("out.ino");

    // A read that fails part-way names the file and the system's reason.
    const auto unreadable = runCli({"--message-file", "/proc/self/mem"});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_TRUE(unreadable.err.startsWith("ledmarquee-cli: error 57: ")) << unreadable.err.constData();
    EXPECT_NE(unreadable.err.indexOf("/proc/self/mem"), -1);
    EXPECT_TRUE(unreadable.out.isEmpty());
    // A sketch file read keeps the system's reason and its kind, too.
    const auto folder = runCli({"--simulate", "1", "--sketch", dir.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.err.startsWith("ledmarquee-cli: error 75: ")) << folder.err.constData();
    EXPECT_NE(folder.err.indexOf("(Is a directory)"), -1) << folder.err.constData();

    // An endless source is refused at the limit, not read until memory runs out.
    const auto endless = runCli({"--message-file", "/dev/zero"});
    EXPECT_EQ(endless.exitCode, 2);
    EXPECT_NE(endless.err.indexOf("1000000"), -1) << endless.err.constData();
    // The limit itself is still taken.
    EXPECT_EQ(runCli({"--message-file", "-", "--output", sink}, QByteArray(1000000, 'a') + "\n").exitCode, 0);

    // U+FEFF typed at the start of a message is a character (L = 3); the
    // UTF-8 byte-order mark opening a file is not (L = 2), but a second one is.
    EXPECT_NE(runCli({"--message", QStringLiteral("\uFEFF新年")}).out.indexOf("slen= 299;"), -1);
    EXPECT_NE(runCli({"--message-file", "-"}, "\xEF\xBB\xBF新年\n").out.indexOf("slen= 286;"), -1);
    EXPECT_NE(runCli({"--message-file", "-"}, "\xEF\xBB\xBF\xEF\xBB\xBF新年").out.indexOf("slen= 299;"), -1);
}

TEST(CliInputTest, GiantMessageFitsInASmallAddressSpace)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer reserves its shadow memory beyond any small address-space limit";
#endif
    QTemporaryDir dir;
    const QString sink = dir.filePath("out.ino");
    // A giant message is drawn only as far as the canvas reaches and written
    // as it is made, so it needs far less than the 200 MB it once took to run
    // out of memory (the tool alone maps some 80 MB).
    QByteArray giant;
    for (int i = 0; i < 1000000; ++i) {
        giant += "\xE4\xB8\x80";
    }
    const auto giantRun = runCliWithLimit(RLIMIT_AS, 200 << 20, {"--message-file", "-", "--output", sink}, giant);
    EXPECT_EQ(giantRun.exitCode, 0) << giantRun.err.constData();
}

TEST(CliInputTest, UnknownFaceIsNamedOnStandardErrorAndTheRunGoesOn)
{
    QTemporaryDir dir;
    const QString sink = dir.filePath("out.ino");
    const auto result = runCli({"--face", "NoSuchFace", "--output", sink});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.indexOf("'NoSuchFace' is not installed"), -1) << result.err.constData();
    EXPECT_TRUE(runCli({"--face", "標楷體", "--output", sink}).err.isEmpty());

    const auto help = runCli({"--help"});
    EXPECT_NE(help.out.indexOf("新細明體"), -1);
    EXPECT_NE(help.out.indexOf("標楷體"), -1);
    EXPECT_EQ(help.out.indexOf("--help-all"), -1);
    EXPECT_EQ(runCli({"--help-all"}).exitCode, 2);
}

} // namespace
