#pragma once

#include <QLocale>
#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace vantorel {

// Loads the application's texts for the first of the user's languages, in order of preference
// (QLocale::uiLanguages()), that it is translated into. The search stops at English, the language
// of the source texts, so that a user who prefers English over a translated language keeps
// English. False when no translation applies.
bool loadApplicationTranslation(QTranslator &translator, const QStringList &uiLanguages);

// Installs the application's texts and, in the same language, Qt's own (the standard buttons and
// the file chooser), as children of app. Call before any QML is loaded.
void installTranslations(QCoreApplication &app, const QLocale &locale = QLocale());

} // namespace vantorel
