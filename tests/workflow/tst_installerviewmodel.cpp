#include "installerviewmodel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vantorel;

namespace {

QByteArray plistNamed(const QByteArray &name)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<plist version=\"1.0\"><dict><key>CFBundleDisplayName</key><string>" +
           name + "</string></dict></plist>\n";
}

// A bundle folder with Contents/Resources/createinstallmedia; Info.plist is left to the caller.
QString makeBundle(const QTemporaryDir &root, const QString &name)
{
    const QString bundle = root.filePath(name + QStringLiteral(".app"));
    QDir().mkpath(bundle + QStringLiteral("/Contents/Resources"));
    QFile tool(bundle + QStringLiteral("/Contents/Resources/createinstallmedia"));
    tool.open(QIODevice::WriteOnly);
    tool.write("#!/bin/sh\n");
    return bundle;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class InstallerViewModelTest : public QObject
{
    Q_OBJECT

private slots:
    void showAlertStoresThreeTimesInOrder();
    void resetProgressStoresFourTimes();
    void repeatedLoadNotifiesEachInsertion();
    void failedLoadKeepsSelectionAndAlertsOnce();
    void newestLoadWins_data();
    void newestLoadWins();
};

void InstallerViewModelTest::showAlertStoresThreeTimesInOrder()
{
    InstallerViewModel model;
    QStringList order;
    connect(&model, &InstallerViewModel::alertTitleChanged, this, [&] { order << "title"; });
    connect(&model, &InstallerViewModel::alertMessageChanged, this, [&] { order << "message"; });
    connect(&model, &InstallerViewModel::showingAlertChanged, this, [&] { order << "showing"; });
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);

    model.showAlert("First", "one");
    model.showAlert("Second", "two");

    QCOMPARE(willChange.count(), 6);
    QCOMPARE(order, QStringList({"title", "message", "showing", "title", "message", "showing"}));
    QCOMPARE(model.alertTitle(), QString("Second"));
    QCOMPARE(model.alertMessage(), QString("two"));
    QVERIFY(model.showingAlert());
}

void InstallerViewModelTest::resetProgressStoresFourTimes()
{
    InstallerViewModel model;
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);
    QSignalSpy processing(&model, &InstallerViewModel::isProcessingChanged);

    model.resetProgress();

    QCOMPARE(willChange.count(), 4);
    QCOMPARE(processing.count(), 0);
    QCOMPARE(model.progressDescription(), QString("Starting the ISO creation process..."));
    QCOMPARE(model.currentStep(), std::nullopt);
    QVERIFY(model.completedSteps().isEmpty());
}

void InstallerViewModelTest::repeatedLoadNotifiesEachInsertion()
{
    QTemporaryDir root;
    const QString bundle = makeBundle(root, "Install macOS Sonoma");
    writeFile(bundle + "/Contents/Info.plist", plistNamed("Install macOS Sonoma"));

    InstallerViewModel model;
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);
    QSignalSpy completed(&model, &InstallerViewModel::completedStepsChanged);
    for (int round = 1; round <= 2; ++round) {
        model.loadInstallerInfo(QUrl::fromLocalFile(bundle));
        model.waitForBackgroundWork();
        // One store of the record, one insertion, even when the step is already there.
        QCOMPARE(willChange.count(), 2 * round);
        QCOMPARE(completed.count(), round);
    }
    QCOMPARE(model.completedSteps().ordinals(), QList<int>{int(ProcessStep::selectInstaller)});
    QCOMPARE(model.selectedInstaller()->name, QString("Install macOS Sonoma"));
}

void InstallerViewModelTest::failedLoadKeepsSelectionAndAlertsOnce()
{
    QTemporaryDir root;
    const QString good = makeBundle(root, "Install macOS Ventura");
    writeFile(good + "/Contents/Info.plist", plistNamed("Install macOS Ventura"));
    const QString broken = makeBundle(root, "Broken");

    InstallerViewModel model;
    model.loadInstallerInfo(QUrl::fromLocalFile(good));
    model.waitForBackgroundWork();
    QSignalSpy alerts(&model, &InstallerViewModel::showingAlertChanged);

    model.loadInstallerInfo(QUrl::fromLocalFile(broken));
    model.waitForBackgroundWork();

    QCOMPARE(alerts.count(), 1);
    QCOMPARE(model.alertTitle(), QString("Error"));
    QCOMPARE(model.alertMessage(),
             QString("Failed to load installer information: Could not read Info.plist"));
    QCOMPARE(model.selectedInstaller()->name, QString("Install macOS Ventura"));
}

void InstallerViewModelTest::newestLoadWins_data()
{
    QTest::addColumn<QByteArray>("olderContents");
    QTest::addRow("older load succeeds late") << plistNamed("Older");
    QTest::addRow("older load fails late") << QByteArray("not a property list");
}

// The user picked A, then B; A's walk finishes last and must not replace B or raise an alert.
void InstallerViewModelTest::newestLoadWins()
{
    QFETCH(QByteArray, olderContents);
    QTemporaryDir root;
    const QString older = makeBundle(root, "Older");
    // A named pipe holds the older load inside its Info.plist read until the test writes it.
    const QByteArray pipePath = QFile::encodeName(older + "/Contents/Info.plist");
    QCOMPARE(mkfifo(pipePath.constData(), 0600), 0);
    const QString newer = makeBundle(root, "Newer");
    writeFile(newer + "/Contents/Info.plist", plistNamed("Newer"));

    InstallerViewModel model;
    model.loadInstallerInfo(QUrl::fromLocalFile(older));
    model.loadInstallerInfo(QUrl::fromLocalFile(newer));
    QTRY_VERIFY(model.selectedInstaller().has_value());
    QCOMPARE(model.selectedInstaller()->name, QString("Newer"));
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);

    const int fd = ::open(pipePath.constData(), O_WRONLY);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, olderContents.constData(), size_t(olderContents.size())),
             ssize_t(olderContents.size()));
    ::close(fd);
    model.waitForBackgroundWork();

    QCOMPARE(willChange.count(), 0);
    QCOMPARE(model.selectedInstaller()->name, QString("Newer"));
    QVERIFY(!model.showingAlert());
}

QTEST_GUILESS_MAIN(InstallerViewModelTest)
#include "tst_installerviewmodel.moc"
