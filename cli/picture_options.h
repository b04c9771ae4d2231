#pragma once

#include "generation/picture.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace cli {

// The command line's --picture files: one picture file for each picture
// mark (U+FFFC) in the title and the message, in order, the title's marks
// first. It checks that marks and pictures pair up, and reads the pictures
// through the platform's picture reader. The option itself is a row of the
// option table; drawing the pictures is left to the sampler.
class PictureOptions {
public:
    // The pictures for the title's and the message's marks, in order.
    // Throws UsageError for a mark without a picture, a picture without a
    // mark, and a file that cannot be read as a picture the sign takes.
    static std::vector<generation::Picture> read(const QStringList& files, const QString& title,
                                                 const QString& message);
};

} // namespace cli
