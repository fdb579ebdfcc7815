// The window's desktop services on a private session bus, where this test stands in for the
// notification service and the file manager (and the desktop's URL opener) and records calls.

#include "doublessandbox.h"
#include "viewmodelstateaccess.h"

#include <QtDBus>
#include <QtQuick>
#include <QtTest>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

using namespace vantorel;
using Calls = QList<QStringList>;

class DesktopTest : public QObject
{
    Q_OBJECT
    QProcess m_bus;
    QTemporaryDir m_folder;
    Calls m_calls;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow *m_window = nullptr;
    InstallerViewModel *m_model = nullptr;

    // The application's window, as the application loads it.
    void load()
    {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath("qrc:/");
        m_engine->load(QUrl("qrc:/VantorelApp/qml/Main.qml"));
        m_window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().value(0));
        m_model = m_window->findChild<InstallerViewModel *>();
    }
    QObject *find(const char *name) const { return m_window->findChild<QObject *>(name); }

public slots: // the stand-ins' methods
    uint Notify(QString app, uint, QString, QString summary, QString body, QStringList, QVariantMap,
                int)
    {
        m_calls << QStringList{app, summary, body};
        return 1;
    }
    void ShowItems(const QStringList &uris, const QString &) { m_calls << uris; }
    void openUrl(const QUrl &url) { m_calls << QStringList{url.toString()}; }

private slots:
    void initTestCase()
    {
        // No service files: nothing on this machine may start in place of the stand-ins.
        qputenv("XDG_DATA_HOME", "/nonexistent");
        qputenv("XDG_DATA_DIRS", "/nonexistent");
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        QVERIFY2(m_bus.waitForReadyRead(10000), "no dbus-daemon (Debian package dbus-daemon)");
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        // What the drop test offers.
        for (const char *bundle : {"Install macOS Sonoma.app", "Folder"})
            makeTestBundle(m_folder.filePath(bundle), "<plist version=\"1.0\"><dict/></plist>");
        QVERIFY(QDir().mkpath(m_folder.filePath("Other.app")));
        QVERIFY(writeTestFile(m_folder.filePath("File.app"), "x"));
    }
    void cleanupTestCase() { m_bus.close(); }
    void cleanup()
    {
        m_engine.reset();
        QDBusConnection::disconnectFromBus("services");
        QDesktopServices::unsetUrlHandler("file");
        m_calls.clear();
    }

    void aFinishedRunCallsBack_data()
    {
        QTest::addColumn<QString>("name");  // "a/b" fails at once
        QTest::addColumn<bool>("services"); // notifications and a file manager
        QTest::addColumn<bool>("inFront");
        QTest::addColumn<QString>("notice"); // the notification's body (%1: Desktop); empty: none
        const QString sonoma = "Install macOS Sonoma";
        QTest::addRow("success out of sight")
            << sonoma << true << false
            << "ISO image created successfully at:\n%1/Install macOS Sonoma.iso";
        // The body may be read as markup.
        QTest::addRow("name with & and <")
            << "Install <Sonoma> & Co" << true << false
            << "ISO image created successfully at:\n%1/Install &lt;Sonoma&gt; &amp; Co.iso";
        QTest::addRow("failure out of sight")
            << "a/b" << true << false
            << "Failed to create ISO image: The installer name cannot be used as a file name";
        QTest::addRow("success in front") << sonoma << true << true << "";
        QTest::addRow("no services on the bus") << sonoma << false << false << "";
    }
    void aFinishedRunCallsBack()
    {
        QFETCH(QString, name);
        QFETCH(bool, services);
        QFETCH(bool, inFront);
        QFETCH(QString, notice);
        auto bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "services");
        for (const QString service :
             {"org.freedesktop.Notifications", "org.freedesktop.FileManager1"})
            QVERIFY(!services ||
                    (bus.registerService(service) &&
                     bus.registerObject('/' + QString(service).replace('.', '/'), service, this,
                                        QDBusConnection::ExportAllSlots)));
        QDesktopServices::setUrlHandler("file", this, "openUrl");
        DoublesSandbox sandbox(VANTOREL_TEST_DOUBLES_DIR);
        load();
        QWindow other;
        other.show();
        QWindow *front = inFront ? static_cast<QWindow *>(m_window) : &other;
        front->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(front));
        // Any warning but the offscreen platform's about the window's size hints, which the run's
        // taller content changes.
        QTest::failOnWarning(
            QRegularExpression("^(?!This plugin does not support propagateSizeHints)"));

        m_model->setEnvironment({VANTOREL_OSASCRIPT_PATH, sandbox.desktop, sandbox.volumes});
        ViewModelStateAccess::setSelectedInstaller(*m_model, sandbox.makeInstaller(name, "14.6"));
        m_model->createISO();
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->isProcessing(), 30000);
        QObject *alert = find("outcomeAlert");
        // Whatever the bus holds, the alert does not wait for it.
        QTRY_VERIFY_WITH_TIMEOUT(alert->property("opened").toBool(), 1000);
        Calls expected;
        if (!notice.isEmpty())
            expected << QStringList{"Vantorel", m_model->alertTitle(),
                                    QString(notice).replace("%1", sandbox.desktop)};

        // Only a success has a file to show; the file manager shows the ISO, or else the folder.
        auto *show = alert->findChild<QQuickItem *>("alertActionButton");
        QCOMPARE(show->isVisible(), m_model->alertTitle() == "Success");
        if (show->isVisible()) {
            QCOMPARE(show->property("text"), "Show in Folder");
            QVERIFY(QMetaObject::invokeMethod(show, "clicked"));
            const QString iso = sandbox.desktop + '/' + name + ".iso";
            expected << QStringList{
                QUrl::fromLocalFile(services ? iso : sandbox.desktop).toString(QUrl::FullyEncoded)};
        } else { // Return presses "OK"
            m_window->requestActivate();
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            QTest::keyClick(m_window, Qt::Key_Return);
        }
        QTRY_COMPARE(m_calls, expected);
        QVERIFY(!m_model->showingAlert());
    }

    void dropSelectsAnInstaller_data()
    {
        QTest::addColumn<QStringList>("items"); // file URLs after "file://", %1: the folder
        QTest::addColumn<QString>("open");      // a run, an alert or a modal window
        QTest::addColumn<QString>("outcome");   // the loaded installer, an alert; none: refused
        const QString sonoma = "Install macOS Sonoma", none;
        const QStringList installer{"%1/" + sonoma + ".app"};
        QTest::addRow("installer") << installer << none << sonoma;
        // As Finder hands a folder over.
        QTest::addRow("trailing slash") << QStringList{installer[0] + '/'} << none << sonoma;
        QTest::addRow("localhost") << QStringList{"localhost" + installer[0]} << none << sonoma;
        QTest::addRow("other application")
            << QStringList{"%1/Other.app"} << none << "Invalid Installer";
        QTest::addRow("file named .app") << QStringList{"%1/File.app"} << none << none;
        QTest::addRow("installer without .app") << QStringList{"%1/Folder"} << none << none;
        QTest::addRow("two installers") << installer + installer << none << none;
        QTest::addRow("during a run") << installer << "run" << none;
        QTest::addRow("alert open") << installer << "alert" << none; // an untitled one
        QTest::addRow("replace prompt open") << installer << "modal window" << none;
    }
    void dropSelectsAnInstaller()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, open);
        QFETCH(QString, outcome);
        load();
        ViewModelStateAccess::setProcessing(*m_model, open == "run");
        if (open == "alert")
            m_model->showAlert(QString(), "An alert");
        QWindow prompt;
        prompt.setModality(Qt::ApplicationModal);
        prompt.setVisible(open == "modal window");
        QMimeData data;
        for (const QString &item : items)
            data.setUrls(data.urls() << QUrl("file://" + item.arg(m_folder.path())));

        const QPoint at(m_window->width() / 2, m_window->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(m_window, &enter);
        QCOMPARE(find("dropHighlight")->property("visible").toBool(), !outcome.isEmpty());
        // Shift proposes a move; the source learns whether it was taken, and keeps its own.
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::ShiftModifier);
        QCoreApplication::sendEvent(m_window, &drop);
        const bool taken = outcome.startsWith("Install");
        QCOMPARE(drop.isAccepted(), taken);
        QVERIFY(!taken || drop.dropAction() == Qt::CopyAction);
        m_model->waitForBackgroundWork();
        const std::optional<InstallerInfo> &selected = m_model->selectedInstaller();
        QCOMPARE(selected ? selected->name : m_model->alertTitle(), outcome);
        // As the dialog would name it: no trailing slash, no host.
        if (selected)
            QCOMPARE(selected->filePath(), m_folder.filePath("Install macOS Sonoma.app"));
    }
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
