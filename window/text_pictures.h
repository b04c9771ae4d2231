#pragma once

#include "generation/picture.h"
#include "window/box_pictures.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace window {

// The pictures of the title's and the message's picture marks while the
// window is open (they are kept nowhere else), each box's kept paired with
// its marks by a BoxPictures, and the run last copied from either box, so
// that a mark cut or copied and pasted takes its picture along. It gives
// the builders one picture for each mark, the title's first, and refuses a
// mark that has none. It reads no file and touches no widget: the window
// tells it what the boxes did, and draws the marks it announces.
class TextPictures : public QObject {
    Q_OBJECT

public:
    enum class Box { Title, Message };

    // What the box holds now, and how it came to (see BoxPictures).
    void changed(Box box, const QString& text, int cursor, BoxPictures::Change change);
    // The box put this run of its text on the clipboard.
    void copied(Box box, qsizetype from, qsizetype length);
    // Gives the box's mark (from 0) its picture.
    void attach(Box box, std::size_t mark, generation::Picture picture);

    const BoxPictures& of(Box box) const { return box == Box::Title ? m_title : m_message; }
    // One picture for each mark of the title, then of the message, for
    // the builders. Throws SketchError (an invalid picture) naming the
    // first mark that has none.
    std::vector<generation::Picture> forBuilders(const QString& title, const QString& message) const;

signals:
    // Which of the box's marks have pictures may have changed.
    void marksChanged(window::TextPictures::Box box);

private:
    BoxPictures& kept(Box box) { return box == Box::Title ? m_title : m_message; }

    BoxPictures m_title;
    BoxPictures m_message;
    std::optional<BoxPictures::Run> m_copied;
};

} // namespace window
