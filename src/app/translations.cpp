#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vantorel {

bool loadApplicationTranslation(QTranslator &translator, const QStringList &uiLanguages)
{
    for (const QString &name : uiLanguages) {
        QLocale language(name);
        if (language.language() == QLocale::English)
            return false;
        // One Simplified Chinese translation serves every region that writes it (zh_SG, zh_Hans).
        if (language.language() == QLocale::Chinese &&
            language.script() == QLocale::SimplifiedChineseScript)
            language = QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
        if (translator.load(language, QStringLiteral("vantorel"), QStringLiteral("_"),
                            QStringLiteral(":/i18n")))
            return true;
    }
    return false;
}

void installTranslations(QCoreApplication &app, const QLocale &locale)
{
    auto *own = new QTranslator(&app);
    if (!loadApplicationTranslation(*own, locale.uiLanguages())) {
        delete own;
        return;
    }
    QCoreApplication::installTranslator(own);

    // Qt's texts only beside ours and in the same language: the window and its dialogs speak one.
    auto *qt = new QTranslator(&app);
    if (qt->load(QLocale(own->language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
}

} // namespace vantorel
