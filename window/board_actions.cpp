#include "window/board_actions.h"

#include "platform/text_conversion.h"
#include "window/board_message.h"
#include "window/board_view.h"
#include "window/session.h"

#include <QSettings>
#include <QTimer>

namespace window {

namespace {

const QString kLastPortKey = QStringLiteral("board/lastPort");

QSettings boardSettings()
{
    return QSettings(QStringLiteral("ledmarquee"), QStringLiteral("ledmarquee"));
}

} // namespace

BoardActions::BoardActions(Session& session, BoardView& form, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_form(form)
    , m_guard(form)
{
    connect(&m_session, &Session::panelReplaced, this, &BoardActions::showSendingNote);
    connect(&m_job, &board::BoardJob::stageChanged, this, &BoardActions::showStage);
    connect(&m_job, &board::BoardJob::progress, this, [this](int percent) { m_form.showUploadProgress(percent); });
    connect(&m_job, &board::BoardJob::finished, this, &BoardActions::showOutcome);
    connect(&m_finder, &board::PortFinder::portsChanged, this, &BoardActions::refreshPorts);
    // Listing the ports takes a while: the window shows first.
    QTimer::singleShot(0, this, &BoardActions::refreshPorts);
}

QString BoardActions::lastPort()
{
    return boardSettings().value(kLastPortKey).toString();
}

void BoardActions::refreshPorts()
{
    const auto ports = m_finder.ports();
    const QString current = m_form.port();
    int preferred = -1;
    if (current.isEmpty()) {
        preferred = board::PortFinder::preferredIndex(ports, lastPort());
    } else {
        for (qsizetype i = 0; i < ports.size(); ++i) {
            if (ports[i].path == current) {
                preferred = int(i);
            }
        }
    }
    QList<PortChoice> choices;
    for (const board::PortFinder::Port& port : ports) {
        choices << PortChoice{port.path, port.description};
    }
    m_form.showPorts(choices, preferred);
}

void BoardActions::uploadPanel()
{
    const QString text = m_form.panelText();
    if (m_session.panelAwaitsGenerate(text)) {
        m_form.showNote(Session::generateFirst());
        return;
    }
    send(text, true);
}

void BoardActions::uploadPortsBA()
{
    // The variant goes with the panel's sketch: none before a generate.
    if (m_session.panelAwaitsGenerate(m_form.panelText())) {
        m_form.showNote(Session::generateFirst());
        return;
    }
    // When it cannot be made (a message too wide for the board, no memory
    // left), nothing is sent and the guard says why.
    m_guard.run([&] {
        send(platform::fromUtf8(m_session.sketchForPortsBA(m_form.title(), m_form.message())), false);
    });
}

void BoardActions::cancel()
{
    m_job.cancel();
}

void BoardActions::send(const QString& sketchText, bool fromPanel)
{
    if (m_job.isRunning()) {
        return;
    }
    m_sentPort = m_form.port();
    m_sentPanel = fromPanel ? std::optional(m_session.panelRevision()) : std::nullopt;
    if (!m_sentPort.isEmpty()) {
        boardSettings().setValue(kLastPortKey, m_sentPort);
    }
    m_form.showUploadWorking(tr("準備中…"), false);
    m_job.start(sketchText, m_sentPort);
}

void BoardActions::showStage(board::BoardJob::Stage stage)
{
    if (stage == board::BoardJob::Stage::Compiling) {
        m_form.showUploadWorking(tr("編譯中…"), false);
    } else {
        m_form.showUploadWorking(tr("上傳到 %1 中…").arg(m_sentPort), true);
    }
}

void BoardActions::showOutcome(const board::BoardOutcome& outcome)
{
    QString text = BoardMessage::describe(outcome, m_sentPort);
    // The line is the text's as it was sent; in a panel changed since, it
    // would point at something else.
    if (outcome.failure == board::BoardFailure::CompileFailed && outcome.sketchLine > 0
        && m_sentPanel == m_session.panelRevision()) {
        m_form.showPanelLine(outcome.sketchLine);
        text += tr("輸出區的游標已移到那一行。");
    }
    m_form.showUploadResult(text, outcome.ok(), outcome.log);
}

void BoardActions::showSendingNote()
{
    // What the status line said spoke of the sketch the panel held before;
    // while an upload goes on, it speaks of that upload.
    if (m_job.isRunning()) {
        return;
    }
    m_form.showNote(m_session.sketch().kind == ShownSketch::Kind::WiringTest
                        ? tr("接線測試：F、K 埠用「上傳到看板」，B、A 埠用「上傳 B/A 埠版」")
                        : QString());
}

} // namespace window
