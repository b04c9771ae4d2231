#pragma once

#include <QTranslator>

namespace platform {

// Puts Qt's own Traditional Chinese texts (the buttons of message boxes,
// the standard dialogs, the text boxes' context menus) in force for as long
// as it lives, so they read like the rest of the window whatever the
// user's locale. The tool's own texts are Chinese already; this class
// leaves them alone. Without Debian's qt6-translations-l10n the window
// stays usable with Qt's English texts.
class QtTranslation {
public:
    QtTranslation();
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    bool loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded = false;
};

} // namespace platform
