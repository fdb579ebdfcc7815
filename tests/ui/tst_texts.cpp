// The window's texts: every one translated, the language chosen from the user's preferences,
// and byte counts as the details card writes them.

#include "bytecountformatter.h"
#include "translations.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace vantorel;

class TextsTest : public QObject
{
    Q_OBJECT

    QList<QPair<QString, QString>> m_sourceTexts; // context, text

private slots:
    // The texts as the sources have them now, read by lupdate itself: a text added or changed
    // without updating the translations shows up as missing below.
    void initTestCase()
    {
        QTemporaryDir folder;
        QProcess lupdate;
        lupdate.start(VANTOREL_LUPDATE,
                      {"-locations", "none", VANTOREL_SOURCE_DIR "/src/ui",
                       VANTOREL_SOURCE_DIR "/src/app", "-ts", folder.filePath("current.ts")});
        QVERIFY(lupdate.waitForFinished(60000) && lupdate.exitCode() == 0);
        QFile file(folder.filePath("current.ts"));
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
        QVERIFY(m_sourceTexts.size() >= 30); // the window's own texts are among them
    }

    // Placeholders kept; Qt's own dialog texts in the same language; pt_BR has no translation
    // and stays in English.
    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"de", "es", "fr", "ja", "zh_CN", "pt_BR"})
            QTest::addRow("%s", language) << QString(language);
    }

    void everyTextIsTranslated()
    {
        QFETCH(QString, language);
        const bool translated = language != "pt_BR";
        QTranslator translator;
        QCOMPARE(translator.load(":/i18n/vantorel_" + language + ".qm"), translated);
        static const QRegularExpression placeholder("%\\d");
        for (const auto &[context, source] :
             translated ? m_sourceTexts : decltype(m_sourceTexts)()) {
            const QString translation = translator.translate(context.toUtf8(), source.toUtf8());
            QVERIFY2(!translation.isEmpty() &&
                         translation.count(placeholder) == source.count(placeholder),
                     qPrintable(context + ": \"" + source + "\" -> \"" + translation + "\""));
        }
        installTranslations(*QCoreApplication::instance(), QLocale(language));
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>());
        QCOMPARE(cancel != "Cancel", translated);
    }

    void languageFollowsPreferences_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("expected"); // empty: the English source texts
        QTest::addRow("regional variant") << QStringList{"de-Latn-AT", "de-AT"} << "de_DE";
        QTest::addRow("Simplified Chinese elsewhere")
            << QStringList{"zh-Hans-SG", "zh-SG"} << "zh_CN";
        QTest::addRow("Traditional Chinese") << QStringList{"zh-Hant-TW", "zh-TW"} << "";
        QTest::addRow("untranslated, then French") << QStringList{"pt-BR", "fr-FR"} << "fr_FR";
        QTest::addRow("English before German") << QStringList{"en-US", "de-DE"} << "";
    }

    void languageFollowsPreferences()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, expected);
        QTranslator translator;
        QCOMPARE(loadApplicationTranslation(translator, uiLanguages), !expected.isEmpty());
        QCOMPARE(translator.language(), expected);
    }

    // Decimal gigabytes, to the hundredth, rounded half up, in the locale's digits.
    void gigabytes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::addRow("zero") << 0LL << "en_US"
                              << "Zero KB";
        QTest::addRow("decimal, rounds half up") << 1'005'000'000LL << "en_US"
                                                 << "1.01 GB";
        QTest::addRow("trailing zero dropped, grouped") << 1'234'500'000'000LL << "en_US"
                                                        << "1,234.5 GB";
        QTest::addRow("below half a hundredth") << 4'999'999LL << "en_US"
                                                << "0 GB";
        QTest::addRow("decimal comma") << 13'500'000'000LL << "de_DE"
                                       << "13,5 GB";
    }

    void gigabytes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(formatGigabytes(bytes, QLocale(locale)), "expected");
    }
};

QTEST_GUILESS_MAIN(TextsTest)
#include "tst_texts.moc"
