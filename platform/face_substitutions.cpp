#include "platform/face_substitutions.h"

#include "generation/face_names.h"

#include <QFont>
#include <QStringList>

namespace platform {

void installFaceSubstitutions()
{
    const QStringList ming = {QStringLiteral("AR PL UMing TW")};
    const QStringList kai = {QStringLiteral("AR PL UKai TW")};
    QFont::insertSubstitutions(QString::fromUtf8(generation::kMingFace), ming);
    QFont::insertSubstitutions(QStringLiteral("PMingLiU"), ming);
    QFont::insertSubstitutions(QString::fromUtf8(generation::kKaiFace), kai);
    QFont::insertSubstitutions(QStringLiteral("DFKai-SB"), kai);
}

} // namespace platform
