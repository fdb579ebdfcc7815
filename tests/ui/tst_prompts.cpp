// The real chooser and replace prompt, driven as a user would through their widgets.

#include "filedialogchooser.h"
#include "messageboxprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vantorel;

namespace {

// Runs each step, one per tick, on whichever dialog is modal then; once they are used up, a
// dialog still open is rejected, so that a failed check cannot leave the test hanging.
std::unique_ptr<QTimer> driveModal(QList<std::function<void(QDialog *)>> steps)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [steps]() mutable {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            steps.isEmpty() ? dialog->reject() : steps.takeFirst()(dialog);
    });
    timer->start(20);
    return timer;
}

} // namespace

class PromptsTest : public QObject
{
    Q_OBJECT

private slots:
    void replacePrompt_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("key"); // 0: click the button named by the answer
        QTest::addColumn<bool>("replace");
        QTest::addRow("Replace") << "Install macOS Sonoma.dmg" << 0 << true;
        QTest::addRow("Cancel") << "Install macOS Sonoma.dmg" << 0 << false;
        QTest::addRow("Escape") << "Install macOS Sonoma.iso" << int(Qt::Key_Escape) << false;
        QTest::addRow("Return takes the default") << "x.iso" << int(Qt::Key_Return) << true;
        QTest::addRow("markup in the name") << "<b>Bold</b> &amp;.dmg" << 0 << true;
    }

    void replacePrompt()
    {
        QFETCH(QString, fileName);
        QFETCH(int, key);
        QFETCH(bool, replace);
        QString text, informative;
        Qt::TextFormat format = Qt::AutoText;
        const auto driver = driveModal({[&](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            text = box->text();
            informative = box->informativeText();
            format = box->findChild<QLabel *>("qt_msgbox_informativelabel")->textFormat();
            if (key)
                QTest::keyClick(box, Qt::Key(key));
            for (QAbstractButton *button : box->buttons())
                if (!key && button->text() == (replace ? "Replace" : "Cancel"))
                    button->click();
        }});
        MessageBoxPrompter prompter;
        QCOMPARE(prompter.askToReplace(fileName), replace);
        QCOMPARE(text, "File already exists");
        QCOMPARE(informative, "'" + fileName + "' already exists. Do you want to replace it?");
        QCOMPARE(format, Qt::PlainText);
    }

    void chooser_data()
    {
        // Paths typed into the dialog one after the other, each followed by Return; an empty
        // entry cancels.
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::addRow("bundle") << QStringList{"Install macOS Sonoma.app"}
                                << "Install macOS Sonoma.app";
        QTest::addRow("plain folder opened, then a bundle")
            << QStringList{"Folder", "Install macOS Sonoma.app"} << "Install macOS Sonoma.app";
        QTest::addRow("file named .app refused") << QStringList{"Fake.app", ""} << "";
    }

    void chooser()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, chosen);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("Install macOS Sonoma.app/Contents") &&
                QDir(root.path()).mkpath("Folder"));
        QFile(root.filePath("Fake.app")).open(QIODevice::WriteOnly);
        QString title;
        QList<std::function<void(QDialog *)>> steps;
        for (const QString &entry : typed) {
            steps << [&, entry](QDialog *dialog) {
                title = dialog->windowTitle();
                if (entry.isEmpty())
                    return dialog->reject();
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                name->setText(root.filePath(entry));
                QTest::keyClick(name, Qt::Key_Return);
            };
        }
        const auto driver = driveModal(steps);
        FileDialogChooser chooser;
        QCOMPARE(chooser.chooseInstaller(),
                 chosen.isEmpty() ? QUrl() : QUrl::fromLocalFile(root.filePath(chosen)));
        QCOMPARE(title, "Select a macOS Installer");
    }
};

QTEST_MAIN(PromptsTest)
#include "tst_prompts.moc"
