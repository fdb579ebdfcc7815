// Renders the real window, offscreen, in the states a user meets, to PNG files.
//
//     vantorel-screenshots [--dark] [--locale NAME] [folder]
//
// folder defaults to build/screenshots. --dark gives the application a dark palette before any
// window exists, as a dark desktop theme would, and adds "-dark" to the file names. --locale
// renders in that language and regional format (de, ja, zh_CN...) as the application would for a
// user whose system language it is; without it the texts are the English source texts.

#include "installerviewmodel.h"
#include "sampleinstaller.h"
#include "translations.h"
#include "vantorelapp.h"
#include "viewmodelstateaccess.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace vantorel;
using State = ViewModelStateAccess;

namespace {

QPalette darkPalette()
{
    QPalette palette;
    using P = QPalette;
    const P::ColorRole roles[] = {
        P::Window,      P::WindowText,  P::Base,           P::AlternateBase, P::Text,
        P::Button,      P::ButtonText,  P::BrightText,     P::Light,         P::Midlight,
        P::Mid,         P::Dark,        P::Shadow,         P::Highlight,     P::HighlightedText,
        P::ToolTipBase, P::ToolTipText, P::PlaceholderText};
    const QRgb text = 0xf2f2f2;
    const QRgb colors[] = {0x2b2b2d, text,     0x1f1f21, 0x353537, text,     0x3a3a3c,
                           text,     0xffffff, 0x4a4a4c, 0x404042, 0x303032, 0x1a1a1c,
                           0x000000, 0x0a84ff, 0xffffff, 0x3a3a3c, text,     0x8e8e93};
    static_assert(std::size(roles) == std::size(colors));
    for (size_t i = 0; i < std::size(roles); ++i)
        palette.setColor(roles[i], QColor(colors[i]));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x7a, 0x7a, 0x7e));
    return palette;
}

// The sample installer selected, the first `done` steps completed, `current` the current one.
void selectSample(InstallerViewModel &model, int done = 1, int current = 0)
{
    State::setSelectedInstaller(model, sampleInstaller());
    State::setCurrentStep(model, ProcessStep(current));
    QList<ProcessStep> steps;
    for (int step = 0; step < done; ++step)
        steps << ProcessStep(step);
    State::setCompletedSteps(model, steps);
}

void runningAtMakeBootable(InstallerViewModel &model)
{
    selectSample(model, 2, int(ProcessStep::makeBootable));
    State::setProcessing(model, true);
    State::setProgress(model, 0.3,
                       QStringLiteral("Making DMG bootable using createinstallmedia..."));
    State::setTime(model, 41, -1);
}

// Well into the copy onto the volume: the bar between its boundaries, with an estimate.
void midMakeBootable(InstallerViewModel &model)
{
    runningAtMakeBootable(model);
    State::setProgress(model, 0.52,
                       QStringLiteral("Making DMG bootable using createinstallmedia..."));
    State::setTime(model, 252, 355);
}

void finished(InstallerViewModel &model)
{
    selectSample(model, 5, int(ProcessStep::cleanup));
    State::setProgress(model, 1.0, QStringLiteral("ISO creation completed"));
    const QString iso = QStringLiteral("/Users/alex/Desktop/Install macOS Sonoma.iso");
    model.showAlert(QStringLiteral("Success"),
                    QStringLiteral("ISO image created successfully at:\n") + iso);
    // As a run ends: the window offers to show the ISO.
    emit model.runFinished(true, iso);
}

void failedAtConvertToISO(InstallerViewModel &model)
{
    selectSample(model, 3, int(ProcessStep::convertToISO));
    State::setProgress(model, 0.7, QStringLiteral("Converting DMG to ISO..."));
    model.showAlert(QStringLiteral("Error"),
                    QStringLiteral("Failed to create ISO image: Failed to convert DMG to ISO"));
}

// Long texts: a name that wraps and a path that must be shortened, during a run.
void longTexts(InstallerViewModel &model)
{
    selectSample(model, 1, int(ProcessStep::createDMG));
    InstallerInfo info = sampleInstaller(false);
    info.name = QStringLiteral("Install macOS Sonoma Developer Beta for Testing Purposes Only");
    info.path = QUrl::fromLocalFile(
        QStringLiteral("/Users/alex/Downloads/Installers/Archive/2023/Developer Seeds/Beta 4/"
                       "Install macOS Sonoma Developer Beta for Testing Purposes Only.app"));
    State::setSelectedInstaller(model, info);
    State::setProcessing(model, true);
    State::setProgress(model, 0.1, QStringLiteral("Creating DMG file..."));
}

// A tool's error output long enough to need scrolling.
void longError(InstallerViewModel &model)
{
    selectSample(model);
    QString output;
    for (int line = 1; line <= 40; ++line)
        output += QStringLiteral("hdiutil: convert: line %1 of a long diagnostic that wraps "
                                 "across the width of the alert\n")
                      .arg(line);
    model.showAlert(QStringLiteral("Error"),
                    QStringLiteral("Failed to create ISO image: ") + output);
}

// Saving to a folder of the user's, named in the line under the buttons; and to the Desktop
// while the chosen folder's disk is unplugged.
void otherFolder(InstallerViewModel &model)
{
    selectSample(model);
    const QString folder = QDir::temp().filePath(QStringLiteral("Virtual Machines"));
    QDir().mkpath(folder);
    State::setChosenFolder(model, folder);
}

void folderGone(InstallerViewModel &model)
{
    selectSample(model);
    State::setChosenFolder(model, QStringLiteral("/Volumes/Backup/ISO Images"));
}

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool render(const QString &file, const std::function<void(InstallerViewModel &)> &setUp,
            bool openFileMenu)
{
    QQmlApplicationEngine engine;
    QQuickWindow *window = VantorelApp::loadWindow(engine);
    auto *model = window ? window->findChild<InstallerViewModel *>() : nullptr;
    if (!model) {
        std::fprintf(stderr, "screenshots: the window did not load\n");
        return false;
    }
    setUp(*model);
    if (openFileMenu) {
        // The window makes its menu bar when it is first used.
        QMetaObject::invokeMethod(window, "loadMenuBar");
        QObject *menu = window->findChild<QObject *>(QStringLiteral("fileMenu"));
        if (!menu || !QMetaObject::invokeMethod(menu, "open")) {
            std::fprintf(stderr, "screenshots: no File menu\n");
            return false;
        }
    }
    settle(300);
    if (!window->grabWindow().save(file)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool dark = arguments.removeAll(QStringLiteral("--dark")) > 0;
    QString localeName;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--locale"));
        at >= 0 && at + 1 < arguments.size()) {
        localeName = arguments.takeAt(at + 1);
        arguments.removeAt(at);
    }
    if (arguments.size() > 1 || arguments.contains(QStringLiteral("--locale"))) {
        std::fprintf(stderr, "usage: vantorel-screenshots [--dark] [--locale NAME] [folder]\n");
        return 2;
    }
    if (!localeName.isEmpty()) {
        QLocale::setDefault(QLocale(localeName));
        installTranslations(app);
    }
    const QDir folder(arguments.value(0, QStringLiteral("build/screenshots")));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "screenshots: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    // Qt Quick Controls take their palette once, when the first window is made.
    if (dark)
        QApplication::setPalette(darkPalette());

    const auto nothing = [](InstallerViewModel &) {};
    const struct
    {
        const char *name;
        std::function<void(InstallerViewModel &)> setUp;
        bool openFileMenu = false;
    } shots[] = {
        {"1-empty", nothing},
        {"2-selected", [](InstallerViewModel &model) { selectSample(model); }},
        {"3-running", runningAtMakeBootable},
        {"4-finished", finished},
        {"5-failed", failedAtConvertToISO},
        {"6-file-menu", nothing, true},
        {"7-long-texts", longTexts},
        {"8-long-error", longError},
        {"9-running-estimate", midMakeBootable},
        {"10-other-folder", otherFolder},
        {"11-folder-gone", folderGone},
    };
    for (const auto &shot : shots) {
        const QString name =
            QString::fromLatin1(shot.name) + (dark ? QStringLiteral("-dark") : QString());
        if (!render(folder.filePath(name + QStringLiteral(".png")), shot.setUp, shot.openFileMenu))
            return 1;
    }
    return 0;
}
