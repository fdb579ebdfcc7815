// Progress inside the two long steps, end to end: the view-model, the real runner and
// interpreter, and stand-in tools that copy the installer and write the output in timed pieces.

#include "doublessandbox.h"
#include "installerviewmodel.h"
#include "viewmodelstateaccess.h"

#include <QtTest>

using namespace vantorel;

class LiveProgressTest : public QObject
{
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<QByteArray>("pieces");
        QTest::addColumn<QString>("setup"); // fail:COMMAND
        // Least number of values strictly inside each step's span; 0: none at all, -1: any.
        QTest::addColumn<int>("boot");
        QTest::addColumn<int>("convert");

        QTest::addRow("success") << QByteArray("8") << "" << 3 << 2;
        QTest::addRow("createinstallmedia fails at once")
            << QByteArray("8") << "fail:createinstallmedia" << 0 << 0;
        QTest::addRow("convert fails at once") << QByteArray("1") << "fail:convert" << -1 << 0;
    }

    void run()
    {
        QFETCH(QByteArray, pieces);
        QFETCH(QString, setup);
        QFETCH(int, boot);
        QFETCH(int, convert);
        DoublesSandbox sandbox(VANTOREL_TEST_DOUBLES_DIR);
        QVERIFY(sandbox.isValid());
        qputenv("VANTOREL_TEST_PIECES", pieces);
        qputenv("VANTOREL_TEST_PIECE_PAUSE", "0.5");
        if (setup.startsWith("fail:"))
            qputenv("VANTOREL_TEST_FAIL", setup.mid(5).toUtf8());
        InstallerInfo installer = sandbox.makeInstaller("Install macOS Sonoma", "14.6.1");
        for (int part = 1; part <= 8; ++part)
            QVERIFY(writeTestFile(installer.path.toLocalFile() + "/Contents/Resources/part" +
                                      QString::number(part),
                                  QByteArray(65536, 'x')));
        // The volume ends up holding more than the installer (boot files): the bar stops short all
        // the same, for the second half of the copy.
        installer.size = 4 * 65536;

        InstallerViewModel model;
        model.setEnvironment({VANTOREL_OSASCRIPT_PATH, sandbox.desktop, sandbox.volumes});
        ViewModelStateAccess::setSelectedInstaller(model, installer);
        QList<std::pair<qint64, double>> values; // when, and what
        QElapsedTimer clock;
        connect(&model, &InstallerViewModel::progressChanged, this, [&] {
            values.append({clock.elapsed(), model.progress()});
        });
        clock.start();
        model.createISO();
        QTRY_VERIFY_WITH_TIMEOUT(!model.isProcessing(), 60000);
        model.waitForBackgroundWork();
        QCOMPARE(model.alertTitle(), setup.isEmpty() ? "Success" : "Error");

        // Never down, so no sample lands after the boundary that ends its step.
        for (qsizetype i = 1; i < values.size(); ++i)
            QVERIFY(values[i].second >= values[i - 1].second);
        for (const auto &[start, end, least] : {std::tuple(0.3, 0.7, boot), {0.7, 0.9, convert}}) {
            QList<std::pair<qint64, double>> inside;
            for (const auto &value : std::as_const(values))
                if (value.second > start + 1e-9 && value.second < end - 1e-9)
                    inside << value;
            QVERIFY(inside.size() >= least && (least != 0 || inside.isEmpty()));
            for (qsizetype i = 1; i < inside.size(); ++i) // one a second
                QVERIFY(inside[i].first - inside[i - 1].first >= 900);
            if (least > 0 && start == 0.3) // held short of the boundary, not stored twice
                QCOMPARE(qRound(inside.last().second * 100), 69);
        }
        QVERIFY(model.elapsedSeconds() >= clock.elapsed() / 1000 - 1);
    }

    void estimate()
    {
        // None before 10 s and 2 % of the step; then the step's pace so far, extrapolated.
        QCOMPARE(secondsLeftInStep(9999, 0.5), -1);
        QCOMPARE(secondsLeftInStep(600000, 0.0199), -1);
        QCOMPARE(secondsLeftInStep(10000, 0.02), 490);
    }
};

QTEST_GUILESS_MAIN(LiveProgressTest)
#include "tst_liveprogress.moc"
