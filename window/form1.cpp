#include "window/form1.h"

#include "generation/default_texts.h"
#include "platform/text_conversion.h"
#include "window/canvas_view.h"
#include "window/caption_button.h"
#include "window/memory_line.h"
#include "window/sign_preview.h"
#include "window/window_actions.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace window {

namespace {

const QString kMingFace = QStringLiteral("新細明體");
const QString kKaiFace = QStringLiteral("標楷體");

// Positions and sizes are designed in twips; the window works at 15 twips
// per pixel whatever the screen.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* button(QWidget* parent, const QString& caption)
{
    // Enter in a text box must not press a button: none is a default button.
    return new CaptionButton(caption, parent);
}

} // namespace

Form1::Form1(const std::string& toolFolder, QWidget* parent)
    : QWidget(parent)
    // The canvas starts in the face the window shows selected.
    , m_canvas(kMingFace)
    , m_sampler(m_canvas)
{
    setWindowTitle(platform::fromU16(std::u16string(generation::kWindowCaption)));
    // Captions, boxes and options use the classic Traditional-Chinese
    // desktop face; the three text boxes set their own.
    QFont captions(kMingFace);
    captions.setPointSize(9);
    setFont(captions);
    resize(18585 / 15, 8940 / 15);

    pic = place(new CanvasView(m_canvas.image(), this), "pic", twips(240, 1320, 18135, 495));
    pic->setFocusPolicy(Qt::TabFocus);

    Command1 = place(button(this, QStringLiteral("產生程式(電腦有安裝VB6）")), "Command1", twips(2520, 8040, 1695, 735));

    QFont kai(kKaiFace);
    kai.setPointSize(9);
    Text1 = place(new QLineEdit(platform::fromU16(std::u16string(generation::kDefaultTitle)), this), "Text1",
                  twips(120, 120, 1215, 495));
    Text1->setFont(kai);
    Text2 = place(new QLineEdit(platform::fromU16(std::u16string(generation::kDefaultMessage)), this), "Text2",
                  twips(120, 720, 13215, 495));
    Text2->setFont(kai);
    // The message box must hold long messages; its limit is the tool's own.
    Text1->setMaxLength(1 << 20);
    Text2->setMaxLength(1 << 20);
    Text1->setCursorPosition(0);
    Text2->setCursorPosition(0);

    Check1 = place(new QCheckBox(QStringLiteral("粗體"), this), "Check1", twips(240, 2040, 1215, 495));
    Check2 = place(new QCheckBox(QStringLiteral("斜體"), this), "Check2", twips(1800, 2040, 1215, 495));
    Option1 = place(new QRadioButton(kMingFace, this), "Option1", twips(3240, 2040, 1215, 495));
    Option2 = place(new QRadioButton(kKaiFace, this), "Option2", twips(4680, 2040, 1215, 495));
    Option1->setChecked(true);

    Command5 = place(button(this, QStringLiteral("寫入檔案")), "Command5", twips(5760, 8160, 1215, 495));
    Command5->setToolTip(QStringLiteral("請開啟程式所在資料夾的bb.txt"));

    Text3 = place(new QPlainTextEdit(QStringLiteral("Text3"), this), "Text3", twips(120, 2760, 12255, 5295));
    QFont ming(kMingFace);
    ming.setPointSize(12);
    Text3->setFont(ming);
    Text3->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in every other box here.
    Text3->setTabChangesFocus(true);

    Command2 = place(button(this, QStringLiteral("複製程式")), "Command2", twips(4320, 8160, 1215, 495));
    Command3 = place(button(this, QStringLiteral("產生程式（電腦未安VB6）")), "Command3", twips(480, 8160, 1935, 495));

    // Command1 is created before Text3, so it would be painted beneath the
    // panel where the two overlap by a pixel; the button stays on top.
    Command1->raise();

    const QList<QWidget*> tabOrder = {pic, Command1, Text1, Text2, Check1, Check2,
                                      Option1, Option2, Command5, Text3, Command2, Command3};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    Text1->setFocus();

    // The preview and the memory line use the free space right of the
    // panel, after every designed control in the tab order; the preview is
    // worked by mouse only.
    const int previewLeft = Text3->geometry().right() + 15;
    preview = place(new SignPreview(this), "preview",
                    QRect(previewLeft, Text3->y(), 64 * SignPreview::kPitch + 2 * SignPreview::kMargin,
                          16 * SignPreview::kPitch + 2 * SignPreview::kMargin));
    memoryLine = place(new MemoryLine(this), "memoryLine",
                       QRect(previewLeft, preview->geometry().bottom() + 9, preview->width(), 90));

    m_actions = std::make_unique<WindowActions>(*this, toolFolder);
}

Form1::~Form1() = default;

QString Form1::title() const
{
    return Text1->text();
}

QString Form1::message() const
{
    return Text2->text();
}

QString Form1::panelText() const
{
    return platform::withCrLfLineEnds(Text3->toPlainText());
}

void Form1::setPanelText(const std::string& sketch)
{
    Text3->setPlainText(platform::fromUtf8(sketch));
}

void Form1::showSketch(const generation::PanelSketch& sketch)
{
    setPanelText(sketch.text);
    preview->play(generation::SignAnimation(sketch.titleWords, sketch.messageWords, sketch.messageWords.size()));
    memoryLine->showColumnCount(sketch.messageWords.size());
}

void Form1::showCanvas()
{
    pic->update();
}

} // namespace window
