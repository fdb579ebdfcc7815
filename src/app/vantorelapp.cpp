#include "vantorelapp.h"

#include "quitguard.h"
#include "translations.h"

#include "installerviewmodel.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QMetaEnum>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QThreadPool>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

namespace vantorel {

namespace {

// Gives the window's controls (menu, progress bar, dialogs) the application palette that the
// views take, so that the window is light or dark as one piece whatever the style's own palette
// says. A QML palette holds one object per colour group, whose colours are named as QPalette's
// roles; each group is set on its own, since a colour set for all groups would win over the
// disabled one. The colours are gathered on an item of its own, which has no children to pass
// each one on to, and reach the window in one assignment: set one at a time on the window, each
// colour would travel through the whole tree of items.
void applyApplicationPalette(QQuickWindow &window)
{
    QQuickItem gathering;
    auto *palette = gathering.property("palette").value<QObject *>();
    if (!palette)
        return;
    const QPalette source = QGuiApplication::palette();
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    const std::pair<const char *, QPalette::ColorGroup> groups[] = {
        {"active", QPalette::Active},
        {"inactive", QPalette::Inactive},
        {"disabled", QPalette::Disabled}};
    for (const auto &[name, group] : groups) {
        auto *colors = palette->property(name).value<QObject *>();
        if (!colors)
            continue;
        for (int i = 0; i < roles.keyCount(); ++i) {
            QByteArray property = roles.key(i);
            property[0] = char(QChar::toLower(property[0]));
            if (colors->metaObject()->indexOfProperty(property.constData()) >= 0)
                colors->setProperty(property.constData(),
                                    source.color(group, QPalette::ColorRole(roles.value(i))));
        }
    }
    window.setProperty("palette", QVariant::fromValue(palette));
}

// Follows a change of the desktop's palette (a switch to a dark theme) while the window is open.
// The application object hears of it, not the window.
class PaletteFollower : public QObject
{
public:
    explicit PaletteFollower(QQuickWindow &window)
        : QObject(&window)
        , m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == QCoreApplication::instance() &&
            event->type() == QEvent::ApplicationPaletteChange)
            applyApplicationPalette(m_window);
        return false;
    }

private:
    QQuickWindow &m_window;
};

} // namespace

QQuickWindow *VantorelApp::loadWindow(QQmlApplicationEngine &engine)
{
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.load(QUrl(QStringLiteral("qrc:/VantorelApp/qml/Main.qml")));
    auto *window = engine.rootObjects().isEmpty()
                       ? nullptr
                       : qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
    if (window) {
        // Before the first frame, which the event loop renders.
        applyApplicationPalette(*window);
        new PaletteFollower(*window);
    }
    return window;
}

int VantorelApp::main(int argc, char *argv[], const WindowHook &hook)
{
    // Widgets only for the native file chooser and message boxes.
    QApplication app(argc, argv);
    // The first text laid out would read the font database on the GUI thread; read on a thread
    // of its own, it is ready by then, while the engine starts and loads the QML types. The
    // pool waits for it before the application goes.
    QThreadPool fontReader;
    fontReader.start([] { QFontDatabase::families(); });
    // The settings (the folder runs save to) live under these: on macOS in the preferences of
    // org.vantorel.Vantorel, elsewhere in Vantorel/Vantorel.conf of the user's configuration.
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setOrganizationName(QStringLiteral("Vantorel"));
    QApplication::setOrganizationDomain(QStringLiteral("vantorel.org"));
    // Wayland compositors match the window to the installed .desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTOREL_ERROR_DOMAIN));
    // Before the QML is loaded, so that every qsTr() binding starts out translated.
    installTranslations(app);
    QuitGuard quitGuard;
    app.installEventFilter(&quitGuard);

    QQmlApplicationEngine engine;
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    QQuickWindow *window = loadWindow(engine);
    if (window) {
        // The window icon needs the SVG icon engine, a plugin that nothing else at start loads;
        // the first frame does not wait for it.
        QObject::connect(
            window, &QQuickWindow::frameSwapped, &app,
            [] {
                QApplication::setWindowIcon(
                    QIcon::fromTheme(QStringLiteral(VANTOREL_ERROR_DOMAIN),
                                     QIcon(QStringLiteral(":/icons/vantorel.svg"))));
            },
            Qt::SingleShotConnection);
        if (auto *model = hook ? window->findChild<InstallerViewModel *>() : nullptr)
            hook(*window, *model);
    }
    return QApplication::exec();
}

} // namespace vantorel
