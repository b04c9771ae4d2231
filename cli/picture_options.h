#pragma once

#include "generation/picture.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <vector>

namespace cli {

// The command line's --picture option: one picture file for each picture
// mark (U+FFFC) in the title and the message, in order, the title's marks
// first. It adds the option to the parser, checks that marks and pictures
// pair up, and reads the pictures through the platform's picture reader.
// Drawing them is left to the sampler.
class PictureOptions {
public:
    explicit PictureOptions(QCommandLineParser& parser);

    const QCommandLineOption& option() const { return m_option; }
    // The pictures for the title's and the message's marks, in order.
    // Throws UsageError for a mark without a picture, a picture without a
    // mark, and a file that cannot be read as a picture the sign takes.
    std::vector<generation::Picture> read(const QString& title, const QString& message) const;

private:
    QCommandLineParser& m_parser;
    QCommandLineOption m_option;
};

} // namespace cli
