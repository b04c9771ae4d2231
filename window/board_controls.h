#pragma once

#include "window/port_choice.h"
#include "window/theme_colours.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace window {

// The controls for sending the sketch to the board, in the free space right
// of the output panel: the port chooser (any typed path is accepted), the two
// upload buttons, a cancel button, the progress bar, the status line and a
// button that shows the tools' full output, an upload's or a simulated
// run's. It only shows what it is told
// and says what the user asked for; compiling and uploading are the board
// layer's, and choosing what to send is the actions'.
class BoardControls : public QWidget {
    Q_OBJECT

public:
    explicit BoardControls(QWidget* parent);

    // The port chosen or typed, without its description; empty when none.
    QString port() const;
    // Fills the chooser; an index of -1 keeps what the user typed or chose.
    void showPorts(const QList<PortChoice>& ports, int preferred);

    // A job has started or moved on: the buttons wait, the status says so,
    // and the bar shows activity. A determinate stage's bar counts percent
    // from the first one above 0 it is told.
    void showWorking(const QString& status, bool determinate);
    void showProgress(int percent);
    // The job is over; log is the tools' full output for the details box.
    void showResult(const QString& text, bool succeeded, const QString& log);
    // The tools' full output of other work (a run on the simulated board)
    // for the details box, leaving the status as it is.
    void showLog(const QString& log);
    // A plain note, such as where a sketch was saved.
    void showNote(const QString& text);

    // The controls in the order the Tab key visits them.
    QList<QWidget*> tabOrder() const;

signals:
    void uploadRequested();
    void uploadPortsBARequested();
    void cancelRequested();

private:
    void setStatus(const QString& text, ThemeColours::Tone tone);
    void showDetails();

    QLabel* m_portLabel;
    QComboBox* m_port;
    QPushButton* m_upload;
    QPushButton* m_uploadPortsBA;
    QPushButton* m_cancel;
    QProgressBar* m_progress;
    QPushButton* m_details;
    QLabel* m_status;
    QPlainTextEdit* m_detailsText = nullptr;
    QString m_log;
    bool m_counts = false; // the stage under way reports percentages
    QPushButton* m_focusAfterWork = nullptr; // the button whose work is under way, if it had the focus
};

} // namespace window
