// The application around the views: its window and quit guard, the real chooser and replace
// prompt driven through their widgets, and its texts.

#include "filedialogchooser.h"
#include "installerviewmodel.h"
#include "messageboxprompter.h"
#include "quitguard.h"
#include "translations.h"
#include "vantorelapp.h"
#include "viewmodelstateaccess.h"

#include <QtQuick>
#include <QtTest>
#include <QtWidgets>

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

// Every accessible name under `node`, each after a separator. Offscreen, Qt cannot tell that a
// screen reader is on and names no button after its text: a nameless button counts with its text.
void addNames(QAccessibleInterface *node, QString &names)
{
    const QString name = node->text(QAccessible::Name);
    const bool button = node->object()->inherits("QQuickAbstractButton");
    names +=
        u'\x1f' + (name.isEmpty() && button ? node->object()->property("text").toString() : name);
    for (int i = 0; i < node->childCount(); ++i)
        addNames(node->child(i), names);
}

// The visible texts (Text, Label) under `item` that lie at least partly inside `area`: the window,
// narrowed by each clipping item.
void addShownTexts(QQuickItem *item, QRectF area, QStringList &texts)
{
    if (!item->isVisible() || item->opacity() == 0)
        return;
    const QRectF rect = item->mapRectToScene(item->boundingRect());
    area = item->clip() ? area.intersected(rect) : area;
    const QString text = item->property("text").toString();
    if (item->inherits("QQuickText") && !text.isEmpty() && rect.intersects(area))
        texts << text;
    for (QQuickItem *child : item->childItems())
        addShownTexts(child, area, texts);
}

} // namespace

class AppTest : public QObject
{
    Q_OBJECT

    QuitGuard m_quitGuard;

private slots:
    void initTestCase() { qApp->installEventFilter(&m_quitGuard); }

    // Return takes the default, "Replace"; Escape cancels. The name is shown as it is.
    void replacePrompt_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("replace");
        QTest::addRow("Return") << int(Qt::Key_Return) << true;
        QTest::addRow("Escape") << int(Qt::Key_Escape) << false;
    }

    void replacePrompt()
    {
        QFETCH(int, key);
        QStringList shown;
        const auto driver = driveModal({[&](QDialog *dialog) {
            const auto *label = dialog->findChild<QLabel *>("qt_msgbox_informativelabel");
            shown << qobject_cast<QMessageBox *>(dialog)->text() << label->text()
                  << QString::number(label->textFormat());
            QTest::keyClick(dialog, Qt::Key(key));
        }});
        QTEST(MessageBoxPrompter().askToReplace("<b>Bold</b> &amp;.dmg"), "replace");
        QCOMPARE(shown, QStringList({"File already exists",
                                     "'<b>Bold</b> &amp;.dmg' already exists. Do you want to "
                                     "replace it?",
                                     QString::number(Qt::PlainText)}));
    }

    // A plain folder is opened and a file named like a bundle refused; only a bundle is chosen.
    void chooser()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("Install macOS Sonoma.app/Contents") &&
                QDir(root.path()).mkpath("Folder"));
        QFile(root.filePath("Fake.app")).open(QIODevice::WriteOnly);
        QStringList seen;
        QList<std::function<void(QDialog *)>> steps;
        for (const char *entry : {"Folder", "Fake.app", "Install macOS Sonoma.app"}) {
            steps << [&, entry](QDialog *dialog) {
                seen << dialog->windowTitle() + ": " +
                            qobject_cast<QFileDialog *>(dialog)->directory().dirName();
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                name->setText(root.filePath(entry));
                QTest::keyClick(name, Qt::Key_Return);
            };
        }
        const auto driver = driveModal(steps);
        QCOMPARE(FileDialogChooser().chooseInstaller(),
                 QUrl::fromLocalFile(root.filePath("Install macOS Sonoma.app")));
        QCOMPARE(seen.mid(1), QStringList({"Select a macOS Installer: Folder",
                                           "Select a macOS Installer: Folder"}));
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

    void languageFollowsPreferences()
    {
        const auto chosen = [](const QStringList &uiLanguages) {
            QTranslator translator;
            return loadApplicationTranslation(translator, uiLanguages) ? translator.language()
                                                                       : "English";
        };
        QCOMPARE(chosen({"de-Latn-AT", "de-AT"}), "de_DE");
        QCOMPARE(chosen({"zh-Hans-SG", "zh-SG"}), "zh_CN"); // one Simplified Chinese for all
        QCOMPARE(chosen({"zh-Hant-TW", "zh-TW"}), "English");
        QCOMPARE(chosen({"pt-BR", "fr-FR"}), "fr_FR"); // the first language there is
        QCOMPARE(chosen({"en-US", "de-DE"}), "English");
    }

    // A desktop theme's palette reaches the controls group by group, also when it changes later.
    void controlsTakeTheApplicationPalette()
    {
        const QPalette original = QGuiApplication::palette();
        QPalette palette = original;
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x606060));
        QGuiApplication::setPalette(palette);
        QQmlApplicationEngine engine;
        QQuickWindow *window = VantorelApp::loadWindow(engine);
        const auto color = [window](const char *group, const char *role) {
            const QVariant colors = window->property("palette").value<QObject *>()->property(group);
            return colors.value<QObject *>()->property(role).value<QColor>();
        };
        QCOMPARE(color("disabled", "windowText"), QColor(0x606060));
        palette.setColor(QPalette::Window, QColor(0x303030));
        QGuiApplication::setPalette(palette);
        QCOMPARE(color("active", "window"), QColor(0x303030));
        QGuiApplication::setPalette(original);
    }

    // A strip that looks like the menu bar stands in for it until the pointer moves over it; one
    // that is there as the window opens (the offscreen pointer rests at the window's corner) does
    // not count. The tests stop short of opening the menu: Qt 6.4 leaves the textures of a menu
    // opened by a click behind when the window goes, and AddressSanitizer reports them.
    void menuBarIsMadeWhenUsed()
    {
        QQmlApplicationEngine engine;
        QQuickWindow *window = VantorelApp::loadWindow(engine);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *strip = window->property("menuStrip").value<QQuickItem *>();
        QCOMPARE(window->property("menuBar").value<QQuickItem *>(), strip);
        for (const int x : {10, 12})
            QTest::mouseMove(window, QPoint(x, 10));
        auto *bar = window->property("menuBar").value<QQuickItem *>();
        QVERIFY(bar != strip);
        QCOMPARE(bar->implicitHeight(), strip->implicitHeight());
        // The File menu's one command is never enabled.
        QVERIFY(!bar->findChild<QObject *>("newWindowItem")->property("enabled").toBool());
    }

    // Whatever a sighted user reads in each state, a screen reader can reach: each visible text
    // is an accessible name, or part of one.
    void everyShownTextIsAccessible_data()
    {
        QTest::addColumn<int>("stage");     // 1: an installer selected, 2: a run under way
        QTest::addColumn<QString>("alert"); // title|message|detail
        QTest::addRow("nothing selected") << 0 << "";
        QTest::addRow("installer selected") << 1 << "";
        QTest::addRow("running with the time line") << 2 << "";
        QTest::addRow("success with detail")
            << 1 << "Success|ISO image created successfully at:\n/X.iso|Verified: bootable";
        QTest::addRow("error") << 1 << "Error|Failed to create ISO image: disk full";
    }

    void everyShownTextIsAccessible()
    {
        QFETCH(int, stage);
        QFETCH(QString, alert);
        QQmlApplicationEngine engine;
        QQuickWindow *window = VantorelApp::loadWindow(engine);
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        auto &model = *window->findChild<InstallerViewModel *>();
        if (stage > 0)
            ViewModelStateAccess::setSelectedInstaller(model, InstallerInfo());
        ViewModelStateAccess::setProcessing(model, stage == 2);
        ViewModelStateAccess::setTime(model, 70, 89);
        if (!alert.isEmpty()) {
            model.showAlert(alert.section('|', 0, 0), alert.section('|', 1, 1),
                            alert.section('|', 2));
            emit model.runFinished(alert.startsWith("Success"), "/X.iso");
            QTRY_VERIFY(window->findChild<QObject *>("outcomeAlert")->property("opened").toBool());
        }
        QSignalSpy rendered(window, &QQuickWindow::frameSwapped);
        window->update();
        QVERIFY(rendered.wait());

        QAccessible::setActive(true); // as a screen reader makes it: each control names itself
        QString names;
        addNames(QAccessible::queryAccessibleInterface(window), names);
        QAccessible::setActive(false);
        QStringList shown, unheard;
        addShownTexts(window->contentItem(), QRectF(QPointF(), window->size()), shown);
        for (const QString &text : std::as_const(shown))
            if (!names.contains(text))
                unheard << text;
        QVERIFY(shown.size() > 3);
        QVERIFY2(unheard.isEmpty(), qPrintable("not heard: " + unheard.join(" | ")));
    }

    // Last: an accepted quit leaves every later event loop ending at once.
    void endingDuringARunAsksFirst_data()
    {
        QTest::addColumn<bool>("quit"); // or close the window
        QTest::addColumn<bool>("processing");
        QTest::addRow("close while idle") << false << false;
        QTest::addRow("quit while idle") << true << false;
        QTest::addRow("close during a run") << false << true;
        QTest::addRow("quit during a run") << true << true;
    }

    void endingDuringARunAsksFirst()
    {
        QFETCH(bool, quit);
        QFETCH(bool, processing);
        QQmlApplicationEngine engine;
        QQuickWindow *window = VantorelApp::loadWindow(engine);
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->title(), "Vantorel");
        // The content's minimum size, under the menu bar when it is in the window.
        const auto *bar = window->property("menuBar").value<QQuickItem *>();
        QCOMPARE(window->minimumSize(), QSize(600, 600 + (bar ? int(bar->implicitHeight()) : 0)));
        auto *model = window->findChild<InstallerViewModel *>();
        ViewModelStateAccess::setProcessing(*model, processing);

        QEvent event(QEvent::Quit);
        QCOMPARE(quit ? (QCoreApplication::sendEvent(qApp, &event), event.isAccepted())
                      : window->close(),
                 !processing);
        QCOMPARE(window->isVisible(), processing);
        if (!processing)
            return;
        // "Stop and Quit" stops the run, and the window closes once it has stopped.
        auto *question = window->findChild<QObject *>("quitQuestion");
        QTRY_VERIFY(question && question->property("opened").toBool());
        QCOMPARE(question->property("title"), "Stop creating the ISO and quit?");
        QVERIFY(QMetaObject::invokeMethod(question->findChild<QObject *>("alertActionButton"),
                                          "clicked"));
        QVERIFY(model->isStopping() && window->isVisible());
        ViewModelStateAccess::setProcessing(*model, false);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(AppTest)
#include "tst_app.moc"
