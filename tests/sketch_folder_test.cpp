#include "platform/sketch_folder.h"

#include "fake_canvas.h"
#include "generation/sketch_error.h"
#include "generation/sketch_file_writer.h"
#include "platform/ide_sketch_file.h"
#include "platform/sketch_file_opener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

using generation::SketchError;
using generation::SketchFileWriter;
using platform::SketchFolder;

std::string native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

TEST(SketchFolderTest, InstalledProgramsUseTheSketchbookAndOthersTheirOwnFolder)
{
    QTemporaryDir root;
    const QString home = root.filePath("home");
    QDir(root.path()).mkpath("usr/bin");
    QDir(root.path()).mkpath("unpacked/bin");
    QDir(root.path()).mkpath("build/app");
    QDir(root.path()).mkpath("usr/share/applications");
    QFile(root.filePath("usr/share/applications/ledmarquee.desktop")).open(QIODevice::WriteOnly);

    const SketchFolder installed(root.filePath("usr/bin"), home);
    EXPECT_TRUE(installed.installed());
    EXPECT_EQ(installed.toolFolder(), native(home + "/Arduino"));

    for (const char* portable : {"unpacked/bin", "build/app"}) {
        const SketchFolder folder(root.filePath(portable), home);
        EXPECT_FALSE(folder.installed()) << portable;
        EXPECT_EQ(folder.toolFolder(), native(root.filePath(portable))) << portable;
    }
}

TEST(SketchFolderTest, TheSketchbookGetsItsBbFolderMadeButNoOtherFolderDoes)
{
    QTemporaryDir root;
    const QString sketchbook = root.filePath("home/Arduino");
    platform::SketchFileOpener opener(sketchbook);
    tests::FakeCanvas canvas;
    generation::ColumnSampler sampler(canvas);

    SketchFileWriter installed(sampler, opener, SketchFileWriter::sketchFilePath(native(sketchbook)));
    installed.writeSketchFile(u"t", u"m");
    EXPECT_GT(QFile(sketchbook + "/bb/bb.ino").size(), 0);

    SketchFileWriter portable(sampler, opener, SketchFileWriter::sketchFilePath(native(root.filePath("tool"))));
    try {
        portable.writeSketchFile(u"t", u"m");
        FAIL() << "a missing bb folder beside the program was made";
    } catch (const SketchError& error) {
        EXPECT_EQ(error.number(), SketchError::kPathNotFound);
        EXPECT_NE(error.description().find(native(root.filePath("tool/bb"))), std::string::npos) << error.description();
    }
    EXPECT_FALSE(QFileInfo::exists(root.filePath("tool")));
}

// A sketch saved for the IDE where its folder cannot be made names the
// folder that stood in the way and the system's reason.
TEST(IdeSketchFileTest, AFolderThatCannotBeMadeKeepsItsPathAndReason)
{
    QTemporaryDir root;
    ASSERT_TRUE(QFile(root.filePath("taken")).open(QIODevice::WriteOnly));
    const QString path = platform::IdeSketchFile::pathFor(root.filePath("taken/sign.ino"));
    try {
        platform::IdeSketchFile::save(path, QStringLiteral("void setup() {}"));
        FAIL() << "saved under a file";
    } catch (const SketchError& error) {
        EXPECT_EQ(error.number(), SketchError::kPathAccess);
        EXPECT_EQ(error.osError(), ENOTDIR);
        EXPECT_EQ(error.subject(), native(root.filePath("taken")));
    }
}

} // namespace
