#include "window/form1.h"

#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "platform/text_conversion.h"
#include "sketch_lines.h"
#include "window/canvas_view.h"
#include "window/memory_line.h"
#include "window/sign_preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using generation::RowWindow;

struct ControlRow {
    const char* name;
    const char* className;
    const char* caption; // nullptr where the control has none
    int left, top, width, height; // twips
};

// The window as it is designed, in tab order.
const ControlRow kControls[] = {
    {"pic", "window::CanvasView", nullptr, 240, 1320, 18135, 495},
    {"Command1", "window::CaptionButton", "產生程式(電腦有安裝VB6）", 2520, 8040, 1695, 735},
    {"Text1", "QLineEdit", "恭喜發財", 120, 120, 1215, 495},
    {"Text2", "QLineEdit", nullptr, 120, 720, 13215, 495},
    {"Check1", "QCheckBox", "粗體", 240, 2040, 1215, 495},
    {"Check2", "QCheckBox", "斜體", 1800, 2040, 1215, 495},
    {"Option1", "QRadioButton", "新細明體", 3240, 2040, 1215, 495},
    {"Option2", "QRadioButton", "標楷體", 4680, 2040, 1215, 495},
    {"Command5", "window::CaptionButton", "寫入檔案", 5760, 8160, 1215, 495},
    {"Text3", "QPlainTextEdit", "Text3", 120, 2760, 12255, 5295},
    {"Command2", "window::CaptionButton", "複製程式", 4320, 8160, 1215, 495},
    {"Command3", "window::CaptionButton", "產生程式（電腦未安VB6）", 480, 8160, 1935, 495},
};

QString captionOf(QWidget* widget)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return line->text();
    }
    if (auto* panel = qobject_cast<QPlainTextEdit*>(widget)) {
        return panel->toPlainText();
    }
    return {};
}

// Collects the message boxes shown while an action runs and closes each,
// so a test never waits on a modal box.
class MessageBoxCatcher {
public:
    MessageBoxCatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start(10);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(toolFolder.path()).mkdir("bb"));
        form = std::make_unique<window::Form1>(toolFolder.path().toStdString());
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::clipboard()->clear();
    }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // What the builder makes of the window's texts on a canvas of its own.
    std::string expectedSketch(const QString& face, bool bold, RowWindow window)
    {
        platform::QtGlyphCanvas canvas(face);
        canvas.setBold(bold);
        generation::ColumnSampler sampler(canvas);
        generation::PanelSketchBuilder builder(sampler);
        return builder.buildPanelSketch(platform::toU16(form->title()), platform::toU16(form->message()), window).text;
    }

    std::string panel() const { return form->panelText().toStdString(); }

    QTemporaryDir toolFolder;
    std::unique_ptr<window::Form1> form;
};

TEST_F(WindowTest, ControlsStandWhereTheyAreDesignedInTabOrder)
{
    EXPECT_EQ(form->size(), QSize(1239, 596));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Qelvorn出版qelvorn.example"));
    QWidget* previous = nullptr;
    for (const auto& row : kControls) {
        SCOPED_TRACE(row.name);
        auto* widget = form->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), row.className);
        EXPECT_EQ(widget->geometry(), QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
        if (row.caption) {
            EXPECT_EQ(captionOf(widget), QString::fromUtf8(row.caption));
        }
        EXPECT_NE(widget->focusPolicy() & Qt::TabFocus, 0);
        if (previous) {
            // Skip the widgets inside a control, such as the panel's viewport.
            QWidget* next = previous->nextInFocusChain();
            while (next->parentWidget() != form.get()) {
                next = next->nextInFocusChain();
            }
            EXPECT_EQ(next->objectName().toStdString(), row.name)
                << "after " << previous->objectName().toStdString();
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        }
        previous = widget;
    }
    EXPECT_EQ(form->Text2->text(), platform::fromU16(std::u16string(generation::kDefaultMessage)));
    EXPECT_FALSE(form->Check1->isChecked());
    EXPECT_FALSE(form->Check2->isChecked());
    EXPECT_TRUE(form->Option1->isChecked());
    EXPECT_FALSE(form->Option2->isChecked());
    EXPECT_EQ(form->Command5->toolTip(), QStringLiteral("請開啟程式所在資料夾的bb.txt"));
    EXPECT_EQ(form->Command1->geometry().top(), form->Text3->geometry().bottom()); // one pixel shared
}

TEST_F(WindowTest, FontsScrollBarsAndCanvasAreAsDesigned)
{
    EXPECT_EQ(QFontInfo(form->Text1->font()).family(), QStringLiteral("AR PL UKai TW"));
    EXPECT_EQ(form->Text1->font().pointSize(), 9);
    EXPECT_EQ(form->Text2->font(), form->Text1->font());
    EXPECT_EQ(QFontInfo(form->Text3->font()).family(), QStringLiteral("AR PL UMing TW"));
    EXPECT_EQ(form->Text3->font().pointSize(), 12);
    EXPECT_EQ(form->Text3->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form->Text3->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->Text3->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->pic->contentsRect(), QRect(2, 2, 1205, 29));
    EXPECT_EQ(form->pic->frameShadow(), QFrame::Sunken);
    // Nothing is drawn at start: the picture box shows a blank canvas.
    const QImage shown = form->pic->grab().toImage().copy(2, 2, 1205, 29).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(600, 14), 0xFFD4D0C8);
}

TEST_F(WindowTest, ControlsStayPutWhenTheWindowIsResized)
{
    std::vector<QRect> before;
    for (const auto& row : kControls) {
        before.push_back(form->findChild<QWidget*>(QString::fromLatin1(row.name))->geometry());
    }
    form->resize(500, 300);
    QApplication::processEvents();
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        EXPECT_EQ(form->findChild<QWidget*>(QString::fromLatin1(kControls[i].name))->geometry(), before[i]);
    }
}

TEST_F(WindowTest, TabKeyWalksTheControlsInOrder)
{
    // Of the two options only the selected one is a tab stop; the arrow keys
    // move between them.
    form->pic->setFocus();
    for (std::size_t i = 1; i < std::size(kControls); ++i) {
        if (std::string_view(kControls[i].name) == "Option2") {
            continue;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), kControls[i].name);
    }
}

TEST_F(WindowTest, GenerateButtonsShareTheMessageAndDifferInTheTitleRows)
{
    click(form->Command3);
    const std::string lowered = panel();
    EXPECT_EQ(lowered, expectedSketch(QStringLiteral("新細明體"), false, RowWindow::lowered()));
    click(form->Command1);
    const std::string standard = panel();
    EXPECT_EQ(standard, expectedSketch(QStringLiteral("新細明體"), false, RowWindow::standard()));

    const auto standardLines = tests::crLfLines(QByteArray::fromStdString(standard));
    const auto loweredLines = tests::crLfLines(QByteArray::fromStdString(lowered));
    ASSERT_EQ(standardLines.size(), loweredLines.size());
    EXPECT_NE(standardLines[4], loweredLines[4]);
    for (qsizetype i = 5; i < standardLines.size(); ++i) {
        ASSERT_EQ(standardLines[i], loweredLines[i]) << "line " << i;
    }
    // The picture box shows what was drawn last: the message.
    const QImage shown = form->pic->grab().toImage().copy(2, 2, 1205, 29).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, form->canvas().image());
}

TEST_F(WindowTest, CopyPutsThePanelOnTheClipboardWithCrLf)
{
    click(form->Command2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Text3"));

    click(form->Command1);
    click(form->Command2);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), panel());
    EXPECT_NE(QApplication::clipboard()->text().indexOf(QStringLiteral("};\r\nunsigned int slen=")), -1);

    // Hand edits are copied too, with their line ends made CR LF.
    form->Text3->clear();
    QTest::keyClicks(form->Text3, QStringLiteral("ab"));
    QTest::keyClick(form->Text3, Qt::Key_Return);
    QTest::keyClicks(form->Text3, QStringLiteral("cd"));
    click(form->Command2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ab\r\ncd"));
}

TEST_F(WindowTest, StylesTurnOffWhenUntickedAndFacesSwitchBack)
{
    click(form->Command1);
    const std::string plain = panel();
    EXPECT_EQ(plain, expectedSketch(QStringLiteral("新細明體"), false, RowWindow::standard()));

    click(form->Check1);
    click(form->Command1);
    const std::string bold = panel();
    EXPECT_EQ(bold, expectedSketch(QStringLiteral("新細明體"), true, RowWindow::standard()));
    click(form->Check1);
    click(form->Command1);
    EXPECT_EQ(panel(), plain);

    QTest::keyClick(form->Check2, Qt::Key_Space);
    click(form->Command1);
    EXPECT_NE(panel(), plain);
    QTest::keyClick(form->Check2, Qt::Key_Space);
    click(form->Command1);
    EXPECT_EQ(panel(), plain);

    click(form->Option2);
    click(form->Command1);
    EXPECT_EQ(panel(), expectedSketch(QStringLiteral("標楷體"), false, RowWindow::standard()));
    click(form->Option1);
    click(form->Command1);
    EXPECT_EQ(panel(), plain);
}

TEST_F(WindowTest, WriteButtonWritesTheFileAndLeavesThePanel)
{
    MessageBoxCatcher boxes;
    click(form->Command5);
    QFile file(toolFolder.filePath("bb/bb.ino"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_NE(file.readAll().indexOf("slen= 1192;"), -1);
    EXPECT_EQ(form->Text3->toPlainText(), QStringLiteral("Text3"));
    QTest::qWait(50);
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST_F(WindowTest, FailureShowsOneBoxAndKeepsTheWindowAsItWas)
{
    ASSERT_TRUE(QDir(toolFolder.filePath("bb")).removeRecursively());
    QTest::keyClicks(form->Text1, QStringLiteral("2027"));
    QTest::keyClicks(form->Text2, QStringLiteral(" end"));
    form->Text3->setPlainText(QStringLiteral("my hand edits"));
    const QString title = form->Text1->text();
    const QString message = form->Text2->text();

    MessageBoxCatcher boxes;
    click(form->Command5);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("Error 76: "))) << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[0].contains(QDir::toNativeSeparators(toolFolder.filePath("bb"))));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Text1->text(), title);
    EXPECT_EQ(form->Text2->text(), message);
    EXPECT_EQ(form->Text3->toPlainText(), QStringLiteral("my hand edits"));

    // The window goes on working after the failure.
    click(form->Command1);
    EXPECT_NE(form->panelText().indexOf(QStringLiteral("unsigned int slen=")), -1);
}

TEST_F(WindowTest, PreviewPlaysTheGeneratedSketchAndPausesOnAClick)
{
    EXPECT_FALSE(form->preview->animation().has_value());
    click(form->Command1);
    ASSERT_TRUE(form->preview->animation().has_value());
    EXPECT_FALSE(form->preview->paused());
    QTest::mouseClick(form->preview, Qt::LeftButton);
    ASSERT_TRUE(form->preview->paused());

    const std::size_t index = form->preview->frameIndex();
    const auto frame = form->preview->animation()->frame(index);
    const QImage shown = form->preview->grab().toImage();
    int lit = 0;
    for (int column = 0; column < 64; ++column) {
        for (int row = 0; row < 16; ++row) {
            const QColor led = shown.pixelColor(window::SignPreview::ledCentre(column, row));
            const bool shownLit = led.red() > 200;
            ASSERT_EQ(shownLit, generation::SignAnimation::lit(frame, column, row))
                << "frame " << index << " column " << column << " row " << row;
            lit += shownLit;
        }
    }
    // The click lands within the first blink (101 frames, two thirds of a
    // second), so the title is on show and the LEDs compared above are not
    // all dark.
    ASSERT_LT(index, 101u);
    EXPECT_GT(lit, 100);

    QTest::qWait(30);
    EXPECT_EQ(form->preview->frameIndex(), index);
    QTest::mouseClick(form->preview, Qt::LeftButton);
    EXPECT_FALSE(form->preview->paused());
    QTest::qWait(60);
    EXPECT_GT(form->preview->frameIndex(), index);
}

TEST_F(WindowTest, MemoryLineTurnsRedWhenTheSketchCannotFit)
{
    click(form->Command3);
    EXPECT_TRUE(form->memoryLine->text().contains(QStringLiteral("3105 of 8192 bytes"))) << form->memoryLine->text().toStdString();
    EXPECT_TRUE(form->memoryLine->styleSheet().isEmpty());

    form->Text2->setText(QString(400, QChar(u'字')));
    click(form->Command1);
    EXPECT_TRUE(form->memoryLine->text().startsWith(QStringLiteral("Too big"))) << form->memoryLine->text().toStdString();
    EXPECT_TRUE(form->memoryLine->styleSheet().contains(QStringLiteral("#c00000")));
    EXPECT_TRUE(form->memoryLine->text().contains(QStringLiteral("up to 279 characters")));
}

TEST_F(WindowTest, PreviewTakesTheFreeSpaceWithoutMovingAnything)
{
    const QRect preview = form->preview->geometry();
    const QRect line = form->memoryLine->geometry();
    EXPECT_GT(preview.left(), form->Text3->geometry().right());
    EXPECT_LE(preview.right(), form->width() - 1);
    EXPECT_LE(line.bottom(), form->height() - 1);
    for (const auto& row : kControls) {
        const QRect control = form->findChild<QWidget*>(QString::fromLatin1(row.name))->geometry();
        EXPECT_FALSE(control.intersects(preview)) << row.name;
        EXPECT_FALSE(control.intersects(line)) << row.name;
    }
}

} // namespace
