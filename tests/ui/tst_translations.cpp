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
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void keyTexts_data();
    void keyTexts();
    void languageFollowsPreferences_data();
    void languageFollowsPreferences();

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

void TranslationsTest::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"de", "es", "fr", "ja", "zh_CN", "pt_BR"})
        QTest::addRow("%s", language) << QString::fromLatin1(language);
}

// Every text the sources hold now, and the standard buttons of Qt's dialogs (the file
// chooser's) in the same language; pt_BR has no translation and stays in English.
void TranslationsTest::everyTextIsTranslated()
{
    QFETCH(QString, language);
    const bool translated = language != "pt_BR";
    QTranslator translator;
    QCOMPARE(translator.load(":/i18n/vantorel_" + language + ".qm"), translated);
    for (const SourceText &text : translated ? m_sourceTexts : QList<SourceText>()) {
        const QString translation =
            translator.translate(text.context.toUtf8(), text.source.toUtf8());
        const QString where = text.context + ": \"" + text.source + "\"";
        QVERIFY2(!translation.isEmpty(), qPrintable(where + " is not translated"));
        QVERIFY2(placeholders(translation) == placeholders(text.source),
                 qPrintable(where + " lost a placeholder: \"" + translation + "\""));
    }

    installTranslations(*QCoreApplication::instance(), QLocale(language));
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    const QString title = QCoreApplication::translate("Main", "New Window");
    for (auto *installed : QCoreApplication::instance()->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    QCOMPARE(cancel != "Cancel", translated);
    QCOMPARE(title != "New Window", translated);
}

void TranslationsTest::keyTexts_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *language, const char *context, const char *source,
                        const char *expected, const char *what) {
        QTest::addRow("%s %s", language, what) << QString(language) << QString(context)
                                               << QString(source) << QString::fromUtf8(expected);
    };
    row("de", "ActionRow", "Select Installer", "Installationsprogramm auswählen", "button");
    row("de", "Main", "&File", "&Datei", "menu mnemonic");
    row("de", "vantorel::MessageBoxPrompter", "'%1' already exists. Do you want to replace it?",
        "„%1“ ist bereits vorhanden. Möchtest du die Datei ersetzen?", "prompt");
    row("es", "AlertDialog", "OK", "Aceptar", "OK");
    row("fr", "InstallerDetailsCard", "Path: %1", "Chemin\u00a0: %1", "space before colon");
    row("fr", "ByteCountFormatter", "%1 GB", "%1\u00a0Go", "unit");
    row("ja", "InstallerDetailsCard", "Size:", "サイズ：", "full-width colon");
    row("ja", "Main", "&File", "ファイル(&F)", "menu mnemonic");
    row("zh_CN", "vantorel::FileDialogChooser", "Select a macOS Installer", "选择 macOS 安装器",
        "chooser");
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

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
