#include "window/form1.h"

#include "cli_process.h"
#include "generation/board_memory.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/picture.h"
#include "generation/wiring_test_sketch.h"
#include "platform/text_conversion.h"
#include "sketch_lines.h"
#include "generation/sketch_error.h"
#include "platform/ide_sketch_file.h"
#include "window/board_controls.h"
#include "window/board_message.h"
#include "window/canvas_view.h"
#include "window/caption_button.h"
#include "window/long_sketch_view.h"
#include "window/memory_line.h"
#include "window/sign_preview.h"
#include "file_bytes.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <gtest/gtest.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using generation::RowWindow;

struct ControlRow {
    const char* name;
    const char* className;
    const char* caption; // nullptr where the control has none
    int left, top, width, height; // twips
};

// The window's designed controls.
const ControlRow kControls[] = {
    {"pic", "window::CanvasView", nullptr, 240, 1320, 18135, 495},
    {"Command1", "window::CaptionButton", "產生程式(電腦有安裝VB6）", 2520, 8040, 1695, 735},
    {"Text1", "window::PictureMarkBox", "恭喜發財", 120, 120, 1215, 495},
    {"Text2", "window::PictureMarkBox", nullptr, 120, 720, 13215, 495},
    {"Check1", "QCheckBox", "粗體", 240, 2040, 1215, 495},
    {"Check2", "QCheckBox", "斜體", 1800, 2040, 1215, 495},
    {"Option1", "QRadioButton", "新細明體", 3240, 2040, 1215, 495},
    {"Option2", "QRadioButton", "標楷體", 4680, 2040, 1215, 495},
    {"Command5", "window::CaptionButton", "寫入檔案", 5760, 8160, 1215, 495},
    {"Text3", "QPlainTextEdit", "Text3", 120, 2760, 12255, 5295},
    {"Command2", "window::CaptionButton", "複製程式", 4320, 8160, 1215, 495},
    {"Command3", "window::CaptionButton", "產生程式（電腦未安VB6）", 480, 8160, 1935, 495},
};

using tests::readAll;

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
        // The last port used is kept in the user's settings: not the tester's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
        form = std::make_unique<window::Form1>(toolFolder.path().toStdString());
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::clipboard()->clear();
        findControls();
    }

    // The window keeps its widgets to itself; tests find them by name.
    template <typename Widget>
    Widget* control(const char* name)
    {
        auto* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void findControls()
    {
        pic = control<window::CanvasView>("pic");
        Command1 = control<QPushButton>("Command1");
        Text1 = control<QLineEdit>("Text1");
        Text2 = control<QLineEdit>("Text2");
        Check1 = control<QCheckBox>("Check1");
        Check2 = control<QCheckBox>("Check2");
        Option1 = control<QRadioButton>("Option1");
        Option2 = control<QRadioButton>("Option2");
        Command5 = control<QPushButton>("Command5");
        Text3 = control<QPlainTextEdit>("Text3");
        Command2 = control<QPushButton>("Command2");
        Command3 = control<QPushButton>("Command3");
        preview = control<window::SignPreview>("preview");
        memoryLine = control<window::MemoryLine>("memoryLine");
        saveAs = control<QPushButton>("saveAs");
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
    QTemporaryDir settingsFolder;
    std::unique_ptr<window::Form1> form;
    window::CanvasView* pic = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QPushButton* Command5 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    window::SignPreview* preview = nullptr;
    window::MemoryLine* memoryLine = nullptr;
    QPushButton* saveAs = nullptr;
};

TEST_F(WindowTest, ControlsStandWhereTheyAreDesignedAndHaveAccessibleNames)
{
    EXPECT_EQ(form->size(), QSize(1239, 596));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Qelvorn出版qelvorn.example"));
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
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_FALSE(button->isDefault());
            EXPECT_FALSE(button->autoDefault());
        }
    }
    // Every control a user can reach has a name a screen reader can say,
    // and the two text boxes are told apart.
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty()
            && !widget->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
        }
    }
    EXPECT_NE(Text1->accessibleName(), Text2->accessibleName());
    EXPECT_EQ(Text2->text(), platform::fromU16(std::u16string(generation::kDefaultMessage)));
    EXPECT_FALSE(Check1->isChecked());
    EXPECT_FALSE(Check2->isChecked());
    EXPECT_TRUE(Option1->isChecked());
    EXPECT_FALSE(Option2->isChecked());
    EXPECT_EQ(Command5->toolTip(), QStringLiteral("請開啟程式所在資料夾的bb.txt"));
    EXPECT_EQ(Command1->geometry().top(), Text3->geometry().bottom()); // one pixel shared
}

TEST_F(WindowTest, FontsScrollBarsAndCanvasAreAsDesigned)
{
    EXPECT_EQ(QFontInfo(Text1->font()).family(), QStringLiteral("AR PL UKai TW"));
    EXPECT_EQ(Text1->font().pointSize(), 9);
    EXPECT_EQ(Text2->font(), Text1->font());
    EXPECT_EQ(QFontInfo(Text3->font()).family(), QStringLiteral("AR PL UMing TW"));
    EXPECT_EQ(Text3->font().pointSize(), 12);
    EXPECT_EQ(Text3->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(Text3->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Text3->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(pic->contentsRect(), QRect(2, 2, 1205, 29));
    EXPECT_EQ(pic->frameShadow(), QFrame::Sunken);
    // Nothing is drawn at start: the picture box shows a blank canvas.
    const QImage shown = pic->grab().toImage().copy(2, 2, 1205, 29).convertToFormat(QImage::Format_RGB32);
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

TEST_F(WindowTest, TabKeyWalksTheWindowFromTopToBottom)
{
    // Of the two options only the selected one is a tab stop (the arrow
    // keys move between them); the cancel and details buttons wait,
    // disabled, until there is something to cancel or show.
    const char* const order[] = {"Text1", "Text2", "pic", "Check1", "Check2", "Option1", "Text3", "preview",
                                 "wholeMessage", "insertPicture", "stepFrames", "wiringTest", "saveAs", "simulate",
                                 "port", "upload",
                                 "uploadPortsBA", "Command3", "Command1", "Command2", "Command5", "Text1"};
    EXPECT_EQ(QApplication::focusWidget(), Text1);
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        // The port chooser's and the spin box's text boxes stand for them.
        if (focused->parentWidget()
            && (focused->parentWidget()->objectName() == QLatin1String("port")
                || focused->parentWidget()->objectName() == QLatin1String("stepFrames"))) {
            focused = focused->parentWidget();
        }
        EXPECT_EQ(focused->objectName().toStdString(), order[i]) << "after " << order[i - 1];
    }
}

// Enter presses the focused button and no other; Space pauses the focused
// preview, which shows that it has the focus.
TEST_F(WindowTest, KeysPressTheFocusedButtonAndPauseThePreview)
{
    Text2->setFocus();
    QTest::keyClick(Text2, Qt::Key_Return);
    EXPECT_EQ(Text3->toPlainText(), QStringLiteral("Text3"));

    Command1->setFocus();
    QTest::keyClick(Command1, Qt::Key_Return);
    EXPECT_EQ(panel(), expectedSketch(QStringLiteral("新細明體"), false, RowWindow::standard()));
    Command2->setFocus();
    QTest::keyClick(Command2, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), panel());

    const QImage unfocused = preview->grab().toImage();
    preview->setFocus();
    ASSERT_TRUE(preview->hasFocus());
    EXPECT_NE(preview->grab().toImage(), unfocused);
    EXPECT_FALSE(preview->paused());
    QTest::keyClick(preview, Qt::Key_Space);
    EXPECT_TRUE(preview->paused());
    QTest::keyClick(preview, Qt::Key_Space);
    EXPECT_FALSE(preview->paused());
}

// What a screen reader is told while the accessibility bridge would be on
// (the offscreen platform has no bridge of its own to turn it on).
class AccessibilityEvents {
public:
    AccessibilityEvents()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        m_previous = QAccessible::installUpdateHandler(&AccessibilityEvents::record);
    }
    ~AccessibilityEvents()
    {
        QAccessible::installUpdateHandler(m_previous);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        heard().clear();
    }
    static bool announced(QObject* object, QAccessible::Event type)
    {
        return heard().contains({object, type});
    }

private:
    static QList<QPair<QObject*, QAccessible::Event>>& heard()
    {
        static QList<QPair<QObject*, QAccessible::Event>> events;
        return events;
    }
    static void record(QAccessibleEvent* event) { heard().append({event->object(), event->type()}); }

    QAccessible::UpdateHandler m_previous = nullptr;
};

// Each line whose text changes is read by a screen reader as the text it
// shows, with what it is in its description, and each change is announced.
TEST_F(WindowTest, ScreenReadersReadTheLinesThatChangeAsTheyAreShown)
{
    const AccessibilityEvents events;
    click(Command1);
    control<QSpinBox>("stepFrames")->setValue(12);
    click(control<QPushButton>("wiringTest"));
    for (const char* name : {"memoryLine", "signNote", "uploadStatus", "stepFramesMeaning"}) {
        SCOPED_TRACE(name);
        auto* line = control<QLabel>(name);
        ASSERT_FALSE(line->text().isEmpty());
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(line);
        ASSERT_NE(spoken, nullptr);
        EXPECT_EQ(spoken->text(QAccessible::Name), line->text());
        EXPECT_FALSE(spoken->text(QAccessible::Description).isEmpty());
        EXPECT_TRUE(AccessibilityEvents::announced(line, QAccessible::NameChanged));
    }
}

// The long generate captions take two lines; each shows whole inside its
// button, also in a face larger than the window's, as on a desktop that
// draws its type larger.
TEST_F(WindowTest, EveryCaptionShowsWholeInsideItsButton)
{
    for (auto* button : form->findChildren<window::CaptionButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        for (const int points : {9, 12}) {
            QFont face = button->font();
            face.setPointSize(points);
            const QRectF area = button->captionArea();
            const auto lines = window::CaptionButton::layOut(button->text(), face, area, button);
            EXPECT_EQ(lines.texts.join(QString()), button->text());
            for (const QRectF& ink : lines.ink) {
                EXPECT_TRUE(area.contains(ink)) << points << " pt";
            }
        }
    }
}

TEST_F(WindowTest, GenerateButtonsShareTheMessageAndDifferInTheTitleRows)
{
    click(Command3);
    const std::string lowered = panel();
    EXPECT_EQ(lowered, expectedSketch(QStringLiteral("新細明體"), false, RowWindow::lowered()));
    click(Command1);
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
    const QImage shown = pic->grab().toImage().copy(2, 2, 1205, 29).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, form->session().canvas().image());
}

TEST_F(WindowTest, CopyPutsThePanelOnTheClipboardWithCrLf)
{
    click(Command2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Text3"));

    click(Command1);
    click(Command2);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), panel());
    EXPECT_NE(QApplication::clipboard()->text().indexOf(QStringLiteral("};\r\nunsigned int slen=")), -1);

    // Hand edits are copied too, with their line ends made CR LF.
    Text3->clear();
    QTest::keyClicks(Text3, QStringLiteral("ab"));
    QTest::keyClick(Text3, Qt::Key_Return);
    QTest::keyClicks(Text3, QStringLiteral("cd"));
    click(Command2);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ab\r\ncd"));
}

TEST_F(WindowTest, StylesTurnOffWhenUntickedAndFacesSwitchBack)
{
    click(Command1);
    const std::string plain = panel();
    EXPECT_EQ(plain, expectedSketch(QStringLiteral("新細明體"), false, RowWindow::standard()));

    click(Check1);
    click(Command1);
    const std::string bold = panel();
    EXPECT_EQ(bold, expectedSketch(QStringLiteral("新細明體"), true, RowWindow::standard()));
    click(Check1);
    click(Command1);
    EXPECT_EQ(panel(), plain);

    QTest::keyClick(Check2, Qt::Key_Space);
    click(Command1);
    EXPECT_NE(panel(), plain);
    QTest::keyClick(Check2, Qt::Key_Space);
    click(Command1);
    EXPECT_EQ(panel(), plain);

    click(Option2);
    click(Command1);
    EXPECT_EQ(panel(), expectedSketch(QStringLiteral("標楷體"), false, RowWindow::standard()));
    click(Option1);
    click(Command1);
    EXPECT_EQ(panel(), plain);
}

TEST_F(WindowTest, WriteButtonWritesTheFileAndLeavesThePanel)
{
    MessageBoxCatcher boxes;
    click(Command5);
    QFile file(toolFolder.filePath("bb/bb.ino"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_NE(file.readAll().indexOf("slen= 1192;"), -1);
    EXPECT_EQ(Text3->toPlainText(), QStringLiteral("Text3"));
    // A failure's box is shown, and caught, before the click returns.
    EXPECT_TRUE(boxes.texts.isEmpty());
}

TEST_F(WindowTest, FailureShowsOneBoxAndKeepsTheWindowAsItWas)
{
    ASSERT_TRUE(QDir(toolFolder.filePath("bb")).removeRecursively());
    QTest::keyClicks(Text1, QStringLiteral("2027"));
    QTest::keyClicks(Text2, QStringLiteral(" end"));
    Text3->setPlainText(QStringLiteral("my hand edits"));
    const QString title = Text1->text();
    const QString message = Text2->text();

    MessageBoxCatcher boxes;
    click(Command5);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("錯誤 76："))) << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[0].contains(QDir::toNativeSeparators(toolFolder.filePath("bb"))));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Text1->text(), title);
    EXPECT_EQ(Text2->text(), message);
    EXPECT_EQ(Text3->toPlainText(), QStringLiteral("my hand edits"));

    // The window goes on working after the failure.
    click(Command1);
    EXPECT_NE(form->panelText().indexOf(QStringLiteral("unsigned int slen=")), -1);
}

TEST_F(WindowTest, PreviewPlaysTheGeneratedSketchAndPausesOnAClick)
{
    EXPECT_FALSE(preview->animation().has_value());
    click(Command1);
    ASSERT_TRUE(preview->animation().has_value());
    EXPECT_FALSE(preview->paused());
    QTest::mouseClick(preview, Qt::LeftButton);
    ASSERT_TRUE(preview->paused());

    const std::size_t index = preview->frameIndex();
    const auto frame = preview->animation()->frame(index);
    const QImage shown = preview->grab().toImage();
    // A paused sign is dimmed under a white pause mark and word; the LEDs
    // the mark covers are skipped, the rest still show the frame.
    int lit = 0;
    int covered = 0;
    for (int column = 0; column < 64; ++column) {
        for (int row = 0; row < 16; ++row) {
            const QColor led = shown.pixelColor(window::SignPreview::ledCentre(column, row));
            if (led.green() > 150) {
                ++covered;
                continue;
            }
            const bool shownLit = led.red() > 100;
            ASSERT_EQ(shownLit, generation::SignAnimation::lit(frame, column, row))
                << "frame " << index << " column " << column << " row " << row;
            lit += shownLit;
        }
    }
    EXPECT_GT(covered, 0);
    EXPECT_LT(covered, 64 * 16 / 8);
    // The click lands within the first blink (101 frames, two thirds of a
    // second), so the title is on show and the LEDs compared above are not
    // all dark.
    ASSERT_LT(index, 101u);
    EXPECT_GT(lit, 100);

    // Paused, the picture holds; resumed, it changes with the next frame
    // that looks different (the title goes dark after its first blink).
    QSignalSpy pictureChanged(preview, &window::SignPreview::pictureChanged);
    EXPECT_FALSE(pictureChanged.wait(100));
    EXPECT_EQ(preview->frameIndex(), index);
    QTest::mouseClick(preview, Qt::LeftButton);
    EXPECT_FALSE(preview->paused());
    ASSERT_TRUE(pictureChanged.wait(2000));
    EXPECT_GT(preview->frameIndex(), index);
}

// The memory line opens with how many characters reach the sign and
// whether the sketches run, coloured when one or both do not, and its
// longest words still fit its height.
TEST_F(WindowTest, MemoryLineSaysWhatReachesTheSignAndWhichSketchRuns)
{
    const auto fitsItsHeight = [&] { return memoryLine->heightForWidth(memoryLine->width()) <= memoryLine->height(); };
    const auto colour = [&] { return memoryLine->palette().color(QPalette::WindowText); };
    const QColor plain = form->palette().color(QPalette::WindowText);
    Text2->setText(QString(30, QChar(u'字')));
    click(Command3);
    EXPECT_TRUE(memoryLine->text().contains(QStringLiteral(" 30 "))) << memoryLine->text().toStdString();
    EXPECT_EQ(colour(), plain);
    EXPECT_TRUE(fitsItsHeight());

    // The canvas holds 75 characters of 16 pixels; at 277 the panel's
    // sketch still runs and the file's has no room left for the stack.
    Text2->setText(QString(277, QChar(u'字')));
    click(Command1);
    const QString line = memoryLine->text();
    const QString firstLine = line.section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(firstLine.contains(QStringLiteral(" 277 ")) && firstLine.contains(QStringLiteral(" 75 ")))
        << line.toStdString();
    EXPECT_EQ(colour(), QColor(0xa0, 0x50, 0x00));
    EXPECT_TRUE(memoryLine->toolTip().contains(QStringLiteral("8,121"))) << memoryLine->toolTip().toStdString();
    EXPECT_TRUE(fitsItsHeight()) << line.toStdString();
    // After a hand edit the verdict stays in view, under a line that says
    // whose figures these are.
    QTest::keyClicks(Text3, QStringLiteral("//"));
    EXPECT_TRUE(memoryLine->text().contains(QStringLiteral("手動修改"))) << memoryLine->text().toStdString();
    EXPECT_TRUE(fitsItsHeight()) << memoryLine->text().toStdString();

    Text2->setText(QString(400, QChar(u'字')));
    click(Command1);
    EXPECT_EQ(colour(), QColor(0xc0, 0x00, 0x00));
    EXPECT_TRUE(fitsItsHeight()) << memoryLine->text().toStdString();

    click(control<QCheckBox>("wholeMessage"));
    click(Command1);
    EXPECT_TRUE(memoryLine->text().contains(QStringLiteral(" 400 "))) << memoryLine->text().toStdString();
    EXPECT_EQ(colour(), plain);
    EXPECT_TRUE(fitsItsHeight()) << memoryLine->text().toStdString();

    // Thirty Chinese characters draw wider than 30 x 14 + 16 columns; the
    // file's figure is that of the columns bb.ino carries.
    click(control<QCheckBox>("wholeMessage"));
    Text2->setText(QString(30, QChar(u'字')));
    click(Command1);
    click(Command5);
    const auto slen = QRegularExpression(QStringLiteral("slen= (\\d+);"))
                          .match(QString::fromLatin1(readAll(toolFolder.filePath("bb/bb.ino"))));
    ASSERT_TRUE(slen.hasMatch());
    EXPECT_GT(slen.captured(1).toULongLong(), 30u * 14 + 16);
    const std::size_t fileBytes = generation::BoardMemory::sketchBytes(slen.captured(1).toULongLong());
    const QString figure = QLocale(QLocale::Chinese, QLocale::Taiwan).toString(qulonglong(fileBytes));
    EXPECT_TRUE(memoryLine->toolTip().contains(QStringLiteral("bb.ino 的程式用 %1 位元組").arg(figure)))
        << memoryLine->toolTip().toStdString();
}

TEST_F(WindowTest, AddedControlsTakeTheFreeSpaceWithoutMovingAnything)
{
    // Top to bottom, each row under the one before; the long-message box
    // shares its row with the picture button, and the wiring test, save and
    // simulate buttons share one.
    const std::vector<std::vector<const char*>> rows = {{"preview"},     {"signNote"},
                                                        {"memoryLine"},  {"wholeMessage", "insertPicture"},
                                                        {"scrollSpeed"}, {"wiringTest", "saveAs", "simulate"},
                                                        {"boardControls"}};
    std::vector<QRect> areas;
    int rowBottom = -1;
    for (const auto& row : rows) {
        int bottom = -1;
        for (const char* name : row) {
            const QRect area = control<QWidget>(name)->geometry();
            SCOPED_TRACE(name);
            EXPECT_GT(area.left(), Text3->geometry().right());
            EXPECT_TRUE(form->rect().contains(area));
            for (const auto& designed : kControls) {
                EXPECT_FALSE(control<QWidget>(designed.name)->geometry().intersects(area)) << designed.name;
            }
            for (const QRect& earlier : areas) {
                EXPECT_FALSE(earlier.intersects(area));
            }
            EXPECT_GT(area.top(), rowBottom);
            bottom = std::max(bottom, area.bottom());
            areas.push_back(area);
        }
        rowBottom = bottom;
    }
    // The note is as wide as the sign, right under it.
    EXPECT_EQ(areas[1].width(), areas[0].width());
    EXPECT_LE(areas[1].top() - areas[0].bottom(), 3);
    EXPECT_GE(areas[1].height(), QFontMetrics(control<QLabel>("signNote")->font()).height());
    // An upload's answer (what failed and what to do) takes two lines; both show.
    const auto* status = control<QLabel>("uploadStatus");
    EXPECT_GE(status->height(), 2 * status->fontMetrics().lineSpacing());
}

// While the board is awaited the bar is busy, not held at 0 %; it counts
// from the first percentage the upload reports.
// An upload started from the keyboard keeps the focus on the board
// controls: on 取消 while it runs, then back on its button, never on a
// generate button whose Enter would replace the panel.
TEST_F(WindowTest, UploadBarIsBusyUntilThereIsAPercentage)
{
    auto* controls = control<window::BoardControls>("boardControls");
    auto* bar = control<QProgressBar>("uploadProgress");
    auto* upload = control<QPushButton>("upload");
    upload->setFocus();
    controls->showWorking(QStringLiteral("上傳中…"), true);
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>("cancelUpload"));
    controls->showProgress(0);
    EXPECT_EQ(bar->maximum(), 0);
    controls->showProgress(30);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 30);
    controls->showResult(QStringLiteral("找不到連接埠"), false, QString());
    EXPECT_EQ(QApplication::focusWidget(), upload);
}

TEST_F(WindowTest, SaveAsWritesUtf8IntoAFolderOfTheSketchsName)
{
    QTemporaryDir place;
    Text3->setPlainText(QStringLiteral("// 恭喜發財\nvoid setup() {}\nvoid loop() {}"));
    QString chosen = place.filePath(QStringLiteral("招牌"));
    // Answers the real file dialog.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            dialog->selectFile(chosen);
            // Replacing a file is the dialog's question to ask, not this test's.
            dialog->setOption(QFileDialog::DontConfirmOverwrite);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    answer.start(10);

    click(saveAs);
    const QString path = place.filePath(QStringLiteral("招牌/招牌.ino"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("// 恭喜發財\r\nvoid setup() {}\r\nvoid loop() {}"));
    file.close();
    EXPECT_TRUE(control<QLabel>("uploadStatus")->text().contains(QDir::toNativeSeparators(path)));

    // Chosen inside its own folder, the sketch is replaced there, not nested.
    Text3->setPlainText(QStringLiteral("void setup() {}"));
    chosen = path;
    click(saveAs);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("void setup() {}"));
    EXPECT_EQ(QDir(place.filePath(QStringLiteral("招牌"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("招牌.ino")});
}

TEST(IdeSketchFileTest, AFailedSaveLeavesTheEarlierSketchWhole)
{
    QTemporaryDir place;
    const QString path = platform::IdeSketchFile::pathFor(place.filePath(QStringLiteral("sign.ino")));
    ASSERT_EQ(path, place.filePath(QStringLiteral("sign/sign.ino")));
    platform::IdeSketchFile::save(path, QStringLiteral("earlier"));

    // A file size limit makes the write fail for real, in a child process
    // so the limit ends with it.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            platform::IdeSketchFile::save(path, QString(1000, QLatin1Char('x')));
        } catch (const generation::SketchError& error) {
            _exit(error.number() == generation::SketchError::kDeviceIo ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(place.filePath(QStringLiteral("sign"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("sign.ino")});
}

TEST(BoardMessageTest, EachOutcomeSaysInChineseWhatHappenedAndWhatToDo)
{
    using board::BoardFailure;
    struct Case {
        BoardFailure failure;
        std::vector<const char*> phrases;
    };
    const Case cases[] = {
        {BoardFailure::None, {"上傳完成", "核對無誤", "7080", "3105"}},
        {BoardFailure::ToolsMissing, {"sudo apt install arduino-builder avrdude"}},
        {BoardFailure::CompileFailed, {"編譯失敗", "第 12 行", "詳細資訊"}},
        {BoardFailure::NoPort, {"連接埠", "USB", "/dev/ttyACM0"}},
        {BoardFailure::PortNotFound, {"找不到連接埠 /dev/ttyUSB7"}},
        {BoardFailure::PermissionDenied, {"/dev/ttyUSB7", "dialout", "sudo usermod -aG dialout $USER", "登出再登入"}},
        {BoardFailure::PortBusy, {"/dev/ttyUSB7", "別的程式"}},
        {BoardFailure::BoardNotAnswering, {"沒有回應", "Mega 2560", "USB 線"}},
        {BoardFailure::VerifyFailed, {"核對不符", "再上傳"}},
        {BoardFailure::TimedOut, {"逾時"}},
        {BoardFailure::Cancelled, {"已取消"}},
        {BoardFailure::Other, {"上傳失敗", "avrdude died", "詳細資訊"}},
    };
    for (const Case& c : cases) {
        board::BoardOutcome outcome;
        outcome.failure = c.failure;
        outcome.detail = QStringLiteral("avrdude died");
        outcome.missingPackages = {QStringLiteral("arduino-builder"), QStringLiteral("avrdude")};
        outcome.sketchLine = 12;
        outcome.flashBytes = 7080;
        outcome.sramBytes = 3105;
        const QString text = window::BoardMessage::describe(outcome, QStringLiteral("/dev/ttyUSB7"));
        for (const char* phrase : c.phrases) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(phrase))) << text.toStdString() << " lacks " << phrase;
        }
    }
}

// The window program answers its command line without a display: an
// option unknown to it and to Qt is a usage error, while Qt's own options,
// with their values, pass.
TEST(WindowCommandLineTest, UnknownOptionIsAUsageErrorAndQtOptionsPass)
{
    struct Answer {
        int status;
        QByteArray out;
        QByteArray err;
    };
    const auto run = [](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(display));
        }
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LEDMARQUEE_WINDOW), arguments);
        process.waitForFinished(30000);
        return Answer{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    };
    const Answer unknown = run({"--bogus"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "ledmarquee: Unknown option 'bogus'.\nTry 'ledmarquee --help' for more information.\n");
    EXPECT_TRUE(unknown.out.isEmpty());
    const Answer qtOptions = run({"-style", "Fusion", "--reverse", "--version"});
    EXPECT_EQ(qtOptions.status, 0) << qtOptions.err.constData();
    EXPECT_TRUE(qtOptions.out.startsWith("ledmarquee ")) << qtOptions.out.constData();
}

// The file-size limit is lowered for this process alone while the write
// runs, with SIGXFSZ ignored as the tool's main() does.
TEST_F(WindowTest, WriteOverTheFileSizeLimitShowsTheReasonAndKeepsTheEarlierFile)
{
    click(Command5);
    const QString path = toolFolder.filePath("bb/bb.ino");
    const QByteArray earlier = readAll(path);
    ASSERT_GT(earlier.size(), 1024);
    QTest::keyClicks(Text2, QStringLiteral(" later"));
    const QString message = Text2->text();

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const rlimit low{1024, previous.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
    MessageBoxCatcher boxes;
    click(Command5);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("錯誤 57：裝置 I/O 錯誤\n"))) << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("檔案超過系統允許的大小"))) << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[0].contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(readAll(path), earlier);
    EXPECT_EQ(QDir(toolFolder.filePath("bb")).entryList(QDir::Files | QDir::Hidden), QStringList{"bb.ino"});
    EXPECT_EQ(Text2->text(), message);
}

// With the box ticked, the generate and write buttons keep the whole
// message in flash, the file still for ports B and A.
TEST_F(WindowTest, WholeMessageBoxMakesTheFlashSketch)
{
    MessageBoxCatcher boxes;
    click(control<QCheckBox>("wholeMessage"));
    click(Command1);
    EXPECT_TRUE(form->panelText().contains(QStringLiteral("const unsigned int c0[] PROGMEM={")));
    EXPECT_TRUE(form->panelText().contains(QStringLiteral("PORTK=a[i] / 256;")));
    click(Command5);
    QFile file(toolFolder.filePath("bb/bb.ino"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_NE(bytes.indexOf("PROGMEM"), -1);
    EXPECT_NE(bytes.indexOf("PORTB=a[i] / 256;"), -1);
    EXPECT_TRUE(boxes.texts.isEmpty());
}

// A whole message past what the board's flash holds is refused with its
// width and the most the board holds, and the window goes on.
TEST_F(WindowTest, WholeMessageTooWideForTheBoardSaysHowWide)
{
    click(control<QCheckBox>("wholeMessage"));
    Text2->setText(QString(8000, QChar(u'一')));
    MessageBoxCatcher boxes;
    click(Command1);
    ASSERT_EQ(boxes.texts.size(), 1);
    const QString text = boxes.texts[0];
    EXPECT_TRUE(text.startsWith(QStringLiteral("錯誤 7："))) << text.toStdString();
    for (const char* figure : {"128,000", "8,000", "125,500", "7,843"}) {
        EXPECT_TRUE(text.contains(QString::fromLatin1(figure))) << text.toStdString() << " lacks " << figure;
    }
    EXPECT_EQ(Text3->toPlainText(), QStringLiteral("Text3"));
}

TEST_F(WindowTest, ASketchTooLongToEditIsShownWholeAndReadBack)
{
    // Some 110 000 characters make a sketch past what the text box takes.
    Text2->setText(QString(110000, QChar(u'測')));
    click(Command1);
    auto* longSketch = control<window::LongSketchView>("longSketch");
    ASSERT_TRUE(longSketch->isVisible());
    EXPECT_FALSE(Text3->isVisible());
    EXPECT_EQ(longSketch->geometry(), Text3->geometry());
    const std::string expected = expectedSketch(QStringLiteral("新細明體"), false, RowWindow::standard());
    EXPECT_EQ(panel(), expected);
    click(Command2);
    EXPECT_EQ(QApplication::clipboard()->text().size(), QString::fromStdString(expected).size());

    // What is in view is drawn: text in the panel's ink on its base.
    const QImage shown = longSketch->viewport()->grab().toImage();
    const QRgb base = longSketch->palette().color(QPalette::Base).rgb();
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            inked += shown.pixel(x, y) != base ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 1000);

    // A short message brings the text box back and lets the long text go.
    Text2->setText(QStringLiteral("短"));
    click(Command1);
    EXPECT_TRUE(Text3->isVisible());
    EXPECT_FALSE(longSketch->isVisible());
    EXPECT_TRUE(longSketch->text().empty());
    EXPECT_EQ(panel(), expectedSketch(QStringLiteral("新細明體"), false, RowWindow::standard()));
}

// On a screen scaled to 200 % the window makes the sketches the command-line
// tool makes, in every face and style: the canvas ignores the screen.
TEST(ScaledWindowTest, PanelSketchesAreTheCommandLinesInEveryFaceAndStyle)
{
    const QString title = QStringLiteral("新春快樂");
    const QString message = QStringLiteral("歡迎光臨本校電子社成果展今年我們製作了會發光的看板請多多指教");
    const auto window = tests::runCli({title, message}, {}, QStringLiteral(LEDMARQUEE_WINDOW_PANELS), {},
                                      {"QT_SCALE_FACTOR=2"});
    ASSERT_EQ(window.exitCode, 0) << window.err.constData();
    const QList<QByteArray> panels = window.out.split('\f');
    ASSERT_EQ(panels.size(), 9);
    qsizetype i = 0;
    for (const char* face : {"新細明體", "標楷體"}) {
        for (const QStringList& style : {QStringList{}, QStringList{"--italic"}, QStringList{"--bold"},
                                         QStringList{"--bold", "--italic"}}) {
            const QStringList arguments =
                QStringList{"--title", title, "--message", message, "--face", QString::fromUtf8(face)} + style;
            EXPECT_EQ(panels[i++], tests::runCli(arguments).out) << arguments.join(' ').toStdString();
        }
    }
}

TEST_F(WindowTest, ScrollSpeedReachesEverySketchAndTheWiringTestSaysWhatToSee)
{
    MessageBoxCatcher boxes;
    auto* speed = control<QSpinBox>("stepFrames");
    auto* meaning = control<QLabel>("stepFramesMeaning");
    auto* note = control<QLabel>("signNote");
    EXPECT_EQ(speed->value(), 6);
    const QString atSix = meaning->text();
    speed->setValue(30);
    EXPECT_NE(meaning->text(), atSix);

    // Both generate buttons, the file and the preview take the speed.
    const std::string marqueeLoop = "       for (j=0;j<=29;j++){  //延遲的時間";
    click(Command3);
    EXPECT_NE(panel().find(marqueeLoop), std::string::npos);
    click(Command1);
    EXPECT_NE(panel().find(marqueeLoop), std::string::npos);
    const generation::SignAnimation slow({}, {}, 1352, generation::BoardTiming::panelSketch(), 30);
    EXPECT_EQ(preview->animation()->frameCount(), slow.frameCount());
    click(Command5);
    // The file is Big5; the loop's own characters are ASCII.
    EXPECT_NE(readAll(toolFolder.filePath("bb/bb.ino")).indexOf("\r\n       for (j=0;j<=29;j++){"), -1);
    EXPECT_TRUE(note->text().isEmpty());

    // The wiring test: the K/F sketch in the panel, played with a note
    // that follows the frame on show, and the status line says how to send
    // it.
    auto* status = control<QLabel>("uploadStatus");
    click(control<QPushButton>("wiringTest"));
    EXPECT_EQ(panel(), generation::WiringTestSketch::text(generation::PortWiring::PortsKF));
    ASSERT_TRUE(preview->animation()->isWiringTest());
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("接線測試"))) << status->text().toStdString();
    const QString first = note->text();
    EXPECT_TRUE(first.startsWith(QStringLiteral("第 1 列亮"))) << first.toStdString();
    // Each row shows for about half a second.
    QSignalSpy nextRow(preview, &window::SignPreview::noteChanged);
    ASSERT_TRUE(nextRow.wait(2000));
    QTest::mouseClick(preview, Qt::LeftButton);
    ASSERT_TRUE(preview->paused());
    EXPECT_EQ(note->text(), window::SignPreview::describe(*preview->animation(), preview->frameIndex()));
    EXPECT_NE(note->text(), first);

    // A generate click brings the marquee back, and the notes go.
    click(Command1);
    EXPECT_FALSE(preview->animation()->isWiringTest());
    EXPECT_TRUE(note->text().isEmpty());
    EXPECT_TRUE(status->text().isEmpty()) << status->text().toStdString();
    EXPECT_TRUE(boxes.texts.isEmpty());
}

// The placeholder the window starts with, or a panel emptied to blanks, is
// no sketch: the three buttons that would compile it ask for a generate
// where each shows its answer, and nothing starts.
TEST_F(WindowTest, CompilingButtonsAskForAGenerateFirst)
{
    const QString asks = QStringLiteral("請先按「產生程式」");
    auto* note = control<QLabel>("signNote");
    auto* status = control<QLabel>("uploadStatus");
    auto* upload = control<QPushButton>("upload");
    click(control<QPushButton>("simulate"));
    EXPECT_TRUE(note->text().startsWith(asks)) << note->text().toStdString();
    EXPECT_EQ(form->session().board(), window::Session::Board::Idle);
    click(upload);
    EXPECT_TRUE(status->text().startsWith(asks)) << status->text().toStdString();
    EXPECT_TRUE(upload->isEnabled()) << "an upload started";

    click(Command1);
    Text3->setPlainText(QStringLiteral(" \n\t"));
    status->clear();
    click(control<QPushButton>("uploadPortsBA"));
    EXPECT_TRUE(status->text().startsWith(asks)) << status->text().toStdString();
    EXPECT_TRUE(upload->isEnabled()) << "an upload started";
    click(control<QPushButton>("simulate"));
    EXPECT_TRUE(note->text().startsWith(asks)) << note->text().toStdString();
    EXPECT_EQ(form->session().board(), window::Session::Board::Idle);
}

// 插入圖片… puts a mark at the cursor of the box last used and keeps the
// picture with it: the panel and bb.ino take it as the command line does.
// Deleted, the mark drops its picture and an undo brings both back; cut and
// pasted, the mark takes its picture along; a mark pasted from elsewhere
// has none, and a generate says which mark and changes nothing. A picture
// too wide is refused with its path before anything changes.
TEST_F(WindowTest, InsertedPicturesStayWithTheirMarks)
{
    QTemporaryDir place;
    const QString bar = place.filePath(QStringLiteral("bar.png"));
    QImage image(3, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int row = 2; row < 14; ++row) {
        image.setPixel(1, row, qRgb(0, 0, 0));
    }
    ASSERT_TRUE(image.save(bar));
    QString chosen = bar;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialog->selectFile(chosen);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    });
    answer.start(10);
    MessageBoxCatcher boxes;
    auto* insert = control<QPushButton>("insertPicture");
    EXPECT_EQ(insert->accessibleName(), QStringLiteral("插入圖片…"));
    const QString mark(QChar(0xFFFC));
    const auto sameAsCli = [&](const QStringList& more = {}) {
        return tests::runCli(QStringList{"--title", Text1->text(), "--message", Text2->text(), "--picture", bar}
                             + more)
            .out;
    };

    Text2->setFocus();
    Text2->setCursorPosition(4);
    click(insert);
    ASSERT_EQ(Text2->text().indexOf(mark), 4);
    EXPECT_EQ(form->focusWidget(), Text2);
    QApplication::setActiveWindow(form.get());
    click(Command1);
    EXPECT_EQ(form->panelText().toUtf8(), sameAsCli());
    click(Command5);
    EXPECT_EQ(readAll(toolFolder.filePath("bb/bb.ino")), sameAsCli({"--file-sketch"}));

    QTest::keyClick(Text2, Qt::Key_Backspace);
    EXPECT_FALSE(Text2->text().contains(mark));
    // Undone from the box's own menu, whose first item is its undo.
    QContextMenuEvent askForMenu(QContextMenuEvent::Keyboard, QPoint(4, 4), Text2->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(Text2, &askForMenu);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->actions().constFirst()->trigger();
    menu->close();
    ASSERT_EQ(Text2->text().indexOf(mark), 4);
    Text2->setSelection(4, 1);
    QTest::keyClick(Text2, Qt::Key_X, Qt::ControlModifier);
    Text1->setFocus();
    Text1->setCursorPosition(0);
    QTest::keyClick(Text1, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Text1->text().indexOf(mark), 0);
    click(Command1);
    EXPECT_EQ(form->panelText().toUtf8(), sameAsCli());
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('\n')).toStdString();

    QApplication::clipboard()->setText(QStringLiteral("新") + mark);
    Text2->setFocus();
    QTest::keyClick(Text2, Qt::Key_V, Qt::ControlModifier);
    const QString panelBefore = form->panelText();
    click(Command1);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("錯誤 481：")) && boxes.texts[0].contains(QStringLiteral("訊息的第 1 個")))
        << boxes.texts[0].toStdString();
    EXPECT_EQ(form->panelText(), panelBefore);

    const QString title = Text1->text();
    chosen = place.filePath(QStringLiteral("wide.png"));
    QImage wide(int(generation::Picture::kMaxWidth) + 1, 16, QImage::Format_RGB32);
    wide.fill(Qt::black);
    ASSERT_TRUE(wide.save(chosen));
    Text1->setFocus();
    click(insert);
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_TRUE(boxes.texts[1].startsWith(QStringLiteral("錯誤 481：")) && boxes.texts[1].contains(chosen))
        << boxes.texts[1].toStdString();
    EXPECT_EQ(Text1->text(), title);
}

} // namespace
