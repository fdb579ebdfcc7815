#include "bundlefiles.h"
#include "installerviewmodel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace vantorel;

class InstallerViewModelTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QUrl bundle(const QString &name, const QByteArray &plist)
    {
        return QUrl::fromLocalFile(makeTestBundle(m_root.filePath(name + ".app"), plist));
    }

private slots:
    void showAlertAndResetProgressStoreInOrder()
    {
        InstallerViewModel model;
        QStringList order;
        for (const auto signal :
             {&InstallerViewModel::objectWillChange, &InstallerViewModel::alertTitleChanged,
              &InstallerViewModel::alertMessageChanged, &InstallerViewModel::alertDetailChanged,
              &InstallerViewModel::showingAlertChanged, &InstallerViewModel::isProcessingChanged,
              &InstallerViewModel::progressChanged, &InstallerViewModel::progressDescriptionChanged,
              &InstallerViewModel::currentStepChanged,
              &InstallerViewModel::completedStepsChanged}) {
            const QByteArray name = QMetaMethod::fromSignal(signal).name();
            connect(&model, signal, this, [&order, name] { order << name; });
        }
        model.showAlert("First", "one");
        model.showAlert("Detailed", "it", "detail");
        model.showAlert("Second", "two");
        model.resetProgress();

        const QString alert = "objectWillChange alertTitleChanged objectWillChange "
                              "alertMessageChanged objectWillChange showingAlertChanged ";
        // A detail is stored before the alert shows, and the next alert clears it.
        const QString detailed = "objectWillChange alertTitleChanged objectWillChange "
                                 "alertMessageChanged objectWillChange alertDetailChanged "
                                 "objectWillChange showingAlertChanged ";
        QCOMPARE(order.join(' '), alert + detailed + detailed +
                                      "objectWillChange progressChanged objectWillChange "
                                      "progressDescriptionChanged objectWillChange "
                                      "currentStepChanged objectWillChange completedStepsChanged");
        QCOMPARE(model.alertTitle(), QString("Second"));
        QCOMPARE(model.alertMessage(), QString("two"));
        QCOMPARE(model.alertDetail(), QString());
        QVERIFY(model.showingAlert());
        QCOMPARE(model.progressDescription(), QString("Starting the ISO creation process..."));
    }

    void repeatedLoadNotifiesEachInsertion()
    {
        const QUrl url = bundle("Install macOS Sonoma", plistNamed("Install macOS Sonoma"));
        InstallerViewModel model;
        QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);
        QSignalSpy completed(&model, &InstallerViewModel::completedStepsChanged);
        for (int round = 1; round <= 2; ++round) {
            model.loadInstallerInfo(url);
            model.waitForBackgroundWork();
            // One store of the record, one insertion, even when the step is already there.
            QCOMPARE(willChange.count(), 2 * round);
            QCOMPARE(completed.count(), round);
        }
        QCOMPARE(model.completedSteps().ordinals(), QList<int>{int(ProcessStep::selectInstaller)});
        QCOMPARE(model.selectedInstaller()->name, QString("Install macOS Sonoma"));
    }

    void failedLoadKeepsSelectionAndAlertsOnce()
    {
        InstallerViewModel model;
        model.loadInstallerInfo(
            bundle("Install macOS Ventura", plistNamed("Install macOS Ventura")));
        model.waitForBackgroundWork();
        QSignalSpy alerts(&model, &InstallerViewModel::showingAlertChanged);
        model.loadInstallerInfo(bundle("Broken", "not a property list"));
        model.waitForBackgroundWork();

        QCOMPARE(alerts.count(), 1);
        QCOMPARE(model.alertTitle(), QString("Error"));
        QCOMPARE(model.alertMessage(),
                 QString("Failed to load installer information: Could not read Info.plist"));
        QCOMPARE(model.selectedInstaller()->name, QString("Install macOS Ventura"));
    }

    void newestLoadWins_data()
    {
        QTest::addColumn<QByteArray>("olderContents");
        QTest::addRow("older load succeeds late") << plistNamed("Older");
        QTest::addRow("older load fails late") << QByteArray("not a property list");
    }

    // The user picked A, then B. Results land on the GUI thread, which starts both loads before
    // it takes any result: whichever walk ends first, A's must neither replace B nor alert.
    void newestLoadWins()
    {
        QFETCH(QByteArray, olderContents);
        const QString tag = QTest::currentDataTag();
        InstallerViewModel model;
        QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);
        model.loadInstallerInfo(bundle(tag + " Older", olderContents));
        model.loadInstallerInfo(bundle(tag + " Newer", plistNamed("Newer")));
        model.waitForBackgroundWork();

        QCOMPARE(willChange.count(), 2);
        QCOMPARE(model.selectedInstaller()->name, QString("Newer"));
        QVERIFY(!model.showingAlert());
    }
};

QTEST_GUILESS_MAIN(InstallerViewModelTest)
#include "tst_installerviewmodel.moc"
