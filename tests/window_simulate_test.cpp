#include "board/board_tools.h"
#include "window/form1.h"
#include "window/sign_preview.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The processes this test has started that are still there, zombies included.
int children()
{
    int found = 0;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // pid (name) state ppid ...
        const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
        found += fields.value(2).toInt() == getpid() ? 1 : 0;
    }
    return found;
}

// The simulate button runs the panel as it stands, hand edits included, on
// the real builder and the simulated board: the live sign shows the title
// word typed over, until a generate ends the run and leaves no process.
TEST(WindowSimulateTest, RunsThePanelLiveUntilAGenerate)
{
    if (const QStringList missing = board::BoardTools::missingForCompile(); !missing.isEmpty()) {
        GTEST_SKIP() << "Arduino tools absent: " << missing.join(QLatin1Char(' ')).toStdString();
    }
    QTemporaryDir toolFolder;
    qputenv("XDG_CACHE_HOME", LEDMARQUEE_BOARD_CACHE);
    window::Form1 form(toolFolder.path().toStdString());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* panel = form.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
    auto* generate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* simulate = form.findChild<QPushButton*>(QStringLiteral("simulate"));
    auto* preview = form.findChild<window::SignPreview*>(QStringLiteral("preview"));
    auto* note = form.findChild<QLabel*>(QStringLiteral("signNote"));
    auto* memory = form.findChild<QLabel*>(QStringLiteral("memoryLine"));
    ASSERT_TRUE(panel && generate && simulate && preview && note && memory);

    QTest::mouseClick(generate, Qt::LeftButton);
    QString text = panel->toPlainText();
    const qsizetype title = text.indexOf(QStringLiteral("unsigned int b[]={\n")) + 19;
    text.replace(title, text.indexOf(QLatin1Char(','), title) - title, QStringLiteral(" 12345"));
    panel->setPlainText(text);
    const int children0 = children();

    QTest::mouseClick(simulate, Qt::LeftButton);
    EXPECT_EQ(simulate->text(), QStringLiteral("停止試跑"));
    // Column 0 lights the rows of 12345 (bits 0, 3, 4, 5, 12, 13) and no other.
    const auto showsEditedWord = [&] {
        for (int row = 0; row < 16; ++row) {
            if ((preview->levels()[std::size_t(row)] >= 8) != bool((12345 >> row) & 1)) {
                return false;
            }
        }
        return preview->live();
    };
    for (int waited = 0; !showsEditedWord() && waited < 120000; waited += 50) {
        QTest::qWait(50);
    }
    ASSERT_TRUE(showsEditedWord()) << note->text().toStdString();
    EXPECT_TRUE(note->text().contains(QStringLiteral("K、F"))) << note->text().toStdString();
    EXPECT_TRUE(memory->text().contains(QStringLiteral("實測（avr-size）"))) << memory->text().toStdString();
    EXPECT_EQ(children(), children0 + 1) << "the simulator runs";

    QTest::mouseClick(generate, Qt::LeftButton);
    EXPECT_FALSE(preview->live());
    for (int waited = 0; simulate->text() != QStringLiteral("在模擬看板上試跑") && waited < 5000; waited += 20) {
        QTest::qWait(20);
    }
    EXPECT_EQ(simulate->text(), QStringLiteral("在模擬看板上試跑"));
    EXPECT_FALSE(preview->live());
    EXPECT_FALSE(note->text().contains(QStringLiteral("模擬"))) << "the note is the generated sketch's again";
    EXPECT_EQ(children(), children0) << "the simulator is ended and reaped";
}

} // namespace
