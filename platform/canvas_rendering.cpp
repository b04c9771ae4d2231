#include "platform/canvas_rendering.h"

#include "generation/column_sampler.h"
#include "platform/qt_glyph_canvas.h"

#include <QByteArray>
#include <QtGlobal>

#include <fontconfig/fontconfig.h>

namespace platform {

namespace {

// Qt reads the autohint switch from fontconfig's match for every font it
// opens, and no QFont property overrides it. The two faces carry no hinting
// of their own and are autohinted either way, but the fonts that stand in
// for what they lack (Arabic, emoji, combining marks) would lose their own
// hinting. The rule holds only at the canvas's text size, so that the
// window's own text keeps the user's choice at its other sizes.
QByteArray autohintRule()
{
    const int pixels = QtGlyphCanvas::pixelSize(generation::ColumnSampler::kTextPoints);
    return QByteArrayLiteral("<?xml version=\"1.0\"?><fontconfig><match target=\"font\">"
                             "<test name=\"pixelsize\" compare=\"eq\"><double>")
        + QByteArray::number(pixels)
        + QByteArrayLiteral("</double></test>"
                            "<edit name=\"autohint\" mode=\"assign\"><bool>false</bool></edit>"
                            "</match></fontconfig>");
}

// Each changes the glyphs of every font in the process: FreeType's driver
// properties (its TrueType interpreter, stem darkening, ...), and Qt's
// switches that stop it from making bold and italic of a face that has
// neither, as both of the tool's faces need.
constexpr const char* kRenderingVariables[] = {
    "FREETYPE_PROPERTIES",
    "QT_NO_SYNTHESIZED_BOLD",
    "QT_NO_SYNTHESIZED_ITALIC",
};

} // namespace

void pinCanvasRendering()
{
    for (const char* name : kRenderingVariables) {
        qunsetenv(name);
    }
    // Loads the user's configuration as Qt would, then adds the rule after
    // it so that it has the last word. Qt finds fontconfig set up already.
    if (FcInit() == FcTrue) {
        const QByteArray rule = autohintRule();
        FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(rule.constData()),
                                       FcTrue);
    }
}

} // namespace platform
