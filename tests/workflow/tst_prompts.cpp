// The real chooser and replace prompt, driven as a user would through their widgets.

#include "filedialogchooser.h"
#include "messageboxprompter.h"

#include <QApplication>
#include <QDir>
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

// Runs each step, one per tick, on whichever dialog is modal then. Once the steps are used up,
// a dialog still open is rejected, so that a failed check cannot leave the test hanging in
// exec(). The driver stops when the returned timer goes out of scope.
std::unique_ptr<QTimer> driveModal(QList<std::function<void(QDialog *)>> steps)
{
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(20);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [steps]() mutable {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (steps.isEmpty())
            dialog->reject();
        else
            steps.takeFirst()(dialog);
    });
    timer->start();
    return timer;
}

} // namespace

class PromptsTest : public QObject
{
    Q_OBJECT

private slots:
    void replacePrompt_data();
    void replacePrompt();
    void chooser_data();
    void chooser();
};

void PromptsTest::replacePrompt_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("replace");
    const auto row = [](const char *tag, const char *fileName, const char *action, bool replace) {
        QTest::addRow("%s", tag) << QString(fileName) << QString(action) << replace;
    };
    row("Replace", "Install macOS Sonoma.dmg", "Replace", true);
    row("Cancel", "Install macOS Sonoma.dmg", "Cancel", false);
    row("Escape", "Install macOS Sonoma.iso", "Escape", false);
    row("closed", "Install macOS Sonoma.iso", "close", false);
    row("markup in the name", "<b>Bold</b> &amp;.dmg", "Replace", true);
}

void PromptsTest::replacePrompt()
{
    QFETCH(QString, fileName);
    QFETCH(QString, action);
    QFETCH(bool, replace);

    QString text, informative;
    QList<QPair<QString, QMessageBox::ButtonRole>> buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat informativeFormat = Qt::AutoText;
    const auto driver = driveModal({[&](QDialog *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        QVERIFY(box);
        text = box->text();
        informative = box->informativeText();
        icon = box->icon();
        const auto *label = box->findChild<QLabel *>("qt_msgbox_informativelabel");
        informativeFormat = label ? label->textFormat() : Qt::AutoText;
        for (QAbstractButton *button : box->buttons())
            buttons << qMakePair(button->text(), box->buttonRole(button));
        if (action == "Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (action == "close")
            box->close();
        else
            for (QAbstractButton *button : box->buttons())
                if (button->text() == action)
                    button->click();
    }});

    MessageBoxPrompter prompter;
    QCOMPARE(prompter.askToReplace(fileName), replace);
    QCOMPARE(text, "File already exists");
    QCOMPARE(informative, "'" + fileName + "' already exists. Do you want to replace it?");
    QCOMPARE(informativeFormat, Qt::PlainText);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons,
             (QList<QPair<QString, QMessageBox::ButtonRole>>{{"Replace", QMessageBox::AcceptRole},
                                                             {"Cancel", QMessageBox::RejectRole}}));
}

void PromptsTest::chooser_data()
{
    // Paths typed into the dialog one after the other, each followed by "Choose"; an empty
    // entry cancels.
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::addRow("bundle") << QStringList{"Install macOS Sonoma.app"}
                            << "Install macOS Sonoma.app";
    QTest::addRow("plain folder refused, then a bundle")
        << QStringList{"Folder", "Install macOS Sonoma.app"} << "Install macOS Sonoma.app";
    QTest::addRow("file named .app refused") << QStringList{"Fake.app", ""} << "";
    QTest::addRow("cancel") << QStringList{""} << "";
}

void PromptsTest::chooser()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, chosen);

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("Install macOS Sonoma.app/Contents"));
    QVERIFY(QDir(root.path()).mkpath("Folder"));
    QFile fake(root.filePath("Fake.app"));
    QVERIFY(fake.open(QIODevice::WriteOnly));

    QString title, start;
    QStringList stillOpen;
    QList<std::function<void(QDialog *)>> steps;
    for (const QString &entry : typed) {
        steps << [&, entry](QDialog *dialog) {
            auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
            QVERIFY(fileDialog);
            if (title.isEmpty()) {
                title = fileDialog->windowTitle();
                start = fileDialog->directory().absolutePath();
            } else {
                stillOpen << fileDialog->directory().dirName();
            }
            if (entry.isEmpty()) {
                fileDialog->reject();
                return;
            }
            auto *nameEdit = fileDialog->findChild<QLineEdit *>("fileNameEdit");
            QVERIFY(nameEdit);
            nameEdit->setText(root.filePath(entry));
            QTest::keyClick(nameEdit, Qt::Key_Return);
        };
    }
    const auto driver = driveModal(steps);

    FileDialogChooser chooser;
    const QUrl url = chooser.chooseInstaller();
    QCOMPARE(url, chosen.isEmpty() ? QUrl() : QUrl::fromLocalFile(root.filePath(chosen)));
    QCOMPARE(title, "Select a macOS Installer");
    QCOMPARE(start, QFileInfo::exists("/Applications") ? "/Applications" : QDir::homePath());
    // A refused folder is opened instead; a refused file leaves the dialog where it was.
    if (typed.size() > 1)
        QCOMPARE(stillOpen.first(), typed.first() == "Folder" ? "Folder" : QDir(start).dirName());
}

QTEST_MAIN(PromptsTest)
#include "tst_prompts.moc"
