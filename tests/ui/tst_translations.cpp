#include "translations.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace vantorel;

namespace {

struct SourceText
{
    QString context;
    QString source;
};

const char *const languages[] = {"de", "es", "fr", "ja", "zh_CN"};

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    QStringList found;
    for (const auto &match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everySourceTextIsTranslated_data();
    void everySourceTextIsTranslated();
    void keyTexts_data();
    void keyTexts();
    void languageFollowsPreferences_data();
    void languageFollowsPreferences();
    void qtTextsFollowInTheSameLanguage_data();
    void qtTextsFollowInTheSameLanguage();

private:
    QList<SourceText> m_sourceTexts;
};

// The texts as the sources have them now, read by lupdate itself: a text added or changed
// without updating the translations shows up as missing below.
void TranslationsTest::initTestCase()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString extracted = folder.filePath("current.ts");
    QProcess lupdate;
    lupdate.start(VANTOREL_LUPDATE, {"-locations", "none", VANTOREL_SOURCE_DIR "/src/ui",
                                     VANTOREL_SOURCE_DIR "/src/app", "-ts", extracted});
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(extracted);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            m_sourceTexts.append({context, xml.readElementText()});
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    // The window's own texts are among them, so the scan covered the sources.
    QVERIFY(m_sourceTexts.size() >= 30);
}

void TranslationsTest::everySourceTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : languages)
        QTest::addRow("%s", language) << QString::fromLatin1(language);
}

void TranslationsTest::everySourceTextIsTranslated()
{
    QFETCH(QString, language);

    QTranslator translator;
    QVERIFY(translator.load(":/i18n/vantorel_" + language + ".qm"));
    for (const SourceText &text : std::as_const(m_sourceTexts)) {
        const QByteArray context = text.context.toUtf8();
        const QByteArray source = text.source.toUtf8();
        const QString translation = translator.translate(context, source);
        const QString where = text.context + ": \"" + text.source + "\"";
        QVERIFY2(!translation.isEmpty(), qPrintable(where + " is not translated"));
        QVERIFY2(placeholders(translation) == placeholders(text.source),
                 qPrintable(where + " lost a placeholder: \"" + translation + "\""));
    }
}

void TranslationsTest::keyTexts_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");

    QTest::addRow("de button") << "de"
                               << "ActionRow"
                               << "Select Installer"
                               << "Installationsprogramm auswählen";
    QTest::addRow("de menu mnemonic") << "de"
                                      << "Main"
                                      << "&File"
                                      << "&Datei";
    QTest::addRow("de prompt") << "de"
                               << "vantorel::MessageBoxPrompter"
                               << "'%1' already exists. Do you want to replace it?"
                               << "„%1“ ist bereits vorhanden. Möchtest du die Datei ersetzen?";
    QTest::addRow("es OK") << "es"
                           << "AlertDialog"
                           << "OK"
                           << "Aceptar";
    QTest::addRow("es label") << "es"
                              << "InstallerDetailsCard"
                              << "Build Number:"
                              << "Número de compilación:";
    QTest::addRow("fr space before colon") << "fr"
                                           << "InstallerDetailsCard"
                                           << "Path: %1"
                                           << "Chemin\u00a0: %1";
    QTest::addRow("fr unit") << "fr"
                             << "ByteCountFormatter"
                             << "%1 GB"
                             << "%1\u00a0Go";
    QTest::addRow("ja full-width colon") << "ja"
                                         << "InstallerDetailsCard"
                                         << "Size:"
                                         << "サイズ：";
    QTest::addRow("ja menu mnemonic") << "ja"
                                      << "Main"
                                      << "&File"
                                      << "ファイル(&F)";
    QTest::addRow("zh_CN chooser") << "zh_CN"
                                   << "vantorel::FileDialogChooser"
                                   << "Select a macOS Installer"
                                   << "选择 macOS 安装器";
    QTest::addRow("zh_CN window title") << "zh_CN"
                                        << "Main"
                                        << "Vantorel"
                                        << "Vantorel";
}

void TranslationsTest::keyTexts()
{
    QFETCH(QString, language);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, expected);

    QTranslator translator;
    QVERIFY(translator.load(":/i18n/vantorel_" + language + ".qm"));
    QCOMPARE(translator.translate(context.toUtf8(), source.toUtf8()), expected);
}

void TranslationsTest::languageFollowsPreferences_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("expected"); // empty: the English source texts

    QTest::addRow("German") << QStringList{"de-DE"} << "de_DE";
    QTest::addRow("regional variant") << QStringList{"de-Latn-AT", "de-AT"} << "de_DE";
    QTest::addRow("Japanese") << QStringList{"ja-JP"} << "ja_JP";
    QTest::addRow("Simplified Chinese") << QStringList{"zh-CN", "zh-Hans-CN", "zh"} << "zh_CN";
    QTest::addRow("Simplified Chinese elsewhere") << QStringList{"zh-Hans-SG", "zh-SG"} << "zh_CN";
    QTest::addRow("Traditional Chinese") << QStringList{"zh-Hant-TW", "zh-TW"} << "";
    QTest::addRow("untranslated, then French") << QStringList{"pt-BR", "fr-FR"} << "fr_FR";
    QTest::addRow("English before German") << QStringList{"en-US", "de-DE"} << "";
    QTest::addRow("C locale") << QStringList{"C"} << "";
}

void TranslationsTest::languageFollowsPreferences()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, expected);

    QTranslator translator;
    QCOMPARE(loadApplicationTranslation(translator, uiLanguages), !expected.isEmpty());
    QCOMPARE(translator.language(), expected);
}

void TranslationsTest::qtTextsFollowInTheSameLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("translated");

    for (const char *language : languages)
        QTest::addRow("%s", language) << QString::fromLatin1(language) << true;
    QTest::addRow("untranslated language") << "pt_BR" << false;
}

// The standard buttons of Qt's dialogs (the file chooser's) speak the window's language.
void TranslationsTest::qtTextsFollowInTheSameLanguage()
{
    QFETCH(QString, locale);
    QFETCH(bool, translated);

    installTranslations(*QCoreApplication::instance(), QLocale(locale));
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    const QString title = QCoreApplication::translate("Main", "New Window");
    for (auto *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QCOMPARE(cancel != "Cancel", translated);
    QCOMPARE(title != "New Window", translated);
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
