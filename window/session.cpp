#include "window/session.h"

#include "generation/board_timing.h"
#include "generation/panel_sketch_builder.h"
#include "generation/picture_marks.h"
#include "generation/sketch_file_writer.h"
#include "generation/string_line_file.h"
#include "generation/wiring_test_sketch.h"
#include "platform/text_conversion.h"
#include "window/canvas_reach.h"
#include "window/simulation_message.h"

#include <utility>

namespace window {

Session::Session(std::string_view face)
    : m_canvas(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())))
    , m_sampler(m_canvas)
{
}

void Session::setFace(std::string_view face)
{
    m_canvas.setFaceName(std::string(face));
}

void Session::setBold(bool on)
{
    m_canvas.setBold(on);
}

void Session::setItalic(bool on)
{
    m_canvas.setItalic(on);
}

void Session::setStepFrames(int stepFrames)
{
    m_choices.stepFrames = stepFrames;
}

void Session::setWholeMessage(bool on)
{
    m_choices.wholeMessage = on;
}

void Session::generate(const QString& title, const QString& message, generation::RowWindow titleWindow)
{
    using generation::BoardTiming;
    const std::u16string text = platform::toU16(message);
    const std::u16string titleText = platform::toU16(title);
    const std::vector<generation::Picture> pictures = m_pictures.forBuilders(title, message);
    generation::PanelSketchBuilder builder(m_sampler);
    generation::PanelSketch made = builder.buildPanelSketch(titleText, text, titleWindow, m_choices.wholeMessage,
                                                            m_choices.stepFrames, pictures);
    const auto messagePictures = generation::PictureMarks::deal(titleText, text, pictures).second;
    ShownSketch shown;
    shown.kind = ShownSketch::Kind::Marquee;
    shown.layout = generation::PanelSketchBuilder::layout(m_choices.wholeMessage, m_choices.stepFrames);
    shown.text = std::make_shared<const std::string>(std::exchange(made.text, std::string()));
    const bool inFlash = shown.layout.storage == generation::MessageStorage::Flash;
    shown.animation.emplace(made.titleWords, made.messageWords, made.columnCount,
                            inFlash ? BoardTiming::wholeMessageSketch() : BoardTiming::panelSketch(), made.stepFrames);
    shown.messageLength = text.size();
    shown.messageCharacters = CanvasReach::characterCount(message);
    shown.messagePictures = messagePictures.size();
    // A whole message scrolls past whole; otherwise the sign shows what the
    // canvas held.
    shown.charactersOnSign = inFlash ? shown.messageCharacters
                                     : CanvasReach::charactersHeldWhole(message, messagePictures, m_canvas, m_sampler);
    shown.messageColumns = made.messageWords.size();
    shown.drawnWidth = made.drawnWidth;
    replace(std::move(shown));
}

void Session::showWiringTest()
{
    // The panel's sketches drive the panel's wiring; the wiring test's text
    // and the preview of it are made for that one wiring here.
    ShownSketch shown;
    shown.kind = ShownSketch::Kind::WiringTest;
    shown.layout = generation::SketchLayout::panel();
    shown.text = std::make_shared<const std::string>(generation::WiringTestSketch::text(shown.layout.wiring));
    shown.animation = generation::SignAnimation::wiringTest(shown.layout.wiring);
    replace(std::move(shown));
}

std::string Session::sketchForPortsBA(const QString& title, const QString& message)
{
    if (m_sketch.kind == ShownSketch::Kind::WiringTest) {
        return generation::WiringTestSketch::text(generation::SketchLayout::file().wiring);
    }
    generation::StringLineFile text;
    generation::SketchFileWriter::write(m_sampler, text, platform::toU16(title), platform::toU16(message),
                                        m_choices.wholeMessage, m_choices.stepFrames,
                                        m_pictures.forBuilders(title, message));
    return text.take();
}

void Session::panelChanged(bool edited)
{
    // Still the text given and never edited: nothing of the user's changed.
    if (!edited && !m_sketch.edited) {
        return;
    }
    ++m_panelRevision;
    m_sketch.edited = edited;
    emit panelEdited();
    if (m_board == Board::Stopped && canPlay()) {
        // Undone back to the sketch given: the sign plays its preview again.
        m_runNote = {};
        setBoard(Board::Idle);
        return;
    }
    announce();
}

std::optional<Session::Measured> Session::measured() const
{
    return m_measuredRevision == m_panelRevision ? m_measured : std::nullopt;
}

QString Session::placeholder()
{
    return QStringLiteral("Text3");
}

bool Session::panelAwaitsGenerate(const QString& panelText) const
{
    const bool placeholder = m_sketch.kind == ShownSketch::Kind::Placeholder && panelText == Session::placeholder();
    return placeholder || panelText.trimmed().isEmpty();
}

QString Session::generateFirst()
{
    return tr("請先按「產生程式」，輸出區還沒有程式。");
}

void Session::replace(ShownSketch sketch)
{
    m_sketch = std::move(sketch);
    ++m_sketchNumber;
    ++m_panelRevision;
    // The sign plays the new sketch at once; a run going on is let go, and
    // nothing said of it or of the earlier preview stays.
    m_board = Board::Idle;
    m_runNote = {};
    m_previewNote.clear();
    emit panelReplaced();
    emit signChanged();
    announce();
}

void Session::simulationStarted()
{
    m_runRevision = m_panelRevision;
    m_levels = {};
    m_runNote = {SimulationMessage::compiling(), false};
    m_previewNote.clear();
    setBoard(Board::Compiling);
}

void Session::simulationRefused()
{
    // Said of the panel as it is now; the sign keeps what it shows.
    m_runRevision = m_panelRevision;
    m_runNote = {generateFirst(), false};
    announce();
}

void Session::simulationCompiled(const board::BoardOutcome& outcome)
{
    if (m_board != Board::Compiling) {
        return;
    }
    m_measured.reset();
    if (outcome.flashBytes >= 0 && outcome.sramBytes >= 0) {
        m_measured = Measured{outcome.flashBytes, outcome.sramBytes};
        m_measuredRevision = m_runRevision;
    }
    m_runNote = {SimulationMessage::running(), false};
    setBoard(Board::Running);
}

void Session::simulationWiring(const simulator::SimulatorOutput::Wiring& wiring)
{
    if (!boardLive()) {
        return;
    }
    m_runNote = {SimulationMessage::running(wiring), false};
    announce();
}

void Session::simulationStillDark(std::uint64_t microseconds)
{
    if (!boardLive()) {
        return;
    }
    m_runNote = {SimulationMessage::stillDark(microseconds), false};
    announce();
}

void Session::simulationLight(const simulator::SimulatorOutput::Levels& levels)
{
    if (!boardLive() || levels == m_levels) {
        return;
    }
    m_levels = levels;
    emit levelsChanged();
}

void Session::simulationPaused()
{
    if (m_board == Board::Running) {
        setBoard(Board::Paused);
    }
}

void Session::simulationResumed()
{
    if (m_board == Board::Paused) {
        setBoard(Board::Running);
    }
}

void Session::simulationFaulted(const simulator::SimulatorOutput::Fault& fault)
{
    if (!runGoesOn()) {
        return;
    }
    // The simulator stops at a fault; what it was is the news.
    m_runNote = {SimulationMessage::fault(fault), true};
    setBoard(Board::Faulted);
}

void Session::simulationFinished(const board::BoardOutcome& outcome)
{
    if (!runGoesOn() && m_board != Board::Faulted) {
        return; // let go for another sketch
    }
    if (outcome.failure == board::BoardFailure::CompileFailed) {
        // Figures of an earlier build describe nothing the panel holds now.
        m_measured.reset();
    }
    if (m_board == Board::Faulted) {
        announce();
        return;
    }
    if (outcome.failure == board::BoardFailure::Cancelled) {
        // Stopped by the user: the preview plays again when the panel holds
        // its sketch as given; otherwise the last simulated picture stays,
        // and the note says how to see the panel's text again.
        m_runNote = canPlay() ? Note{} : Note{stoppedNote(), false};
    } else {
        m_runNote = {SimulationMessage::ended(outcome), !outcome.ok()};
    }
    setBoard(canPlay() ? Board::Idle : Board::Stopped);
}

void Session::setPreviewNote(const QString& note)
{
    m_previewNote = note;
    announce();
}

Session::Note Session::signNote() const
{
    // Once the panel changed after the click, what the run said of "the
    // panel's sketch" speaks of one the panel no longer holds.
    const bool current = runIsThePanels();
    const QString staleRun = tr("這次試跑的是修改前的程式。要試跑修改後的，請按「停止試跑」，再按「在模擬看板上試跑」。");
    switch (m_board) {
    case Board::Idle:
        return current && !m_runNote.text.isEmpty() ? m_runNote : Note{m_previewNote, false};
    case Board::Compiling:
    case Board::Running:
        return current ? m_runNote : Note{staleRun, false};
    case Board::Paused:
        return Note{current ? tr("已暫停：模擬的 Mega 2560 停在這一刻，不佔用處理器。按一下看板或按空白鍵繼續。")
                            : tr("已暫停。") + staleRun,
                    false};
    case Board::Stopped:
    case Board::Faulted:
        break;
    }
    return current ? m_runNote : Note{stoppedNote(), false};
}

QString Session::stoppedNote()
{
    return tr("已停止試跑，看板停在最後的畫面。輸出區的程式改過了，按「在模擬看板上試跑」可再顯示修改後的程式。");
}

void Session::setBoard(Board board)
{
    m_board = board;
    emit signChanged();
    announce();
}

bool Session::runGoesOn() const
{
    return m_board == Board::Compiling || boardLive();
}

bool Session::boardLive() const
{
    return m_board == Board::Running || m_board == Board::Paused;
}

bool Session::canPlay() const
{
    return m_sketch.animation.has_value() && !m_sketch.edited;
}

void Session::announce()
{
    const Note note = signNote();
    if (note != m_announcedNote) {
        m_announcedNote = note;
        emit signNoteChanged();
    }
    const MemoryState memory{m_sketchNumber, m_sketch.edited, measured()};
    if (memory != m_announcedMemory) {
        m_announcedMemory = memory;
        emit memoryChanged();
    }
}

} // namespace window
