// The application around the views: its window and quit guard, the real chooser and replace
// prompt driven through their widgets, and its texts (translations, byte counts).

#include "bytecountformatter.h"
#include "filedialogchooser.h"
#include "installerviewmodel.h"
#include "messageboxprompter.h"
#include "quitguard.h"
#include "translations.h"
#include "viewmodelstateaccess.h"

#include <QtQuick>
#include <QtTest>
#include <QtWidgets>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

using namespace vantorel;

namespace {

// Runs each step, one per tick, on whichever dialog is modal then; once they are used up, a
// dialog still open is rejected, so that a failed check cannot leave the test hanging.
std::unique_ptr<QTimer> driveModal(QList<std::function<void(QDialog *)>> steps)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [steps]() mutable {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            steps.isEmpty() ? dialog->reject() : steps.takeFirst()(dialog);
    });
    timer->start(20);
    return timer;
}

} // namespace

class AppTest : public QObject
{
    Q_OBJECT

    QuitGuard m_quitGuard;

private slots:
    void initTestCase() { qApp->installEventFilter(&m_quitGuard); }

    void replacePrompt_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("key"); // 0: click the button named by the answer
        QTest::addColumn<bool>("replace");
        QTest::addRow("Replace") << "Install macOS Sonoma.dmg" << 0 << true;
        QTest::addRow("Cancel") << "Install macOS Sonoma.dmg" << 0 << false;
        QTest::addRow("Escape") << "Install macOS Sonoma.iso" << int(Qt::Key_Escape) << false;
        QTest::addRow("Return takes Replace") << "x.iso" << int(Qt::Key_Return) << true;
        QTest::addRow("markup in the name") << "<b>Bold</b> &amp;.dmg" << 0 << true;
    }

    void replacePrompt()
    {
        QFETCH(QString, fileName);
        QFETCH(int, key);
        QFETCH(bool, replace);
        QStringList shown;
        const auto driver = driveModal({[&](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            const auto *label = box->findChild<QLabel *>("qt_msgbox_informativelabel");
            shown << box->text() << label->text() << QString::number(label->textFormat());
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            for (QAbstractButton *button : box->buttons())
                if (!key && button->text() == (replace ? "Replace" : "Cancel"))
                    button->click();
        }});
        QCOMPARE(MessageBoxPrompter().askToReplace(fileName), replace);
        QCOMPARE(shown,
                 QStringList({"File already exists",
                              "'" + fileName + "' already exists. Do you want to replace it?",
                              QString::number(Qt::PlainText)}));
    }

    void chooser_data()
    {
        // Paths typed into the dialog one after the other, each followed by Return; an empty
        // entry cancels.
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::addRow("bundle") << QStringList{"Install macOS Sonoma.app"}
                                << "Install macOS Sonoma.app";
        QTest::addRow("plain folder opened, then a bundle")
            << QStringList{"Folder", "Install macOS Sonoma.app"} << "Install macOS Sonoma.app";
        QTest::addRow("file named .app refused") << QStringList{"Fake.app", ""} << "";
    }

    void chooser()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, chosen);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("Install macOS Sonoma.app/Contents") &&
                QDir(root.path()).mkpath("Folder"));
        QFile(root.filePath("Fake.app")).open(QIODevice::WriteOnly);
        QList<std::function<void(QDialog *)>> steps;
        for (const QString &entry : typed) {
            steps << [&, entry](QDialog *dialog) {
                QCOMPARE(dialog->windowTitle(), "Select a macOS Installer");
                if (entry.isEmpty())
                    return dialog->reject();
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                name->setText(root.filePath(entry));
                QTest::keyClick(name, Qt::Key_Return);
            };
        }
        const auto driver = driveModal(steps);
        QCOMPARE(FileDialogChooser().chooseInstaller(),
                 chosen.isEmpty() ? QUrl() : QUrl::fromLocalFile(root.filePath(chosen)));
    }

    // Every text the sources hold now, as lupdate reads them, translated with its placeholders;
    // Qt's own dialog texts in the same language; pt_BR has no translation and stays English.
    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"de", "es", "fr", "ja", "zh_CN", "pt_BR"})
            QTest::addRow("%s", language) << QString(language);
    }

    void everyTextIsTranslated()
    {
        QFETCH(QString, language);
        QTemporaryDir folder;
        QCOMPARE(QProcess::execute(VANTOREL_LUPDATE,
                                   {"-silent", "-locations", "none", VANTOREL_SOURCE_DIR "/src/ui",
                                    VANTOREL_SOURCE_DIR "/src/app", "-ts",
                                    folder.filePath("current.ts")}),
                 0);
        QFile file(folder.filePath("current.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QTranslator translator;
        QCOMPARE(translator.load(":/i18n/vantorel_" + language + ".qm"), language != "pt_BR");
        static const QRegularExpression placeholder("%\\d");
        QString context;
        int texts = 0;
        while (!xml.atEnd() && !translator.isEmpty()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"name")
                context = xml.readElementText();
            if (xml.tokenType() != QXmlStreamReader::StartElement || xml.name() != u"source")
                continue;
            const QString source = xml.readElementText(),
                          translation = translator.translate(context.toUtf8(), source.toUtf8());
            QVERIFY2(!translation.isEmpty() &&
                         translation.count(placeholder) == source.count(placeholder),
                     qPrintable(context + ": \"" + source + "\" -> \"" + translation + "\""));
            ++texts;
        }
        QVERIFY(translator.isEmpty() || texts >= 30); // the window's own texts are among them
        installTranslations(*qApp, QLocale(language));
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        qDeleteAll(qApp->findChildren<QTranslator *>());
        QCOMPARE(cancel != "Cancel", language != "pt_BR");
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

    // Decimal gigabytes to the hundredth, rounded half up, in the locale's digits.
    void gigabytes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::addRow("zero") << 0LL << "en_US"
                              << "Zero KB";
        QTest::addRow("half a hundredth up") << 1'005'000'000LL << "en_US"
                                             << "1.01 GB";
        QTest::addRow("just below it") << 4'999'999LL << "en_US"
                                       << "0 GB";
        QTest::addRow("trailing zero dropped, grouped") << 1'234'500'000'000LL << "en_US"
                                                        << "1,234.5 GB";
        QTest::addRow("decimal comma") << 13'500'000'000LL << "de_DE"
                                       << "13,5 GB";
    }

    void gigabytes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(formatGigabytes(bytes, QLocale(locale)), "expected");
    }

    // Last: an accepted quit leaves every later event loop ending at once.
    void endingDuringARunIsRefused_data()
    {
        QTest::addColumn<bool>("quit"); // or close the window
        QTest::addColumn<bool>("processing");
        QTest::addRow("close while idle") << false << false;
        QTest::addRow("quit while idle") << true << false;
        QTest::addRow("close during a run") << false << true;
        QTest::addRow("quit during a run") << true << true;
    }

    void endingDuringARunIsRefused()
    {
        QFETCH(bool, quit);
        QFETCH(bool, processing);
        QQmlApplicationEngine engine;
        engine.addImportPath("qrc:/");
        engine.load(QUrl("qrc:/VantorelApp/qml/Main.qml"));
        auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->title(), "Vantorel");
        // The File menu's one command is never enabled.
        QVERIFY(!window->findChild<QObject *>("newWindowItem")->property("enabled").toBool());
        ViewModelStateAccess::setProcessing(*window->findChild<InstallerViewModel *>(), processing);

        QEvent event(QEvent::Quit);
        QCOMPARE(quit ? (QCoreApplication::sendEvent(qApp, &event), event.isAccepted())
                      : window->close(),
                 !processing);
        QCOMPARE(window->isVisible(), processing);
        // The refusal is explained rather than silent.
        QCOMPARE(window->findChild<QObject *>("busyNotice")->property("visible").toBool(),
                 processing);
    }
};

QTEST_MAIN(AppTest)
#include "tst_app.moc"
