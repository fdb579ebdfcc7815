#include "installerviewmodel.h"

#include <QSignalSpy>
#include <QTest>

using namespace vantorel;

class InstallerViewModelTest : public QObject
{
    Q_OBJECT

private slots:
    void showAlertStoresThreeTimesInOrder();
    void resetProgressStoresFourTimes();
};

void InstallerViewModelTest::showAlertStoresThreeTimesInOrder()
{
    InstallerViewModel model;
    QStringList order;
    QObject::connect(&model, &InstallerViewModel::alertTitleChanged, [&] { order << "title"; });
    QObject::connect(&model, &InstallerViewModel::alertMessageChanged, [&] { order << "message"; });
    QObject::connect(&model, &InstallerViewModel::showingAlertChanged, [&] { order << "showing"; });
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);

    model.showAlert(QStringLiteral("First"), QStringLiteral("one"));
    model.showAlert(QStringLiteral("Second"), QStringLiteral("two"));

    QCOMPARE(willChange.count(), 6);
    QCOMPARE(order, QStringList({"title", "message", "showing", "title", "message", "showing"}));
    QCOMPARE(model.alertTitle(), QStringLiteral("Second"));
    QCOMPARE(model.alertMessage(), QStringLiteral("two"));
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
    QCOMPARE(model.progressDescription(), QStringLiteral("Starting the ISO creation process..."));
    QCOMPARE(model.currentStep(), std::nullopt);
    QVERIFY(model.completedSteps().isEmpty());
}

QTEST_GUILESS_MAIN(InstallerViewModelTest)
#include "tst_installerviewmodel.moc"
