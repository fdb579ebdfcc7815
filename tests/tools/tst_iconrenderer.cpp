#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Runs the build's icon renderer on the project's icon and reads its output back with Qt's
// image readers (the ICNS one comes from the image formats plugins).
class TestIconRenderer : public QObject
{
    Q_OBJECT

private:
    static int run(const QStringList &args)
    {
        QProcess process;
        process.start(ICON_RENDERER_PATH, args);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }

private slots:
    void writesEverySize_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("sizeArgument");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addRow("png 16") << "icon.png" << QStringList{"16"} << QList<int>{16};
        QTest::addRow("png 512") << "icon.png" << QStringList{"512"} << QList<int>{512};
        QTest::addRow("icns with 1x and 2x entries")
            << "icon.icns" << QStringList{}
            << QList<int>{16, 32, 32, 64, 128, 256, 256, 512, 512, 1024};
    }

    void writesEverySize()
    {
        QFETCH(QString, fileName);
        QFETCH(QStringList, sizeArgument);
        QFETCH(QList<int>, sizes);
        QTemporaryDir dir;
        const QString output = dir.filePath(fileName);
        QCOMPARE(run(QStringList{VANTOREL_ICON_SVG, output} + sizeArgument), 0);

        QImageReader reader(output);
        QList<int> read;
        for (int i = 0; i < qMax(1, reader.imageCount()); ++i) {
            QVERIFY(reader.jumpToImage(i) || i == 0);
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(image.width(), image.height());
            // The tile is inset with rounded corners; its middle is opaque.
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
            read << image.width();
        }
        QCOMPARE(read, sizes);
    }

    void failsWithoutOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addRow("missing SVG") << QStringList{"missing.svg", "out.png", "16"};
        QTest::addRow("png without size") << QStringList{VANTOREL_ICON_SVG, "out.png"};
        QTest::addRow("size zero") << QStringList{VANTOREL_ICON_SVG, "out.png", "0"};
        QTest::addRow("size not a number") << QStringList{VANTOREL_ICON_SVG, "out.png", "big"};
        QTest::addRow("icns with size") << QStringList{VANTOREL_ICON_SVG, "out.icns", "16"};
        QTest::addRow("unknown format") << QStringList{VANTOREL_ICON_SVG, "out.bmp", "16"};
        QTest::addRow("folder missing") << QStringList{VANTOREL_ICON_SVG, "no/out.png", "16"};
    }

    void failsWithoutOutput()
    {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        args[1] = dir.filePath(args[1]);
        QCOMPARE(run(args), 1);
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIconRenderer)
#include "tst_iconrenderer.moc"
