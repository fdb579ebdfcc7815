#include "installerviewmodel.h"
#include "quitguard.h"
#include "vantorelapp.h"
#include "viewmodelstateaccess.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

using namespace vantorel;

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    // As the application's entry does.
    void initTestCase() { qApp->installEventFilter(&m_quitGuard); }
    void endingDuringARunIsRefused_data();
    void endingDuringARunIsRefused();
    void controlsTakeTheApplicationPalette();
    void menuBarIsMadeWhenUsed();

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
    QQuickWindow *window = VantorelApp::loadWindow(engine);
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
    QCOMPARE(notice && notice->property("visible").toBool(), processing);
}

// A desktop theme's palette reaches the controls group by group, also when it changes later.
void WindowTest::controlsTakeTheApplicationPalette()
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

// A strip that looks like the menu bar stands in for it until the pointer moves over it; one that
// is there as the window opens (the offscreen pointer rests at the window's corner) does not count.
// The tests stop short of opening the menu: Qt 6.4 leaves the textures of a menu opened by a click
// behind when the window goes, and AddressSanitizer reports them.
void WindowTest::menuBarIsMadeWhenUsed()
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
    QVERIFY(bar->findChild<QObject *>("newWindowItem"));
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
