#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace platform {

QtTranslation::QtTranslation()
{
    m_loaded = m_translator.load(QStringLiteral("qtbase_zh_TW"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(&m_translator);
}

QtTranslation::~QtTranslation()
{
    if (m_loaded) {
        QCoreApplication::removeTranslator(&m_translator);
    }
}

} // namespace platform
