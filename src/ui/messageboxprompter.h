#pragma once

#include "interaction.h"

#include <QtQml/qqml.h>

namespace vantorel {

// The real replace prompt: a warning message box.
class MessageBoxPrompter : public ReplacementPrompter
{
    Q_OBJECT
    QML_ELEMENT
public:
    using ReplacementPrompter::ReplacementPrompter;
    bool askToReplace(const QString &fileName) override;
};

} // namespace vantorel
