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

private slots:
    // As the application's entry does.
    void initTestCase() { qApp->installEventFilter(&m_quitGuard); }
    void endingDuringARunIsRefused_data();
    void endingDuringARunIsRefused();

private:
    QuitGuard m_quitGuard;
};

void WindowTest::endingDuringARunIsRefused_data()
{
    QTest::addColumn<bool>("quit");
    QTest::addColumn<bool>("processing");

    QTest::addRow("close while idle") << false << false;
    QTest::addRow("close during a run") << false << true;
    QTest::addRow("quit while idle") << true << false;
    QTest::addRow("quit during a run") << true << true;
}

void WindowTest::endingDuringARunIsRefused()
{
    QFETCH(bool, quit);
    QFETCH(bool, processing);

    QQmlApplicationEngine engine;
    engine.addImportPath("qrc:/");
    engine.load(QUrl("qrc:/VantorelApp/qml/Main.qml"));
    QCOMPARE(engine.rootObjects().size(), 1);
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *model = window->findChild<InstallerViewModel *>();
    QVERIFY(model);
    ViewModelStateAccess::setProcessing(*model, processing);

    if (quit) {
        QEvent event(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &event);
        QCOMPARE(event.isAccepted(), !processing);
    } else {
        QCOMPARE(window->close(), !processing);
    }
    QCOMPARE(window->isVisible(), processing);

    // The refusal is explained rather than silent.
    QObject *notice = window->findChild<QObject *>("busyNotice");
    QVERIFY(notice);
    QCOMPARE(notice->property("visible").toBool(), processing);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
