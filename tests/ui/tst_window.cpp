// The whole window as the application loads it, with the quit guard it runs under.

#include "installerviewmodel.h"
#include "quitguard.h"
#include "viewmodelstateaccess.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

using namespace vantorel;

class WindowTest : public QObject
{
    Q_OBJECT

    QuitGuard m_quitGuard;

private slots:
    void initTestCase() { qApp->installEventFilter(&m_quitGuard); }

    void endingDuringARunIsRefused_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::addColumn<bool>("processing");
        QTest::addRow("close while idle") << false << false;
        QTest::addRow("quit while idle") << true << false;
        QTest::addRow("quit during a run") << true << true;
        QTest::addRow("close during a run") << false << true;
    }

    void endingDuringARunIsRefused()
    {
        QFETCH(bool, quit);
        QFETCH(bool, processing);
        QQmlApplicationEngine engine;
        engine.addImportPath("qrc:/");
        engine.load(QUrl("qrc:/VantorelApp/qml/Main.qml"));
        QCOMPARE(engine.rootObjects().size(), 1);
        auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->title(), "Vantorel");
        // The File menu's one command, never enabled.
        QObject *newWindow = window->findChild<QObject *>("newWindowItem");
        QVERIFY(newWindow && !newWindow->property("enabled").toBool());
        ViewModelStateAccess::setProcessing(*window->findChild<InstallerViewModel *>(), processing);

        if (quit) {
            QEvent event(QEvent::Quit);
            QCoreApplication::sendEvent(qApp, &event);
            QCOMPARE(event.isAccepted(), !processing);
        } else {
            QCOMPARE(window->close(), !processing);
        }
        QCOMPARE(window->isVisible(), processing);
        // The refusal is explained rather than silent.
        QCOMPARE(window->findChild<QObject *>("busyNotice")->property("visible").toBool(),
                 processing);
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
