#include "window/box_pictures.h"

#include "generation/picture_marks.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace window {

namespace {

constexpr QChar kPictureMark(generation::PictureMarks::kMark);

std::size_t marksIn(QStringView text)
{
    return static_cast<std::size_t>(text.count(kPictureMark));
}

} // namespace

BoxPictures::BoxPictures(const QString& text)
    : m_text(text)
{
    m_states.push_back(stateOf(text, std::vector<Shared>(marksIn(text))));
}

BoxPictures::State BoxPictures::stateOf(const QString& text, std::vector<Shared> pictures)
{
    return State{text.size(), qHash(QStringView(text), 0), std::move(pictures)};
}

void BoxPictures::changed(const QString& text, int cursor, Change change, const Run* copied)
{
    State state = stateOf(text, {});
    if (change != Change::Edit) {
        if (const auto earlier = broughtBack(state, change)) {
            m_at = *earlier;
            m_text = text;
            return;
        }
    }
    // An edit: what could be undone after the state shown is gone, as the
    // box's own redo is.
    state.pictures = afterEdit(text, cursor, copied);
    m_states.resize(m_at + 1);
    m_states.push_back(std::move(state));
    if (m_states.size() > kStatesKept) {
        m_states.erase(m_states.begin());
    }
    m_at = m_states.size() - 1;
    m_text = text;
}

std::optional<std::size_t> BoxPictures::broughtBack(const State& state, Change change) const
{
    const auto same = [&](std::size_t i) { return m_states[i].length == state.length && m_states[i].hash == state.hash; };
    if (change == Change::Undo) {
        for (std::size_t i = m_at; i-- > 0;) {
            if (same(i)) {
                return i;
            }
        }
    } else {
        for (std::size_t i = m_at + 1; i < m_states.size(); ++i) {
            if (same(i)) {
                return i;
            }
        }
    }
    return std::nullopt;
}

std::vector<BoxPictures::Shared> BoxPictures::afterEdit(const QString& text, int cursor, const Run* copied) const
{
    const QString& before = m_text;
    const qsizetype end = std::clamp<qsizetype>(cursor, 0, text.size());
    // Every edit leaves the cursor where the change ends, so all after it
    // is the text before's own tail; as much of the tail as is the same is
    // kept, and as much of the head, neither overlapping the other.
    qsizetype tail = 0;
    const qsizetype mostTail = std::min(text.size() - end, before.size());
    while (tail < mostTail && text.at(text.size() - 1 - tail) == before.at(before.size() - 1 - tail)) {
        ++tail;
    }
    qsizetype head = 0;
    const qsizetype mostHead = std::min(before.size(), text.size()) - tail;
    while (head < mostHead && text.at(head) == before.at(head)) {
        ++head;
    }
    const std::vector<Shared>& was = pictures();
    if (was.size() != marksIn(before)) {
        // Never so while every change is told; should one be missed, no
        // picture goes to a mark it was not given for.
        return std::vector<Shared>(marksIn(text));
    }
    const std::size_t headMarks = marksIn(QStringView(before).left(head));
    const std::size_t tailMarks = marksIn(QStringView(before).right(tail));
    const QStringView added = QStringView(text).mid(head, text.size() - tail - head);
    const std::size_t addedMarks = marksIn(added);

    std::vector<Shared> now(was.begin(), was.begin() + static_cast<std::ptrdiff_t>(headMarks));
    // A run pasted as it was copied brings its pictures; any other mark
    // comes without one.
    if (copied != nullptr && addedMarks > 0 && added == copied->text && copied->pictures.size() == addedMarks) {
        now.insert(now.end(), copied->pictures.begin(), copied->pictures.end());
    } else {
        now.resize(now.size() + addedMarks);
    }
    now.insert(now.end(), was.end() - static_cast<std::ptrdiff_t>(tailMarks), was.end());
    return now;
}

void BoxPictures::attach(std::size_t mark, Shared picture)
{
    m_states[m_at].pictures.at(mark) = std::move(picture);
}

BoxPictures::Run BoxPictures::run(qsizetype from, qsizetype length) const
{
    const QString text = m_text.mid(from, length);
    const auto first = static_cast<std::ptrdiff_t>(marksIn(QStringView(m_text).left(from)));
    const auto count = static_cast<std::ptrdiff_t>(marksIn(text));
    const std::vector<Shared>& all = pictures();
    return Run{text, std::vector<Shared>(all.begin() + first, all.begin() + first + count)};
}

} // namespace window
