#include "cli/sketch_maker.h"

#include "cli/error_line.h"
#include "cli/message_file.h"
#include "cli/picture_options.h"
#include "generation/default_texts.h"
#include "generation/panel_sketch_builder.h"
#include "generation/sketch_file_writer.h"
#include "generation/wiring_test_sketch.h"
#include "platform/big5_line_file.h"
#include "platform/text_conversion.h"
#include "platform/utf8_line_file.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace cli {

namespace {

// A face counts as installed when it or one of its substitutes is; anything
// else is still drawn (Qt falls back to another face), but the user hears which.
void warnIfFaceMissing(const QString& face)
{
    QStringList candidates = QFont::substitutes(face);
    candidates.prepend(face);
    for (const QString& candidate : candidates) {
        if (QFontDatabase::hasFamily(candidate)) {
            return;
        }
    }
    printError(QStringLiteral("warning: the face '%1' is not installed; drawing with '%2' instead")
                   .arg(face, QFontInfo(QFont(face)).family()));
}

generation::PortWiring wiringOf(const Options& options)
{
    return options.fileSketch ? generation::PortWiring::PortsBA : generation::PortWiring::PortsKF;
}

} // namespace

SketchMaker::SketchMaker(const Options& options) : m_options(options)
{
    if (options.wiringTest) {
        return; // the test draws no text
    }
    m_title = options.title.value_or(platform::fromU16(std::u16string(generation::kDefaultTitle)));
    m_message = options.message ? *options.message
              : options.messageFile ? MessageFile::read(*options.messageFile)
                                    : platform::fromU16(std::u16string(generation::kDefaultMessage));
    MessageFile::checkLength(m_message.size());
    m_pictures = PictureOptions::read(options.pictures, m_title, m_message);
    warnIfFaceMissing(options.face);
    m_canvas.emplace(options.face);
    m_canvas->setBold(options.bold);
    m_canvas->setItalic(options.italic);
    m_sampler.emplace(*m_canvas);
}

void SketchMaker::write(generation::LineFile& out)
{
    if (m_options.wiringTest) {
        generation::WiringTestSketch::write(out, wiringOf(m_options));
    } else if (m_options.fileSketch) {
        generation::SketchFileWriter::write(*m_sampler, out, platform::toU16(m_title), platform::toU16(m_message),
                                            m_options.wholeMessage, m_options.stepFrames, m_pictures);
    } else {
        const auto window = m_options.lowered ? generation::RowWindow::lowered() : generation::RowWindow::standard();
        generation::PanelSketchBuilder(*m_sampler).write(out, platform::toU16(m_title), platform::toU16(m_message), window,
                                                         m_options.wholeMessage, m_options.stepFrames, m_pictures);
    }
}

std::unique_ptr<generation::LineFile> SketchMaker::openFile(const QString& path) const
{
    if (m_options.fileSketch) {
        return std::make_unique<platform::Big5LineFile>(path);
    }
    return std::make_unique<platform::Utf8LineFile>(path);
}

} // namespace cli
