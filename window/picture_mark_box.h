#pragma once

#include "window/box_pictures.h"

#include <QLineEdit>

#include <cstddef>
#include <optional>
#include <vector>

namespace window {

// A one-line text box (the title's, the message's) that shows each picture
// mark (U+FFFC) in its text as a picture symbol, or as a dashed one while
// the mark has no picture, where a plain line box would draw a narrow
// blank; the text itself stays as typed. While the text holds a mark, the
// blank is widened to a character's width by the font's word spacing, which
// widens a typed space alike; a text without marks is drawn as it always was. It tells each change of its text with the cursor where the change
// ended and whether it was an undo or a redo, and the runs it puts on the
// clipboard, so that the marks' pictures can follow; which mark has which
// picture is not its business.
class PictureMarkBox : public QLineEdit {
    Q_OBJECT

public:
    PictureMarkBox(const QString& text, const QFont& font, QWidget* parent);

    // Which of the marks, from the first, have a picture.
    void showPictures(std::vector<bool> held);
    // Puts a mark at the cursor, in place of the selection; returns which
    // of the box's marks it is, from 0, or none when the box is full.
    std::optional<std::size_t> insertMark();

signals:
    void edited(const QString& text, int cursor, window::BoxPictures::Change change);
    // This run of the text was put on the clipboard.
    void copied(qsizetype from, qsizetype length);
    void focused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Runs the box's own undo, redo or copy so that the change it makes is told as what it is.
    void undoOrRedo(BoxPictures::Change change, void (QLineEdit::*step)());
    void tellCopy();
    // Widens the spaces while the text holds a mark, and only then.
    void fitSpacesTo(const QString& text);
    // The text position whose cursor is nearest x.
    int positionAt(int x) const;
    // Where the mark at this position is drawn, or an empty rectangle when it is out of view.
    QRect markArea(int position, int markWidth) const;

    BoxPictures::Change m_change = BoxPictures::Change::Edit;
    std::vector<bool> m_held;
    QFont m_plainFont;
};

} // namespace window
