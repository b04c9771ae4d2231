#include "window/board_controls.h"

#include "window/push_button.h"

#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace window {

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name, const QString& accessibleName)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

QPushButton* namedButton(const QString& caption, const char* name, QWidget* parent)
{
    // Enter presses the focused button; in a text box it presses none.
    return named(new PushButton(caption, parent), name, caption);
}

} // namespace

BoardControls::BoardControls(QWidget* parent)
    : QWidget(parent)
{
    m_port = named(new QComboBox(this), "port", tr("連接埠"));
    m_port->setEditable(true);
    m_port->setInsertPolicy(QComboBox::NoInsert);
    m_port->lineEdit()->setPlaceholderText(tr("例如 /dev/ttyACM0"));
    m_port->setToolTip(tr("看板接的序列埠；清單裡沒有時可直接輸入路徑"));
    m_portLabel = new QLabel(tr("連接埠："), this);
    m_portLabel->setBuddy(m_port);

    m_upload = namedButton(tr("上傳到看板"), "upload", this);
    m_upload->setToolTip(tr("把輸出區裡的程式（連同手動修改）編譯後上傳，看板接在 F、K 埠"));
    m_uploadPortsBA = namedButton(tr("上傳 B/A 埠版"), "uploadPortsBA", this);
    m_uploadPortsBA->setToolTip(tr("上傳「寫入檔案」所寫的版本，給接在 B、A 埠的看板；"
                                   "輸出區是接線測試時，上傳接線測試的 B、A 埠版"));
    m_cancel = namedButton(tr("取消"), "cancelUpload", this);
    m_cancel->setEnabled(false);

    m_progress = named(new QProgressBar(this), "uploadProgress", tr("上傳進度"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_details = namedButton(tr("詳細資訊"), "uploadDetails", this);
    m_details->setToolTip(tr("顯示上次上傳或試跑時編譯器、燒錄程式和模擬器的完整輸出"));
    m_details->setEnabled(false);

    // Its text is its name for a screen reader, which hears each change.
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("uploadStatus"));
    m_status->setAccessibleDescription(tr("上傳狀態"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    grid->addWidget(m_portLabel, 0, 0);
    grid->addWidget(m_port, 0, 1, 1, 3);
    grid->addWidget(m_upload, 1, 0, 1, 2);
    grid->addWidget(m_uploadPortsBA, 1, 2);
    grid->addWidget(m_cancel, 1, 3);
    grid->addWidget(m_progress, 2, 0, 1, 3);
    grid->addWidget(m_details, 2, 3);
    grid->addWidget(m_status, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    connect(m_upload, &QPushButton::clicked, this, &BoardControls::uploadRequested);
    connect(m_uploadPortsBA, &QPushButton::clicked, this, &BoardControls::uploadPortsBARequested);
    connect(m_cancel, &QPushButton::clicked, this, &BoardControls::cancelRequested);
    connect(m_details, &QPushButton::clicked, this, &BoardControls::showDetails);
}

QString BoardControls::port() const
{
    const QString shown = m_port->currentText().trimmed();
    const int index = m_port->findText(shown);
    return index >= 0 ? m_port->itemData(index).toString() : shown;
}

void BoardControls::showPorts(const QList<PortChoice>& ports, int preferred)
{
    // Kept as a bare path, so a port that went away is not shown with the
    // description it had.
    const QString typed = port();
    m_port->clear();
    for (const auto& found : ports) {
        const QString shown = found.description.isEmpty()
            ? found.path
            : QStringLiteral("%1 — %2").arg(found.path, found.description);
        m_port->addItem(shown, found.path);
    }
    if (preferred >= 0 && preferred < m_port->count()) {
        m_port->setCurrentIndex(preferred);
    } else {
        m_port->setEditText(typed);
    }
}

void BoardControls::showWorking(const QString& status, bool determinate)
{
    // A disabled button gives its focus away to the next control in the
    // chain, a generate button under the panel, where the Enter meant to
    // try again would replace the panel; the focus waits on 取消 instead,
    // and goes back when the work is over.
    m_cancel->setEnabled(true);
    for (QPushButton* sender : {m_upload, m_uploadPortsBA}) {
        if (sender->hasFocus()) {
            m_focusAfterWork = sender;
            m_cancel->setFocus();
        }
    }
    m_upload->setEnabled(false);
    m_uploadPortsBA->setEnabled(false);
    // Busy until there is a percentage to show: a bar held at 0 % while the
    // board is awaited would look frozen.
    m_counts = determinate;
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    setStatus(status, ThemeColours::Tone::Plain);
}

void BoardControls::showProgress(int percent)
{
    if (!m_counts || percent <= 0) {
        return;
    }
    if (m_progress->maximum() == 0) {
        m_progress->setRange(0, 100);
        m_progress->setTextVisible(true);
    }
    m_progress->setValue(percent);
}

void BoardControls::showResult(const QString& text, bool succeeded, const QString& log)
{
    m_upload->setEnabled(true);
    m_uploadPortsBA->setEnabled(true);
    if (m_focusAfterWork != nullptr && m_cancel->hasFocus()) {
        m_focusAfterWork->setFocus();
    }
    m_focusAfterWork = nullptr;
    m_cancel->setEnabled(false);
    m_progress->setRange(0, 100);
    m_progress->setValue(succeeded ? 100 : 0);
    m_progress->setTextVisible(succeeded);
    showLog(log);
    setStatus(text, succeeded ? ThemeColours::Tone::Success : ThemeColours::Tone::Problem);
}

void BoardControls::showLog(const QString& log)
{
    m_log = log;
    m_details->setEnabled(!m_log.isEmpty());
    if (m_detailsText) {
        m_detailsText->setPlainText(m_log);
    }
}

void BoardControls::showNote(const QString& text)
{
    setStatus(text, ThemeColours::Tone::Plain);
}

QList<QWidget*> BoardControls::tabOrder() const
{
    return {m_port, m_upload, m_uploadPortsBA, m_cancel, m_details};
}

void BoardControls::setStatus(const QString& text, ThemeColours::Tone tone)
{
    m_status->setText(text);
    m_status->setToolTip(text);
    ThemeColours::setTone(*m_status, tone);
}

void BoardControls::showDetails()
{
    if (!m_detailsText) {
        auto* dialog = new QDialog(window());
        dialog->setObjectName(QStringLiteral("uploadDetailsDialog"));
        dialog->setWindowTitle(tr("詳細資訊"));
        dialog->resize(760, 460);
        m_detailsText = named(new QPlainTextEdit(dialog), "uploadLog", tr("編譯器、燒錄程式和模擬器的輸出"));
        m_detailsText->setReadOnly(true);
        m_detailsText->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_detailsText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        auto* layout = new QVBoxLayout(dialog);
        layout->addWidget(m_detailsText);
    }
    m_detailsText->setPlainText(m_log);
    auto* dialog = m_detailsText->window();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace window
