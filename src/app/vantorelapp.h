#pragma once

#include <functional>

class QQmlApplicationEngine;
class QQuickWindow;

namespace vantorel {

class InstallerViewModel;

// The application's entry: one QApplication, one window titled "Vantorel".
class VantorelApp
{
public:
    VantorelApp() = delete;

    // Runs once the window exists, before the event loop starts. The development sandbox uses it
    // to point the window's model at stand-in tools; the application itself passes nothing.
    using WindowHook = std::function<void(QQuickWindow &window, InstallerViewModel &model)>;

    static int main(int argc, char *argv[], const WindowHook &hook = {});

    // Creates the window in `engine`, in the application palette, as main() does; nullptr when
    // the QML could not be loaded. Needs a QGuiApplication.
    static QQuickWindow *loadWindow(QQmlApplicationEngine &engine);
};

} // namespace vantorel
