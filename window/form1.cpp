#include "window/form1.h"

#include "generation/default_texts.h"
#include "generation/face_names.h"
#include "generation/marquee_shape.h"
#include "generation/message_limit.h"
#include "platform/ide_sketch_file.h"
#include "platform/text_conversion.h"
#include "window/board_actions.h"
#include "window/board_controls.h"
#include "window/canvas_view.h"
#include "window/caption_button.h"
#include "window/long_sketch_view.h"
#include "window/memory_line.h"
#include "window/panel_prebuild.h"
#include "window/picture_mark_box.h"
#include "window/scroll_speed_box.h"
#include "window/sign_preview.h"
#include "window/simulation_actions.h"
#include "window/sketch_panel.h"
#include "window/theme_colours.h"
#include "window/window_actions.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTextDocument>

namespace window {

using generation::MarqueeShape;

namespace {

const QString kMingFace = QString::fromUtf8(generation::kMingFace);
const QString kKaiFace = QString::fromUtf8(generation::kKaiFace);

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
    // Enter presses the focused button; none is a default button, so Enter
    // in a text box presses nothing.
    return new CaptionButton(caption, parent);
}

} // namespace

Form1::Form1(const std::string& toolFolder, QWidget* parent)
    : QWidget(parent)
    // The canvas starts in the face the window shows selected.
    , m_session(generation::kMingFace)
{
    setWindowTitle(platform::fromU16(std::u16string(generation::kWindowCaption)));
    // Captions, boxes and options use the classic Traditional-Chinese
    // desktop face; the three text boxes set their own.
    QFont captions(kMingFace);
    captions.setPointSize(9);
    setFont(captions);
    resize(18585 / 15, 8940 / 15);

    pic = place(new CanvasView(m_session.canvas().image(), this), "pic", twips(240, 1320, 18135, 495));
    pic->setFocusPolicy(Qt::TabFocus);

    Command1 = place(button(this, tr("產生程式(電腦有安裝VB6）")), "Command1", twips(2520, 8040, 1695, 735));

    QFont kai(kKaiFace);
    kai.setPointSize(9);
    Text1 = place(new PictureMarkBox(platform::fromU16(std::u16string(generation::kDefaultTitle)), kai, this),
                  "Text1", twips(120, 120, 1215, 495));
    Text2 = place(new PictureMarkBox(platform::fromU16(std::u16string(generation::kDefaultMessage)), kai, this),
                  "Text2", twips(120, 720, 13215, 495));
    // The message box must hold long messages; its limit is the tool's own,
    // as the command line's is.
    Text1->setMaxLength(static_cast<int>(generation::kMessageLimit));
    Text2->setMaxLength(static_cast<int>(generation::kMessageLimit));
    Text1->setCursorPosition(0);
    Text2->setCursorPosition(0);

    Check1 = place(new QCheckBox(tr("粗體"), this), "Check1", twips(240, 2040, 1215, 495));
    Check2 = place(new QCheckBox(tr("斜體"), this), "Check2", twips(1800, 2040, 1215, 495));
    Option1 = place(new QRadioButton(kMingFace, this), "Option1", twips(3240, 2040, 1215, 495));
    Option2 = place(new QRadioButton(kKaiFace, this), "Option2", twips(4680, 2040, 1215, 495));
    Option1->setChecked(true);

    Command5 = place(button(this, tr("寫入檔案")), "Command5", twips(5760, 8160, 1215, 495));
    Command5->setToolTip(tr("請開啟程式所在資料夾的bb.txt"));

    Text3 = place(new QPlainTextEdit(Session::placeholder(), this), "Text3", twips(120, 2760, 12255, 5295));
    QFont ming(kMingFace);
    ming.setPointSize(12);
    Text3->setFont(ming);
    Text3->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in every other box here.
    Text3->setTabChangesFocus(true);
    longSketch = place(new LongSketchView(this), "longSketch", Text3->geometry());
    longSketch->setFont(ming);
    longSketch->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    longSketch->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_panel = std::make_unique<SketchPanel>(Text3, longSketch);

    Command2 = place(button(this, tr("複製程式")), "Command2", twips(4320, 8160, 1215, 495));
    Command3 = place(button(this, tr("產生程式（電腦未安VB6）")), "Command3", twips(480, 8160, 1935, 495));
    // Its caption speaks of the computer, so users without VB6 press it;
    // say what it really does to the title.
    Command3->setToolTip(tr("產生程式，標題取自畫布的第 3–18 列像素：\n"
                            "用這台電腦的字型，標題最上面一兩列會被切掉（新細明體切掉兩列）。\n"
                            "要完整的標題，請按「產生程式(電腦有安裝VB6）」。\n"
                            "兩個按鈕的訊息相同，也都與電腦有沒有裝 VB6 無關。"));

    // Command1 is created before Text3, so it would be painted beneath the
    // panel where the two overlap by a pixel; the button stays on top.
    Command1->raise();

    // The preview, its note and the memory line use the free space right
    // of the panel.
    const int previewLeft = Text3->geometry().right() + 15;
    preview = place(new SignPreview(this), "preview",
                    QRect(previewLeft, Text3->y(), MarqueeShape::kColumns * SignPreview::kPitch + 2 * SignPreview::kMargin,
                          MarqueeShape::kRows * SignPreview::kPitch + 2 * SignPreview::kMargin));
    // Two lines under the sign say what it shows: what the wiring test
    // lights, or the simulated board's wiring and faults.
    signNote = place(new QLabel(this), "signNote", QRect());
    signNote->setGeometry(previewLeft, preview->geometry().bottom() + 2, preview->width(),
                          2 * signNote->fontMetrics().lineSpacing() + 2);
    signNote->setWordWrap(true);
    signNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    memoryLine = place(new MemoryLine(this), "memoryLine",
                       QRect(previewLeft, signNote->geometry().bottom() + 4, preview->width(), 60));
    placeAddedControls();
    nameForAssistiveTools();
    orderTabStops();
    Text1->setFocus();

    m_actions = std::make_unique<WindowActions>(m_session, *this, toolFolder);
    m_boardActions = std::make_unique<BoardActions>(m_session, *this);
    m_simulation = std::make_unique<SimulationActions>(m_session, *this);
    m_prebuild = std::make_unique<PanelPrebuild>(m_session, *this);
    connectControls();
}

void Form1::placeAddedControls()
{
    // Under the memory line come the long-message box, with the button
    // that puts a picture in the texts at its right, then the scroll speed,
    // then a row of the buttons that do something with the panel's sketch
    // (put the wiring test there, save it for the IDE, try it on the
    // simulated board), then the board controls, which reach down to the
    // designed buttons' foot so that their status has room for a whole
    // answer. The picture and simulate buttons stand one above the other.
    const QRect line = memoryLine->geometry();
    constexpr int kRowHeight = 26;
    constexpr int kRightButtonWidth = 160;
    const int optionTop = line.bottom() + 5;
    insertPicture = place(button(this, tr("插入圖片…")), "insertPicture",
                          QRect(line.right() + 1 - kRightButtonWidth, optionTop, kRightButtonWidth, kRowHeight));
    insertPicture->setToolTip(tr("選一個圖片檔（PNG、BMP、GIF、JPEG、SVG），放進標題或訊息框裡游標所在的地方"
                                 "（最後用過的那個框）；產生程式時，圖片畫在它的位置。圖片只保留到關閉視窗。"));
    // As wide as its text: a click beside the words does not tick it.
    wholeMessageBox = new QCheckBox(tr("長訊息：整段存入快閃記憶體"), this);
    const QSize option = wholeMessageBox->sizeHint();
    place(wholeMessageBox, "wholeMessage",
          QRect(QPoint(line.left(), optionTop + (kRowHeight - option.height()) / 2), option));
    scrollSpeed = place(new ScrollSpeedBox(this), "scrollSpeed",
                        QRect(line.left(), optionTop + kRowHeight + 4, line.width(), 24));
    const int rowTop = scrollSpeed->geometry().bottom() + 4;
    wiringTest = place(button(this, tr("接線測試")), "wiringTest", QRect(line.left(), rowTop, 120, kRowHeight));
    wiringTest->setToolTip(tr("把接線測試放進輸出區並在預覽播放：逐列、逐行、再全亮。"
                              "用「上傳到看板」送給接 F、K 埠的看板，接 B、A 埠的看板請按「上傳 B/A 埠版」。"));
    simulate = place(button(this, tr("在模擬看板上試跑")), "simulate",
                     QRect(line.right() + 1 - kRightButtonWidth, rowTop, kRightButtonWidth, kRowHeight));
    simulate->setToolTip(tr("把輸出區裡的程式（連同手動修改）編譯後，在模擬的 Mega 2560 上即時執行，看板預覽會顯示它亮出的樣子"));
    const int saveLeft = wiringTest->geometry().right() + 1 + 6;
    saveAs = place(button(this, tr("另存草稿…")), "saveAs",
                   QRect(saveLeft, rowTop, simulate->x() - 6 - saveLeft, kRowHeight));
    saveAs->setToolTip(tr("把輸出區的程式存成 Arduino IDE 能開的草稿（名稱/名稱.ino，UTF-8）"));
    const int boardTop = rowTop + kRowHeight + 4;
    const int boardBottom = Command1->geometry().bottom();
    boardControls = place(new BoardControls(this), "boardControls",
                          QRect(line.left(), boardTop, line.width(), boardBottom + 1 - boardTop));
}

void Form1::nameForAssistiveTools()
{
    // A screen reader tells the boxes apart by these names; the buttons
    // and options read their captions.
    pic->setAccessibleName(tr("字形畫布"));
    Text1->setAccessibleName(tr("標題"));
    Text2->setAccessibleName(tr("訊息"));
    Text3->setAccessibleName(tr("程式輸出區"));
    longSketch->setAccessibleName(tr("程式輸出區"));
    preview->setAccessibleName(tr("看板預覽"));
    // The lines whose text changes are read by their text, and say what
    // they are in their description.
    signNote->setAccessibleDescription(tr("預覽說明"));
    for (QAbstractButton* captioned : std::initializer_list<QAbstractButton*>{
             Command1, Command3, Command2, Command5, Check1, Check2, Option1, Option2, wholeMessageBox, wiringTest,
             simulate,
             saveAs, insertPicture}) {
        captioned->setAccessibleName(captioned->text());
    }
}

void Form1::orderTabStops()
{
    // Top to bottom, and left to right within a row: the texts, the
    // canvas, the style and face choices, the panel, the preview and the
    // controls beside it (the long-message box, the scroll speed, the wiring
    // test, save and simulate buttons, the board controls), then the row of
    // buttons under the panel.
    QList<QWidget*> order = {Text1,   Text2,   pic,   Check1,     Check2,
                             Option1, Option2, Text3, longSketch, preview, wholeMessageBox, insertPicture};
    order += {scrollSpeed->focusTarget(), wiringTest, saveAs, simulate};
    order += boardControls->tabOrder();
    order += {Command3, Command1, Command2, Command5};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void Form1::connectControls()
{
    const auto press = [this](QPushButton* sender, void (WindowActions::*action)()) {
        connect(sender, &QPushButton::clicked, this, [this, action] { (m_actions.get()->*action)(); });
    };
    connect(simulate, &QPushButton::clicked, m_simulation.get(), &SimulationActions::toggle);
    connect(preview, &SignPreview::livePauseRequested, m_simulation.get(), &SimulationActions::togglePause);
    press(Command1, &WindowActions::generateStandard);
    press(Command3, &WindowActions::generateLowered);
    press(Command2, &WindowActions::copyPanel);
    press(Command5, &WindowActions::writeFile);
    press(saveAs, &WindowActions::saveSketchAs);
    press(wiringTest, &WindowActions::showWiringTest);
    press(insertPicture, &WindowActions::insertPicture);
    connect(preview, &SignPreview::noteChanged, &m_session, &Session::setPreviewNote);
    // Every change of the user's counts; the document's modified mark says
    // whether the text still is the sketch it was given (an undo back to it
    // clears the mark, and so does giving the panel a sketch).
    connect(Text3, &QPlainTextEdit::textChanged, this,
            [this] { m_session.panelChanged(Text3->document()->isModified()); });
    connect(Text3->document(), &QTextDocument::modificationChanged, &m_session, &Session::panelChanged);

    connect(&m_session, &Session::panelReplaced, this, &Form1::drawPanel);
    connect(&m_session, &Session::signChanged, this, &Form1::drawSign);
    connect(&m_session, &Session::levelsChanged, this, [this] { preview->showLevels(m_session.levels()); });
    connect(&m_session, &Session::signNoteChanged, this, &Form1::drawSignNote);
    connect(&m_session, &Session::memoryChanged, this, &Form1::drawMemory);

    // Each box tells the Session's pictures every change of its text, so
    // that the marks keep their pictures, and the picture button puts its
    // mark in the box last used.
    TextPictures& pictures = m_session.pictures();
    for (const auto& boxAndWhich :
         {std::pair{Text1, TextPictures::Box::Title}, std::pair{Text2, TextPictures::Box::Message}}) {
        PictureMarkBox* box = boxAndWhich.first;
        const TextPictures::Box which = boxAndWhich.second;
        pictures.changed(which, box->text(), box->cursorPosition(), BoxPictures::Change::Edit);
        connect(box, &PictureMarkBox::edited, &pictures,
                [&pictures, which](const QString& text, int cursor, BoxPictures::Change change) {
                    pictures.changed(which, text, cursor, change);
                });
        connect(box, &PictureMarkBox::copied, &pictures,
                [&pictures, which](qsizetype from, qsizetype length) { pictures.copied(which, from, length); });
        connect(box, &PictureMarkBox::focused, this, [this, which] { m_markBox = which; });
    }
    connect(&pictures, &TextPictures::marksChanged, this, &Form1::drawMarks);

    // A box or option changed by the user, by mouse or keyboard, toggles;
    // unticking a box turns its style off again.
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) { m_actions->setBold(on); });
    connect(Check2, &QCheckBox::toggled, this, [this](bool on) { m_actions->setItalic(on); });
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { m_actions->chooseFace(generation::kMingFace, on); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { m_actions->chooseFace(generation::kKaiFace, on); });
    connect(wholeMessageBox, &QCheckBox::toggled, this, [this](bool on) { m_actions->setWholeMessage(on); });
    connect(scrollSpeed, &ScrollSpeedBox::stepFramesChanged, this,
            [this](int stepFrames) { m_actions->setStepFrames(stepFrames); });

    // A box at its limit has cut whatever went past it, a pasted text
    // most likely; the user hears so rather than finding the text shorter.
    for (QLineEdit* box : {Text1, Text2}) {
        connect(box, &QLineEdit::textEdited, this, [this, box] {
            if (box->text().size() >= box->maxLength()) {
                showNote(tr("文字已達上限 %1 字，超出的部分沒有放進框裡。").arg(QLocale().toString(box->maxLength())));
            }
        });
    }

    BoardActions* board = m_boardActions.get();
    connect(boardControls, &BoardControls::uploadRequested, board, &BoardActions::uploadPanel);
    connect(boardControls, &BoardControls::uploadPortsBARequested, board, &BoardActions::uploadPortsBA);
    connect(boardControls, &BoardControls::cancelRequested, board, &BoardActions::cancel);
}

Form1::~Form1()
{
    // QWidget deletes the child widgets only after this class's members are
    // gone, while the picture box paints from the Session's canvas as long
    // as it lives. So the actions, which see the widgets through the views,
    // go first, then the widgets, and the Session last.
    m_prebuild.reset();
    m_simulation.reset();
    m_boardActions.reset();
    m_actions.reset();
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

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
    return m_panel->text();
}

void Form1::showCanvas()
{
    pic->update();
}

void Form1::showError(const QString& text)
{
    QMessageBox::critical(this, windowTitle(), text);
}

QString Form1::askSketchPath()
{
    QString start = QDir::home().filePath(QStringLiteral("Arduino"));
    if (!QFileInfo(start).isDir()) {
        start = QDir::homePath();
    }
    QFileDialog dialog(this, tr("另存草稿"), start, tr("Arduino 草稿 (*.ino)"));
    dialog.setObjectName(QStringLiteral("saveAsDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ino"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = QDir::cleanPath(dialog.selectedFiles().constFirst());
    const QString path = platform::IdeSketchFile::pathFor(chosen);
    // The dialog asked about the file chosen; a sketch of that name inside
    // a folder of its own is another file, so ask again before replacing it.
    if (path != chosen && QFileInfo::exists(path)) {
        const auto answer = QMessageBox::question(
            this, tr("另存草稿"), tr("%1 已經存在，要取代它嗎？").arg(QDir::toNativeSeparators(path)));
        if (answer != QMessageBox::Yes) {
            return {};
        }
    }
    return path;
}

QString Form1::askPicturePath()
{
    QString start = m_pictureFolder;
    if (start.isEmpty()) {
        start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (!QFileInfo(start).isDir()) {
            start = QDir::homePath();
        }
    }
    QFileDialog dialog(this, tr("插入圖片"), start,
                       tr("圖片 (*.png *.bmp *.gif *.jpg *.jpeg *.svg *.svgz);;所有檔案 (*)"));
    dialog.setObjectName(QStringLiteral("pictureDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    m_pictureFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

SketchView::PlacedMark Form1::placePictureMark()
{
    PictureMarkBox* box = m_markBox == TextPictures::Box::Title ? Text1 : Text2;
    PlacedMark placed{m_markBox, box->insertMark()};
    box->setFocus();
    return placed;
}

void Form1::drawMarks(TextPictures::Box box)
{
    std::vector<bool> held;
    for (const BoxPictures::Shared& picture : m_session.pictures().of(box).pictures()) {
        held.push_back(picture != nullptr);
    }
    (box == TextPictures::Box::Title ? Text1 : Text2)->showPictures(std::move(held));
}

void Form1::showNote(const QString& text)
{
    boardControls->showNote(text);
}

QString Form1::port() const
{
    return boardControls->port();
}

void Form1::showPorts(const QList<PortChoice>& ports, int preferred)
{
    boardControls->showPorts(ports, preferred);
}

void Form1::showUploadWorking(const QString& status, bool determinate)
{
    boardControls->showWorking(status, determinate);
}

void Form1::showUploadProgress(int percent)
{
    boardControls->showProgress(percent);
}

void Form1::showUploadResult(const QString& text, bool succeeded, const QString& log)
{
    boardControls->showResult(text, succeeded, log);
}

void Form1::showPanelLine(int line)
{
    m_panel->showLine(line);
}

void Form1::showRunLog(const QString& log)
{
    boardControls->showLog(log);
}

void Form1::drawPanel()
{
    m_panel->setText(m_session.sketch().text);
}

void Form1::drawSign()
{
    using Board = Session::Board;
    const Board board = m_session.board();
    const bool runs = m_session.runGoesOn();
    simulate->setText(runs ? tr("停止試跑") : tr("在模擬看板上試跑"));
    simulate->setAccessibleName(simulate->text());
    if (board == Board::Idle) {
        if (const auto& animation = m_session.sketch().animation) {
            preview->play(*animation);
        }
        return;
    }
    // Dark from the click until the simulated board drives the sign; held,
    // dimmed, once the run is over.
    using Look = SignPreview::LiveLook;
    preview->showLevels(m_session.levels());
    preview->setLiveLook(board == Board::Paused ? Look::Paused : runs ? Look::Running : Look::Held);
}

void Form1::drawSignNote()
{
    const Session::Note note = m_session.signNote();
    showSignNote(note.text, note.problem);
}

void Form1::showSignNote(const QString& text, bool problem)
{
    signNote->setText(text);
    signNote->setToolTip(text);
    ThemeColours::setTone(*signNote, problem ? ThemeColours::Tone::Problem : ThemeColours::Tone::Plain);
}

void Form1::drawMemory()
{
    memoryLine->show(m_session.sketch(), m_session.measured());
}

} // namespace window
