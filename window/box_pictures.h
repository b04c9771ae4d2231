#pragma once

#include "generation/picture.h"

#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace window {

// The pictures of one text box's picture marks (U+FFFC), one for each mark
// in order, kept paired with the marks through every change of the box's
// text. An edit is found between the text before and after it, ending at
// the cursor where every edit leaves it: the marks before and after the
// change keep their pictures, a mark deleted drops its own, and a mark the
// edit brought in takes the picture of a run copied from a box when the
// edit pasted that very run, or none. An undo or a redo brings back a text
// the box held, and with it the pictures it had then. A mark without a
// picture (pasted from elsewhere, say) stays in the text as it is; saying
// so is for whoever makes sketches of it. It reads no file and draws
// nothing: the pictures are given to it, and the box draws their marks.
class BoxPictures {
public:
    using Shared = std::shared_ptr<const generation::Picture>;
    // How the box's text came to change.
    enum class Change { Edit, Undo, Redo };
    // A run of a box's text and the pictures of the marks in it, in order.
    struct Run {
        QString text;
        std::vector<Shared> pictures;
    };

    // The undo steps remembered; older ones bring back their text without
    // its pictures.
    static constexpr std::size_t kStatesKept = 4096;

    explicit BoxPictures(const QString& text = QString());

    // The box now holds text, with its cursor at cursor; copied is the run
    // last copied from a box, if any.
    void changed(const QString& text, int cursor, Change change, const Run* copied = nullptr);
    // Gives a mark without a picture (one just put in, say) its picture;
    // marks count from 0.
    void attach(std::size_t mark, Shared picture);

    const QString& text() const { return m_text; }
    // One for each mark in order, null where a mark has no picture.
    const std::vector<Shared>& pictures() const { return m_states[m_at].pictures; }
    // The run of the text from from, length long, with its marks' pictures.
    Run run(qsizetype from, qsizetype length) const;

private:
    // A text the box held, known by its length and a hash, so that a long
    // message is not kept once for every keystroke.
    struct State {
        qsizetype length = 0;
        std::size_t hash = 0;
        std::vector<Shared> pictures;
    };

    static State stateOf(const QString& text, std::vector<Shared> pictures);
    // The pictures of the new text, from the edit that made it out of the
    // text before.
    std::vector<Shared> afterEdit(const QString& text, int cursor, const Run* copied) const;
    // The state the undo or redo brought back, looking back or forward from
    // the one shown; none when it is no longer remembered.
    std::optional<std::size_t> broughtBack(const State& state, Change change) const;

    QString m_text;
    std::vector<State> m_states;
    std::size_t m_at = 0;
};

} // namespace window
