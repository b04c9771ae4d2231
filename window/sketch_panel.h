#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <string>

class QPlainTextEdit;

namespace window {

class LongSketchView;

// The output panel: a sketch of ordinary size goes into the editable text
// box, where the user may change it before copying or sending it; one too
// long to edit goes into a view that keeps its bytes once and draws only
// what is in view, at the same place. Whichever shows the sketch is the
// one read back. Making the sketch is the builders' business.
class SketchPanel {
public:
    // Longer sketches (a message of some 100 000 characters) are shown,
    // not edited: a text box would need several times their size in
    // memory and seconds to take them.
    static constexpr std::size_t kEditableBytes = std::size_t{4} << 20;

    SketchPanel(QPlainTextEdit* editor, LongSketchView* viewer);

    // Shows a sketch given as UTF-8 with CR LF line ends; one too long to
    // edit is shared, not copied.
    void setText(std::shared_ptr<const std::string> text);
    // The text shown, with CR LF line ends, hand edits included.
    QString text() const;
    // Puts the cursor, or the mark, on a line (1-based).
    void showLine(int line);
    // Whether the sketch shown is too long to edit.
    bool viewing() const { return m_viewing; }

private:
    QPlainTextEdit* m_editor;
    LongSketchView* m_viewer;
    bool m_viewing = false;
};

} // namespace window
