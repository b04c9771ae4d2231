#include "platform/face_substitutions.h"

#include <QFont>
#include <QStringList>

namespace platform {

void installFaceSubstitutions()
{
    const QStringList ming = {QStringLiteral("AR PL UMing TW")};
    const QStringList kai = {QStringLiteral("AR PL UKai TW")};
    QFont::insertSubstitutions(QStringLiteral("新細明體"), ming);
    QFont::insertSubstitutions(QStringLiteral("PMingLiU"), ming);
    QFont::insertSubstitutions(QStringLiteral("標楷體"), kai);
    QFont::insertSubstitutions(QStringLiteral("DFKai-SB"), kai);
}

} // namespace platform
